#include "giflib_oracle.h"

#include <gif_lib.h>

#include <cstring>
#include <stdexcept>

namespace oracle {

namespace {

struct Reader
{
    const std::vector<std::uint8_t>* bytes;
    std::size_t pos = 0;
};

int readBytes(GifFileType* file, GifByteType* buf, int n)
{
    auto* r = static_cast<Reader*>(file->UserData);
    const std::size_t left = r->bytes->size() - r->pos;
    const std::size_t take = std::min<std::size_t>(left, std::size_t(n));
    std::memcpy(buf, r->bytes->data() + r->pos, take);
    r->pos += take;
    return int(take);
}

int writeBytes(GifFileType* file, const GifByteType* buf, int n)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(file->UserData);
    out->insert(out->end(), buf, buf + n);
    return n;
}

std::vector<std::uint32_t> fromMap(const ColorMapObject* map)
{
    std::vector<std::uint32_t> result;
    if (map) {
        for (int i = 0; i < map->ColorCount; ++i) {
            const GifColorType c = map->Colors[i];
            result.push_back(std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue);
        }
    }
    return result;
}

ColorMapObject* toMap(const std::vector<std::uint32_t>& colours)
{
    if (colours.empty())
        return nullptr;
    std::vector<GifColorType> entries(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        entries[i].Red = GifByteType(colours[i] >> 16);
        entries[i].Green = GifByteType(colours[i] >> 8);
        entries[i].Blue = GifByteType(colours[i]);
    }
    return GifMakeMapObject(int(colours.size()), entries.data());
}

} // namespace

Gif Decode(const std::vector<std::uint8_t>& bytes)
{
    Reader reader { &bytes };
    int error = 0;
    GifFileType* file = DGifOpen(&reader, readBytes, &error);
    if (!file)
        throw std::runtime_error("DGifOpen failed: " + std::to_string(error));
    if (DGifSlurp(file) != GIF_OK) {
        const int code = file->Error;
        DGifCloseFile(file, &error);
        throw std::runtime_error("DGifSlurp failed: " + std::to_string(code));
    }
    Gif gif;
    gif.width = file->SWidth;
    gif.height = file->SHeight;
    gif.background = file->SBackGroundColor;
    gif.globalPalette = fromMap(file->SColorMap);
    for (int i = 0; i < file->ImageCount; ++i) {
        const SavedImage& saved = file->SavedImages[i];
        Frame f;
        f.left = saved.ImageDesc.Left;
        f.top = saved.ImageDesc.Top;
        f.width = saved.ImageDesc.Width;
        f.height = saved.ImageDesc.Height;
        f.interlace = saved.ImageDesc.Interlace;
        f.localPalette = fromMap(saved.ImageDesc.ColorMap);
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(file, i, &gcb) == GIF_OK) {
            f.transparentIndex = gcb.TransparentColor;
            f.delayCs = gcb.DelayTime;
            f.disposal = gcb.DisposalMode;
        }
        // DGifSlurp de-interlaces into image order itself.
        f.indices.assign(saved.RasterBits, saved.RasterBits + std::size_t(f.width) * f.height);
        gif.frames.push_back(std::move(f));
    }
    DGifCloseFile(file, &error);
    return gif;
}

std::vector<std::uint8_t> Encode(const Gif& gif)
{
    // Written line by line: EGifSpew would leave its saved images behind (giflib 5.2).
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, writeBytes, &error);
    if (!file)
        throw std::runtime_error("EGifOpen failed: " + std::to_string(error));
    EGifSetGifVersion(file, true);
    ColorMapObject* global = toMap(gif.globalPalette);
    bool ok = EGifPutScreenDesc(file, gif.width, gif.height, 8, gif.background, global) == GIF_OK;
    GifFreeMapObject(global);
    for (const Frame& f : gif.frames) {
        if (!ok)
            break;
        if (f.transparentIndex >= 0 || f.delayCs || f.disposal) {
            GraphicsControlBlock gcb {};
            gcb.DisposalMode = f.disposal;
            gcb.DelayTime = f.delayCs;
            gcb.TransparentColor = f.transparentIndex;
            GifByteType block[4];
            const std::size_t n = EGifGCBToExtension(&gcb, block);
            ok = EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, int(n), block) == GIF_OK;
        }
        ColorMapObject* local = toMap(f.localPalette);
        ok = ok
            && EGifPutImageDesc(file, f.left, f.top, f.width, f.height, f.interlace, local)
                == GIF_OK;
        GifFreeMapObject(local);
        // Lines go out in stored order: pass order for an interlaced frame.
        std::vector<int> rows;
        if (f.interlace) {
            const int starts[] = { 0, 4, 2, 1 }, steps[] = { 8, 8, 4, 2 };
            for (int pass = 0; pass < 4; ++pass)
                for (int y = starts[pass]; y < f.height; y += steps[pass])
                    rows.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y)
                rows.push_back(y);
        }
        std::vector<GifPixelType> line(static_cast<std::size_t>(f.width));
        for (int y : rows) {
            std::memcpy(line.data(), f.indices.data() + std::size_t(y) * f.width, line.size());
            ok = ok && EGifPutLine(file, line.data(), f.width) == GIF_OK;
        }
        // giflib 5.2 keeps a copy of the local table and loses it at the next frame.
        GifFreeMapObject(file->Image.ColorMap);
        file->Image.ColorMap = nullptr;
    }
    if (EGifCloseFile(file, &error) != GIF_OK || !ok)
        throw std::runtime_error("giflib encoding failed");
    return out;
}

} // namespace oracle
