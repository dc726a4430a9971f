// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "CriticalValueTable.h"
#include "DataSet.h"
#include "ExactTest.h"
#include "PastedSeries.h"
#include "TTest.h"
#include "TypedNumber.h"

#include <QTest>

#include <boost/math/distributions/students_t.hpp>

#include <cmath>

namespace {

// "5:3 7:1": the pairs of variant and frequency, in order of entry.
SampleSeries seriesOf(const QString& pairs)
{
    SampleSeries series;
    for (const QString& pair : pairs.split(QLatin1Char(' '))) {
        series.appendVariant(pair.section(QLatin1Char(':'), 0, 0).toDouble());
        series.appendFrequency(pair.section(QLatin1Char(':'), 1).toInt());
    }
    return series;
}

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void tTest_data();
    void tTest();
    void intermediatesAndReset();
    void criticalValues();
    void level_data();
    void level();
    void typedNumber_data();
    void typedNumber();
    void pastedSeries_data();
    void pastedSeries();
    void frequencyHeading_data();
    void frequencyHeading();
    void exactNumbers_data();
    void exactNumbers();
};

// Expected N, M, S, m and t: numpy 1.24 on the expanded observations (mean, std
// with ddof=1, std/sqrt(N)), t = |M1 - M2| / sqrt(m1^2 + m2^2), which
// scipy.stats.ttest_ind(equal_var=False) confirms; the degenerate rows by hand.
void TestStatistics::tTest_data()
{
    QTest::addColumn<QString>("samples");
    QTest::addColumn<QString>("expected"); // N1 N2 M1 M2 S1 S2 m1 m2 t
    QTest::addColumn<double>("tolerance"); // relative
    const auto row = [](const char* name, const char* samples, const char* expected,
                        double tolerance = 1e-12) {
        QTest::newRow(name) << samples << expected << tolerance;
    };
    row("worked example", "5:3 7:1 | 8:2 10:2",
        "4 4 5.5 9 1 1.1547005383792515 0.5 0.57735026918962573 4.5825756949558407");
    row("unequal N", "1.2:1 2.5:2 3.1:3 4:1 | 2:2 3.5:4 5.25:3 6:2",
        "7 11 2.7857142857142856 4.1590909090909092 0.86106246662397934 1.4631845717164635 "
        "0.32545102142555765 0.44116674758367014 2.5051505917858181");
    // Exact: Python's fractions on the doubles as stored. The means are good to an
    // ulp of 1.2e6, which the deviations inherit, hence 1e-8; a one-pass
    // sum-of-squares formula is off by about 3e-4 here.
    row("large offset, unit spread",
        "1234566.3:2 1234567.1:3 1234568.7:2 | 1234567.4:1 "
        "1234568.9:2 1234569.6:1",
        "7 4 1234567.3285714285 1234568.7 1.0028530727970537 0.92736184960982659 "
        "0.37904283316542259 0.4636809248049133 2.2899371677878366",
        1e-8);
    // By hand from here on. S1 = sqrt(0 / 0):
    row("N = 1", "5:1 | 7:1 8:1", "1 2 5 7.5 nan 0.70710678118654757 nan 0.5 nan");
    // t = 2 / sqrt(0 + 0)
    row("no spread", "5:3 | 7:2", "3 2 5 7 0 0 0 0 inf");
    // N1 = 2, M1 = (15 - 6) / 2, Sdd1 = 3 * 0.25 - 2.25 = -1.5 < 0
    row("negative frequency", "5:3 6:-1 | 7:2 8:1",
        "2 3 4.5 7.333333333333333 nan 0.57735026918962573 nan 0.33333333333333331 nan");
    // N1 = 0: M1 = -1 / 0
    row("frequencies sum to 0", "5:1 6:-1 | 7:1 9:1",
        "0 2 -inf 8 nan 1.4142135623730951 nan 1 nan");
}

