#pragma once

#include "results/hit_record.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace results {

// hits.dat: fixed 83-byte records back to back, no header. The record count is the file length
// div 83; a partial record at the end is not a record. The file is opened shared: other
// openers, another copy of the game among them, may read and write it at the same time.
//
// Every failure throws EInOutError with the runtime's code (see io_error.h); nothing is
// reported as success that did not fully happen.
class HitsFile
{
public:
    // How written data is flushed to the disk: fdatasync(2) semantics, 0 or -1 with errno.
    // Tests put in one that records or fails.
    using SyncFunction = int (*)(int fd);

    explicit HitsFile(SyncFunction sync = nullptr);
    HitsFile(const HitsFile&) = delete;
    HitsFile& operator=(const HitsFile&) = delete;
    // Closes quietly.
    ~HitsFile();

    // Start-up: creates the file empty when none exists (an existing one is left untouched), and
    // then flushes its folder once so the new name survives a power cut; then opens it for
    // reading and writing at record 0. The path is remembered for ReadAll even when the open
    // fails.
    void OpenAtStartup(const QString& path);
    bool isOpen() const { return m_fd >= 0; }

    // Writes the record at record number (file length div 83), so a partial tail is overwritten.
    // An exclusive lock on the file is held while the position is computed and the record
    // written, so two copies of the game appending at once never land on the same record.
    // A write that stores fewer than 83 bytes fails (no space: "Disk full"). The record is on
    // the disk when this returns (flushed as a database commits), so a finished game's record
    // survives a power cut; a failed flush is a failure too. Not open → EInOutError(103).
    void Append(const HitRecord& record);

    // Opens the file again (same path and mode; the new handle replaces the old one, which is
    // closed), then reads every whole record present at that moment into `buffer`, in file
    // order, calling `each` after each read. A record that can no longer be read in full (the
    // file shrank meanwhile) → EInOutError(100). No path was ever given → EInOutError(103).
    void ReadAll(HitRecord& buffer, const std::function<void(const HitRecord&)>& each);

    // Closes the handle. Not open → EInOutError(103).
    void Close();

private:
    int openReadWrite() const;
    void syncFolder() const;

    SyncFunction m_sync;
    QByteArray m_path; // in the file system's encoding
    int m_fd = -1;
    long long m_recordPos = 0; // the handle's current record number
};

} // namespace results
