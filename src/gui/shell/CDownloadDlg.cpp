#include "gui/shell/CDownloadDlg.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "gui/kit/CCorePath.h"
#include "history/CHistoryFile.h"
#include "history/CHistoryRecorder.h"
#include "history/CLoggedTimeBase.h"
#include "model/CRecordStore.h"
#include "model/CSettingProfile.h"
#include "protocol/CLoggedDataDecoder.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kSection = "IDD_DOWNLOADER";

QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText(kSection, key));
}

struct SChannelBox {
    int id;
    const char* key;
    int32_t bit;
};
constexpr std::array<SChannelBox, 4> kChannelBoxes = {{{1088, "IDC_LOG_CHECK_FWD", 0x01},
                                                       {1089, "IDC_LOG_CHECK_PEAK", 0x02},
                                                       {1090, "IDC_LOG_CHECK_REV", 0x04},
                                                       {1091, "IDC_LOG_CHECK_PULSE", 0x08}}};

// 9600 baud, ten bits a byte.
constexpr double kSerialMsPerByte = 10.0 * 1000.0 / 9600.0;
constexpr int kProgressStepMs = 100;

QPushButton* AddButton(QWidget* parent, QLayout* layout, int id, const char* key) {
    auto* button = new QPushButton(DialogText(key), parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

} // namespace

CDownloadDlg::CDownloadDlg(CSettingProfile& profile, CLoggingLink& link, const CLoggingLink::Status& status,
                           QWidget* parent)
    : QDialog(parent), m_profile(profile), m_link(link), m_status(status) {
    setWindowTitle(DialogText("CAPTION"));
    auto* layout = new QVBoxLayout(this);

    auto* device = new QGroupBox(DialogText("IDC_STATIC_DEVICE"), this);
    auto* deviceRow = new QHBoxLayout(device);
    for (auto [id, key, text] : {std::tuple{1003, "IDC_STATIC_MODEL", profile.ModelName()},
                                 std::tuple{1004, "IDC_STATIC_SN", profile.GetSerialText()},
                                 std::tuple{1026, "IDC_STATIC_VER", profile.GetFirmwareText()}}) {
        auto* field = new QLineEdit(QString::fromStdString(text), device);
        field->setObjectName(QString::number(id));
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        deviceRow->addWidget(new QLabel(DialogText(key), device));
        deviceRow->addWidget(field, 1);
    }
    layout->addWidget(device);

    // The boxes only show which channels were logged.
    auto* stored = new QGroupBox(DialogText("IDC_STATIC_REFERENCE2"), this);
    auto* storedRow = new QHBoxLayout(stored);
    for (size_t index = 0; index < kChannelBoxes.size(); ++index) {
        auto* box = new QCheckBox(DialogText(kChannelBoxes[index].key), stored);
        box->setObjectName(QString::number(kChannelBoxes[index].id));
        box->setChecked((status.mask & kChannelBoxes[index].bit) != 0);
        box->setEnabled(false);
        m_channels[index] = box;
        storedRow->addWidget(box);
    }
    storedRow->addStretch(1);
    layout->addWidget(stored);

    auto* download = new QGroupBox(DialogText("IDC_STATIC_DATA_DN"), this);
    auto* downloadGrid = new QGridLayout(download);
    m_title = new QLineEdit(download);
    m_title->setObjectName(QString::number(IdcTitle));
    auto* titleLabel = new QLabel(DialogText("IDC_STATIC_DN_TITLE"), download);
    titleLabel->setBuddy(m_title);
    downloadGrid->addWidget(titleLabel, 0, 0);
    downloadGrid->addWidget(m_title, 0, 1);
    auto* buttons = new QHBoxLayout;
    m_loadToScreen = AddButton(download, buttons, IdcLoadToScreen, "IDC_DOWN_BTN_LOAD_SCREEN");
    m_saveToDisk = AddButton(download, buttons, IdcSaveToDisk, "IDC_DOWN_BTN_SAVE_FILE");
    m_clearLogged = AddButton(download, buttons, IdcClearLogged, "IDC_DOWN_BTN_RESET");
    downloadGrid->addLayout(buttons, 1, 0, 1, 2);
    layout->addWidget(download);

    auto* okRow = new QHBoxLayout;
    okRow->addStretch(1);
    m_ok = new QPushButton(DialogText("IDOK"), this);
    m_ok->setObjectName(QStringLiteral("1"));
    m_ok->setDefault(true);
    okRow->addWidget(m_ok);
    layout->addLayout(okRow);

    connect(m_loadToScreen, &QPushButton::clicked, this, &CDownloadDlg::LoadToScreen);
    connect(m_saveToDisk, &QPushButton::clicked, this, &CDownloadDlg::SaveToDisk);
    connect(m_clearLogged, &QPushButton::clicked, this, &CDownloadDlg::ClearLoggedData);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    m_chooseSavePath = [this] {
        QFileDialog dialog(this);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDefaultSuffix(QStringLiteral("psh"));
        dialog.setNameFilters({QStringLiteral("PSH files(*.psh)"), QStringLiteral("All files(*.*)")});
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().constFirst()
                   : QString();
    };
    UpdateButtons();
}

CDownloadDlg::~CDownloadDlg() {
    if (m_exchangeRunning)
        QApplication::restoreOverrideCursor();
}

int CDownloadDlg::ExpectedMilliseconds(int32_t samples, bool serialPort) {
    const int32_t blocks = CLoggedDataDecoder::BlocksFor(std::max(samples, 0));
    const double bytes = static_cast<double>(blocks) * CLoggedDataDecoder::kBlockBytes;
    return serialPort ? static_cast<int>(bytes * kSerialMsPerByte) + 500 : 500;
}

void CDownloadDlg::UpdateButtons() {
    const bool fetchable = m_status.CanFetch() && !m_cleared && !m_exchangeRunning;
    m_loadToScreen->setEnabled(fetchable);
    m_saveToDisk->setEnabled(fetchable);
    m_clearLogged->setEnabled(!m_exchangeRunning);
    m_ok->setEnabled(!m_exchangeRunning);
}

void CDownloadDlg::reject() {
    if (!m_exchangeRunning) // the exchange in flight finishes first
        QDialog::reject();
}

void CDownloadDlg::SaveToDisk() {
    Fetch([this] {
        const QString path = m_chooseSavePath();
        if (!path.isEmpty())
            WriteHistory(path);
    });
}

void CDownloadDlg::LoadToScreen() {
    Fetch([this] {
        const QString path = NewTemporaryFile();
        if (path.isEmpty()) {
            CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONFILESAVE", MB_ICONSTOP);
            return;
        }
        if (WriteHistory(path))
            emit LoadToScreenRequested(path);
        else
            QFile::remove(path);
    });
}

QString CDownloadDlg::NewTemporaryFile() {
    // QTemporaryFile::close() keeps the file open; only its destruction closes it, and Windows
    // cannot replace a file that is still open.
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("datXXXXXX.psh")));
    file.setAutoRemove(false);
    return file.open() ? file.fileName() : QString();
}

