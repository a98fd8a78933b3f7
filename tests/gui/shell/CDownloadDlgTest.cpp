#include "gui/shell/CDownloadDlg.h"

#include "appcore/CMessageBoxes.h"
#include "gui/kit/CCorePath.h"
#include "history/CHistoryData.h"
#include "history/CHistoryFile.h"
#include "model/CSettingProfile.h"
#include "support/CAppTestSandbox.h"
#include "support/CFakeLoggingLink.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <memory>

namespace {

class CDownloadDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile.SetDevice(5, 1234, 105);
        m_link.status = {0x05, 0, 3};
        // A partly written cycle: the last AVG sample has no REV partner.
        m_link.downloaded = {{ChannelAvg, 40.0f}, {ChannelRev, 10.0f}, {ChannelAvg, 41.0f}};
    }

    CDownloadDlg& Open() {
        m_dialog = std::make_unique<CDownloadDlg>(m_profile, m_link, m_link.status);
        QObject::connect(m_dialog.get(), &CDownloadDlg::LoadToScreenRequested,
                         [this](const QString& path) { m_loaded.push_back(path); });
        m_dialog->SetSavePathChooser([this] {
            ++m_pathsAsked;
            return QString::fromStdString(m_sandbox.Path("logged.psh"));
        });
        return *m_dialog;
    }
    template <typename Control = QPushButton> Control* Find(int id) const {
        return m_dialog->findChild<Control*>(QString::number(id));
    }
    bool FetchEnabled() const {
        return Find(CDownloadDlg::IdcLoadToScreen)->isEnabled() &&
               Find(CDownloadDlg::IdcSaveToDisk)->isEnabled();
    }
    std::string LastMessage() const { return m_messages.shown.empty() ? "" : m_messages.shown.back().text; }
    static QStringList TemporaryDownloads() {
        return QDir::temp().entryList({QStringLiteral("dat*.psh")}, QDir::Files);
    }

    CAppTestSandbox m_sandbox;
    CRecordingMessageSink& m_messages = m_sandbox.Messages();
    CSettingProfile m_profile;
    CFakeLoggingLink m_link;
    std::unique_ptr<CDownloadDlg> m_dialog;
    int m_pathsAsked = 0;
    QStringList m_loaded;
};

} // namespace

TEST_F(CDownloadDlgTest, ChannelBoxesShowTheStatusAndFetchingNeedsSomethingLogged) {
    Open();
    for (auto [id, checked] :
         {std::pair{1088, true}, std::pair{1089, false}, std::pair{1090, true}, std::pair{1091, false}}) {
        EXPECT_EQ(Find<QCheckBox>(id)->isChecked(), checked) << id;
        EXPECT_FALSE(Find<QCheckBox>(id)->isEnabled()) << id;
    }
    EXPECT_TRUE(FetchEnabled());
    for (CLoggingLink::Status status : {CLoggingLink::Status{0x05, 1, 3}, CLoggingLink::Status{0x05, 0, 0},
                                        CLoggingLink::Status{0x10, 0, 3}}) {
        m_link.status = status;
        Open();
        EXPECT_FALSE(Find(CDownloadDlg::IdcLoadToScreen)->isEnabled());
        EXPECT_FALSE(Find(CDownloadDlg::IdcSaveToDisk)->isEnabled());
        EXPECT_TRUE(Find(CDownloadDlg::IdcClearLogged)->isEnabled());
    }
}

TEST_F(CDownloadDlgTest, SaveToDiskWritesTheLoggedChannels) {
    Open().SaveToDisk();
    EXPECT_TRUE(m_dialog->IsExchangeRunning());
    EXPECT_FALSE(Find(1)->isEnabled()); // OK waits for the exchange in flight
    m_link.Finish();
    EXPECT_FALSE(m_dialog->IsExchangeRunning());

    CHistoryData saved;
    ASSERT_TRUE(CHistoryFile::LoadHistory(m_sandbox.Path("logged.psh"), saved).ok);
    EXPECT_EQ(saved.Header().Mask(), 0x05);
    EXPECT_EQ(saved.RowCount(), 1); // rows never run past the shorter channel
    EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(CDownloadDlgTest, FailedFetchesWriteNothing) {
    for (auto [result, key] : {std::pair{CLoggingDownload::Failed, "S_SETTING_WARNING_DN_FAIL"},
                               std::pair{CLoggingDownload::NothingLogged, "S_SETTING_WARNING_DN_0_FAIL"}}) {
        m_link.downloadResult = result;
        Open().SaveToDisk();
        m_link.Finish();
        EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText(key));
        EXPECT_EQ(m_messages.shown.back().style, MB_ICONEXCLAMATION);
    }
    const QStringList before = TemporaryDownloads();
    m_dialog->LoadToScreen();
    m_link.Finish();
    EXPECT_TRUE(m_loaded.isEmpty());
    EXPECT_EQ(TemporaryDownloads(), before);
    EXPECT_EQ(m_pathsAsked, 0);
}

TEST_F(CDownloadDlgTest, LoadToScreenHandsOverAWrittenFile) {
    Open().LoadToScreen();
    m_link.Finish();
    ASSERT_EQ(m_loaded.size(), 1) << LastMessage();
    const QString path = m_loaded.front();
    CHistoryData loaded;
    EXPECT_TRUE(CHistoryFile::LoadHistory(CCorePath::FromQt(path), loaded).ok);
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("dat")));
    QFile::remove(path);
}

TEST_F(CDownloadDlgTest, AClearedMemoryCannotBeFetched) {
    Open();
    m_link.answer = false;
    m_dialog->ClearLoggedData();
    m_link.Finish();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_CLEAR_FAIL"));
    EXPECT_TRUE(FetchEnabled());
    m_link.answer = true;
    m_dialog->ClearLoggedData();
    m_link.Finish();
    EXPECT_EQ(LastMessage(), CAppTestSandbox::GeneralText("S_SETTING_WARNING_CLEAR_SUCCESS"));
    EXPECT_EQ(m_messages.shown.back().style, MB_ICONINFORMATION);
    EXPECT_FALSE(FetchEnabled());
    EXPECT_EQ(m_link.calls, (std::vector<std::string>{"erase", "erase"}));
}
