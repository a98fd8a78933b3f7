#include "gui/settings/CSettingDlg.h"

#include "appcore/CLoggingLink.h"

#include "appcore/CStringTable.h"
#include "gui/settings/CSettingPage.h"
#include "gui/settings/CSettingPageFactory.h"
#include "model/CSettingProfile.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

static QString MainText(const char* key) {
    return QString::fromStdString(CStringTable::GetText("IDD_SETTING_MAIN", key));
}

CSettingDlg::CSettingDlg(CSettingProfile& profile, std::unique_ptr<CLoggingLink> loggingLink, int initialTab,
                         int rangeTab, QWidget* parent)
    : QDialog(parent), m_tabKinds(CSettingTabRules::Tabs(profile.GetModelNumber())) {
    setWindowTitle(MainText("CAPTION"));
    m_tabs = new QTabWidget(this);
    // Pages are validated in tab order, which is the order AVG, CCDF, PULSE, logging.
    for (const SettingTab& tab : m_tabKinds) {
        CSettingPage* page = CSettingPageFactory::Create(tab.page, profile, rangeTab, loggingLink, m_tabs);
        connect(page, &CSettingPage::RevealRequested, this, &CSettingDlg::ShowPage);
        m_pages.push_back(page);
        m_tabs->addTab(page, MainText(tab.textKey));
    }
    if (initialTab > 0 && initialTab < m_tabs->count())
        m_tabs->setCurrentIndex(initialTab);

    auto* ok = new QPushButton(MainText("IDOK"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(MainText("IDCANCEL"), this);
    connect(ok, &QPushButton::clicked, this, &CSettingDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSettingDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);
}

int CSettingDlg::SelectedTab() const {
    return m_tabs->currentIndex();
}

CSettingPage* CSettingDlg::Page(SettingPageKind kind) const {
    for (size_t index = 0; index < m_tabKinds.size(); ++index)
        if (m_tabKinds[index].page == kind)
            return m_pages[index];
    return nullptr;
}

void CSettingDlg::accept() {
    for (CSettingPage* page : m_pages)
        if (!page->Validate())
            return;
    for (CSettingPage* page : m_pages)
        page->ApplyValidated();
    m_pages[static_cast<size_t>(SelectedTab())]->Apply();
    QDialog::accept();
}

void CSettingDlg::ShowPage(CSettingPage* page) {
    m_tabs->setCurrentWidget(page);
}
