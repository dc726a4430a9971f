// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PastedSeries.h"

#include "TypedNumber.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

struct Row
{
    int number; // from 1, blank rows counted
    QStringList fields;
};

QStringList fieldsOf(const QString& row)
{
    static const QRegularExpression spaces(QStringLiteral("[ ]+"));
    QStringList fields = row.contains(QLatin1Char('\t'))  ? row.split(QLatin1Char('\t'))
                         : row.contains(QLatin1Char(';')) ? row.split(QLatin1Char(';'))
                                                          : row.trimmed().split(spaces);
    for (QString& field : fields) {
        field = field.trimmed();
        if (field.size() >= 2 && field.startsWith(QLatin1Char('"')) &&
            field.endsWith(QLatin1Char('"')))
            field = field.mid(1, field.size() - 2);
    }
    while (!fields.isEmpty() && fields.constLast().isEmpty())
        fields.removeLast();
    return fields;
}

bool fits(std::int64_t sum)
{
    return sum >= std::numeric_limits<int>::min() && sum <= std::numeric_limits<int>::max();
}

} // namespace

PastedSeries readPastedSeries(const QString& text, std::int64_t frequencySum)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    std::vector<Row> rows;
    int numbers = 0;
    int number = 0;
    bool first = true;
    for (const QString& line : text.split(lineBreak)) {
        ++number;
        QStringList fields = fieldsOf(line);
        if (fields.isEmpty())
            continue;
        const auto isNumber = [](const QString& field) { return parseVariant(field).has_value(); };
        const auto count = std::count_if(fields.cbegin(), fields.cend(), isNumber);
        numbers += static_cast<int>(std::min<qsizetype>(count, 2));
        // A first row with no number in it names the columns.
        const bool heading = first && count == 0;
        first = false;
        if (heading)
            continue;
        rows.push_back({number, std::move(fields)});
    }
    PastedSeries result;
    result.isSeries = numbers >= 2;
    if (!result.isSeries)
        return result;
    const auto refuse = [&result](const Row& row, PasteRefusal why) {
        result.pairs.clear();
        result.refusedRow = row.number;
        result.refusal = why;
        return result;
    };
    const qsizetype width = rows.front().fields.size();
    std::vector<double> observations;
    for (const Row& row : rows) {
        if (width > 2 || row.fields.size() != width)
            return refuse(row, PasteRefusal::Fields);
        const std::optional<double> variant = parseVariant(row.fields[0]);
        if (!variant)
            return refuse(row, PasteRefusal::Variant);
        const std::optional<int> frequency =
            width == 2 ? parseFrequency(row.fields[1]) : std::optional<int>(1);
        if (!frequency)
            return refuse(row, PasteRefusal::Frequency);
        frequencySum += *frequency;
        if (!fits(frequencySum))
            return refuse(row, PasteRefusal::FrequencySum);
        if (width == 2)
            result.pairs.push_back({*variant, *frequency});
        else
            observations.push_back(*variant);
    }
    // Grouped as the method's users group raw data by hand.
    std::sort(observations.begin(), observations.end());
    for (const double value : observations) {
        if (result.pairs.empty() || result.pairs.back().variant != value)
            result.pairs.push_back({value, 0});
        ++result.pairs.back().frequency;
    }
    return result;
}
