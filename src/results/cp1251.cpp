#include "results/cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>
#include <stdexcept>

namespace results {
namespace {

constexpr char kCodec[] = "windows-1251";

} // namespace

QByteArray EncodeCp1251(QStringView text, int maxChars)
{
    std::optional<QStringEncoder> encoder(std::in_place, kCodec, QStringConverter::Flag::Stateless);
    if (!encoder->isValid())
        throw std::runtime_error("Windows-1251 converter not available");
    QByteArray out;
    qsizetype i = 0;
    while (i < text.size() && out.size() < maxChars) {
        // One character: a surrogate pair or a single unit.
        qsizetype len = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            len = 2;
        const QStringView ch = text.sliced(i, len);
        i += len;
        // Each character on its own, so that the converter's substitution byte (0x1A, which is
        // also the form of U+001A) is told apart from a real character by the error flag. The
        // flag stays set through resetState(), so an encoder that has failed once is built anew
        // (in place: a moved-into encoder loses its error reporting).
        const QByteArray one = encoder->encode(ch);
        if (encoder->hasError() || one.size() != 1 || (len == 1 && ch[0].isSurrogate())) {
            out.append('?');
            if (encoder->hasError())
                encoder.emplace(kCodec, QStringConverter::Flag::Stateless);
        } else {
            out.append(one);
        }
    }
    return out;
}

QString DecodeCp1251(const std::uint8_t* data, int size)
{
    QStringDecoder decoder(kCodec, QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        throw std::runtime_error("Windows-1251 converter not available");
    return decoder.decode(QByteArrayView(data, size));
}

} // namespace results