void TestStatistics::tTest()
{
    QFETCH(QString, samples);
    QFETCH(QString, expected);
    QFETCH(double, tolerance);
    TTestResult r;
    computeTTest(seriesOf(samples.section(" | ", 0, 0)), seriesOf(samples.section(" | ", 1)), r);
    const double actual[] = {double(r.iN1), double(r.iN2), r.dM1, r.dM2, r.dS1,
                             r.dS2,         r.dm1,         r.dm2, r.dT};
    const QStringList values = expected.split(QLatin1Char(' '));
    for (int k = 0; k < 9; ++k) {
        const double a = actual[k];
        const double e = values.at(k).toDouble();
        QVERIFY2(a == e || std::fabs(a - e) <= tolerance * std::fabs(e) ||
                     (std::isnan(a) && std::isnan(e)),
                 qPrintable(QStringLiteral("field %1: %2 instead of %3")
                                .arg(k)
                                .arg(a, 0, 'g', 17)
                                .arg(values.at(k))));
    }
}

// By hand: 5*3 + 7 = 22, 8*2 + 10*2 = 36; deviations mean minus variant. The
// reset empties both series, a variant still waiting for its frequency among
// them, and the accumulators.
void TestStatistics::intermediatesAndReset()
{
    DataSet data{seriesOf("5:3 7:1"), seriesOf("8:2 10:2"), {}, {}, {}};
    TTestResult& r = data.result;
    r.d1 = {99.0}; // left from an earlier calculation: replaced, not appended to
    computeTTest(data.sample1, data.sample2, r);
    QVERIFY(r.dSVP1 == 22 && r.dSVP2 == 36 && r.dSdd1 == 3 && r.dSdd2 == 4);
    QCOMPARE(r.d1, (std::vector<double>{0.5, -1.5}));
    QCOMPARE(r.d2, (std::vector<double>{1.0, -1.0}));
    data.sample2.appendVariant(11); // still waiting for its frequency
    resetDataSet(data);
    for (const SampleSeries* s : {&data.sample1, &data.sample2})
        QVERIFY(s->variants.empty() && s->frequencies.empty() && s->variantCount == 0 &&
                s->frequencyCount == 0);
    QVERIFY(r.iN1 == 0 && r.iN2 == 0 && r.d1.empty() && r.d2.empty());
}

// The rows of the printed table, and each value in them: the exact two-sided
// quantile (Boost.Math; scipy.stats.t.ppf agrees) to two decimals, except where
// the printed table gives another, listed here as printed; df 1 has no 99.9.
void TestStatistics::criticalValues()
{
    const QHash<QString, double> printed{{"1 99.9", 0.0},  {"2 99", 9.93},    {"3 99.9", 12.94},
                                         {"5 99.9", 6.86}, {"7 95", 2.37},    {"12 99", 3.06},
                                         {"14 95", 2.15},  {"16 99.9", 4.02}, {"29 95", 2.04}};
    const int later[] = {40, 50, 60, 80, 100, 120, 200, 500};
    const auto& rows = CriticalValueTable::rows();
    QCOMPARE(rows.size(), std::size_t{38});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CriticalValueTable::Row& row = rows[i];
        QCOMPARE(row.df, i < 30 ? int(i) + 1 : later[i - 30]);
        QCOMPARE(row.inclusive, row.df == 29);
        const boost::math::students_t t(row.df);
        const std::tuple<double, double, const char*> values[] = {
            {row.c95, 0.05, "95"}, {row.c99, 0.01, "99"}, {row.c999, 0.001, "99.9"}};
        for (const auto& [value, p, level] : values) {
            const double exact = boost::math::quantile(boost::math::complement(t, p / 2));
            QCOMPARE(value, printed.value(QStringLiteral("%1 %2").arg(row.df).arg(level),
                                          std::round(exact * 100) / 100));
        }
    }
}

