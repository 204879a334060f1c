// artgen reproduces every committed asset byte for byte, both densities.

#include "asset_files.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Artgen, ReproducesTheCommittedFiles)
{
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcess artgen;
    // Font and platform libraries keep caches until exit; a leak-checking build must not call
    // that a failure of artgen.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    artgen.setProcessEnvironment(environment);
    artgen.start(QStringLiteral(ARTGEN_PATH), { out.path() });
    ASSERT_TRUE(artgen.waitForFinished(120000));
    ASSERT_EQ(artgen.exitCode(), 0) << artgen.readAllStandardError().toStdString();

    QStringList written = QDir(out.path()).entryList(QDir::Files);
    // Every picture as designed and its high-density twin, plus the icon.
    QStringList expected = { "cards.il", "game.jpg", "glyph_exit.bmp", "glyph_play.bmp",
        "glyph_results.bmp", "glyph_start.bmp", "start.jpg" };
    for (int n = 1; n <= 10; ++n)
        expected.append(QString::asprintf("anim%02d.gif", n));
    for (const QString& name : QStringList(expected)) {
        const qsizetype dot = name.lastIndexOf(u'.');
        expected.append(name.left(dot) + QStringLiteral("@2x") + name.mid(dot));
    }
    expected.append(QStringLiteral("icon.ico"));
    written.sort();
    expected.sort();
    EXPECT_EQ(written, expected);
    for (const QString& name : written) {
        QFile file(QDir(out.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray committed = arttest::assetFile(name);
        EXPECT_FALSE(committed.isEmpty()) << name.toStdString();
        EXPECT_TRUE(file.readAll() == committed) << name.toStdString() << " differs";
    }

    // The icon theme's pictures, one per size.
    const QDir icons(QDir(out.path()).filePath(QStringLiteral("icons")));
    const QStringList iconsWritten = icons.entryList(QDir::Files, QDir::Name);
    const QStringList iconsExpected = { "128x128.png", "16x16.png", "22x22.png", "24x24.png",
        "256x256.png", "32x32.png", "48x48.png", "64x64.png" };
    EXPECT_EQ(iconsWritten, iconsExpected);
    for (const QString& name : iconsWritten) {
        QFile file(icons.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray committed = arttest::assetFile(QStringLiteral("icons/") + name);
        EXPECT_FALSE(committed.isEmpty()) << name.toStdString();
        EXPECT_TRUE(file.readAll() == committed) << "icons/" << name.toStdString() << " differs";
    }
}

} // namespace
