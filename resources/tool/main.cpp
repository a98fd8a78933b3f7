// Renders icons at one size with the renderer the program draws them with, so that the program
// can show them without loading the SVG icon engine or parsing the files.
// Usage: pelmora-icons <size> <output folder> <icon.svg>...
// Each icon becomes "<output folder>/<name>.argb": its premultiplied 32-bit ARGB pixels, row by
// row, in the byte order of this machine.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>

#include <cstdio>

namespace {

bool Render(const QString& source, int size, const QDir& folder) {
    const QImage image = QIcon(source)
                             .pixmap(QSize(size, size), 1.0)
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.size() != QSize(size, size)) {
        std::fprintf(stderr, "pelmora-icons: cannot render %s\n", qPrintable(source));
        return false;
    }
    QFile output(folder.filePath(QFileInfo(source).completeBaseName() + QStringLiteral(".argb")));
    const auto bytes = static_cast<qint64>(image.sizeInBytes());
    if (!output.open(QIODevice::WriteOnly) ||
        output.write(reinterpret_cast<const char*>(image.constBits()), bytes) != bytes) {
        std::fprintf(stderr, "pelmora-icons: cannot write %s\n", qPrintable(output.fileName()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int size = arguments.size() > 3 ? arguments[1].toInt() : 0;
    if (size <= 0) {
        std::fprintf(stderr, "usage: pelmora-icons <size> <output folder> <icon.svg>...\n");
        return 2;
    }
    const QDir folder(arguments[2]);
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "pelmora-icons: cannot create %s\n", qPrintable(arguments[2]));
        return 1;
    }
    for (const QString& source : arguments.mid(3)) {
        if (!Render(source, size, folder))
            return 1;
    }
    return 0;
}
