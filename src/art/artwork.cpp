#include "art/artwork.h"

#include "art/bitmap_reader.h"
#include "art/design_data.h"
#include "art/icon_reader.h"
#include "art/image_list_reader.h"
#include "art/jpeg_decoder.h"
#include "art/stored_forms.h"

#include <QPixmap>

namespace art {

QImage background(Background which)
{
    const char* property = which == Background::Start ? "Image23.Picture.Data"
        : which == Background::Game                   ? "Image17.Picture.Data"
                                                      : "Image24.Picture.Data";
    return decodeJpeg(jpegFromPictureData(designProperty(property), property));
}

CardPictures cardPictures()
{
    return readImageList(designProperty("ImageList1.Bitmap"));
}

QByteArray animationData(int n)
{
    if (n < 1 || n > 10)
        throw ArtError("no animation " + std::to_string(n));
    const std::string property = "GIFAnimator" + std::to_string(n) + ".Image.Data";
    QByteArray stored = designProperty(property);
    fileFromCountedData(stored, property); // checks the count before anyone relies on it
    return stored;
}

QImage glyph(int button)
{
    if (button < 1 || button > 4)
        throw ArtError("no button " + std::to_string(button));
    const std::string property = "BitBtn" + std::to_string(button) + ".Glyph.Data";
    const QByteArray file = fileFromCountedData(designProperty(property), property);
    ByteReader in(reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(file.size()),
        property);
    QImage image = readBitmapFile(in);
    if (image.format() != QImage::Format_RGB32)
        in.fail("glyph is not a colour bitmap");
    return image;
}

QIcon icon()
{
    return QIcon(QPixmap::fromImage(readIcon(designProperty("Form1.Icon.Data"))));
}

} // namespace art
