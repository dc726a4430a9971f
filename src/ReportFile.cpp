// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReportFile.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a pipe's reader may leave it full before the save is given up.
constexpr int drainTimeoutMs = 1000;

// A blocking call interrupted by a signal is made again: a signal is no reason
// of the user's for a save to fail.
template <typename Call> auto retried(Call call)
{
    auto result = call();
    while (result == -1 && errno == EINTR)
        result = call();
    return result;
}

// Room for the whole report before a byte of the old one is overwritten: within
// the file size limit, and on the disk. Where the file system cannot reserve
// room, the report is written over the old one from its start and the old tail
// cut off only after it, so a disk that fills midway still leaves the end of
// the old report rather than nothing.
bool reserve(int fd, off_t size)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        static_cast<rlim_t>(size) > limit.rlim_cur)
        return false;
    int error = EINTR;
    while (error == EINTR)
        error = ::posix_fallocate(fd, 0, size);
    return error == 0 || error == EOPNOTSUPP || error == EINVAL || error == ENOSYS;
}

// Waits for a full pipe to drain, for at most the given time in all, however
// often a signal interrupts the wait.
bool drained(int fd, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        pollfd ready{fd, POLLOUT, 0};
        const int n = ::poll(&ready, 1, static_cast<int>(deadline.remainingTime()));
        if (n > 0)
            return (ready.revents & POLLOUT) != 0;
        if (n == 0 || errno != EINTR || deadline.hasExpired())
            return false;
    }
}

// A device or a pipe cannot be replaced atomically and must not be turned into
// a regular file, so it is written in place, and so is a regular file that a
// replacement would take from its owner or from its other names, or that lies
// in a folder where no new file may be made. A regular file is not truncated
// first: its room is reserved, the report written over it, the rest cut off,
// and all of it synced to the disk. Opening without O_NONBLOCK waits for good
// for a pipe nobody reads; a full pipe gets a moment to drain, never more. A
// reader that goes away mid-write raises SIGPIPE, which would end the program
// and lose the data set, so it is ignored while we write.
bool writeInPlace(const QString& path, const QByteArray& bytes)
{
    const int fd = retried([&path] {
        return ::open(QFile::encodeName(path).constData(),
                      O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    });
    if (fd < 0)
        return false;
    struct stat target
    {
    };
    const bool regular = ::fstat(fd, &target) == 0 && S_ISREG(target.st_mode);
    const auto size = static_cast<off_t>(bytes.size());
    if (regular && !reserve(fd, size)) {
        ::close(fd);
        return false;
    }
    struct sigaction ignore
    {
    };
    struct sigaction previous
    {
    };
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    const char* data = bytes.constData();
    auto left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written > 0) {
            data += written;
            left -= static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno == EAGAIN && drained(fd, drainTimeoutMs))
            continue;
        break;
    }
    ::sigaction(SIGPIPE, &previous, nullptr);
    bool whole = left == 0;
    if (regular && whole)
        whole = retried([fd, size] { return ::ftruncate(fd, size); }) == 0 &&
                retried([fd] { return ::fsync(fd); }) == 0;
    return ::close(fd) == 0 && whole;
}

// A file renamed into place is on the disk only once its folder is.
void syncFolderOf(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        retried([fd] { return ::fsync(fd); });
        ::close(fd);
    }
}

// An existing device or pipe, or a regular file that belongs to someone else
// or has other names: replacing it would change what it is. A new file or a
// directory goes to QSaveFile, which creates or refuses it.
bool keptInPlace(const QString& path)
{
    struct stat target
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &target) != 0)
        return false;
    return S_ISREG(target.st_mode) ? target.st_uid != ::geteuid() || target.st_nlink > 1
                                   : !S_ISDIR(target.st_mode);
}

} // namespace

// A regular file is written aside and renamed over the target only when
// complete, so a failure never leaves it half-written or emptied; where its
// folder takes no new file, it is written in place instead. QSaveFile buffers,
// and a failed flush inside commit() still renames the truncated file into
// place and reports success: the data is flushed and checked first. Its own
// fallback for such a folder would truncate the file first.
bool writeReport(const QString& path, const QByteArray& bytes)
{
    if (keptInPlace(path))
        return writeInPlace(path, bytes);
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return QFileInfo(path).isFile() && writeInPlace(path, bytes);
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) // its data synced before the rename
        return false;
    syncFolderOf(path);
    return true;
}

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const
{
    if (!info.isFile())
        return QFileIconProvider::icon(info);
    const QMimeType mime = mimeOf(info);
    return QIcon::fromTheme(
        mime.iconName(),
        QIcon::fromTheme(mime.genericIconName(), QFileIconProvider::icon(QFileIconProvider::File)));
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const
{
    return info.isFile() ? mimeOf(info).comment() : QFileIconProvider::type(info);
}

QMimeType NameOnlyIconProvider::mimeOf(const QFileInfo& info) const
{
    return m_mimes.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}
