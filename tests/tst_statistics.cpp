#include "DataSet.h"
#include "SampleSeries.h"
#include "TTest.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

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

// Relative comparison: the values span 1e-6 to 1e6, so no absolute epsilon.
bool close(double actual, double expected, double tolerance = 1e-12)
{
    if (std::isnan(expected) || std::isinf(expected))
        return std::isnan(expected) ? std::isnan(actual) : actual == expected;
    return std::fabs(actual - expected) <= tolerance * std::fabs(expected);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

} // namespace

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void seriesInvariants();
    void resetDataSetEmptiesOnlyTheAccumulators();
    void tTest_data();
    void tTest();
    void workedExampleIntermediates();
    void degenerateSeries_data();
    void degenerateSeries();
    void swappingSeriesKeepsT();
};

void TestStatistics::seriesInvariants()
{
    SampleSeries series;
    QCOMPARE(series.pairCount(), 0);
    QCOMPARE(series.variantCount, 0);

    series.appendVariant(3.5);
    // A variant waiting for its frequency is not yet part of the series.
    QCOMPARE(series.variantCount, 1);
    QCOMPARE(series.frequencyCount, 0);
    QCOMPARE(series.pairCount(), 0);

    series.appendFrequency(-3);
    QCOMPARE(series.pairCount(), 1);
    QCOMPARE(series.variant(0), 3.5);
    QCOMPARE(series.frequency(0), -3);
    QCOMPARE(series.frequencySum(), -3);
}

void TestStatistics::resetDataSetEmptiesOnlyTheAccumulators()
{
    DataSet data;
    data.sample1 = seriesOf({{5, 3}, {7, 1}});
    data.sample2 = seriesOf({{8, 2}, {10, 2}});
    data.sample2.appendVariant(11); // a variant still waiting for its frequency
    computeTTest(data.sample1, data.sample2, data.result);
    data.result.iN = 6;
    data.sVariables = QStringLiteral("v3: 11 - ");
    data.sMessage = QStringLiteral("Введите частоту 3-й варианты!");
    const TTestResult before = data.result;

    resetDataSet(data);

    for (const SampleSeries* series : {&data.sample1, &data.sample2}) {
        QVERIFY(series->variants.empty());
        QVERIFY(series->frequencies.empty());
        QCOMPARE(series->variantCount, 0);
        QCOMPARE(series->frequencyCount, 0);
    }
    QCOMPARE(data.result.iN1, 0);
    QCOMPARE(data.result.iN2, 0);
    QVERIFY(data.result.d1.empty());
    QVERIFY(data.result.d2.empty());
    // Everything else is reassigned by the next calculation before it is read.
    QCOMPARE(data.result.iN, 6);
    QCOMPARE(data.result.dSVP1, before.dSVP1);
    QCOMPARE(data.result.dM2, before.dM2);
    QCOMPARE(data.result.dSdd1, before.dSdd1);
    QCOMPARE(data.result.dS2, before.dS2);
    QCOMPARE(data.result.dm1, before.dm1);
    QCOMPARE(data.result.dT, before.dT);
    QCOMPARE(data.sVariables, QStringLiteral("v3: 11 - "));
    QCOMPARE(data.sMessage, QStringLiteral("Введите частоту 3-й варианты!"));
}

