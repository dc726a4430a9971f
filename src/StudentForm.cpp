// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StudentForm.h"

#include "CriticalValueTable.h"
#include "DataSet.h"
#include "ReportFile.h"
#include "TTest.h"
#include "TypedNumber.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QTranslator>

#include <algorithm>

namespace {

DataSet dataSet;
QString sSaveFolder;

// Six significant digits, a point as decimal separator in every locale.
QString real(double value)
{
    return QString::number(value, 'g', 6);
}

// Moves the user on: the next widget is enabled and focused before the current
// one is disabled, so the focus never wanders through the widgets in between.
// What the user should hear now (the pair just echoed, a new hint, t and the
// verdict) becomes the description of the widget taking the focus, set before
// the focus moves: screen readers speak a description with the focus, while a
// changed label or description on its own goes unspoken by some (Orca 43). The
// widget left behind forgets its news, so nothing stale is read out later.
void handOver(QWidget* from, QWidget* to, const QString& news = QString())
{
    to->setAccessibleDescription(news);
    to->setEnabled(true);
    to->setFocus();
    from->setAccessibleDescription(QString());
    from->setDisabled(true);
}

// A caption is as wide as its text needs in the font in use, never narrower than
// the layout gives it and never closer than 4 px to what stands to its right.
// Text that still does not fit is elided, never cut mid-letter, and the whole
// of it becomes the tooltip. The caption labels the edit for a screen reader,
// which names the edit by the whole text.
void fitCaption(QLabel* caption, QLineEdit* edit, const QString& text, int narrowest, int right)
{
    caption->setBuddy(edit);
    edit->setAccessibleName(text);
    const int room = right - caption->x();
    const QFontMetrics metrics = caption->fontMetrics();
    const int needed = metrics.horizontalAdvance(text);
    caption->resize(std::clamp(needed, narrowest, room), caption->height());
    const bool fits = needed <= room;
    caption->setText(fits ? text : metrics.elidedText(text, Qt::ElideRight, room));
    caption->setToolTip(fits ? QString() : text);
}

// "&Да" and "&Нет" in this order on every desktop, as actions: the yes and no
// roles are reordered by some. "&Нет" is the default; Escape and the box's own
// close mean "&Нет". Like every box of the dialog, it belongs to the dialog, so
// the desktop keeps it above the dialog and centred over it.
bool confirmed(QWidget* dialog, const QString& title, const QString& text)
{
    QMessageBox question(QMessageBox::Warning, title, text, QMessageBox::NoButton, dialog);
    QPushButton* yes = question.addButton(StudentForm::tr("&Да"), QMessageBox::ActionRole);
    QPushButton* no = question.addButton(StudentForm::tr("&Нет"), QMessageBox::ActionRole);
    question.setDefaultButton(no);
    question.setEscapeButton(no);
    question.exec();
    return question.clickedButton() == yes;
}

} // namespace

DataSet& currentDataSet()
{
    return dataSet;
}

QString& saveFolder()
{
    return sSaveFolder;
}

bool installToolkitTranslation()
{
    auto* catalogue = new QTranslator(QCoreApplication::instance());
    if (catalogue->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(catalogue))
        return true;
    delete catalogue;
    return false;
}

QIcon programIcon()
{
    const QIcon themed = QIcon::fromTheme(QStringLiteral("org.zentu.Zentu"));
    return themed.pixmap(64).isNull() ? QIcon(QStringLiteral(":/org.zentu.Zentu.png")) : themed;
}

void showAboutBox()
{
    QMessageBox::about(nullptr, QObject::tr("О программе"),
                       QObject::tr("<h2>Zentu 1.0</h2>"
                                   "<p>Программа производит сравнение двух независимых групп "
                                   "по одному признаку с вычислением t-критерия Стъюдента.</p>"));
}

