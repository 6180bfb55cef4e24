#include "ui/CDlgView.h"

#include "model/FormSettings.h"
#include "model/Questions.h"
#include "pab/AddressBook.h"
#include "phone/TelephoneDirectories.h"
#include "res/Artwork.h"
#include "res/StringTable.h"
#include "ui/AccessibleControls.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CEntryPanes.h"
#include "ui/CFolderCombo.h"
#include "ui/CPreviewCombo.h"
#include "ui/CPreviewEdit.h"
#include "ui/CPreviewHeader.h"
#include "ui/DialogUnits.h"
#include "ui/FrameEdges.h"
#include "ui/IFormFrame.h"
#include "ui/PaletteIcons.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSettings>
#include <QTreeWidget>

#include <cstdlib>

int g_anColWidth[4] = {56, 50, 17, 22};

namespace {
// The form's dialog template: 369 by 199 dialog units.
constexpr int kFormWidth = 369;
constexpr int kFormHeight = 199;

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
}

CDlgView::CDlgView(IFormFrame* frame, IQuestions* questions, QWidget* parent)
    : QWidget(parent), m_pQuestions(questions), m_pFrame(frame), m_store(std::make_unique<EntryStore>())
{
    setFont(DialogUnits::DialogFont());
    AccessibleControls::Install();
    m_phone = std::make_unique<TelephoneDirectories>(*m_store, *questions, *this);
    m_ab = std::make_unique<AddressBook>(*m_store, *questions, *this);
    CreateControls();
    m_panes = std::make_unique<CEntryPanes>(*m_store, *questions, *this, *m_phone,
                                            CEntryListPane(m_lcPhone, [this] { FillPhoneList(false); },
                                                           [this](int row) { SelectPhoneItem(row); }),
                                            CEntryListPane(m_lcAddressBook, [this] { FillAbList(false); },
                                                           [this](int row) { SelectAbItem(row); }));
    SetTabOrder();
    m_endProgram = [this](int exitCode) {
        hide();
        std::exit(exitCode);
    };
}

CDlgView::~CDlgView()
{
    SaveWindowState();
    CloseAbSession(); // does nothing when the session was closed already
}

