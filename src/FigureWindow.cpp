// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FigureWindow.h"

#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
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
    const QSize size = m_figure->size();
    const qreal scale = m_figure->devicePixelRatioF();
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    {
        QPainter painter(&image);
        paintFigure(painter, QRectF(QPointF(), size), m_model, m_figure->palette(),
                    m_figure->font());
    }
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    data->setData(QStringLiteral("image/png"), png.data());
    QBuffer svg;
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(), size));
    generator.setTitle(tr("Рисунок"));
    generator.setDescription(describeFigure(m_model));
    {
        QPainter painter(&generator);
        paintFigure(painter, QRectF(QPointF(), size), m_model, m_figure->palette(),
                    m_figure->font());
    }
    data->setData(QStringLiteral("image/svg+xml"), svg.data());
    data->setText(m_numbers->toPlainText());
    return data;
}
