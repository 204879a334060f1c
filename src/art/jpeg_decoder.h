#pragma once
// JPEG decoding from memory with libjpeg(-turbo).

#include <QByteArray>
#include <QImage>

namespace art {

// Decodes a JPEG file into Format_RGB32. Throws ArtError with libjpeg's message when the data
// is not a decodable JPEG.
QImage decodeJpeg(const QByteArray& jpeg);

} // namespace art