StudentForm::StudentForm(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QString::fromUtf8(name != nullptr ? name : "StudentForm"));
    setModal(modal);

    const auto make = [](auto* widget, const char* objectName, QRect geometry) {
        widget->setObjectName(QString::fromLatin1(objectName));
        widget->setGeometry(geometry);
        return widget;
    };
    V1Label = make(new QLabel(this), "V1Label", {10, 40, 140, 20});
    V2Label = make(new QLabel(this), "V2Label", {10, 110, 140, 20});
    P1Label = make(new QLabel(this), "P1Label", {160, 40, 183, 20});
    P2Label = make(new QLabel(this), "P2Label", {160, 110, 183, 20});
    V1Edit = make(new QLineEdit(this), "V1Edit", {10, 70, 140, 22});
    MessageLabel = make(new QLabel(this), "MessageLabel", {10, 10, 580, 20});
    ResultEdit = make(new QTextEdit(this), "ResultEdit", {10, 180, 580, 290});
    QFont ResultEdit_font(ResultEdit->font());
    ResultEdit_font.setFamily(QStringLiteral("Nimbus Roman No9 l"));
    ResultEdit_font.setPointSize(12);
    ResultEdit->setFont(ResultEdit_font);
    ResultEdit->setReadOnly(true);
    // A caret, so that the protocol can be read line by line from the keyboard,
    // as a screen reader does.
    ResultEdit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    SubmitButton = make(new QPushButton(this), "SubmitButton", {350, 70, 111, 30});
    EndButton = make(new QPushButton(this), "EndButton", {470, 70, 111, 30});
    P1Edit = make(new QLineEdit(this), "P1Edit", {160, 70, 140, 22});
    P1Edit->setDisabled(true);
    V2Edit = make(new QLineEdit(this), "V2Edit", {10, 140, 140, 22});
    V2Edit->setDisabled(true);
    P2Edit = make(new QLineEdit(this), "P2Edit", {160, 140, 140, 22});
    P2Edit->setDisabled(true);
    CalculateButton = make(new QPushButton(this), "CalculateButton", {350, 130, 111, 30});
    CalculateButton->setDisabled(true);
    SaveButton = make(new QPushButton(this), "SaveButton", {470, 130, 111, 30});
    SaveButton->setDisabled(true);

    languageChange();
    resize(QSize(600, 480).expandedTo(minimumSizeHint()));

    connect(SubmitButton, &QPushButton::clicked, this, &StudentForm::OnSubmit);
    connect(EndButton, &QPushButton::clicked, this, &StudentForm::OnStop);
    connect(CalculateButton, &QPushButton::clicked, this, &StudentForm::OnCalculate);
    connect(SaveButton, &QPushButton::clicked, this, &StudentForm::OnSave);

    setTabOrder(V1Edit, SubmitButton);
    setTabOrder(SubmitButton, P1Edit);
    setTabOrder(P1Edit, EndButton);
    setTabOrder(EndButton, V2Edit);
    setTabOrder(V2Edit, P2Edit);
    setTabOrder(P2Edit, CalculateButton);
    setTabOrder(CalculateButton, SaveButton);
    setTabOrder(SaveButton, ResultEdit);
}

StudentForm::~StudentForm() = default;

void StudentForm::languageChange()
{
    setWindowTitle(tr("Сравнение по t-критерию Стъюдента"));
    // A variant's caption ends 4 px before its frequency's; a frequency's
    // caption at the right margin, where the message line ends.
    const int vRight = P1Label->x() - 4;
    const int pRight = MessageLabel->geometry().right() + 1;
    fitCaption(V1Label, V1Edit, tr("Варианты 1-й выборки"), 140, vRight);
    fitCaption(V2Label, V2Edit, tr("Варианты 2-й выборки"), 140, vRight);
    fitCaption(P1Label, P1Edit, tr("Частоты вариант 1-й выборки"), 183, pRight);
    fitCaption(P2Label, P2Edit, tr("Частоты вариант 2-й выборки"), 183, pRight);
    MessageLabel->setText(
        tr("Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. "));
    ResultEdit->setText(tr("Варианты 1-го ряда:"));
    ResultEdit->setAccessibleName(tr("Протокол"));
    SubmitButton->setText(tr("Ввод"));
    EndButton->setText(tr("Завершить"));
    CalculateButton->setText(tr("Рассчитать"));
    SaveButton->setText(tr("Сохранить"));
}

EntryState StudentForm::entryState() const
{
    if (V1Edit->isEnabled())
        return EntryState::EnterVariant1;
    if (P1Edit->isEnabled())
        return EntryState::EnterFrequency1;
    if (V2Edit->isEnabled())
        return EntryState::EnterVariant2;
    if (P2Edit->isEnabled())
        return EntryState::EnterFrequency2;
    return EntryState::EntryDone;
}

