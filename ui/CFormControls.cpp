#include "ui/CFormControls.h"

#include "model/ViewFlags.h"
#include "res/StringTable.h"
#include "ui/AccessibleControls.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewCombo.h"
#include "ui/CPreviewEdit.h"
#include "ui/CPreviewHeader.h"
#include "ui/DialogUnits.h"
#include "ui/FrameEdges.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>

#include <iterator>

int g_anColWidth[4] = {56, 50, 17, 22};

namespace {
constexpr int kColumnTitles[4] = {Ids::IDS_COL_NAME, Ids::IDS_COL_NUMBER, Ids::IDS_COL_INDEX, Ids::IDS_COL_STATUS};

template <typename W>
W* Place(W* widget, const DialogUnits& du, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(du.Rect(x, y, w, h));
    return widget;
}

QTreeWidget* MakeReportList(QWidget* parent, const QString& accessibleName)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true); // the whole row shows the selection
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSortingEnabled(false); // rows are put in order by the form's own compare
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);
    list->setAccessibleName(accessibleName);
    FrameEdges::Keep(list);
    return list;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& accessibleName, Qt::Alignment alignment)
{
    auto* edit = new CPreviewEdit(parent);
    edit->setAlignment(alignment);
    edit->setMaxLength(255);
    edit->setAccessibleName(accessibleName);
    edit->setFrame(true);
    return edit;
}

QLineEdit* MakeFilter(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("editFilter"));
    edit->setAccessibleName(QStringLiteral("Filter"));
    edit->setAccessibleDescription(QStringLiteral("Shows only the entries whose name or number contains the text"));
    edit->setPlaceholderText(QStringLiteral("Filter by name or number"));
    edit->setClearButtonEnabled(true);
    return edit;
}
}

CFormControls::CFormControls(QWidget* form)
{
    const DialogUnits du(form->font(), form->devicePixelRatioF());
    const QString phoneLabel = QStringLiteral("Telephone");
    const QString abLabel = StringTable::LoadQString(Ids::IDS_PAB_NAME);

    m_cbDirectory = Place(new CDirectoryCombo(form), du, "combo1003", 15, 20, 149, 12);
    m_cbDirectory->setAccessibleName(QStringLiteral("Telephone directory"));
    m_lcPhone = Place(MakeReportList(form, phoneLabel), du, "list1006", 15, 40, 148, 92);
    m_cbFolder = Place(new CFolderCombo(form), du, "combo1004", 204, 20, 149, 12);
    m_cbFolder->setAccessibleName(QStringLiteral("Address book folder"));
    m_lcAddressBook = Place(MakeReportList(form, abLabel), du, "list1007", 204, 40, 148, 92);
    m_cbPreview = Place(new CPreviewCombo(form), du, "combo1005", 66, 157, 238, 14);
    m_cbPreview->setAccessibleName(QStringLiteral("Preview"));
    m_edNumber = Place(MakeEdit(form, StringTable::LoadQString(Ids::IDS_COL_NUMBER), Qt::AlignLeft), du, "edit1022",
                       179, 159, 82, 12);
    m_edIndex = Place(MakeEdit(form, StringTable::LoadQString(Ids::IDS_COL_INDEX), Qt::AlignHCenter), du, "edit1023",
                      261, 159, 20, 12);
    m_edIndex->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edIndex));
    m_edStatus = Place(MakeEdit(form, StringTable::LoadQString(Ids::IDS_COL_STATUS), Qt::AlignHCenter), du, "edit1024",
                       281, 159, 10, 12);
    // Mnemonics clear of the menu bar's F, E, V and ?, and of the captions' T, P and R.
    m_btnSaveToPhone = Place(new QPushButton(QStringLiteral("&Save to Telephone"), form), du, "button1010", 15, 178, 75, 14);
    m_btnSaveAddressBook =
        Place(new QPushButton(QStringLiteral("Save &Address Book"), form), du, "button1011", 204, 178, 82, 14);
    m_btnExit = Place(new QPushButton(QStringLiteral("E&xit"), form), du, "button1012", 301, 178, 50, 14);
    m_btnExit->setDefault(true);
    m_btnToAddressBook = Place(new QPushButton(form), du, "button1014", 176, 60, 16, 15);
    m_btnToAddressBook->setAccessibleName(QStringLiteral("Copy selected entries to the personal address book list"));
    m_btnToPhone = Place(new QPushButton(form), du, "button1013", 176, 87, 16, 15);
    m_btnToPhone->setAccessibleName(QStringLiteral("Copy selected entries to the telephone book list"));
    m_previewHeader = Place(new CPreviewHeader(form), du, "header1025", 66, 143, 225, 13);
    m_previewHeader->setAccessibleName(QStringLiteral("Preview columns"));
    m_previewHeader->setAccessibleDescription(QStringLiteral("Name, Telephone number, Index, VIP"));
    m_edIndex->setAccessibleDescription(QStringLiteral("Index"));
    m_edStatus->setAccessibleDescription(QStringLiteral("VIP: \"!\" for a VIP entry, blank for a standard one"));

    // The captions' mnemonics lead to their lists and to the preview's name.
    auto* phoneCaption = Place(new QLabel(QStringLiteral("&") + phoneLabel, form), du, "staticTelephone", 60, 4, 59, 8);
    phoneCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    phoneCaption->setBuddy(m_lcPhone);
    auto* abCaption = Place(new QLabel(QStringLiteral("&") + abLabel, form), du, "staticAddressBook", 230, 4, 93, 8);
    abCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    abCaption->setBuddy(m_lcAddressBook);
    m_stPreview = Place(new QLabel(QStringLiteral("P&review"), form), du, "static1027", 168, 130, 31, 8);
    m_stPreview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_edName = Place(MakeEdit(form, StringTable::LoadQString(Ids::IDS_COL_NAME), Qt::AlignLeft), du, "edit1021", 67,
                     159, 112, 12);
    // The edits cover the preview combo's text field; only its arrow stays visible.
    for (QLineEdit* edit : {m_edName, m_edNumber, m_edIndex, m_edStatus}) edit->raise();
    m_stPreview->setBuddy(m_edName);
    m_edFilter = MakeFilter(form);
}

// The tab order is the reading order: the filter in the caption row, then left to right and down; the preview
// row from its name to the arrow of its combo box, whose text field the edits cover.
void CFormControls::SetTabOrder(QWidget* form) const
{
    QWidget* order[] = {m_edFilter, m_cbDirectory, m_lcPhone, m_btnToAddressBook, m_btnToPhone, m_cbFolder,
                        m_lcAddressBook, m_edName, m_edNumber, m_edIndex, m_edStatus, m_cbPreview,
                        m_btnSaveToPhone, m_btnSaveAddressBook, m_btnExit};
    for (size_t i = 0; i + 1 < std::size(order); ++i) form->setTabOrder(order[i], order[i + 1]);
}

void CFormControls::InsertColumns(QTreeWidget* list)
{
    QStringList titles;
    for (int id : kColumnTitles) titles << StringTable::LoadQString(id);
    list->setColumnCount(4);
    list->setHeaderLabels(titles);
    for (int column = 0; column < 4; ++column) {
        list->headerItem()->setTextAlignment(column, Qt::AlignLeft | Qt::AlignVCenter);
        list->setColumnWidth(column, 60);
        list->setColumnWidth(column, g_anColWidth[column]);
    }
    AccessibleControls::DescribeListColumns(list);
}

QTreeWidget* CFormControls::List(int listKind) const
{
    return listKind == LIST_PHONE ? m_lcPhone : listKind == LIST_AB ? m_lcAddressBook : nullptr;
}
