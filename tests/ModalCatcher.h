#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QDialog;
class StudentForm;

// Catches every modal dialog the program opens, records it, and answers it from
// inside its own event loop: the answer is queued on Show and runs once exec()
// spins. No timers, no sleeps. Lives for one test; installed application-wide.
class ModalCatcher : public QObject
{
public:
    using Answer = std::function<void(QDialog*)>;
    ModalCatcher();
    ~ModalCatcher() override;
    // Answers for the next boxes, in order; then every box gets Return.
    void queueAnswer(Answer answer) { m_answers.append(std::move(answer)); }
    // "critical: title / text", with the buttons left to right where there are
    // several: "[&Да, &Нет]"; a file dialog as "file: title / filters".
    const QStringList& boxes() const { return m_boxes; }
    int count() const { return static_cast<int>(m_boxes.size()); }

    // A key pressed where the box has its focus: "Return", "Escape", "Alt+Д".
    static Answer press(const QString& key);
    static Answer chooseFile(const QString& path); // typed into the file dialog, accepted

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList m_boxes;
    QList<Answer> m_answers;
};

// Drives the dialog as a user does, word by word: "=", "|", "#" and "$" click
// «Ввод», «Завершить», «Рассчитать» and «Сохранить»; "<Return>", "<Tab>",
// "<Backtab>" and "<Space>" are keys; "!" calls OnSubmit and OnStop directly;
// any other word is typed where the focus is.
void play(StudentForm& form, const QString& script);
void showActive(StudentForm& form);
QStringList protocol(const StudentForm& form);
// V1 P1 V2 P2 Submit End Calculate Save enabled, and the focus: "01001100 P1Edit".
QString widgetState(const StudentForm& form);
