#include "CriticalValueTable.h"

#include <QTest>

#include <boost/math/distributions/students_t.hpp>

#include <climits>
#include <cmath>
#include <limits>

namespace {

double twoSidedQuantile(int df, double p)
{
    const boost::math::students_t dist(df);
    return boost::math::quantile(boost::math::complement(dist, p / 2));
}

double rounded2(double x)
{
    return std::round(x * 100.0) / 100.0;
}

} // namespace

class TestCriticalValues : public QObject
{
    Q_OBJECT

private slots:
    void tableAgreesWithStudentsDistribution();
    void rowFor_data();
    void rowFor();
    void levelFor_data();
    void levelFor();
    void degreesOfFreedomDoNotOverflow_data();
    void degreesOfFreedomDoNotOverflow();
};

// Every printed value lies within 0.02 of the exact two-sided quantile (Boost.Math),
// and is the quantile rounded to two decimals except where the printed tables
// round otherwise; those eight are listed with their exact values (Boost.Math,
// confirmed with scipy.stats.t.ppf), so a mistyped last digit anywhere fails.
void TestCriticalValues::tableAgreesWithStudentsDistribution()
{
    struct Printed
    {
        int df;
        double p;
    };
    const Printed printedOtherwise[] = {
        {2, 0.01},   // 9.9248 printed 9.93
        {3, 0.001},  // 12.9240 printed 12.94
        {5, 0.001},  // 6.8688 printed 6.86
        {7, 0.05},   // 2.3646 printed 2.37
        {12, 0.01},  // 3.0545 printed 3.06
        {14, 0.05},  // 2.1448 printed 2.15
        {16, 0.001}, // 4.0150 printed 4.02
        {29, 0.05},  // 2.0452 printed 2.04
    };
    int listedSeen = 0;
    for (const auto& row : CriticalValueTable::rows()) {
        const std::pair<double, double> columns[] = {
            {0.05, row.c95}, {0.01, row.c99}, {0.001, row.c999}};
        for (const auto& [p, printed] : columns) {
            if (row.df == 1 && p == 0.001) {
                QCOMPARE(printed, 0.0); // the table has no 99.9 value for one df
                continue;
            }
            const double exact = twoSidedQuantile(row.df, p);
            const QByteArray where = QByteArray::number(row.df) + " p=" + QByteArray::number(p);
            QVERIFY2(std::fabs(printed - exact) <= 0.02, where.constData());
            bool listed = false;
            for (const auto& e : printedOtherwise)
                listed = listed || (e.df == row.df && e.p == p);
            listedSeen += listed ? 1 : 0;
            if (!listed)
                QVERIFY2(printed == rounded2(exact), where.constData());
            else
                QVERIFY2(printed != rounded2(exact), where.constData());
        }
    }
    QCOMPARE(listedSeen, 8);
}

void TestCriticalValues::rowFor_data()
{
    QTest::addColumn<int>("df");
    QTest::addColumn<int>("row");
    QTest::newRow("INT_MIN, no row") << INT_MIN << INT_MIN;
    QTest::newRow("0, no row") << 0 << 0;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("17") << 17 << 17;
    QTest::newRow("30") << 30 << 30;
    QTest::newRow("31") << 31 << 30;
    QTest::newRow("35") << 35 << 30;
    QTest::newRow("39") << 39 << 30;
    QTest::newRow("40") << 40 << 40;
    QTest::newRow("49") << 49 << 40;
    QTest::newRow("59") << 59 << 50;
    QTest::newRow("79") << 79 << 60;
    QTest::newRow("99") << 99 << 80;
    QTest::newRow("119") << 119 << 100;
    QTest::newRow("199") << 199 << 120;
    QTest::newRow("499") << 499 << 200;
    QTest::newRow("500") << 500 << 500;
    QTest::newRow("600") << 600 << 500;
    QTest::newRow("INT_MAX") << INT_MAX << 500;
}

void TestCriticalValues::rowFor()
{
    QFETCH(int, df);
    QTEST(CriticalValueTable::rowFor(df), "row");
}

void TestCriticalValues::levelFor_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<double>("t");
    QTest::addColumn<float>("level");
    const double inf = std::numeric_limits<double>::infinity();

    QTest::newRow("df 10, below 2.23") << 10 << 2.0 << 0.0F;
    QTest::newRow("df 10, exactly 2.23") << 10 << 2.23 << 0.0F;
    QTest::newRow("df 10, above 2.23") << 10 << 3.0 << 95.0F;
    QTest::newRow("df 10, above 3.17") << 10 << 3.2 << 99.0F;
    QTest::newRow("df 10, above 4.59") << 10 << 4.6 << 99.9F;
    QTest::newRow("df 20, exactly 2.09") << 20 << 2.09 << 0.0F;
    QTest::newRow("df 20, just above 2.09") << 20 << 2.0900001 << 95.0F;
    QTest::newRow("df 29, exactly 2.04") << 29 << 2.04 << 95.0F;
    QTest::newRow("df 29, exactly 2.76") << 29 << 2.76 << 99.0F;
    QTest::newRow("df 29, exactly 3.66") << 29 << 3.66 << 99.9F;
    QTest::newRow("df 29, just below 2.04") << 29 << 2.0399999 << 0.0F;
    QTest::newRow("df 30, exactly 3.65") << 30 << 3.65 << 99.0F;
    QTest::newRow("row 30 for df 35") << 30 << 2.05 << 95.0F;
    QTest::newRow("row 1, t = 700") << 1 << 700.0 << 99.0F;
    QTest::newRow("row 1, above 12.71") << 1 << 13.0 << 95.0F;
    QTest::newRow("row 500, above 3.31") << 500 << 3.32 << 99.9F;
    QTest::newRow("no row 0") << 0 << 1000.0 << 0.0F;
    QTest::newRow("no row 31") << 31 << 1000.0 << 0.0F;
    QTest::newRow("NaN") << 10 << std::numeric_limits<double>::quiet_NaN() << 0.0F;
    QTest::newRow("+inf") << 10 << inf << 99.9F;
    QTest::newRow("+inf, row 1") << 1 << inf << 99.0F;
    QTest::newRow("+inf, row 29") << 29 << inf << 99.9F;
    QTest::newRow("t = 0") << 6 << 0.0 << 0.0F;
}

void TestCriticalValues::levelFor()
{
    QFETCH(int, row);
    QFETCH(double, t);
    QTEST(CriticalValueTable::levelFor(row, t), "level");
}

void TestCriticalValues::degreesOfFreedomDoNotOverflow_data()
{
    QTest::addColumn<int>("n1");
    QTest::addColumn<int>("n2");
    QTest::addColumn<int>("df");
    QTest::newRow("one observation each") << 1 << 1 << 0;
    QTest::newRow("worked example") << 4 << 4 << 6;
    QTest::newRow("both INT_MAX") << INT_MAX << INT_MAX << INT_MAX;
    QTest::newRow("both INT_MIN") << INT_MIN << INT_MIN << INT_MIN;
    QTest::newRow("INT_MIN and 1") << INT_MIN << 1 << INT_MIN;
    QTest::newRow("INT_MAX and INT_MIN") << INT_MAX << INT_MIN << -3;
}

void TestCriticalValues::degreesOfFreedomDoNotOverflow()
{
    QFETCH(int, n1);
    QFETCH(int, n2);
    QTEST(CriticalValueTable::degreesOfFreedom(n1, n2), "df");
}

QTEST_APPLESS_MAIN(TestCriticalValues)
#include "tst_criticalvalues.moc"
