#pragma once

#include <stdexcept>
#include <string>

namespace art {

// The longest side any reader accepts: far above anything the game ships, and a bound on what a
// few bytes of header can make a reader allocate.
inline constexpr int kMaxPictureSide = 16384;

// Damaged or unexpected picture data; the message says what was wrong.
class ArtError : public std::runtime_error
{
public:
    explicit ArtError(const std::string& message)
        : std::runtime_error(message)
    { }
};

} // namespace art
