// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PastedSeries.h"

#include "TypedNumber.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

using Pair = PastedSeries::Pair;

struct Row
{
    int number; // from 1, blank rows counted
    QStringList cells;
};

enum class Separator
{
    Tab,
    Semicolon,
    Spaces,
};

QStringList cellsOf(const QString& line, Separator separator)
{
    static const QRegularExpression spaces(QStringLiteral("[ ]+"));
    QStringList cells = separator == Separator::Tab         ? line.split(QLatin1Char('\t'))
                        : separator == Separator::Semicolon ? line.split(QLatin1Char(';'))
                                                            : line.trimmed().split(spaces);
    for (QString& cell : cells) {
        cell = cell.trimmed();
        if (cell.size() >= 2 && cell.startsWith(QLatin1Char('"')) &&
            cell.endsWith(QLatin1Char('"')))
            cell = cell.mid(1, cell.size() - 2);
    }
    return cells;
}

// A cell as the spreadsheet displays it, turned into what a user would type:
// "3 250,0" with a no-break space is 3250,0, "−1,5" is -1,5 and "85%" is 85. Only
// whole groups of three digits join: "1 23" stays what it is, no number. Where
// spaces split the cells, no cell holds an ordinary one.
QString asTyped(QString cell)
{
    static const QRegularExpression grouped(QStringLiteral(
        "^[-+]?[0-9]{1,3}(?:[ \\x{00A0}\\x{202F}\\x{2009}][0-9]{3})+(?:[.,][0-9]+)?$"));
    static const QRegularExpression joins(QStringLiteral("[ \\x{00A0}\\x{202F}\\x{2009}]"));
    if (cell.endsWith(QLatin1Char('%'))) {
        cell.chop(1);
        cell = cell.trimmed();
    }
    if (cell.startsWith(QChar(0x2212)))
        cell[0] = QLatin1Char('-');
    if (grouped.match(cell).hasMatch())
        cell.remove(joins);
    return cell;
}

bool fits(std::int64_t sum)
{
    return sum >= std::numeric_limits<int>::min() && sum <= std::numeric_limits<int>::max();
}

// Grouped as the method's users group raw data by hand.
std::vector<Pair> grouped(std::vector<double> observations)
{
    std::sort(observations.begin(), observations.end());
    std::vector<Pair> pairs;
    for (const double value : observations) {
        if (pairs.empty() || pairs.back().variant != value)
            pairs.push_back({value, 0});
        ++pairs.back().frequency;
    }
    return pairs;
}

class Reader
{
public:
    explicit Reader(std::int64_t frequencySum) : m_sum(frequencySum) {}

    std::optional<double> variant(const QString& cell) const { return parseVariant(asTyped(cell)); }

    // Refused rows leave their reason here; the first one is kept.
    PastedSeries result;

    bool refuse(int row, PasteRefusal why, int column = 0)
    {
        result.refusedRow = row;
        result.refusedColumn = column;
        result.refusal = why;
        return false;
    }

    // A variant and its frequency a row, as the method writes a series.
    bool readPairs(const std::vector<Row>& rows)
    {
        std::int64_t sum = m_sum;
        for (const Row& row : rows) {
            qsizetype width = row.cells.size();
            while (width > 0 && row.cells[width - 1].isEmpty())
                --width;
            if (width != 2)
                return refuse(row.number, PasteRefusal::Fields);
            const std::optional<double> value = variant(row.cells[0]);
            if (!value)
                return refuse(row.number, PasteRefusal::Variant);
            const std::optional<int> frequency = parseFrequency(asTyped(row.cells[1]));
            if (!frequency)
                return refuse(row.number, PasteRefusal::Frequency);
            sum += *frequency;
            if (!fits(sum))
                return refuse(row.number, PasteRefusal::FrequencySum);
            result.pairs.push_back({*value, *frequency});
        }
        return true;
    }

    // One observation a cell, in as many columns as there are samples; an empty
    // cell is an observation missing in its column. A cell that is no number is
    // refused for what its column would be in a series.
    bool readColumns(const std::vector<Row>& rows, qsizetype columns,
                     std::vector<double> (&observations)[2])
    {
        for (const Row& row : rows) {
            if (row.cells.size() != columns)
                return refuse(row.number, PasteRefusal::Fields);
            for (qsizetype k = 0; k < columns; ++k) {
                if (row.cells[k].isEmpty())
                    continue;
                const std::optional<double> value = variant(row.cells[k]);
                if (!value)
                    return refuse(row.number,
                                  k == 0 ? PasteRefusal::Variant : PasteRefusal::Frequency);
                std::vector<double>& column = observations[k];
                column.push_back(*value);
                if (!fits((k == 0 ? m_sum : 0) + static_cast<std::int64_t>(column.size())))
                    return refuse(row.number, PasteRefusal::FrequencySum);
            }
        }
        return true;
    }

private:
    std::int64_t m_sum;
};

bool strictlyOrdered(const std::vector<Pair>& pairs)
{
    const auto ascending = [](const Pair& a, const Pair& b) { return a.variant >= b.variant; };
    const auto descending = [](const Pair& a, const Pair& b) { return a.variant <= b.variant; };
    return std::adjacent_find(pairs.cbegin(), pairs.cend(), ascending) == pairs.cend() ||
           std::adjacent_find(pairs.cbegin(), pairs.cend(), descending) == pairs.cend();
}

