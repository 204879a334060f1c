// artgen: draws all of the game's artwork and writes the plain asset files into the folder
// given on the command line (src/art in the source tree), and the icon theme's pictures into
// its subfolder icons/. The output is deterministic, so a second run reproduces the committed
// files byte for byte.

#include "animation_writer.h"
#include "building.h"
#include "encoders.h"
#include "scenes.h"
#include "small_art.h"
#include "theme_icons.h"
#include "window_art.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>

namespace {

void save(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + file.fileName().toStdString());
}

QByteArray cardList()
{
    using namespace artgen;
    const QSize size(90, 80);
    std::vector<QImage> images { renderBack(size) };
    std::vector<std::vector<bool>> masks { std::vector<bool>(90 * 80, false) };
    for (int n = 1; n <= 10; ++n) {
        images.push_back(renderWindow(n, size, 0));
        // Only the bottom-left pixel is transparent: a face laid over a card keeps that pixel.
        std::vector<bool> mask(90 * 80, false);
        mask[79 * 90] = true;
        masks.push_back(mask);
    }
    return writeImageList(images, masks, 4, 14, 4);
}

QByteArray animation(int n)
{
    using namespace artgen;
    const auto& delays = animationDelays(n);
    std::vector<QImage> frames;
    for (int f = 0; f < int(delays.size()); ++f)
        frames.push_back(renderWindow(n, QSize(518, 389), f));
    return writeAnimation(frames, delays);
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen OUTPUT_DIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "artgen: cannot create %s\n", argv[1]);
        return 1;
    }
    // Another face would change every text and so every file: refuse rather than drift.
    if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
        std::fprintf(
            stderr, "artgen: the font \"Liberation Sans\" is missing (fonts-liberation2)\n");
        return 1;
    }
    try {
        using namespace artgen;
        const int quality = 90;
        save(dir, "start.jpg", writeJpeg(renderBackground(false), quality));
        save(dir, "game.jpg", writeJpeg(renderBackground(true), quality));
        save(dir, "cards.il", cardList());
        for (int n = 1; n <= 10; ++n)
            save(dir, QString::asprintf("anim%02d.gif", n), animation(n));
        save(dir, "glyph_start.bmp", writeBitmap4(renderGlyph(Glyph::Start)));
        save(dir, "glyph_results.bmp", writeBitmap4(renderGlyph(Glyph::Results)));
        save(dir, "glyph_play.bmp", writeBitmap4(renderGlyph(Glyph::Play)));
        save(dir, "glyph_exit.bmp", writeBitmap4(renderGlyph(Glyph::Exit)));
        save(dir, "icon.ico", writeIcon16(renderIcon()));
        // The icon theme's pictures, installed with the game (not built into it).
        const QDir icons(dir.filePath("icons"));
        if (!icons.exists() && !QDir().mkpath(icons.path()))
            throw std::runtime_error("cannot create " + icons.path().toStdString());
        for (int size : themeIconSizes())
            save(
                icons, QString::asprintf("%dx%d.png", size, size), writePng(renderThemeIcon(size)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "artgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
