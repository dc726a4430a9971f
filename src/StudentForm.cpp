// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StudentForm.h"

#include "CriticalValueTable.h"
#include "DataSet.h"
#include "Desktop.h"
#include "DrawnLayout.h"
#include "EntryEdit.h"
#include "FigureWindow.h"
#include "Handover.h"
#include "Journal.h"
#include "PrintLayout.h"
#include "Protocol.h"
#include "ReportFile.h"
#include "TTest.h"
#include "TypedNumber.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>

namespace {

DataSet dataSet;
Journal journal;
QString sSaveFolder;

DrawnLayout* drawn(const QWidget* dialog)
{
    return dialog->findChild<DrawnLayout*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

DataSet& currentDataSet()
{
    return dataSet;
}

Journal& currentJournal()
{
    return journal;
}

QString& saveFolder()
{
    return sSaveFolder;
}

// The message line's hints, each ending in a space; the longest decides its width.
QString StudentForm::entryHint()
{
    return tr("Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. ");
}
QString StudentForm::calculateHint()
{
    return tr("Нажмите кнопку <Рассчитать> для получения результата. ");
}
QString StudentForm::saveHint()
{
    return tr("Нажмите кнопку <Сохранить> для сохранения результата в файл. ");
}

QString StudentForm::secondSampleHeading()
{
    return tr("Варианты 2-го ряда: ");
}

StudentForm::StudentForm(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QString::fromUtf8(name != nullptr ? name : "StudentForm"));
    setModal(modal);

    int created = 0; // the widgets come in the order of their places
    const auto make = [&created](auto* widget) {
        const DrawnLayout::Place& place = DrawnLayout::places[created++];
        widget->setObjectName(QString::fromLatin1(place.name));
        widget->setGeometry(place.rect);
        return widget;
    };
    V1Label = make(new QLabel(this));
    V2Label = make(new QLabel(this));
    P1Label = make(new QLabel(this));
    P2Label = make(new QLabel(this));
    V1Edit = make(new EntryEdit(this));
    MessageLabel = make(new QLabel(this));
    ResultEdit = make(new Protocol(this));
    QFont ResultEdit_font(ResultEdit->font());
    ResultEdit_font.setFamily(QStringLiteral("Nimbus Roman No9 l"));
    ResultEdit_font.setPointSize(DrawnLayout::protocolPoints);
    ResultEdit->setFont(ResultEdit_font);
    SubmitButton = make(new QPushButton(this));
    EndButton = make(new QPushButton(this));
    P1Edit = make(new EntryEdit(this));
    P1Edit->setDisabled(true);
    V2Edit = make(new EntryEdit(this));
    V2Edit->setDisabled(true);
    P2Edit = make(new EntryEdit(this));
    P2Edit->setDisabled(true);
    CalculateButton = make(new QPushButton(this));
    CalculateButton->setDisabled(true);
    SaveButton = make(new QPushButton(this));
    SaveButton->setDisabled(true);

    new DrawnLayout(this, {entryHint(), calculateHint(), saveHint()});
    languageChange();

    for (QLineEdit* edit : {V1Edit, P1Edit, V2Edit, P2Edit})
        static_cast<EntryEdit*>(edit)->setTaker(
            [this](QLineEdit* into, const QString& text) { return takePaste(into, text); });
    auto* figure = new QAction(tr("Рисунок…"), this);
    figure->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    addAction(figure);
    auto* print = new QAction(tr("Печать…"), this);
    print->setShortcut(QKeySequence::Print);
    addAction(print);
    static_cast<Protocol*>(ResultEdit)->setLeadingActions({figure, print});
    connect(figure, &QAction::triggered, this, &StudentForm::showFigure);
    connect(print, &QAction::triggered, this, [this] { printDataSet(this); });
    // Ctrl+Z where no edit has typing of its own to undo.
    connect(new QShortcut(QKeySequence::Undo, this), &QShortcut::activated, this,
            &StudentForm::takeBack);
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
    // Each caption labels its edit, which a screen reader names by it.
    const std::pair<QLabel*, QLineEdit*> captions[] = {
        {V1Label, V1Edit}, {V2Label, V2Edit}, {P1Label, P1Edit}, {P2Label, P2Edit}};
    const QString texts[] = {tr("Варианты 1-й выборки"), tr("Варианты 2-й выборки"),
                             tr("Частоты вариант 1-й выборки"), tr("Частоты вариант 2-й выборки")};
    for (int k = 0; k < 4; ++k) {
        captions[k].first->setText(texts[k]);
        captions[k].first->setBuddy(captions[k].second);
        captions[k].second->setAccessibleName(texts[k]);
    }
    MessageLabel->setText(entryHint());
    ResultEdit->setText(tr("Варианты 1-го ряда:"));
    ResultEdit->setAccessibleName(tr("Протокол"));
    SubmitButton->setText(tr("Ввод"));
    EndButton->setText(tr("Завершить"));
    CalculateButton->setText(tr("Рассчитать"));
    SaveButton->setText(tr("Сохранить"));
    drawn(this)->relayout();
}

void StudentForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    drawn(this)->placeProtocol();
}

void StudentForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        drawn(this)->relayout();
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
        variantEdit->setText(QString());
        variantEdit->setFocus();
        return;
    }
    // Kept with every digit, so a restored variant is the one typed.
    acceptStep({EntryStep::Variant, variantEdit->text()}, QString::number(*value, 'g', 17));
    dataSet.sVariables = variantEcho(series.variantCount + 1, *value);
    series.appendVariant(*value);
    variantEdit->setText(QString());
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
        frequencyEdit->setText(QString());
        frequencyEdit->setFocus();
        return;
    }
    acceptStep({EntryStep::Frequency, frequencyEdit->text()}, QString::number(*value));
    dataSet.sVariables += frequencyEcho(series.frequencyCount + 1, *value);
    ResultEdit->append(dataSet.sVariables);
    const QString echo = dataSet.sVariables;
    dataSet.sVariables = QLatin1String("");
    series.appendFrequency(*value);
    frequencyEdit->setText(QString());
    handOver(frequencyEdit, variantEdit, echo);
}

void StudentForm::OnStop()
{
    switch (entryState()) {
    case EntryState::EnterVariant1: {
        if (refuseEmptySample(dataSet.sample1, V1Edit))
            break;
        acceptStep({EntryStep::SampleClosed, QString()});
        V1Edit->setText(QString());
        const QString heading = secondSampleHeading();
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
        acceptStep({EntryStep::SampleClosed, QString()});
        V2Edit->setText(QString());
        MessageLabel->setText(calculateHint());
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
    acceptStep({EntryStep::Calculation, QString()});
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

    MessageLabel->setText(saveHint());
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
    journal.discard();
    QDialog::reject();
}

void StudentForm::showFigure()
{
    if (m_figure == nullptr) {
        m_figure = new FigureWindow(this, dataSet,
                                    [this] { return entryState() == EntryState::EntryDone; });
        connect(m_figure, &FigureWindow::printRequested, this, [this] { printDataSet(m_figure); });
    }
    m_figure->present();
}

void StudentForm::printDataSet(QWidget* owner)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, owner);
    if (dialog.exec() == QDialog::Accepted)
        printOn(&printer);
}

void StudentForm::printOn(QPagedPaintDevice* device)
{
    const bool closed = entryState() == EntryState::EntryDone;
    const FigureModel model = FigureModel::of(dataSet);
    QFont protocolFont = ResultEdit->font(); // as drawn, whatever the screen's scale
    protocolFont.setPointSize(DrawnLayout::protocolPoints);
    ::printDataSet(device, {ResultEdit->toPlainText(), protocolFont, closed ? &model : nullptr,
                            figureNumbers(dataSet, closed)});
}

// The figure, where it is open, follows every step, take-back and reset.
void StudentForm::dataSetChanged()
{
    if (m_figure != nullptr)
        m_figure->dataSetChanged();
}

void StudentForm::returnToEntry()
{
    dataSetChanged();
    ResultEdit->clear();
    ResultEdit->document()->setModified(false);
    MessageLabel->setText(entryHint());
    handOver(SaveButton, V1Edit, MessageLabel->text());
    SubmitButton->setEnabled(true);
    EndButton->setEnabled(true);
    ResultEdit->setText(tr("Варианты 1-го ряда:"));
    resetDataSet(dataSet);
    journal.discard();
}
