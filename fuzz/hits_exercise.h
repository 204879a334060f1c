#pragma once
// What the results-file fuzzer does with one input, shared with the replay test of the ordinary
// suite: the bytes become hits.dat, whatever their length, and the game's own steps run over it
// with the one record buffer the game keeps: open at start-up, the results button (read every
// record and show its texts), a game end (the texts set in the same buffer, the record appended,
// the list filled again), closing the window. Any broken promise of the file format aborts with
// a line on stderr; an EInOutError escaping from a plain writable file is a failure as well.

#include "results/hit_record.h"
#include "results/hits_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace hits_exercise {

using results::HitRecord;
using results::kHitRecordSize;

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "hits.dat exercise: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

// The file through plain POSIX calls, so that HitsFile is never checked against itself.
inline void writeFile(const QByteArray& path, const std::uint8_t* data, std::size_t size)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(fd >= 0, "cannot create the input file");
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        check(n > 0, "cannot write the input file");
        done += std::size_t(n);
    }
    ::close(fd);
}

inline QByteArray readFile(const QByteArray& path)
{
    QByteArray out;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    check(fd >= 0, "cannot open the file to check it");
    char chunk[4096];
    ssize_t n;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0)
        out.append(chunk, n);
    ::close(fd);
    check(n == 0, "cannot read the file to check it");
    return out;
}

// The lowest free descriptor number: the same before and after, or a handle leaked.
inline int lowestFreeDescriptor()
{
    const int fd = ::dup(0);
    if (fd >= 0)
        ::close(fd);
    return fd;
}

inline bool sameBytes(const HitRecord& record, const char* expected)
{
    return std::equal(record.bytes().begin(), record.bytes().end(),
        reinterpret_cast<const std::uint8_t*>(expected));
}

// Field layout: offset of the length byte and capacity, name, time, date.
struct Field
{
    int offset;
    int capacity;
};
constexpr Field kName { 0, results::kNameCapacity };
constexpr Field kTime { 31, results::kTimeCapacity };
constexpr Field kDate { 62, results::kDateCapacity };

// One Windows-1251 byte is one character, and no text reaches past its field.
inline void checkShownTexts(const HitRecord& record)
{
    const auto& b = record.bytes();
    const QString texts[] = { record.name(), record.time(), record.date() };
    const Field fields[] = { kName, kTime, kDate };
    for (int i = 0; i < 3; ++i) {
        check(texts[i].size() <= fields[i].capacity, "a text longer than its field");
        check(texts[i].size() == std::min<int>(b[fields[i].offset], fields[i].capacity),
            "a text whose length is not its length byte");
    }
}

// Characters as the player's text counts them: a surrogate pair is one.
inline QList<QStringView> characters(const QString& text)
{
    QList<QStringView> out;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair
            = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype len = pair ? 2 : 1;
        out.append(QStringView(text).sliced(i, len));
        i += len;
    }
    return out;
}

// A text set into a field reads back cut to the capacity, each character kept or, when
// Windows-1251 has no form for it, "?". ASCII and the Russian alphabet are always kept.
inline void checkStoredText(const QString& typed, const QString& stored, int capacity)
{
    const QList<QStringView> chars = characters(typed);
    check(stored.size() == std::min<qsizetype>(chars.size(), capacity), "a text cut wrongly");
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QStringView c = chars[i];
        const char16_t u = c.size() == 1 ? c[0].unicode() : 0xFFFF;
        const bool mustKeep
            = u < 0x80 || (u >= 0x0410 && u <= 0x044F) || u == 0x0401 || u == 0x0451;
        if (mustKeep)
            check(stored[i] == c[0], "a Windows-1251 character changed on the way to the file");
        else
            check((c.size() == 1 && stored[i] == c[0]) || stored[i] == u'?',
                "a character stored as something else than itself or ?");
    }
}

// Setting a shorter text leaves the rest of the field as the buffer held it.
inline void checkFieldTail(
    const std::array<std::uint8_t, kHitRecordSize>& before, const HitRecord& after, Field field)
{
    const int length = after.bytes()[field.offset];
    check(length <= field.capacity, "a length byte above the capacity written");
    for (int i = field.offset + 1 + length; i <= field.offset + field.capacity; ++i)
        check(after.bytes()[i] == before[i], "bytes past a text's length changed");
}

