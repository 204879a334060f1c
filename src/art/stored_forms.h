#pragma once
// The binary forms in which the window design stores its pictures:
//   Picture.Data  one length byte, the class name ("TJPEGImage"), a 32-bit count, the JPEG file
//   Image.Data    a 32-bit count, the GIF file
//   Glyph.Data    a 32-bit count, the bitmap file
//   Icon.Data     the icon file itself
// All counts are little-endian. The parsers throw ArtError naming `what` when the form is
// damaged: a wrong class name, a count that does not match the bytes that follow.

#include <QByteArray>
#include <string>

namespace art {

QByteArray makePictureData(const QByteArray& className, const QByteArray& file);
QByteArray makeCountedData(const QByteArray& file);

// The JPEG file inside a Picture.Data whose class must be "TJPEGImage".
QByteArray jpegFromPictureData(const QByteArray& stored, const std::string& what);
// The file inside an Image.Data or Glyph.Data.
QByteArray fileFromCountedData(const QByteArray& stored, const std::string& what);

} // namespace art
