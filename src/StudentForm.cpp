// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StudentForm.h"

#include "CriticalValueTable.h"
#include "DataSet.h"
#include "Desktop.h"
#include "DrawnLayout.h"
#include "EntryEdit.h"
#include "Journal.h"
#include "PastedSeries.h"
#include "Protocol.h"
#include "ReportFile.h"
#include "TTest.h"
#include "TypedNumber.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <limits>

namespace {

DataSet dataSet;
Journal journal;
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

// A widget that has the focus already says its news when it takes it again.
void tell(QWidget* widget, const QString& news)
{
    widget->setAccessibleDescription(news);
    if (widget->hasFocus())
        widget->clearFocus();
    widget->setFocus();
}

// "v3: 5 - " and "p3: 2.", the halves of a pair's protocol line.
QString variantEcho(int k, double value)
{
    return QLatin1Char('v') + QString::number(k) + QLatin1String(": ") + real(value) +
           QLatin1String(" - ");
}
QString frequencyEcho(int k, int value)
{
    return QLatin1Char('p') + QString::number(k) + QLatin1String(": ") + QString::number(value) +
           QLatin1Char('.');
}

// A paste is kept as one record, "s 5.5 3 7 1", so that it is restored whole or
// not at all.
QString pasteRecord(const std::vector<PastedSeries::Pair>& pairs)
{
    QString record = QStringLiteral("s");
    for (const auto& [variant, frequency] : pairs)
        record += QLatin1Char(' ') + QString::number(variant, 'g', 17) + QLatin1Char(' ') +
                  QString::number(frequency);
    return record;
}

// The pairs of a paste's record, each as the dialog would take it typed.
std::optional<std::vector<PastedSeries::Pair>> pairsOf(const QString& record, std::int64_t sum)
{
    const QStringList fields = record.split(QLatin1Char(' ')).mid(1);
    std::vector<PastedSeries::Pair> pairs;
    for (qsizetype k = 0; k + 1 < fields.size(); k += 2) {
        const std::optional<double> variant = parseVariant(fields[k]);
        const std::optional<int> frequency = parseFrequency(fields[k + 1]);
        sum += frequency.value_or(0);
        if (!variant || !frequency || sum < std::numeric_limits<int>::min() ||
            sum > std::numeric_limits<int>::max())
            return std::nullopt;
        pairs.push_back({*variant, *frequency});
    }
    if (pairs.empty() || fields.size() % 2 != 0)
        return std::nullopt;
    return pairs;
}

// The message line's hints, each ending in a space; the longest decides its width.
QString entryHint()
{
    return StudentForm::tr(
        "Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. ");
}
QString calculateHint()
{
    return StudentForm::tr("Нажмите кнопку <Рассчитать> для получения результата. ");
}
QString saveHint()
{
    return StudentForm::tr("Нажмите кнопку <Сохранить> для сохранения результата в файл. ");
}
QStringList hints()
{
    return {entryHint(), calculateHint(), saveHint()};
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

    languageChange();

    for (QLineEdit* edit : {V1Edit, P1Edit, V2Edit, P2Edit})
        static_cast<EntryEdit*>(edit)->setTaker(
            [this](QLineEdit* into, const QString& text) { return takePaste(into, text); });
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
    DrawnLayout::relayout(this, hints());
}

void StudentForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    DrawnLayout::placeProtocol(this);
}

void StudentForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        DrawnLayout::relayout(this, hints());
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
    journal.record(QStringLiteral("v ") + QString::number(*value, 'g', 17));
    dataSet.sVariables = variantEcho(series.variantCount + 1, *value);
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
    journal.record(QStringLiteral("p ") + QString::number(*value));
    dataSet.sVariables += frequencyEcho(series.frequencyCount + 1, *value);
    ResultEdit->append(dataSet.sVariables);
    const QString echo = dataSet.sVariables;
    dataSet.sVariables = QLatin1String("");
    series.appendFrequency(*value);
    frequencyEdit->clear();
    handOver(frequencyEdit, variantEdit, echo);
}

