// Renders Orl's SVG pictures into the PNG files that the program carries for toolkits without an
// SVG reader (the Windows build's), and the application icon into the ICO file of the Windows
// executable. With --check it writes nothing and fails when a kept file no longer shows its SVG.
//
//   render_pictures [--check] SOURCE-ROOT
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int kToolbarSizes[] = {16, 24, 32};
constexpr int kApplicationSizes[] = {16, 24, 32, 48, 64, 128, 256};
// Windows picks among these for the executable's icon; the largest goes in as PNG, the rest as
// bitmaps, which every version of Windows reads.
constexpr int kIcoSizes[] = {16, 24, 32, 48, 64, 256};
constexpr int kLargestBitmapEntry = 64;
// Anti-aliasing may round a channel differently from one build of the renderer to another.
constexpr int kTolerance = 8;

struct Picture {
    QString svg;
    QString name;
    QList<int> sizes;
};

QImage render(const QString &svg, int size)
{
    QImageReader reader(svg, "svg");
    reader.setScaledSize(QSize(size, size));
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

bool sameImage(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            // Fully transparent pixels may carry any colour.
            if (qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            if (qAbs(qRed(p) - qRed(q)) > kTolerance || qAbs(qGreen(p) - qGreen(q)) > kTolerance
                || qAbs(qBlue(p) - qBlue(q)) > kTolerance || qAbs(qAlpha(p) - qAlpha(q)) > kTolerance)
                return false;
        }
    }
    return true;
}

void appendLe16(QByteArray &bytes, int value)
{
    const quint16 le = qToLittleEndian(quint16(value));
    bytes.append(reinterpret_cast<const char *>(&le), 2);
}

void appendLe32(QByteArray &bytes, quint32 value)
{
    const quint32 le = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&le), 4);
}

// A 32-bit bitmap entry: the header, the pixels bottom row first, then the (unused) AND mask.
QByteArray bitmapEntry(const QImage &image)
{
    const int size = image.width();
    QByteArray bytes;
    appendLe32(bytes, 40);
    appendLe32(bytes, quint32(size));
    appendLe32(bytes, quint32(size * 2)); // the colour rows and the mask rows
    appendLe16(bytes, 1);
    appendLe16(bytes, 32);
    for (int i = 0; i < 6; ++i)
        appendLe32(bytes, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x)
            appendLe32(bytes, image.pixel(x, y)); // BGRA in memory, as the format wants
    }
    const int maskRowBytes = ((size + 31) / 32) * 4;
    bytes.append(QByteArray(maskRowBytes * size, '\0'));
    return bytes;
}

QByteArray pngEntry(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray icoFile(const QString &svg)
{
    QList<QByteArray> entries;
    for (int size : kIcoSizes) {
        const QImage image = render(svg, size);
        entries.append(size <= kLargestBitmapEntry ? bitmapEntry(image) : pngEntry(image));
    }
    QByteArray bytes;
    appendLe16(bytes, 0);
    appendLe16(bytes, 1); // icon
    appendLe16(bytes, int(entries.size()));
    quint32 offset = quint32(6 + 16 * entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const int size = kIcoSizes[i];
        bytes.append(char(size >= 256 ? 0 : size)); // 0 stands for 256
        bytes.append(char(size >= 256 ? 0 : size));
        bytes.append(char(0)); // no palette
        bytes.append(char(0));
        appendLe16(bytes, 1);  // planes
        appendLe16(bytes, 32); // bits per pixel
        appendLe32(bytes, quint32(entries[i].size()));
        appendLe32(bytes, offset);
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &entry : entries)
        bytes.append(entry);
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QList<Picture> pictures(const QDir &root)
{
    QList<Picture> list;
    const QDir icons(root.filePath(QStringLiteral("common/icons")));
    for (const QString &file : icons.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name))
        list.append({icons.filePath(file), QFileInfo(file).completeBaseName(),
                     QList<int>(std::begin(kToolbarSizes), std::end(kToolbarSizes))});
    list.append({root.filePath(QStringLiteral("data/desktop/io.github.orl.Orl.svg")), QStringLiteral("io.github.orl.Orl"),
                 QList<int>(std::begin(kApplicationSizes), std::end(kApplicationSizes))});
    return list;
}

// Every size of every picture, and each ICO entry, against a fresh rendering; lists what differs.
QStringList stale(const QDir &root)
{
    QStringList differing;
    const QDir png(root.filePath(QStringLiteral("common/icons/png")));
    QStringList kept = png.entryList({QStringLiteral("*.png")}, QDir::Files);
    for (const Picture &picture : pictures(root)) {
        for (int size : picture.sizes) {
            const QString file = QStringLiteral("%1-%2.png").arg(picture.name).arg(size);
            kept.removeAll(file);
            if (!sameImage(QImage(png.filePath(file)), render(picture.svg, size)))
                differing.append(png.filePath(file));
        }
    }
    for (const QString &orphan : kept)
        differing.append(png.filePath(orphan) + QStringLiteral(" (no SVG picture)"));

    const QString ico = root.filePath(QStringLiteral("data/windows/orl.ico"));
    QImageReader reader(ico, "ico");
    QList<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        const QImage image = reader.read();
        sizes.append(image.width());
        if (!sameImage(image, render(root.filePath(QStringLiteral("data/desktop/io.github.orl.Orl.svg")), image.width())))
            differing.append(QStringLiteral("%1 (%2 px)").arg(ico).arg(image.width()));
    }
    if (sizes != QList<int>(std::begin(kIcoSizes), std::end(kIcoSizes)))
        differing.append(ico + QStringLiteral(" (sizes)"));
    return differing;
}

bool renderAll(const QDir &root)
{
    const QDir png(root.filePath(QStringLiteral("common/icons/png")));
    if (!QDir().mkpath(png.path()) || !QDir().mkpath(root.filePath(QStringLiteral("data/windows"))))
        return false;
    for (const Picture &picture : pictures(root)) {
        for (int size : picture.sizes) {
            const QImage image = render(picture.svg, size);
            if (image.isNull() || !image.save(png.filePath(QStringLiteral("%1-%2.png").arg(picture.name).arg(size)), "PNG", 9))
                return false;
        }
    }
    return writeFile(root.filePath(QStringLiteral("data/windows/orl.ico")),
                     icoFile(root.filePath(QStringLiteral("data/desktop/io.github.orl.Orl.svg"))));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool check = arguments.removeAll(QStringLiteral("--check")) > 0;
    if (arguments.size() != 1) {
        std::fputs("usage: render_pictures [--check] SOURCE-ROOT\n", stderr);
        return 2;
    }
    if (!QImageReader::supportedImageFormats().contains("svg")) {
        std::fputs("render_pictures: the toolkit's SVG image plug-in is missing (libqt6svg6)\n", stderr);
        return 1;
    }
    const QDir root(arguments.first());
    if (!check) {
        if (renderAll(root))
            return 0;
        std::fputs("render_pictures: could not write the pictures\n", stderr);
        return 1;
    }
    const QStringList differing = stale(root);
    for (const QString &file : differing)
        std::fprintf(stderr, "out of date: %s\n", qPrintable(file));
    if (!differing.isEmpty())
        std::fputs("render them again with scripts/pictures\n", stderr);
    return differing.isEmpty() ? 0 : 1;
}
