#include "art/icon_reader.h"

#include "art/byte_reader.h"

namespace art {

QImage readIcon(const QByteArray& file)
{
    const auto* data = reinterpret_cast<const std::uint8_t*>(file.constData());
    ByteReader in(data, std::size_t(file.size()), "icon");
    if (in.u16() != 0 || in.u16() != 1)
        in.fail("not an icon file");
    if (in.u16() == 0)
        in.fail("icon holds no image");
    in.skip(8); // width, height, colour count, reserved, planes, bit count
    const std::uint32_t length = in.u32();
    const std::uint32_t offset = in.u32();
    if (offset > file.size() || length > file.size() - offset)
        in.fail("image lies outside the file");

    ByteReader image(data + offset, length, "icon image");
    base::DibHeader header = base::readDibHeader(image, kAssetBitmaps);
    // The stored height counts the colour rows and the mask rows together.
    if (header.height % 2 != 0)
        image.fail("odd image height");
    header.height /= 2;
    const QList<QRgb> palette = base::readPalette(image, header.paletteSize);
    const QImage colours = base::readDibPixels(image, header, palette, kAssetBitmaps.pixels);
    base::DibHeader maskHeader = header;
    maskHeader.bitCount = 1;
    const QImage mask = base::readDibPixels(
        image, maskHeader, { qRgb(0, 0, 0), qRgb(255, 255, 255) }, kAssetBitmaps.pixels);

    QImage result = colours.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (mask.pixelIndex(x, y) == 1)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return result;
}

} // namespace art
