#include "gui/screens/CScreenFrame.h"

#include "appcore/CLinkFailureTexts.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CScreenController.h"
#include "appcore/CShellLink.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/kit/CCorePath.h"
#include "gui/kit/CQueuedReceiver.h"
#include "model/CSettingProfile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QTimer>

#include <utility>

namespace {

constexpr int kStatusWarningPane = 1;
// The engine's worker paces the readings and each handled one asks for the next; the timer only
// follows the link and the journal, and sends what a refused request left unasked.
constexpr int kFollowTimerMs = 250;

QString GeneralText(const char* key) {
    return QString::fromStdString(CStringTable::GetGeneralText(key));
}

} // namespace

CScreenFrame::CScreenFrame(ChildKind kind, QWidget* parent)
    : CChildFrame(kind, parent), m_timer(new QTimer(this)) {
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (m_controller != nullptr)
            m_controller->Pump();
        if (m_linkLost)
            FollowLostCause();
    });
    m_timer->start(kFollowTimerMs);
}

CScreenFrame::~CScreenFrame() = default;

void CScreenFrame::SetView(QWidget* view) {
    view->setFocusPolicy(Qt::ClickFocus);
    setWidget(view);
    setFocusProxy(view);
}

void CScreenFrame::KeepJournalIn(const std::string& folder) {
    m_controller->Recording().KeepJournalIn(folder);
}

void CScreenFrame::Attach(CScreenController& controller, CReadingReceiver& handler) {
    m_controller = &controller;
    m_controller->SetReadyHandler([this] { OnReady(); });
    m_receiver = std::make_unique<CQueuedReceiver>(
        this, handler, [this](const std::function<void()>& handle) { Deliver(handle); });
}

// The next request goes out once the reading's handler has finished: right after it when a
// reading made it due, so that a measurement costs the event loop one turn a reading; posted
// when a command did.
void CScreenFrame::OnReady() {
    if (m_delivering)
        m_pumpDue = true;
    else
        m_poster.Poster()([this] { m_controller->Pump(); });
}

void CScreenFrame::Deliver(const std::function<void()>& handle) {
    // A handler that opens a message box lets other readings run meanwhile: the outermost
    // one sends what they made due.
    const bool outer = !std::exchange(m_delivering, true);
    handle();
    if (!outer)
        return;
    m_delivering = false;
    if (std::exchange(m_pumpDue, false))
        m_controller->Pump();
}

CReadingReceiver* CScreenFrame::Receiver() {
    return m_receiver.get();
}

bool CScreenFrame::OnCommand(int id) {
    switch (id) {
    case ID_MEASURE_START:
        OnStart();
        return true;
    case ID_MEASURE_STOP:
        m_controller->Stop();
        return true;
    case ID_MEASURE_RESET:
        OnReset();
        return true;
    case ID_FILE_SAVE:
        SaveWithDialog();
        return true;
    default:
        return false; // the setting command and the rest belong to the main frame
    }
}

bool CScreenFrame::OnUpdateCommand(int id, CCommandState& state) {
    return m_controller->UpdateCommand(id, state);
}

void CScreenFrame::OnStart() {
    if (m_controller->IsRunning())
        return;
    // A save the user asked for but that did not happen must not cost the records.
    if (m_controller->StartDiscardsUnsaved() && Ask("S_MEASUREVIEW_ONMEASURESTART") && !SaveWithDialog())
        return;
    StopOtherScreens();
    m_controller->Start();
}

// A sensor measures for one screen at a time; what the others recorded stays theirs, and
// the screens of other sensors go on measuring.
void CScreenFrame::StopOtherScreens() {
    if (mdiArea() == nullptr)
        return;
    for (QMdiSubWindow* window : mdiArea()->subWindowList())
        if (auto* other = qobject_cast<CScreenFrame*>(window);
            other != nullptr && other != this && other->Sensor() == Sensor())
            other->m_controller->Stop();
}

void CScreenFrame::OnReset() {
    if (Ask("S_MEASUREVIEW_ONMEASURERESET"))
        m_controller->Reset();
}