void CDlgView::CreateControls()
{
    const DialogUnits du(font(), devicePixelRatioF());
    setMinimumSize(du.X(kFormWidth), du.Y(kFormHeight)); // the template's size; the form grows from there
    resize(minimumSize());
    const QString phoneLabel = QStringLiteral("Telephone");
    const QString abLabel = StringTable::LoadQString(Ids::IDS_PAB_NAME);

    m_cbDirectory = Place(new CDirectoryCombo(this), du, "combo1003", 15, 20, 149, 12);
    m_cbDirectory->setAccessibleName(QStringLiteral("Telephone directory"));
    m_lcPhone = Place(MakeReportList(this, phoneLabel), du, "list1006", 15, 40, 148, 92);
    m_cbFolder = Place(new CFolderCombo(this), du, "combo1004", 204, 20, 149, 12);
    m_cbFolder->setAccessibleName(QStringLiteral("Address book folder"));
    m_lcAddressBook = Place(MakeReportList(this, abLabel), du, "list1007", 204, 40, 148, 92);
    m_cbPreview = Place(new CPreviewCombo(this), du, "combo1005", 66, 157, 238, 14);
    m_cbPreview->setAccessibleName(QStringLiteral("Preview"));
    m_edNumber = Place(MakeEdit(this, StringTable::LoadQString(Ids::IDS_COL_NUMBER), Qt::AlignLeft), du, "edit1022",
                       179, 159, 82, 12);
    m_edIndex = Place(MakeEdit(this, StringTable::LoadQString(Ids::IDS_COL_INDEX), Qt::AlignHCenter), du, "edit1023",
                      261, 159, 20, 12);
    m_edIndex->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edIndex));
    m_edStatus = Place(MakeEdit(this, StringTable::LoadQString(Ids::IDS_COL_STATUS), Qt::AlignHCenter), du, "edit1024",
                       281, 159, 10, 12);
    // Mnemonics clear of the menu bar's F, E, V and ?, and of the captions' T, P and R.
    m_btnSaveToPhone = Place(new QPushButton(QStringLiteral("&Save to Telephone"), this), du, "button1010", 15, 178, 75, 14);
    m_btnSaveAddressBook =
        Place(new QPushButton(QStringLiteral("Save &Address Book"), this), du, "button1011", 204, 178, 82, 14);
    m_btnExit = Place(new QPushButton(QStringLiteral("E&xit"), this), du, "button1012", 301, 178, 50, 14);
    m_btnExit->setDefault(true);
    m_btnToAddressBook = Place(new QPushButton(this), du, "button1014", 176, 60, 16, 15);
    m_btnToAddressBook->setAccessibleName(QStringLiteral("Copy selected entries to the personal address book list"));
    m_btnToPhone = Place(new QPushButton(this), du, "button1013", 176, 87, 16, 15);
    m_btnToPhone->setAccessibleName(QStringLiteral("Copy selected entries to the telephone book list"));
    m_previewHeader = Place(new CPreviewHeader(&m_anPreviewWidth, this), du, "header1025", 66, 143, 225, 13);
    m_previewHeader->setAccessibleName(QStringLiteral("Preview columns"));
    m_previewHeader->setAccessibleDescription(QStringLiteral("Name, Telephone number, Index, VIP"));
    m_edIndex->setAccessibleDescription(QStringLiteral("Index"));
    m_edStatus->setAccessibleDescription(QStringLiteral("VIP: \"!\" for a VIP entry, blank for a standard one"));

    // The captions' mnemonics lead to their lists and to the preview's name.
    auto* phoneCaption = Place(new QLabel(QStringLiteral("&") + phoneLabel, this), du, "staticTelephone", 60, 4, 59, 8);
    phoneCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    phoneCaption->setBuddy(m_lcPhone);
    auto* abCaption = Place(new QLabel(QStringLiteral("&") + abLabel, this), du, "staticAddressBook", 230, 4, 93, 8);
    abCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    abCaption->setBuddy(m_lcAddressBook);
    m_stPreview = Place(new QLabel(QStringLiteral("P&review"), this), du, "static1027", 168, 130, 31, 8);
    m_stPreview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_edName = Place(MakeEdit(this, StringTable::LoadQString(Ids::IDS_COL_NAME), Qt::AlignLeft), du, "edit1021", 67,
                     159, 112, 12);
    // The edits cover the preview combo's text field; only its arrow stays visible.
    for (QLineEdit* edit : {m_edName, m_edNumber, m_edIndex, m_edStatus}) edit->raise();
    m_stPreview->setBuddy(m_edName);

    connect(m_cbPreview, &CPreviewCombo::focusEntered, this, &CDlgView::OnSetFocusPreview);
    connect(m_cbDirectory, qOverload<int>(&QComboBox::activated), this, [this] { OnSelchangeDirectory(); });
    connect(m_cbFolder, qOverload<int>(&QComboBox::activated), this, [this] { OnSelchangeFolder(); });
    connect(m_btnSaveAddressBook, &QPushButton::clicked, this, &CDlgView::OnSaveAddressBook);
    connect(m_btnSaveToPhone, &QPushButton::clicked, this, &CDlgView::OnSaveToPhone);
    connect(m_btnExit, &QPushButton::clicked, this, &CDlgView::OnExit);
    ConnectPaneHandlers();
    InstallFolderMenu();
    InstallListDragDrop();
    CreateWindowParts();
}

