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
// More than any data set typed or pasted by hand needs; what lies beyond is
// not read, so reading any journal stays within a few times this.
constexpr qint64 largestRead = 16 << 20;

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

QByteArray readAtMost(int fd, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes.data() + done, static_cast<std::size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

} // namespace

Journal::Orphan::Orphan(QString path, int fd, QByteArray records)
    : m_path(std::move(path)), m_fd(fd), m_records(std::move(records))
{
}

Journal::Orphan::Orphan(Orphan&& other) noexcept
    : m_path(std::move(other.m_path)), m_fd(std::exchange(other.m_fd, -1)),
      m_records(std::move(other.m_records))
{
}

Journal::Orphan::~Orphan()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool Journal::Orphan::next(qsizetype& at, QString& record) const
{
    if (at >= m_records.size())
        return false;
    const qsizetype end = m_records.indexOf('\n', at);
    record = QString::fromUtf8(m_records.constData() + at, end - at);
    at = end + 1;
    return true;
}

// Removed while still locked, so no other instance can take it in between.
void Journal::Orphan::remove()
{
    QFile::remove(m_path);
    m_records.clear();
}

Journal::Verdict Journal::read(const QByteArray& bytes,
                               const std::function<bool(const QString&)>& opens,
                               QByteArray* records)
{
    if (header.startsWith(bytes)) // begun, but not one record written
        return Verdict::Empty;
    if (!bytes.startsWith(header))
        return Verdict::NotOurs;
    // Only what ends in a line break was written whole.
    const qsizetype end = bytes.lastIndexOf('\n') + 1;
    qsizetype first = header.size();
    while (first < end && bytes.at(first) == '\n')
        ++first;
    if (first >= end)
        return Verdict::Empty;
    const qsizetype firstEnd = bytes.indexOf('\n', first);
    if (!opens(QString::fromUtf8(bytes.constData() + first, firstEnd - first)))
        return Verdict::Refused;
    if (records != nullptr)
        *records = bytes.mid(first, end - first);
    return Verdict::Offered;
}

std::optional<Journal::Orphan>
Journal::newestOrphan(const std::function<bool(const QString&)>& opens)
{
    const QDir dir(folder());
    for (const QString& name :
         dir.entryList({QStringLiteral("*.journal")}, QDir::Files, QDir::Time)) {
        const QString path = dir.filePath(name);
        const int fd = openLocked(path, O_RDONLY);
        if (fd < 0) // an instance that runs holds it
            continue;
        QByteArray records;
        switch (read(readAtMost(fd, largestRead), opens, &records)) {
        case Verdict::Offered:
            return Orphan(path, fd, std::move(records));
        case Verdict::Empty:
            QFile::remove(path);
            break;
        case Verdict::NotOurs:
        case Verdict::Refused:
            QFile::rename(path, path + QStringLiteral(".bad"));
            break;
        }
        ::close(fd);
    }
    return std::nullopt;
}

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
    m_pending += step.toUtf8() + '\n';
    flush();
}

bool Journal::begin()
{
    const QString dir = folder();
    if (!QDir().mkpath(dir) || ::chmod(QFile::encodeName(dir).constData(), 0700) != 0)
        return false;
    m_path = QStringLiteral("%1/%2-%3.journal")
                 .arg(dir)
                 .arg(QDateTime::currentMSecsSinceEpoch())
                 .arg(QCoreApplication::applicationPid());
    m_fd = openLocked(m_path, O_WRONLY | O_CREAT | O_EXCL);
    if (m_fd < 0) {
        m_path.clear();
        return false;
    }
    m_written = 0;
    m_pending.prepend(header);
    return true;
}

// Everything not yet on the disk, in one write after the whole records there;
// a write that fails midway is cut off again, so the disk never holds a torn
// record that a later one would run into, and it is tried again with the next
// step. A step that cannot be kept is still taken: the program works on.
void Journal::flush()
{
    if (m_fd < 0 && !begin())
        return;
    if (::lseek(m_fd, m_written, SEEK_SET) != m_written || !writeAll(m_fd, m_pending) ||
        ::fdatasync(m_fd) != 0) {
        if (::ftruncate(m_fd, m_written) == 0)
            ::fdatasync(m_fd);
        return;
    }
    m_written += m_pending.size();
    m_pending.clear();
    if (m_adopted) {
        m_adopted->remove();
        m_adopted.reset();
    }
}

void Journal::adopt(Orphan&& orphan)
{
    m_adopted.emplace(std::move(orphan));
    if (m_fd >= 0 && m_pending.isEmpty()) {
        m_adopted->remove();
        m_adopted.reset();
    }
}

void Journal::discard()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    if (m_adopted)
        m_adopted->remove();
    release();
}

void Journal::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
    m_written = 0;
    m_pending.clear();
    m_adopted.reset();
}
