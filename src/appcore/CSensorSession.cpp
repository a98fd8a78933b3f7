#include "appcore/CSensorSession.h"

#include "appcore/CLinkFailureTexts.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "history/CHistoryRecorder.h"
#include "history/CJournalRecovery.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"

CSensorSession::CSensorSession(std::unique_ptr<CMeterLink> link, CSettingProfile& profile,
                               CSessionWindow& window, void* messageOwner)
    : m_link(std::move(link)), m_profile(profile), m_window(window), m_messageOwner(messageOwner) {}

std::string CSensorSession::PortLabelOf(int port) {
    return port < 1 ? "USB" : "COM" + std::to_string(port);
}

void CSensorSession::Connect(int port) {
    if (m_connecting)
        return;
    m_connecting = true;
    // Identification takes seconds; the window keeps working and shows that it waits.
    m_window.ShowBusy(true);
    m_window.SessionChanged(); // no second Connect while this one runs
    m_link->Connect(port, [this, port](int32_t result) { FinishConnect(port, result); });
}

void CSensorSession::FinishConnect(int port, int32_t result) {
    m_connecting = false;
    m_window.ShowBusy(false);
    const int32_t code = m_link->IdentificationCode();
    const SensorModel* model = result == 0 ? CModelTable::FindByCode(code) : nullptr;
    if (model == nullptr) {
        if (result == 0)
            Release(); // a code the table does not know cannot be measured
        m_window.SessionChanged();
        ReportConnectFailure(code);
        return;
    }
    if (!TakeOverSensor(*model)) {
        Release(); // the user kept the unsaved measurement of the previous sensor
        m_window.SessionChanged();
        return;
    }
    m_portLabel = PortLabelOf(port);
    m_window.ConfigureScreens();
    m_window.SessionChanged();
    CMessageBoxes::FromKey(m_messageOwner, "S_IDD_CONNECTED", MB_ICONINFORMATION);
}

// Readings of another sensor never join a measurement, and the settings made for the previous
// sensor are kept before its model's profile is replaced (or, for the same one, reloaded).
bool CSensorSession::TakeOverSensor(const SensorModel& model) {
    const bool sameSensor = m_sensorKnown && model.number == m_profile.GetModelNumber() &&
                            std::to_string(m_link->SerialNumber()) == m_profile.GetSerialText();
    if (!sameSensor) {
        m_window.StopScreens(); // the new sensor's readings must not join the old record
        if (!m_window.OfferToSaveScreens())
            return false;
        m_window.ForgetScreenMeasurements();
    }
    if (m_sensorKnown)
        SaveProfile();
    m_profile.SetDevice(model.number, m_link->SerialNumber(), m_link->FirmwareVersion());
    m_sensorKnown = true;
    return true;
}

// A sensor that answered with a code no model has is named by it, rather than reported missing.
void CSensorSession::ReportConnectFailure(int32_t code) {
    if (!CModelTable::IsUnsupportedCode(code)) {
        CMessageBoxes::FromKeyNoOwner(CLinkFailureTexts::ConnectKey(m_link->LastFailure()), MB_ICONSTOP);
        return;
    }
    const std::string format = CStringTable::GetGeneralText("S_MAINFRAME_UNSUPPORTED_CODE");
    CMessageBoxes::FromText(nullptr, CStringTable::FillPlaceholder(format, "%d", std::to_string(code)),
                            MB_ICONSTOP);
}

void CSensorSession::Disconnect() {
    if (!m_window.OfferToSaveScreens())
        return;
    Release([this] { CMessageBoxes::FromKey(m_messageOwner, "S_IDD_DISCONNECTED", MB_ICONINFORMATION); });
    m_window.SensorReleased();
    m_window.SessionChanged();
}

void CSensorSession::Release(std::function<void()> released) {
    m_disconnecting = true;
    m_link->Disconnect([this, released = std::move(released)] {
        m_disconnecting = false;
        m_window.SessionChanged();
        if (released)
            released();
    });
}

bool CSensorSession::SaveProfile() {
    return TellIfNotSaved(m_profile.GetModel() == nullptr || m_profile.Save(m_profile.ModelName()));
}

bool CSensorSession::SaveProfileOnExit() {
    return TellIfNotSaved(m_profile.SaveOnExit());
}

bool CSensorSession::TellIfNotSaved(bool saved) {
    if (!saved)
        CMessageBoxes::FromKey(m_messageOwner, "S_MAINFRAME_PROFILE_NOT_SAVED", MB_ICONEXCLAMATION);
    return saved;
}

void CSensorSession::RecoverJournals(const std::string& folder) {
    for (const CJournalRecovery::Found& found : CJournalRecovery::Find(folder)) {
        // Filled from the last placeholder back, so that a text read from the journal that
        // looks like a placeholder is never filled in turn.
        std::string question = CStringTable::GetGeneralText("S_MAINFRAME_RECOVER_JOURNAL");
        question = CStringTable::FillPlaceholder(question, "%3", std::to_string(found.content.RowCount()));
        question = CStringTable::FillPlaceholder(question, "%2",
                                                 CHistoryRecorder::TimeText(found.content.startTime));
        question =
            CStringTable::FillPlaceholder(question, "%1", found.content.header.Text(HistoryText::ModelName));
        const int answer = CMessageBoxes::FromText(m_messageOwner, question, MB_YESNOQUESTION);
        // Only a clear no gives the measurement up; a box that could not be shown keeps it.
        if (answer == IDNO)
            CJournalRecovery::Discard(found);
        if (answer != IDYES)
            continue;
        const std::string path = CJournalRecovery::Recover(found, CJournalRecovery::DefaultOutputFolder());
        if (path.empty())
            CMessageBoxes::FromKey(m_messageOwner, "S_MAINFRAME_RECOVER_FAILED", MB_ICONSTOP);
        else
            m_window.OpenHistory(path);
    }
}
