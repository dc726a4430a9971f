#include "DataSet.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTextEdit>

#include <algorithm>

namespace {

const QString H1 = QStringLiteral("Варианты 1-го ряда:");
const QString H2 = QStringLiteral("Варианты 2-го ряда: ");
const QHash<QString, QString> prompts{
    {"entry", "Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. "},
    {"calculate", "Нажмите кнопку <Рассчитать> для получения результата. "},
    {"save", "Нажмите кнопку <Сохранить> для сохранения результата в файл. "}};

QString critical(const char* text)
{
    return QStringLiteral("critical: Ошибка ввода! / ") + QString::fromUtf8(text);
}

QString warning(const char* text)
{
    return QStringLiteral("warning: Ошибка ввода! / ") + QString::fromUtf8(text);
}

// The ten report lines from the nine values as printed and the level reached.
QStringList report(const QString& values, const char* level)
{
    static const char* const labels[] = {"Число наблюдений в 1-м ряду N1 равно ",
                                         "Число наблюдений во 2-м ряду N2 равно ",
                                         "Средняя первого ряда M1 равна: ",
                                         "Средняя второго ряда M2 равна: ",
                                         "Среднеквадратичное отклонение в первом ряду S1 равно: ",
                                         "Среднеквадратичное отклонение во втором ряду S2 равно: ",
                                         "Ошибка средней в первом ряду m1 равна: ",
                                         "Ошибка средней во втором ряду m2 равна: ",
                                         "Коэффициент Стъюдента t равен: "};
    QStringList lines;
    const QStringList split = values.split(QLatin1Char(' '));
    for (int k = 0; k < 9; ++k)
        lines << QString::fromUtf8(labels[k]) + split.at(k) + QLatin1Char('.');
    lines << (*level != 0 ? QStringLiteral("Различие достоверно с вероятностью безошибочного "
                                           "прогноза p=%1%.")
                                .arg(QLatin1String(level))
                          : QStringLiteral("Различие недостоверно."));
    return lines;
}

} // namespace

class TestDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { currentDataSet() = DataSet{}; }
    void widgetTree_data();
    void widgetTree();
    void dialogAndFonts();
    void captions_data();
    void captions();
    void scenario_data();
    void scenario();
    void aboutBox();
};

void TestDialog::widgetTree_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry"); // a caption's width is its narrowest
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char* name, const char* cls, QRect rect, const char* text, bool on) {
        QTest::newRow(name) << cls << rect << QString::fromUtf8(text) << on;
    };
    row("V1Label", "QLabel", {10, 40, 140, 20}, "Варианты 1-й выборки", true);
    row("V2Label", "QLabel", {10, 110, 140, 20}, "Варианты 2-й выборки", true);
    row("P1Label", "QLabel", {160, 40, 183, 20}, "Частоты вариант 1-й выборки", true);
    row("P2Label", "QLabel", {160, 110, 183, 20}, "Частоты вариант 2-й выборки", true);
    row("V1Edit", "QLineEdit", {10, 70, 140, 22}, "", true);
    row("MessageLabel", "QLabel", {10, 10, 580, 20},
        "Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. ", true);
    row("ResultEdit", "QTextEdit", {10, 180, 580, 290}, "Варианты 1-го ряда:", true);
    row("SubmitButton", "QPushButton", {350, 70, 111, 30}, "Ввод", true);
    row("EndButton", "QPushButton", {470, 70, 111, 30}, "Завершить", true);
    row("P1Edit", "QLineEdit", {160, 70, 140, 22}, "", false);
    row("V2Edit", "QLineEdit", {10, 140, 140, 22}, "", false);
    row("P2Edit", "QLineEdit", {160, 140, 140, 22}, "", false);
    row("CalculateButton", "QPushButton", {350, 130, 111, 30}, "Рассчитать", false);
    row("SaveButton", "QPushButton", {470, 130, 111, 30}, "Сохранить", false);
}