// Expected N, M, S, m and t: numpy 1.24 on the expanded observations
// (mean, std with ddof=1, std/sqrt(N)), t as |M1 - M2| / sqrt(m1^2 + m2^2), which
// scipy.stats.ttest_ind(equal_var=False) confirms to the last printed digit.
void TestStatistics::tTest_data()
{
    QTest::addColumn<Pairs>("pairs1");
    QTest::addColumn<Pairs>("pairs2");
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<double>("m1");
    QTest::addColumn<double>("m2");
    QTest::addColumn<double>("s1");
    QTest::addColumn<double>("s2");
    QTest::addColumn<double>("se1");
    QTest::addColumn<double>("se2");
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("tolerance"); // relative

    // Also worked by hand: d1 = 0.5, -1.5; d2 = 1, -1; Sdd 3 and 4.
    QTest::newRow("worked example")
        << Pairs{{5, 3}, {7, 1}} << Pairs{{8, 2}, {10, 2}} << 4 << 4 << 5.5 << 9.0 << 1.0
        << 1.1547005383792515 << 0.5 << 0.57735026918962573 << 4.5825756949558407 << 1e-12;
    // (5,2),(7,1) is the series 5, 5, 7: grouped and ungrouped entry agree, t = 0.
    QTest::newRow("grouped equals ungrouped")
        << Pairs{{5, 2}, {7, 1}} << Pairs{{5, 1}, {5, 1}, {7, 1}} << 3 << 3 << 5.666666666666667
        << 5.666666666666667 << 1.1547005383792517 << 1.1547005383792517 << 0.66666666666666674
        << 0.66666666666666674 << 0.0 << 1e-12;
    QTest::newRow("unequal N, df 16")
        << Pairs{{1.2, 1}, {2.5, 2}, {3.1, 3}, {4.0, 1}}
        << Pairs{{2.0, 2}, {3.5, 4}, {5.25, 3}, {6.0, 2}} << 7 << 11 << 2.7857142857142856
        << 4.1590909090909092 << 0.86106246662397934 << 1.4631845717164635 << 0.32545102142555765
        << 0.44116674758367014 << 2.5051505917858181 << 1e-12;
    QTest::newRow("df 35, between rows")
        << Pairs{{10, 5}, {11, 8}, {12, 7}} << Pairs{{11, 6}, {12, 6}, {13, 5}} << 20 << 17 << 11.1
        << 11.941176470588236 << 0.78806892565241238 << 0.82693623055938525 << 0.17621756887140219
        << 0.20056149554390965 << 3.1507268168114893 << 1e-12;
    QTest::newRow("df 558, above the last row")
        << Pairs{{10, 100}, {11, 150}, {12, 50}} << Pairs{{10.2, 80}, {11.1, 120}, {12.3, 60}}
        << 300 << 260 << 10.833333333333334 << 11.099999999999998 << 0.68833244929908877
        << 0.76405744796041652 << 0.039740892489478326 << 0.047384831384339111 << 4.3119356505992616
        << 1e-12;
    // Exact reference: Python's fractions and decimal on the doubles as stored.
    // The means are good to an ulp of 1.2e6 (2.3e-10), which the deviations of
    // about 1 inherit, hence 1e-8; a one-pass sum-of-squares formula is off by
    // about 3e-4 here.
    QTest::newRow("large offset, unit spread")
        << Pairs{{1234566.3, 2}, {1234567.1, 3}, {1234568.7, 2}}
        << Pairs{{1234567.4, 1}, {1234568.9, 2}, {1234569.6, 1}} << 7 << 4 << 1234567.3285714285
        << 1234568.7 << 1.0028530727970537 << 0.92736184960982659 << 0.37904283316542259
        << 0.4636809248049133 << 2.2899371677878366 << 1e-8;
    QTest::newRow("values around 1e-5")
        << Pairs{{1.1e-5, 2}, {1.3e-5, 1}, {0.9e-5, 3}}
        << Pairs{{1.6e-5, 1}, {1.8e-5, 2}, {2.1e-5, 1}} << 6 << 4 << 1.0333333333333333e-05
        << 1.825e-05 << 1.6329931618554518e-06 << 2.0615528128088299e-06 << 6.666666666666666e-07
        << 1.0307764064044149e-06 << 6.4490202163702417 << 1e-12;
}

void TestStatistics::tTest()
{
    QFETCH(Pairs, pairs1);
    QFETCH(Pairs, pairs2);
    TTestResult r;
    computeTTest(seriesOf(pairs1), seriesOf(pairs2), r);

    QTEST(r.iN1, "n1");
    QTEST(r.iN2, "n2");
    QFETCH(double, m1);
    QFETCH(double, m2);
    QFETCH(double, s1);
    QFETCH(double, s2);
    QFETCH(double, se1);
    QFETCH(double, se2);
    QFETCH(double, t);
    QFETCH(double, tolerance);
    const std::pair<double, double> checks[] = {
        {r.dM1, m1}, {r.dM2, m2}, {r.dS1, s1}, {r.dS2, s2}, {r.dm1, se1}, {r.dm2, se2}, {r.dT, t}};
    for (const auto& [actual, expected] : checks)
        QVERIFY2(close(actual, expected, tolerance), qPrintable(QStringLiteral("%1 instead of %2")
                                                                    .arg(actual, 0, 'g', 17)
                                                                    .arg(expected, 0, 'g', 17)));
    QCOMPARE(r.d1.size(), pairs1.size());
    QCOMPARE(r.d2.size(), pairs2.size());
}