// N1 N2 t, then the table row (below 1: no row, the df itself) and the level
// reached; N2 = 1 makes df = N1 - 1. The ties by hand from the printed table.
void TestStatistics::level_data()
{
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<double>("t");
    QTest::addColumn<int>("row");
    QTest::addColumn<float>("level");
    const char* const cases =
        "1 1 1000 0 0, 2 1 700 1 99, 2 1 inf 1 99, 11 1 2.23 10 0, 11 1 3 10 95, "
        "11 1 3.2 10 99, 11 1 4.6 10 99.9, 11 1 nan 10 0, 21 1 2.09 20 0, "
        "21 1 2.0900001 20 95, 30 1 2.0399999 29 0, 30 1 2.04 29 95, 30 1 2.76 29 99, "
        "30 1 3.66 29 99.9, 31 1 3.65 30 99, 32 1 2.05 30 95, 40 1 2.03 30 0, 41 1 2.03 40 95, "
        "50 1 3.56 40 99.9, 60 1 2.69 50 99, 80 1 2.01 60 95, 100 1 1.99 80 0, "
        "120 1 3.40 100 99.9, 200 1 2.63 120 99, 500 1 1.98 200 95, 501 1 3.31 500 99, "
        "601 1 3.32 500 99.9, 2147483647 2147483647 1.97 500 95, "
        "-2147483648 -2147483648 inf -2147483648 0, 2147483647 -2147483648 inf -3 0";
    for (const QString& text : QString::fromLatin1(cases).split(QLatin1String(", "))) {
        const QStringList f = text.split(QLatin1Char(' '));
        QTest::newRow(qPrintable(text))
            << f[0].toInt() << f[1].toInt() << f[2].toDouble() << f[3].toInt() << f[4].toFloat();
    }
}

void TestStatistics::level()
{
    QFETCH(int, n1);
    QFETCH(int, n2);
    QFETCH(double, t);
    const int row = CriticalValueTable::rowFor(CriticalValueTable::degreesOfFreedom(n1, n2));
    QTEST(row, "row");
    QTEST(CriticalValueTable::levelFor(row, t), "level");
}

// What the user may type, and what comes of it as a variant and as a frequency
// ("-": refused).
void TestStatistics::typedNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("frequency");
    const char* const cases =
        "7|7|7;-2|-2|-2;0|0|-; 4 |4|4;  2.50 \t|2.5|-;3,5|3.5|-;-0,25|-0.25|-;1e-5|1e-05|-;"
        "2147483647|2147483647|2147483647;2147483648|2147483648|-;"
        "-2147483648|-2147483648|-2147483648;1.7976931348623157e308|1.7976931348623157e+308|-;"
        "|-|-;   |-|-;abc|-|-;5kg|-|-;inf|-|-;-inf|-|-;nan|-|-;1e400|-|-;1,5.2|-|-;1 000|-|-;"
        "0x10|-|-";
    for (const QString& c : QString::fromLatin1(cases).split(QLatin1Char(';'))) {
        const QStringList f = c.split(QLatin1Char('|'));
        QTest::addRow("\"%s\"", qPrintable(f[0])) << f[0] << f[1] << f[2];
    }
}

void TestStatistics::typedNumber()
{
    QFETCH(QString, text);
    const std::optional<double> variant = parseVariant(text);
    const std::optional<int> frequency = parseFrequency(text);
    QTEST(variant ? QString::number(*variant, 'g', QLocale::FloatingPointShortest)
                  : QStringLiteral("-"),
          "variant");
    QTEST(frequency ? QString::number(*frequency) : QStringLiteral("-"), "frequency");
}

