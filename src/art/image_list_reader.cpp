#include "art/image_list_reader.h"

#include "art/byte_reader.h"

namespace art {

CardPictures readImageList(const QByteArray& stream)
{
    ByteReader in(reinterpret_cast<const std::uint8_t*>(stream.constData()),
        std::size_t(stream.size()), "image list");
    if (in.u16() != 0x4C49)
        in.fail("not an image-list stream");
    if (const int version = in.u16(); version != 0x0101)
        in.fail("unsupported version " + std::to_string(version));
    const int count = in.u16();
    const int allocated = in.u16();
    in.skip(2); // growth step
    const int width = in.u16();
    const int height = in.u16();
    in.skip(4); // background colour
    const int flags = in.u16();
    in.skip(8); // overlay indexes
    if (count > allocated)
        in.fail("more images than allocated");
    if (width <= 0 || height <= 0)
        in.fail("bad image size");
    if ((flags & 0x01) == 0)
        in.fail("the list has no mask");

    const QImage colours = base::readBitmapFile(in, kAssetBitmaps);
    const QImage mask = base::readBitmapFile(in, kAssetBitmaps);
    if (colours.format() != QImage::Format_RGB32)
        in.fail("colour strip is not a colour bitmap");
    if (mask.format() != QImage::Format_Mono)
        in.fail("mask strip is not a one-bit bitmap");
    if (mask.size() != colours.size())
        in.fail("mask strip and colour strip differ in size");
    const int perRow = colours.width() / width;
    if (perRow == 0 || (count > 0 && (count - 1) / perRow >= colours.height() / height))
        in.fail("strips too small for " + std::to_string(count) + " images");

    // Index 1 of the mask is "transparent", whatever colours the file's palette names.
    QImage monoMask = mask;
    monoMask.setColorTable({ qRgb(0, 0, 0), qRgb(255, 255, 255) });

    CardPictures result;
    for (int i = 0; i < count; ++i) {
        const QRect cell((i % perRow) * width, (i / perRow) * height, width, height);
        result.images.push_back(colours.copy(cell));
        result.masks.push_back(monoMask.copy(cell));
    }
    return result;
}

} // namespace art