void TestDialog::widgetTree()
{
    QFETCH(QRect, geometry);
    StudentForm form;
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto* widget = form.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(widget != nullptr);
    QTEST(QString::fromLatin1(widget->metaObject()->className()), "className");
    QRect actual = widget->geometry();
    if (name.endsWith(QLatin1String("Label")) && name != QLatin1String("MessageLabel")) {
        QVERIFY(actual.width() >= geometry.width());
        actual.setWidth(geometry.width());
    }
    QCOMPARE(actual, geometry);
    QTEST(widget->isEnabled(), "enabled");
    QString text = widget->property("text").toString(); // labels, edits, buttons
    if (auto* area = qobject_cast<QTextEdit*>(widget))
        text = area->isReadOnly() ? area->toPlainText() : QStringLiteral("not read-only");
    QTEST(text, "text");
    if (auto* button = qobject_cast<QPushButton*>(widget))
        QVERIFY(button->shortcut().isEmpty()); // no accelerators in the texts
}

void TestDialog::dialogAndFonts()
{
    StudentForm form;
    QCOMPARE(form.objectName(), QStringLiteral("StudentForm"));
    QCOMPARE(StudentForm(nullptr, "Other").objectName(), QStringLiteral("Other"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Сравнение по t-критерию Стъюдента"));
    QCOMPARE(form.size(), QSize(600, 480));
    QVERIFY(form.layout() == nullptr && !form.isModal() && form.isWindow());
    QCOMPARE(form.ResultEdit->font().family(), QStringLiteral("Nimbus Roman No9 l"));
    QCOMPARE(form.ResultEdit->font().pointSize(), 12);
    QCOMPARE(form.ResultEdit->font().weight(), QApplication::font(form.ResultEdit).weight());
    for (const QWidget* widget : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(widget->testAttribute(Qt::WA_SetFont), widget == form.ResultEdit);
}

// Whole in the default font; in one too large, elided, the whole caption its
// tooltip. Room: up to 4 px before the frequency's caption, or to the margin.
void TestDialog::captions_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("default font") << 0;
    QTest::newRow("large font") << 40;
}

void TestDialog::captions()
{
    QFETCH(int, pointSize);
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(original); });
    QFont font = original;
    font.setPointSize(pointSize > 0 ? pointSize : font.pointSize());
    QApplication::setFont(font);
    StudentForm form;
    const QFontMetrics metrics(font);
    const QHash<QLabel*, QString> texts{{form.V1Label, "Варианты 1-й выборки"},
                                        {form.V2Label, "Варианты 2-й выборки"},
                                        {form.P1Label, "Частоты вариант 1-й выборки"},
                                        {form.P2Label, "Частоты вариант 2-й выборки"}};
    for (auto [label, text] : texts.asKeyValueRange()) {
        const bool variant = label->x() == 10;
        const int room = variant ? 146 : 430;
        const int needed = metrics.horizontalAdvance(text);
        QCOMPARE(label->size(), QSize(std::clamp(needed, variant ? 140 : 183, room), 20));
        QCOMPARE(label->text(), metrics.elidedText(text, Qt::ElideRight, room));
        QCOMPARE(label->toolTip(), needed > room ? text : QString());
        QCOMPARE(label->text().endsWith(QChar(0x2026)), pointSize > 0);
    }
}