// What a spreadsheet or a text file puts on the clipboard, and the series read
// from it: "5.5:3 7:1"; two samples, "1:1 2:1 || 3:1"; both readings, "either
// 5:3 || 5:1 | 3:1"; "row K: why", or "text" where it is no series. The texts are
// as LibreOffice Calc 7.4 in a Russian locale copies a range: a tab between the
// cells, LF after every row, the last too, an empty cell an empty field, digit
// groups joined by U+00A0, per cent as displayed; Excel ends rows in CRLF, newer
// locales join groups by U+202F. Expected by hand from the rows.
void TestStatistics::pastedSeries_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sumBefore"); // the sample's sum of frequencies so far
    QTest::addColumn<bool>("twoSamples");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* text, const char* expected, int sum = 0,
                        bool two = false) {
        QTest::newRow(name) << QString::fromUtf8(text) << sum << two << expected;
    };
    // Pasted into sample 1 while it is empty: two columns may be two samples.
    const auto fresh = [](const char* name, const char* text, const char* expected) {
        QTest::newRow(name) << QString::fromUtf8(text) << 0 << true << expected;
    };
    const int most = std::numeric_limits<int>::max();
    row("Calc, Russian locale", "5,5\t3\n7\t1\n", "5.5:3 7:1");
    row("Excel, CRLF", "5,5\t3\r\n-7\t-1\r\n", "5.5:3 -7:-1");
    row("old Mac, CR", "5\t3\r7\t1", "5:3 7:1");
    row("heading row", "Варианта\tЧастота\n5\t3\n7\t1\n", "5:3 7:1");
    row("semicolons and quotes", "\"5,5\";\"3\"\n\"7\";1\n", "5.5:3 7:1");
    row("runs of spaces", "  5   3 \n7 1", "5:3 7:1");
    row("blank rows inside and around", "\n5\t3\n\n\t\t\n7\t1\n\n", "5:3 7:1");
    row("an empty column beside", "5\t3\t\t\n7\t1\t\n", "5:3 7:1");
    row("one column grouped ascending", "7\n5\n-2,5\n5\n7\n7\n", "-2.5:1 5:2 7:3");
    row("one column with a heading", "Рост\n170\n165\n170", "165:1 170:2");
    row("one number is text", "5,5\n", "text");
    row("a number and a word are text", "5 abc\n", "text");
    row("a heading alone is text", "Контроль\tОпыт\n", "text");
    row("nothing is text", "", "text");
    row("two rows of words are refused", "Варианта\nЧастота", "row 2: Variant");
    row("a frequency that is not whole", "5\t3\n7\t1,5\n", "row 2: Frequency");
    row("a frequency of 0", "5\t0\n7\t1\n", "row 1: Frequency");
    row("a variant that is no number, blank rows counted", "5\t3\n\nabc\t1", "row 3: Variant");
    row("Excel's row named, not its line", "5\t3\r\n7\t1\r\n9\t0\r\n", "row 3: Frequency");
    row("infinity is no number", "inf\t1\n5\t1", "row 1: Variant");
    row("a date is no number", "12.05.25\t3\n7\t1\n", "row 1: Variant");
    row("a second heading is data", "V\tP\n5\t3\nV\tP\n", "row 3: Variant");
    row("an empty field inside", "5\t\t3\n7\t1", "row 1: Fields");
    row("three columns", "5\t3\t1\n", "row 1: Fields");
    row("a pair among observations", "5\n6\t1\n", "row 2: Fields");
    row("an observation among pairs", "5\t3\n7\n", "row 2: Fields");
    row("a missing frequency", "5\t3\n7\t\n", "row 2: Fields");
    row("the sum beyond int", "5\t2\n6\t2\n", "row 2: FrequencySum", most - 3);
    row("observations beyond int", "Рост\n5\n6\n7", "row 3: FrequencySum", most - 1);
    row("a sum back within int", "5\t-2\n6\t3\n", "5:-2 6:3", most - 1);

    // Numbers as the sheet displays them.
    row("groups by no-break spaces, one column", "3\u00a0250,0\n12\u202f400\n985\n",
        "985:1 3250:1 12400:1");
    row("groups in two columns", "3\u00a0250,0\t12\u202f400\n1 234,5\t2\u2009000\n",
        "3250:12400 1234.5:2000");
    row("groups of three only", "1\u00a023\t5\n7\t1\n", "row 1: Variant");
    row("spaces split where nothing else does", "1 234\n5 6\n", "1:234 5:6");
    row("per cent as displayed", "85%\n90%\n85%\n", "85:2 90:1");
    row("a minus sign", "\u22121,5\n2\n", "-1.5:1 2:1");
    row("a heading with a digit, one column", "Группа 1\n5\n7\n5\n", "5:2 7:1");
    row("a first row of numbers among spaces is data", "5 3\n7\n", "row 2: Fields");

    // Two groups side by side into an empty sample 1. The first, byte for byte
    // as LibreOffice Calc 7.4 under ru_RU.UTF-8 put it on the clipboard (xclip -o):
    // a group ending early, a missing observation, "# ##0,00", "0,00%".
    fresh("real Calc 7.4, Russian locale",
          "Контроль\tОпыт\n0,53\t0,61\n0,48\t0,66\n0,57\t\n\t0,59\n3\u00a0250,00\t12\u00a0400,00\n"
          "85,00%\t72\n-1,5\t75\n",
          "-1.5:1 0.48:1 0.53:1 0.57:1 85:1 3250:1 || 0.59:1 0.61:1 0.66:1 72:1 75:1 12400:1");
    fresh("decimals, the second column shorter", "0,53\t0,61\n0,48\t0,66\n0,57\t0,59\n0,50\t\n",
          "0.48:1 0.5:1 0.53:1 0.57:1 || 0.59:1 0.61:1 0.66:1");
    fresh("headed by the groups' names", "Контроль\tОпыт\n72\t80\n75\t84\n71\t79\n",
          "71:1 72:1 75:1 || 79:1 80:1 84:1");
    fresh("headed by «Варианта» and «Частота»", "Варианта\tЧастота\n72\t80\n75\t84\n71\t79\n",
          "72:80 75:84 71:79");
    fresh("a heading naming frequencies", "x\tf\n5\t3\n4\t1\n7\t2\n", "5:3 4:1 7:2");
    fresh("«Группа 1» and «Группа 2»", "Группа 1\tГруппа 2\n5\t6\n7\t8\n", "5:1 7:1 || 6:1 8:1");
    fresh("no heading, variants ascending", "5\t3\n7\t1\n", "5:3 7:1");
    fresh("no heading, variants descending", "72\t80\n71\t84\n70\t79\n", "72:80 71:84 70:79");
    fresh("no heading, out of order", "72\t80\n75\t84\n71\t79\n",
          "either 72:80 75:84 71:79 || 71:1 72:1 75:1 | 79:1 80:1 84:1");
    fresh("a missing observation inside a column", "5,1\t6,2\n\t6,8\n4,9\t7\n",
          "4.9:1 5.1:1 || 6.2:1 6.8:1 7:1");
    fresh("the second group longer", "5\t8\n6\t9\n\t10\n\t11\n", "5:1 6:1 || 8:1 9:1 10:1 11:1");
    fresh("a frequency that is none", "5\t2,5\n7\t1\n", "5:1 7:1 || 1:1 2.5:1");
    fresh("a variant named twice", "5\t3\n5\t1\n", "5:2 || 1:1 3:1");
    fresh("groups and per cents", "3\u00a0250,0\t12\u202f400,5\n85%\t90%\n",
          "85:1 3250:1 || 90:1 12400.5:1");
    fresh("a cell that is no number, column 2", "5,5\tabc\n7\t1\n", "row 1: Frequency");
    fresh("a cell that is no number, column 1", "0,53\t\nabc\t0,5\n", "row 2: Variant");
    fresh("a row with no separator", "5\t3\n7\n", "row 2: Fields");
    fresh("a heading over no number", "Контроль\tОпыт\n5\t\n6\t\n", "row 1: EmptyColumn 2");
    fresh("a column empty in every row is none", "\t5\n\t6\n\t5\n", "5:2 6:1");
    fresh("one column as before", "7\n5\n7\n", "5:1 7:2");
    row("two columns after pairs are pairs", "0,53\t0,61\n0,48\t\n", "row 1: Frequency");
}

