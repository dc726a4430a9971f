#include "DataSet.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

class TestStudentForm : public QObject
{
    Q_OBJECT

private slots:
    void init() { currentDataSet() = DataSet{}; }
    void widgetTree_data();
    void widgetTree();
    void dialogItself();
    void protocolFont();
    void tabSkipsDisabledEdit();
    void resizingMovesNothing();
    void readOnlyProtocol();
    void disabledButtonsInvokeNothing();
    void escapeEndsTheEventLoop();
    void aboutBox();
};

void TestStudentForm::widgetTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");

    const auto row = [](const char* name, const char* cls, QRect geometry, const char* text,
                        bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << geometry
                            << QString::fromUtf8(text) << enabled;
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

void TestStudentForm::widgetTree()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    StudentForm form;
    auto* widget = form.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    QVERIFY(widget != nullptr);
    QTEST(QString::fromLatin1(widget->metaObject()->className()), "className");
    QCOMPARE(widget->geometry(), geometry);
    QTEST(widget->isEnabled(), "enabled");

    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        text = edit->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        text = button->text();
    else if (auto* area = qobject_cast<QTextEdit*>(widget))
        text = area->toPlainText();
    QTEST(text, "text");

    auto* area = qobject_cast<QTextEdit*>(widget);
    QCOMPARE(area != nullptr && area->isReadOnly(), name == QLatin1String("ResultEdit"));
    if (auto* button = qobject_cast<QPushButton*>(widget))
        QVERIFY(button->shortcut().isEmpty()); // no accelerators in the texts
}

void TestStudentForm::dialogItself()
{
    StudentForm form;
    QCOMPARE(form.objectName(), QStringLiteral("StudentForm"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Сравнение по t-критерию Стъюдента"));
    QCOMPARE(form.size(), QSize(600, 480));
    QVERIFY(form.layout() == nullptr);
    QVERIFY(!form.isModal());
    QVERIFY(form.isWindow());
    QCOMPARE(form.entryState(), EntryState::EnterVariant1);
    QCOMPARE(StudentForm(nullptr, "Other").objectName(), QStringLiteral("Other"));
}

void TestStudentForm::protocolFont()
{
    StudentForm form;
    QCOMPARE(form.ResultEdit->font().family(), QStringLiteral("Nimbus Roman No9 l"));
    QCOMPARE(form.ResultEdit->font().pointSize(), 12);
    QCOMPARE(form.ResultEdit->font().weight(), QApplication::font(form.ResultEdit).weight());
    for (const QWidget* widget : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (widget != form.ResultEdit)
            QVERIFY2(!widget->testAttribute(Qt::WA_SetFont), qPrintable(widget->objectName()));
    }
    QVERIFY(!form.testAttribute(Qt::WA_SetFont));
}

void TestStudentForm::tabSkipsDisabledEdit()
{
    StudentForm form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // Nothing was focused by hand: the dialog starts in the first widget of the chain.
    QTRY_COMPARE(QApplication::focusWidget(), form.V1Edit);
    QTest::keyClick(form.V1Edit, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), form.SubmitButton);
    QTest::keyClick(form.SubmitButton, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), form.EndButton);
    QTest::keyClick(form.EndButton, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), form.ResultEdit);
}

void TestStudentForm::resizingMovesNothing()
{
    StudentForm form;
    form.show();
    QList<QRect> before;
    const QList<QWidget*> children = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* child : children)
        before << child->geometry();
    for (const QSize size : {QSize(900, 700), QSize(300, 200)}) {
        form.resize(size);
        QTRY_COMPARE(form.size(), size);
        for (int k = 0; k < children.size(); ++k)
            QCOMPARE(children.at(k)->geometry(), before.at(k));
    }
}

void TestStudentForm::readOnlyProtocol()
{
    StudentForm form;
    form.show();
    form.ResultEdit->setFocus();
    QTest::keyClicks(form.ResultEdit, QStringLiteral("abc"));
    QTest::keyClick(form.ResultEdit, Qt::Key_Backspace);
    QCOMPARE(form.ResultEdit->toPlainText(), QStringLiteral("Варианты 1-го ряда:"));
}

void TestStudentForm::disabledButtonsInvokeNothing()
{
    ModalCatcher catcher;
    StudentForm form;
    form.show();
    QTest::mouseClick(form.CalculateButton, Qt::LeftButton);
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);
    QCOMPARE(form.ResultEdit->toPlainText(), QStringLiteral("Варианты 1-го ряда:"));
    QVERIFY(!form.SaveButton->isEnabled());
    QCOMPARE(catcher.count(), 0); // no file dialog either
}

void TestStudentForm::escapeEndsTheEventLoop()
{
    StudentForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.V1Edit->setFocus();
    QTest::keyClicks(form.V1Edit, QStringLiteral("5"));
    QMetaObject::invokeMethod(
        &form, [&form] { QTest::keyClick(form.V1Edit, Qt::Key_Escape); }, Qt::QueuedConnection);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!form.isVisible());
}

void TestStudentForm::aboutBox()
{
    ModalCatcher catcher;
    showAboutBox();
    QCOMPARE(catcher.count(), 1);
    const ModalCatcher::Box& box = catcher.boxes().first();
    QCOMPARE(box.className, QStringLiteral("QMessageBox"));
    QCOMPARE(box.title, QStringLiteral("О программе"));
    QCOMPARE(box.text, QStringLiteral("<h2>Zentu 1.0</h2><p>Программа производит сравнение двух "
                                      "независимых групп по одному признаку с вычислением "
                                      "t-критерия Стъюдента.</p>"));
}

QTEST_MAIN(TestStudentForm)
#include "tst_studentform.moc"
