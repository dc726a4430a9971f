#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QDialog;

// Catches every modal dialog the program opens (message boxes, the file
// dialog), records it, and answers it from inside its own event loop: the
// answer is queued on Show and runs once the dialog's exec() loop is spinning.
// No timers, no sleeps. Lives for one test; installed application-wide.
class ModalCatcher : public QObject
{
public:
    struct Box
    {
        QString className;
        QString title;
        QString text; // a message box's text; empty for other dialogs
        int icon = 0; // QMessageBox::Icon, 0 for other dialogs
    };
    using Answer = std::function<void(QDialog*)>;

    ModalCatcher();
    ~ModalCatcher() override;

    // Answers for the next boxes, in order; when they run out, every box is
    // answered with Return (a message box's default button).
    void queueAnswer(Answer answer);

    const QList<Box>& boxes() const { return m_boxes; }
    int count() const { return static_cast<int>(m_boxes.size()); }

    static Answer pressKey(int key);
    // Fills the file dialog's name and accepts it, as a user typing a path and Return.
    static Answer chooseFile(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<Box> m_boxes;
    QList<Answer> m_answers;
};
