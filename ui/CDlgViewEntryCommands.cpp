// Adding and editing entries through the entry dialog.
#include "ui/CDlgView.h"

void CDlgView::OnAddEntry() {}

void CDlgView::OnEditEntry() {}
