#include "TypedNumber.h"

#include <QTest>

#include <climits>

class TestTypedNumber : public QObject
{
    Q_OBJECT

private slots:
    void variant_data();
    void variant();
    void frequency_data();
    void frequency();
};

void TestTypedNumber::variant_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << "7" << true << 7.0;
    QTest::newRow("zero") << "0" << true << 0.0;
    QTest::newRow("point") << "3.5" << true << 3.5;
    QTest::newRow("decimal comma") << "3,5" << true << 3.5;
    QTest::newRow("negative comma") << "-0,25" << true << -0.25;
    QTest::newRow("surrounding spaces") << "  2.50 \t" << true << 2.5;
    QTest::newRow("exponent") << "1e-5" << true << 1e-5;
    QTest::newRow("largest double") << "1.7976931348623157e308" << true << 1.7976931348623157e308;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("only spaces") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("number then letters") << "5kg" << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("-inf") << "-inf" << false << 0.0;
    QTest::newRow("nan") << "nan" << false << 0.0;
    QTest::newRow("beyond double") << "1e400" << false << 0.0;
    QTest::newRow("two separators") << "1,5.2" << false << 0.0;
    QTest::newRow("grouped thousands") << "1 000" << false << 0.0;
}

void TestTypedNumber::variant()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const std::optional<double> parsed = parseVariant(text);
    QCOMPARE(parsed.has_value(), accepted);
    if (accepted)
        QTEST(*parsed, "value");
}

void TestTypedNumber::frequency_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // 0: refused

    QTest::newRow("positive") << "3" << 3;
    QTest::newRow("negative") << "-2" << -2;
    QTest::newRow("spaces") << " 4 " << 4;
    QTest::newRow("INT_MAX") << "2147483647" << INT_MAX;
    QTest::newRow("INT_MIN") << "-2147483648" << INT_MIN;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("past INT_MAX") << "2147483648" << 0;
    QTest::newRow("fraction") << "2.5" << 0;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("hexadecimal") << "0x10" << 0;
}

void TestTypedNumber::frequency()
{
    QFETCH(QString, text);
    QTEST(parseFrequency(text).value_or(0), "value");
}

QTEST_APPLESS_MAIN(TestTypedNumber)
#include "tst_typednumber.moc"
