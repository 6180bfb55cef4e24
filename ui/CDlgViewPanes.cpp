// What the user does in the two lists and the preview row.
#include "ui/CDlgView.h"

void CDlgView::FillPreview() {}
void CDlgView::SelectPhoneItem(int) {}
void CDlgView::SelectAbItem(int) {}
void CDlgView::LayoutPreviewRow() {}
void CDlgView::FocusPreviewField(int) {}
