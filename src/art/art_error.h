#pragma once

#include <stdexcept>
#include <string>

namespace art {

// Damaged or unexpected picture data; the message says what was wrong.
class ArtError : public std::runtime_error
{
public:
    explicit ArtError(const std::string& message)
        : std::runtime_error(message)
    { }
};

} // namespace art
