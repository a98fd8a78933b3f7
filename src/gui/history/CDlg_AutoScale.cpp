#include "gui/history/CDlg_AutoScale.h"

#include "appcore/CMessageBoxes.h"
#include "appcore/CSettingValidation.h"
#include "appcore/CStringTable.h"
#include "history/CHistoryDocument.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QString DialogText(const char* key) {
    return QString::fromStdString(CStringTable::GetText("IDD_AUTOSCALE", key));
}

QString Fixed2(float value) {
    return QString::fromStdString(CSettingValidation::FormatFixed(value, 2));
}

std::optional<double> Read(const QLineEdit* edit) {
    return CSettingValidation::ParseNumber(edit->text().toStdString());
}

const char* RefusalKey(CHistoryDocument::ScaleCheck check) {
    switch (check) {
    case CHistoryDocument::ScaleCheck::NotANumber:
        return "S_IDD_SETTING_INVALID_NUMBER";
    case CHistoryDocument::ScaleCheck::TooLarge:
        return "S_HISTORYVIEW_ONCHANGESCALE";
    case CHistoryDocument::ScaleCheck::NotAscending:
    case CHistoryDocument::ScaleCheck::Valid:
        break;
    }
    return "S_IDD_SETTING_ONOK_IDRNG";
}
} // namespace

CDlg_AutoScale::CDlg_AutoScale(const HistoryRange& proposed, QWidget* parent)
    : QDialog(parent), m_proposed(proposed), m_range(proposed),
      m_auto(new QCheckBox(DialogText("IDC_AUTO"), this)), m_upper(new QLineEdit(this)),
      m_lower(new QLineEdit(this)) {
    setWindowTitle(DialogText("CAPTION"));
    // Texts from the language file, so that they show in the fonts that come with the program.
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(DialogText("IDOK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(DialogText("IDCANCEL"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlg_AutoScale::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_auto, &QCheckBox::toggled, this, &CDlg_AutoScale::OnAutoToggled);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_auto, 0, 0, 1, 2);
    layout->addWidget(new QLabel(DialogText("IDC_STATIC_MAX"), this), 1, 0);
    layout->addWidget(m_upper, 1, 1);
    layout->addWidget(new QLabel(DialogText("IDC_STATIC_MIN"), this), 2, 0);
    layout->addWidget(m_lower, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    m_auto->setChecked(true);
    OnAutoToggled(true);
}

void CDlg_AutoScale::OnAutoToggled(bool on) {
    if (on) {
        m_upper->setText(Fixed2(m_proposed.upper));
        m_lower->setText(Fixed2(m_proposed.lower));
    }
    m_upper->setEnabled(!on);
    m_lower->setEnabled(!on);
}

void CDlg_AutoScale::accept() {
    const std::optional<double> upper = Read(m_upper);
    const std::optional<double> lower = Read(m_lower);
    const CHistoryDocument::ScaleCheck check = upper && lower ? CHistoryDocument::CheckScale(*lower, *upper)
                                                              : CHistoryDocument::ScaleCheck::NotANumber;
    if (check != CHistoryDocument::ScaleCheck::Valid) {
        CMessageBoxes::FromKey(this, RefusalKey(check), MB_ICONSTOP);
        return;
    }
    m_range = {static_cast<float>(*lower), static_cast<float>(*upper)};
    QDialog::accept();
}
