#include "gui/shell/CPelmoraApp.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "appcore/CommandIds.h"
#include "gui/kit/CDeferredIcon.h"
#include "gui/kit/CDeferredIconStyle.h"
#include "gui/shell/CAboutDlg.h"
#include "gui/shell/CEngineMeterLink.h"
#include "gui/shell/CMainFrame.h"
#include "history/CRecordJournal.h"
#include "platform/CAppPaths.h"
#include "platform/CPrivateProfile.h"
#include "protocol/CMeterEngine.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QTimer>
#include <QUrl>

// The font set is the slowest part of showing the first window; Qt's font database may be
// filled from any thread, so it is filled beside the building of the window, which then finds
// it ready. The fonts the window's thread draws with are its own; only the database is shared.
CPelmoraApp::CPelmoraApp(int& argc, char** argv)
    : QApplication(argc, argv), m_fontLoader([] { QFontMetrics(QGuiApplication::font()).height(); }) {
    m_engines.push_back(std::make_unique<CMeterEngine>());
}

CPelmoraApp::~CPelmoraApp() {
    CMessageBoxes::SetSink(nullptr);
}

bool CPelmoraApp::InitInstance() {
    // Common controls, COM/OLE, ActiveX hosting and the GDI+ start-up have no counterpart
    // here: Qt provides the widgets and the antialiased painting itself.
    setOrganizationName(QStringLiteral("Orvane"));
    // Icons are made when first drawn, so that nothing the first paint does not show is read.
    setStyle(new CDeferredIconStyle(style()->name()));
    setWindowIcon(CDeferredIcon::FromFile(QStringLiteral(":/icons/app.svg")));
    CStringTable::SetPath(CStringTable::BuildPath());
    // Texts are looked up for every reading: the language and profile files are checked for
    // edits by others once a second instead of at each look-up.
    CPrivateProfile::SetRecheckInterval(std::chrono::seconds(1));
    CMessageBoxes::SetSink(&m_messageSink);
    m_terminationSignals.Install();

    m_mainFrame = std::make_unique<CMainFrame>(std::make_unique<CEngineMeterLink>(CurrentEngine()));
    m_mainFrame->SetApplicationTarget(this);
    // Every sensor connected beside the first gets an engine, and so a worker, of its own.
    m_mainFrame->SetLinkFactory([this] {
        m_engines.push_back(std::make_unique<CMeterEngine>());
        return std::make_unique<CEngineMeterLink>(*m_engines.back());
    });
    if (!m_mainFrame->Create(CMainFrame::CommandLineOf(arguments()))) {
        m_mainFrame.reset();
        return false;
    }
    // At the end of a Windows session Qt ends the process right after aboutToQuit, without
    // closing the window; the session manager asks for the data to be kept first.
    connect(this, &QGuiApplication::commitDataRequest, m_mainFrame.get(),
            [frame = m_mainFrame.get()] { frame->KeepStateForSessionEnd(); });
    m_mainFrame->show();
    m_mainFrame->activateWindow();
    m_mainFrame->setFocus();
    // Asked once the window is up, so that a recovered history opens inside it.
    const std::string journals = CRecordJournal::DefaultFolder();
    m_mainFrame->ChildFactory().KeepJournalsIn(journals);
    QTimer::singleShot(0, m_mainFrame.get(),
                       [frame = m_mainFrame.get(), journals] { frame->RecoverJournals(journals); });
    return true;
}

int CPelmoraApp::Run() {
    const int code = exec();
    m_mainFrame.reset();
    return ExitInstance(code);
}

int CPelmoraApp::ExitInstance(int code) {
    return code;
}

bool CPelmoraApp::OnCommand(int id) {
    switch (id) {
    case ID_HELP:
        OnAppHelp();
        return true;
    case ID_APP_ABOUT:
        OnAppAbout();
        return true;
    default:
        return false;
    }
}

bool CPelmoraApp::OnUpdateCommand(int id, CCommandState& state) {
    if (id != ID_HELP && id != ID_APP_ABOUT)
        return false;
    state.Enable(true);
    return true;
}

std::string CPelmoraApp::HelpDocumentPath() {
    return CAppPaths::Join(CAppPaths::ExecutableDirectory(), "TrelPMEnHlp.pdf");
}

std::string CPelmoraApp::FormatHelpMissing(const std::string& format, const std::string& path) {
    return CStringTable::FillPlaceholder(format, "%s", path);
}

void CPelmoraApp::OnAppHelp() {
    ShowHelp(m_mainFrame.get(), [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

void CPelmoraApp::ShowHelp(QWidget* owner, const DocumentOpener& open) {
    const std::string path = HelpDocumentPath();
    const QFileInfo document(QString::fromStdString(path));
    if (document.isFile() && open(QUrl::fromLocalFile(document.filePath())))
        return;
    const std::string text =
        document.isFile()
            ? CStringTable::FillPlaceholder(CStringTable::GetGeneralText("S_ONAPPHELP_NO_VIEWER"), "%1", path)
            : FormatHelpMissing(CStringTable::GetGeneralText("S_ONAPPHELP"), path);
    CMessageBoxes::FromText(owner, text, MB_ICONEXCLAMATION);
    if (document.isFile())
        open(QUrl::fromLocalFile(document.absolutePath())); // the folder, to open the manual from there
}

void CPelmoraApp::OnAppAbout() {
    CAboutDlg dialog(m_mainFrame.get());
    dialog.exec();
}
