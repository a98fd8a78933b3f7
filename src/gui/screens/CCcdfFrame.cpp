#include "gui/screens/CCcdfFrame.h"

#include "appcore/CCcdfPaneTexts.h"
#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "ccdf/CCcdfResultCsv.h"
#include "gui/kit/CCorePath.h"
#include "gui/screens/CCcdfGraphCtrl.h"
#include "gui/screens/CCcdfView.h"
#include "history/CBitmapWriter.h"
#include "model/CModelTable.h"
#include "model/CSettingProfile.h"
#include "model/HistoryChannel.h"
#include "platform/CMessageBeep.h"
#include "protocol/CMeterCommand.h"
#include "protocol/CMeterEngine.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

CCcdfFrame::CCcdfFrame(CSettingProfile& profile, std::unique_ptr<CMeasurementLink> link, QWidget* parent)
    : CScreenFrame(ChildKind::Ccdf, parent), m_profile(profile), m_link(std::move(link)),
      m_controller(m_profile, *m_link, *this, *this), m_view(new CCcdfView(m_profile, this)) {
    m_controller.SetRequestCycle({CMeterEngine::ModeCcdf});
    Attach(m_controller, *this);
    m_view->setObjectName(QStringLiteral("CcdfView"));
    SetView(m_view);
    ResetData();
}

CCcdfFrame::~CCcdfFrame() = default;

CCcdfAcquisition::SSettings CCcdfFrame::Settings() const {
    return {m_profile.GetCcdfRate(), m_profile.IsSingleSweep(), m_profile.GetTechnology()};
}

void CCcdfFrame::ResetData() {
    m_acquisition.Restart();
    m_unsavedResult = false;
    m_view->Graph()->SetStale(false);
    m_view->ResetPanes();
    ShowResult();
}

void CCcdfFrame::ShowResult() {
    const int code = m_link->IsConnected() ? m_link->IdentificationCode() : -1;
    m_view->Show(m_acquisition.Result(), m_acquisition.Window().Size(), code);
}

void CCcdfFrame::ApplySettings() {
    m_view->Refresh();
}

// The technology goes to the sensor first; the one model that can, also checks
// whether more power comes back than goes forward.
CMeasurementLink::SetupJob CCcdfFrame::StartSetup() {
    const bool checkReverse = CModelTable::HasForwardReverse(m_profile.GetModelNumber());
    const int32_t frequency = CMeterCommand::Hundredths(m_profile.GetFrequency());
    const int32_t technology = m_profile.GetTechnology();
    // The job may outlive the screen on the worker, so it shares its check rather
    // than the screen.
    auto reverseCheck = std::make_shared<CMeterEngine::SReverseCheck>();
    m_reverseCheck = reverseCheck;
    return [reverseCheck, checkReverse, frequency, technology](CMeterEngine& engine) {
        const bool acknowledged = engine.SetTechnology(technology);
        if (acknowledged && checkReverse)
            *reverseCheck = engine.CheckReversePower(frequency);
        return acknowledged;
    };
}

void CCcdfFrame::OnSetupDone(bool acknowledged) {
    if (!acknowledged || !CModelTable::HasForwardReverse(m_profile.GetModelNumber()))
        return;
    const CMeterEngine::SReverseCheck& check = *m_reverseCheck;
    std::string warning;
    if (check.verdict == CMeterEngine::ReverseAboveForward) {
        char text[256];
        std::snprintf(text, sizeof(text), "%s (Avg:%d, Rev:%d)",
                      CStringTable::GetGeneralText("S_SETTING_WARNING_POWER").c_str(), check.forward,
                      check.reverse);
        warning = text;
    }
    ShowWarning(warning);
}

void CCcdfFrame::ShowNotResponding(bool lost) {
    CScreenFrame::ShowNotResponding(lost);
    if (lost && m_acquisition.Result().measured)
        m_view->Graph()->SetStale(true);
}

void CCcdfFrame::OnCcdfData(int32_t state, const CCcdfWindow::Histogram& histogram) {
    TakeHistogram(state, histogram);
}

void CCcdfFrame::TakeHistogram(int32_t state, const CCcdfWindow::Histogram& histogram) {
    if (!m_controller.TakeResult(state))
        return;
    const CCcdfAcquisition::SSettings settings = Settings();
    m_acquisition.Add(m_acquisition.Generation(), histogram, settings);
    m_unsavedResult = m_acquisition.Result().measured;
    m_view->Graph()->SetStale(false);
    if (m_acquisition.IsSweepComplete(settings))
        m_controller.Stop();
    ShowResult();
    SoundCrestAlarm();
    m_controller.FinishResult();
}

void CCcdfFrame::SoundCrestAlarm() const {
    const CCcdfPaneTexts::SValues values{&m_profile, &m_acquisition.Result(), 0, -1};
    if (m_profile.IsAlarmOn(kItemCcdf) && CCcdfPaneTexts::IsCrestAlarm(values))
        CMessageBeep::Play(m_profile.GetItem(kItemCcdf).Beep());
}

