// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Every fsync of a test binary, the program's and the toolkit's alike, by the
// path of what it synced: a save counts only once it is on the disk. The
// binary's own fsync comes first and hands each call on to the C library's.

#include <QFile>
#include <QStringList>

#include <dlfcn.h>
#include <unistd.h>

inline QStringList& synced()
{
    static QStringList paths;
    return paths;
}

extern "C" int fsync(int fd)
{
    char path[4096] = {};
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    if (readlink(link.constData(), path, sizeof path - 1) > 0)
        synced() << QFile::decodeName(path);
    using Fsync = int (*)(int);
    static const auto next = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
    return next(fd);
}
