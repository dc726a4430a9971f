#include "FormDriver.h"

#include "StudentForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace FormDriver {

QLineEdit* activeEdit(StudentForm& form)
{
    for (QLineEdit* edit : {form.V1Edit, form.P1Edit, form.V2Edit, form.P2Edit}) {
        if (edit->isEnabled())
            return edit;
    }
    return nullptr;
}

void enter(StudentForm& form, const QStringList& steps)
{
    for (const QString& step : steps) {
        if (step == QLatin1String("|")) {
            QTest::mouseClick(form.EndButton, Qt::LeftButton);
            continue;
        }
        QLineEdit* edit = activeEdit(form);
        if (edit == nullptr)
            return;
        edit->clear();
        QTest::keyClicks(edit, step);
        QTest::mouseClick(form.SubmitButton, Qt::LeftButton);
    }
}

void calculate(StudentForm& form, const QStringList& sample1, const QStringList& sample2)
{
    enter(form,
          sample1 + QStringList{QStringLiteral("|")} + sample2 + QStringList{QStringLiteral("|")});
    QTest::mouseClick(form.CalculateButton, Qt::LeftButton);
}

QStringList lines(const StudentForm& form)
{
    return form.ResultEdit->toPlainText().split(QLatin1Char('\n'));
}

} // namespace FormDriver
