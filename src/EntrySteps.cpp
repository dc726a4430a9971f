// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The steps of a data set: a variant, a frequency, a paste, two samples pasted
// side by side, a sample closed and the calculation. Each kind is stated once, in stepRules: how it
// is kept in the journal, replayed from it, and taken back by Ctrl+Z.

#include "StudentForm.h"

#include "DataSet.h"
#include "Desktop.h"
#include "Handover.h"
#include "Journal.h"
#include "PastedSeries.h"
#include "Protocol.h"
#include "TypedNumber.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBlock>

#include <iterator>
#include <limits>

struct StudentForm::StepRule
{
    EntryStep::Kind kind;
    // Its journal record: this letter, then what the step took, "v 2.5".
    char tag;
    // The record's step taken where the dialog would take it typed; false, and
    // nothing done, where it would refuse it or it makes no sense.
    bool (StudentForm::*replay)(const QString& taken);
    // Everything as it was just before the step was accepted.
    void (StudentForm::*takeBack)(const EntryStep& step);
};

const StudentForm::StepRule StudentForm::stepRules[] = {
    {EntryStep::Variant, 'v', &StudentForm::replayVariant, &StudentForm::takeBackVariant},
    {EntryStep::Frequency, 'p', &StudentForm::replayFrequency, &StudentForm::takeBackFrequency},
    {EntryStep::Paste, 's', &StudentForm::replayPaste, &StudentForm::takeBackPaste},
    {EntryStep::TwoSamples, 't', &StudentForm::replayTwoSamples, &StudentForm::takeBackTwoSamples},
    {EntryStep::SampleClosed, 'e', &StudentForm::replaySampleClosed,
     &StudentForm::takeBackSampleClosed},
    {EntryStep::Calculation, 'c', &StudentForm::replayCalculation,
     &StudentForm::takeBackCalculation},
};

namespace {

// A take-back's own record: the newest step still standing goes.
const QLatin1String takenBack("u");

// "v3: 5", the echo of a variant that awaits its frequency.
QString variantOnly(const QString& pending)
{
    return pending.left(pending.lastIndexOf(QLatin1String(" - ")));
}

// A paste's record, "s 5.5 3 7 1": one record, restored whole or not at all.
QString pairsRecord(const std::vector<PastedSeries::Pair>& pairs)
{
    QStringList fields;
    fields.reserve(2 * static_cast<qsizetype>(pairs.size()));
    for (const auto& [variant, frequency] : pairs)
        fields << QString::number(variant, 'g', 17) << QString::number(frequency);
    return fields.join(QLatin1Char(' '));
}

std::optional<std::vector<PastedSeries::Pair>> pairsOf(const QString& record, std::int64_t sum)
{
    const QStringList fields = record.split(QLatin1Char(' '));
    if (fields.size() % 2 != 0)
        return std::nullopt;
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
    return pairs;
}

// Two samples pasted side by side, "5 3 7 1 | 8 2 10 2": each with pairs.
const QLatin1String between(" | ");

std::optional<std::pair<std::vector<PastedSeries::Pair>, std::vector<PastedSeries::Pair>>>
samplesOf(const QString& record)
{
    const qsizetype at = record.indexOf(between);
    const auto first = pairsOf(record.left(at), 0);
    const auto second = at < 0 ? std::nullopt : pairsOf(record.mid(at + between.size()), 0);
    if (!first || !second)
        return std::nullopt;
    return std::make_pair(*first, *second);
}

} // namespace

const StudentForm::StepRule& StudentForm::ruleFor(EntryStep::Kind kind)
{
    const StepRule* rule = std::begin(stepRules);
    while (rule->kind != kind)
        ++rule;
    return *rule;
}

StudentForm::Sample StudentForm::sampleEntered()
{
    DataSet& data = currentDataSet();
    return entryState() <= EntryState::EnterFrequency1 ? Sample{V1Edit, P1Edit, data.sample1}
                                                       : Sample{V2Edit, P2Edit, data.sample2};
}

void StudentForm::acceptStep(const EntryStep& step, const QString& taken)
{
    const QLatin1Char tag(ruleFor(step.kind).tag);
    currentJournal().record(taken.isEmpty() ? QString(tag)
                                            : QString(tag) + QLatin1Char(' ') + taken);
    currentDataSet().steps.push_back(step);
    dataSetChanged();
}