void TestStatistics::pastedSeries()
{
    QFETCH(QString, text);
    QFETCH(int, sumBefore);
    QFETCH(bool, twoSamples);
    const PastedSeries read = readPastedSeries(text, sumBefore, twoSamples);
    const auto written = [](const std::vector<PastedSeries::Pair>& pairs) {
        QStringList out;
        for (const PastedSeries::Pair& pair : pairs)
            out << QString::number(pair.variant) + ':' + QString::number(pair.frequency);
        return out.join(' ');
    };
    const char* const why[] = {"", "Variant", "Frequency", "FrequencySum", "Fields", "EmptyColumn"};
    QString got;
    if (!read.isSeries)
        got = QStringLiteral("text");
    else if (read.refusedRow != 0)
        got = QStringLiteral("row %1: %2").arg(read.refusedRow).arg(why[int(read.refusal)]) +
              (read.refusedColumn != 0 ? QStringLiteral(" %1").arg(read.refusedColumn) : QString());
    else if (read.layout == PastedSeries::Layout::Pairs)
        got = written(read.pairs);
    else if (read.layout == PastedSeries::Layout::TwoSamples)
        got = written(read.first) + " || " + written(read.second);
    else
        got = "either " + written(read.pairs) + " || " + written(read.first) + " | " +
              written(read.second);
    QTEST(got, "expected");
    // Only what the layout says is given, and nothing with a refusal.
    const bool pairs = read.layout != PastedSeries::Layout::TwoSamples && read.refusedRow == 0;
    const bool samples = read.layout != PastedSeries::Layout::Pairs && read.refusedRow == 0;
    QVERIFY(pairs || read.pairs.empty());
    QVERIFY(samples || (read.first.empty() && read.second.empty()));
    QCOMPARE(read.firstRows.isEmpty(), read.layout != PastedSeries::Layout::Either);
    // Whatever two samples make of it, a sample with pairs in it reads pairs only.
    if (twoSamples && read.layout == PastedSeries::Layout::Pairs && read.refusedRow == 0)
        QCOMPARE(written(readPastedSeries(text, sumBefore, false).pairs), written(read.pairs));
}

