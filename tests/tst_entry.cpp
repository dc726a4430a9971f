#include "DataSet.h"
#include "FormDriver.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using namespace FormDriver;

namespace {

const QString prompt =
    QStringLiteral("Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. ");
const QString calculatePrompt =
    QStringLiteral("Нажмите кнопку <Рассчитать> для получения результата. ");
const QString savePrompt =
    QStringLiteral("Нажмите кнопку <Сохранить> для сохранения результата в файл. ");
const QString inputError = QStringLiteral("Ошибка ввода!");

// Enabled state of the nine widgets that change, in a fixed order, as a string
// that reads well in a failure: V1 P1 V2 P2 Submit End Calculate Save.
QString enabledWidgets(const StudentForm& form)
{
    const QWidget* widgets[] = {form.V1Edit,          form.P1Edit,       form.V2Edit,
                                form.P2Edit,          form.SubmitButton, form.EndButton,
                                form.CalculateButton, form.SaveButton};
    QString flags;
    for (const QWidget* w : widgets)
        flags += w->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return flags;
}

// Everything a refused input must leave as it was.
struct Snapshot
{
    QString protocol;
    QString enabled;
    QString message;
    QString pending;
    int v1, p1, v2, p2;

    explicit Snapshot(const StudentForm& form)
        : protocol(form.ResultEdit->toPlainText()), enabled(enabledWidgets(form)),
          message(form.MessageLabel->text()), pending(currentDataSet().sVariables),
          v1(currentDataSet().sample1.variantCount), p1(currentDataSet().sample1.frequencyCount),
          v2(currentDataSet().sample2.variantCount), p2(currentDataSet().sample2.frequencyCount)
    {
    }
    bool operator==(const Snapshot& o) const
    {
        return protocol == o.protocol && enabled == o.enabled && message == o.message &&
               pending == o.pending && v1 == o.v1 && p1 == o.p1 && v2 == o.v2 && p2 == o.p2;
    }
};

} // namespace

class TestEntry : public QObject
{
    Q_OBJECT

private slots:
    void init() { currentDataSet() = DataSet{}; }
    void protocol_data();
    void protocol();
    void refusedInput_data();
    void refusedInput();
    void refusedFrequencyKeepsPairNumber();
    void stopRefused_data();
    void stopRefused();
    void stopDiscardsTypedText();
    void widgetStates_data();
    void widgetStates();
    void nothingHappensOnceEntryIsDone();
    void report_data();
    void report();
    void wholeCycleFromTheKeyboard();
};

void TestEntry::protocol_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<double>("firstVariant");

    const QString head1 = QStringLiteral("Варианты 1-го ряда:");
    const QString head2 = QStringLiteral("Варианты 2-го ряда: ");
    QTest::newRow("two samples") << QStringList{"3.5", "2", "4", "1", "|", "5", "3"}
                                 << QStringList{head1, "v1: 3.5 - p1: 2.", "v2: 4 - p2: 1.", head2,
                                                "v1: 5 - p1: 3."}
                                 << 3.5;
    QTest::newRow("six digits shown, all kept")
        << QStringList{"1234567", "1"} << QStringList{head1, "v1: 1.23457e+06 - p1: 1."}
        << 1234567.0;
    QTest::newRow("small in exponent form")
        << QStringList{"0.00001", "1"} << QStringList{head1, "v1: 1e-05 - p1: 1."} << 1e-5;
    QTest::newRow("trailing zero dropped")
        << QStringList{"2.50", "1"} << QStringList{head1, "v1: 2.5 - p1: 1."} << 2.5;
    QTest::newRow("negative frequency")
        << QStringList{"3", "-2"} << QStringList{head1, "v1: 3 - p1: -2."} << 3.0;
    QTest::newRow("decimal comma, spaces")
        << QStringList{" 3,25 ", " 4 "} << QStringList{head1, "v1: 3.25 - p1: 4."} << 3.25;
    QTest::newRow("zero variant") << QStringList{"0", "1"} << QStringList{head1, "v1: 0 - p1: 1."}
                                  << 0.0;
    QTest::newRow("variant waiting")
        << QStringList{"7", "1", "8"} << QStringList{head1, "v1: 7 - p1: 1."} << 7.0;
}

void TestEntry::protocol()
{
    QFETCH(QStringList, steps);
    ModalCatcher catcher;
    StudentForm form;
    enter(form, steps);
    QTEST(lines(form), "expected");
    QTEST(currentDataSet().sample1.variants.at(0), "firstVariant");
    QCOMPARE(catcher.count(), 0);
}