bool namesAVariantTwice(const std::vector<Pair>& pairs)
{
    std::vector<double> variants;
    variants.reserve(pairs.size());
    for (const Pair& pair : pairs)
        variants.push_back(pair.variant);
    std::sort(variants.begin(), variants.end());
    return std::adjacent_find(variants.cbegin(), variants.cend()) != variants.cend();
}

} // namespace

bool namesFrequencies(const QString& heading)
{
    const QString name = heading.trimmed().toLower();
    static const QStringList names{QStringLiteral("f"),         QStringLiteral("n"),
                                   QStringLiteral("p"),         QStringLiteral("m"),
                                   QStringLiteral("вес"),       QStringLiteral("число"),
                                   QStringLiteral("количество")};
    return name.startsWith(QStringLiteral("част")) || names.contains(name);
}

PastedSeries readPastedSeries(const QString& text, std::int64_t frequencySum, bool twoSamples)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const Separator separator = text.contains(QLatin1Char('\t'))  ? Separator::Tab
                                : text.contains(QLatin1Char(';')) ? Separator::Semicolon
                                                                  : Separator::Spaces;
    std::vector<Row> rows; // those with a cell in them
    qsizetype widest = 0;
    int number = 0;
    for (const QString& line : text.split(lineBreak)) {
        ++number;
        QStringList cells = cellsOf(line, separator);
        if (std::all_of(cells.cbegin(), cells.cend(), [](const QString& c) { return c.isEmpty(); }))
            continue;
        widest = std::max(widest, cells.size());
        rows.push_back({number, std::move(cells)});
    }
    PastedSeries empty;
    if (rows.empty())
        return empty;

    // A column empty in every row is none: a block copied with one beside it.
    std::vector<bool> filled(static_cast<std::size_t>(widest), false);
    for (const Row& row : rows)
        for (qsizetype k = 0; k < row.cells.size(); ++k)
            filled[static_cast<std::size_t>(k)] =
                filled[static_cast<std::size_t>(k)] || !row.cells[k].isEmpty();
    for (Row& row : rows)
        for (qsizetype k = row.cells.size() - 1; k >= 0; --k)
            if (!filled[static_cast<std::size_t>(k)])
                row.cells.removeAt(k);

    Reader reader(frequencySum);
    const auto isNumber = [&reader](const QString& cell) {
        return reader.variant(cell).has_value();
    };
    const Row& head = rows.front();
    // Over one column of numbers split by spaces, a heading is a whole line of
    // words, «Группа 1»; elsewhere a row of cells none of which is a number.
    const bool wholeLine =
        rows.size() > 1 && rows[1].cells.size() == 1 && separator == Separator::Spaces;
    const bool heading = wholeLine ? !std::all_of(head.cells.cbegin(), head.cells.cend(), isNumber)
                                   : std::none_of(head.cells.cbegin(), head.cells.cend(), isNumber);
    if (rows.size() == 1 && std::count_if(head.cells.cbegin(), head.cells.cend(), isNumber) < 2)
        return empty;
    const std::vector<Row> data(rows.begin() + (heading ? 1 : 0), rows.end());
    // As many columns as the first row of numbers has, and its heading names.
    const qsizetype width = std::max(data.front().cells.size(),
                                     heading && !wholeLine ? head.cells.size() : qsizetype(0));

    PastedSeries& result = reader.result;
    result.isSeries = true;
    if (width > 2) {
        const auto wide = std::find_if(data.cbegin(), data.cend(),
                                       [](const Row& row) { return row.cells.size() > 2; });
        reader.refuse(wide != data.cend() ? wide->number : head.number, PasteRefusal::Fields);
        return result;
    }
    std::vector<double> observations[2];
    if (width == 1) {
        if (reader.readColumns(data, 1, observations))
            result.pairs = grouped(std::move(observations[0]));
        return result;
    }
    if (!twoSamples) {
        if (!reader.readPairs(data))
            result.pairs.clear();
        return result;
    }

    // What only two samples can read (a cell missing, a frequency that is none,
    // a variant named twice) is two samples; else a heading names the second
    // column; else a first column in order is a series as the method writes one.
    const bool pairsRead = reader.readPairs(data) && !namesAVariantTwice(result.pairs);
    reader.refuse(0, PasteRefusal::None);
    if (!reader.readColumns(data, 2, observations)) { // then pairs cannot either
        result.pairs.clear();
        return result;
    }
    for (int k = 0; k < 2; ++k)
        if (observations[k].empty()) {
            result.pairs.clear();
            reader.refuse(head.number, PasteRefusal::EmptyColumn, k + 1);
            return result;
        }
    using Layout = PastedSeries::Layout;
    if (!pairsRead)
        result.layout = Layout::TwoSamples;
    else if (heading)
        result.layout = namesFrequencies(head.cells.value(1)) ? Layout::Pairs : Layout::TwoSamples;
    else
        result.layout = strictlyOrdered(result.pairs) ? Layout::Pairs : Layout::Either;
    if (result.layout == Layout::TwoSamples)
        result.pairs.clear();
    if (result.layout != Layout::Pairs) {
        result.first = grouped(std::move(observations[0]));
        result.second = grouped(std::move(observations[1]));
    }
    for (std::size_t k = 0;
         result.layout == Layout::Either && k < std::min<std::size_t>(data.size(), 5); ++k)
        result.firstRows << data[k].cells.join(QLatin1Char('\t'));
    return result;
}
