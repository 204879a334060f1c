#pragma once
// The image-list stream that stores ImageList1: a 28-byte header ("IL", version 0x0101, counts,
// image size, background colour, flags, four overlay indexes), a 32-bit colour strip, a 1-bit
// mask strip (both bitmap files whose size field holds only the header length), 22 zero bytes.
// Images are laid out four per strip row, left to right, top row first.

#include "art/artwork.h"

#include <QByteArray>

namespace art {

// Throws ArtError for a wrong magic or version, a list without a mask, strips that are too
// small for the stated images, or a stream that ends early.
CardPictures readImageList(const QByteArray& stream);

} // namespace art