void TestEntry::refusedInput_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");

    const QString notANumber = QStringLiteral("Варианта должна быть числом!");
    const QString notWhole = QStringLiteral("Частота варианты должна быть целым числом!");
    const QString tooMany = QStringLiteral("Сумма частот выборки выходит за допустимые пределы!");
    QTest::newRow("empty variant") << QStringList{} << "" << notANumber;
    QTest::newRow("letters") << QStringList{"5", "1"} << "abc" << notANumber;
    QTest::newRow("inf") << QStringList{} << "inf" << notANumber;
    QTest::newRow("nan") << QStringList{} << "nan" << notANumber;
    QTest::newRow("beyond double") << QStringList{} << "1e400" << notANumber;
    QTest::newRow("variant of sample 2") << QStringList{"5", "1", "|"} << "x" << notANumber;
    QTest::newRow("frequency 0") << QStringList{"5"} << "0" << notWhole;
    QTest::newRow("frequency 2.5") << QStringList{"5"} << "2.5" << notWhole;
    QTest::newRow("frequency abc") << QStringList{"5"} << "abc" << notWhole;
    QTest::newRow("empty frequency") << QStringList{"5"} << "" << notWhole;
    QTest::newRow("frequency past int") << QStringList{"5"} << "2147483648" << notWhole;
    QTest::newRow("frequency of sample 2") << QStringList{"5", "1", "|", "6"} << "0" << notWhole;
    QTest::newRow("sum past INT_MAX") << QStringList{"5", "2147483647", "6"} << "1" << tooMany;
    QTest::newRow("sum past INT_MIN")
        << QStringList{"5", "-2147483647", "6", "-1", "7"} << "-1" << tooMany;
    QTest::newRow("sum of sample 2")
        << QStringList{"5", "1", "|", "5", "2000000000", "6"} << "200000000" << tooMany;
}

void TestEntry::refusedInput()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    ModalCatcher catcher;
    StudentForm form;
    form.show();
    enter(form, before);
    QCOMPARE(catcher.count(), 0);
    const Snapshot snapshot(form);
    const EntryState state = form.entryState();
    QLineEdit* edit = activeEdit(form);

    QTest::keyClicks(edit, typed);
    QTest::mouseClick(form.SubmitButton, Qt::LeftButton);

    QCOMPARE(catcher.count(), 1);
    const ModalCatcher::Box& box = catcher.boxes().first();
    QCOMPARE(box.title, inputError);
    QTEST(box.text, "text");
    QCOMPARE(box.icon, int(QMessageBox::Critical));
    QVERIFY(edit->text().isEmpty());
    QCOMPARE(form.entryState(), state);
    QVERIFY(Snapshot(form) == snapshot);
    QCOMPARE(form.focusWidget(), edit);
}

void TestEntry::refusedFrequencyKeepsPairNumber()
{
    ModalCatcher catcher;
    StudentForm form;
    enter(form, {"5", "1", "6", "0", "3"});
    QCOMPARE(catcher.count(), 1);
    QCOMPARE(lines(form).last(), QStringLiteral("v2: 6 - p2: 3."));
    QCOMPARE(currentDataSet().sample1.frequencies, (std::vector<int>{1, 3}));
}

void TestEntry::stopRefused_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");

    const QString empty = QStringLiteral("Введите хотя бы одну варианту и её частоту!");
    const int warning = QMessageBox::Warning;
    QTest::newRow("third frequency awaited") << QStringList{"5", "1", "6", "2", "7"} << "3"
                                             << "Введите частоту 3-й варианты!" << warning;
    QTest::newRow("first frequency of sample 2 awaited")
        << QStringList{"5", "1", "|", "8"} << ""
        << "Введите частоту 1-й варианты!" << warning;
    QTest::newRow("sample 1 empty") << QStringList{} << "4" << empty << warning;
    QTest::newRow("sample 2 empty") << QStringList{"5", "1", "|"} << "" << empty << warning;
}

void TestEntry::stopRefused()
{
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    ModalCatcher catcher;
    StudentForm form;
    enter(form, before);
    QLineEdit* edit = activeEdit(form);
    QTest::keyClicks(edit, typed);
    const Snapshot snapshot(form);

    QTest::mouseClick(form.EndButton, Qt::LeftButton);

    QCOMPARE(catcher.count(), 1);
    QCOMPARE(catcher.boxes().first().title, inputError);
    QTEST(catcher.boxes().first().text, "text");
    QTEST(catcher.boxes().first().icon, "icon");
    QCOMPARE(edit->text(), typed); // nothing lost
    QVERIFY(Snapshot(form) == snapshot);
}

