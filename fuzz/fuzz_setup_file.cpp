// The setup reader through a file: the first byte chooses what stands at the
// name (a regular file of the other bytes, a FIFO, a link to /dev/zero, a
// folder, a dangling link, a file one byte over the limit). Only a regular
// file within the limit may give a setup, and the same one its bytes give;
// everything else is refused at once with one line naming the file. A setup
// read is written out and read back the same.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

#include "setup/setup_file.h"

using namespace kelvane::setup;

namespace {

enum Kind : std::uint8_t { Regular, Fifo, DeviceLink, Folder, Dangling, Oversized, Kinds };

bool put(Kind kind, const QString& path, const QByteArray& bytes) {
    switch (kind) {
    case Fifo:
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case DeviceLink:
        return QFile::link("/dev/zero", path);
    case Folder:
        return QDir().mkdir(path);
    case Dangling:
        return QFile::link(path + ".missing", path);
    default:
        break;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    if (kind == Oversized) file.write(QByteArray((1 << 20) + 1 - bytes.size(), ' '));
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir folder;
    if (size == 0 || size > (1 << 20)) return 0;
    const auto kind = static_cast<Kind>(data[0] % Kinds);
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    const QString path = folder.filePath("f.kelvane");
    QFile::remove(path);
    QDir().rmdir(path);
    if (!put(kind, path, bytes)) std::abort();

    const SetupRead read = readSetup(path);
    if (const auto* error = std::get_if<SetupError>(&read)) {
        if (!error->message.startsWith(path + ": ") || error->message.contains('\n')) std::abort();
        if (kind == Regular && !std::holds_alternative<SetupError>(parseSetup(bytes, path)))
            std::abort();
        return 0;
    }
    if (kind != Regular || std::get<Setup>(parseSetup(bytes, path)) != std::get<Setup>(read))
        std::abort();
    const QString copy = folder.filePath("copy.kelvane");
    if (writeSetup(copy, std::get<Setup>(read), std::nullopt)) std::abort();
    const SetupRead again = readSetup(copy);
    if (!std::holds_alternative<Setup>(again) || std::get<Setup>(again) != std::get<Setup>(read))
        std::abort();
    return 0;
}
