#include "gui/shell/CAboutDlg.h"

#include "appcore/CStringTable.h"
#include "gui/kit/CDeferredIcon.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

const char* const kSection = "IDD_ABOUTBOX";

QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText(kSection, key));
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), m_name(new QLabel(this)), m_copy(new QLabel(this)), m_ok(new QPushButton(this)) {
    setWindowTitle(DialogText("CAPTION"));
    m_name->setText(QStringLiteral("%1 %2").arg(
        DialogText("IDC_STATIC_NAME"), QString::fromStdString(CStringTable::GetGeneralText("S_VERSION"))));
    m_copy->setText(DialogText("IDC_STATIC_COPY"));
    m_ok->setText(DialogText("IDOK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* icon = new QLabel(this);
    icon->setPixmap(CDeferredIcon::FromFile(QStringLiteral(":/icons/app.svg")).pixmap(32, 32));
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_name, 0, 1);
    layout->addWidget(m_copy, 1, 1);
    layout->addWidget(m_ok, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::NameText() const {
    return m_name->text();
}

QString CAboutDlg::CopyText() const {
    return m_copy->text();
}