// The tab order is the reading order: left to right, then down; the preview row from its name to the arrow of
// its combo box, whose text field the edits cover.
void CDlgView::SetTabOrder()
{
    QWidget* order[] = {m_cbDirectory, m_lcPhone, m_btnToAddressBook, m_btnToPhone, m_cbFolder, m_lcAddressBook,
                        m_edName, m_edNumber, m_edIndex, m_edStatus, m_cbPreview, m_btnSaveToPhone,
                        m_btnSaveAddressBook, m_btnExit};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void CDlgView::OnInitialUpdate()
{
    if (m_pFrame) m_pFrame->FitToView();
    m_store->m_strScratch = StringTable::LoadString(Ids::IDS_APP_TITLE);
    const QString title = QString::fromStdString(m_store->m_strScratch);
    if (m_pFrame) m_pFrame->SetWindowTitle(title);
    else window()->setWindowTitle(title);
    m_store->m_nFlags = VF_SHOW_CORRECTION;

    PaletteIcons::Follow(m_btnToAddressBook, [](const QPalette& palette) { return Artwork::TransferIcon(144, palette); });
    PaletteIcons::Follow(m_btnToPhone, [](const QPalette& palette) { return Artwork::TransferIcon(143, palette); });

    const DialogUnits du(font());
    m_nPreviewWidth = du.X(224) - 4;
    const int previewUnits[4] = {112, 82, 20, 10};
    for (size_t i = 0; i < 4; ++i) m_anPreviewWidth[i] = du.X(previewUnits[i]);
    const int columnUnits[4] = {56, 50, 17, 22};
    for (size_t i = 0; i < 4; ++i) g_anColWidth[i] = du.X(columnUnits[i]);
    FitPreviewRowToWidth(); // a form already wider than the template

    m_btnToAddressBook->setEnabled(false);
    m_btnToPhone->setEnabled(false);
    m_store->m_nActiveList = LIST_NONE;
    m_store->m_nNameLen = 0;
    m_store->m_nUcs2NameLen = 0;
    m_store->m_nNumberLen = 0;

    m_store->m_bPhoneDataRead = 0;
    m_store->m_nCurDir = 0;
    for (DirTable& table : m_store->m_dirTables) table.m_nCount = 0;
    InsertPhoneColumns();

    m_store->m_abTable.m_nCount = 0;
    m_store->m_abTable.m_nCapacity = kTableSlots;
    m_store->m_nFolderCount = 0;
    for (FolderRecord& folder : m_store->m_folders) folder.m_pRows = nullptr;
    InsertAbColumns();
    RestoreListState();

    if (!OpenAddressBookAtStartUp()) return;
    FillAbList(true);
    FillFolderCombo();
    ChooseLastFolder();

    ApplySettings();
    StartFirstPhoneRead();
}

void CDlgView::ApplySettings()
{
    QSettings settings;
    const FormSettings values = FormSettings::Read(settings);
    if (!values.m_bKeyOpened) return;
    if (values.m_nShowCorrection != 0)
        m_store->SetFlag(VF_SHOW_CORRECTION);
    else
        m_store->ClearFlag(VF_SHOW_CORRECTION);
    ShowCorrectionRow(m_store->HasFlag(VF_SHOW_CORRECTION));
    m_store->m_nAutoReadMask = values.AutoReadMask();
}

void CDlgView::ShowCorrectionRow(bool show)
{
    const bool visible = show && m_store->HasFlag(VF_SHOW_CORRECTION);
    for (QWidget* w : std::initializer_list<QWidget*>{m_previewHeader, m_cbPreview, m_edName, m_edNumber, m_edIndex,
                                                      m_edStatus, m_stPreview})
        w->setVisible(visible);
}

void CDlgView::OnSetFocusPreview()
{
    switch (m_store->m_nActiveList) {
    case LIST_PHONE:
        m_btnToPhone->setEnabled(false);
        m_btnToAddressBook->setEnabled(true);
        break;
    case LIST_AB:
        m_btnToPhone->setEnabled(m_store->CurrentPhoneTable().m_bReadOnly == 0);
        m_btnToAddressBook->setEnabled(false);
        break;
    case LIST_NONE:
        m_btnToPhone->setEnabled(false);
        m_btnToAddressBook->setEnabled(false);
        break;
    default: break;
    }
    ShowPreviewEntry();
}

void CDlgView::SetStatusText(const std::string& text)
{
    if (m_pFrame) m_pFrame->SetMessageText(QString::fromStdString(text));
}

int CDlgView::AbListItemCount() const
{
    return m_lcAddressBook->topLevelItemCount();
}

void CDlgView::ClearAbList()
{
    m_lcAddressBook->clear();
}

void CDlgView::EndProgram(int exitCode)
{
    m_endProgram(exitCode);
}
