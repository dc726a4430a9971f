#include "ModalCatcher.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

ModalCatcher::ModalCatcher()
{
    qApp->installEventFilter(this);
}

ModalCatcher::~ModalCatcher()
{
    qApp->removeEventFilter(this);
}

void ModalCatcher::queueAnswer(Answer answer)
{
    m_answers.append(std::move(answer));
}

ModalCatcher::Answer ModalCatcher::pressKey(int key)
{
    return [key](QDialog* dialog) {
        QWidget* target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
        QTest::keyClick(target, static_cast<Qt::Key>(key));
    };
}

ModalCatcher::Answer ModalCatcher::chooseFile(const QString& path)
{
    return [path](QDialog* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        Q_ASSERT(fileDialog != nullptr);
        if (!path.isNull())
            fileDialog->selectFile(path);
        static_cast<QDialog*>(fileDialog)->accept(); // QFileDialog hides it, QDialog does not
    };
}

bool ModalCatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show)
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || !dialog->isWindow() || dialog->windowModality() == Qt::NonModal)
        return false;

    Box box{QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle(), {}, 0};
    if (auto* message = qobject_cast<QMessageBox*>(dialog)) {
        box.text = message->text();
        box.icon = message->icon();
    }
    m_boxes.append(box);

    Answer answer = m_answers.isEmpty() ? pressKey(Qt::Key_Return) : m_answers.takeFirst();
    QMetaObject::invokeMethod(
        this,
        [answer = std::move(answer), dialog = QPointer<QDialog>(dialog)] {
            if (dialog)
                answer(dialog);
        },
        Qt::QueuedConnection);
    return false;
}
