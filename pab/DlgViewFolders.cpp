// Creating an address-book folder and choosing one from the folder dialog.
#include "ui/CDlgView.h"

void CDlgView::OnNewFolder() {}

void CDlgView::OnOpenFolder() {}
