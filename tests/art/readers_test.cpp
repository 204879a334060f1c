// The format readers on small hand-built inputs: what they accept, and the errors they raise.

#include "asset_files.h"

#include "art/art_error.h"
#include "art/icon_reader.h"
#include "art/image_list_reader.h"
#include "art/jpeg_decoder.h"
#include "art/stored_forms.h"
#include "support/bitmap_bytes.h"

#include <gtest/gtest.h>

namespace {

using base::appendLE16;
using base::appendLE32;
using namespace testbmp;

TEST(StoredForms, PictureDataRoundTripsAndChecksClassAndCount)
{
    const QByteArray jpeg("\xFF\xD8 pretend", 10);
    const QByteArray stored = art::makePictureData("TJPEGImage", jpeg);
    EXPECT_EQ(stored.size(), 1 + 10 + 4 + jpeg.size());
    EXPECT_EQ(art::jpegFromPictureData(stored, "x"), jpeg);
    EXPECT_THROW(
        art::jpegFromPictureData(art::makePictureData("TBitmap", jpeg), "x"), art::ArtError);
    EXPECT_THROW(art::jpegFromPictureData(stored.chopped(1), "x"), art::ArtError);
    EXPECT_THROW(art::jpegFromPictureData(stored + "!", "x"), art::ArtError);
    EXPECT_THROW(art::jpegFromPictureData(stored.left(5), "x"), art::ArtError);
}

TEST(StoredForms, CountedDataRoundTripsAndChecksItsCount)
{
    const QByteArray stored = art::makeCountedData("GIF89a");
    EXPECT_EQ(stored.left(4), QByteArray::fromHex("06000000"));
    EXPECT_EQ(art::fileFromCountedData(stored, "x"), "GIF89a");
    EXPECT_THROW(art::fileFromCountedData(stored.chopped(1), "x"), art::ArtError);
    EXPECT_THROW(art::fileFromCountedData("\x01\x00", "x"), art::ArtError);
}

// A 2-image list of 2 x 1 pictures, two per strip row.
QByteArray tinyImageList(int magic = 0x4C49, int flags = 0x10FF)
{
    QByteArray b;
    appendLE16(b, magic);
    appendLE16(b, 0x0101);
    appendLE16(b, 2);
    appendLE16(b, 2);
    appendLE16(b, 4);
    appendLE16(b, 2);
    appendLE16(b, 1);
    appendLE32(b, 0xFFFFFFFF);
    appendLE16(b, flags);
    for (int i = 0; i < 4; ++i)
        appendLE16(b, 0xFFFF);
    QByteArray colours;
    for (int x = 0; x < 4; ++x)
        colours += QByteArray::fromHex("0102") + char(10 * x) + char(0);
    b += bitmapFile(4, 1, 32, {}, colours, 54);
    b += bitmapFile(
        4, 1, 1, QByteArray::fromHex("00000000ffffff00"), QByteArray::fromHex("40000000"), 62);
    return b + QByteArray(22, '\0');
}

TEST(ImageListReader, CutsStripsIntoPicturesAndMasks)
{
    const art::CardPictures list = art::readImageList(tinyImageList());
    ASSERT_EQ(list.images.size(), 2u);
    ASSERT_EQ(list.masks.size(), 2u);
    EXPECT_EQ(list.images[1].size(), QSize(2, 1));
    EXPECT_EQ(list.images[1].pixel(1, 0), qRgb(30, 2, 1));
    EXPECT_EQ(list.masks[0].format(), QImage::Format_Mono);
    EXPECT_EQ(list.masks[0].pixelIndex(1, 0), 1);
    EXPECT_EQ(list.masks[0].pixelIndex(0, 0), 0);
    EXPECT_EQ(list.masks[1].pixelIndex(0, 0), 0);
}

TEST(ImageListReader, RejectsDamagedStreams)
{
    EXPECT_THROW(art::readImageList(tinyImageList(0x1234)), art::ArtError);
    EXPECT_THROW(art::readImageList(tinyImageList(0x4C49, 0x10FE)), art::ArtError);
    try {
        art::readImageList(tinyImageList().left(60));
        ADD_FAILURE() << "no exception";
    } catch (const art::ArtError& e) {
        EXPECT_STREQ(e.what(), "image list: data ends early"); // the reader names what it read
    }
    EXPECT_THROW(art::readImageList({}), art::ArtError);
}

QByteArray tinyIcon()
{
    QByteArray dib = infoHeader(2, 4, 4) + palette16();
    dib += QByteArray::fromHex("12000000"
                               "34000000"); // colour rows, bottom-up
    dib += QByteArray::fromHex("40000000"
                               "00000000"); // mask rows, bottom-up
    QByteArray b;
    appendLE16(b, 0);
    appendLE16(b, 1);
    appendLE16(b, 1);
    b += QByteArray::fromHex("0202100001000400");
    appendLE32(b, dib.size());
    appendLE32(b, 22);
    return b + dib;
}

TEST(IconReader, AppliesTheMask)
{
    const QImage icon = art::readIcon(tinyIcon());
    ASSERT_EQ(icon.size(), QSize(2, 2));
    EXPECT_EQ(qAlpha(icon.pixel(1, 1)), 0); // bottom row, second pixel masked
    EXPECT_EQ(icon.pixel(0, 1), qRgb(16, 1, 239));
    EXPECT_EQ(icon.pixel(1, 0), qRgb(64, 4, 191));
}

TEST(IconReader, RejectsDamagedFiles)
{
    QByteArray wrongType = tinyIcon();
    wrongType[2] = 2; // a cursor file
    EXPECT_THROW(art::readIcon(wrongType), art::ArtError);
    EXPECT_THROW(art::readIcon(tinyIcon().chopped(3)), art::ArtError);
    QByteArray badOffset = tinyIcon();
    badOffset[18] = char(0x7F);
    EXPECT_THROW(art::readIcon(badOffset), art::ArtError);
}

TEST(JpegDecoder, RejectsGarbageAndTruncatedPictures)
{
    EXPECT_THROW(art::decodeJpeg("not a jpeg at all"), art::ArtError);
    const QByteArray jpeg = arttest::assetFile("start.jpg");
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_EQ(art::decodeJpeg(jpeg).size(), QSize(799, 600));
    EXPECT_THROW(art::decodeJpeg(jpeg.left(jpeg.size() / 2)), art::ArtError);
}

// The message of the ArtError that decoding `jpeg` throws ("" when it decodes).
std::string jpegError(const QByteArray& jpeg)
{
    try {
        art::decodeJpeg(jpeg);
    } catch (const art::ArtError& e) {
        return e.what();
    }
    return {};
}

// The picture with its frame header (SOF0) claiming another size.
QByteArray withClaimedSize(QByteArray jpeg, int width, int height)
{
    const qsizetype sof = jpeg.indexOf("\xFF\xC0");
    if (sof < 0)
        return {};
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height & 0xFF);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width & 0xFF);
    return jpeg;
}

TEST(JpegDecoder, RefusesSidesAboveTheLimitBeforeMakingThePicture)
{
    // A header of a few bytes can claim 65500 x 65500 pixels (libjpeg's own limit): 16 GB that
    // must not be asked for.
    const QByteArray jpeg = arttest::assetFile("start.jpg");
    ASSERT_FALSE(withClaimedSize(jpeg, 1, 1).isEmpty());
    const std::string tooLarge = "is too large";
    for (const auto& [w, h] : { std::pair(art::kMaxPictureSide + 1, 1),
             std::pair(1, art::kMaxPictureSide + 1), std::pair(65500, 65500) }) {
        const std::string error = jpegError(withClaimedSize(jpeg, w, h));
        EXPECT_NE(error.find(tooLarge), std::string::npos) << w << " x " << h << ": " << error;
    }
    // At the limit the decoder goes on and meets the data, which is for another size (libjpeg
    // finds bytes left over).
    const std::string atLimit = jpegError(withClaimedSize(jpeg, art::kMaxPictureSide, 1));
    EXPECT_FALSE(atLimit.empty());
    EXPECT_EQ(atLimit.find(tooLarge), std::string::npos) << atLimit;
}

} // namespace
