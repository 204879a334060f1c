#pragma once
// giflib reading from memory, for the tests that use it as an independent decoder of the
// built-in animations.

#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <gif_lib.h>
#include <memory>

namespace arttest {

struct GifCloser
{
    void operator()(GifFileType* file) const
    {
        int error = 0;
        DGifCloseFile(file, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// The whole file read and decoded by giflib (DGifSlurp); null with `error` set when giflib
// refuses it.
inline GifFile slurpGif(const QByteArray& bytes, int& error)
{
    struct Stream
    {
        const QByteArray* bytes;
        qsizetype at = 0;
    } stream { &bytes };
    const InputFunc read = [](GifFileType* file, GifByteType* out, int count) {
        auto* s = static_cast<Stream*>(file->UserData);
        const int n = int(std::min<qsizetype>(count, s->bytes->size() - s->at));
        std::memcpy(out, s->bytes->constData() + s->at, std::size_t(n));
        s->at += n;
        return n;
    };
    GifFile file(DGifOpen(&stream, read, &error));
    if (file && DGifSlurp(file.get()) != GIF_OK) {
        error = file->Error;
        file.reset();
    }
    if (file)
        file->UserData = nullptr; // the stream ends here
    return file;
}

} // namespace arttest
