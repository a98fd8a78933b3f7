#include "gui/shell/CDownloadCommand.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CommandIds.h"
#include "gui/history/CHistoryFrame.h"
#include "gui/history/CHistoryView.h"
#include "gui/kit/CChildFrame.h"
#include "gui/shell/CDownloadDlg.h"
#include "gui/shell/CMainFrame.h"

#include <QApplication>
#include <QFile>

void CDownloadCommand::Run(CMainFrame& frame) {
    Run(frame, frame.LoggingLink());
}

void CDownloadCommand::Run(CMainFrame& frame, std::unique_ptr<CLoggingLink> link) {
    if (frame.findChild<CDownloadCommand*>() != nullptr)
        return;
    auto* command = new CDownloadCommand(frame, std::move(link));
    // No screen may measure while the logging exchanges use the line.
    frame.StopScreens();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    command->m_link->ReadStatus([command](bool ok, CLoggingLink::Status status) {
        QApplication::restoreOverrideCursor();
        if (ok)
            command->OpenDialog(status);
        else
            command->deleteLater(); // the dialog does not open; the sensor said nothing to report
    });
}

CDownloadCommand::CDownloadCommand(CMainFrame& frame, std::unique_ptr<CLoggingLink> link)
    : QObject(&frame), m_frame(frame), m_link(std::move(link)) {}

void CDownloadCommand::OpenDialog(const CLoggingLink::Status& status) {
    auto* dialog = new CDownloadDlg(m_frame.Profile(), *m_link, status, &m_frame);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &CDownloadDlg::LoadToScreenRequested, this,
            [this](const QString& path) { ShowHistory(m_frame, path); });
    connect(dialog, &QDialog::finished, this, &QObject::deleteLater);
    dialog->open();
}

void CDownloadCommand::ShowHistory(CMainFrame& frame, const QString& path) {
    if (!frame.OpenHistoryFile(path)) {
        QFile::remove(path);
        return;
    }
    CChildFrame* viewer = frame.ActiveChild();
    if (viewer == nullptr)
        return;
    // The temporary file goes with the window, so it must never be where the user saves.
    if (auto* history = qobject_cast<CHistoryFrame*>(viewer))
        history->View()->DetachFromFile();
    connect(viewer, &QObject::destroyed, [path] { QFile::remove(path); });
}
