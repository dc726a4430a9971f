// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StudentForm.h"

#include "CriticalValueTable.h"
#include "DataSet.h"
#include "Journal.h"
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
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>
#include <QTranslator>
#include <QtMath>

#include <algorithm>

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

// The dialog as it was drawn for Qt's own default font: every widget's place
// and the dialog's size. A font that needs more room for the dialog's texts
// scales all of it by one factor (fontScale()); the protocol's type too.
const QSize designedSize(600, 480);
const int designedProtocolPoints = 12;
struct Place
{
    const char* name;
    QRect rect;
};
const Place designedPlaces[] = {
    {"V1Label", {10, 40, 140, 20}},
    {"V2Label", {10, 110, 140, 20}},
    {"P1Label", {160, 40, 183, 20}},
    {"P2Label", {160, 110, 183, 20}},
    {"V1Edit", {10, 70, 140, 22}},
    {"MessageLabel", {10, 10, 580, 20}},
    {"ResultEdit", {10, 180, 580, 290}},
    {"SubmitButton", {350, 70, 111, 30}},
    {"EndButton", {470, 70, 111, 30}},
    {"P1Edit", {160, 70, 140, 22}},
    {"V2Edit", {10, 140, 140, 22}},
    {"P2Edit", {160, 140, 140, 22}},
    {"CalculateButton", {350, 130, 111, 30}},
    {"SaveButton", {470, 130, 111, 30}},
};
QRect designedPlace(const QWidget* widget)
{
    for (const Place& place : designedPlaces)
        if (widget->objectName() == QLatin1String(place.name))
            return place.rect;
    return {};
}
// A variant's caption may reach 4 px before its frequency's; a frequency's the
// right margin, where the message line ends.
const int variantCaptionRoom = 146;
const int frequencyCaptionRoom = 430;

