#include "gui/kit/CQtMessageBoxSink.h"

#include "appcore/CMessageBoxes.h"

namespace {

// Button sets of the platform style flags beyond those the message-box helpers name.
constexpr unsigned kOkCancel = 0x01;
constexpr unsigned kAbortRetryIgnore = 0x02;
constexpr unsigned kRetryCancel = 0x05;

constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;

} // namespace

int CQtMessageBoxSink::Show(void* owner, const std::string& text, const std::string& caption,
                            unsigned style) {
    const auto box = CreateBox(static_cast<QWidget*>(owner), text, caption, style);
    box->exec();
    return ResultOf(box->standardButton(box->clickedButton()));
}

std::unique_ptr<QMessageBox> CQtMessageBoxSink::CreateBox(QWidget* owner, const std::string& text,
                                                          const std::string& caption, unsigned style) {
    auto box = std::make_unique<QMessageBox>(IconOf(style), QString::fromStdString(caption),
                                             QString::fromStdString(text), ButtonsOf(style), owner);
    // Shown text must never be taken as markup: file names and values go into it.
    box->setTextFormat(Qt::PlainText);
    return box;
}

int CQtMessageBoxSink::ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Abort:
        return kIdAbort;
    case QMessageBox::Retry:
        return kIdRetry;
    case QMessageBox::Ignore:
        return kIdIgnore;
    default:
        return IDCANCEL; // closed with Escape or the window's close button
    }
}

QMessageBox::Icon CQtMessageBoxSink::IconOf(unsigned style) {
    switch (style & MB_ICON_MASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons CQtMessageBoxSink::ButtonsOf(unsigned style) {
    switch (style & MB_BUTTON_MASK) {
    case kOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case kAbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    case kRetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}
