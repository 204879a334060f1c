#include "results/hits_file.h"
#include "results/io_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

using results::EInOutError;
using results::HitRecord;
using results::HitsFile;
using results::kHitRecordSize;

namespace {

HitRecord makeRecord(const QString& name, const QString& time = QStringLiteral("1:00:00"),
    const QString& date = QStringLiteral("08.12.2026 14:00:00"))
{
    HitRecord r;
    r.setName(name);
    r.setTime(time);
    r.setDate(date);
    return r;
}

QByteArray recordBytes(const HitRecord& r)
{
    return QByteArray(reinterpret_cast<const char*>(r.bytes().data()), kHitRecordSize);
}

// "name|time|date" of every record, in the order ReadAll hands them on.
QStringList readAll(HitsFile& file)
{
    QStringList out;
    HitRecord buffer;
    file.ReadAll(buffer,
        [&out](const HitRecord& r) { out << r.name() + u'|' + r.time() + u'|' + r.date(); });
    return out;
}

// The runtime code of the EInOutError that `action` throws, with its message checked.
testing::AssertionResult throwsInOut(
    const std::function<void()>& action, int code, const char* message)
{
    try {
        action();
    } catch (const EInOutError& e) {
        if (e.code() == code && std::string(e.what()) == message)
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "got " << e.code() << " \"" << e.what() << '"';
    }
    return testing::AssertionFailure() << "nothing thrown";
}

// Runs `body` in a child process and returns its exit status; the child exits with the code of
// an EInOutError it throws, 0 when it returns normally.
int inChild(const std::function<void()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        int status = 0;
        try {
            body();
        } catch (const EInOutError& e) {
            status = e.code() & 0xff;
        } catch (...) {
            status = 255;
        }
        ::_exit(status);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int openDescriptors()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files).size());
}

class HitsFileTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name = QStringLiteral("hits.dat")) const
    {
        return dir.filePath(name);
    }
    void writeFile(const QByteArray& bytes, const QString& name = QStringLiteral("hits.dat"))
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    qint64 size() const { return QFileInfo(path()).size(); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(HitsFileTest, FirstStartCreatesAnEmptyFile)
{
    HitsFile file;
    file.OpenAtStartup(path());
    EXPECT_TRUE(file.isOpen());
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(size(), 0);
    EXPECT_TRUE(readAll(file).isEmpty());
}

TEST_F(HitsFileTest, AnExistingFileIsKeptAndReadInFileOrder)
{
    writeFile(recordBytes(makeRecord(QStringLiteral("Анна"), QStringLiteral("0:59:10")))
        + recordBytes(makeRecord(QStringLiteral("Борис"), QStringLiteral("5:59:99"))));
    HitsFile file;
    file.OpenAtStartup(path());
    EXPECT_EQ(size(), 2 * kHitRecordSize);
    file.Append(makeRecord(QStringLiteral("Вера"), QStringLiteral("2:03:04")));
    file.Append(makeRecord(QStringLiteral("Глеб"), QStringLiteral("1:28:92")));
    EXPECT_EQ(readAll(file),
        QStringList({ "Анна|0:59:10|08.12.2026 14:00:00", "Борис|5:59:99|08.12.2026 14:00:00",
            "Вера|2:03:04|08.12.2026 14:00:00", "Глеб|1:28:92|08.12.2026 14:00:00" }));
    // Appends after a read go on at the end, through the new handle.
    file.Append(makeRecord(QStringLiteral("Дина")));
    EXPECT_EQ(readAll(file).size(), 5);
    EXPECT_EQ(size(), 5 * kHitRecordSize);
}

TEST_F(HitsFileTest, APartialTailIsIgnoredAndThenOverwritten)
{
    const QByteArray first = recordBytes(makeRecord(QStringLiteral("Первый")));
    writeFile(first + first.left(40));
    HitsFile file;
    file.OpenAtStartup(path());
    EXPECT_EQ(readAll(file).size(), 1);

    file.Append(makeRecord(QStringLiteral("Второй")));
    EXPECT_EQ(size(), 2 * kHitRecordSize);
    const QStringList names = readAll(file);
    ASSERT_EQ(names.size(), 2);
    EXPECT_TRUE(names[1].startsWith(QStringLiteral("Второй|")));
}

TEST_F(HitsFileTest, ThirtyCharacterCyrillicNamesRoundTripThroughTheFile)
{
    const QString name = QStringLiteral("Константинопол (истекло время)");
    ASSERT_EQ(name.size(), 30);
    HitsFile file;
    file.OpenAtStartup(path());
    file.Append(makeRecord(name, QStringLiteral("5:59:99")));
    HitRecord buffer;
    QString read;
    file.ReadAll(buffer, [&read](const HitRecord& r) { read = r.name(); });
    EXPECT_EQ(read, name);
}

TEST_F(HitsFileTest, RereadingDoesNotLeakHandles)
{
    HitsFile file;
    file.OpenAtStartup(path());
    file.Append(makeRecord(QStringLiteral("Ян")));
    const int before = openDescriptors();
    for (int i = 0; i < 50; ++i)
        readAll(file);
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(HitsFileTest, OperationsWithoutAnOpenFileFailWithCode103)
{
    HitsFile never;
    EXPECT_TRUE(throwsInOut([&] { never.Append(HitRecord()); }, 103, "I/O error 103"));
    EXPECT_TRUE(throwsInOut([&] { never.Close(); }, 103, "I/O error 103"));
    EXPECT_TRUE(throwsInOut([&] { readAll(never); }, 103, "I/O error 103"));

    HitsFile closed;
    closed.OpenAtStartup(path());
    closed.Close();
    EXPECT_FALSE(closed.isOpen());
    EXPECT_TRUE(throwsInOut([&] { closed.Close(); }, 103, "I/O error 103"));
    EXPECT_TRUE(throwsInOut([&] { closed.Append(HitRecord()); }, 103, "I/O error 103"));
}

TEST_F(HitsFileTest, BadPathsAtStartupFailWithTheirMessages)
{
    writeFile("plain", QStringLiteral("plain"));
    struct Case
    {
        QString path;
        int code;
        const char* message;
    };
    const Case cases[] = {
        { path(QStringLiteral("plain/hits.dat")), 3, "Invalid filename" },
        { path(QStringLiteral("missing/hits.dat")), 3, "Invalid filename" },
        { path(QString(300, u'x')), 3, "Invalid filename" },
        { QString(), 3, "Invalid filename" },
        { dir.path(), 5, "File access denied" },
    };
    for (const Case& c : cases) {
        HitsFile file;
        EXPECT_TRUE(throwsInOut([&] { file.OpenAtStartup(c.path); }, c.code, c.message))
            << c.path.toStdString();
        EXPECT_FALSE(file.isOpen());
    }
}

TEST_F(HitsFileTest, AVanishedFileFailsTheReadAndKeepsTheOldHandle)
{
    HitsFile file;
    file.OpenAtStartup(path());
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_TRUE(throwsInOut([&] { readAll(file); }, 2, "File not found"));
    EXPECT_TRUE(file.isOpen());
}

TEST_F(HitsFileTest, AFileThatShrinksDuringTheReadFailsWithReadBeyondEnd)
{
    HitsFile file;
    file.OpenAtStartup(path());
    for (int i = 0; i < 3; ++i)
        file.Append(makeRecord(QString::number(i)));
    HitRecord buffer;
    int seen = 0;
    EXPECT_TRUE(throwsInOut(
        [&] {
            file.ReadAll(buffer, [&](const HitRecord&) {
                if (++seen == 1) {
                    ASSERT_TRUE(QFile::resize(path(), kHitRecordSize + 40));
                }
            });
        },
        100, "Read beyond end of file"));
    EXPECT_EQ(seen, 1);
}

TEST_F(HitsFileTest, AWriteToAFullDeviceFailsWithDiskFull)
{
    HitsFile file;
    file.OpenAtStartup(QStringLiteral("/dev/full"));
    EXPECT_TRUE(
        throwsInOut([&] { file.Append(makeRecord(QStringLiteral("Ян"))); }, 101, "Disk full"));
}

TEST_F(HitsFileTest, AShortWriteIsReportedAndItsTailOverwrittenLater)
{
    HitsFile file;
    file.OpenAtStartup(path());
    file.Append(makeRecord(QStringLiteral("Целый")));
    // The file size limit lets only 17 bytes of the second record through.
    const int status = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 100, 100 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        HitsFile child;
        child.OpenAtStartup(path());
        child.Append(makeRecord(QStringLiteral("Обрезанный")));
    });
    EXPECT_EQ(status, 101);
    EXPECT_EQ(size(), 100);
    EXPECT_EQ(readAll(file).size(), 1);
    file.Append(makeRecord(QStringLiteral("Следующий")));
    EXPECT_EQ(size(), 2 * kHitRecordSize);
    EXPECT_TRUE(readAll(file).last().startsWith(QStringLiteral("Следующий|")));
}

