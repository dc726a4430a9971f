// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Figure.h"

#include <QDialog>

#include <functional>

class QMimeData;
class QPlainTextEdit;

// «Рисунок»: the figure of the data set and the numbers under it, in a window
// of the dialog's own (above it, gone with it), beside which the dialog goes on
// working. It follows the data set: told that it changed, it draws it anew once
// the step is done.
class FigureWindow : public QDialog
{
    Q_OBJECT

public:
    // closed: whether both samples are closed, so the exact numbers may be given.
    FigureWindow(QWidget* dialog, const DataSet& data, std::function<bool()> closed);

    // Comes to the front, drawn from the data set as it is now.
    void present();
    // The data set changed: drawn anew once the event loop has finished the step.
    void dataSetChanged();

    QWidget* figure() const { return m_figure; }
    QPlainTextEdit* numbers() const { return m_numbers; }
    const FigureModel& model() const { return m_model; }
    // What Ctrl+C on the figure puts on the clipboard: the figure as PNG and SVG,
    // the numbers as text.
    QMimeData* copy() const;
    // Ctrl+S and «Сохранить рисунок…»: the figure as PNG, SVG or PDF, written as
    // the report is; the data set and the journal untouched.
    void saveFigure();
    // The figure as a file of that kind: "png", "svg" or "pdf".
    QByteArray figureFile(const QString& kind) const;

signals:
    // Ctrl+P and «Печать…»: the dialog prints, owned by this window.
    void printRequested();

private:
    void refresh();
    QPalette activePalette() const;
    void placeBesideDialog();

    const DataSet& m_data;
    std::function<bool()> m_closed;
    FigureModel m_model;
    QWidget* m_figure;
    QPlainTextEdit* m_numbers;
    bool m_pending = false;
    bool m_placed = false;
};