void CDownloadDlg::Fetch(std::function<void()> then) {
    if (m_exchangeRunning)
        return;
    BeginExchange(ExpectedMilliseconds(m_status.samples, m_link.IsSerial()));
    QPointer<CDownloadDlg> self(this);
    m_link.Download([self, then = std::move(then)](CLoggingDownload::Result result,
                                                   std::shared_ptr<CRecordStore> records) {
        if (!self)
            return;
        self->EndExchange();
        if (result == CLoggingDownload::Downloaded && records) {
            self->m_logged = std::move(*records);
            then();
            return;
        }
        CMessageBoxes::FromKey(self,
                               result == CLoggingDownload::NothingLogged ? "S_SETTING_WARNING_DN_0_FAIL"
                                                                         : "S_SETTING_WARNING_DN_FAIL",
                               MB_ICONEXCLAMATION);
    });
}

bool CDownloadDlg::WriteHistory(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CHistoryData history = CHistoryRecorder::BuildFromRecords(
        m_profile, m_logged, static_cast<uint8_t>(m_status.mask), m_title->text().toStdString());
    CLoggedTimeBase::Stamp(history.Header(), m_profile.GetLoggingRun(), m_profile.GetSerialText(),
                           history.RowCount());
    const bool written = CHistoryFile::SaveHistoryRaw(CCorePath::FromQt(path), history);
    QApplication::restoreOverrideCursor();
    if (!written)
        CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONFILESAVE", MB_ICONSTOP);
    return written;
}

void CDownloadDlg::ClearLoggedData() {
    if (m_exchangeRunning)
        return;
    BeginExchange(0);
    QPointer<CDownloadDlg> self(this);
    m_link.EraseLoggedData([self](bool ok) {
        if (!self)
            return;
        self->EndExchange();
        // Erased memory must not be fetched as data any more.
        self->m_cleared = self->m_cleared || ok;
        self->UpdateButtons();
        CMessageBoxes::FromKey(self, ok ? "S_SETTING_WARNING_CLEAR_SUCCESS" : "S_SETTING_WARNING_CLEAR_FAIL",
                               MB_ICONINFORMATION);
    });
}

void CDownloadDlg::BeginExchange(int expectedMs) {
    m_exchangeRunning = true;
    UpdateButtons();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (expectedMs <= 0)
        return;
    // The sensor does not report how far it is, so the bar follows the time the bytes take.
    m_progress = new QProgressDialog(DialogText("IDC_STATIC_DATA_DN"), QString(), 0, expectedMs, this);
    m_progress->setWindowTitle(DialogText("CAPTION"));
    m_progress->setMinimumDuration(500);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progressTimer = new QTimer(this);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    connect(m_progressTimer, &QTimer::timeout, m_progress, [this, elapsed, expectedMs] {
        m_progress->setValue(static_cast<int>(std::min<qint64>(elapsed->elapsed(), expectedMs - 1)));
    });
    m_progressTimer->start(kProgressStepMs);
}

void CDownloadDlg::EndExchange() {
    QApplication::restoreOverrideCursor();
    m_exchangeRunning = false;
    delete m_progressTimer;
    m_progressTimer = nullptr;
    delete m_progress;
    m_progress = nullptr;
    UpdateButtons();
}
