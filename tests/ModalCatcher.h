// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "EntryEdit.h"
#include "StudentForm.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>

// Catches every modal dialog the program opens, records it, and answers it from
// inside its own event loop: the answer is queued on Show and runs once exec()
// spins. No timers, no sleeps. Lives for one test; installed application-wide.
class ModalCatcher : public QObject
{
public:
    ModalCatcher() { qApp->installEventFilter(this); }
    ~ModalCatcher() override { qApp->removeEventFilter(this); }
    // Answers for the next boxes, in order, then Return for every box: a button
    // clicked ("&Нет"), a path chosen in the file dialog ("/tmp/a.txt"), or
    // "Return" or "Escape" pressed where the box has its focus.
    void queueAnswers(const QStringList& answers) { m_answers += answers; }
    // "Critical: title / text", with the buttons left to right where there are
    // several: "[&Да, &Нет]"; a file dialog as "File: title / filters in folder";
    // any other as "QPrintDialog: title / the title of the window it belongs to";
    // " (no parent)" after a box that does not belong to a window.
    const QStringList& boxes() const { return m_boxes; }
    // What a screen reader last said beyond a widget's name and role: the
    // accessible description of a widget as it took the focus ("" for none yet).
    const QString& heard() const { return m_heard; }
    // Run once, as the next modal dialog shows, before it is answered.
    std::function<void()> whenShown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
            const QString description =
                QAccessible::queryAccessibleInterface(watched)->text(QAccessible::Description);
            if (!description.isEmpty())
                m_heard = description;
        }
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog != nullptr && dialog->isModal() && whenShown)
            std::exchange(whenShown, nullptr)();
        if (event->type() == QEvent::Show && dialog != nullptr && dialog->isModal())
            QMetaObject::invokeMethod(
                this, [this, dialog = QPointer<QDialog>(dialog)] { respond(dialog); },
                Qt::QueuedConnection);
        return false;
    }

private:
    void respond(QDialog* dialog) // its buttons laid out by now
    {
        if (dialog == nullptr)
            return;
        auto* box = qobject_cast<QMessageBox*>(dialog);
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QList<QAbstractButton*> buttons = box ? box->buttons() : QList<QAbstractButton*>();
        std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) {
            return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
        });
        QStringList texts;
        for (QAbstractButton* button : buttons)
            texts << button->text();
        m_boxes << QStringLiteral("%1: %2 / %3%4%5")
                       .arg(box ? QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon())
                            : files ? "File"
                                    : dialog->metaObject()->className(),
                            dialog->windowTitle(),
                            box     ? box->text()
                            : files ? files->nameFilters().join(';') + " in " +
                                          files->directory().absolutePath()
                                    : dialog->parentWidget()->windowTitle(),
                            texts.size() > 1 ? " [" + texts.join(", ") + ']' : QString(),
                            dialog->parentWidget() == nullptr ? " (no parent)" : "");
        const QString answer =
            m_answers.isEmpty() ? QStringLiteral("Return") : m_answers.takeFirst();
        if (texts.contains(answer)) {
            buttons.at(texts.indexOf(answer))->click();
        } else if (answer.contains(QLatin1Char('/'))) {
            files->selectFile(answer);
            dialog->accept();
        } else {
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog,
                            answer == QLatin1String("Escape") ? Qt::Key_Escape : Qt::Key_Return);
        }
    }

    QStringList m_boxes;
    QStringList m_answers;
    QString m_heard;
};

// Offscreen, nothing gives the activation back when a box closes.
inline void activate(QWidget& window)
{
    if (!window.isVisible() || QApplication::activeWindow() == &window)
        return;
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Drives the dialog as a user does, word by word: "=", "|", "#" and "$" click
// «Ввод», «Завершить», «Рассчитать» and «Сохранить»; "<Return>", "<Tab>",
// "<Escape>" and the like are keys; "!" calls OnSubmit and OnStop directly; "^"
// asks the dialog to close as the window's close button does; "%" pastes the
// clipboard by «Вставить» in the focused edit's menu, "~" drops it there; any
// other word is typed where the focus is. The dialog is shown first.
inline void play(StudentForm& form, const QString& script)
{
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPushButton* const buttons[] = {form.SubmitButton, form.EndButton, form.CalculateButton,
                                    form.SaveButton};
    for (const QString& word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        activate(form);
        const qsizetype button = word.size() == 1 ? QStringLiteral("=|#$").indexOf(word) : -1;
        if (button >= 0) {
            QTest::mouseClick(buttons[button], Qt::LeftButton);
        } else if (word.startsWith(QLatin1Char('<'))) {
            const QKeyCombination key = QKeySequence(word.mid(1, word.size() - 2))[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (word == QLatin1String("!")) {
            form.OnSubmit();
            form.OnStop();
        } else if (word == QLatin1String("^")) {
            form.close();
        } else if (word == QLatin1String("%")) {
            auto* edit = static_cast<EntryEdit*>(QApplication::focusWidget());
            const std::unique_ptr<QMenu> menu(edit->createContextMenu());
            for (QAction* action : menu->actions())
                if (action->text().startsWith(QStringLiteral("В&ставить")))
                    action->trigger();
        } else if (word == QLatin1String("~")) {
            QWidget* edit = QApplication::focusWidget();
            QMimeData text;
            text.setText(QGuiApplication::clipboard()->text());
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
            QApplication::sendEvent(edit, &enter);
            QApplication::sendEvent(edit, &drop);
        } else {
            QTest::keyClicks(QApplication::focusWidget(), word);
        }
    }
    activate(form);
}

inline QStringList protocol(const StudentForm& form)
{
    return form.ResultEdit->toPlainText().split(QLatin1Char('\n'));
}

// V1 P1 V2 P2 Submit End Calculate Save enabled, the focus (in the protocol with
// the caret's line and the selection: "ResultEdit:1[v1: 5 - p1: 3.]"; in an edit with
// text in it, the text: "V1Edit[9]"), and the prompt the
// message line shows ("entry", "calculate", "save", or its text): "01001100 P1Edit entry";
// "closed" once the dialog is.
inline QString widgetState(const StudentForm& form)
{
    if (!form.isVisible())
        return QStringLiteral("closed");
    static const QHash<QString, QString> prompts{
        {"Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. ", "entry"},
        {"Нажмите кнопку <Рассчитать> для получения результата. ", "calculate"},
        {"Нажмите кнопку <Сохранить> для сохранения результата в файл. ", "save"}};
    QString state;
    for (const QWidget* w :
         QWidgetList{form.V1Edit, form.P1Edit, form.V2Edit, form.P2Edit, form.SubmitButton,
                     form.EndButton, form.CalculateButton, form.SaveButton})
        state += QLatin1Char(w->isEnabled() ? '1' : '0');
    const QWidget* focus = QApplication::focusWidget();
    QString where = focus != nullptr ? focus->objectName() : "none";
    if (focus == form.ResultEdit) { // the caret's line, and the selection if any
        const QTextCursor caret = form.ResultEdit->textCursor();
        where += QStringLiteral(":%1").arg(caret.blockNumber());
        if (caret.hasSelection())
            where += '[' + caret.selectedText() + ']';
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(focus);
               edit != nullptr && !edit->text().isEmpty()) {
        where += '[' + edit->text() + ']';
    }
    const QString message = form.MessageLabel->text();
    return state + QLatin1Char(' ') + where + QLatin1Char(' ') + prompts.value(message, message);
}
