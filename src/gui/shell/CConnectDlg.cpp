#include "gui/shell/CConnectDlg.h"

#include "appcore/CStringTable.h"
#include "device/CEnumPorts.h"
#include "platform/TraceSink.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include <array>

namespace {

const char* const kSection = "IDD_CONNECT";
constexpr size_t kNameLength = 1024;
const char* const kLastInterfaceKey = "Connect/Interface";
const char* const kLastPortKey = "Connect/Port";
constexpr int kSerialChoice = 0;
constexpr int kUsbChoice = 1;

QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText(kSection, key));
}

} // namespace

CConnectDlg::CConnectDlg(TraceSink& trace, QWidget* parent)
    : QDialog(parent), m_trace(trace), m_serial(new QRadioButton(this)), m_usb(new QRadioButton(this)),
      m_wndPort(new QComboBox(this)) {
    Trace("OnInitDialog start");
    setWindowTitle(DialogText("CAPTION"));
    m_serial->setText(DialogText("IDC_SERIAL"));
    m_usb->setText(DialogText("IDC_USB"));
    m_wndPort->setMinimumContentsLength(24);
    m_wndPort->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

    auto* choice = new QButtonGroup(this);
    choice->addButton(m_serial);
    choice->addButton(m_usb);

    auto* group = new QGroupBox(DialogText("IDC_STATIC_SELECT"), this);
    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(m_serial, 0, 0);
    groupLayout->addWidget(m_wndPort, 0, 1);
    groupLayout->addWidget(m_usb, 1, 0);
    groupLayout->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(DialogText("IDOK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(DialogText("IDCANCEL"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConnectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConnectDlg::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FillPortList();
    RestoreLastChoice();
    connect(m_wndPort, &QComboBox::activated, m_serial, [this] { m_serial->setChecked(true); });
}

// A port that has gone since last time leaves the first port of the list selected.
void CConnectDlg::RestoreLastChoice() {
    const QSettings settings;
    const int port = settings.value(kLastPortKey, -1).toInt();
    if (const int index = m_wndPort->findData(port); index >= 0)
        m_wndPort->setCurrentIndex(index);
    const bool serial = settings.value(kLastInterfaceKey, kUsbChoice).toInt() == kSerialChoice;
    (serial && m_wndPort->count() > 0 ? m_serial : m_usb)->setChecked(true);
}

void CConnectDlg::RememberChoice() const {
    QSettings settings;
    settings.setValue(kLastInterfaceKey, m_usb->isChecked() ? kUsbChoice : kSerialChoice);
    if (!m_usb->isChecked())
        settings.setValue(kLastPortKey, m_resultPort);
}

void CConnectDlg::Trace(const std::string& text) const {
    m_trace.Trace("CConnectDlg " + text);
}

void CConnectDlg::FillPortList() {
    const CEnumPorts ports(m_trace);
    for (int index = 0; index < ports.GetCounts(); ++index) {
        std::array<char, kNameLength> name{};
        const int32_t port = ports.GetPort(index, name.data(), name.size());
        m_wndPort->addItem(QString::fromUtf8(name.data()), port);
        Trace("OnInitDialog loop m_wndPort.SetItemData(" + std::to_string(index) + ", " +
              std::to_string(port) + ")");
    }
    if (m_wndPort->count() > 0)
        m_wndPort->setCurrentIndex(0);
}

void CConnectDlg::accept() {
    if (m_usb->isChecked()) {
        m_resultPort = -1;
    } else {
        const int index = m_wndPort->currentIndex();
        if (index < 0)
            return; // a serial port must be picked first
        m_selectedName = m_wndPort->itemText(index);
        m_resultPort = m_wndPort->itemData(index).toInt();
    }
    RememberChoice();
    QDialog::accept();
}
