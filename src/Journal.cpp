// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Journal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray header = "zentu journal 1\n";

bool writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            return false;
        done += std::max<ssize_t>(n, 0);
    }
    return true;
}

// Opened without following a link someone may have put in its place.
int openLocked(const QString& path, int flags)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

Journal::~Journal()
{
    release();
}

QString Journal::folder()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return (QDir::isAbsolutePath(state) ? state
                                        : QDir::homePath() + QStringLiteral("/.local/state")) +
           QStringLiteral("/zentu");
}

void Journal::record(const QString& step)
{
    if (m_fd < 0) {
        const QString dir = folder();
        if (!QDir().mkpath(dir) || ::chmod(QFile::encodeName(dir).constData(), 0700) != 0)
            return;
        m_path = QStringLiteral("%1/%2-%3.journal")
                     .arg(dir)
                     .arg(QDateTime::currentMSecsSinceEpoch())
                     .arg(QCoreApplication::applicationPid());
        m_fd = openLocked(m_path, O_WRONLY | O_CREAT | O_EXCL);
        if (m_fd < 0 || !writeAll(m_fd, header)) {
            discard();
            return;
        }
    }
    // A step that cannot be kept is still taken: the program works as without a journal.
    if (writeAll(m_fd, step.toUtf8() + '\n'))
        ::fdatasync(m_fd);
}

void Journal::discard()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    release();
}

void Journal::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

std::optional<Journal::Orphan> Journal::newestOrphan()
{
    const QDir dir(folder());
    for (const QString& name :
         dir.entryList({QStringLiteral("*.journal")}, QDir::Files, QDir::Time)) {
        const QString path = dir.filePath(name);
        const int fd = openLocked(path, O_RDONLY);
        if (fd < 0) // an instance that runs holds it
            continue;
        QFile file;
        QByteArray bytes;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            bytes = file.read(16 << 20);
        file.close();
        if (!bytes.startsWith(header)) {
            QFile::rename(path, path + QStringLiteral(".bad"));
            continue;
        }
        // Only what ends in a line break was written whole.
        QStringList steps =
            QString::fromUtf8(bytes.mid(header.size(), bytes.lastIndexOf('\n') + 1 - header.size()))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (steps.isEmpty()) {
            QFile::remove(path);
            continue;
        }
        return Orphan{path, steps};
    }
    return std::nullopt;
}
