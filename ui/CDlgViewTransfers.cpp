// Copying the preview row's entries from one list into the other.
#include "ui/CDlgView.h"

void CDlgView::OnCopyToPhone() {}
void CDlgView::OnCopyToAddressBook() {}
void CDlgView::CopyPreviewToPhone() {}
void CDlgView::CopyPreviewToAddressBook() {}
