// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "DataSet.h"
#include "PastedSeries.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class Journal;
class FigureWindow;
class QPagedPaintDevice;

// Where the entry of the two samples stands. It is never stored: it is read off
// which of the four line edits is enabled.
enum class EntryState
{
    EnterVariant1,
    EnterFrequency1,
    EnterVariant2,
    EnterFrequency2,
    EntryDone,
};

// The one window of the program: entry of two variation series, their protocol,
// Student's t-test on them and the saving of protocol and report.
class StudentForm : public QDialog
{
    Q_OBJECT

public:
    explicit StudentForm(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags fl = {});
    ~StudentForm() override;

    EntryState entryState() const;

    QLabel* V1Label;
    QLabel* V2Label;
    QLabel* P1Label;
    QLabel* P2Label;
    QLineEdit* V1Edit;
    QLabel* MessageLabel;
    QTextEdit* ResultEdit;
    QPushButton* SubmitButton;
    QPushButton* EndButton;
    QLineEdit* P1Edit;
    QLineEdit* V2Edit;
    QLineEdit* P2Edit;
    QPushButton* CalculateButton;
    QPushButton* SaveButton;

public slots:
    virtual void OnSubmit();
    virtual void OnStop();
    virtual void OnCalculate();
    virtual void OnSave();

public:
    // Escape, the window's close button and any other close request end here.
    void reject() override;
    // Asks whether to restore what a run that ended without saving had entered.
    void offerRecovery();
    // Ctrl+Z: the newest step accepted since the last save taken back.
    void takeBack();
    // Whether a journal's first record is a step a new data set would take.
    static bool opensDataSet(const QString& record);
    // Ctrl+G and «Рисунок…»: the figure of the data set, in a window of its own,
    // made when first asked for.
    void showFigure();
    FigureWindow* figureWindow() const { return m_figure; }
    // Ctrl+P: the print dialog, owned by the window asked from; the protocol as
    // saved, and once both samples are closed the figure and its numbers.
    void printDataSet(QWidget* owner);
    void printOn(QPagedPaintDevice* device);

protected slots:
    virtual void languageChange();

protected:
    // The dialog follows its font and the room it is given.
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static QString entryHint();
    static QString calculateHint();
    static QString saveHint();
    static QString secondSampleHeading();
    void submitVariant(QLineEdit* variantEdit, QLineEdit* frequencyEdit, SampleSeries& series);
    void submitFrequency(QLineEdit* frequencyEdit, QLineEdit* variantEdit, SampleSeries& series);
    void awaitFrequency(const SampleSeries& series, QLineEdit* frequencyEdit);
    bool refuseEmptySample(const SampleSeries& series, QLineEdit* variantEdit);
    void returnToEntry();
    void dataSetChanged();
    FigureWindow* m_figure = nullptr;

    // The steps of a data set (EntrySteps.cpp): each kind journalled, replayed
    // and taken back as its rule says.
    struct StepRule;
    static const StepRule stepRules[];
    static const StepRule& ruleFor(EntryStep::Kind kind);
    struct Sample // the one being entered
    {
        QLineEdit* variantEdit;
        QLineEdit* frequencyEdit;
        SampleSeries& series;
    };
    Sample sampleEntered();
    void acceptStep(const EntryStep& step, const QString& taken = QString());
    bool replay(const QString& record);
    bool takePaste(QLineEdit* edit, const QString& text);
    void enterPairs(const std::vector<PastedSeries::Pair>& pairs);
    void enterTwoSamples(const std::vector<PastedSeries::Pair>& first,
                         const std::vector<PastedSeries::Pair>& second);
    QString appendPairs(SampleSeries& series, const std::vector<PastedSeries::Pair>& pairs);
    std::optional<PastedSeries::Layout> askLayout(const QStringList& firstRows);
    bool replayVariant(const QString& taken);
    bool replayFrequency(const QString& taken);
    bool replayPaste(const QString& taken);
    bool replayTwoSamples(const QString& taken);
    bool replaySampleClosed(const QString& taken);
    bool replayCalculation(const QString& taken);
    void takeBackVariant(const EntryStep& step);
    void takeBackFrequency(const EntryStep& step);
    void takeBackPaste(const EntryStep& step);
    void takeBackTwoSamples(const EntryStep& step);
    void takeBackSampleClosed(const EntryStep& step);
    void takeBackCalculation(const EntryStep& step);
};

// Where the next save dialog opens: empty for the home folder. It follows the
// last file name accepted in that dialog during this run; tests reset it here.
QString& saveFolder();

// The data set the dialog works on; the program touches it only from the
// dialog's slots, tests read and reset it through here.
DataSet& currentDataSet();
// The journal of what has been entered since the last save.
Journal& currentJournal();
