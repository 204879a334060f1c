// artgen: draws all of the game's artwork and writes the plain asset files into the folder
// given on the command line (src/art in the source tree), and the icon theme's pictures into
// its subfolder icons/. Every picture the game shows comes twice: as designed ("game.jpg") and
// drawn at twice the resolution for high-density screens ("game@2x.jpg"). The output is
// deterministic, so a second run reproduces the committed files byte for byte.

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
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

namespace {

void save(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + file.fileName().toStdString());
}

QByteArray cardList(int scale)
{
    using namespace artgen;
    const QSize size(90, 80);
    const int w = size.width() * scale, h = size.height() * scale;
    std::vector<QImage> images { renderBack(size, scale) };
    std::vector<std::vector<bool>> masks { std::vector<bool>(std::size_t(w * h), false) };
    for (int n = 1; n <= 10; ++n) {
        images.push_back(renderWindow(n, size, 0, scale));
        // Only the bottom-left unit is transparent: a face laid over a card keeps it.
        std::vector<bool> mask(std::size_t(w * h), false);
        for (int y = h - scale; y < h; ++y)
            for (int x = 0; x < scale; ++x)
                mask[std::size_t(y * w + x)] = true;
        masks.push_back(mask);
    }
    return writeImageList(images, masks, 4, 14, 4);
}

// Animation n as designed, then drawn at twice the resolution with every frame in the same
// place, doubled.
std::pair<QByteArray, QByteArray> animations(int n)
{
    using namespace artgen;
    const QSize size(518, 389);
    const auto& delays = animationDelays(n);
    const WrittenAnimation normal
        = writeAnimation(size, delays, [n, size](int f) { return renderWindow(n, size, f, 1); });
    std::vector<QRect> doubled;
    for (const QRect& r : normal.placement)
        doubled.emplace_back(r.x() * 2, r.y() * 2, r.width() * 2, r.height() * 2);
    const WrittenAnimation dense = writeAnimation(
        size * 2, delays, [n, size](int f) { return renderWindow(n, size, f, 2); }, doubled);
    return { normal.gif, dense.gif };
}

// Every text is drawn in Liberation Sans 2 and nothing else, whatever else the machine has
// installed (fonts-liberation's older Liberation Sans would win the family name) and however its
// font settings hint: a font configuration of our own that knows only that folder.
constexpr char kFontFolder[] = "/usr/share/fonts/truetype/liberation2";

bool pinFonts(const QTemporaryDir& scratch)
{
    QFile config(scratch.filePath(QStringLiteral("fonts.conf")));
    if (!scratch.isValid() || !config.open(QIODevice::WriteOnly))
        return false;
    config.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                                "\"urn:fontconfig:fonts.dtd\">\n<fontconfig><dir>%1</dir>"
                                "<cachedir>%2</cachedir></fontconfig>\n")
                     .arg(QLatin1String(kFontFolder), scratch.path())
                     .toUtf8());
    qputenv("FONTCONFIG_FILE", config.fileName().toLocal8Bit());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const QTemporaryDir scratch;
    if (!pinFonts(scratch)) {
        std::fprintf(stderr, "artgen: cannot write a font configuration\n");
        return 1;
    }
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
        std::fprintf(stderr,
            "artgen: the font \"Liberation Sans\" is missing from %s "
            "(fonts-liberation2)\n",
            kFontFolder);
        return 1;
    }
    try {
        using namespace artgen;
        const int quality = 90;
        // Each picture as designed, and beside it "name@2x" drawn for high-density screens.
        for (int scale : { 1, 2 }) {
            const QString x = scale == 1 ? QString() : QStringLiteral("@2x");
            save(dir, "start" + x + ".jpg", writeJpeg(renderBackground(false, scale), quality));
            save(dir, "game" + x + ".jpg", writeJpeg(renderBackground(true, scale), quality));
            save(dir, "cards" + x + ".il", cardList(scale));
            save(dir, "glyph_start" + x + ".bmp", writeBitmap4(renderGlyph(Glyph::Start, scale)));
            save(dir, "glyph_results" + x + ".bmp",
                writeBitmap4(renderGlyph(Glyph::Results, scale)));
            save(dir, "glyph_play" + x + ".bmp", writeBitmap4(renderGlyph(Glyph::Play, scale)));
            save(dir, "glyph_exit" + x + ".bmp", writeBitmap4(renderGlyph(Glyph::Exit, scale)));
        }
        for (int n = 1; n <= 10; ++n) {
            const auto [normal, dense] = animations(n);
            save(dir, QString::asprintf("anim%02d.gif", n), normal);
            save(dir, QString::asprintf("anim%02d@2x.gif", n), dense);
        }
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