void StudentForm::OnSubmit()
{
    switch (entryState()) {
    case EntryState::EnterVariant1:
        submitVariant(V1Edit, P1Edit, dataSet.sample1);
        break;
    case EntryState::EnterFrequency1:
        submitFrequency(P1Edit, V1Edit, dataSet.sample1);
        break;
    case EntryState::EnterVariant2:
        submitVariant(V2Edit, P2Edit, dataSet.sample2);
        break;
    case EntryState::EnterFrequency2:
        submitFrequency(P2Edit, V2Edit, dataSet.sample2);
        break;
    case EntryState::EntryDone:
        break;
    }
}

void StudentForm::submitVariant(QLineEdit* variantEdit, QLineEdit* frequencyEdit,
                                SampleSeries& series)
{
    const std::optional<double> value = parseVariant(variantEdit->text());
    if (!value) {
        QMessageBox::critical(this, tr("Ошибка ввода!"), tr("Варианта должна быть числом!"));
        variantEdit->clear();
        variantEdit->setFocus();
        return;
    }
    const int k = series.variantCount + 1;
    dataSet.sVariables = QLatin1Char('v') + QString::number(k) + QLatin1String(": ") +
                         real(*value) + QLatin1String(" - ");
    series.appendVariant(*value);
    variantEdit->clear();
    handOver(variantEdit, frequencyEdit);
}

void StudentForm::submitFrequency(QLineEdit* frequencyEdit, QLineEdit* variantEdit,
                                  SampleSeries& series)
{
    const std::optional<int> value = parseFrequency(frequencyEdit->text());
    QString refusal;
    if (!value)
        refusal = tr("Частота варианты должна быть целым числом!");
    else if (!series.frequencyFits(*value))
        refusal = tr("Сумма частот выборки выходит за допустимые пределы!");
    if (!refusal.isEmpty()) {
        QMessageBox::critical(this, tr("Ошибка ввода!"), refusal);
        frequencyEdit->clear();
        frequencyEdit->setFocus();
        return;
    }
    const int k = series.frequencyCount + 1;
    dataSet.sVariables += QLatin1Char('p') + QString::number(k) + QLatin1String(": ") +
                          QString::number(*value) + QLatin1Char('.');
    ResultEdit->append(dataSet.sVariables);
    const QString echo = dataSet.sVariables;
    dataSet.sVariables = QLatin1String("");
    series.appendFrequency(*value);
    frequencyEdit->clear();
    handOver(frequencyEdit, variantEdit, echo);
}

void StudentForm::OnStop()
{
    switch (entryState()) {
    case EntryState::EnterVariant1: {
        if (refuseEmptySample(dataSet.sample1, V1Edit))
            break;
        V1Edit->clear();
        const QString heading = tr("Варианты 2-го ряда: ");
        ResultEdit->append(heading);
        handOver(V1Edit, V2Edit, heading);
        break;
    }
    case EntryState::EnterFrequency1:
        awaitFrequency(dataSet.sample1, P1Edit);
        break;
    case EntryState::EnterVariant2:
        if (refuseEmptySample(dataSet.sample2, V2Edit))
            break;
        V2Edit->clear();
        MessageLabel->setText(tr("Нажмите кнопку <Рассчитать> для получения результата. "));
        handOver(V2Edit, CalculateButton, MessageLabel->text());
        SubmitButton->setDisabled(true);
        EndButton->setDisabled(true);
        break;
    case EntryState::EnterFrequency2:
        awaitFrequency(dataSet.sample2, P2Edit);
        break;
    case EntryState::EntryDone:
        break;
    }
}

// The calculation needs at least one pair in each sample, so an empty one is
// not closed. After a refusal the user types on where input is taken, not into
// the button they clicked.
bool StudentForm::refuseEmptySample(const SampleSeries& series, QLineEdit* variantEdit)
{
    if (series.pairCount() > 0)
        return false;
    QMessageBox::warning(this, tr("Ошибка ввода!"),
                         tr("Введите хотя бы одну варианту и её частоту!"));
    variantEdit->setFocus();
    return true;
}

void StudentForm::awaitFrequency(const SampleSeries& series, QLineEdit* frequencyEdit)
{
    dataSet.sMessage = tr("Введите частоту %1-й варианты!").arg(series.variantCount);
    QMessageBox::warning(this, tr("Ошибка ввода!"), dataSet.sMessage);
    frequencyEdit->setFocus();
}

