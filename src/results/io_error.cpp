#include "results/io_error.h"

#include <cerrno>

namespace results {

EInOutError::EInOutError(int code)
    : std::runtime_error(InOutErrorMessage(code))
    , m_code(code)
{ }

std::string InOutErrorMessage(int code)
{
    switch (code) {
    case kFileNotFound:
        return "File not found";
    case kInvalidFilename:
        return "Invalid filename";
    case kTooManyOpenFiles:
        return "Too many open files";
    case kFileAccessDenied:
        return "File access denied";
    case kReadBeyondEnd:
        return "Read beyond end of file";
    case kDiskFull:
        return "Disk full";
    case kInvalidNumericInput:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

int InOutCodeFromErrno(int err)
{
    switch (err) {
    case ENOENT:
        return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case ENXIO:
    case ENODEV:
        return kInvalidFilename;
    case EMFILE:
    case ENFILE:
        return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return kFileAccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return kDiskFull;
    case EBADF:
        return kFileNotOpen;
    default:
        return 1000 + err;
    }
}

int InOutCodeFromCreateErrno(int err)
{
    return err == ENOENT ? kInvalidFilename : InOutCodeFromErrno(err);
}

} // namespace results
