#include "ui/CDlgView.h"

#include "model/EntryStore.h"
#include "model/FormSettings.h"
#include "pab/AddressBook.h"
#include "phone/TelephoneDirectories.h"
#include "res/Artwork.h"
#include "res/StringTable.h"
#include "ui/AccessibleControls.h"
#include "ui/CDirectoryCombo.h"
#include "ui/CEntryPanes.h"
#include "ui/CFolderCombo.h"
#include "ui/CFormCommands.h"
#include "ui/CFormControls.h"
#include "ui/CFormHost.h"
#include "ui/CFormLists.h"
#include "ui/CPreviewRow.h"
#include "ui/DialogUnits.h"
#include "ui/FormLayout.h"
#include "ui/IFormFrame.h"
#include "ui/PaletteIcons.h"
#include "ui/WindowSettings.h"

#include <QContextMenuEvent>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>

CDlgView::CDlgView(IFormFrame* frame, IQuestions* questions, QWidget* parent)
    : QWidget(parent), m_pFrame(frame), m_pQuestions(questions), m_store(std::make_unique<EntryStore>())
{
    setFont(DialogUnits::DialogFont());
    AccessibleControls::Install();
    const FormLayout layout{DialogUnits(font(), devicePixelRatioF())};
    setMinimumSize(layout.TemplateSize()); // the template's size; the form grows from there
    resize(minimumSize());
    m_controls = std::make_unique<CFormControls>(this);
    m_preview = std::make_unique<CPreviewRow>(*m_controls, *m_store, *questions, this);
    m_lists = std::make_unique<CFormLists>(*m_controls, *m_store, *m_preview, *this, this);
    m_host = std::make_unique<CFormHost>(this, frame, *m_store, *m_controls, *m_lists, *m_preview,
                                         [this] { LeaveProgram(); });
    m_phone = std::make_unique<TelephoneDirectories>(*m_store, *questions, *m_host);
    m_ab = std::make_unique<AddressBook>(*m_store, *questions, *m_host);
    CFormLists& lists = *m_lists;
    m_panes = std::make_unique<CEntryPanes>(
        *m_store, *questions, *m_host, *m_phone,
        CEntryListPane(m_controls->m_lcPhone, [&lists] { lists.FillPhoneList(false); },
                       [&lists](int row) { lists.SelectPhoneItem(row); }),
        CEntryListPane(m_controls->m_lcAddressBook, [&lists] { lists.FillAbList(false); },
                       [&lists](int row) { lists.SelectAbItem(row); }));
    m_commands = std::make_unique<CFormCommands>(CFormCommands::Parts{
        this, *m_store, *questions, *m_phone, *m_ab, *m_panes, *m_controls, *m_preview, *m_lists, *m_host,
        [this] { LeaveProgram(); }});
    ConnectControls();
    InstallFolderMenu();
    InstallWindowParts();
    m_controls->SetTabOrder(this);
}

CDlgView::~CDlgView()
{
    SaveWindowState();
    m_ab->CloseSession(); // does nothing when the session was closed already
}

void CDlgView::ConnectControls()
{
    CFormControls& c = *m_controls;
    CFormCommands* commands = m_commands.get();
    connect(c.m_cbDirectory, qOverload<int>(&QComboBox::activated), this, [this] { OnSelchangeDirectory(); });
    connect(c.m_cbFolder, qOverload<int>(&QComboBox::activated), this, [this] { OnSelchangeFolder(); });
    connect(c.m_btnSaveAddressBook, &QPushButton::clicked, this, [commands] { commands->OnSaveAddressBook(); });
    connect(c.m_btnSaveToPhone, &QPushButton::clicked, this, [commands] { commands->OnSaveToPhone(); });
    connect(c.m_btnExit, &QPushButton::clicked, this, [commands] { commands->OnExit(); });
    connect(c.m_btnToAddressBook, &QPushButton::clicked, this, [commands] { commands->OnCopyToAddressBook(); });
    connect(c.m_btnToPhone, &QPushButton::clicked, this, [commands] { commands->OnCopyToPhone(); });
}

void CDlgView::OnInitialUpdate()
{
    if (m_pFrame) m_pFrame->FitToView();
    m_store->m_strScratch = StringTable::LoadString(Ids::IDS_APP_TITLE);
    const QString title = QString::fromStdString(m_store->m_strScratch);
    if (m_pFrame) m_pFrame->SetWindowTitle(title);
    else window()->setWindowTitle(title);
    m_store->m_nFlags = VF_SHOW_CORRECTION;

    PaletteIcons::Follow(m_controls->m_btnToAddressBook,
                         [](const QPalette& palette) { return Artwork::TransferIcon(144, palette); });
    PaletteIcons::Follow(m_controls->m_btnToPhone, [](const QPalette& palette) { return Artwork::TransferIcon(143, palette); });

    m_preview->InitWidths(font());
    const DialogUnits du(font());
    const int columnUnits[4] = {56, 50, 17, 22};
    for (size_t i = 0; i < 4; ++i) g_anColWidth[i] = du.X(columnUnits[i]);
    m_preview->FitToWidth(width(), font()); // a form already wider than the template

    m_controls->m_btnToAddressBook->setEnabled(false);
    m_controls->m_btnToPhone->setEnabled(false);
    m_store->m_nActiveList = LIST_NONE;
    m_store->m_nNameLen = 0;
    m_store->m_nUcs2NameLen = 0;
    m_store->m_nNumberLen = 0;

    m_store->m_bPhoneDataRead = 0;
    m_store->m_nCurDir = 0;
    for (DirTable& table : m_store->m_dirTables) table.m_nCount = 0;
    CFormControls::InsertColumns(m_controls->m_lcPhone);

    m_store->m_abTable.m_nCount = 0;
    m_store->m_abTable.m_nCapacity = kTableSlots;
    m_store->m_nFolderCount = 0;
    for (FolderRecord& folder : m_store->m_folders) folder.m_pRows = nullptr;
    CFormControls::InsertColumns(m_controls->m_lcAddressBook);
    QSettings settings;
    m_lists->RestoreListState(WindowSettings::Read(settings));

    if (!m_ab->OpenAtStartUp()) return;
    m_lists->FillAbList(true);
    m_host->FillFolderCombo();
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
    m_preview->ShowCorrectionRow(m_store->HasFlag(VF_SHOW_CORRECTION));
    m_store->m_nAutoReadMask = values.AutoReadMask();
}

bool CDlgView::OnUpdateCommand(int id, bool& enabled) const
{
    return m_commands->OnUpdateCommand(id, enabled);
}

bool CDlgView::OnCommand(int id)
{
    return m_commands->OnCommand(id);
}

void CDlgView::SetProgramEnder(std::function<void(int)> ender)
{
    m_host->SetProgramEnder(std::move(ender));
}

void CDlgView::contextMenuEvent(QContextMenuEvent* event)
{
    m_lists->ShowContextMenu(*event);
}

void CDlgView::OnSelchangeDirectory()
{
    ClearStaleStatus();
    m_phone->ChangeDirectory(m_controls->m_cbDirectory->currentIndex());
}

void CDlgView::OnSelchangeFolder()
{
    ClearStaleStatus();
    m_ab->ChangeFolder();
}

void CDlgView::LeaveProgram()
{
    if (m_pFrame) m_pFrame->Leave();
    else window()->close();
}