bool CScreenFrame::OfferToSave() {
    if (!m_controller->StartDiscardsUnsaved())
        return true;
    switch (CMessageBoxes::FromKey(this, "S_SCREEN_ONDISCARD", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        m_controller->Stop(); // a history holds a finished measurement
        return SaveWithDialog();
    case IDNO:
        m_controller->Recording().Discard(); // given up: nothing to offer at the next start
        return true;
    default:
        return false;
    }
}

void CScreenFrame::ForgetMeasurement() {
    m_controller->Stop();
    m_controller->Reset();
}

void CScreenFrame::SensorReleased() {
    m_controller->Recording().Records().ForgetCurrentValues();
    ApplySettings();
}

bool CScreenFrame::Ask(const char* key) {
    return CMessageBoxes::FromKey(this, key, MB_YESNOQUESTION) == IDYES;
}

bool CScreenFrame::SaveWithDialog() {
    const QString path = m_chooseSavePath ? m_chooseSavePath() : ChooseSavePath();
    return !path.isEmpty() && SaveHistoryTo(path);
}

QString CScreenFrame::ChooseSavePath() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("psh"));
    dialog.setNameFilters({QStringLiteral("PSH files(*.psh)"), QStringLiteral("All files(*.*)")});
    if (!m_lastSavedPath.isEmpty())
        dialog.selectFile(m_lastSavedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool CScreenFrame::SaveHistoryTo(const QString& path) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_lastSavedPath = path;
    CMeasurementRecording::SaveReport report;
    const bool saved = m_controller->SaveHistory(CCorePath::FromQt(path), nullptr, &report);
    QApplication::restoreOverrideCursor();
    if (!saved)
        CMessageBoxes::FromKey(this, "S_MEASUREVIEW_ONFILESAVE", MB_ICONSTOP);
    else if (report.fromJournal)
        CMessageBoxes::FromText(this,
                                GeneralText("S_MEASUREVIEW_SAVED_FROM_JOURNAL")
                                    .arg(CChannelRecord::kCapacity)
                                    .arg(report.rows)
                                    .toStdString(),
                                MB_ICONINFORMATION);
    return saved;
}

void CScreenFrame::ShowWarning(const std::string& text) {
    SetNotice(NoticeWarning, QString::fromStdString(text));
}

void CScreenFrame::ShowStalled(bool stalled) {
    SetNotice(NoticeStalled, stalled ? GeneralText("S_SCREEN_STALLED") : QString());
}

void CScreenFrame::ShowNotResponding(bool lost) {
    m_linkLost = lost;
    FollowLostCause();
}

// The cause can change while the link is being reopened (garbled replies, then none at all).
void CScreenFrame::FollowLostCause() {
    const CMeterEngine::Failure cause =
        m_controller != nullptr ? m_controller->LinkFailure() : CMeterEngine::Failure::None;
    const char* key = CLinkFailureTexts::LostKey(cause);
    SetNotice(NoticeLost, m_linkLost ? GeneralText(key) : QString());
}

void CScreenFrame::ShowOtherSensor(bool other) {
    SetNotice(NoticeOther, other ? GeneralText("S_SCREEN_OTHER_SENSOR") : QString());
}

void CScreenFrame::ShowSetupRefused(bool refused) {
    SetNotice(NoticeSetup, refused ? GeneralText("S_SCREEN_SETUP_REFUSED") : QString());
}

void CScreenFrame::ShowRecordFull(bool full) {
    SetNotice(NoticeFull, full ? GeneralText("S_SCREEN_RECORD_FULL") : QString());
}

void CScreenFrame::SetNotice(Notice notice, const QString& text) {
    const bool unchanged = m_notices[static_cast<size_t>(notice)] == text;
    m_notices[static_cast<size_t>(notice)] = text;
    CShellLink* shell = Shell();
    // The warning is written even when unchanged: it clears what another screen left there.
    if (shell == nullptr || (unchanged && notice != NoticeWarning))
        return;
    QStringList shown;
    for (const QString& entry : m_notices)
        if (!entry.isEmpty())
            shown.append(entry);
    shell->SetStatusText(shown.join(QStringLiteral("  ")).toStdString(), kStatusWarningPane);
}

void CScreenFrame::closeEvent(QCloseEvent* event) {
    if (!OfferToSave()) {
        event->ignore();
        return;
    }
    // Declined, the measurement is gone: a screen opened later must not offer it as unsaved.
    if (m_controller->StartDiscardsUnsaved())
        m_controller->Reset();
    // No reading may still be handed to a screen that is going away; the main frame takes its
    // receiver out of the engine's slots when it hears of the close.
    m_controller->Close();
    SetNotice(NoticeSetup, QString()); // what only this screen's measurement meant
    SetNotice(NoticeFull, QString());
    SetNotice(NoticeLost, QString());
    SetNotice(NoticeOther, QString());
    if (CShellLink* shell = Shell())
        shell->PostCommand(ID_TOOLBAR_CHOICE);
    CChildFrame::closeEvent(event);
}
