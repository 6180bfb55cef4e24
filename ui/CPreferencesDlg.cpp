#include "ui/CPreferencesDlg.h"

#include "res/StringTable.h"
#include "ui/CConnectionDlg.h"
#include "ui/CFilePathField.h"
#include "ui/CSyncAccountBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {
// The directories' names, by directory number (the order of the directory combo box).
constexpr int kDirectoryNames[7] = {61207, 61208, 61209, 61206, 61210, 61211, 61212};
constexpr int kSpeeds[] = {9600, 19200, 38400, 57600, 115200, 230400, 460800};
}

CPreferencesDlg::CPreferencesDlg(QWidget* parent, QSettings& settings, DeviceChooser chooseDevice)
    : QDialog(parent), m_settings(settings), m_chooseDevice(std::move(chooseDevice)),
      m_values(FormSettings::Read(settings))
{
    if (!m_chooseDevice) {
        m_chooseDevice = [this](QString& device) {
            CConnectionDlg dialog(this, device);
            if (dialog.exec() != QDialog::Accepted) return false;
            device = dialog.ChosenDevice();
            return true;
        };
    }
    setWindowTitle(QStringLiteral("Preferences"));
    CreateControls();
    ShowValues();
}

void CPreferencesDlg::CreateControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* directories = new QGroupBox(QStringLiteral("Directories read at start-up"), this);
    auto* grid = new QGridLayout(directories);
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(StringTable::LoadQString(kDirectoryNames[i]), directories);
        box->setObjectName(QStringLiteral("directory%1").arg(i));
        m_chkDirectories[static_cast<size_t>(i)] = box;
        grid->addWidget(box, i % 4, i / 4);
    }
    auto* none = new QLabel(QStringLiteral("With none checked the own numbers are read."), directories);
    none->setWordWrap(true);
    grid->addWidget(none, 4, 0, 1, 2);
    layout->addWidget(directories);

    m_chkShowCorrection = new QCheckBox(QStringLiteral("Show the &preview row"), this);
    m_chkShowCorrection->setObjectName(QStringLiteral("showCorrection"));
    layout->addWidget(m_chkShowCorrection);

    auto* form = new QFormLayout;
    m_bookFile = new CFilePathField(this, CFilePathField::Purpose::Open, QStringLiteral("Address-book file"),
                                    QStringLiteral("Address books (*.sqlite);;All files (*)"));
    m_bookFile->setObjectName(QStringLiteral("bookFile"));
    m_bookFile->Edit()->setAccessibleName(QStringLiteral("Address-book file"));
    m_bookFile->Edit()->setPlaceholderText(QStringLiteral("pab.sqlite in your data folder"));
    form->addRow(QStringLiteral("&Address-book file:"), m_bookFile);

    auto* telephone = new QHBoxLayout;
    m_stDevice = new QLabel(this);
    m_stDevice->setObjectName(QStringLiteral("device"));
    m_stDevice->setAccessibleName(QStringLiteral("Telephone device"));
    m_stDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* connection = new QPushButton(QStringLiteral("&Connection..."), this);
    connection->setObjectName(QStringLiteral("connection"));
    telephone->addWidget(m_stDevice, 1);
    telephone->addWidget(connection);
    form->addRow(QStringLiteral("Telephone:"), telephone);

    m_cbBaud = new QComboBox(this);
    m_cbBaud->setObjectName(QStringLiteral("baud"));
    m_cbBaud->setAccessibleName(QStringLiteral("Speed"));
    m_cbBaud->addItem(QStringLiteral("Default (115200 baud)"), 0);
    for (int speed : kSpeeds) m_cbBaud->addItem(QStringLiteral("%1 baud").arg(speed), speed);
    form->addRow(QStringLiteral("&Speed:"), m_cbBaud);
    layout->addLayout(form);

    m_syncAccount = new CSyncAccountBox(this, SyncAccount::Read(m_settings));
    layout->addWidget(m_syncAccount);

    auto* note = new QLabel(QStringLiteral("The preview row and the telephone change at once; the start-up "
                                           "directories, the address-book file and the speed at the next start."),
                            this);
    note->setObjectName(QStringLiteral("whenEffective"));
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(connection, &QPushButton::clicked, this, &CPreferencesDlg::OnConnection);
}

void CPreferencesDlg::ShowValues()
{
    const int mask = m_values.StartUpDirectories();
    for (int i = 0; i < 7; ++i) m_chkDirectories[static_cast<size_t>(i)]->setChecked((mask & (1 << i)) != 0);
    m_chkShowCorrection->setChecked(m_values.m_nShowCorrection != 0);
    m_bookFile->Edit()->setText(m_values.m_strAddressBookFile);
    int speed = m_cbBaud->findData(m_values.m_nBaud);
    if (speed < 0) { // a speed typed into the settings by hand is kept as it is
        m_cbBaud->addItem(QStringLiteral("%1 baud").arg(m_values.m_nBaud), m_values.m_nBaud);
        speed = m_cbBaud->count() - 1;
    }
    m_cbBaud->setCurrentIndex(speed);
    ShowDevice();
}

void CPreferencesDlg::ShowDevice()
{
    m_stDevice->setText(m_values.m_strDevice.isEmpty() ? QStringLiteral("Built-in phone emulator") : m_values.m_strDevice);
}

void CPreferencesDlg::OnConnection()
{
    QString device = m_values.m_strDevice;
    if (!m_chooseDevice(device)) return;
    m_values.m_strDevice = device;
    ShowDevice();
}

FormSettings CPreferencesDlg::Values() const
{
    FormSettings values = m_values;
    int mask = 0;
    for (int i = 0; i < 7; ++i)
        if (m_chkDirectories[static_cast<size_t>(i)]->isChecked()) mask |= 1 << i;
    values.SetStartUpDirectories(mask);
    values.m_nShowCorrection = m_chkShowCorrection->isChecked() ? 1 : 0;
    values.m_strAddressBookFile = m_bookFile->Path();
    values.m_nBaud = m_cbBaud->currentData().toInt();
    return values;
}

void CPreferencesDlg::accept()
{
    if (!m_syncAccount->Store(m_settings)) return; // the box says why; nothing is written
    m_values = Values();
    m_values.Write(m_settings);
    QDialog::accept();
}
