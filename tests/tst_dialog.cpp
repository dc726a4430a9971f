// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DataSet.h"
#include "Desktop.h"
#include "Journal.h"
#include "ModalCatcher.h"
#include "StudentForm.h"
#include "SyncWatch.h"

#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString H1 = QStringLiteral("Варианты 1-го ряда:");
const QString H2 = QStringLiteral("Варианты 2-го ряда: ");
const QString saveHint =
    QStringLiteral("Нажмите кнопку <Сохранить> для сохранения результата в файл. ");

// Each widget where the dialog was drawn, for Qt's own default font, with its text.
const std::tuple<const char*, QRect, const char*> drawn[] = {
    {"V1Label", {10, 40, 140, 20}, "Варианты 1-й выборки"},
    {"V2Label", {10, 110, 140, 20}, "Варианты 2-й выборки"},
    {"P1Label", {160, 40, 183, 20}, "Частоты вариант 1-й выборки"},
    {"P2Label", {160, 110, 183, 20}, "Частоты вариант 2-й выборки"},
    {"V1Edit", {10, 70, 140, 22}, ""},
    {"MessageLabel",
     {10, 10, 580, 20},
     "Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. "},
    {"ResultEdit", {10, 180, 580, 290}, "Варианты 1-го ряда:"},
    {"SubmitButton", {350, 70, 111, 30}, "Ввод"},
    {"EndButton", {470, 70, 111, 30}, "Завершить"},
    {"P1Edit", {160, 70, 140, 22}, ""},
    {"V2Edit", {10, 140, 140, 22}, ""},
    {"P2Edit", {160, 140, 140, 22}, ""},
    {"CalculateButton", {350, 130, 111, 30}, "Рассчитать"},
    {"SaveButton", {470, 130, 111, 30}, "Сохранить"},
};

// The worked example's report as it must be saved, byte for byte.
const QString workedExample =
    qEnvironmentVariable("ZENTU_TEST_DATA") + QStringLiteral("/worked-example.txt");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// The journals in the folder they are kept in.
QStringList journals()
{
    return QDir(Journal::folder()).entryList({QStringLiteral("*.journal")}, QDir::Files);
}

QString identity(const QString& path) // inode, owner, links, mode
{
    struct stat info = {};
    stat(QFile::encodeName(path).constData(), &info);
    return QStringLiteral("%1 %2 %3 %4")
        .arg(info.st_ino)
        .arg(info.st_uid)
        .arg(info.st_nlink)
        .arg(info.st_mode & 07777, 0, 8);
}

// The protocol expected after the pairs accepted, "5:3 7:1 | 8:2", and, when
// given, the report of the nine values as printed and the level reached ("" for
// none). The report's labels are those of the saved worked example.
QStringList lines(const char* pairs, const char* values = nullptr, const char* level = "")
{
    QStringList out{H1};
    int k = 0;
    for (const QString& pair : QString::fromLatin1(pairs).split(' ', Qt::SkipEmptyParts)) {
        k = pair == QLatin1String("|") ? 0 : k + 1;
        out << (k == 0 ? H2 : ("v%1: " + QString(pair).replace(':', " - p%1: ") + '.').arg(k));
    }
    if (values == nullptr)
        return out;
    const QStringList example = QString::fromUtf8(bytesOf(workedExample)).split('\n').mid(6);
    const QStringList value = QString::fromLatin1(values).split(' ');
    for (int i = 0; i < 9; ++i)
        out << example.value(i).left(example.value(i).lastIndexOf(' ') + 1) + value.value(i) + '.';
    out << (*level != 0 ? example.value(9).replace("p=99%", QStringLiteral("p=%1%").arg(level))
                        : QStringLiteral("Различие недостоверно."));
    return out;
}

// What a screen reader says with the focus on «Сохранить»: t, the verdict, the hint.
QString reportHeard(const QStringList& protocol)
{
    return protocol.mid(protocol.size() - 2).join(' ') + ' ' + saveHint;
}

