// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target for the reading of a journal found on the disk, which
// anyone with the user's rights may have put there. Whatever the bytes, reading
// must not crash; a journal offered starts with a step a new data set takes and
// holds whole records only; one not offered gives none.
#include "Journal.h"
#include "StudentForm.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray records;
    const Journal::Verdict verdict = Journal::read(bytes, &StudentForm::opensDataSet, &records);
    if (verdict != Journal::Verdict::Offered) {
        if (!records.isEmpty())
            std::abort();
        return 0;
    }
    if (!records.endsWith('\n'))
        std::abort();
    const Journal::Orphan orphan(QString(), -1, records);
    QString record;
    qsizetype at = 0;
    if (!orphan.next(at, record) || !StudentForm::opensDataSet(record))
        std::abort();
    while (orphan.next(at, record))
        if (record.contains(QLatin1Char('\n')))
            std::abort();
    return 0;
}
