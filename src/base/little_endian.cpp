#include "base/little_endian.h"

#include <exception>
#include <new>
#include <stdexcept>

namespace base {

void ByteReader::fail(const std::string& why) const
{
    throw std::runtime_error(why);
}

void ByteReader::overrun() const
{
    fail("data ends early");
    std::terminate(); // only an override of fail() that broke its promise returns
}

void ByteReader::noMemory(const std::string&) const
{
    throw std::bad_alloc();
}

} // namespace base