bool CCcdfFrame::OfferToSave() {
    if (!m_unsavedResult)
        return true;
    switch (CMessageBoxes::FromKey(this, "S_CCDF_ONDISCARD", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        m_controller.Stop();
        return SaveResult();
    case IDNO:
        m_unsavedResult = false;
        return true;
    default:
        return false;
    }
}

QString CCcdfFrame::ChoosePath(const QString& suffix, const QString& filter) {
    if (m_choosePath)
        return m_choosePath(suffix, filter);
    QString path = QFileDialog::getSaveFileName(this, QString(), QString(), filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += suffix;
    return path;
}

bool CCcdfFrame::SaveResult() {
    const QString path = ChoosePath(QStringLiteral(".csv"), QStringLiteral("CSV files(*.csv);;All files(*)"));
    return !path.isEmpty() && SaveResultTo(path);
}

bool CCcdfFrame::SaveResultTo(const QString& path) {
    const int code = m_link->IsConnected() ? m_link->IdentificationCode() : -1;
    const CCcdfResultCsv::SConditions conditions{&m_profile, m_acquisition.Window().Size(), code};
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved =
        CCcdfResultCsv::Write(CCorePath::FromQt(path), m_acquisition.Result(), conditions, &error);
    QApplication::restoreOverrideCursor();
    if (!saved) {
        qWarning("%s", error.c_str());
        CMessageBoxes::FromKey(this, "S_CCDF_ONSAVE", MB_ICONSTOP);
    }
    m_unsavedResult = m_unsavedResult && !saved;
    return saved;
}

void CCcdfFrame::ExportGraph() {
    const QString path = ChoosePath(QStringLiteral(".png"),
                                    QStringLiteral("PNG files(*.png);;Bitmap files(*.bmp);;All files(*)"));
    if (!path.isEmpty())
        ExportGraphTo(path);
}

bool CCcdfFrame::ExportGraphTo(const QString& path) {
    const QImage image = m_view->Graph()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::string error;
    bool written = false;
    if (QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0) {
        std::vector<uint32_t> pixels;
        for (int row = 0; row < image.height(); ++row) {
            const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(row));
            pixels.insert(pixels.end(), line, line + image.width());
        }
        written =
            CBitmapWriter::Write(CCorePath::FromQt(path), image.width(), image.height(), pixels, &error);
    } else {
        QSaveFile file(path); // replaces an existing file only once the image is whole
        written = file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
    }
    if (!written)
        CMessageBoxes::FromKey(this, "S_HISTORYVIEW_ONEXPORTTOJPG", MB_ICONSTOP);
    return written;
}

bool CCcdfFrame::OnCommand(int id) {
    switch (id) {
    case ID_FILE_SAVE:
    case ID_EXPORT_CSV:
        SaveResult();
        return true;
    case ID_EXPORT_JPG:
        ExportGraph();
        return true;
    case ID_ALARM_ON:
    case ID_ALARM_OFF:
    case ID_LIMITCHECK_ENABLE:
    case ID_LIMITCHECK_DISABLE:
    case ID_MODE_ABSOLUTE:
    case ID_MODE_RELATIVE:
    case ID_SETASDEFAULT:
        return true; // shown for the profile's state; this screen changes none of
                     // it
    default:
        return CScreenFrame::OnCommand(id);
    }
}

bool CCcdfFrame::OnUpdateCommand(int id, CCommandState& state) {
    switch (id) {
    case ID_ALARM_ON:
    case ID_ALARM_OFF:
        state.Enable(true);
        state.SetCheck(m_profile.IsAlarmOn(kItemCcdf) == (id == ID_ALARM_ON));
        return true;
    case ID_LIMITCHECK_ENABLE:
    case ID_LIMITCHECK_DISABLE:
        state.Enable(true);
        state.SetCheck(m_profile.IsLimitEnabled(kItemCcdf) == (id == ID_LIMITCHECK_ENABLE));
        return true;
    case ID_MODE_ABSOLUTE:
    case ID_MODE_RELATIVE:
        state.Enable(true);
        state.SetCheck(m_profile.IsRelativeMode() == (id == ID_MODE_RELATIVE));
        return true;
    case ID_SETASDEFAULT:
    case ID_EXPORT_JPG:
        state.Enable(true);
        return true;
    case ID_FILE_SAVE:
    case ID_EXPORT_CSV:
        state.Enable(m_acquisition.Result().measured);
        return true;
    case ID_VIEW_FULLSCREEN:
    case ID_VIEW_MULTISCREEN:
    case ID_VIEW_HISTORYGRAPH:
        state.Enable(false);
        state.SetCheck(false);
        return true;
    default:
        return CScreenFrame::OnUpdateCommand(id, state);
    }
}
