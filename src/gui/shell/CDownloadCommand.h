#pragma once

#include "appcore/CLoggingLink.h"

#include <QObject>

#include <memory>

class CMainFrame;

// The main frame's download command: stops the screens, reads the sensor's logging status and,
// when the sensor reported it, opens the download dialog. Lives until the dialog closes.
class CDownloadCommand : public QObject {
    Q_OBJECT

public:
    // A second request while one is under way is ignored. Without a link the command talks to
    // the frame's sensor.
    static void Run(CMainFrame& frame);
    static void Run(CMainFrame& frame, std::unique_ptr<CLoggingLink> link);

    // Opens the history viewer on a downloaded file and removes the file when the viewer closes.
    static void ShowHistory(CMainFrame& frame, const QString& path);

private:
    CDownloadCommand(CMainFrame& frame, std::unique_ptr<CLoggingLink> link);
    void OpenDialog(const CLoggingLink::Status& status);

    CMainFrame& m_frame;
    std::unique_ptr<CLoggingLink> m_link;
};