// Edges scaled rather than sizes, so that neighbours stay neighbours.
QRect scaled(const QRect& rect, double factor)
{
    const auto scale = [factor](int value) { return qRound(value * factor); };
    return {QPoint(scale(rect.left()), scale(rect.top())),
            QPoint(scale(rect.right() + 1) - 1, scale(rect.bottom() + 1) - 1)};
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

// The protocol shows the keyboard focus as the edits do: a frame in the
// palette's highlight over the style's own, which marks no focus on a text area.
// Its caret follows it as it grows: on the newest line, in view, so that the
// keyboard lands on the line just read.
class Protocol : public QTextEdit
{
public:
    explicit Protocol(QWidget* parent) : QTextEdit(parent)
    {
        connect(this, &QTextEdit::textChanged, this,
                [this] { setTextCursor(QTextCursor(document()->lastBlock())); });
    }

protected:
    bool event(QEvent* event) override
    {
        const bool handled = QTextEdit::event(event);
        if (event->type() == QEvent::Paint && hasFocus()) {
            QPainter painter(this);
            const int width = std::max(frameWidth(), 1);
            painter.setPen(QPen(palette().color(QPalette::Highlight), width));
            painter.drawRect(
                QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
        }
        return handled;
    }
};

// "&Да" and "&Нет" in this order on every desktop, as actions: the yes and no
// roles are reordered by some. The default answer is also what Escape and the
// box's own close mean. Like every box of the dialog, it belongs to the dialog,
// so the desktop keeps it above the dialog and centred over it.
bool confirmed(QWidget* dialog, const QString& title, const QString& text, bool byDefault = false)
{
    QMessageBox question(QMessageBox::Warning, title, text, QMessageBox::NoButton, dialog);
    QPushButton* yes = question.addButton(StudentForm::tr("&Да"), QMessageBox::ActionRole);
    QPushButton* no = question.addButton(StudentForm::tr("&Нет"), QMessageBox::ActionRole);
    question.setDefaultButton(byDefault ? yes : no);
    question.setEscapeButton(byDefault ? yes : no);
    question.exec();
    return question.clickedButton() == yes;
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

    int created = 0; // the widgets come in the order of their places
    const auto make = [&created](auto* widget) {
        const Place& place = designedPlaces[created++];
        widget->setObjectName(QString::fromLatin1(place.name));
        widget->setGeometry(place.rect);
        return widget;
    };
    V1Label = make(new QLabel(this));
    V2Label = make(new QLabel(this));
    P1Label = make(new QLabel(this));
    P2Label = make(new QLabel(this));
    V1Edit = make(new QLineEdit(this));
    MessageLabel = make(new QLabel(this));
    ResultEdit = make(new Protocol(this));
    QFont ResultEdit_font(ResultEdit->font());
    ResultEdit_font.setFamily(QStringLiteral("Nimbus Roman No9 l"));
    ResultEdit_font.setPointSize(designedProtocolPoints);
    ResultEdit->setFont(ResultEdit_font);
    ResultEdit->setReadOnly(true);
    // A caret, so that the protocol can be read line by line from the keyboard,
    // as a screen reader does.
    ResultEdit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    SubmitButton = make(new QPushButton(this));
    EndButton = make(new QPushButton(this));
    P1Edit = make(new QLineEdit(this));
    P1Edit->setDisabled(true);
    V2Edit = make(new QLineEdit(this));
    V2Edit->setDisabled(true);
    P2Edit = make(new QLineEdit(this));
    P2Edit->setDisabled(true);
    CalculateButton = make(new QPushButton(this));
    CalculateButton->setDisabled(true);
    SaveButton = make(new QPushButton(this));
    SaveButton->setDisabled(true);

    languageChange();

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
    relayout();
}

// How much larger than drawn the dialog must be for its texts in its font: each
// caption, hint and button against the room drawn for it, a line and an edit
// against their heights. Never below 1: Qt's default font needs no more room.
double StudentForm::fontScale() const
{
    double factor = 1.0;
    const auto needs = [&factor](double needed, double room) {
        factor = std::max(factor, needed / room);
    };
    for (const QLabel* caption : {V1Label, V2Label, P1Label, P2Label}) {
        needs(caption->sizeHint().width(),
              caption->x() == V1Label->x() ? variantCaptionRoom : frequencyCaptionRoom);
        needs(caption->sizeHint().height(), designedPlace(caption).height());
    }
    for (const QString& hint : {entryHint(), calculateHint(), saveHint()})
        needs(MessageLabel->fontMetrics().horizontalAdvance(hint),
              designedPlace(MessageLabel).width());
    for (const QPushButton* b : {SubmitButton, EndButton, CalculateButton, SaveButton}) {
        needs(b->sizeHint().width(), designedPlace(b).width());
        needs(b->sizeHint().height(), designedPlace(b).height());
    }
    needs(V1Edit->sizeHint().height(), designedPlace(V1Edit).height());
    return factor;
}

// Every widget at its place for the font, the protocol's type with them, and the
// dialog as large as drawn for that font, but no larger than its screen.
void StudentForm::relayout()
{
    const double factor = fontScale();
    for (const Place& place : designedPlaces)
        findChild<QWidget*>(QString::fromLatin1(place.name), Qt::FindDirectChildrenOnly)
            ->setGeometry(scaled(place.rect, factor));
    for (QLabel* caption : {V1Label, V2Label, P1Label, P2Label})
        caption->resize(std::max(caption->width(), caption->sizeHint().width()), caption->height());
    QFont protocolFont = ResultEdit->font();
    protocolFont.setPointSizeF(designedProtocolPoints * factor);
    ResultEdit->setFont(protocolFont);
    // Room left for the window's frame, as much as Qt itself allows for one when
    // it places a dialog.
    const QSize screenRoom = screen()->availableGeometry().size() - QSize(10, 40);
    resize(scaled(QRect(QPoint(), designedSize), factor).size().boundedTo(screenRoom));
    placeProtocol();
}

// The protocol alone follows the dialog's size: it takes what room there is
// below the buttons, keeping its margins, and shows at least four lines.
void StudentForm::placeProtocol()
{
    const int margin = ResultEdit->x();
    const int fewLines =
        4 * QFontMetrics(ResultEdit->font()).lineSpacing() +
        2 * (ResultEdit->frameWidth() + qCeil(ResultEdit->document()->documentMargin()));
    ResultEdit->resize(std::max(width() - 2 * margin, fewLines),
                       std::max(height() - ResultEdit->y() - margin, fewLines));
}

void StudentForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeProtocol();
}

void StudentForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
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
    journal.record(QStringLiteral("p ") + QString::number(*value));
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
    } else if (step == QLatin1String("e") && variantStage && series.pairCount() > 0) {
        OnStop();
    } else if (step == QLatin1String("c") && CalculateButton->isEnabled()) {
        OnCalculate();
    } else {
        return false;
    }
    return true;
}
