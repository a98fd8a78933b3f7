#include "gui/kit/CCorePath.h"
#include "platform/CFilePath.h"
#include "support/CTempDirectory.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <fstream>

// A name beyond the Windows code page, chosen in a dialog, is the file the layers below write.
TEST(CorePath, ANameBeyondTheCodePageReachesTheFileSystemWhole) {
    CTempDirectory folder;
    const QString path =
        QDir(QString::fromStdString(folder.Path())).filePath(QStringLiteral("Mesure été ∆.psh"));
    const std::string core = CCorePath::FromQt(path);
    EXPECT_EQ(CCorePath::ToQt(core), path);
    std::ofstream(CFilePath::FromUtf8(core)) << "x";
    EXPECT_TRUE(QFileInfo::exists(path));
}