// Kept like any step, so that a crash after it restores what it left; once
// nothing is left, nothing needs keeping.
void StudentForm::takeBack()
{
    std::vector<EntryStep>& steps = currentDataSet().steps;
    if (steps.empty())
        return;
    const EntryStep step = steps.back();
    steps.pop_back();
    dataSetChanged();
    if (steps.empty())
        currentJournal().discard();
    else
        currentJournal().record(takenBack);
    (this->*ruleFor(step.kind).takeBack)(step);
}

bool StudentForm::replayVariant(const QString& taken)
{
    const EntryState state = entryState();
    if ((state != EntryState::EnterVariant1 && state != EntryState::EnterVariant2) ||
        !parseVariant(taken))
        return false;
    sampleEntered().variantEdit->setText(taken);
    OnSubmit();
    return true;
}

void StudentForm::takeBackVariant(const EntryStep& step)
{
    const Sample sample = sampleEntered();
    const QString echo = variantOnly(currentDataSet().sVariables);
    sample.series.removeVariant();
    currentDataSet().sVariables = QLatin1String("");
    sample.frequencyEdit->setText(QString());
    handOver(sample.frequencyEdit, sample.variantEdit, tr("Отменено: %1").arg(echo));
    sample.variantEdit->setText(step.typed);
    sample.variantEdit->selectAll();
}

bool StudentForm::replayFrequency(const QString& taken)
{
    const EntryState state = entryState();
    const std::optional<int> frequency = parseFrequency(taken);
    if ((state != EntryState::EnterFrequency1 && state != EntryState::EnterFrequency2) ||
        !frequency || !sampleEntered().series.frequencyFits(*frequency))
        return false;
    sampleEntered().frequencyEdit->setText(taken);
    OnSubmit();
    return true;
}

void StudentForm::takeBackFrequency(const EntryStep& step)
{
    const Sample sample = sampleEntered();
    const QString line = ResultEdit->document()->lastBlock().text();
    Protocol::removeLastLines(ResultEdit, 1);
    sample.series.removeFrequency();
    currentDataSet().sVariables =
        variantEcho(sample.series.variantCount, sample.series.variants.back());
    sample.variantEdit->setText(QString());
    handOver(sample.variantEdit, sample.frequencyEdit, tr("Отменено: %1").arg(line));
    sample.frequencyEdit->setText(step.typed);
    sample.frequencyEdit->selectAll();
}

// A series pasted into the variant edit of the sample being entered is checked
// whole, then entered pair by pair as if typed; into an empty sample 1, two
// columns may be two samples, entered and closed as if typed. One number or none
// is text.
bool StudentForm::takePaste(QLineEdit* edit, const QString& text)
{
    if (!edit->isEnabled())
        return false;
    const Sample sample = sampleEntered();
    const bool fresh = edit == V1Edit && sample.series.variantCount == 0;
    const PastedSeries read = readPastedSeries(text, sample.series.frequencySum(), fresh);
    if (!read.isSeries)
        return false;
    if (edit == sample.frequencyEdit) {
        awaitFrequency(sample.series, edit);
        return true;
    }
    if (read.refusedRow != 0) {
        const QString reasons[] = {QString(),
                                   tr("Варианта должна быть числом!"),
                                   tr("Частота варианты должна быть целым числом!"),
                                   tr("Сумма частот выборки выходит за допустимые пределы!"),
                                   tr("нужны варианта и её частота."),
                                   read.refusedColumn == 1
                                       ? tr("в 1-м столбце нет ни одного числа.")
                                       : tr("во 2-м столбце нет ни одного числа.")};
        QMessageBox::critical(this, tr("Ошибка ввода!"),
                              tr("Строка %1: ").arg(read.refusedRow) +
                                  reasons[static_cast<int>(read.refusal)]);
        edit->setFocus();
        return true;
    }
    const std::optional<PastedSeries::Layout> layout =
        read.layout == PastedSeries::Layout::Either ? askLayout(read.firstRows) : read.layout;
    if (!layout)
        edit->setFocus();
    else if (*layout == PastedSeries::Layout::TwoSamples)
        enterTwoSamples(read.first, read.second);
    else
        enterPairs(read.pairs);
    return true;
}

