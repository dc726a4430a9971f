#include "ModalCatcher.h"

#include "StudentForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <algorithm>

ModalCatcher::ModalCatcher()
{
    qApp->installEventFilter(this);
}

ModalCatcher::~ModalCatcher()
{
    qApp->removeEventFilter(this);
}

ModalCatcher::Answer ModalCatcher::press(const QString& key)
{
    return [key](QDialog* dialog) {
        QApplication::setActiveWindow(dialog); // shortcuts act in the active window only
        const QKeyCombination combination = QKeySequence(key)[0];
        const Qt::Key code = combination.key();
        // QTest spells out only Latin keys; a Cyrillic one brings its own text.
        QTest::sendKeyEvent(QTest::Click, dialog->focusWidget() ? dialog->focusWidget() : dialog,
                            code, code > 0xff ? QString(QChar(code)) : QString(),
                            combination.keyboardModifiers());
    };
}

ModalCatcher::Answer ModalCatcher::chooseFile(const QString& path)
{
    return [path](QDialog* dialog) {
        qobject_cast<QFileDialog*>(dialog)->selectFile(path);
        dialog->accept();
    };
}

bool ModalCatcher::eventFilter(QObject* watched, QEvent* event)
{
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (event->type() != QEvent::Show || dialog == nullptr || !dialog->isWindow() ||
        dialog->windowModality() == Qt::NonModal)
        return false;
    static const char* const icons[] = {"", "information", "warning", "critical", "question"};
    auto* box = qobject_cast<QMessageBox*>(dialog);
    m_boxes << QStringLiteral("%1: %2 / %3")
                   .arg(box ? QLatin1String(icons[box->icon()]) : QLatin1String("file"),
                        dialog->windowTitle(),
                        box ? box->text()
                            : qobject_cast<QFileDialog*>(dialog)->nameFilters().join(';'));
    Answer answer = m_answers.isEmpty() ? press(QStringLiteral("Return")) : m_answers.takeFirst();
    const auto run = [this, index = count() - 1, answer = std::move(answer),
                      dialog = QPointer<QDialog>(dialog)] {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (box != nullptr && box->buttons().size() > 1) { // laid out by now
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            QStringList texts;
            for (const QAbstractButton* button : buttons)
                texts << button->text();
            m_boxes[index] += QStringLiteral(" [%1]").arg(texts.join(QStringLiteral(", ")));
        }
        if (dialog)
            answer(dialog);
    };
    QMetaObject::invokeMethod(this, run, Qt::QueuedConnection);
    return false;
}

void showActive(StudentForm& form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

void play(StudentForm& form, const QString& script)
{
    QPushButton* const buttons[] = {form.SubmitButton, form.EndButton, form.CalculateButton,
                                    form.SaveButton};
    for (const QString& word : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        // Offscreen, nothing gives the activation back when a box closes.
        QApplication::setActiveWindow(&form);
        const qsizetype button = word.size() == 1 ? QStringLiteral("=|#$").indexOf(word) : -1;
        if (button >= 0) {
            QTest::mouseClick(buttons[button], Qt::LeftButton);
        } else if (word.startsWith(QLatin1Char('<'))) {
            const QKeyCombination key = QKeySequence(word.mid(1, word.size() - 2))[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (word == QLatin1String("!")) {
            form.OnSubmit();
            form.OnStop();
        } else {
            QTest::keyClicks(QApplication::focusWidget(), word);
        }
    }
    QApplication::setActiveWindow(&form);
}

QStringList protocol(const StudentForm& form)
{
    return form.ResultEdit->toPlainText().split(QLatin1Char('\n'));
}

QString widgetState(const StudentForm& form)
{
    QString state;
    for (const QWidget* w :
         QWidgetList{form.V1Edit, form.P1Edit, form.V2Edit, form.P2Edit, form.SubmitButton,
                     form.EndButton, form.CalculateButton, form.SaveButton})
        state += QLatin1Char(w->isEnabled() ? '1' : '0');
    const QWidget* focus = QApplication::focusWidget();
    return state + QLatin1Char(' ') + (focus != nullptr ? focus->objectName() : "none");
}