void TestEntry::stopDiscardsTypedText()
{
    StudentForm form;
    enter(form, {"5", "1"});
    QTest::keyClicks(form.V1Edit, QStringLiteral("9"));
    QTest::mouseClick(form.EndButton, Qt::LeftButton);
    QCOMPARE(form.entryState(), EntryState::EnterVariant2);
    QVERIFY(form.V1Edit->text().isEmpty());
    QCOMPARE(currentDataSet().sample1.variantCount, 1);
}

void TestEntry::widgetStates_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<EntryState>("state");
    QTest::addColumn<QString>("enabled"); // V1 P1 V2 P2 Submit End Calculate Save
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("message");

    QTest::newRow("variant 1 accepted")
        << QStringList{"5"} << EntryState::EnterFrequency1 << "01001100"
        << "P1Edit" << prompt;
    QTest::newRow("pair 1 complete")
        << QStringList{"5", "1"} << EntryState::EnterVariant1 << "10001100"
        << "V1Edit" << prompt;
    QTest::newRow("sample 1 closed")
        << QStringList{"5", "1", "|"} << EntryState::EnterVariant2 << "00101100"
        << "V2Edit" << prompt;
    QTest::newRow("variant 2 accepted")
        << QStringList{"5", "1", "|", "6"} << EntryState::EnterFrequency2 << "00011100"
        << "P2Edit" << prompt;
    QTest::newRow("sample 2 closed")
        << QStringList{"5", "1", "|", "6", "1", "|"} << EntryState::EntryDone << "00000010"
        << "CalculateButton" << calculatePrompt;
}

void TestEntry::widgetStates()
{
    QFETCH(QStringList, steps);
    StudentForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    enter(form, steps);
    QTEST(form.entryState(), "state");
    QTEST(enabledWidgets(form), "enabled");
    QTEST(QApplication::focusWidget()->objectName(), "focus");
    QTEST(form.MessageLabel->text(), "message");
}

void TestEntry::nothingHappensOnceEntryIsDone()
{
    ModalCatcher catcher;
    StudentForm form;
    enter(form, {"5", "1", "|", "6", "1", "|"});
    const Snapshot snapshot(form);
    QMetaObject::invokeMethod(&form, "OnSubmit");
    QMetaObject::invokeMethod(&form, "OnStop");
    QVERIFY(Snapshot(form) == snapshot);
    QCOMPARE(catcher.count(), 0);
}

// Values: the statistics tests' references, printed with six significant digits.
void TestEntry::report_data()
{
    QTest::addColumn<QStringList>("sample1");
    QTest::addColumn<QStringList>("sample2");
    QTest::addColumn<QStringList>("values"); // N1 N2 M1 M2 S1 S2 m1 m2 t
    QTest::addColumn<QString>("verdict");

    const QString significant =
        QStringLiteral("Различие достоверно с вероятностью безошибочного прогноза p=%1%.");
    const QString notSignificant = QStringLiteral("Различие недостоверно.");
    QTest::newRow("worked example, df 6")
        << QStringList{"5", "3", "7", "1"} << QStringList{"8", "2", "10", "2"}
        << QStringList{"4", "4", "5.5", "9", "1", "1.1547", "0.5", "0.57735", "4.58258"}
        << significant.arg(QStringLiteral("99"));
    // 2 / sqrt(0 + 0) = inf reaches the highest level of row 3.
    QTest::newRow("no spread, df 3") << QStringList{"5", "3"} << QStringList{"7", "2"}
                                     << QStringList{"3", "2", "5", "7", "0", "0", "0", "0", "inf"}
                                     << significant.arg(QStringLiteral("99.9"));
    // S1 = sqrt(0 / 0); df 0 names no row.
    QTest::newRow("one observation each")
        << QStringList{"5", "1"} << QStringList{"7", "1"}
        << QStringList{"1", "1", "5", "7", "nan", "nan", "nan", "nan", "nan"} << notSignificant;
    QTest::newRow("equal means") << QStringList{"5", "2", "7", "1"}
                                 << QStringList{"5", "1", "5", "1", "7", "1"}
                                 << QStringList{"3",        "3",        "5.66667",
                                                "5.66667",  "1.1547",   "1.1547",
                                                "0.666667", "0.666667", "0"}
                                 << notSignificant;
    QTest::newRow("df 16, level 95")
        << QStringList{"1.2", "1", "2.5", "2", "3.1", "3", "4.0", "1"}
        << QStringList{"2.0", "2", "3.5", "4", "5.25", "3", "6.0", "2"}
        << QStringList{"7",       "11",       "2.78571",  "4.15909", "0.861062",
                       "1.46318", "0.325451", "0.441167", "2.50515"}
        << significant.arg(QStringLiteral("95"));
    QTest::newRow("exponent forms")
        << QStringList{"1.1e-5", "2", "1.3e-5", "1", "0.9e-5", "3"}
        << QStringList{"1.6e-5", "1", "1.8e-5", "2", "2.1e-5", "1"}
        << QStringList{"6",           "4",           "1.03333e-05", "1.825e-05", "1.63299e-06",
                       "2.06155e-06", "6.66667e-07", "1.03078e-06", "6.44902"}
        << significant.arg(QStringLiteral("99.9"));
    // N1 = 0: M1 = -1 / 0; S1 = sqrt(nan / -1).
    QTest::newRow("frequencies summing to 0")
        << QStringList{"5", "1", "6", "-1"} << QStringList{"7", "2", "8", "1"}
        << QStringList{"0", "3", "-inf", "7.33333", "nan", "0.57735", "nan", "0.333333", "nan"}
        << notSignificant;
}

