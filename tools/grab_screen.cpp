// Writes a PNG of what the X display shows, cropped to the windows on it:
// the README's screenshots are taken under Xvfb, where no other tool may be.
//
//   grab_screen OUTPUT.png [DELAY_MS]
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

// Xvfb's root window is black; everything else belongs to a window.
QRect contentBounds(const QImage &image)
{
    const QRgb background = image.pixel(0, image.height() - 1);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == background)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0)
        return image.rect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args[1] == QLatin1String("--help")) {
        QTextStream(stdout) << "usage: grab_screen OUTPUT.png [DELAY_MS]\n";
        return args.size() < 2 ? 2 : 0;
    }
    if (args.size() > 2)
        QThread::msleep(args[2].toULong());
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fputs("grab_screen: no screen\n", stderr);
        return 1;
    }
    const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (!shot.copy(contentBounds(shot)).save(args[1])) {
        std::fprintf(stderr, "grab_screen: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
