#pragma once

#include <QStringList>

class QLineEdit;
class StudentForm;

// Drives the dialog as a user does: types into whichever line edit is enabled
// and clicks the buttons with the mouse.
namespace FormDriver {

// The line edit that takes input now, or nullptr once entry is done.
QLineEdit* activeEdit(StudentForm& form);

// Types each text into the active edit and clicks "Ввод"; "|" clicks
// "Завершить" instead. {"5", "3", "7", "1", "|"} enters (5, 3), (7, 1) and
// closes the sample.
void enter(StudentForm& form, const QStringList& steps);

// Both samples entered and closed, then "Рассчитать".
void calculate(StudentForm& form, const QStringList& sample1, const QStringList& sample2);

QStringList lines(const StudentForm& form);

} // namespace FormDriver