void TestStatistics::workedExampleIntermediates()
{
    // By hand: 5*3 + 7 = 22, 8*2 + 10*2 = 36; deviations from 5.5 and 9.
    TTestResult r;
    r.d1 = {99.0}; // left over from an earlier calculation: replaced, not appended to
    computeTTest(seriesOf({{5, 3}, {7, 1}}), seriesOf({{8, 2}, {10, 2}}), r);
    QCOMPARE(r.dSVP1, 22.0);
    QCOMPARE(r.dSVP2, 36.0);
    QCOMPARE(r.d1, (std::vector<double>{0.5, -1.5}));
    QCOMPARE(r.d2, (std::vector<double>{1.0, -1.0}));
    QCOMPARE(r.dSdd1, 3.0);
    QCOMPARE(r.dSdd2, 4.0);
}

// Degenerate series pass infinities and NaN on instead of failing; by hand.
void TestStatistics::degenerateSeries_data()
{
    QTest::addColumn<Pairs>("pairs1");
    QTest::addColumn<Pairs>("pairs2");
    QTest::addColumn<int>("n1");
    QTest::addColumn<double>("m1");
    QTest::addColumn<double>("s1");
    QTest::addColumn<double>("se1");
    QTest::addColumn<double>("t");

    // sqrt(0 / 0)
    QTest::newRow("N = 1") << Pairs{{5, 1}} << Pairs{{7, 1}, {8, 1}} << 1 << 5.0 << kNaN << kNaN
                           << kNaN;
    // 2 / sqrt(0 + 0)
    QTest::newRow("no spread, different means")
        << Pairs{{5, 3}} << Pairs{{7, 2}} << 3 << 5.0 << 0.0 << 0.0 << kInf;
    // 0 / sqrt(0 + 0)
    QTest::newRow("no spread, equal means")
        << Pairs{{5, 3}} << Pairs{{5, 2}} << 3 << 5.0 << 0.0 << 0.0 << kNaN;
    // N = 2, M = (15 - 6) / 2 = 4.5, Sdd = 3 * 0.25 - 2.25 = -1.5: sqrt of a negative
    QTest::newRow("negative frequency")
        << Pairs{{5, 3}, {6, -1}} << Pairs{{7, 2}, {8, 1}} << 2 << 4.5 << kNaN << kNaN << kNaN;
    // N = 0: M = -1 / 0
    QTest::newRow("frequencies sum to 0")
        << Pairs{{5, 1}, {6, -1}} << Pairs{{7, 2}, {8, 1}} << 0 << -kInf << kNaN << kNaN << kNaN;
    // N = 0 and a zero weighted sum: M = 0 / 0
    QTest::newRow("frequencies and weighted sum 0")
        << Pairs{{5, 1}, {5, -1}} << Pairs{{7, 2}, {8, 1}} << 0 << kNaN << kNaN << kNaN << kNaN;
}

void TestStatistics::degenerateSeries()
{
    QFETCH(Pairs, pairs1);
    QFETCH(Pairs, pairs2);
    TTestResult r;
    computeTTest(seriesOf(pairs1), seriesOf(pairs2), r);
    QTEST(r.iN1, "n1");
    QFETCH(double, m1);
    QFETCH(double, s1);
    QFETCH(double, se1);
    QFETCH(double, t);
    QVERIFY2(close(r.dM1, m1), qPrintable(QString::number(r.dM1)));
    QVERIFY2(close(r.dS1, s1), qPrintable(QString::number(r.dS1)));
    QVERIFY2(close(r.dm1, se1), qPrintable(QString::number(r.dm1)));
    QVERIFY2(close(r.dT, t), qPrintable(QString::number(r.dT)));
}

void TestStatistics::swappingSeriesKeepsT()
{
    const SampleSeries a = seriesOf({{1.2, 1}, {2.5, 2}, {3.1, 3}});
    const SampleSeries b = seriesOf({{2.0, 2}, {3.5, 4}, {5.25, 3}});
    TTestResult ab;
    TTestResult ba;
    computeTTest(a, b, ab);
    computeTTest(b, a, ba);
    QVERIFY(ab.dT > 0.0);
    QCOMPARE(ab.dT, ba.dT);
}

QTEST_APPLESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
