#include "art/artwork.h"

#include "art/byte_reader.h"
#include "art/design_data.h"
#include "art/icon_reader.h"
#include "art/image_list_reader.h"
#include "art/jpeg_decoder.h"
#include "art/stored_forms.h"

#include <QPixmap>

#include <mutex>
#include <utility>
#include <vector>

namespace art {

Density DensityFor(qreal devicePixelRatio)
{
    return devicePixelRatio > 1.0 ? Density::Double : Density::Normal;
}

QImage background(Background which, Density density)
{
    const char* property = which == Background::Start ? "Image23.Picture.Data"
        : which == Background::Game                   ? "Image17.Picture.Data"
                                                      : "Image24.Picture.Data";
    const QByteArray jpeg
        = jpegFromPictureData(designProperty(property, density), propertyName(property, density));
    // Decoded pictures by their stored bytes: one decoded copy of a picture however many pages
    // show it. A damaged picture is not kept, so it fails again the next time.
    static std::mutex mutex;
    static std::vector<std::pair<QByteArray, QImage>> decoded;
    std::lock_guard lock(mutex);
    for (const auto& [bytes, image] : decoded) {
        if (bytes == jpeg)
            return image;
    }
    QImage image = decodeJpeg(jpeg);
    decoded.emplace_back(jpeg, image);
    return image;
}

CardPictures cardPictures(Density density)
{
    return readImageList(designProperty("ImageList1.Bitmap", density));
}

QByteArray animationData(int n, Density density)
{
    if (n < 1 || n > 10)
        throw ArtError("no animation " + std::to_string(n));
    const std::string property = "GIFAnimator" + std::to_string(n) + ".Image.Data";
    QByteArray stored = designProperty(property, density);
    // Checks the count before anyone relies on it.
    fileFromCountedData(stored, propertyName(property, density));
    return stored;
}

QImage glyph(int button, Density density)
{
    if (button < 1 || button > 4)
        throw ArtError("no button " + std::to_string(button));
    const std::string property = "BitBtn" + std::to_string(button) + ".Glyph.Data";
    const std::string what = propertyName(property, density);
    const QByteArray file = fileFromCountedData(designProperty(property, density), what);
    ByteReader in(
        reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(file.size()), what);
    QImage image = base::readBitmapFile(in, kAssetBitmaps);
    if (image.format() != QImage::Format_RGB32)
        in.fail("glyph is not a colour bitmap");
    return image;
}

QIcon icon()
{
    return QIcon(QPixmap::fromImage(readIcon(designProperty("Form1.Icon.Data"))));
}

} // namespace art