// Two columns that both readings take: the user says which. Return reads
// variants and frequencies, as before; Escape and the box's close enter nothing.
std::optional<PastedSeries::Layout> StudentForm::askLayout(const QStringList& firstRows)
{
    QMessageBox question(QMessageBox::Question, tr("Вставка из таблицы"),
                         tr("Как прочитать два столбца?"), QMessageBox::NoButton, this);
    // The rows as a table, so that the columns line up as in the sheet.
    QString table = QStringLiteral("<p>%1</p><table cellspacing=\"0\" cellpadding=\"0\">")
                        .arg(tr("Первые строки:").toHtmlEscaped());
    for (const QString& row : firstRows) {
        table += QLatin1String("<tr>");
        for (const QString& cell : row.split(QLatin1Char('\t')))
            table += QStringLiteral("<td style=\"padding-right: 2em\">%1</td>")
                         .arg(cell.toHtmlEscaped());
        table += QLatin1String("</tr>");
    }
    question.setInformativeText(table + QLatin1String("</table>"));
    QPushButton* pairs = question.addButton(tr("&Варианты и частоты"), QMessageBox::ActionRole);
    QPushButton* samples = question.addButton(tr("&Две выборки"), QMessageBox::ActionRole);
    question.setEscapeButton(question.addButton(QMessageBox::Cancel));
    question.setDefaultButton(pairs);
    question.exec();
    if (question.clickedButton() == pairs)
        return PastedSeries::Layout::Pairs;
    if (question.clickedButton() == samples)
        return PastedSeries::Layout::TwoSamples;
    return std::nullopt;
}

// The protocol lines of pairs appended to a sample, as if typed; the last one.
QString StudentForm::appendPairs(SampleSeries& series, const std::vector<PastedSeries::Pair>& pairs)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(pairs.size()));
    for (const auto& [variant, frequency] : pairs) {
        lines << variantEcho(series.variantCount + 1, variant) +
                     frequencyEcho(series.frequencyCount + 1, frequency);
        series.appendVariant(variant);
        series.appendFrequency(frequency);
    }
    ResultEdit->append(lines.join(QLatin1Char('\n')));
    return lines.value(lines.size() - 1);
}

void StudentForm::enterPairs(const std::vector<PastedSeries::Pair>& pairs)
{
    const Sample sample = sampleEntered();
    acceptStep({EntryStep::Paste, QString(), static_cast<int>(pairs.size())}, pairsRecord(pairs));
    const QString last = appendPairs(sample.series, pairs);
    currentDataSet().sVariables = QLatin1String("");
    sample.variantEdit->setText(QString());
    tell(sample.variantEdit, tr("Вставлено пар: %1.").arg(pairs.size()) + QLatin1Char(' ') + last);
}

// Both samples, each closed as «Завершить» closes it; one step, taken back whole.
void StudentForm::enterTwoSamples(const std::vector<PastedSeries::Pair>& first,
                                  const std::vector<PastedSeries::Pair>& second)
{
    DataSet& data = currentDataSet();
    acceptStep({EntryStep::TwoSamples}, pairsRecord(first) + between + pairsRecord(second));
    appendPairs(data.sample1, first);
    ResultEdit->append(secondSampleHeading());
    appendPairs(data.sample2, second);
    data.sVariables = QLatin1String("");
    V1Edit->setText(QString());
    MessageLabel->setText(calculateHint());
    handOver(V1Edit, CalculateButton,
             tr("Вставлены две выборки. 1-я: наблюдений %1, пар %2. 2-я: наблюдений %3, пар %4.")
                     .arg(data.sample1.frequencySum())
                     .arg(first.size())
                     .arg(data.sample2.frequencySum())
                     .arg(second.size()) +
                 QLatin1Char(' ') + MessageLabel->text());
    SubmitButton->setDisabled(true);
    EndButton->setDisabled(true);
}

bool StudentForm::replayPaste(const QString& taken)
{
    const EntryState state = entryState();
    if (state != EntryState::EnterVariant1 && state != EntryState::EnterVariant2)
        return false;
    const auto pairs = pairsOf(taken, sampleEntered().series.frequencySum());
    if (!pairs || pairs->empty())
        return false;
    enterPairs(*pairs);
    return true;
}

void StudentForm::takeBackPaste(const EntryStep& step)
{
    const Sample sample = sampleEntered();
    Protocol::removeLastLines(ResultEdit, step.pairs);
    sample.series.removePairs(step.pairs);
    sample.variantEdit->setText(QString());
    tell(sample.variantEdit, tr("Отменено: %1").arg(tr("вставлено пар: %1.").arg(step.pairs)));
}