// Each row: what the user does, then the whole protocol, the boxes shown, the
// enabled widgets and the focus, and the message line.
void TestDialog::scenario_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("state"); // V1 P1 V2 P2 Submit End Calculate Save, focus
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const char* script, const QStringList& lines,
                        const QStringList& boxes, const char* state, const char* message) {
        QTest::newRow(name) << script << lines << boxes << state << prompts.value(message);
    };
    const QStringList none;
    const char* const notWhole = "Частота варианты должна быть целым числом!";
    const char* const tooMany = "Сумма частот выборки выходит за допустимые пределы!";
    const char* const emptySample = "Введите хотя бы одну варианту и её частоту!";
    const char* const start = "10001100 V1Edit";

    row("start", "", {H1}, none, start, "entry");
    row("disabled buttons do nothing", "# $", {H1}, none, start, "entry");
    row("tab skips disabled edits", "<Tab> <Tab>", {H1}, none, "10001100 EndButton", "entry");
    row("protocol is read-only", "<Tab> <Tab> <Tab> abc", {H1}, none, "10001100 ResultEdit",
        "entry");
    row("variant waits", "5 =", {H1}, none, "01001100 P1Edit", "entry");
    row("pairs echoed, sample 2 counts anew", "3.5 = 2 = 4 = 1 = | 5 = 3 =",
        {H1, "v1: 3.5 - p1: 2.", "v2: 4 - p2: 1.", H2, "v1: 5 - p1: 3."}, none, "00101100 V2Edit",
        "entry");
    row("numbers as typed and shown", "1234567 = 1 = 0.00001 = -2 = 2.50 = 1 = 3,25 = 4 = 0 = 5 =",
        {H1, "v1: 1.23457e+06 - p1: 1.", "v2: 1e-05 - p2: -2.", "v3: 2.5 - p3: 1.",
         "v4: 3.25 - p4: 4.", "v5: 0 - p5: 5."},
        none, start, "entry");
    row("refused variants", "= abc = inf = nan = 1e400 = 5 =", {H1},
        QStringList(5, critical("Варианта должна быть числом!")), "01001100 P1Edit", "entry");
    row("refused frequencies keep the pair's number",
        "5 = 0 = 2.5 = abc = = 2147483648 = 3 =", {H1, "v1: 5 - p1: 3."},
        QStringList(5, critical(notWhole)), start, "entry");
    row("sum of frequencies up to INT_MAX",
        "5 = 2147483646 = 6 = 2 = 1 =", {H1, "v1: 5 - p1: 2147483646.", "v2: 6 - p2: 1."},
        {critical(tooMany)}, start, "entry");
    row("sum of frequencies down to INT_MIN", "5 = 1 = | 5 = -2147483647 = 6 = -2 = -1 =",
        {H1, "v1: 5 - p1: 1.", H2, "v1: 5 - p1: -2147483647.", "v2: 6 - p2: -1."},
        {critical(tooMany)}, "00101100 V2Edit", "entry");
    row("closing refused while a frequency is awaited", "5 = 1 = 6 = 2 = 7 = 3 | <Return>",
        {H1, "v1: 5 - p1: 1.", "v2: 6 - p2: 2.", "v3: 7 - p3: 3."},
        {warning("Введите частоту 3-й варианты!")}, start, "entry");
    row("closing sample 2 refused while awaited", "5 = 1 = | 8 = | 2 <Return>",
        {H1, "v1: 5 - p1: 1.", H2, "v1: 8 - p1: 2."}, {warning("Введите частоту 1-й варианты!")},
        "00101100 V2Edit", "entry");
    row("empty sample 1 not closed", "| 4 <Return>", {H1}, {warning(emptySample)},
        "01001100 P1Edit", "entry");
    row("empty sample 2 not closed", "5 = 1 = | | 6 <Return>", {H1, "v1: 5 - p1: 1.", H2},
        {warning(emptySample)}, "00011100 P2Edit", "entry");
    row("typed text discarded on closing", "5 = 1 = 9 | 6 = 1 = 7 |",
        {H1, "v1: 5 - p1: 1.", H2, "v1: 6 - p1: 1."}, none, "00000010 CalculateButton",
        "calculate");
    row("nothing once entry is done", "5 = 1 = | 6 = 1 = | !",
        {H1, "v1: 5 - p1: 1.", H2, "v1: 6 - p1: 1."}, none, "00000010 CalculateButton",
        "calculate");

    // Reports: values from the statistics tests' references, six digits.
    const auto reportRow = [&](const char* name, const char* script, const QStringList& protocol,
                               const char* values, const char* level) {
        row(name, script, protocol + report(QString::fromUtf8(values), level), none,
            "00000001 SaveButton", "save");
    };
    reportRow("worked example, df 6", "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #",
              {H1, "v1: 5 - p1: 3.", "v2: 7 - p2: 1.", H2, "v1: 8 - p1: 2.", "v2: 10 - p2: 2."},
              "4 4 5.5 9 1 1.1547 0.5 0.57735 4.58258", "99");
    // 2 / sqrt(0 + 0) = inf reaches the highest level of row 3.
    reportRow("no spread, df 3", "5 = 3 = | 7 = 2 = | #",
              {H1, "v1: 5 - p1: 3.", H2, "v1: 7 - p1: 2."}, "3 2 5 7 0 0 0 0 inf", "99.9");
    // S1 = sqrt(0 / 0); df 0 names no row.
    reportRow("one observation each", "5 = 1 = | 7 = 1 = | #",
              {H1, "v1: 5 - p1: 1.", H2, "v1: 7 - p1: 1."}, "1 1 5 7 nan nan nan nan nan", "");
    reportRow(
        "df 16, level 95",
        "1.2 = 1 = 2.5 = 2 = 3.1 = 3 = 4.0 = 1 = | 2.0 = 2 = 3.5 = 4 = 5.25 = 3 = 6.0 = 2 = | #",
        {H1, "v1: 1.2 - p1: 1.", "v2: 2.5 - p2: 2.", "v3: 3.1 - p3: 3.", "v4: 4 - p4: 1.", H2,
         "v1: 2 - p1: 2.", "v2: 3.5 - p2: 4.", "v3: 5.25 - p3: 3.", "v4: 6 - p4: 2."},
        "7 11 2.78571 4.15909 0.861062 1.46318 0.325451 0.441167 2.50515", "95");
    // Full precision kept: S1 = sqrt(2 * 5e-8^2), zero if the variant were stored as shown.
    reportRow("stored unrounded, exponent forms", "1.0000001 = 1 = 1 = 1 = | 2 = 1 = 3 = 1 = | #",
              {H1, "v1: 1 - p1: 1.", "v2: 1 - p2: 1.", H2, "v1: 2 - p1: 1.", "v2: 3 - p2: 1."},
              "2 2 1 2.5 7.07107e-08 0.707107 5e-08 0.5 3", "");
    // N1 = 0: M1 = -1 / 0, S1 = sqrt(nan / -1).
    reportRow("frequencies summing to 0", "5 = 1 = 6 = -1 = | 7 = 2 = 8 = 1 = | #",
              {H1, "v1: 5 - p1: 1.", "v2: 6 - p2: -1.", H2, "v1: 7 - p1: 2.", "v2: 8 - p2: 1."},
              "0 3 -inf 7.33333 nan 0.57735 nan 0.333333 nan", "");
    reportRow("keyboard only: Return, Tab Tab Space, Shift+Tab Space",
              "5 <Return> 3 <Return> 7 <Return> 1 <Return> <Tab> <Tab> <Space> 8 <Return> 2 "
              "<Return> 10 <Return> 2 <Return> <Backtab> <Space> <Return>",
              {H1, "v1: 5 - p1: 3.", "v2: 7 - p2: 1.", H2, "v1: 8 - p1: 2.", "v2: 10 - p2: 2."},
              "4 4 5.5 9 1 1.1547 0.5 0.57735 4.58258", "99");
}

void TestDialog::scenario()
{
    QFETCH(QString, script);
    ModalCatcher catcher;
    StudentForm form;
    showActive(form);
    play(form, script);
    QTEST(protocol(form), "lines");
    QTEST(catcher.boxes(), "boxes");
    QTEST(widgetState(form), "state");
    QTEST(form.MessageLabel->text(), "message");
    for (const QLineEdit* edit : {form.V1Edit, form.P1Edit, form.V2Edit, form.P2Edit})
        QVERIFY2(edit->isEnabled() || edit->text().isEmpty(), qPrintable(edit->objectName()));
}

void TestDialog::aboutBox()
{
    ModalCatcher catcher;
    showAboutBox();
    QCOMPARE(catcher.boxes(),
             QStringList{": О программе / <h2>Zentu 1.0</h2><p>Программа производит сравнение "
                         "двух независимых групп по одному признаку с вычислением t-критерия "
                         "Стъюдента.</p>"});
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
