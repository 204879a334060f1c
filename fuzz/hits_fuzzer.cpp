// libFuzzer entry for the results file: see hits_exercise.h for what each input goes through.
// Each process keeps its own hits.dat in a memory file system and reuses it for every input.

#include "hits_exercise.h"

#include <QDir>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString kPrefix = QStringLiteral("mnemira-hits-fuzz-");
QString folder;

void removeFolder()
{
    QDir(folder).removeRecursively();
}

// A run ended by Ctrl+C or a finding leaves before atexit handlers run: the next run removes the
// folders of processes that are gone.
void removeStaleFolders(const QDir& base)
{
    for (const QString& name : base.entryList({ kPrefix + u'*' }, QDir::Dirs)) {
        bool ok = false;
        const pid_t pid = name.mid(kPrefix.size()).toInt(&ok);
        if (ok && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QDir(base.filePath(name)).removeRecursively();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QDir base(
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath());
    removeStaleFolders(base);
    folder = base.filePath(kPrefix + QString::number(::getpid()));
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
