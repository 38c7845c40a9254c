#include "link/open_failure.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kelvane::link {
namespace {

QString inUse(const QString& device) {
    return QString("%1 is in use by another program. Close that program, then press the "
                   "button again.")
        .arg(device);
}

#ifdef Q_OS_UNIX
// The group that owns the device, such as "dialout"; empty when unknown.
QString owningGroup(const QByteArray& path) {
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) return {};
    const group* owner = ::getgrgid(status.st_gid);
    return owner ? QString::fromLocal8Bit(owner->gr_name) : QString::number(status.st_gid);
}
#endif

} // namespace

QString openFailureCause(QSerialPort::SerialPortError error, const QString& device,
                         const QString& errorText) {
    if (error == QSerialPort::DeviceNotFoundError) return QString("%1 was not found.").arg(device);
    if (error != QSerialPort::PermissionError) return QString("%1: %2").arg(device, errorText);
#ifdef Q_OS_UNIX
    // The port reports a device held by another program as a permission error
    // too; only a device this user may not read and write is really one.
    const QString path = device.startsWith('/') ? device : "/dev/" + device;
    const QByteArray encoded = QFile::encodeName(path);
    if (::access(encoded.constData(), R_OK | W_OK) == 0) return inUse(path);
    // A path the system cannot even look up (too long, not a folder on the way)
    // is no matter of permission.
    if (errno == ENOENT) return QString("%1 was not found.").arg(path);
    if (errno != EACCES && errno != EPERM && errno != EROFS)
        return QString("%1 cannot be opened: %2.")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    const QString group = owningGroup(encoded);
    if (group.isEmpty()) return QString("Permission denied for %1.").arg(path);
#ifdef Q_OS_LINUX
    return QString("Permission denied for %1: your user must be in the group \"%2\" that owns "
                   "it (sudo usermod -aG %2 $USER), then log in again.")
        .arg(path, group);
#else
    // Other systems add a user to a group each in their own way.
    return QString("Permission denied for %1: your user must be in the group \"%2\" that owns "
                   "it, then log in again.")
        .arg(path, group);
#endif
#else
    // Windows reports a port held by another program as access denied.
    return inUse(device);
#endif
}

} // namespace kelvane::link
