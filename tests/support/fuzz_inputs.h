#pragma once
// The inputs a replay test runs through a fuzz target's exercise: the target's committed corpus
// (fuzz/corpus/<target>/) and the inputs it once failed on (tests/<module>/fuzz_crashers/).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace fuzztest {

// Every file of `folder` (relative to the repository root), sorted by name, with its bytes.
// A folder that does not exist gives none: a target may have no crasher yet.
inline std::vector<std::pair<std::string, QByteArray>> filesOf(const char* folder)
{
    std::vector<std::pair<std::string, QByteArray>> out;
    const QDir dir(QStringLiteral(MNEMIRA_SOURCE_DIR "/") + QString::fromUtf8(folder));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << dir.filePath(name).toStdString();
            continue;
        }
        out.emplace_back(std::string(folder) + '/' + name.toStdString(), file.readAll());
    }
    return out;
}

inline const std::uint8_t* bytesOf(const QByteArray& bytes)
{
    return reinterpret_cast<const std::uint8_t*>(bytes.constData());
}

} // namespace fuzztest