// A series pasted into the variant edit of the sample being entered is checked
// whole, then entered pair by pair as if typed; one number or none is text.
bool StudentForm::takePaste(QLineEdit* edit, const QString& text)
{
    if (!edit->isEnabled())
        return false;
    SampleSeries& series =
        entryState() <= EntryState::EnterFrequency1 ? dataSet.sample1 : dataSet.sample2;
    const PastedSeries read = readPastedSeries(text, series.frequencySum());
    if (!read.isSeries)
        return false;
    if (edit == P1Edit || edit == P2Edit) {
        awaitFrequency(series, edit);
        return true;
    }
    if (read.refusedRow != 0) {
        const QString reasons[] = {QString(), tr("Варианта должна быть числом!"),
                                   tr("Частота варианты должна быть целым числом!"),
                                   tr("Сумма частот выборки выходит за допустимые пределы!"),
                                   tr("нужны варианта и её частота.")};
        QMessageBox::critical(this, tr("Ошибка ввода!"),
                              tr("Строка %1: ").arg(read.refusedRow) +
                                  reasons[static_cast<int>(read.refusal)]);
        edit->setFocus();
        return true;
    }
    enterPairs(read.pairs, edit, series);
    return true;
}

void StudentForm::enterPairs(const std::vector<PastedSeries::Pair>& pairs, QLineEdit* variantEdit,
                             SampleSeries& series)
{
    journal.record(pasteRecord(pairs));
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(pairs.size()));
    for (const auto& [variant, frequency] : pairs) {
        lines << variantEcho(series.variantCount + 1, variant) +
                     frequencyEcho(series.frequencyCount + 1, frequency);
        series.appendVariant(variant);
        series.appendFrequency(frequency);
    }
    dataSet.sVariables = QLatin1String("");
    ResultEdit->append(lines.join(QLatin1Char('\n')));
    variantEdit->clear();
    tell(variantEdit, tr("Вставлено пар: %1.").arg(lines.size()) + QLatin1Char(' ') + lines.last());
}

void StudentForm::OnStop()
{
    switch (entryState()) {
    case EntryState::EnterVariant1: {
        if (refuseEmptySample(dataSet.sample1, V1Edit))
            break;
        journal.record(QStringLiteral("e"));
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
        journal.record(QStringLiteral("e"));
        V2Edit->clear();
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
    journal.record(QStringLiteral("c"));
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

void StudentForm::returnToEntry()
{
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

// The steps of a run that ended without saving, offered back: "&Да", Return,
// Escape and the box's own close restore them, so nothing is lost unasked;
// "&Нет" drops them. They are replayed as typed, through the slots, so the
// protocol, the widgets, the focus and what is heard are as after the last
// step, and they are kept again in this run's own journal.
void StudentForm::offerRecovery()
{
    const std::optional<Journal::Orphan> orphan = Journal::newestOrphan();
    if (!orphan)
        return;
    if (confirmed(this, tr("Данные не сохранены!"),
                  tr("Восстановить данные, не сохранённые при прошлом запуске?"), true))
        for (const QString& step : orphan->steps)
            if (!replay(step))
                break;
    QFile::remove(orphan->path);
}

// One step of a journal, where the dialog would take it as typed: false, and
// nothing done, for one it would refuse or that makes no sense here.
bool StudentForm::replay(const QString& step)
{
    const EntryState state = entryState();
    const bool variantStage =
        state == EntryState::EnterVariant1 || state == EntryState::EnterVariant2;
    const bool frequencyStage =
        state == EntryState::EnterFrequency1 || state == EntryState::EnterFrequency2;
    const SampleSeries& series =
        state <= EntryState::EnterFrequency1 ? dataSet.sample1 : dataSet.sample2;
    const QString value = step.mid(2);
    const std::optional<int> frequency = parseFrequency(value);
    if (step.startsWith(QLatin1String("v ")) && variantStage && parseVariant(value)) {
        (state == EntryState::EnterVariant1 ? V1Edit : V2Edit)->setText(value);
        OnSubmit();
    } else if (step.startsWith(QLatin1String("p ")) && frequencyStage && frequency &&
               series.frequencyFits(*frequency)) {
        (state == EntryState::EnterFrequency1 ? P1Edit : P2Edit)->setText(value);
        OnSubmit();
    } else if (step.startsWith(QLatin1String("s ")) && variantStage) {
        const auto pairs = pairsOf(step, series.frequencySum());
        if (!pairs)
            return false;
        enterPairs(*pairs, state == EntryState::EnterVariant1 ? V1Edit : V2Edit,
                   state == EntryState::EnterVariant1 ? dataSet.sample1 : dataSet.sample2);
    } else if (step == QLatin1String("e") && variantStage && series.pairCount() > 0) {
        OnStop();
    } else if (step == QLatin1String("c") && CalculateButton->isEnabled()) {
        OnCalculate();
    } else {
        return false;
    }
    return true;
}