void StudentForm::OnCalculate()
{
    TTestResult& r = dataSet.result;
    computeTTest(dataSet.sample1, dataSet.sample2, r);

    const QLatin1Char stop('.');
    ResultEdit->append(tr("Число наблюдений в 1-м ряду N1 равно ") + QString::number(r.iN1) + stop);
    ResultEdit->append(tr("Число наблюдений во 2-м ряду N2 равно ") + QString::number(r.iN2) +
                       stop);
    ResultEdit->append(tr("Средняя первого ряда M1 равна: ") + real(r.dM1) + stop);
    ResultEdit->append(tr("Средняя второго ряда M2 равна: ") + real(r.dM2) + stop);
    ResultEdit->append(tr("Среднеквадратичное отклонение в первом ряду S1 равно: ") + real(r.dS1) +
                       stop);
    ResultEdit->append(tr("Среднеквадратичное отклонение во втором ряду S2 равно: ") + real(r.dS2) +
                       stop);
    ResultEdit->append(tr("Ошибка средней в первом ряду m1 равна: ") + real(r.dm1) + stop);
    ResultEdit->append(tr("Ошибка средней во втором ряду m2 равна: ") + real(r.dm2) + stop);
    const QString tLine = tr("Коэффициент Стъюдента t равен: ") + real(r.dT) + stop;
    ResultEdit->append(tLine);

    r.iN = CriticalValueTable::rowFor(CriticalValueTable::degreesOfFreedom(r.iN1, r.iN2));
    r.fVI = CriticalValueTable::levelFor(r.iN, r.dT);
    const QString verdict =
        r.fVI != 0.0F ? tr("Различие достоверно с вероятностью безошибочного прогноза p=") +
                            real(static_cast<double>(r.fVI)) + QLatin1String("%.")
                      : tr("Различие недостоверно.");
    ResultEdit->append(verdict);

    MessageLabel->setText(tr("Нажмите кнопку <Сохранить> для сохранения результата в файл. "));
    handOver(CalculateButton, SaveButton,
             tLine + QLatin1Char(' ') + verdict + QLatin1Char(' ') + MessageLabel->text());
}

void StudentForm::OnSave()
{
    NameOnlyIconProvider icons; // outlives the dialog that uses it
    // A chosen folder that is gone opens at the nearest one that is not.
    QFileDialog SaveDialog(this, tr("Сохранить результат"),
                           sSaveFolder.isEmpty() ? QDir::homePath() : sSaveFolder,
                           tr("Текстовый файл (*.txt)"));
    SaveDialog.selectFile(QStringLiteral("NoName.txt"));
    SaveDialog.setFileMode(QFileDialog::AnyFile);
    SaveDialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog, so that the overwrite question is asked once, by us.
    SaveDialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    SaveDialog.setIconProvider(&icons);
    if (SaveDialog.exec() != QDialog::Accepted)
        return;
    const QString sResult = SaveDialog.selectedFiles().value(0);
    if (sResult.isEmpty())
        return;
    // Remembered even if this save fails, so that a retry starts there.
    sSaveFolder = QFileInfo(sResult).absolutePath();

    if (QFile::exists(sResult) &&
        !confirmed(this, tr("Такой файл уже существует!"), tr("Перезаписать существующий файл?")))
        return;

    // UTF-8 whatever the locale, so the Cyrillic text survives; no line break
    // after the last line.
    if (!writeReport(sResult, ResultEdit->toPlainText().toUtf8()))
        return;

    returnToEntry();
}

// Nothing entered since start or since the last save: nothing to lose, so no
// question. Otherwise "&Нет" leaves every widget, its text and the focus alone.
void StudentForm::reject()
{
    if (dataSet.sample1.variantCount > 0 &&
        !confirmed(this, tr("Данные не сохранены!"), tr("Завершить работу без сохранения?")))
        return;
    QDialog::reject();
}

void StudentForm::returnToEntry()
{
    ResultEdit->clear();
    ResultEdit->document()->setModified(false);
    MessageLabel->setText(
        tr("Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. "));
    handOver(SaveButton, V1Edit, MessageLabel->text());
    SubmitButton->setEnabled(true);
    EndButton->setEnabled(true);
    ResultEdit->setText(tr("Варианты 1-го ряда:"));
    resetDataSet(dataSet);
}