void TestEntry::report()
{
    QFETCH(QStringList, sample1);
    QFETCH(QStringList, sample2);
    QFETCH(QStringList, values);
    QFETCH(QString, verdict);
    ModalCatcher catcher;
    StudentForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    enter(form, sample1 + QStringList{"|"} + sample2 + QStringList{"|"});
    const QStringList protocol = lines(form);
    QTest::mouseClick(form.CalculateButton, Qt::LeftButton);

    const QStringList labels = {
        "Число наблюдений в 1-м ряду N1 равно ",
        "Число наблюдений во 2-м ряду N2 равно ",
        "Средняя первого ряда M1 равна: ",
        "Средняя второго ряда M2 равна: ",
        "Среднеквадратичное отклонение в первом ряду S1 равно: ",
        "Среднеквадратичное отклонение во втором ряду S2 равно: ",
        "Ошибка средней в первом ряду m1 равна: ",
        "Ошибка средней во втором ряду m2 равна: ",
        "Коэффициент Стъюдента t равен: ",
    };
    QStringList expected = protocol;
    for (int k = 0; k < 9; ++k)
        expected << labels.at(k) + values.at(k) + QLatin1Char('.');
    expected << verdict;
    QCOMPARE(lines(form), expected);

    QCOMPARE(catcher.count(), 0);
    QCOMPARE(enabledWidgets(form), QStringLiteral("00000001"));
    QCOMPARE(QApplication::focusWidget(), form.SaveButton);
    QCOMPARE(form.MessageLabel->text(), savePrompt);
    QCOMPARE(form.entryState(), EntryState::EntryDone);
}

// Type, Return; Tab, Tab, Space for "Завершить"; Return on the focused buttons.
void TestEntry::wholeCycleFromTheKeyboard()
{
    ModalCatcher catcher;
    StudentForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTRY_COMPARE(QApplication::focusWidget(), form.V1Edit);

    const auto type = [](const QString& text) {
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, modifiers);
    };
    for (const char* text : {"5", "3", "7", "1"})
        type(QString::fromLatin1(text));
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.EndButton);
    key(Qt::Key_Space);
    QCOMPARE(QApplication::focusWidget(), form.V2Edit);
    for (const char* text : {"8", "2", "10", "2"})
        type(QString::fromLatin1(text));
    key(Qt::Key_Tab, Qt::ShiftModifier); // V2Edit back to "Завершить"
    QCOMPARE(QApplication::focusWidget(), form.EndButton);
    key(Qt::Key_Space);
    QCOMPARE(QApplication::focusWidget(), form.CalculateButton);
    key(Qt::Key_Return);
    QCOMPARE(lines(form).size(), 6 + 10);
    QCOMPARE(lines(form).at(3), QStringLiteral("Варианты 2-го ряда: "));
    QCOMPARE(QApplication::focusWidget(), form.SaveButton);
    QCOMPARE(catcher.count(), 0);
}

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"
