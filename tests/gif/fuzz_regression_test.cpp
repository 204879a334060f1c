// Replays every input the fuzzer once failed on (tests/gif/fuzz_crashers) through the same steps.

#include "gif_exercise.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(FuzzRegression, FormerCrashersRunClean)
{
    const QDir dir(QStringLiteral(MNEMIRA_GIF_CRASHERS_DIR));
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ExerciseGif(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
}

} // namespace
