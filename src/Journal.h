// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the user has entered since the last save, one accepted step a line,
// each written through to the disk before the dialog shows it, so that a crash,
// a kill or a power cut loses nothing the user saw; the next start offers it
// back. Kept in $XDG_STATE_HOME/zentu (~/.local/state/zentu), a folder only its
// owner may enter: it holds research data. Each running instance has a journal
// of its own, locked while it runs, so no other instance offers it. Where the
// folder cannot be written, steps simply go unrecorded.
class Journal
{
public:
    Journal() = default;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    ~Journal(); // keeps the file: an instance that ends without saving leaves it

    // One step, "v 2.5", "p 3", "e" or "c"; the first creates the journal.
    void record(const QString& step);
    // Nothing entered needs keeping any more: the journal goes.
    void discard();
    // Lets go of the journal and keeps it, as the end of the process does.
    void release();

    struct Orphan
    {
        QString path;
        QStringList steps; // a record torn mid-write left out
    };
    // The newest journal that no running instance holds and that has a step in
    // it; ones with none are removed, ones not ours set aside as NAME.bad.
    static std::optional<Orphan> newestOrphan();
    static QString folder();

private:
    int m_fd = -1;
    QString m_path;
};
