#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>

#include <utility>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
#ifdef _WIN32
    // The offscreen platform on Windows reads only the fonts folder beside the tests, which holds
    // the faces fontconfig gives the Linux tests (cmake/PelmoraWindowsRuntime.cmake); the names
    // asked for lead to them as fontconfig's aliases do, so that texts measure the same on both.
    for (auto [family, face] :
         {std::pair{"Arial", "Liberation Sans"}, std::pair{"Courier", "Liberation Mono"},
          std::pair{"Courier New", "Liberation Mono"}, std::pair{"Times New Roman", "Liberation Serif"},
          std::pair{"Sans Serif", "DejaVu Sans"}, std::pair{"monospace", "DejaVu Sans Mono"}})
        QFont::insertSubstitution(QString::fromLatin1(family), QString::fromLatin1(face));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
