#include "results/hits_file.h"

#include "results/io_error.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace results {
namespace {

[[noreturn]] void throwErrno(int err)
{
    throw EInOutError(InOutCodeFromErrno(err));
}

// An flock() lock for a scope. flock locks belong to the open file, not to the process, so two
// handles in one process exclude each other just as two processes do.
class FileLock
{
public:
    FileLock(int fd, int operation)
        : m_fd(fd)
    {
        while (::flock(m_fd, operation) != 0) {
            if (errno != EINTR)
                throwErrno(errno);
        }
    }
    ~FileLock() { ::flock(m_fd, LOCK_UN); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd;
};

// The folder of a file path, in the file system's encoding ("." for a bare name).
QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

long long fileLength(int fd)
{
    struct stat st
    { };
    if (::fstat(fd, &st) != 0)
        throwErrno(errno);
    return st.st_size;
}

} // namespace

HitsFile::HitsFile(SyncFunction sync)
    : m_sync(sync ? sync : ::fdatasync)
{ }

HitsFile::~HitsFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int HitsFile::openReadWrite() const
{
    int fd;
    do {
        fd = ::open(m_path.constData(), O_RDWR | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throwErrno(errno);
    return fd;
}

void HitsFile::OpenAtStartup(const QString& path)
{
    m_path = QFile::encodeName(path);
    if (m_path.isEmpty())
        throw EInOutError(kInvalidFilename);

    // Create when missing. No truncation: another copy may have created the file and written
    // to it since we looked, and an existing file is never emptied.
    struct stat st
    { };
    if (::stat(m_path.constData(), &st) != 0) {
        if (errno != ENOENT)
            throwErrno(errno);
        int fd;
        do {
            fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0)
            throw EInOutError(InOutCodeFromCreateErrno(errno));
        if (::close(fd) != 0 && errno != EINTR)
            throwErrno(errno);
        syncFolder();
    }

    const int fd = openReadWrite();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_recordPos = 0;
}

void HitsFile::Append(const HitRecord& record)
{
    if (m_fd < 0)
        throw EInOutError(kFileNotOpen);

    const FileLock lock(m_fd, LOCK_EX);
    const long long recordNo = fileLength(m_fd) / kHitRecordSize;
    const off_t offset = static_cast<off_t>(recordNo) * kHitRecordSize;

    const auto& bytes = record.bytes();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(
            m_fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwErrno(errno);
        }
        // A write that makes no progress without an error: the device has no room left.
        if (n == 0)
            throw EInOutError(kDiskFull);
        done += static_cast<std::size_t>(n);
    }
    if (m_sync(m_fd) != 0)
        throwErrno(errno);
    m_recordPos = recordNo + 1;
}

void HitsFile::syncFolder() const
{
    // A folder that cannot be opened for reading (write and search rights only) cannot be
    // flushed from here; the file itself is flushed at every append all the same.
    int dir;
    do {
        dir = ::open(folderOf(m_path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (dir < 0 && errno == EINTR);
    if (dir < 0)
        return;
    const int result = m_sync(dir);
    const int err = errno;
    ::close(dir);
    if (result != 0)
        throwErrno(err);
}

void HitsFile::ReadAll(HitRecord& buffer, const std::function<void(const HitRecord&)>& each)
{
    if (m_path.isEmpty())
        throw EInOutError(kFileNotOpen);

    // The old handle stays ours until the new one is open, so a failed reopen changes nothing.
    const int fd = openReadWrite();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
    m_recordPos = 0;

    // The records present now; one appended by another copy meanwhile shows at the next fill.
    const long long count = fileLength(m_fd) / kHitRecordSize;
    auto& bytes = buffer.bytes();
    while (m_recordPos < count) {
        const off_t offset = static_cast<off_t>(m_recordPos) * kHitRecordSize;
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::pread(
                m_fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throwErrno(errno);
            }
            if (n == 0)
                throw EInOutError(kReadBeyondEnd);
            done += static_cast<std::size_t>(n);
        }
        ++m_recordPos;
        if (each)
            each(buffer);
    }
}

void HitsFile::Close()
{
    if (m_fd < 0)
        throw EInOutError(kFileNotOpen);
    const int fd = m_fd;
    // The descriptor is gone whatever close() says, so it is forgotten before any report.
    m_fd = -1;
    m_recordPos = 0;
    if (::close(fd) != 0 && errno != EINTR)
        throwErrno(errno);
}

} // namespace results
