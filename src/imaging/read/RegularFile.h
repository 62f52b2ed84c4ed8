#pragma once

#include <QByteArray>
#include <QString>

namespace plenoria {

// A regular file open for reading, or why the name gives none; closed when it goes. The name is
// opened without waiting on a pipe and the open file, not the name, is asked for its type and size,
// so a pipe, a device or a file swapped in meanwhile is never read. Every reader of a path that
// comes from outside (the scan, the preview, the bench, a stamp) goes through here.
class RegularFile {
public:
    // opened: readable. unreadable: a regular file that would not open (`error()` says why).
    // notAFile: a folder, pipe, device, socket, or a loop of links. unreachable: nothing could be
    // found at the name (`error()` says why).
    enum class Outcome { opened, unreadable, notAFile, unreachable };
    // Whether a link at the name itself is followed, or counts as not a file.
    enum class Links { follow, refuse };

    // Larger files are never read whole: no image of ours comes near it, and the decode budget would
    // refuse its frames anyway.
    static constexpr qint64 maxFileBytes = 1024LL * 1024 * 1024;

    explicit RegularFile(const QString& path, Links links = Links::follow);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    Outcome outcome() const { return m_outcome; }
    // The size in bytes (0 when not a file); a regular file that would not open still has one.
    qint64 size() const { return m_size; }
    // The errno of the failed open or read; 0 otherwise.
    int error() const { return m_error; }

    // Up to `count` bytes from `offset`; fewer when the file ends or a read fails (`error()` then set).
    QByteArray read(qint64 offset, qint64 count) const;

    // The whole content of the file at `path`, or why it was not read; a link at the name itself is
    // followed or refused as `links` says (links along the path are always followed).
    struct [[nodiscard]] Contents {
        enum class Refusal { none, unreadable, notAFile, tooLarge };
        Refusal refusal = Refusal::none;
        QByteArray bytes; // every byte when `refusal` is none
        int error = 0; // the errno when unreadable
        bool ok() const { return refusal == Refusal::none; }
    };
    [[nodiscard]] static Contents readWhole(
        const QString& path, qint64 maxBytes = maxFileBytes, Links links = Links::follow);

private:
    int m_fd = -1;
    Outcome m_outcome = Outcome::unreachable;
    qint64 m_size = 0;
    mutable int m_error = 0;
};

} // namespace plenoria
