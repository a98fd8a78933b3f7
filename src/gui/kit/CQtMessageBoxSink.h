#pragma once

#include "appcore/CMessageBoxSink.h"

#include <QMessageBox>

#include <memory>

// Shows the program's message boxes with QMessageBox; the owner is a QWidget* or nothing.
class CQtMessageBoxSink : public CMessageBoxSink {
public:
    int Show(void* owner, const std::string& text, const std::string& caption, unsigned style) override;

    // The box for those platform style flags: icon from the icon bits, buttons from the button bits.
    static std::unique_ptr<QMessageBox> CreateBox(QWidget* owner, const std::string& text,
                                                  const std::string& caption, unsigned style);
    // The platform's result code of a pressed button (IDOK, IDCANCEL, IDYES, ...).
    static int ResultOf(QMessageBox::StandardButton button);

private:
    static QMessageBox::Icon IconOf(unsigned style);
    static QMessageBox::StandardButtons ButtonsOf(unsigned style);
};
