#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

namespace results {

// Texts of the results file are one byte per character in the Windows-1251 code page. The
// conversion goes through Qt's converter (the system ICU); there is no table of our own.

// The first `maxChars` characters of `text` (code points, so a surrogate pair is one character),
// one byte each. A character with no Windows-1251 form, an unpaired surrogate included, becomes
// "?". The result never has more than `maxChars` bytes.
QByteArray EncodeCp1251(QStringView text, int maxChars);

// `size` bytes of Windows-1251 text.
QString DecodeCp1251(const std::uint8_t* data, int size);

} // namespace results
