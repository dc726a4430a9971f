// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReportFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How long a pipe's reader may leave it full before the save is given up.
constexpr int drainTimeoutMs = 1000;

// A device or a pipe cannot be replaced atomically and must not be turned into
// a regular file, so it is written in place, and so is a regular file that a
// replacement would take from its owner or from its other names (truncated
// first; devices and pipes ignore that). Opening without O_NONBLOCK waits for
// good for a pipe nobody reads; a full pipe gets a moment to drain, never more.
// A reader that goes away mid-write raises SIGPIPE, which would end the program
// and lose the data set, so it is ignored while we write.
bool writeInPlace(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
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
        pollfd ready{fd, POLLOUT, 0};
        if (written < 0 && errno == EAGAIN && ::poll(&ready, 1, drainTimeoutMs) > 0 &&
            (ready.revents & POLLOUT) != 0)
            continue;
        break;
    }
    ::sigaction(SIGPIPE, &previous, nullptr);
    return ::close(fd) == 0 && left == 0;
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
// place and reports success: the data is flushed and checked first.
bool writeReport(const QString& path, const QByteArray& bytes)
{
    if (keptInPlace(path))
        return writeInPlace(path, bytes);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
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
