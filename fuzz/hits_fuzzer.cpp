// libFuzzer entry for the results file: see hits_exercise.h for what each input goes through.
// Each process keeps its own hits.dat in a memory file system and reuses it for every input.

#include "hits_exercise.h"

#include <QDir>

#include <cstdlib>
#include <unistd.h>

namespace {

QString folder;

void removeFolder()
{
    QDir(folder).removeRecursively();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QString base
        = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    folder = base + QStringLiteral("/mnemira-hits-fuzz-") + QString::number(::getpid());
    if (!QDir().mkpath(folder))
        std::abort();
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = folder + QStringLiteral("/hits.dat");
    ExerciseHitsFile(path, data, size);
    return 0;
}
