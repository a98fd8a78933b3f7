#include "gui/history/CChangeTitleDlg.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CStringTable.h"
#include "history/CHistoryDocument.h"
#include "platform/CAnsiText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText("IDD_CHANGETITLE", key));
}

QString TrimmedRight(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}
} // namespace

CChangeTitleDlg::CChangeTitleDlg(const QString& title, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)) {
    setWindowTitle(DialogText("CAPTION"));
    m_edit->setMaxLength(static_cast<int>(CHistoryDocument::kMaxTitleCharacters));
    m_edit->setText(title);
    m_edit->setMinimumWidth(260);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(DialogText("IDOK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(DialogText("IDCANCEL"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CChangeTitleDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(DialogText("IDC_STATIC_TITLE"), this), 0, 0);
    layout->addWidget(m_edit, 0, 1);
    layout->addWidget(buttons, 1, 0, 1, 2);
}

void CChangeTitleDlg::accept() {
    const QString title = TrimmedRight(m_edit->text());
    if (title.isEmpty()) {
        CMessageBoxes::FromKey(this, "S_IDD_CHANGETITLE_ONOK", MB_ICONSTOP);
        m_edit->setFocus();
        return;
    }
    // The file keeps its texts in Windows-1252: say what would turn into '?' before it does.
    if (const std::string unstorable = CAnsiText::Unstorable(title.toStdString()); !unstorable.empty()) {
        const std::string format = CStringTable::GetGeneralText("S_TITLE_UNSTORABLE");
        CMessageBoxes::FromText(this, CStringTable::FillPlaceholder(format, "%1", unstorable),
                                MB_ICONEXCLAMATION);
        m_edit->setFocus();
        return;
    }
    m_title = title;
    QDialog::accept();
}
