#pragma once
// The plain asset files of the source tree, for checks of their raw bytes.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace arttest {

inline QString sourceArtDir()
{
    return QStringLiteral(ART_SOURCE_DIR);
}

inline QByteArray assetFile(const QString& name)
{
    QFile file(sourceArtDir() + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline std::uint32_t le16(const QByteArray& b, qsizetype at)
{
    return std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8;
}

inline std::uint32_t le32(const QByteArray& b, qsizetype at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

} // namespace arttest
