// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

class QByteArray;
class QString;

// Writes a saved report to path. True only when every byte arrived and, in a
// file, is on the disk; the call never blocks for long. A regular file is left
// exactly as it was on false where there was no room for the report, or it was
// replaced atomically.
bool writeReport(const QString& path, const QByteArray& bytes);

// Types and icons from the file name only, for the save dialog. The stock
// provider reads the start of every regular file the dialog lists, which blocks
// for good on files such as /proc/kmsg; and Qt's dialog first opens the last
// directory any Qt program visited, so one visit there elsewhere would hang
// every later save.
class NameOnlyIconProvider : public QFileIconProvider
{
public:
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QMimeType mimeOf(const QFileInfo& info) const;
    QMimeDatabase m_mimes;
};
