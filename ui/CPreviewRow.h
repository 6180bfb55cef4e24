#pragma once
// The preview row: working copies of the active list's selected entries, one per item of its combo box, shown in
// four edits above which the header's columns can be dragged wider or narrower. What is typed into an edit
// corrects the copy shown by the rules of the list the copy would go to; the transfers carry the copies across.
#include <QObject>

#include <array>
#include <vector>

class CFormControls;
struct EntryStore;
class IQuestions;
class QFont;
class QTreeWidget;
struct DirEntry;

class CPreviewRow : public QObject {
    Q_OBJECT
public:
    CPreviewRow(CFormControls& controls, EntryStore& store, IQuestions& questions, QObject* parent);

    // Copies of the active list's selected rows, in the list's order; the first one shown in the edits.
    void FillPreview();
    // The edits show the copy the combo box has chosen; empty when it holds none.
    void ShowPreviewEntry();
    // No list active, both transfer buttons off, no copies and empty edits.
    void ClearPreviewRow();
    // After a transfer: no copies and empty edits.
    void EmptyPreview();
    std::vector<DirEntry*> Copies() const;
    // While held, selection changes leave the copies as they are (many rows are being selected at once).
    void SetHeld(bool held) { m_bHeld = held; }
    bool IsHeld() const { return m_bHeld; }
    // The row shows only while the preview is switched on (VF_SHOW_CORRECTION) and show is true.
    void ShowCorrectionRow(bool show);

    // The row's widths: set from the font at the initial update, grown with the form beyond the template's width.
    void InitWidths(const QFont& font);
    void FitToWidth(int formWidth, const QFont& font);
    void LayoutPreviewRow();
    // Gives the focus to the edit under position x of the row.
    void FocusPreviewField(int x);
    int PreviewRowWidth() const { return m_nPreviewWidth; }
    void SetPreviewRowWidth(int width) { m_nPreviewWidth = width; }
    std::array<int, 4>& PreviewColumnWidths() { return m_anPreviewWidth; }
    const std::array<int, 4>& PreviewColumnWidths() const { return m_anPreviewWidth; }

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void Connect();
    DirEntry* CurrentPreviewCopy() const;
    void OnSetFocusPreview();
    void OnChangePreviewName();
    void OnChangePreviewNumber();
    void OnChangePreviewIndex();
    void OnChangePreviewStatus();
    void OnUpdatePreviewName();
    void OnUpdatePreviewNumber();

    CFormControls& m_controls;
    EntryStore& m_store;
    IQuestions& m_questions;
    int m_nPreviewWidth = 0;
    std::array<int, 4> m_anPreviewWidth{};
    bool m_bHeld = false;
};