// A reader that leaves mid-report, given the saver's PID and the pipe: it fills
// the pipe, so no byte of the report gets in, and says so; once the saver has
// the pipe open, it stops the saver, drains the pipe, leaves, and lets the saver
// go on writing to no reader. It fails if the saver never opens the pipe.
const char* const readerLeavingMidReport = R"(exec 3<>"$FIFO"; head -c 65536 /dev/zero >&3; echo
    n=0
    until for fd in /proc/$SAVER/fd/*; do [ "$fd" -ef "$FIFO" ] && break; done; [ "$fd" -ef "$FIFO" ]
    do n=$((n + 1)); [ $n -lt 5000 ] || exit 1; sleep 0.001; done
    kill -STOP $SAVER
    until grep -q "^State:.*T" /proc/$SAVER/status; do :; done
    head -c 65536 <&3 >/dev/null; exec 3<&-
    kill -CONT $SAVER)";

// A reader that drains slowly while signals keep interrupting the saver: it
// fills the pipe, and once the saver has it open sends it SIGUSR1 every 10 ms for
// a tenth of a second, then drains the pipe and keeps what follows in $GOT.
const char* const readerDrainingThroughSignals =
    R"(exec 3<>"$FIFO"; head -c 65536 /dev/zero >&3; echo
    until for fd in /proc/$SAVER/fd/*; do [ "$fd" -ef "$FIFO" ] && break; done; [ "$fd" -ef "$FIFO" ]
    do sleep 0.001; done
    for k in 1 2 3 4 5 6 7 8 9 10; do kill -USR1 $SAVER; sleep 0.01; done
    head -c 65536 <&3 >/dev/null; timeout 5 head -c $SIZE <&3 >"$GOT")";
int interruptions = 0;

// Every child's place, one a line.
QString geometries(const StudentForm& form)
{
    QStringList places;
    for (const QWidget* each : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        places << QStringLiteral("%1 %2,%3 %4x%5")
                      .arg(each->objectName())
                      .arg(each->x())
                      .arg(each->y())
                      .arg(each->width())
                      .arg(each->height());
    return places.join('\n');
}

} // namespace

class TestDialog : public QObject
{
    Q_OBJECT

private slots:
    // Listing /proc used to read /proc/kmsg to guess its type, which blocks for
    // good; Qt's file dialog opens the remembered directory first, read once.
    // Every test runs with the toolkit's catalogue loaded, as the program does, so
    // each text of the program checked here is also checked not to be translated.
    void initTestCase()
    {
        QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
            .setValue(QStringLiteral("FileDialog/lastVisited"), QUrl::fromLocalFile("/proc"));
        QVERIFY(installToolkitTranslation());
    }
    // Each test in a HOME and a journal folder of its own, as at the start of a run.
    void init()
    {
        currentDataSet() = DataSet{};
        currentJournal().release();
        saveFolder().clear();
        m_home = std::make_unique<QTemporaryDir>();
        m_state = std::make_unique<QTemporaryDir>();
        qputenv("HOME", QFile::encodeName(m_home->path()));
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state->path()));
    }
    void dialogFontsAndTexts();
    void fonts_data();
    void fonts();
    void scenario_data();
    void scenario();
    void recovery_data();
    void recovery();
    void twoStarts();
    void fullDisk_data();
    void fullDisk();
    void takeBack_data();
    void takeBack();
    void walkBack();
    void save_data();
    void save();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_state;
};

// The toolkit's own words, in the save dialog and an edit's context menu, are
// Russian like the program's.
void TestDialog::dialogFontsAndTexts()
{
    ModalCatcher catcher;
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
    QVERIFY(!programIcon().pixmap(64).isNull());
    showAboutBox();
    QCOMPARE(
        catcher.boxes(),
        QStringList{"NoIcon: О программе / <h2>Zentu 1.0</h2><p>Программа производит сравнение "
                    "двух независимых групп по одному признаку с вычислением t-критерия "
                    "Стъюдента.</p> (no parent)"});
    QAccessibleInterface* protocol = QAccessible::queryAccessibleInterface(form.ResultEdit);
    QCOMPARE(protocol->text(QAccessible::Name), QStringLiteral("Протокол"));
    QVERIFY(protocol->state().readOnly && !protocol->state().editable);
    // Offered no input method, announced as no editable text.
    QVERIFY(form.ResultEdit->isReadOnly() &&
            !form.ResultEdit->testAttribute(Qt::WA_InputMethodEnabled));
    QFileDialog files(&form);
    files.setOptions(QFileDialog::DontUseNativeDialog);
    QStringList texts{files.findChild<QLabel*>("fileNameLabel")->text()};
    for (const QAbstractButton* button : files.findChild<QDialogButtonBox*>()->buttons())
        texts << button->text();
    const std::unique_ptr<QMenu> menu(form.V1Edit->createStandardContextMenu());
    for (const QAction* action : menu->actions())
        texts << action->text().section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(texts.join('|'), "&Имя файла:|&Открыть|Отмена|&Отменить действие|&Повторить "
                              "действие||&Вырезать|&Копировать|В&ставить|Удалить||Выделить всё");
}

// The dialog grows with its font by one factor, the protocol's type with it,
// so that every text is whole; it keeps to its screen, where the protocol alone
// gets shorter, and a larger window gives the protocol the room. Qt's own
// default font gives the dialog exactly as drawn. The protocol marks the focus.
void TestDialog::fonts_data()
{
    QTest::addColumn<QString>("family"); // "" for the default's
    QTest::addColumn<int>("points");     // 0 for the default's
    QTest::addColumn<bool>("live");      // set while the dialog is shown
    QTest::newRow("Qt's default") << QString() << 0 << false;
    QTest::newRow("wide: Cantarell 11") << "Cantarell" << 11 << false;
    for (const int points : {10, 14, 18, 24})
        QTest::newRow(qPrintable(QStringLiteral("%1 pt").arg(points)))
            << QString() << points << false;
    QTest::newRow("18 pt, set while shown") << QString() << 18 << true;
}

void TestDialog::fonts()
{
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, live);
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&] { QApplication::setFont(original); });
    QFont font = original;
    if (!family.isEmpty())
        font.setFamilies({family});
    if (points > 0)
        font.setPointSize(points);
    std::optional<StudentForm> early;
    if (live)
        early.emplace().show();
    QApplication::setFont(font);
    // What a running application tells every widget; a test runs no exec().
    QEvent fontChange(QEvent::ApplicationFontChange);
    for (QWidget* widget : QApplication::allWidgets())
        QApplication::sendEvent(widget, &fontChange);
    std::optional<StudentForm> late;
    StudentForm& form = live ? *early : late.emplace();
    const double factor = form.ResultEdit->font().pointSizeF() / 12;
    if (points == 0) // the default needs nothing more than drawn
        QCOMPARE(factor, 1.0);
    else if (points >= 14)
        QVERIFY2(factor > points / 10.0, qPrintable(QString::number(factor)));
    QCOMPARE(form.ResultEdit->font().family(), QStringLiteral("Nimbus Roman No9 l"));

    // As drawn, scaled by the factor, each edge to the nearest pixel, where that
    // fits across the screen, narrower where it does not; each text whole, each
    // caption as wide as its text where that is wider, over the edit it labels.
    const QSize room = form.screen()->availableGeometry().size() - QSize(10, 40);
    const bool drawnFits = qRound(600 * factor) <= room.width();
    const auto scale = [factor](int edge) { return qRound(edge * factor); };
    const auto wrapped = [&form](const QString& text) { // its height in the message line
        return form.MessageLabel->fontMetrics()
            .boundingRect(QRect(0, 0, form.MessageLabel->width(), 1 << 20), Qt::TextWordWrap, text)
            .height();
    };
    for (const auto& [name, drawnAt, text] : drawn) {
        auto* widget = form.findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
        QRect want(QPoint(scale(drawnAt.left()), scale(drawnAt.top())),
                   QPoint(scale(drawnAt.right() + 1) - 1, scale(drawnAt.bottom() + 1) - 1));
        const QString shown =
            widget->property(widget == form.ResultEdit ? "plainText" : "text").toString();
        QCOMPARE(shown, QString::fromUtf8(text));
        const QSize hint = widget->sizeHint();
        const QRect at = widget->geometry();
        if (qobject_cast<QLabel*>(widget) != nullptr)
            want.setWidth(std::max(want.width(), hint.width()));
        if (widget == form.ResultEdit) // smaller only where the screen is, checked below
            want.setSize(want.size().boundedTo(widget->size()));
        else if (widget != form.MessageLabel) // an edit scrolls what is typed
            QVERIFY2(hint.height() <= at.height() && (qobject_cast<QLineEdit*>(widget) != nullptr ||
                                                      hint.width() <= at.width()),
                     name);
        if (drawnFits)
            QCOMPARE(at, want);
        if (qobject_cast<QLineEdit*>(widget) != nullptr) {
            QAccessibleInterface* named = QAccessible::queryAccessibleInterface(widget);
            const auto labels = named->relations(QAccessible::Label);
            QVERIFY(labels.size() == 1);
            const auto* caption = qobject_cast<QLabel*>(labels.first().first->object());
            QCOMPARE(named->text(QAccessible::Name), caption->text());
            QVERIFY2(caption->x() == at.x() && caption->geometry().bottom() < at.top(), name);
        }
    }
    for (const QString& hint : {H1, saveHint}) // the longest two hints whole too
        QVERIFY(wrapped(hint) <= form.MessageLabel->height() &&
                (form.MessageLabel->wordWrap() ||
                 form.MessageLabel->fontMetrics().horizontalAdvance(hint) <=
                     form.MessageLabel->width()));

    // Within the screen, the protocol to the margins, four lines at least; where
    // that is more than the screen's height, the content scrolls instead.
    const QScrollBar* scroll = form.findChild<QScrollBar*>();
    const auto protocolFills = [&form, scroll] {
        const QRect protocol = form.ResultEdit->geometry();
        const int lines = QFontMetrics(form.ResultEdit->font()).lineSpacing();
        const bool scrolls = !scroll->isHidden();
        return protocol.left() == (scrolls ? scroll->x() : form.width()) - protocol.right() - 1 &&
               protocol.height() > 4 * lines &&
               (scrolls ? protocol.height() < 5 * lines
                        : protocol.left() == form.height() - protocol.bottom() - 1);
    };
    QVERIFY(form.width() <= room.width() && form.height() <= room.height());
    QVERIFY(protocolFills());
    // Every widget inside the window; where it scrolls, each that takes the
    // focus by Tab is brought into view.
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    activate(form);
    for (QWidget* each : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        each->setEnabled(true);
    form.V1Edit->setFocus();
    for (int stop = 0; stop < 10; ++stop) {
        const QRect view(0, 0, !scroll->isHidden() ? scroll->x() : form.width(), form.height());
        for (const QWidget* each : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (each != scroll && (!!scroll->isHidden() || each->hasFocus()))
                QVERIFY2(view.contains(each->geometry()), qPrintable(each->objectName()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The wheel anywhere on a dialog that scrolls moves it.
    if (!scroll->isHidden()) {
        form.V1Edit->setFocus();
        const int top = scroll->value();
        QWheelEvent wheel(QPointF(5, 5), form.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&form, &wheel);
        QVERIFY(scroll->value() > top);
    }

    // A data set entered step by step: after each, the field or button to use
    // next in view and, where both fit, the protocol's newest line whole, its
    // first and its last character: the echo while typing, the verdict with
    // «Сохранить» after the calculation. Where nothing scrolls, nothing moves.
    StudentForm entered;
    play(entered, "");
    const QString drawnPlaces = geometries(entered);
    // Closing sample 2 writes nothing.
    for (const auto& [step, writes] : {std::pair{"5 = 3 =", true},
                                       {"7 = 1 =", true},
                                       {"|", true},
                                       {"8 = 2 =", true},
                                       {"10 = 2 =", true},
                                       {"|", false},
                                       {"#", true}}) {
        entered.ResultEdit->verticalScrollBar()->setValue(0); // earlier lines read meanwhile
        play(entered, step);
        const QScrollBar* bar = entered.findChild<QScrollBar*>();
        const QRect view(0, 0, bar->isHidden() ? entered.width() : bar->x(), entered.height());
        const QWidget* focus = QApplication::focusWidget();
        QVERIFY2(view.contains(focus->geometry()), step);
        QTextCursor end(entered.ResultEdit->document());
        end.movePosition(QTextCursor::End);
        QTextCursor start(end);
        start.movePosition(QTextCursor::StartOfBlock);
        const QWidget* shown = entered.ResultEdit->viewport();
        QRect line =
            entered.ResultEdit->cursorRect(start).united(entered.ResultEdit->cursorRect(end));
        QVERIFY2(!writes || shown->rect().contains(line), step);
        line.moveTopLeft(shown->mapTo(&entered, line.topLeft()));
        if (writes && line.united(focus->geometry()).height() <= entered.height())
            QVERIFY2(view.contains(line), step);
        if (bar->isHidden())
            QCOMPARE(geometries(entered), drawnPlaces);
    }
    QCOMPARE(QApplication::focusWidget(), entered.SaveButton);

    form.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_VERIFY(form.height() > room.height());
    QVERIFY(protocolFills());

    // The focus mark: the protocol's frame in the highlight with the focus only.
    activate(form);
    const auto frame = [&form] {
        const QImage image = form.ResultEdit->grab().toImage();
        return image.pixelColor(0, image.height() / 2);
    };
    const QColor highlight = form.ResultEdit->palette().color(QPalette::Highlight);
    form.ResultEdit->setFocus();
    QCOMPARE(frame(), highlight);
    form.V1Edit->setFocus();
    QVERIFY(frame() != highlight);
}

// Each row: what the user does, then the whole protocol, the boxes shown, the
// enabled widgets, the focus and the message line, and what a screen reader
// said last as the focus moved: the pair just echoed, a new heading or hint.
void TestDialog::scenario_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("state"); // as widgetState() gives it
    QTest::addColumn<QString>("heard");
    QTest::addColumn<QStringList>("answers"); // to the boxes in turn, then Return
    QTest::addColumn<QString>("clipboard");
    const auto row = [](const char* name, const char* script, const QStringList& lines,
                        const QStringList& boxes, const char* state, const QString& heard,
                        const QStringList& answers = {}, const char* clipboard = "") {
        QTest::newRow(name) << script << lines << boxes << state << heard << answers
                            << QString::fromUtf8(clipboard);
    };
    const QStringList none;
    // A refusal of what was typed.
    const auto box = [](const char* icon, const char* text) {
        return QStringLiteral("%1: Ошибка ввода! / %2").arg(icon, QString::fromUtf8(text));
    };
    const QString tooMany = box("Critical", "Сумма частот выборки выходит за допустимые пределы!");
    const QString emptySample = box("Warning", "Введите хотя бы одну варианту и её частоту!");
    const char* const start = "10001100 V1Edit entry";

    row("disabled buttons do nothing, protocol read-only", "# $ <Tab> <Tab> <Tab> abc", lines(""),
        none, "10001100 ResultEdit:0 entry", "");
    // The protocol read from the keyboard, as a screen reader reads it: a caret
    // on the newest line, that moves by lines and selects; typing changes
    // nothing; Tab moves on.
    row("protocol read by its caret",
        "5 = 3 = 7 = 1 = <Shift+Tab> <Up> x <Delete> <End> <Shift+Home>", lines("5:3 7:1"), none,
        "10001100 ResultEdit:1[v1: 5 - p1: 3.] entry", "v2: 7 - p2: 1.");
    row("protocol left by Tab", "5 = 3 = <Shift+Tab> <Down> <Tab>", lines("5:3"), none, start,
        "v1: 5 - p1: 3.");
    row("numbers as typed and shown", "1234567 = 1 = 0.00001 = -2 = 2.50 = 1 = 3,25 = 4 = 0 = 5 =",
        lines("1.23457e+06:1 1e-05:-2 2.5:1 3.25:4 0:5"), none, start, "v5: 0 - p5: 5.");
    row("refused variants", "= abc = inf = nan = 1e400 = 5 =", lines(""),
        QStringList(5, box("Critical", "Варианта должна быть числом!")), "01001100 P1Edit entry",
        "");
    row("empty sample 1, refused frequencies, closing refused while awaited",
        "| 5 = 0 = 2.5 = abc = = 2147483648 = 3 = 7 = | 1 =", lines("5:3 7:1"),
        QStringList{emptySample}
            << QStringList(5, box("Critical", "Частота варианты должна быть целым числом!"))
            << box("Warning", "Введите частоту 2-й варианты!"),
        start, "v2: 7 - p2: 1.");
    row("sums of frequencies kept within int",
        "5 = 2147483646 = 6 = 2 = 1 = | 5 = -2147483647 = 6 = -2 = -1 =",
        lines("5:2147483646 6:1 | 5:-2147483647 6:-1"), QStringList(2, tooMany),
        "00101100 V2Edit entry", "v2: 6 - p2: -1.");
    row("sample 2: empty not closed, closing refused while awaited",
        "5 = 1 = 6 = 2 = | | 8 = | 2 <Return>", lines("5:1 6:2 | 8:2"),
        {emptySample, box("Warning", "Введите частоту 1-й варианты!")}, "00101100 V2Edit entry",
        "v1: 8 - p1: 2.");
    row("typed text discarded on closing, nothing once done", "5 = 1 = 9 | 6 = 1 = 7 | !",
        lines("5:1 | 6:1"), none, "00000010 CalculateButton calculate",
        "Нажмите кнопку <Рассчитать> для получения результата. ");

    // Reports: values from the statistics tests' references, six digits. Heard:
    // t, the verdict and the hint.
    const auto report = [&](const char* name, const char* script, const char* pairs,
                            const char* values, const char* level) {
        const QStringList protocol = lines(pairs, values, level);
        row(name, script, protocol, none, "00000001 SaveButton save", reportHeard(protocol));
    };
    report("worked example, df 6", "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #", "5:3 7:1 | 8:2 10:2",
           "4 4 5.5 9 1 1.1547 0.5 0.57735 4.58258", "99");
    // 2 / sqrt(0 + 0) = inf reaches the highest level of row 3.
    report("no spread, df 3", "5 = 3 = | 7 = 2 = | #", "5:3 | 7:2", "3 2 5 7 0 0 0 0 inf", "99.9");
    report("df 16, level 95",
           "1.2 = 1 = 2.5 = 2 = 3.1 = 3 = 4.0 = 1 = | 2.0 = 2 = 3.5 = 4 = 5.25 = 3 = 6.0 = 2 = | #",
           "1.2:1 2.5:2 3.1:3 4:1 | 2:2 3.5:4 5.25:3 6:2",
           "7 11 2.78571 4.15909 0.861062 1.46318 0.325451 0.441167 2.50515", "95");
    // Full precision kept: S1 = sqrt(2 * 5e-8^2), zero if the variant were stored as shown.
    report("stored unrounded, exponent forms", "1.0000001 = 1 = 1 = 1 = | 2 = 1 = 3 = 1 = | #",
           "1:1 1:1 | 2:1 3:1", "2 2 1 2.5 7.07107e-08 0.707107 5e-08 0.5 3", "");

    // A sample pasted as Calc, Excel or a CSV file put it on the clipboard: each
    // pair as if typed, numbered on; heard, the count and the last line. Refused
    // whole, by the row's number, with what was typed kept.
    const QString pasted = QStringLiteral("Вставлено пар: %1. %2");
    const char* const calc = "5,5\t3\n7\t1\n";
    row("Calc's copy by Ctrl+V", "<Ctrl+V>", lines("5.5:3 7:1"), none, start,
        pasted.arg(2).arg("v2: 7 - p2: 1."), {}, calc);
    row("Excel's, a heading, typing replaced, by Shift+Insert", "9 <Shift+Ins>",
        lines("5.5:3 -7:1"), none, start, pasted.arg(2).arg("v2: -7 - p2: 1."), {},
        "Варианта\tЧастота\r\n5,5\t3\r\n-7\t1\r\n");
    row("after typed pairs, by the menu, twice", "4 = 2 = % %", lines("4:2 5.5:3 7:1 5.5:3 7:1"),
        none, start, pasted.arg(2).arg("v5: 7 - p5: 1."), {}, "\"5,5\";\"3\"\n\n\"7\";1\n");
    row("a column grouped, into sample 2, dropped", "5 = 3 = | ~", lines("5:3 | -2:1 5:2 7:3"),
        none, "00101100 V2Edit entry", pasted.arg(3).arg("v3: 7 - p3: 3."), {},
        "7\n5\n-2\n5\n7\n7\n");
    row("refused by its row, typing kept", "4 = 2 = 9 <Ctrl+V> = 1 =", lines("4:2 9:1"),
        {box("Critical", "Строка 3: Частота варианты должна быть целым числом!")}, start,
        "v2: 9 - p2: 1.", {}, "5\t3\n\n7\t1,5\n");
    row("refused: three columns", "<Ctrl+V>", lines(""),
        {box("Critical", "Строка 1: нужны варианта и её частота.")}, start, "", {}, "5\t3\t1\n");
    row("refused: the sum of frequencies", "5 = 2147483646 = <Ctrl+V>", lines("5:2147483646"),
        {box("Critical", "Строка 2: Сумма частот выборки выходит за допустимые пределы!")}, start,
        "v1: 5 - p1: 2147483646.", {}, "6\t1\n7\t1\n");
    row("one number pasted as text", "<Ctrl+V> = 3 =", lines("5.5:3"), none, start,
        "v1: 5.5 - p1: 3.", {}, "5,5");
    row("a series into an awaited frequency", "5 = <Ctrl+V>", lines(""),
        {box("Warning", "Введите частоту 1-й варианты!")}, "01001100 P1Edit entry", "", {}, calc);

    // Two groups side by side, as Calc copies them, into an empty sample 1: each
    // column grouped into its sample, both closed, as if typed; heard, what each
    // sample got. Where both readings take the columns, the user is asked.
    const QString twoPasted = QStringLiteral("Вставлены две выборки. 1-я: наблюдений %1, пар %2. "
                                             "2-я: наблюдений %3, пар %4. Нажмите кнопку "
                                             "<Рассчитать> для получения результата. ");
    const char* const calculate = "00000010 CalculateButton calculate";
    // Copied from a real Calc 7.4 in ru_RU.UTF-8: a group ending early, a
    // missing observation, digit groups, per cent.
    row("two groups from Calc, typing replaced", "9 <Ctrl+V>",
        lines("-1.5:1 0.48:1 0.53:1 0.57:1 85:1 3250:1 | 0.59:1 0.61:1 0.66:1 72:1 75:1 12400:1"),
        none, calculate, twoPasted.arg(6).arg(6).arg(6).arg(6), {},
        "Контроль\tОпыт\n0,53\t0,61\n0,48\t0,66\n0,57\t\n\t0,59\n3\u00a0250,00\t12\u00a0400,00\n"
        "85,00%\t72\n-1,5\t75\n");
    const QStringList twoGroups =
        lines("5:3 7:1 | 8:2 10:2", "4 4 5.5 9 1 1.1547 0.5 0.57735 4.58258", "99");
    row("two headed groups calculated as if typed", "<Ctrl+V> #", twoGroups, none,
        "00000001 SaveButton save", reportHeard(twoGroups), {},
        "Контроль\tОпыт\n5\t8\n7\t10\n5\t8\n5\t10\n");
    const char* const either = "5\t3\n7\t1\n6\t2\n";
    const QStringList how{QStringLiteral("Question: Вставка из таблицы / Как прочитать два "
                                         "столбца? [&Варианты и частоты, &Две выборки, Отмена]")};
    row("two columns asked about, Return: pairs", "<Ctrl+V>", lines("5:3 7:1 6:2"), how, start,
        pasted.arg(3).arg("v3: 6 - p3: 2."), {"Return"}, either);
    row("two columns asked about: two samples", "<Ctrl+V>", lines("5:1 6:1 7:1 | 1:1 2:1 3:1"), how,
        calculate, twoPasted.arg(3).arg(3).arg(3).arg(3), {"&Две выборки"}, either);
    row("two columns asked about, Escape: nothing, typing kept", "9 <Ctrl+V>", lines(""), how,
        "10001100 V1Edit[9] entry", "", {"Escape"}, either);
    row("two columns into sample 2 are pairs", "5 = 3 = | <Ctrl+V>", lines("5:3 |"),
        {box("Critical", "Строка 1: Частота варианты должна быть целым числом!")},
        "00101100 V2Edit entry", "Варианты 2-го ряда: ", {}, "0,53\t0,61\n0,48\t0,66\n");
    row("refused: a word where a number was, row 1", "<Ctrl+V>", lines(""),
        {box("Critical", "Строка 1: Частота варианты должна быть целым числом!")}, start, "", {},
        "5,5\tabc\n7\t1\n");
    row("refused: a column of words, not put in the field", "<Ctrl+V>", lines(""),
        {box("Critical", "Строка 2: Варианта должна быть числом!")}, start, "", {},
        "Варианта\nЧастота\n");
    row("refused: a heading over no number", "<Ctrl+V>", lines(""),
        {box("Critical", "Строка 1: во 2-м столбце нет ни одного числа.")}, start, "", {},
        "Контроль\tОпыт\n5\t\n6\t\n");
    row("digit groups as displayed", "<Ctrl+V>", lines("3250:1 12400:1"), none, start,
        pasted.arg(2).arg("v2: 12400 - p2: 1."), {}, "3\u00a0250,0\n12\u202f400\n");

    // Ctrl+Z undoes the typing in an edit first, then takes a step back; with
    // nothing to take back it does nothing.
    row("Ctrl+Z: typing undone, then a step", "5 = 3 = 7 <Ctrl+Z> <Ctrl+Z>", lines(""), none,
        "01001100 P1Edit[3] entry", "Отменено: v1: 5 - p1: 3.");
    row("Ctrl+Z in the protocol", "5 = 3 = <Shift+Tab> <Ctrl+Z>", lines(""), none,
        "01001100 P1Edit[3] entry", "Отменено: v1: 5 - p1: 3.");
    row("Ctrl+Z with nothing to take back", "<Ctrl+Z> 5 <Ctrl+Z> <Ctrl+Z>", lines(""), none, start,
        "");

    // Closing asks only once a variant is accepted; "&Нет" leaves all as it was,
    // the typed text and the focus too, so typing goes on.
    const QString unsaved = QStringLiteral(
        "Warning: Данные не сохранены! / Завершить работу без сохранения? [&Да, &Нет]");
    row("closing with nothing accepted asks nothing", "5 <Escape>", lines(""), none, "closed", "");
    row("closing refused by &Нет and Return, typing goes on", "5 = 7 <Escape> 2 = ^ 6 = 1 = |",
        lines("5:72 6:1 |"), {unsaved, unsaved}, "00101100 V2Edit entry",
        "Варианты 2-го ряда: ", {"&Нет", "Return"});
    row("closing refused by Escape after the report, the report heard again",
        "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | # <Escape>",
        lines("5:3 7:1 | 8:2 10:2", "4 4 5.5 9 1 1.1547 0.5 0.57735 4.58258", "99"), {unsaved},
        "00000001 SaveButton save",
        "Коэффициент Стъюдента t равен: 4.58258. Различие достоверно с вероятностью "
        "безошибочного прогноза p=99%. Нажмите кнопку <Сохранить> для сохранения результата в "
        "файл. ",
        {"Escape"});
    row("closing by Escape, then by the window, confirmed by &Да", "5 = 7 <Escape> ^", lines(""),
        {unsaved, unsaved}, "closed", "", {"&Нет", "&Да"});
}

void TestDialog::scenario()
{
    QFETCH(QString, script);
    QFETCH(QStringList, answers);
    QFETCH(QString, clipboard);
    QGuiApplication::clipboard()->setText(clipboard);
    ModalCatcher catcher;
    catcher.queueAnswers(answers);
    StudentForm form;
    play(form, script);
    QTEST(protocol(form), "lines");
    QTEST(catcher.boxes(), "boxes");
    QTEST(widgetState(form), "state");
    QTEST(catcher.heard(), "heard");
    for (const QLineEdit* edit : {form.V1Edit, form.P1Edit, form.V2Edit, form.P2Edit})
        QVERIFY2(edit->isEnabled() || edit->text().isEmpty(), qPrintable(edit->objectName()));
    if (!form.isVisible()) // closed: nothing entered is kept any longer
        QCOMPARE(journals(), QStringList());
}

// Each row: what was entered before the run ended without a save, what then
// happened to its journal, and the answer to the question at the next start
// ("" for no question). A data set restored is exactly as before: protocol,
// widgets, focus, what the focus says; unless the row gives the state it ends
// in. A worked example entered on then gives its whole report. Only the new
// run's own journal is left, and a running instance's.
void TestDialog::recovery_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("tamper"); // appended; "live" kept held; "!..." instead
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("rest"); // of the worked example
    QTest::addColumn<QString>("clipboard");
    const auto row = [](const char* name, const char* script, const QByteArray& tamper,
                        const char* answer, const char* state = "", const char* rest = "",
                        const char* clipboard = "5\t3\n7\t1\n") {
        QTest::newRow(name) << script << tamper << answer << state << rest
                            << QString::fromUtf8(clipboard);
    };
    // Return in the edit restored to acts as «Ввод».
    row("after a pair, Return", "5 = 3 =", "", "Return", "",
        "7 <Return> 1 <Return> | 8 = 2 = 10 = 2 = | #");
    row("a frequency awaited, &Да", "5 = 3 = 7 =", "", "&Да", "", "1 = | 8 = 2 = 10 = 2 = | #");
    row("after sample 1, Escape", "5 = 3 = 7 = 1 = |", "", "Escape", "", "8 = 2 = 10 = 2 = | #");
    row("after sample 2", "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = |", "", "Return", "", "#");
    row("after the report", "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #", "", "Return");
    // The clipboard holds sample 1 of the worked example, as Calc copies it.
    row("after a paste, Return", "<Ctrl+V>", "", "Return", "", "| 8 = 2 = 10 = 2 = | #");
    row("after two groups pasted, Return", "<Ctrl+V>", "", "Return", "", "#",
        "Контроль\tОпыт\n5\t8\n7\t10\n5\t8\n5\t10\n");
    row("a paste torn mid-write restores none of it", "5 = 3 =", "s 7 1 8", "Return");
    row("a paste with a refused pair restores none of it", "5 = 3 =", "s 7 1 9 0\nv 9\n", "Return");
    row("&Нет starts empty", "5 = 3 =", "", "&Нет");
    row("a running instance's is not offered", "5 = 3 =", "live", "");
    row("a record torn mid-write is dropped", "5 = 3 = 7 =", "p 1", "Return");
    row("replayed up to a refused value", "5 = 3 =", "v 7\np 0\nv 9\np 1\n", "Return",
        "01001100 P1Edit entry");
    row("replayed up to a step out of order", "5 = 3 =", "c\nv 7\n", "Return");
    row("not ours: set aside", "5 = 3 =", "!garbage\n", "");
    row("a 1 MiB line: set aside",
        "5 = 3 =", "!zentu journal 1\n" + QByteArray(1 << 20, '5') + '\n', "");
    row("invalid UTF-8: set aside", "5 = 3 =", "!zentu journal 1\nv \xff\xfe\n", "");
    row("100 MiB, far beyond what is read: set aside", "5 = 3 =", "huge", "");
    row("16 MiB of one-character lines: set aside",
        "5 = 3 =", "!zentu journal 1\n" + QByteArray("e\n").repeated(8 << 20), "");
    row("only the header: removed", "5 = 3 =", "?zentu journal 1\n", "");
    row("a torn first record: removed", "5 = 3 =", "?zentu journal 1\nv 5", "");
    row("the newer of two offered", "5 = 3 =", "older", "Return");
    row("a variant restored unrounded", "1.0000001 = 1 = 1 = 1 = | 2 = 1 = 3 = 1 = | #", "",
        "Return");
    row("folder not writable: as before", "5 = 3 =", "unwritable", "");
}

void TestDialog::recovery()
{
    QFETCH(QString, script);
    QFETCH(QByteArray, tamper);
    QFETCH(QString, answer);
    QFETCH(QString, state);
    QFETCH(QString, rest);
    QFETCH(QString, clipboard);
    QGuiApplication::clipboard()->setText(clipboard);
    if (tamper == "unwritable") // a folder under a file cannot be made, even by root
        qputenv("XDG_STATE_HOME", QFile::encodeName(workedExample));
    QString before[3]; // the protocol, the state, what the focus says
    {
        StudentForm ended;
        play(ended, script);
        before[0] = protocol(ended).join('\n');
        before[1] = widgetState(ended);
        before[2] = QApplication::focusWidget()->accessibleDescription();
    } // gone without a close, as a killed run goes
    if (tamper != "live")
        currentJournal().release();
    const QStringList left = journals();
    QCOMPARE(left.size(), tamper == "unwritable" ? 0 : 1);
    const QString path = left.isEmpty() ? QString() : QDir(Journal::folder()).filePath(left[0]);
    if (!left.isEmpty()) // research data: only its owner may read it
        QCOMPARE(identity(Journal::folder()).section(' ', 3) + identity(path).section(' ', 3),
                 "700600");
    // "!" and "?" replace the journal: set aside, or removed as holding no step.
    const bool huge = tamper == "huge";
    const bool replaced = huge || tamper.startsWith('!') || tamper.startsWith('?');
    QFile file(tamper == "older" ? Journal::folder() + "/1-1.journal" : path);
    if (tamper == "older") // an hour before the newer, with another data set
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("zentu journal 1\nv 9\np 9\n") &&
                file.flush() &&
                file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    else if (huge) { // written a MiB at a time, so the test itself stays small
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("zentu journal 1\n") > 0);
        const QByteArray mebibyte = QByteArray("e\n").repeated(1 << 19);
        for (int k = 0; k < 100; ++k)
            QVERIFY(file.write(mebibyte) == mebibyte.size());
    } else if (!tamper.isEmpty() && tamper != "live" && !left.isEmpty())
        QVERIFY(file.open(replaced ? QIODevice::WriteOnly : QIODevice::Append) &&
                file.write(replaced ? tamper.mid(1) : tamper) > 0 && file.flush());
    file.close();
    currentDataSet() = DataSet{};
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long peakBefore = usage.ru_maxrss;

    ModalCatcher catcher;
    catcher.queueAnswers({answer});
    StudentForm form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.offerRecovery();
    activate(form);
    getrusage(RUSAGE_SELF, &usage); // reading any journal takes little memory
    QVERIFY2(usage.ru_maxrss - peakBefore < 64 << 10, qPrintable(QString::number(usage.ru_maxrss)));
    if (tamper.startsWith('!')) // set aside with its bytes
        QCOMPARE(bytesOf(path + ".bad"), tamper.mid(1));
    if (replaced)
        QVERIFY(!QFile::exists(path) &&
                QFile::exists(path + ".bad") == (huge || tamper.startsWith('!')));
    QCOMPARE(catcher.boxes(), answer.isEmpty() ? QStringList()
                                               : QStringList{"Warning: Данные не сохранены! / "
                                                             "Восстановить данные, не "
                                                             "сохранённые при прошлом запуске? "
                                                             "[&Да, &Нет]"});
    const bool restored = !answer.isEmpty() && answer != "&Нет";
    QCOMPARE(protocol(form).join('\n'), restored ? before[0] : H1);
    QCOMPARE(widgetState(form), !state.isEmpty() ? state
                                : restored       ? before[1]
                                                 : QStringLiteral("10001100 V1Edit entry"));
    if (restored && state.isEmpty())
        QCOMPARE(QApplication::focusWidget()->accessibleDescription(), before[2]);
    const bool entered = currentDataSet().sample1.variantCount > 0;
    QCOMPARE(journals().size(),
             (tamper == "live" || tamper == "older" ? 1 : 0) + (entered ? 1 : 0));
    if (!rest.isEmpty()) {
        play(form, rest);
        QCOMPARE(protocol(form),
                 lines("5:3 7:1 | 8:2 10:2", "4 4 5.5 9 1 1.1547 0.5 0.57735 4.58258", "99"));
    }
}

// Everything the user sees and the dialog holds: the protocol, the widgets, the
// focus, the message line, the default button, the edits' texts, the samples.
QString everything(const StudentForm& form)
{
    QStringList all{protocol(form).join('|'), widgetState(form)};
    for (const QPushButton* button : form.findChildren<QPushButton*>())
        if (button->isDefault())
            all << "default " + button->objectName();
    for (const QLineEdit* edit : {form.V1Edit, form.P1Edit, form.V2Edit, form.P2Edit})
        all << edit->text();
    const DataSet& data = currentDataSet();
    for (const SampleSeries* series : {&data.sample1, &data.sample2}) {
        QStringList numbers;
        for (std::size_t k = 0; k < series->variants.size(); ++k)
            numbers << QString::number(series->variants[k]) + ':' +
                           (k < series->frequencies.size() ? QString::number(series->frequencies[k])
                                                           : QString());
        all << numbers.join(' ') + QStringLiteral(" (%1)").arg(series->frequencyCount);
    }
    all << data.sVariables << QString::number(data.result.iN1 + data.result.d1.size());
    return all.join('\n');
}

// Each row: a dialog just before a step, and one where the step was taken and
// Ctrl+Z pressed. Both are the same in every respect, but that the value the step
// took waits selected in its edit, and that the focus says what went.
void TestDialog::takeBack_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("heard");
    QTest::addColumn<QString>("clipboard");
    const auto row = [](const char* name, const char* before, const char* step, const char* heard,
                        const char* clipboard = "5\t3\n7\t1\n") {
        QTest::newRow(name) << before << step << QString::fromUtf8(heard)
                            << QString::fromUtf8(clipboard);
    };
    row("a variant", "5 = 3 = 7,5", "=", "Отменено: v2: 7.5");
    row("a frequency", "5 = 3 = 7 = 01", "=", "Отменено: v2: 7 - p2: 1.");
    row("a variant of sample 2", "5 = 3 = | 8 = 2 = 10", "<Return>", "Отменено: v2: 10");
    row("a paste", "5 = 3 =", "<Ctrl+V>", "Отменено: вставлено пар: 2.");
    row("two groups pasted side by side", "", "<Ctrl+V>", "Отменено: вставлены две выборки.",
        "Контроль\tОпыт\n5\t8\n7\t10\n5\t8\n");
    row("sample 1 closed", "5 = 3 =", "|", "Отменено: Варианты 2-го ряда:");
    row("sample 2 closed", "5 = 3 = | 8 = 2 =", "|", "Отменено: завершение 2-й выборки.");
    row("the calculation", "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = |", "#", "Отменено: расчёт");
}

void TestDialog::takeBack()
{
    QFETCH(QString, before);
    QFETCH(QString, step);
    QFETCH(QString, clipboard);
    QGuiApplication::clipboard()->setText(clipboard);
    ModalCatcher catcher;
    QString expected;
    {
        StudentForm form;
        play(form, before);
        expected = everything(form);
    }
    currentDataSet() = DataSet{};
    currentJournal().discard();
    StudentForm form;
    play(form, before + ' ' + step + " <Ctrl+Z>");
    QCOMPARE(everything(form), expected);
    QCOMPARE(catcher.boxes(), QStringList());
    QTEST(catcher.heard(), "heard");
    const auto* edit = qobject_cast<const QLineEdit*>(QApplication::focusWidget());
    QVERIFY(edit == nullptr || edit->selectedText() == edit->text());
    // Kept: killed now, the next start restores the same.
    currentJournal().release();
    currentDataSet() = DataSet{};
    catcher.queueAnswers({"Return"});
    StudentForm restored;
    restored.show();
    QVERIFY(QTest::qWaitForWindowExposed(&restored));
    restored.offerRecovery();
    activate(restored);
    // The value waiting in its edit comes back as it was kept, 7.5 for 7,5.
    static const QRegularExpression waiting(QStringLiteral("Edit\\[.*\\]"));
    QCOMPARE(everything(restored).section('\n', 0, 1).replace(waiting, "Edit"),
             expected.section('\n', 0, 1).replace(waiting, "Edit"));
}

// A whole data set taken back step by step to the start, where Ctrl+Z does
// nothing more, entered again and saved byte for byte; after the save nothing
// is taken back and no edit's own undo brings a saved number back.
void TestDialog::walkBack()
{
    ModalCatcher catcher;
    StudentForm form;
    play(form, QStringLiteral("5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #") +
                   QStringLiteral(" <Ctrl+Z>").repeated(12));
    QCOMPARE(protocol(form), lines(""));
    QCOMPARE(widgetState(form), "10001100 V1Edit[5] entry");
    QCOMPARE(form.V1Edit->selectedText(), "5");
    QCOMPARE(journals(), QStringList());
    catcher.queueAnswers({m_home->filePath("report.txt")});
    play(form, "= 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | # $ <Ctrl+Z>");
    QCOMPARE(bytesOf(m_home->filePath("report.txt")), bytesOf(workedExample));
    QCOMPARE(protocol(form), lines(""));
    QCOMPARE(form.V1Edit->text(), QString());
    QCOMPARE(catcher.boxes().size(), 1); // the file dialog alone
}

// Two starts at once: the one asking first holds the journal it offers, and the
// other, asking meanwhile, finds nothing to offer.
void TestDialog::twoStarts()
{
    {
        StudentForm ended;
        play(ended, "5 = 3 =");
    }
    currentJournal().release();
    currentDataSet() = DataSet{};
    ModalCatcher catcher;
    StudentForm second;
    catcher.whenShown = [&second] { second.offerRecovery(); };
    StudentForm first;
    play(first, "");
    first.offerRecovery();
    QCOMPARE(catcher.boxes().size(), 1);
    QCOMPARE(protocol(first), lines("5:3"));
    QCOMPARE(journals().size(), 1); // this run's own, the old one gone
}

// Each row: what is entered before a small disk is full, while it is, and once
// there is room again; then a kill, and the next start restores every step.
// While the disk is full, it holds only whole records. "restore": the next start
// restores on a full disk, and keeps the old journal until its steps are safe.
void TestDialog::fullDisk_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("room");
    // Not even the journal's folder can be made at first.
    QTest::newRow("full from the first step") << ""
                                              << "<Ctrl+V> 5 = 3 = 7 ="
                                              << "1 = | 8 = 2 =";
    // The second paste's record fills the journal's last page and needs more.
    QTest::newRow("full mid-session") << "<Ctrl+V>"
                                      << "<Ctrl+V> 5 = 3 = 7 ="
                                      << "1 = | 8 = 2 =";
    QTest::newRow("full as the next start restores") << "<Ctrl+V> 5 = 3 ="
                                                     << "restore"
                                                     << "";
}

void TestDialog::fullDisk()
{
    QFETCH(QString, before);
    QFETCH(QString, full);
    QFETCH(QString, room);
    const QString disk = m_state->filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkdir(disk));
    if (mount("tmpfs", QFile::encodeName(disk), "tmpfs", 0, "size=64k,nr_inodes=16") != 0)
        QSKIP("a small tmpfs needs root");
    const auto unmount = qScopeGuard([&disk] { umount2(QFile::encodeName(disk), MNT_DETACH); });
    qputenv("XDG_STATE_HOME", QFile::encodeName(disk));
    QString pairs;
    for (int k = 0; k < 600; ++k)
        pairs += QStringLiteral("10,%1\t%2\n").arg(k, 3, 10, QLatin1Char('0')).arg(1 + k % 7);
    QGuiApplication::clipboard()->setText(pairs);
    // Every page and every inode taken, then given back.
    const QDir filled(disk + "/filled");
    const auto fill = [&filled] {
        QVERIFY(QDir().mkdir(filled.path()));
        QFile filler(filled.filePath("0"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(4096, 'x')) > 0) {
        }
        for (int k = 1; QFile(filled.filePath(QString::number(k))).open(QIODevice::WriteOnly);)
            ++k;
    };
    const auto makeRoom = [&filled] { QVERIFY(QDir(filled).removeRecursively()); };
    ModalCatcher catcher;
    QString expected;
    const auto restart = [&](const QString& script) {
        currentJournal().release();
        currentDataSet() = DataSet{};
        catcher.queueAnswers({"Return"});
        StudentForm form;
        play(form, script);
        form.offerRecovery();
        activate(form);
        return everything(form).section('\n', 0, 1);
    };
    {
        StudentForm form;
        play(form, before);
        fill();
        if (full != "restore") {
            play(form, full);
            const QStringList kept = journals();
            const QByteArray onDisk =
                kept.isEmpty() ? QByteArray() : bytesOf(Journal::folder() + '/' + kept[0]);
            QVERIFY(onDisk.isEmpty() || onDisk.endsWith('\n'));
            makeRoom();
            play(form, room);
        }
        expected = everything(form).section('\n', 0, 1);
    }
    if (full == "restore") { // the old one kept until this run's next step is on the disk
        const QStringList old = journals();
        currentJournal().release();
        currentDataSet() = DataSet{};
        catcher.queueAnswers({"Return"});
        StudentForm form;
        play(form, "");
        form.offerRecovery();
        activate(form);
        QCOMPARE(everything(form).section('\n', 0, 1), expected);
        QCOMPARE(journals(), old);
        makeRoom();
        play(form, "7 =");
        QCOMPARE(journals().size(), 1);
        QVERIFY(journals() != old);
        expected = everything(form).section('\n', 0, 1);
    }
    QCOMPARE(restart(""), expected);
}

// Each row: the answers to the file dialog and to the overwrite question, which
// is asked exactly where the row answers it, in a fresh HOME ("~") that holds
// "old" with 10,000 bytes; whether the report is saved; the desktop's order of
// dialog buttons (-1: the default). Either the file then holds exactly the report
// and the dialog takes the next data set, or file, directory and dialog are as
// they were. A file saved "in place" keeps its inode, owner and links. The next
// save dialog opens where the name was chosen; the first one at home.
void TestDialog::save_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("layout");
    const auto row = [](const char* name, const QStringList& answers, bool saved, int layout = -1) {
        QTest::newRow(name) << answers << saved << layout;
    };
    row("remembered /proc does not hang", {"~/report.txt"}, true);
    row("accepted as offered: NoName.txt at home", {"Return"}, true);
    row("cancelled", {"Escape"}, false);
    row("name used as typed", {"~/report"}, true);
    row("existing, Return means no", {"~/old", "Return"}, false);
    row("existing, Escape means no", {"~/old", "Escape"}, false);
    row("existing, &Нет", {"~/old", "&Нет"}, false);
    row("existing, &Да replaces a longer file, Windows order", {"~/old", "&Да"}, true,
        QDialogButtonBox::WinLayout);
    row("existing, &Да, macOS order", {"~/old", "&Да"}, true, QDialogButtonBox::MacLayout);
    row("existing, &Да, KDE order", {"~/old", "&Да"}, true, QDialogButtonBox::KdeLayout);
    row("existing, &Да, GNOME order", {"~/old", "&Да"}, true, QDialogButtonBox::GnomeLayout);
    row("directory missing", {"~/no/report.txt"}, false);
    row("parent is a file", {"~/old/report.txt"}, false);
    row("directory not writable", {"~/locked/report.txt"}, false);
    row("device always full", {"~/full", "&Да"}, false);
    row("size limit hit mid-write", {"~/old", "&Да"}, false);
    row("pipe without a reader", {"~/fifo", "&Да"}, false);
    row("pipe with a reader", {"~/fifo", "&Да"}, true);
    row("pipe whose reader leaves mid-report", {"~/fifo", "&Да"}, false);
    row("pipe drained slowly through signals", {"~/fifo", "&Да"}, true);
    row("folder takes no new file, in place", {"~/old", "&Да"}, true);
    row("another user's file, in place", {"~/old", "&Да"}, true);
    row("file with a second name, in place", {"~/old", "&Да"}, true);
    row("size limit hit with a second name: untouched in place", {"~/old", "&Да"}, false);
    row("size limit hit where no new file may be made: untouched in place", {"~/old", "&Да"},
        false);
}

void TestDialog::save()
{
    QFETCH(QStringList, answers);
    QFETCH(bool, saved);
    QFETCH(int, layout);
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    const QDir dir(m_home->path());
    // Only where asked: a style sheet, even an empty one, changes how the file
    // dialog types files, and that would hide a hang the first row looks for.
    if (layout >= 0)
        qApp->setStyleSheet(QStringLiteral("QDialogButtonBox { button-layout: %1 }").arg(layout));
    const auto plain = qScopeGuard([] { qApp->setStyleSheet(QString()); });
    QFile old(dir.filePath(QStringLiteral("old")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(10000, 'x')) == 10000);
    old.close();
    answers.replaceInStrings(QStringLiteral("~/"), dir.path() + '/');
    QString target = answers[0].contains('/') ? answers[0] : dir.filePath("NoName.txt");
    const QByteArray path = QFile::encodeName(target);
    if (tag.endsWith(QLatin1String("not writable"))) {
        // Permissions do not stop root; sysfs refuses new files even to root.
        QVERIFY(dir.mkdir("locked") && chmod(QFile::encodeName(dir.filePath("locked")), 0500) == 0);
        if (geteuid() == 0)
            answers[0] = target = QStringLiteral("/sys/zentu-report.txt");
    }
    // A private copy of /dev/full, where we may make one.
    if (tag.startsWith(QLatin1String("device")) && mknod(path, S_IFCHR | 0666, makedev(1, 7)) != 0)
        answers[0] = target = QStringLiteral("/dev/full");
    if (tag.startsWith(QLatin1String("pipe")))
        QCOMPARE(mkfifo(path, 0600), 0);
    if (tag.contains(QLatin1String("second name")))
        QCOMPARE(link(path, QFile::encodeName(dir.filePath("link"))), 0);
    if (tag.startsWith(QLatin1String("another")) && (geteuid() != 0 || chown(path, 65534, 0) != 0))
        QSKIP("only root can give a file to another user");
    // The saver's own file in a folder that takes no new file: root saves as
    // "nobody" there, as permissions do not stop root.
    const bool shared = tag.contains(QLatin1String("no new file"));
    const uid_t self = geteuid(), saver = shared && self == 0 ? 65534 : self;
    if (shared)
        QVERIFY(chown(path, saver, getegid()) == 0 &&
                chmod(QFile::encodeName(dir.path()), 0555) == 0);
    const int reader =
        tag.endsWith(QLatin1String("with a reader")) ? open(path, O_RDONLY | O_NONBLOCK) : -1;
    qputenv("FIFO", path);
    qputenv("SAVER", QByteArray::number(getpid()));
    const QString got = m_state->filePath(QStringLiteral("got"));
    qputenv("GOT", QFile::encodeName(got));
    qputenv("SIZE", QByteArray::number(bytesOf(workedExample).size()));
    // Signals that interrupt what they meet, as a handler without SA_RESTART does.
    const bool signalled = tag.contains(QLatin1String("signals"));
    struct sigaction counting = {}, previous = {};
    counting.sa_handler = [](int) { ++interruptions; };
    sigaction(SIGUSR1, &counting, &previous);
    const auto restoreSignal = qScopeGuard([&] { sigaction(SIGUSR1, &previous, nullptr); });
    FILE* const leaving = tag.contains("leaves") ? popen(readerLeavingMidReport, "r")
                          : signalled            ? popen(readerDrainingThroughSignals, "r")
                                                 : nullptr;
    QVERIFY(leaving == nullptr || fgetc(leaving) == '\n');
    const QFileInfo file(target);
    const bool special = file.exists() && !file.isFile(); // opening it here may block
    const QByteArray before = special ? QByteArray() : bytesOf(target);
    const QString identityBefore = identity(target);
    // Regular files only: a device or a pipe turned into a file shows up.
    const auto listing = [&dir] { return dir.entryList(QDir::AllEntries | QDir::Hidden); };
    QStringList entries = listing();

    ModalCatcher catcher;
    StudentForm form;
    play(form, QStringLiteral("5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #"));
    const QStringList report = protocol(form);
    catcher.queueAnswers(answers);
    // Files may grow to 100 bytes only where the row says so; the report is longer.
    rlimit limit{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
    const rlimit small{tag.startsWith(QLatin1String("size limit")) ? 100 : limit.rlim_cur,
                       limit.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    QVERIFY(seteuid(saver) == 0);
    synced().clear();
    play(form, QStringLiteral("$"));
    QVERIFY(seteuid(self) == 0 && setrlimit(RLIMIT_FSIZE, &limit) == 0);
    QVERIFY(leaving == nullptr || pclose(leaving) == 0);
    QVERIFY(chmod(QFile::encodeName(dir.path()), 0700) == 0);

    const QString fileDialog =
        QStringLiteral("File: Сохранить результат / Текстовый файл (*.txt) in ");
    QStringList boxes{fileDialog + dir.path()};
    if (answers.size() > 1)
        boxes << QStringLiteral("Warning: Такой файл уже существует! / Перезаписать "
                                "существующий файл? [&Да, &Нет]");
    QCOMPARE(catcher.boxes(), boxes);
    QByteArray written = signalled ? bytesOf(got) : special ? QByteArray() : bytesOf(target);
    QVERIFY(!signalled || interruptions > 0);
    QFile pipe; // what the pipe's reader got, the writer gone
    if (reader >= 0 && pipe.open(reader, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        written = pipe.readAll();
    QCOMPARE(written, saved ? bytesOf(workedExample) : before);
    if (tag.endsWith(QLatin1String("in place")))
        QCOMPARE(identity(target), identityBefore);
    // Saved counts only once on the disk: in place the file itself synced.
    if (saved && tag.endsWith(QLatin1String("in place")))
        QVERIFY(synced().contains(QFileInfo(target).canonicalFilePath()));
    if (tag.contains(QLatin1String("second name")))
        QCOMPARE(bytesOf(dir.filePath("link")), written);
    if (saved && answers.size() == 1 && target.startsWith(dir.path()))
        entries << file.fileName();
    entries.sort();
    QCOMPARE(listing(), entries); // and no temporary file is left behind
    if (saver == self) // the journal of the stand-in saver's run is root's, out of its reach
        QCOMPARE(journals().size(), saved ? 0 : 1);
    QCOMPARE(protocol(form), saved ? QStringList{H1} : report);
    QCOMPARE(widgetState(form), saved ? "10001100 V1Edit entry" : "00000001 SaveButton save");
    // Heard as the focus came back: the start hint, or the report still to save;
    // no other widget keeps news of a data set.
    QCOMPARE(catcher.heard(), saved ? form.MessageLabel->text() : reportHeard(report));
    for (const QWidget* widget : form.findChildren<QWidget*>())
        QVERIFY2(widget->accessibleDescription().isEmpty() || widget->hasFocus(),
                 qPrintable(widget->objectName()));
    if (saved) { // nothing to lose: closes at once; the next data set starts empty
        QVERIFY(form.close());
        play(form, QStringLiteral("1 = 2 = | 3 = 2 = | #"));
        QCOMPARE(protocol(form), lines("1:2 | 3:2", "2 2 1 3 0 0 0 0 inf", "99.9"));
    }
    // Where the name was chosen; where that folder is missing, the nearest that
    // is not: here the home folder.
    const QFileInfo chosen(answers[0].contains('/') ? answers[0] : dir.filePath("NoName.txt"));
    catcher.queueAnswers({"Escape"});
    play(form, QStringLiteral("$"));
    QCOMPARE(
        catcher.boxes().mid(boxes.size()),
        QStringList(fileDialog + (QFileInfo(chosen.path()).isDir() ? chosen.path() : dir.path())));
}

QTEST_MAIN(TestDialog)
#include "tst_dialog.moc"
