#pragma once
// Reading and writing the files a user names (setups, hop lists), so that a
// wrong name can neither hang nor crash a program nor destroy a file.
//
// Only regular files are read, and no more than a limit: a FIFO would block
// the open, a device such as /dev/zero never ends, a folder has no content.
// A write goes to a new file in the same folder that replaces the old one only
// once every byte is written and flushed: a full disk leaves the old file as
// it was. Only a regular file (or a name not taken) is replaced; a link that
// points nowhere is refused rather than followed to create its target.

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace kelvane::setup {

// Why a file was not read or written, as a clause: "not a regular file",
// "larger than 1 MiB", "No space left on device".
struct FileFault {
    QString reason;
};

// The whole file, or the fault when it is not a regular file, cannot be
// opened, or holds more than `limit` bytes.
std::variant<QByteArray, FileFault> readRegularFile(const QString& path, qint64 limit);

// Writes `bytes` as the whole of the file at `path`, or leaves what was there.
std::optional<FileFault> writeWholeFile(const QString& path, const QByteArray& bytes);

// "1 MiB", "8 MiB", "512 bytes": a limit as a refusal names it.
QString sizeText(qint64 bytes);

} // namespace kelvane::setup