// The texts a player could produce from the input: its tail as UTF-8 (broken sequences and
// characters outside Windows-1251 included), its head as raw UTF-16 (lone surrogates included).
inline QString typedName(const std::uint8_t* data, std::size_t size)
{
    const std::size_t n = std::min<std::size_t>(size, 48);
    return QString::fromUtf8(reinterpret_cast<const char*>(data + size - n), qsizetype(n));
}

inline QString typedDate(const std::uint8_t* data, std::size_t size)
{
    QString out;
    for (std::size_t i = 0; i + 1 < std::min<std::size_t>(size, 48); i += 2)
        out.append(QChar(char16_t(data[i] | data[i + 1] << 8)));
    return out;
}

// What a text read from a record becomes when it is set into a record again.
inline QString copiedText(QString text)
{
    return text.replace(QChar(QChar::ReplacementCharacter), u'?');
}

} // namespace hits_exercise

// `path` is the hits.dat to use; it is overwritten with the input.
inline void ExerciseHitsFile(const QString& path, const std::uint8_t* data, std::size_t size)
{
    using namespace hits_exercise;
    const QByteArray nativePath = QFile::encodeName(path);
    writeFile(nativePath, data, size);
    const auto* input = reinterpret_cast<const char*>(data);
    const long long count = static_cast<long long>(size) / kHitRecordSize;
    const int freeBefore = lowestFreeDescriptor();

    // Start-up: the existing file is opened and left as it is.
    results::HitsFile file;
    file.OpenAtStartup(path);
    check(file.isOpen(), "not open after start-up");
    check(readFile(nativePath) == QByteArray(input, qsizetype(size)), "start-up changed the file");

    // The results button: every whole record in file order, a partial tail none.
    HitRecord buffer;
    long long seen = 0;
    QString lastTime;
    file.ReadAll(buffer, [&](const HitRecord& record) {
        check(&record == &buffer, "a record handed on outside the buffer");
        check(seen < count, "more records than whole 83-byte pieces");
        check(sameBytes(record, input + seen * kHitRecordSize), "a record read wrongly");
        checkShownTexts(record);
        lastTime = record.time();
        ++seen;
    });
    check(seen == count, "fewer records than whole 83-byte pieces");

    // A game end: the texts set in the buffer that still holds the last record read.
    const auto before = buffer.bytes();
    const QString name = typedName(data, size);
    const QString time = count > 0 ? lastTime : QStringLiteral("5:59:99");
    const QString date = typedDate(data, size);
    buffer.setName(name);
    buffer.setTime(time);
    buffer.setDate(date);
    checkFieldTail(before, buffer, kName);
    checkFieldTail(before, buffer, kTime);
    checkFieldTail(before, buffer, kDate);
    checkStoredText(name, buffer.name(), results::kNameCapacity);
    check(buffer.time() == copiedText(time), "a time copied from a record changed");
    checkStoredText(date, buffer.date(), results::kDateCapacity);
    checkShownTexts(buffer);
    const auto appended = buffer.bytes();

    // The append lands on the last whole-record boundary, over any partial tail.
    file.Append(buffer);
    const QByteArray after = readFile(nativePath);
    const qsizetype kept = qsizetype(count) * kHitRecordSize;
    check(after.size() == kept + kHitRecordSize, "the file has the wrong length after the append");
    check(after.left(kept) == QByteArray(input, kept), "the append changed an earlier record");
    check(
        sameBytes(buffer, after.constData() + kept), "the appended record differs from the buffer");

    // The list filled again: the old records, then the new one byte for byte.
    seen = 0;
    file.ReadAll(buffer, [&](const HitRecord& record) {
        check(seen <= count, "more records than were written");
        const char* expected = seen < count ? input + seen * kHitRecordSize
                                            : reinterpret_cast<const char*>(appended.data());
        check(sameBytes(record, expected), "a record read back wrongly after the append");
        checkShownTexts(record);
        ++seen;
    });
    check(seen == count + 1, "the appended record was not read back");

    // Closing the window.
    file.Close();
    check(!file.isOpen(), "still open after closing");
    check(lowestFreeDescriptor() == freeBefore, "a file handle leaked");
}