TEST_F(HitsFileTest, RunningOutOfDescriptorsFailsWithTooManyOpenFiles)
{
    writeFile(QByteArray());
    const int status = inChild([&] {
        // The undefined-behaviour sanitizer checks an object's type through a pipe, which it
        // cannot open once descriptors run out; one error built beforehand fills its cache.
        try {
            throw EInOutError(results::kTooManyOpenFiles);
        } catch (const EInOutError&) { }
        const int spare = ::dup(0);
        ::close(spare);
        // No descriptor number at or above the lowest free one is allowed any more.
        const rlimit limit { static_cast<rlim_t>(spare), static_cast<rlim_t>(spare) };
        ::setrlimit(RLIMIT_NOFILE, &limit);
        HitsFile child;
        child.OpenAtStartup(path());
    });
    EXPECT_EQ(status, 4);
}

TEST_F(HitsFileTest, TwoProcessesAppendingAtOnceLoseNoRecord)
{
    constexpr int kPerProcess = 500;
    HitsFile file;
    file.OpenAtStartup(path());

    // Both children wait on the pipe, so their appends start together.
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    pid_t children[2];
    for (int p = 0; p < 2; ++p) {
        children[p] = ::fork();
        ASSERT_GE(children[p], 0);
        if (children[p] == 0) {
            ::close(gate[1]);
            char c;
            while (::read(gate[0], &c, 1) < 0 && errno == EINTR) { }
            int status = 0;
            try {
                HitsFile own;
                own.OpenAtStartup(path());
                for (int i = 0; i < kPerProcess; ++i)
                    own.Append(makeRecord(QStringLiteral("Процесс %1").arg(p), QString::number(i)));
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
    }
    ::close(gate[0]);
    ::close(gate[1]);
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    EXPECT_EQ(size(), 2 * kPerProcess * kHitRecordSize);
    int next[2] = { 0, 0 };
    HitRecord buffer;
    file.ReadAll(buffer, [&next](const HitRecord& r) {
        const int p = r.name() == QStringLiteral("Процесс 1") ? 1 : 0;
        ASSERT_EQ(r.name(), QStringLiteral("Процесс %1").arg(p));
        // Each process's records appear in the order it wrote them.
        EXPECT_EQ(r.time().toInt(), next[p]);
        ++next[p];
    });
    EXPECT_EQ(next[0], kPerProcess);
    EXPECT_EQ(next[1], kPerProcess);
}

// What the flushes saw: for each call, whether the descriptor was a folder and how long the
// file was then. A plain function, as the file takes one.
struct Flushes
{
    static inline std::vector<std::pair<bool, long long>> seen;
    static inline int failWith = 0;
    static int record(int fd)
    {
        struct stat st
        { };
        ::fstat(fd, &st);
        seen.emplace_back(S_ISDIR(st.st_mode), static_cast<long long>(st.st_size));
        if (failWith != 0) {
            errno = failWith;
            return -1;
        }
        return 0;
    }
};

TEST_F(HitsFileTest, ARecordIsOnTheDiskWhenAppendReturnsAndANewFilesFolderIsFlushedOnce)
{
    Flushes::seen.clear();
    Flushes::failWith = 0;
    HitsFile file(&Flushes::record);
    file.OpenAtStartup(path());
    // Creating the file flushed its folder, so the new name survives a power cut.
    ASSERT_EQ(Flushes::seen.size(), 1u);
    EXPECT_TRUE(Flushes::seen[0].first);
    file.Append(makeRecord(QStringLiteral("Анна")));
    file.Append(makeRecord(QStringLiteral("Борис")));
    // Each append flushed the file after its whole record was written.
    ASSERT_EQ(Flushes::seen.size(), 3u);
    EXPECT_EQ(Flushes::seen[1], std::make_pair(false, 83LL));
    EXPECT_EQ(Flushes::seen[2], std::make_pair(false, 166LL));
    file.Close();

    // An existing file is opened without flushing anything.
    HitsFile again(&Flushes::record);
    again.OpenAtStartup(path());
    EXPECT_EQ(Flushes::seen.size(), 3u);
}

TEST_F(HitsFileTest, AFailedFlushIsAFailureNotASuccess)
{
    Flushes::seen.clear();
    Flushes::failWith = 0;
    HitsFile file(&Flushes::record);
    file.OpenAtStartup(path());
    Flushes::failWith = EIO;
    EXPECT_TRUE(throwsInOut(
        [&] { file.Append(makeRecord(QStringLiteral("Анна"))); }, 1005, "I/O error 1005"));
    Flushes::failWith = ENOSPC;
    EXPECT_TRUE(
        throwsInOut([&] { file.Append(makeRecord(QStringLiteral("Анна"))); }, 101, "Disk full"));
    Flushes::failWith = 0;
    // A failed flush of a new file's folder fails the start-up, as any other failure there.
    QFile::remove(path());
    Flushes::failWith = EIO;
    HitsFile fresh(&Flushes::record);
    EXPECT_TRUE(throwsInOut([&] { fresh.OpenAtStartup(path()); }, 1005, "I/O error 1005"));
    Flushes::failWith = 0;
}

TEST_F(HitsFileTest, TheRealFlushSucceedsOnAnOrdinaryFolder)
{
    HitsFile file;
    file.OpenAtStartup(path());
    file.Append(makeRecord(QStringLiteral("Анна")));
    EXPECT_EQ(readAll(file), QStringList({ QStringLiteral("Анна|1:00:00|08.12.2026 14:00:00") }));
}

TEST(InOutError, MessagesByCode)
{
    const std::pair<int, const char*> cases[] = {
        { 2, "File not found" },
        { 3, "Invalid filename" },
        { 4, "Too many open files" },
        { 5, "File access denied" },
        { 100, "Read beyond end of file" },
        { 101, "Disk full" },
        { 106, "Invalid numeric input" },
        { 103, "I/O error 103" },
        { 0, "I/O error 0" },
        { 1005, "I/O error 1005" },
    };
    for (const auto& [code, message] : cases) {
        const EInOutError e(code);
        EXPECT_EQ(e.code(), code);
        EXPECT_STREQ(e.what(), message);
    }
}

TEST(InOutError, PlatformErrorsMapOntoRuntimeCodes)
{
    using results::InOutCodeFromErrno;
    EXPECT_EQ(InOutCodeFromErrno(ENOENT), 2);
    EXPECT_EQ(InOutCodeFromErrno(ENOTDIR), 3);
    EXPECT_EQ(InOutCodeFromErrno(EMFILE), 4);
    EXPECT_EQ(InOutCodeFromErrno(EACCES), 5);
    EXPECT_EQ(InOutCodeFromErrno(EROFS), 5);
    EXPECT_EQ(InOutCodeFromErrno(ENOSPC), 101);
    // A platform number that happens to equal a runtime code must not borrow its message.
    EXPECT_EQ(InOutCodeFromErrno(EIO), 1000 + EIO);
    EXPECT_EQ(results::InOutCodeFromCreateErrno(ENOENT), 3);
}
