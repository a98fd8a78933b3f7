#include "support/CAppTestSandbox.h"

#include "appcore/CMessageBoxes.h"
#include "gui/kit/CQtMessageBoxSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

TEST(CQtMessageBoxSink, StyleFlagsChooseIconAndButtons) {
    struct Case {
        unsigned style;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    const Case cases[] = {
        {MB_ICONSTOP, QMessageBox::Critical, QMessageBox::Ok},
        {MB_ICONEXCLAMATION, QMessageBox::Warning, QMessageBox::Ok},
        {MB_ICONINFORMATION, QMessageBox::Information, QMessageBox::Ok},
        {MB_YESNOQUESTION, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
        {MB_OK, QMessageBox::NoIcon, QMessageBox::Ok},
    };
    for (const Case& c : cases) {
        const auto box = CQtMessageBoxSink::CreateBox(nullptr, "text", "caption", c.style);
        EXPECT_EQ(box->icon(), c.icon) << c.style;
        EXPECT_EQ(box->standardButtons(), c.buttons) << c.style;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("caption"));
    }
}

TEST(CQtMessageBoxSink, TextIsNeverTakenAsMarkup) {
    const auto box = CQtMessageBoxSink::CreateBox(nullptr, "<b>/tmp/a&b.psh</b>", "c", MB_ICONSTOP);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), QStringLiteral("<b>/tmp/a&b.psh</b>"));
}

TEST(CQtMessageBoxSink, ButtonsMapToThePlatformResults) {
    EXPECT_EQ(CQtMessageBoxSink::ResultOf(QMessageBox::Ok), IDOK);
    EXPECT_EQ(CQtMessageBoxSink::ResultOf(QMessageBox::Yes), IDYES);
    EXPECT_EQ(CQtMessageBoxSink::ResultOf(QMessageBox::No), IDNO);
    EXPECT_EQ(CQtMessageBoxSink::ResultOf(QMessageBox::Cancel), IDCANCEL);
    EXPECT_EQ(CQtMessageBoxSink::ResultOf(QMessageBox::NoButton), IDCANCEL);
}

TEST(CQtMessageBoxSink, HelpersShowTheBoxThroughTheSink) {
    CAppTestSandbox sandbox;
    CQtMessageBoxSink sink;
    CMessageBoxes::SetSink(&sink);
    QString shownText;
    QString shownTitle;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        shownTitle = box->windowTitle();
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(CMessageBoxes::FromText(nullptr, "Save?", MB_YESNOQUESTION), IDYES);
    EXPECT_EQ(shownText, QStringLiteral("Save?"));
    EXPECT_EQ(shownTitle, QStringLiteral("Trel Power Meter"));
    EXPECT_EQ(CMessageBoxes::FromText(nullptr, "", MB_ICONSTOP), MESSAGE_NOT_SHOWN);
}
