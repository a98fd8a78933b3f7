// Turns the Markdown manual into a PDF with Qt's own text layout and PDF writer, so the build
// needs nothing beyond Qt. Usage: pelmora-manual <manual.md> <output.pdf>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

#include <algorithm>
#include <cstdio>

namespace {

constexpr qreal kMarginMm = 18;
// Document units are points on the A4 page.
constexpr qreal kPageWidth = 595.0;
constexpr qreal kPageHeight = 842.0;
constexpr qreal kMarginPoints = kMarginMm * 72.0 / 25.4;
constexpr qreal kTextWidth = kPageWidth - 2 * kMarginPoints;
// Screenshots are taken at screen resolution; shown at this many points per pixel they read
// like the program on a normal monitor.
constexpr qreal kPointsPerPixel = 0.6;
constexpr qreal kCodePointSize = 8.5;

// Every image at a readable size that still fits the text width, keeping its aspect ratio.
void FitImages(QTextDocument& document) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(format.name()));
            const QSizeF pixels = resource.value<QImage>().size();
            if (pixels.isEmpty())
                continue;
            const qreal width = std::min(kTextWidth, pixels.width() * kPointsPerPixel);
            format.setWidth(width);
            format.setHeight(width * pixels.height() / pixels.width());
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

// Command examples are shown as typed: a smaller fixed font, so that a line of 80 characters
// fits the text width, and lines that are never wrapped.
void SetCodeBlocks(QTextDocument& document) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(QTextFormat::BlockCodeFence) &&
            !format.hasProperty(QTextFormat::BlockCodeLanguage))
            continue;
        format.setNonBreakableLines(true);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        QTextCharFormat characters;
        characters.setFontPointSize(kCodePointSize);
        cursor.mergeCharFormat(characters);
    }
}

bool LoadManual(const QString& path, QTextDocument& document) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + QLatin1Char('/')));
    document.setMarkdown(QString::fromUtf8(file.readAll()));
    return !document.isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pelmora-manual <manual.md> <output.pdf>\n");
        return 2;
    }
    QTextDocument document;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("code { font-family: 'Liberation Mono'; }"));
    document.setPageSize(QSizeF(kPageWidth, kPageHeight));
    document.setDocumentMargin(kMarginPoints);
    if (!LoadManual(QString::fromLocal8Bit(argv[1]), document)) {
        std::fprintf(stderr, "pelmora-manual: cannot read %s\n", argv[1]);
        return 1;
    }
    FitImages(document);
    SetCodeBlocks(document);

    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QStringLiteral("Pelmora user manual"));
    writer.setCreator(QStringLiteral("Pelmora"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(300);
    document.print(&writer);
    if (!QFileInfo(QString::fromLocal8Bit(argv[2])).size()) {
        std::fprintf(stderr, "pelmora-manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
