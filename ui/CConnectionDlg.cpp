#include "ui/CConnectionDlg.h"

#include "phone/TelephoneConnection.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kBuiltInText = QStringLiteral("Built-in telephone emulator");
// The row of the built-in phone keeps an empty device; the others keep their path.
constexpr int kDeviceRole = Qt::UserRole;
}

CConnectionDlg::CConnectionDlg(QWidget* parent, const QString& current, const QString& root, int probeTimeoutMs)
    : QDialog(parent), m_search(new TelephonePortSearch(root, probeTimeoutMs, this)), m_chosen(current)
{
    setWindowTitle(QStringLiteral("Telephone connection"));
    CreateControls();
    m_edDevice->setText(current);
    connect(m_search, &TelephonePortSearch::finished, this, &CConnectionDlg::ShowPorts);
    connect(m_btnSearch, &QPushButton::clicked, this, &CConnectionDlg::StartSearch);
    connect(m_lcPorts, &QTreeWidget::itemSelectionChanged, this, &CConnectionDlg::OnRowChosen);
    connect(m_lcPorts, &QTreeWidget::itemDoubleClicked, this, &CConnectionDlg::accept);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CConnectionDlg::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_edDevice, &QLineEdit::textEdited, m_stProblem, &QLabel::clear);
    ShowPorts({});
    StartSearch();
}

void CConnectionDlg::CreateControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Serial ports and the telephones that answer on them:"), this);
    layout->addWidget(intro);

    m_lcPorts = new QTreeWidget(this);
    m_lcPorts->setObjectName(QStringLiteral("ports"));
    m_lcPorts->setAccessibleName(QStringLiteral("Serial ports"));
    m_lcPorts->setHeaderLabels({QStringLiteral("Device"), QStringLiteral("Telephone"), QStringLiteral("Name")});
    m_lcPorts->setRootIsDecorated(false);
    m_lcPorts->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lcPorts->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lcPorts->setMinimumSize(560, 180);
    intro->setBuddy(m_lcPorts);
    layout->addWidget(m_lcPorts);

    auto* searchRow = new QHBoxLayout;
    m_stSearch = new QLabel(this);
    m_stSearch->setObjectName(QStringLiteral("searchState"));
    m_stSearch->setAccessibleName(QStringLiteral("Search state"));
    m_btnSearch = new QPushButton(QStringLiteral("&Search again"), this);
    m_btnSearch->setObjectName(QStringLiteral("searchAgain"));
    m_btnSearch->setAutoDefault(false);
    searchRow->addWidget(m_stSearch, 1);
    searchRow->addWidget(m_btnSearch);
    layout->addLayout(searchRow);

    auto* form = new QFormLayout;
    m_edDevice = new QLineEdit(this);
    m_edDevice->setObjectName(QStringLiteral("device"));
    m_edDevice->setAccessibleName(QStringLiteral("Device"));
    m_edDevice->setPlaceholderText(kBuiltInText);
    form->addRow(QStringLiteral("&Device:"), m_edDevice);
    layout->addLayout(form);
    m_stProblem = new QLabel(this);
    m_stProblem->setObjectName(QStringLiteral("problem"));
    m_stProblem->setAccessibleName(QStringLiteral("Problem with the device"));
    m_stProblem->setWordWrap(true);
    layout->addWidget(m_stProblem);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(m_buttons);
}

void CConnectionDlg::StartSearch()
{
    if (!m_search->start()) return;
    m_btnSearch->setEnabled(false);
    m_stSearch->setText(QStringLiteral("Searching the serial ports..."));
}

QString CConnectionDlg::AnswerText(const TelephonePort& port)
{
    if (!port.answers) return port.problem;
    const QString identity = QStringLiteral("%1 %2").arg(port.maker, port.model).simplified();
    return identity.isEmpty() ? QStringLiteral("answers (maker and model not told)") : identity;
}

void CConnectionDlg::ShowPorts(const QList<TelephonePort>& ports)
{
    m_lcPorts->clear();
    auto* builtIn = new QTreeWidgetItem(m_lcPorts, {kBuiltInText, QStringLiteral("always there"), QString()});
    builtIn->setData(0, kDeviceRole, QString());
    int answering = 0;
    for (const TelephonePort& port : ports) {
        auto* row = new QTreeWidgetItem(m_lcPorts, {port.device, AnswerText(port), port.byId});
        row->setData(0, kDeviceRole, port.device);
        if (port.answers) ++answering;
    }
    // The row of the device in use is selected, without changing what the field holds.
    const QString current = m_edDevice->text().trimmed();
    for (int i = 0; i < m_lcPorts->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = m_lcPorts->topLevelItem(i);
        if (row->data(0, kDeviceRole).toString() == current) {
            const QSignalBlocker quiet(m_lcPorts);
            m_lcPorts->setCurrentItem(row);
        }
    }
    if (m_search->isRunning()) return;
    m_btnSearch->setEnabled(true);
    m_stSearch->setText(QStringLiteral("%1 serial ports, %2 with a telephone answering.").arg(ports.size()).arg(answering));
}

void CConnectionDlg::OnRowChosen()
{
    const QList<QTreeWidgetItem*> chosen = m_lcPorts->selectedItems();
    if (chosen.isEmpty()) return;
    m_edDevice->setText(chosen.first()->data(0, kDeviceRole).toString());
    m_stProblem->clear();
}

void CConnectionDlg::accept()
{
    const QString device = m_edDevice->text().trimmed();
    const QString problem = TelephoneConnection::CheckTyped(device);
    if (!problem.isEmpty()) {
        m_stProblem->setText(problem);
        m_edDevice->setFocus();
        return;
    }
    m_chosen = device;
    QDialog::accept();
}
