#pragma once

#include "appcore/CCommandTarget.h"
#include "gui/kit/CQtMessageBoxSink.h"
#include "gui/shell/CTerminationSignals.h"

#include <QApplication>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CMainFrame;
class CMeterEngine;

// The application: prepares the process, owns the sensors' acquisition engines, creates the
// main window, tears the shared objects down at exit, and handles Help and About.
class CPelmoraApp : public QApplication, public CCommandTarget {
    Q_OBJECT

public:
    CPelmoraApp(int& argc, char** argv);
    ~CPelmoraApp() override;

    // False when the program cannot run (the main window could not be set up).
    bool InitInstance();
    // Runs the message loop, destroys the main window (which saves the profile) and exits.
    int Run();
    int ExitInstance(int code);

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CCommandState& state) override;

    static std::string HelpDocumentPath();
    // The help text with the one "%s" filled by the path; other '%' signs are left as they are.
    static std::string FormatHelpMissing(const std::string& format, const std::string& path);
    // Opens the manual with `open` (the desktop's program for the document); when it is missing
    // or nothing can show it, says so with its path and offers its folder.
    using DocumentOpener = std::function<bool(const QUrl& url)>;
    static void ShowHelp(QWidget* owner, const DocumentOpener& open);

private:
    // The engine of the sensor the main window works with.
    CMeterEngine& CurrentEngine() { return *m_engines.front(); }
    void OnAppHelp();
    void OnAppAbout();

    // Reads the system's font set while the window is being built; joined when the
    // application goes.
    std::jthread m_fontLoader;
    CQtMessageBoxSink m_messageSink;
    CTerminationSignals m_terminationSignals;
    // One engine, and so one worker thread, per sensor; the window outlives none of them.
    std::vector<std::unique_ptr<CMeterEngine>> m_engines;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
