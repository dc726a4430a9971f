// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// What the user has entered since the last save, one accepted step a line,
// each written through to the disk before the dialog shows it, so that a crash,
// a kill or a power cut loses nothing the user saw; the next start offers it
// back. Kept in $XDG_STATE_HOME/zentu (~/.local/state/zentu), a folder only its
// owner may enter: it holds research data. Each running instance has a journal
// of its own, locked while it runs, so no other instance offers it. Where the
// folder cannot be written, steps simply go unrecorded. The disk holds only
// whole records, in order: a record that does not fit is cut off again, and
// the next step writes it with its own once there is room.
class Journal
{
public:
    // A journal left by a run that ended without saving, locked from the moment
    // it is read until it is removed or let go of, so no other instance offers it.
    class Orphan
    {
    public:
        Orphan(QString path, int fd, QByteArray records);
        Orphan(Orphan&& other) noexcept;
        Orphan(const Orphan&) = delete;
        Orphan& operator=(const Orphan&) = delete;
        Orphan& operator=(Orphan&&) = delete;
        ~Orphan(); // lets go of it, kept on the disk

        // The record that starts at at, and at moved past it; false after the last.
        bool next(qsizetype& at, QString& record) const;
        void remove();

    private:
        QString m_path;
        int m_fd;
        QByteArray m_records; // whole ones only, each ending in a line break
    };
    // What a journal's bytes hold: the whole records where the first is one the
    // dialog would take (opens); otherwise why not.
    enum class Verdict
    {
        Offered,
        NotOurs, // set aside as NAME.bad
        Empty,   // no whole record: removed
        Refused, // its first step would not be taken: set aside as NAME.bad
    };
    static Verdict read(const QByteArray& bytes, const std::function<bool(const QString&)>& opens,
                        QByteArray* records = nullptr);
    // The newest journal that no running instance holds and whose first step
    // opens a data set; the others met on the way are removed or set aside.
    static std::optional<Orphan> newestOrphan(const std::function<bool(const QString&)>& opens);
    static QString folder();

    Journal() = default;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;
    ~Journal(); // keeps the file: an instance that ends without saving leaves it

    // One step, "v 2.5", "p 3", "s 5 3 7 1", "e", "c" or "u"; the first creates
    // the journal.
    void record(const QString& step);
    // Nothing entered needs keeping any more: the journal goes, and an orphan
    // whose steps it took with it.
    void discard();
    // Lets go of the journal and keeps it, as the end of the process does.
    void release();
    // The orphan whose steps were replayed into this journal: removed as soon as
    // every record of this one is on the disk, kept locked until then.
    void adopt(Orphan&& orphan);

private:
    bool begin();
    void flush();

    int m_fd = -1;
    QString m_path;
    qint64 m_written = 0; // bytes of whole records on the disk
    QByteArray m_pending; // records accepted but not yet on the disk
    std::optional<Orphan> m_adopted;
};
