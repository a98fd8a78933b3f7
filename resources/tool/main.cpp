// Renders icons at one size with the renderer the program draws them with, so that the program
// can show them without loading the SVG icon engine or parsing the files.
// Usage: pelmora-icons <size> <output folder> <icon.svg>...
// Each icon becomes "<output folder>/<name>.argb": its premultiplied 32-bit ARGB pixels, row by
// row, in the byte order of this machine.
// Usage: pelmora-icons --png <output folder> <size>,<size>... <icon.svg>...
// Writes "<name>-<size>.png" of each icon at each size, for a build of the windows without the SVG
// module.
// Usage: pelmora-icons --ico <output.ico> <icon.svg>
// Writes the Windows icon file of the program and its documents: the icon at every size Windows
// asks for, each as PNG, so that no size is scaled from another.
#include <QBuffer>
#include <QDataStream>
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

bool WriteIco(const QString& source, const QString& path) {
    const int sizes[] = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
    QList<QByteArray> images;
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        const QImage image = QIcon(source).pixmap(QSize(size, size), 1.0).toImage();
        if (image.size() != QSize(size, size) || !buffer.open(QIODevice::WriteOnly) ||
            !image.save(&buffer, "PNG")) {
            std::fprintf(stderr, "pelmora-icons: cannot render %s at %d pixels\n", qPrintable(source), size);
            return false;
        }
        images.append(png);
    }
    QFile output(path);
    if (!output.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "pelmora-icons: cannot write %s\n", qPrintable(path));
        return false;
    }
    QDataStream stream(&output);
    stream.setByteOrder(QDataStream::LittleEndian);
    constexpr quint32 kHeaderSize = 6;
    constexpr quint32 kEntrySize = 16;
    stream << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = kHeaderSize + kEntrySize * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        const auto side = static_cast<quint8>(size >= 256 ? 0 : size); // 0 stands for 256
        stream << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
               << static_cast<quint32>(images[i].size()) << offset;
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& png : images)
        stream.writeRawData(png.constData(), static_cast<int>(png.size()));
    return stream.status() == QDataStream::Ok && output.flush();
}

bool WritePngs(const QStringList& sources, const QString& sizeList, const QDir& folder) {
    for (const QString& source : sources) {
        for (const QString& text : sizeList.split(QLatin1Char(','))) {
            const int size = text.toInt();
            const QImage image = QIcon(source).pixmap(QSize(size, size), 1.0).toImage();
            const QString name =
                QStringLiteral("%1-%2.png").arg(QFileInfo(source).completeBaseName()).arg(size);
            if (size <= 0 || image.size() != QSize(size, size) || !image.save(folder.filePath(name), "PNG")) {
                std::fprintf(stderr, "pelmora-icons: cannot write %s\n", qPrintable(folder.filePath(name)));
                return false;
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() == 4 && arguments[1] == QStringLiteral("--ico"))
        return WriteIco(arguments[3], arguments[2]) ? 0 : 1;
    if (arguments.size() > 4 && arguments[1] == QStringLiteral("--png")) {
        const QDir folder(arguments[2]);
        return folder.mkpath(QStringLiteral(".")) && WritePngs(arguments.mid(4), arguments[3], folder) ? 0
                                                                                                       : 1;
    }
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
