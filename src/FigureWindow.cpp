// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FigureWindow.h"

#include "Desktop.h"
#include "PrintLayout.h"
#include "ReportFile.h"
#include "StudentForm.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSvgGenerator>
#include <QVBoxLayout>

namespace {

// The figure itself: painted by the one routine, focusable so that Ctrl+C and
// a screen reader reach it, its focus shown as the protocol shows its own.
class FigureView : public QWidget
{
public:
    FigureView(FigureWindow* window) : QWidget(window), m_window(window)
    {
        setFocusPolicy(Qt::StrongFocus);
        setAccessibleName(tr("Рисунок"));
        setMinimumSize(fontMetrics().averageCharWidth() * 40, fontMetrics().lineSpacing() * 14);
    }

    void copy() const { QGuiApplication::clipboard()->setMimeData(m_window->copy()); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter painter(this);
        paintFigure(painter, rect(), m_window->model(), palette(), font());
        if (hasFocus()) {
            const int width = std::max(1, fontMetrics().lineSpacing() / 12);
            painter.setPen(QPen(palette().color(QPalette::Highlight), width));
            painter.drawRect(
                QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
        }
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event == QKeySequence::Copy) {
            copy();
            return;
        }
        QWidget::keyPressEvent(event);
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        auto* menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        connect(menu->addAction(tr("Копировать рисунок")), &QAction::triggered, this,
                [this] { copy(); });
        menu->addActions(m_window->actions());
        menu->popup(event->globalPos());
    }

private:
    FigureWindow* m_window;
};

} // namespace

FigureWindow::FigureWindow(QWidget* dialog, const DataSet& data, std::function<bool()> closed)
    : QDialog(dialog), m_data(data), m_closed(std::move(closed)), m_figure(new FigureView(this)),
      m_numbers(new QPlainTextEdit(this))
{
    setWindowTitle(tr("Рисунок"));
    setModal(false);
    m_numbers->setReadOnly(true);
    m_numbers->setUndoRedoEnabled(false);
    m_numbers->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_numbers->setAccessibleName(tr("Числа"));
    m_numbers->setTabChangesFocus(true);
    m_numbers->setMinimumHeight(fontMetrics().lineSpacing() * 7);
    m_numbers->setMaximumHeight(fontMetrics().lineSpacing() * 10);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_figure, 1);
    layout->addWidget(m_numbers);
    setTabOrder(m_figure, m_numbers);
    auto* save = new QAction(tr("Сохранить рисунок…"), this);
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &FigureWindow::saveFigure);
    auto* print = new QAction(tr("Печать…"), this);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &FigureWindow::printRequested);
    addActions({save, print});
    refresh();
}

void FigureWindow::present()
{
    refresh();
    if (!m_placed)
        placeBesideDialog();
    show();
    raise();
    activateWindow();
    m_figure->setFocus();
}

void FigureWindow::dataSetChanged()
{
    if (std::exchange(m_pending, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_pending = false;
            refresh();
        },
        Qt::QueuedConnection);
}

void FigureWindow::refresh()
{
    m_model = FigureModel::of(m_data);
    m_figure->setAccessibleDescription(describeFigure(m_model));
    const QString numbers = figureNumbers(m_data, m_closed());
    if (numbers != m_numbers->toPlainText())
        m_numbers->setPlainText(numbers);
    m_figure->update();
}

// As large as the screen's free area allows beside the dialog, else over it;
// the size follows the desktop's font as the dialog does.
void FigureWindow::placeBesideDialog()
{
    m_placed = true;
    const QRect free = parentWidget()->screen()->availableGeometry();
    const QRect dialog = parentWidget()->frameGeometry();
    const QFontMetrics metrics(font());
    QSize size(metrics.averageCharWidth() * 96, metrics.lineSpacing() * 38);
    const int right = free.right() - dialog.right();
    const int left = dialog.left() - free.left();
    const int beside = std::max(right, left) - 10;
    if (beside >= metrics.averageCharWidth() * 60)
        size.setWidth(std::min(size.width(), beside));
    size = size.boundedTo(free.size() - QSize(10, 40)).expandedTo(minimumSizeHint());
    resize(size);
    QPoint at = beside >= size.width()
                    ? QPoint(right >= left ? dialog.right() + 1 : dialog.left() - size.width() - 10,
                             dialog.top())
                    : dialog.center() - QPoint(size.width() / 2, size.height() / 2);
    at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() - size.width())));
    at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() - size.height())));
    move(at);
}

QMimeData* FigureWindow::copy() const
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), figureFile(QStringLiteral("png")));
    data->setData(QStringLiteral("image/svg+xml"), figureFile(QStringLiteral("svg")));
    data->setText(m_numbers->toPlainText());
    return data;
}

QPalette FigureWindow::activePalette() const
{
    QPalette palette = m_figure->palette();
    palette.setCurrentColorGroup(QPalette::Active);
    return palette;
}

QByteArray FigureWindow::figureFile(const QString& kind) const
{
    const QPalette palette = activePalette(); // a file shows the window as when it has the focus
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    const QSize size = m_figure->size();
    if (kind == QLatin1String("png")) { // sharp in a printed thesis: 1600 px across at least
        const qreal scale = std::max(m_figure->devicePixelRatioF(), 1600.0 / size.width());
        QImage image((QSizeF(size) * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(palette.color(QPalette::Base)); // the scale's last part-pixel too
        QPainter painter(&image);
        paintFigure(painter, QRectF(QPointF(), size), m_model, palette, m_figure->font());
        painter.end();
        image.save(&file, "PNG");
    } else if (kind == QLatin1String("svg")) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(), size));
        generator.setTitle(tr("Рисунок"));
        generator.setDescription(describeFigure(m_model));
        QPainter painter(&generator);
        paintFigure(painter, QRectF(QPointF(), size), m_model, palette, m_figure->font());
    } else { // A4, the figure and the numbers on one page
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setTitle(tr("Рисунок"));
        QPainter painter(&pdf);
        paintFigurePage(painter, QRectF(0, 0, pdf.width(), pdf.height()), m_model,
                        m_numbers->toPlainText(), m_figure->font());
    }
    return file.data();
}

// A name ending in .png, .svg or .pdf is that kind, whatever the filter; any
// other name gets the chosen filter's ending.
void FigureWindow::saveFigure()
{
    NameOnlyIconProvider icons;
    const QStringList filters{tr("Рисунок PNG (*.png)"), tr("Рисунок SVG (*.svg)"),
                              tr("Документ PDF (*.pdf)")};
    const QStringList kinds{QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
    QFileDialog dialog(this, tr("Сохранить рисунок"),
                       saveFolder().isEmpty() ? QDir::homePath() : saveFolder(),
                       filters.join(QStringLiteral(";;")));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().value(0).isEmpty())
        return;
    QString path = dialog.selectedFiles().value(0);
    saveFolder() = QFileInfo(path).absolutePath();
    QString kind = QFileInfo(path).suffix().toLower();
    if (!kinds.contains(kind)) {
        kind = kinds.value(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
        path += QLatin1Char('.') + kind;
    }
    if (QFile::exists(path) &&
        !confirmed(this, tr("Такой файл уже существует!"), tr("Перезаписать существующий файл?")))
        return;
    writeReport(path, figureFile(kind));
}