bool StudentForm::replayTwoSamples(const QString& taken)
{
    const auto samples = samplesOf(taken);
    if (entryState() != EntryState::EnterVariant1 || currentDataSet().sample1.variantCount != 0 ||
        !samples)
        return false;
    enterTwoSamples(samples->first, samples->second);
    return true;
}

void StudentForm::takeBackTwoSamples(const EntryStep& /*step*/)
{
    DataSet& data = currentDataSet();
    Protocol::removeLastLines(ResultEdit, data.sample1.pairCount() + 1 + data.sample2.pairCount());
    data.sample1.removePairs(data.sample1.pairCount());
    data.sample2.removePairs(data.sample2.pairCount());
    MessageLabel->setText(entryHint());
    SubmitButton->setEnabled(true);
    EndButton->setEnabled(true);
    handOver(CalculateButton, V1Edit, tr("Отменено: %1").arg(tr("вставлены две выборки.")));
}

bool StudentForm::replaySampleClosed(const QString& taken)
{
    const EntryState state = entryState();
    if ((state != EntryState::EnterVariant1 && state != EntryState::EnterVariant2) ||
        !taken.isEmpty() || sampleEntered().series.pairCount() == 0)
        return false;
    OnStop();
    return true;
}

void StudentForm::takeBackSampleClosed(const EntryStep& /*step*/)
{
    if (entryState() == EntryState::EnterVariant2) { // sample 1's
        const QString heading = ResultEdit->document()->lastBlock().text().trimmed();
        Protocol::removeLastLines(ResultEdit, 1);
        V2Edit->setText(QString());
        handOver(V2Edit, V1Edit, tr("Отменено: %1").arg(heading));
        return;
    }
    MessageLabel->setText(entryHint());
    SubmitButton->setEnabled(true);
    EndButton->setEnabled(true);
    handOver(CalculateButton, V2Edit, tr("Отменено: %1").arg(tr("завершение 2-й выборки.")));
}

bool StudentForm::replayCalculation(const QString& taken)
{
    if (!CalculateButton->isEnabled() || !taken.isEmpty())
        return false;
    OnCalculate();
    return true;
}

void StudentForm::takeBackCalculation(const EntryStep& /*step*/)
{
    Protocol::removeLastLines(ResultEdit, 10);
    clearCalculation(currentDataSet().result);
    MessageLabel->setText(calculateHint());
    handOver(SaveButton, CalculateButton, tr("Отменено: %1").arg(tr("расчёт")));
}

// The steps of a run that ended without saving, offered back: "&Да", Return,
// Escape and the box's own close restore them, so nothing is lost unasked;
// "&Нет" drops them. They are replayed as typed, through the slots, so the
// protocol, the widgets, the focus and what is heard are as after the last
// step, and they are kept again in this run's own journal; the old one stays,
// locked, until they are safe there.
void StudentForm::offerRecovery()
{
    std::optional<Journal::Orphan> orphan = Journal::newestOrphan(&StudentForm::opensDataSet);
    if (!orphan)
        return;
    if (!confirmed(this, tr("Данные не сохранены!"),
                   tr("Восстановить данные, не сохранённые при прошлом запуске?"), true)) {
        orphan->remove();
        return;
    }
    QString record;
    for (qsizetype at = 0; orphan->next(at, record);)
        if (!replay(record))
            break;
    if (currentDataSet().steps.empty())
        orphan->remove();
    else
        currentJournal().adopt(std::move(*orphan));
}

// At the start only a variant, a pasted sample or two samples side by side are taken.
bool StudentForm::opensDataSet(const QString& record)
{
    const auto is = [&record](EntryStep::Kind kind) {
        return record.size() > 1 && record.at(0) == QLatin1Char(ruleFor(kind).tag) &&
               record.at(1) == QLatin1Char(' ');
    };
    const QString taken = record.mid(2);
    if (is(EntryStep::Variant))
        return parseVariant(taken).has_value();
    if (is(EntryStep::TwoSamples))
        return samplesOf(taken).has_value();
    const auto pairs = is(EntryStep::Paste) ? pairsOf(taken, 0) : std::nullopt;
    return pairs && !pairs->empty();
}

bool StudentForm::replay(const QString& record)
{
    if (record == takenBack) {
        if (currentDataSet().steps.empty())
            return false;
        takeBack();
        return true;
    }
    for (const StepRule& rule : stepRules)
        if (record.startsWith(QLatin1Char(rule.tag)) &&
            (record.size() == 1 || record.at(1) == QLatin1Char(' ')))
            return (this->*rule.replay)(record.mid(2));
    return false;
}
