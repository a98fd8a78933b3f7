#include <gtest/gtest.h>

#include <QApplication>

// Qt's raster engine paints large fills on its own worker threads, synchronised inside the
// uninstrumented Qt libraries; the thread sanitizer would report the libraries' own
// allocations as races.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n";
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
