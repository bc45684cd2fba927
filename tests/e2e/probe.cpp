// Probe of the X display for the end-to-end scenarios: saves the whole screen as a PNG file or
// prints the text on the clipboard, so a scenario can look at what the program shows.
#include <QClipboard>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstring>

namespace {

int usage()
{
    std::fputs("usage: e2e_probe screenshot FILE.png | e2e_probe clipboard\n", stderr);
    return 2;
}

int saveScreenshot(const char *path)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(path), "PNG")) {
        std::fprintf(stderr, "e2e_probe: cannot save the screen to %s\n", path);
        return 1;
    }
    return 0;
}

int printClipboard()
{
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // The scenarios run under a real X server even when the tests around them run offscreen.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "screenshot") == 0)
        return saveScreenshot(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "clipboard") == 0)
        return printClipboard();
    return usage();
}
