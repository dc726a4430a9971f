#include "CriticalValueTable.h"
#include "DataSet.h"
#include "TTest.h"
#include "TypedNumber.h"

#include <QTest>

#include <boost/math/distributions/students_t.hpp>

#include <climits>
#include <cmath>
#include <limits>
#include <sstream>

using Pairs = std::vector<std::pair<double, int>>;
Q_DECLARE_METATYPE(Pairs)

namespace {

SampleSeries seriesOf(const Pairs& pairs)
{
    SampleSeries series;
    for (const auto& [variant, frequency] : pairs) {
        series.appendVariant(variant);
        series.appendFrequency(frequency);
    }
    return series;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

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
};

// Expected N, M, S, m and t: numpy 1.24 on the expanded observations (mean, std
// with ddof=1, std/sqrt(N)), t = |M1 - M2| / sqrt(m1^2 + m2^2), which
// scipy.stats.ttest_ind(equal_var=False) confirms; the degenerate rows by hand.
void TestStatistics::tTest_data()
{
    QTest::addColumn<Pairs>("pairs1");
    QTest::addColumn<Pairs>("pairs2");
    QTest::addColumn<QString>("expected"); // N1 N2 M1 M2 S1 S2 m1 m2 t
    QTest::addColumn<double>("tolerance"); // relative
    const auto row = [](const char* name, const Pairs& pairs1, const Pairs& pairs2,
                        const char* expected, double tolerance = 1e-12) {
        QTest::newRow(name) << pairs1 << pairs2 << QString::fromLatin1(expected) << tolerance;
    };
    row("worked example", {{5, 3}, {7, 1}}, {{8, 2}, {10, 2}},
        "4 4 5.5 9 1 1.1547005383792515 0.5 0.57735026918962573 4.5825756949558407");
    // (5, 2), (7, 1) is the series 5, 5, 7.
    row("grouped equals ungrouped", {{5, 2}, {7, 1}}, {{5, 1}, {5, 1}, {7, 1}},
        "3 3 5.666666666666667 5.666666666666667 1.1547005383792517 1.1547005383792517 "
        "0.66666666666666674 0.66666666666666674 0");
    row("unequal N", {{1.2, 1}, {2.5, 2}, {3.1, 3}, {4.0, 1}},
        {{2.0, 2}, {3.5, 4}, {5.25, 3}, {6.0, 2}},
        "7 11 2.7857142857142856 4.1590909090909092 0.86106246662397934 1.4631845717164635 "
        "0.32545102142555765 0.44116674758367014 2.5051505917858181");
    // Exact: Python's fractions on the doubles as stored. The means are good to an
    // ulp of 1.2e6, which the deviations inherit, hence 1e-8; a one-pass
    // sum-of-squares formula is off by about 3e-4 here.
    row("large offset, unit spread", {{1234566.3, 2}, {1234567.1, 3}, {1234568.7, 2}},
        {{1234567.4, 1}, {1234568.9, 2}, {1234569.6, 1}},
        "7 4 1234567.3285714285 1234568.7 1.0028530727970537 0.92736184960982659 "
        "0.37904283316542259 0.4636809248049133 2.2899371677878366",
        1e-8);
    row("values around 1e-5", {{1.1e-5, 2}, {1.3e-5, 1}, {0.9e-5, 3}},
        {{1.6e-5, 1}, {1.8e-5, 2}, {2.1e-5, 1}},
        "6 4 1.0333333333333333e-05 1.825e-05 1.6329931618554518e-06 2.0615528128088299e-06 "
        "6.666666666666666e-07 1.0307764064044149e-06 6.4490202163702417");
    // By hand from here on. S1 = sqrt(0 / 0):
    row("N = 1", {{5, 1}}, {{7, 1}, {8, 1}}, "1 2 5 7.5 nan 0.70710678118654757 nan 0.5 nan");
    // t = 2 / sqrt(0 + 0), or 0 / 0 with equal means
    row("no spread", {{5, 3}}, {{7, 2}}, "3 2 5 7 0 0 0 0 inf");
    row("no spread, equal means", {{5, 3}}, {{5, 2}}, "3 2 5 5 0 0 0 0 nan");
    // N1 = 2, M1 = (15 - 6) / 2, Sdd1 = 3 * 0.25 - 2.25 = -1.5 < 0
    row("negative frequency", {{5, 3}, {6, -1}}, {{7, 2}, {8, 1}},
        "2 3 4.5 7.333333333333333 nan 0.57735026918962573 nan 0.33333333333333331 nan");
    // N1 = 0: M1 = -1 / 0, or 0 / 0 with a zero weighted sum as well
    row("frequencies sum to 0", {{5, 1}, {6, -1}}, {{7, 1}, {9, 1}},
        "0 2 -inf 8 nan 1.4142135623730951 nan 1 nan");
    row("frequencies and weighted sum 0", {{5, 1}, {5, -1}}, {{7, 1}},
        "0 1 nan 7 nan nan nan nan nan");
}

void TestStatistics::tTest()
{
    QFETCH(Pairs, pairs1);
    QFETCH(Pairs, pairs2);
    QFETCH(QString, expected);
    QFETCH(double, tolerance);
    TTestResult r;
    computeTTest(seriesOf(pairs1), seriesOf(pairs2), r);
    const double actual[] = {double(r.iN1), double(r.iN2), r.dM1, r.dM2, r.dS1,
                             r.dS2,         r.dm1,         r.dm2, r.dT};
    const QStringList values = expected.split(QLatin1Char(' '));
    for (int k = 0; k < 9; ++k) {
        const double e = values.at(k).toDouble();
        const bool same =
            std::isnan(e) ? std::isnan(actual[k])
                          : actual[k] == e || std::fabs(actual[k] - e) <= tolerance * std::fabs(e);
        QVERIFY2(same, qPrintable(QStringLiteral("field %1: %2 instead of %3")
                                      .arg(k)
                                      .arg(actual[k], 0, 'g', 17)
                                      .arg(values.at(k))));
    }
    TTestResult swapped;
    computeTTest(seriesOf(pairs2), seriesOf(pairs1), swapped);
    QVERIFY(swapped.dT == r.dT || (std::isnan(r.dT) && std::isnan(swapped.dT)));
}

// By hand: 5*3 + 7 = 22, 8*2 + 10*2 = 36; deviations mean minus variant. The
// reset empties the series and the accumulators only; the next calculation
// assigns the rest before it reads it.
void TestStatistics::intermediatesAndReset()
{
    DataSet data{seriesOf({{5, 3}, {7, 1}}), seriesOf({{8, 2}, {10, 2}}), {}, {}, {}};
    TTestResult& r = data.result;
    r.d1 = {99.0}; // left from an earlier calculation: replaced, not appended to
    computeTTest(data.sample1, data.sample2, r);
    QVERIFY(r.dSVP1 == 22 && r.dSVP2 == 36 && r.dSdd1 == 3 && r.dSdd2 == 4);
    QCOMPARE(r.d1, (std::vector<double>{0.5, -1.5}));
    QCOMPARE(r.d2, (std::vector<double>{1.0, -1.0}));
    data.sample2.appendVariant(11); // still waiting for its frequency
    r.iN = 6;
    resetDataSet(data);
    for (const SampleSeries* s : {&data.sample1, &data.sample2})
        QVERIFY(s->variants.empty() && s->frequencies.empty() && s->variantCount == 0 &&
                s->frequencyCount == 0);
    QVERIFY(r.iN1 == 0 && r.iN2 == 0 && r.d1.empty() && r.d2.empty());
    QVERIFY(r.iN == 6 && r.dSVP1 == 22 && r.dM2 == 9 && r.dS1 == 1 && r.dT > 4.58);
}

// Once exactly as printed, and once against the exact two-sided quantile
// (Boost.Math; scipy.stats.t.ppf agrees), which each printed value is within
// 0.02 of: the printed tables round a few values up.
void TestStatistics::criticalValues()
{
    std::istringstream printed(
        "1 12.71 63.66 0  2 4.30 9.93 31.60  3 3.18 5.84 12.94  4 2.78 4.60 8.61  "
        "5 2.57 4.03 6.86  6 2.45 3.71 5.96  7 2.37 3.50 5.41  8 2.31 3.36 5.04  "
        "9 2.26 3.25 4.78  10 2.23 3.17 4.59  11 2.20 3.11 4.44  12 2.18 3.06 4.32  "
        "13 2.16 3.01 4.22  14 2.15 2.98 4.14  15 2.13 2.95 4.07  16 2.12 2.92 4.02  "
        "17 2.11 2.90 3.97  18 2.10 2.88 3.92  19 2.09 2.86 3.88  20 2.09 2.85 3.85  "
        "21 2.08 2.83 3.82  22 2.07 2.82 3.79  23 2.07 2.81 3.77  24 2.06 2.80 3.75  "
        "25 2.06 2.79 3.73  26 2.06 2.78 3.71  27 2.05 2.77 3.69  28 2.05 2.76 3.67  "
        "29 2.04 2.76 3.66  30 2.04 2.75 3.65  40 2.02 2.70 3.55  50 2.01 2.68 3.50  "
        "60 2.00 2.66 3.46  80 1.99 2.64 3.42  100 1.98 2.63 3.39  120 1.98 2.62 3.37  "
        "200 1.97 2.60 3.34  500 1.96 2.59 3.31");
    for (const CriticalValueTable::Row& row : CriticalValueTable::rows()) {
        CriticalValueTable::Row expected{};
        printed >> expected.df >> expected.c95 >> expected.c99 >> expected.c999;
        QCOMPARE(row.df, expected.df);
        QCOMPARE(row.inclusive, row.df == 29);
        const std::pair<double, double> columns[] = {
            {row.c95, expected.c95}, {row.c99, expected.c99}, {row.c999, expected.c999}};
        const double p[] = {0.05, 0.01, 0.001};
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(columns[k].first, columns[k].second);
            const boost::math::students_t t(row.df);
            const double exact = boost::math::quantile(boost::math::complement(t, p[k] / 2));
            QVERIFY(columns[k].first == 0.0 || std::fabs(columns[k].first - exact) <= 0.02);
        }
    }
    QVERIFY(printed.eof());
}

