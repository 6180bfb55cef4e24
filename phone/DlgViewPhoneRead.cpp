// The telephone half of the form: reading directories and choosing another one.
#include "ui/CDlgView.h"

void CDlgView::StartFirstPhoneRead() {}

void CDlgView::OnSelchangeDirectory() {}
