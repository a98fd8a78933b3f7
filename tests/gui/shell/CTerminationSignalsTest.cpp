#include "gui/shell/CTerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

// A terminate request ends the event loop normally, so the program shuts down as after Exit.
TEST(CTerminationSignals, TerminateEndsTheEventLoop) {
    CTerminationSignals termination;
    ASSERT_TRUE(termination.Install());
    EXPECT_FALSE(CTerminationSignals().Install()) << "one owner of the handlers at a time";
    bool gaveUp = false;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(10000, [&gaveUp] {
        gaveUp = true;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    EXPECT_FALSE(gaveUp);
}
