#pragma once

#include "appcore/CLoggingLink.h"

#include <QObject>

#include <memory>

class CChildFrame;
class CMainFrame;
class QWidget;

// The main frame's download command: stops the screens, reads the sensor's logging status and,
// when the sensor reported it, opens the download dialog. Lives until the dialog closes.
class CDownloadCommand : public QObject {
    Q_OBJECT

public:
    // A second request while one is under way is ignored.
    static void Run(CMainFrame& frame);
    // Without a link the command talks to the process-wide acquisition engine.
    static void Run(CMainFrame& frame, std::unique_ptr<CLoggingLink> link);

    // Asks whether an open screen's unsaved recording is saved first; false when the records
    // must stay (the save was cancelled or failed).
    static bool MayReplaceRecords(CMainFrame& frame, QWidget* owner);
    // Opens the history viewer on a downloaded file and removes the file when the viewer closes.
    static void ShowHistory(CMainFrame& frame, const QString& path);

private:
    CDownloadCommand(CMainFrame& frame, std::unique_ptr<CLoggingLink> link);
    void OpenDialog(const CLoggingLink::Status& status);

    CMainFrame& m_frame;
    std::unique_ptr<CLoggingLink> m_link;
};
