// Delete, the internal clipboard and select all.
#include "ui/CDlgView.h"

void CDlgView::OnDeleteEntries() {}
void CDlgView::OnEditCopy() {}
void CDlgView::OnEditCut() {}
void CDlgView::OnEditPaste() {}
void CDlgView::OnSelectAll() {}
void CDlgView::CopySelectionToClip() {}