// A second column's heading that makes two columns a series of variants and
// their frequencies; any other makes them two samples.
void TestStatistics::frequencyHeading_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<bool>("frequencies");
    for (const char* name : {"Частота", "частоты", "Частость", " ЧАСТОТА ", "Частота, шт", "f", "N",
                             "p", "M", "Вес", "число", "Количество"})
        QTest::newRow(name) << QString::fromUtf8(name) << true;
    for (const char* name :
         {"Контроль", "Опыт", "Группа 2", "", "fn", "Число наблюдений", "счастье", "Масса"})
        QTest::newRow(name) << QString::fromUtf8(name) << false;
}

void TestStatistics::frequencyHeading()
{
    QFETCH(QString, heading);
    QTEST(namesFrequencies(heading), "frequencies");
}

// The exact numbers beside the table's verdict. Expected from R 4.2.2: for two
// samples t.test(x, y) (Welch's df, p and conf.int) and 2 * pt(|t|, N1 + N2 - 2,
// lower.tail = FALSE) for the p of the report's own t; d = (M1 - M2) / sp with the
// pooled sp, g = d * (1 - 3 / (4 * (N1 + N2) - 9)). Written "-" where undefined.
void TestStatistics::exactNumbers_data()
{
    QTest::addColumn<QString>("samples");
    QTest::addColumn<QString>("t");        // instead of the samples' own, with "N1 N2"
    QTest::addColumn<QString>("expected"); // df p welchDf welchP low high d g level
    const auto row = [](const char* name, const char* samples, const char* expected,
                        const char* t = "") { QTest::newRow(name) << samples << t << expected; };
    row("worked example", "5:3 7:1 | 8:2 10:2",
        "6 0.0037603087966665 5.88 0.00395758466635651 -5.37814408173819 -1.62185591826181 "
        "-3.24037034920393 -2.81771334713385 99");
    row("unequal N", "1.2:1 2.5:2 3.1:3 4:1 | 2:2 3.5:4 5.25:3 6:2",
        "16 0.0234301100210898 15.9652671252501 0.0234569835777812 -2.535759135864696 "
        "-0.210994110888551 -1.08032645756672 -1.02888234053973 95");
    row("two observations each", "5:1 7:1 | 8:1 11:1",
        "2 0.191709623134524 1.74226804123711 0.210164911752234 -12.46706176808136 "
        "5.46706176808136 -1.9414506867883 -1.1094003924504583 0");
    // The table reads df 29 at 95 % from 2.04, the exact quantile is 2.0452;
    // df 35 is read in row 30.
    row("df 29, t 2.042: the table says 95", "", "29 0.0503395396102246 - - - - - - 0",
        "15 16 2.042");
    row("df 35, t 2.0334: the table says none", "", "35 0.0496494495836797 - - - - - - 95",
        "18 19 2.0334");
    // By hand: no spread, t = 2 / 0, so p is 0 and the interval the difference.
    row("no spread", "5:3 | 7:2", "3 0 - 0 -2 -2 -inf -inf 99.9");
    row("N of 1", "5:1 | 7:1 8:1", "undefined");
    row("a negative frequency", "5:3 6:-2 | 7:2 8:1", "undefined");
}

