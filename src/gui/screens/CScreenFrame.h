#pragma once

#include "appcore/CScreenNotices.h"
#include "gui/kit/CChildFrame.h"
#include "gui/kit/CUiThreadPoster.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>

class CQueuedReceiver;
class CScreenController;
class CSettingProfile;
class QTimer;

// Base of the measurement screens' child frames: the request cycle's pump, Start with its save
// question, Stop, Reset with its question, Save with the file dialog, the status-bar notices,
// and the teardown on close. A derived frame hands over its controller and reading handler
// with Attach() and routes the commands it does not handle itself here.
class CScreenFrame : public CChildFrame, protected CScreenNotices {
    Q_OBJECT

public:
    explicit CScreenFrame(ChildKind kind, QWidget* parent = nullptr);
    ~CScreenFrame() override;

    CReadingReceiver* Receiver() override;
    CScreenController& Controller() const { return *m_controller; }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;
    bool OfferToSave() override;
    void ForgetMeasurement() override;
    void SensorReleased() override;

    // The screen keeps a crash-safe journal of its measurements in the folder (none when empty).
    void KeepJournalIn(const std::string& folder);

    // What Save does once a path was chosen; false (after the message) when writing failed.
    bool SaveHistoryTo(const QString& path);
    // Asks where Save writes (the file dialog by default); an empty path cancels the save.
    void SetSavePathChooser(std::function<QString()> choose) { m_chooseSavePath = std::move(choose); }
    const QString& LastSavedPath() const { return m_lastSavedPath; }

protected:
    // Completions from the engine's worker reach this frame's thread through it, and only
    // while the frame lives.
    const CUiThreadPoster& UiPoster() const { return m_poster; }
    // The derived frame's controller and the handler its readings go to, queued to this thread.
    void Attach(CScreenController& controller, CReadingReceiver& handler);
    // The screen's one window, which takes the focus for the frame. It takes it on a click, so
    // that a click on the title bar or anywhere in the screen activates the screen: a sub-window
    // activates with the focus and refuses a click's focus while its proxy does.
    void SetView(QWidget* view);
    void closeEvent(QCloseEvent* event) override;

    void ShowWarning(const std::string& text) override;
    void ShowStalled(bool stalled) override;
    void ShowNotResponding(bool lost) override;
    void ShowOtherSensor(bool other) override;
    void ShowSetupRefused(bool refused) override;
    void ShowRecordFull(bool full) override;

private:
    enum Notice {
        NoticeWarning,
        NoticeSetup,
        NoticeStalled,
        NoticeFull,
        NoticeLost,
        NoticeOther,
        NoticeCount
    };

    void OnStart();
    void StopOtherScreens();
    void OnReset();
    // True only when the user chose a path and the history was written there.
    bool SaveWithDialog();
    QString ChooseSavePath();
    bool Ask(const char* key);
    void SetNotice(Notice notice, const QString& text);
    void FollowLostCause();
    void OnReady();
    // Hands a reading to its handler and then sends the request it made due.
    void Deliver(const std::function<void()>& handle);

    CUiThreadPoster m_poster;
    CScreenController* m_controller = nullptr;
    std::unique_ptr<CQueuedReceiver> m_receiver;
    QTimer* m_timer;
    QString m_lastSavedPath;
    std::function<QString()> m_chooseSavePath;
    std::array<QString, NoticeCount> m_notices;
    bool m_linkLost = false;
    bool m_delivering = false; // a reading's handler runs
    bool m_pumpDue = false;    // it made the next request due
};
