#include "art/stored_forms.h"

#include "art/byte_reader.h"

namespace art {

namespace {

QByteArray countedRest(ByteReader& in, const QByteArray& stored)
{
    const std::uint32_t count = in.u32();
    if (count != in.remaining())
        in.fail("byte count " + std::to_string(count) + " does not match the "
            + std::to_string(in.remaining()) + " bytes stored");
    return stored.mid(qsizetype(in.position()));
}

} // namespace

QByteArray makePictureData(const QByteArray& className, const QByteArray& file)
{
    QByteArray out;
    out.append(char(className.size()));
    out.append(className);
    base::appendLE32(out, std::uint32_t(file.size()));
    out.append(file);
    return out;
}

QByteArray makeCountedData(const QByteArray& file)
{
    QByteArray out;
    base::appendLE32(out, std::uint32_t(file.size()));
    out.append(file);
    return out;
}

QByteArray jpegFromPictureData(const QByteArray& stored, const std::string& what)
{
    ByteReader in(reinterpret_cast<const std::uint8_t*>(stored.constData()),
        std::size_t(stored.size()), what);
    const int nameLength = in.u8();
    in.need(std::size_t(nameLength));
    const QByteArray name(reinterpret_cast<const char*>(in.here()), nameLength);
    in.skip(std::size_t(nameLength));
    if (name != "TJPEGImage")
        in.fail("picture class \"" + name.toStdString() + "\" is not TJPEGImage");
    return countedRest(in, stored);
}

QByteArray fileFromCountedData(const QByteArray& stored, const std::string& what)
{
    ByteReader in(reinterpret_cast<const std::uint8_t*>(stored.constData()),
        std::size_t(stored.size()), what);
    return countedRest(in, stored);
}

} // namespace art