void TestStatistics::exactNumbers()
{
    QFETCH(QString, samples);
    QFETCH(QString, t);
    QFETCH(QString, expected);
    TTestResult report;
    if (t.isEmpty()) {
        computeTTest(seriesOf(samples.section(" | ", 0, 0)), seriesOf(samples.section(" | ", 1)),
                     report);
    } else { // only N and t matter for p
        report.iN1 = t.section(' ', 0, 0).toInt();
        report.iN2 = t.section(' ', 1, 1).toInt();
        report.dT = t.section(' ', 2).toDouble();
        report.dm1 = report.dm2 = report.dS1 = report.dS2 = 1;
    }
    const ExactNumbers exact = ::exactNumbers(report);
    if (expected == "undefined") {
        QVERIFY(!exact.defined);
        return;
    }
    QVERIFY(exact.defined);
    const QStringList want = expected.split(' ');
    QCOMPARE(exact.df, want[0].toInt());
    const double got[] = {exact.p,    exact.welchDf, exact.welchP, exact.low,
                          exact.high, exact.d,       exact.g};
    for (int k = 0; k < 7; ++k) {
        const QString w = want[k + 1];
        if (w == "-" || (t.size() > 0 && k > 0))
            continue;
        const double value = w.toDouble();
        QVERIFY2(std::isinf(value)
                     ? got[k] == value
                     : std::fabs(got[k] - value) <= 1e-9 * std::max(1.0, std::fabs(value)),
                 qPrintable(QStringLiteral("%1: %2 for %3").arg(k).arg(got[k], 0, 'g', 17).arg(w)));
    }
    QCOMPARE(exact.level, want[8].toFloat());
    // Any df from R's pt too, fractional ones included.
    QCOMPARE(qRound64(twoSidedP(4.5825756949558407, 1) * 1e12), qRound64(0.136777651825873 * 1e12));
    QCOMPARE(qRound64(twoSidedP(2.5, 600) * 1e12), qRound64(0.0126851542894684 * 1e12));
}

QTEST_APPLESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
