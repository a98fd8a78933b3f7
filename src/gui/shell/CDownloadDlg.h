#pragma once

#include "appcore/CLoggingLink.h"
#include "model/CRecordStore.h"

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

class CSettingProfile;
class QCheckBox;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QTimer;

// Shows what the sensor logged (as its status read just before) and fetches it: into a history
// file, or into a history viewer; or erases it in the sensor. What a fetch brings is the
// dialog's own, kept only when the fetch succeeded; no screen's measurement is touched.
class CDownloadDlg : public QDialog {
    Q_OBJECT

public:
    enum ControlId {
        IdcTitle = 1095,
        IdcLoadToScreen = 1096,
        IdcClearLogged = 1097,
        IdcSaveToDisk = 1098,
    };

    CDownloadDlg(CSettingProfile& profile, CLoggingLink& link, const CLoggingLink::Status& status,
                 QWidget* parent = nullptr);
    ~CDownloadDlg() override;

    // Where Save to Disk writes; the default asks with the save-file dialog (empty: cancelled).
    void SetSavePathChooser(std::function<QString()> choose) { m_chooseSavePath = std::move(choose); }
    bool IsExchangeRunning() const { return m_exchangeRunning; }
    // The expected length of a download, for its progress display.
    static int ExpectedMilliseconds(int32_t samples, bool serialPort);

public slots:
    void SaveToDisk();
    void LoadToScreen();
    void ClearLoggedData();
    void reject() override;

signals:
    // A history file of the downloaded data waits to be shown; the receiver owns the file and
    // removes it when it is no longer shown.
    void LoadToScreenRequested(const QString& path);

private:
    void UpdateButtons();
    // Downloads, keeps what came and runs then; failures are reported here.
    void Fetch(std::function<void()> then);
    // An empty file of a new name in the temporary folder, closed; empty when none could be made.
    static QString NewTemporaryFile();
    // Writes what was fetched as a history file of the logged channels; false after the message.
    bool WriteHistory(const QString& path);
    void BeginExchange(int expectedMs);
    void EndExchange();

    CSettingProfile& m_profile;
    CLoggingLink& m_link;
    CLoggingLink::Status m_status;
    CRecordStore m_logged;
    std::function<QString()> m_chooseSavePath;
    std::array<QCheckBox*, 4> m_channels{};
    QLineEdit* m_title = nullptr;
    QPushButton* m_loadToScreen = nullptr;
    QPushButton* m_saveToDisk = nullptr;
    QPushButton* m_clearLogged = nullptr;
    QPushButton* m_ok = nullptr;
    QProgressDialog* m_progress = nullptr;
    QTimer* m_progressTimer = nullptr;
    bool m_exchangeRunning = false;
    bool m_cleared = false;
};
