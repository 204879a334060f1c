#pragma once

#include <stdexcept>
#include <string>

namespace results {

// The runtime's input/output error: a numeric code and the fixed message that belongs to it.
// Every failing operation on the results file throws it; the application's error box shows
// what().
class EInOutError : public std::runtime_error
{
public:
    // The message is InOutErrorMessage(code).
    explicit EInOutError(int code);
    int code() const noexcept { return m_code; }

private:
    int m_code;
};

// Runtime codes used by the results file.
inline constexpr int kFileNotFound = 2;
inline constexpr int kInvalidFilename = 3;
inline constexpr int kTooManyOpenFiles = 4;
inline constexpr int kFileAccessDenied = 5;
inline constexpr int kReadBeyondEnd = 100;
inline constexpr int kDiskFull = 101;
inline constexpr int kFileNotOpen = 103;
inline constexpr int kInvalidNumericInput = 106;

// 2 "File not found", 3 "Invalid filename", 4 "Too many open files", 5 "File access denied",
// 100 "Read beyond end of file", 101 "Disk full", 106 "Invalid numeric input"; every other code
// gives "I/O error <code>" (so 103, a file that is not open, reads "I/O error 103").
std::string InOutErrorMessage(int code);

// The one place where the platform's errno values map onto the runtime codes:
// ENOENT → 2; ENOTDIR, ENAMETOOLONG, ELOOP, ENXIO, ENODEV → 3; EMFILE, ENFILE → 4;
// EACCES, EPERM, EROFS, EISDIR, ETXTBSY → 5; ENOSPC, EDQUOT, EFBIG → 101; EBADF → 103.
// Any other errno gives 1000 + errno, so a platform number can never pose as one of the
// runtime codes above (EIO, which is 5 on Linux, becomes "I/O error 1005", not "File access
// denied").
int InOutCodeFromErrno(int err);

// The same for a failed create: ENOENT there means a folder of the path is missing, which the
// runtime reports as a bad path (3), not as a missing file.
int InOutCodeFromCreateErrno(int err);

} // namespace results