// N1 and N2 to degrees of freedom, the row and the level; ties by hand from the table.
void TestStatistics::level_data()
{
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<double>("t");
    QTest::addColumn<int>("row"); // below 1: none, the df itself
    QTest::addColumn<float>("level");
    const auto df = [](const char* name, int df, double t, int row, float level) {
        QTest::newRow(name) << df + 1 << 1 << t << row << level;
    };
    df("df 0, no row", 0, 1000.0, 0, 0.0F);
    df("df 1, 700 reaches only 99", 1, 700.0, 1, 99.0F);
    df("df 1, inf", 1, kInf, 1, 99.0F);
    df("df 10, exactly 2.23", 10, 2.23, 10, 0.0F);
    df("df 10, above 2.23", 10, 3.0, 10, 95.0F);
    df("df 10, above 3.17", 10, 3.2, 10, 99.0F);
    df("df 10, above 4.59", 10, 4.6, 10, 99.9F);
    df("df 10, NaN", 10, kNaN, 10, 0.0F);
    df("df 20, exactly 2.09", 20, 2.09, 20, 0.0F);
    df("df 20, just above 2.09", 20, 2.0900001, 20, 95.0F);
    df("df 29, just below 2.04", 29, 2.0399999, 29, 0.0F);
    df("df 29, exactly 2.04", 29, 2.04, 29, 95.0F);
    df("df 29, exactly 2.76", 29, 2.76, 29, 99.0F);
    df("df 29, exactly 3.66", 29, 3.66, 29, 99.9F);
    df("df 30, exactly 3.65", 30, 3.65, 30, 99.0F);
    df("df 31", 31, 2.05, 30, 95.0F);
    df("df 39", 39, 2.03, 30, 0.0F);
    df("df 40", 40, 2.03, 40, 95.0F);
    df("df 49", 49, 3.56, 40, 99.9F);
    df("df 59", 59, 2.69, 50, 99.0F);
    df("df 79", 79, 2.01, 60, 95.0F);
    df("df 99", 99, 1.99, 80, 0.0F);
    df("df 119", 119, 3.40, 100, 99.9F);
    df("df 199", 199, 2.63, 120, 99.0F);
    df("df 499", 499, 1.98, 200, 95.0F);
    df("df 500", 500, 3.31, 500, 99.0F);
    df("df 600", 600, 3.32, 500, 99.9F);
    QTest::newRow("both INT_MAX: df clamped") << INT_MAX << INT_MAX << 1.97 << 500 << 95.0F;
    QTest::newRow("both INT_MIN: df clamped") << INT_MIN << INT_MIN << kInf << INT_MIN << 0.0F;
    QTest::newRow("INT_MAX and INT_MIN") << INT_MAX << INT_MIN << kInf << -3 << 0.0F;
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

void TestStatistics::typedNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("variant"); // NaN: refused
    QTest::addColumn<int>("frequency");  // 0: refused
    const auto row = [](const char* text, double variant, int frequency) {
        QTest::newRow(qPrintable(QStringLiteral("\"%1\"").arg(QString::fromUtf8(text))))
            << text << variant << frequency;
    };
    row("7", 7, 7);
    row("-2", -2, -2);
    row("0", 0, 0);
    row(" 4 ", 4, 4);
    row("  2.50 \t", 2.5, 0);
    row("3,5", 3.5, 0);
    row("-0,25", -0.25, 0);
    row("1e-5", 1e-5, 0);
    row("1.7976931348623157e308", 1.7976931348623157e308, 0);
    row("2147483647", 2147483647.0, INT_MAX);
    row("-2147483648", -2147483648.0, INT_MIN);
    row("2147483648", 2147483648.0, 0);
    for (const char* refused :
         {"", "   ", "abc", "5kg", "inf", "-inf", "nan", "1e400", "1,5.2", "1 000", "0x10"})
        row(refused, kNaN, 0);
}

void TestStatistics::typedNumber()
{
    QFETCH(QString, text);
    QFETCH(double, variant);
    QCOMPARE(parseVariant(text).value_or(kNaN), std::isnan(variant) ? kNaN : variant);
    QTEST(parseFrequency(text).value_or(0), "frequency");
}

QTEST_APPLESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
