#include "setup/file_access.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvane::setup {
namespace {

const QString notRegular = QStringLiteral("not a regular file");

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads up to limit + 1 bytes of an open file, so that one byte too many shows.
std::variant<QByteArray, FileFault> readUpTo(QFile& file, qint64 limit) {
    const QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) return FileFault{file.errorString()};
    if (bytes.size() > limit) return FileFault{"larger than " + sizeText(limit)};
    return bytes;
}

} // namespace

QString sizeText(qint64 bytes) {
    constexpr qint64 mebibyte = 1 << 20;
    if (bytes >= mebibyte && bytes % mebibyte == 0) return QString("%1 MiB").arg(bytes / mebibyte);
    return QString("%1 bytes").arg(bytes);
}

std::variant<QByteArray, FileFault> readRegularFile(const QString& path, qint64 limit) {
#ifdef Q_OS_UNIX
    // Opened without waiting, then the open file's own type is checked: a FIFO
    // does not block the open, and no other file can take the name in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FileFault{systemReason(errno)};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return FileFault{systemReason(error)};
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return FileFault{notRegular};
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileFault{file.errorString()};
    }
    return readUpTo(file, limit);
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return FileFault{notRegular};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return FileFault{file.errorString()};
    return readUpTo(file, limit);
#endif
}

std::optional<FileFault> writeWholeFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo target(path);
    if (target.isSymLink() && !target.exists())
        return FileFault{"a link to a file that does not exist"};
    if (target.exists() && !target.isFile()) return FileFault{notRegular};
    QSaveFile file(path);
    // Unbuffered, so that a failing write reports the system's own reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FileFault{file.errorString()};
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // A write the system took only in part is no error to QFile; the
        // system's reason is that of the refused rest.
        const int error = errno;
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString()
                               : error != 0                         ? systemReason(error)
                                            : QStringLiteral("only part of it was written");
        file.cancelWriting();
        return FileFault{reason};
    }
    if (!file.commit()) return FileFault{file.errorString()};
    return std::nullopt;
}

} // namespace kelvane::setup
