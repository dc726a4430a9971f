// SPDX-FileCopyrightText: 2026 The Zentu developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DataSet.h"
#include "Desktop.h"
#include "Figure.h"
#include "FigureWindow.h"
#include "Journal.h"
#include "ModalCatcher.h"
#include "Protocol.h"
#include "StudentForm.h"

#include "SyncWatch.h"

#include <QPrinter>

#include <sys/mount.h>
#include <sys/stat.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// The text of a PDF, pages split by form feeds, as pdftotext reads it.
QString pdfText(const QString& path)
{
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"),
                 {QStringLiteral("-layout"), path, QStringLiteral("-")});
    reader.waitForFinished();
    return QString::fromUtf8(reader.readAllStandardOutput());
}

// "5:3 7:1 | 8:2 10:2": both samples' pairs.
DataSet dataOf(const QString& samples)
{
    DataSet data;
    SampleSeries* series[] = {&data.sample1, &data.sample2};
    const QStringList sides = samples.split(QStringLiteral(" | "));
    for (int k = 0; k < 2; ++k)
        for (const QString& pair : sides.value(k).split(' ', Qt::SkipEmptyParts)) {
            series[k]->appendVariant(pair.section(':', 0, 0).toDouble());
            series[k]->appendFrequency(pair.section(':', 1).toInt());
        }
    return data;
}

// "3:0 5:75 7:25 9:0", a polygon's vertices.
QString written(const std::vector<QPointF>& points)
{
    QStringList out;
    for (const QPointF& point : points)
        out << QString::number(point.x()) + ':' + QString::number(point.y());
    return out.join(' ');
}

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           80;
}

// Whether the colour is at a point, give or take a pixel of antialiasing.
bool shows(const QImage& image, QPointF at, const QColor& colour)
{
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (near(image.pixelColor(at.toPoint() + QPoint(dx, dy)), colour))
                return true;
    return false;
}

// How many of the points along a segment, its ends left out, show the colour.
double shareAlong(const QImage& image, QPointF from, QPointF to, const QColor& colour)
{
    int hits = 0;
    constexpr int points = 40;
    for (int n = 8; n < points - 8; ++n)
        hits += shows(image, from + (to - from) * n / points, colour) ? 1 : 0;
    return hits / double(points - 16);
}

QWidget* figureShown()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == QStringLiteral("Рисунок"))
            return window;
    return nullptr;
}

} // namespace

class TestFigure : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installToolkitTranslation()); }
    void init()
    {
        currentDataSet() = DataSet{};
        currentJournal().release();
        m_state = std::make_unique<QTemporaryDir>();
        qputenv("HOME", QFile::encodeName(m_state->path()));
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_state->path()));
    }
    void painted_data();
    void painted();
    void troubles_data();
    void troubles();
    void numbers_data();
    void numbers();
    void window();
    void copied();
    void printed_data();
    void printed();
    void figureFiles();
    void saved_data();
    void saved();

private:
    std::unique_ptr<QTemporaryDir> m_state;
};

// Each row: the data set, each sample's polygon in (variant, per cent of its N),
// ends included, and the class width. Expected by hand: the worked example's
// sample 1 is 75 % fives and 25 % sevens, its ends one step of 2 beyond.
void TestFigure::painted_data()
{
    QTest::addColumn<QString>("samples");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<double>("width");
    QTest::newRow("worked example") << "5:3 7:1 | 8:2 10:2"
                                    << "3:0 5:75 7:25 9:0"
                                    << "6:0 8:50 10:50 12:0" << 0.0;
    // A single variant steps as far as the other sample's smallest gap.
    QTest::newRow("one variant, unequal N") << "5:3 | 6:1 6.5:3"
                                            << "4.5:0 5:100 5.5:0"
                                            << "5.5:0 6:25 6.5:75 7:0" << 0.0;
    // 100 raw observations each: Sturges gives 8 classes of 149 / 8, rounded up
    // to 20, from 0; 1 to 19 is the first class of 19 observations.
    QString raw[2];
    for (int k = 1; k <= 100; ++k) {
        raw[0] += QStringLiteral("%1:1 ").arg(k);
        raw[1] += QStringLiteral("%1:1 ").arg(k + 50);
    }
    QTest::newRow("classes for 100 distinct values")
        << raw[0].trimmed() + " | " + raw[1].trimmed()
        << "-10:0 10:19 30:20 50:20 70:20 90:20 110:1 130:0"
        << "30:0 50:9 70:20 90:20 110:20 130:20 150:11 170:0" << 20.0;
}

void TestFigure::painted()
{
    QFETCH(QString, samples);
    const DataSet data = dataOf(samples);
    const FigureModel model = FigureModel::of(data);
    QTEST(written(model.samples[0].polygon), "first");
    QTEST(written(model.samples[1].polygon), "second");
    QTEST(model.classWidth, "width");

    // Painted, each segment of each polygon lies where the axes put it, in the
    // sample's colour; each M ± m spans exactly M - m to M + m on its row.
    QImage image(900, 600, QImage::Format_RGB32);
    QPalette palette;
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    const QRectF area(0, 0, image.width(), image.height());
    {
        QPainter painter(&image);
        paintFigure(painter, area, model, palette, font);
    }
    const FigurePlot plot(model, area, font);
    TTestResult report;
    computeTTest(data.sample1, data.sample2, report);
    for (int k = 0; k < 2; ++k) {
        const QColor colour = sampleColour(palette, k);
        const std::vector<QPointF>& polygon = model.samples[static_cast<std::size_t>(k)].polygon;
        for (std::size_t n = 0; n + 1 < polygon.size(); ++n)
            QVERIFY2(shareAlong(image, plot.toPixel(polygon[n]), plot.toPixel(polygon[n + 1]),
                                colour) > 0.3, // dashes, and one line over the other
                     qPrintable(QStringLiteral("sample %1, segment %2").arg(k + 1).arg(n)));
        const double m = k == 0 ? report.dm1 : report.dm2; // the report's own
        const double row = plot.markRow(k);
        const double low = plot.toPixel({(k == 0 ? report.dM1 : report.dM2) - m, 0}).x();
        const double high = plot.toPixel({(k == 0 ? report.dM1 : report.dM2) + m, 0}).x();
        const double mean = (low + high) / 2;
        QVERIFY(near(image.pixelColor(QPoint(qRound((low + mean) / 2), qRound(row))), colour));
        QVERIFY(near(image.pixelColor(QPoint(qRound((high + mean) / 2), qRound(row))), colour));
        if (m > 0) { // and no further: m, not S
            QVERIFY(!near(image.pixelColor(QPoint(qRound(high) + 4, qRound(row))), colour));
            QVERIFY(!near(image.pixelColor(QPoint(qRound(low) - 4, qRound(row))), colour));
        }
    }
}

// Where a sample cannot be drawn, a line of text says so in its place; where
// neither can, no axes either. Never a crash.
void TestFigure::troubles_data()
{
    QTest::addColumn<QString>("samples");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    const auto row = [](const char* name, const char* samples, const char* first,
                        const char* second) {
        QTest::newRow(name) << samples << QString::fromUtf8(first) << QString::fromUtf8(second);
    };
    row("nothing entered", "", "1-я выборка: пар ещё нет.", "2-я выборка: пар ещё нет.");
    row("N of 1", "5:1 | 7:2", "1-я выборка: одно наблюдение, полигон не строится.", "");
    row("frequencies summing to 0", "5:3 6:-3 | 7:1 8:1",
        "1-я выборка: сумма частот не положительна.", "");
    row("a negative frequency", "5:3 6:-1 | 7:1 8:1", "1-я выборка: есть отрицательные частоты.",
        "");
    row("a pair cancelled is none", "5:3 6:1 6:-1 | 7:1 8:1", "", "");
    row("values beyond the range of numbers", "1e308:1 -1e308:1 | 7:1 8:1",
        "1-я выборка: значения вне допустимого диапазона.", "");
}

void TestFigure::troubles()
{
    QFETCH(QString, samples);
    const FigureModel model = FigureModel::of(dataOf(samples));
    QTEST(model.samples[0].trouble, "first");
    QTEST(model.samples[1].trouble, "second");
    QImage image(400, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    paintFigure(painter, QRectF(image.rect()), model, QPalette(), QFont());
    QCOMPARE(FigurePlot(model, QRectF(image.rect()), QFont()).frame().isEmpty(),
             !model.drawable(0) && !model.drawable(1));
    // The screen reader hears the same.
    for (const FigureModel::Sample& sample : model.samples)
        QVERIFY(describeFigure(model).contains(sample.trouble));
}

// The numbers under the figure as a dialog stands: N and M ± m while entry goes
// on; the exact numbers once both samples are closed, from R 4.2.2 (see the
// statistics tests); where table and exact p disagree, a line that says so.
void TestFigure::numbers_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const char* script, const char* expected) {
        QTest::newRow(name) << script << QString::fromUtf8(expected);
    };
    row("sample 1 entered",
        "5 = 3 = 7 =", "1-я выборка: N = 3, M₁ ± m₁ = 5 ± 0.\n2-я выборка: пар ещё нет.");
    row("worked example", "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = |",
        "1-я выборка: N = 4, M₁ ± m₁ = 5.5 ± 0.5.\n2-я выборка: N = 4, M₂ ± m₂ = 9 ± 0.57735.\n"
        "t = 4.58258, число степеней свободы 6: p = 0.00376.\n"
        "По Уэлчу: число степеней свободы 5.88, p = 0.00396.\n"
        "95%-й доверительный интервал M1 - M2: от -5.37814 до -1.62186.\n"
        "d Коэна = -3.24037, g Хеджеса = -2.81771.");
    // t = 2.0418: the table's 2.04 for df 29 is reached, the exact quantile 2.0452
    // is not; R: 2 * pt(2.0418, 29, lower.tail = FALSE) = 0.05036.
    row("df 29: the table says 95 %", "0 = 1 = 1 = 14 = | 0.73 = 8 = 1.73 = 8 = |",
        "Таблица и точное p расходятся: по таблице (для 29 степеней свободы) различие достоверно "
        "с вероятностью 95%, по точному p = 0.0504 — недостоверно.");
    // t = 2.03114 with df 35 is read in row 30 (2.04); R: p = 0.04989.
    row("df 35: the table says none", "0 = 2 = 1 = 16 = | 0.7 = 10 = 1.7 = 9 = |",
        "Таблица и точное p расходятся: по таблице (для 30 степеней свободы) различие "
        "недостоверно, по точному p = 0.0499 — достоверно с вероятностью 95%.");
    row("N of 1, said in words", "5 = 1 = | 7 = 1 = 8 = 1 = |",
        "Точные p, интервал и величина эффекта не определены: в каждой выборке нужно не менее "
        "двух наблюдений с конечным разбросом.");
    row("no spread: p 0", "5 = 3 = | 7 = 2 = |",
        "t = inf, число степеней свободы 3: p < 0.0001.\nПо Уэлчу: разброса нет, p < 0.0001.");
}

void TestFigure::numbers()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    ModalCatcher catcher;
    StudentForm form;
    play(form, script);
    form.showFigure();
    const QString shown = form.figureWindow()->numbers()->toPlainText();
    QVERIFY2(shown.contains(expected), qPrintable(shown));
    QCOMPARE(catcher.boxes(), QStringList());
}

// Only Ctrl+G and «Рисунок…» in the protocol's menu open the window: a whole
// cycle, saved, opens none. It belongs to the dialog, goes on beside it, comes
// to the front when asked again, closes on Escape, and follows every step, a
// take-back, a paste and the reset after a save.
void TestFigure::window()
{
    ModalCatcher catcher;
    catcher.queueAnswers({m_state->filePath("report.txt")});
    StudentForm form;
    play(form, "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | # $");
    QCOMPARE(figureShown(), nullptr);
    QCOMPARE(form.figureWindow(), nullptr); // not even made: start-up stays as it was

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
    QWidget* shown = figureShown();
    QVERIFY(shown != nullptr);
    QCOMPARE(shown->parentWidget(), &form);
    QTRY_COMPARE(QApplication::activeWindow(), shown);
    QVERIFY(shown->windowFlags().testFlag(Qt::Dialog) && !form.figureWindow()->isModal());
    QCOMPARE(QApplication::focusWidget(), form.figureWindow()->figure());
    QCOMPARE(form.figureWindow()->figure()->accessibleName(), QStringLiteral("Рисунок"));
    QTest::keyClick(form.figureWindow()->figure(), Qt::Key_Escape);
    QCOMPARE(figureShown(), nullptr);

    const std::unique_ptr<QMenu> menu(static_cast<Protocol*>(form.ResultEdit)->createContextMenu());
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("Рисунок…"));
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Печать…"));
    QVERIFY(menu->actions().at(3)->text().contains(QStringLiteral("Копировать")));
    menu->actions().first()->trigger();
    QCOMPARE(figureShown(), shown);

    // Live: the dialog goes on working beside it.
    const auto numbers = [&form] { return form.figureWindow()->numbers()->toPlainText(); };
    const auto figure = [&form] { return form.figureWindow()->model().samples[0].n; };
    play(form, "5 = 3 =");
    QTRY_COMPARE(figure(), 3);
    play(form, "<Ctrl+Z>");
    QTRY_COMPARE(figure(), 0);
    QGuiApplication::clipboard()->setText(QStringLiteral("5\t3\n7\t1\n"));
    play(form, "<Ctrl+Z> <Ctrl+V> |"); // the variant taken back too, then a paste
    QTRY_COMPARE(figure(), 4);
    QTRY_VERIFY(numbers().contains(QStringLiteral("2-я выборка: пар ещё нет.")));
    play(form, "8 = 2 = 10 = 2 = |");
    QTRY_VERIFY(numbers().contains(QStringLiteral("p = 0.00376")));
    play(form, "<Ctrl+Z>"); // sample 2 open again: no exact numbers yet
    QTRY_VERIFY(!numbers().contains(QStringLiteral("p = ")));
    catcher.queueAnswers({m_state->filePath("second.txt")});
    play(form, "| # $");
    QTRY_COMPARE(figure(), 0);
    QCOMPARE(figureShown(), shown);
    QCOMPARE(catcher.boxes().size(), 2); // the two file dialogs, nothing else
}

// Ctrl+C on the figure: the picture as PNG and SVG, the numbers as text.
void TestFigure::copied()
{
    ModalCatcher catcher;
    StudentForm form;
    play(form, "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = |");
    form.showFigure();
    FigureWindow* window = form.figureWindow();
    QTest::keyClick(window->figure(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->data(QStringLiteral("image/png")), window->figureFile("png"));
    const QByteArray svg = copied->data(QStringLiteral("image/svg+xml"));
    QVERIFY(svg.contains("<svg") && svg.contains("5.5"));
    QCOMPARE(copied->text(), window->numbers()->toPlainText());
    // In words for a screen reader: each sample's N, M ± m and range.
    QCOMPARE(window->figure()->accessibleDescription(),
             QStringLiteral("Полигоны частот двух выборок, по оси y частость в процентах. 1-я "
                            "выборка: N = 4, M₁ ± m₁ = 5.5 ± 0.5, варианты от 5 до 7. 2-я "
                            "выборка: N = 4, M₂ ± m₂ = 9 ± 0.57735, варианты от 8 до 10."));
}

// Printed to a PDF, as «Печать в файл» does on a machine with no printer: every
// protocol line in order, the figure's numbers once both samples are closed, a
// page of their own, page numbers; more pages for a longer protocol.
void TestFigure::printed_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("pairs");  // pasted first
    QTest::addColumn<int>("fewest"); // pages
    QTest::addColumn<int>("most");
    QTest::addColumn<int>("paper"); // QPageSize::PageSizeId
    const int a4 = QPageSize::A4;
    QTest::newRow("worked example")
        << "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #" << 0 << 2 << 2 << a4;
    QTest::newRow("worked example on Letter")
        << "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #" << 0 << 2 << 2 << int(QPageSize::Letter);
    QTest::newRow("sample 1 still entered: no figure") << "5 = 3 =" << 0 << 1 << 1 << a4;
    // 1,016 lines at 12 pt, some 50 to 70 an A4 page, and the figure's.
    QTest::newRow("10^3 pairs pasted") << "| 8 = 2 = 10 = 2 = | #" << 1000 << 16 << 22 << a4;
}

void TestFigure::printed()
{
    QFETCH(QString, script);
    QFETCH(int, pairs);
    QString pasted;
    for (int k = 0; k < pairs; ++k)
        pasted += QStringLiteral("%1\t%2\n").arg(k).arg(1 + k % 3);
    QGuiApplication::clipboard()->setText(pasted);
    ModalCatcher catcher;
    StudentForm form;
    play(form, (pairs > 0 ? "<Ctrl+V> " : "") + script);
    const QString path = m_state->filePath("printed.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QFETCH(int, paper);
        printer.setPageSize(QPageSize(QPageSize::PageSizeId(paper)));
        form.printOn(&printer);
    }
    const QString text = pdfText(path);
    const QStringList pages = text.split('\f', Qt::SkipEmptyParts);
    QFETCH(int, fewest);
    QFETCH(int, most);
    QVERIFY2(pages.size() >= fewest && pages.size() <= most,
             qPrintable(QString::number(pages.size())));
    QVERIFY(pages.first().contains(QStringLiteral("Сравнение по t-критерию Стъюдента")));
    qsizetype at = 0;
    for (const QString& line : form.ResultEdit->toPlainText().split('\n')) {
        at = text.indexOf(line.trimmed(), at);
        QVERIFY2(at >= 0, qPrintable(line));
    }
    QVERIFY(pages.last().contains(QStringLiteral("Страница %1 из %1").arg(pages.size())));
    const bool closed = script.endsWith('#');
    QCOMPARE(pages.last().contains(QStringLiteral("Полигон")) ||
                 pages.last().contains(QStringLiteral("число степеней свободы")),
             closed);
    if (closed)
        QVERIFY(pages.last().contains(QStringLiteral("d Коэна")) &&
                !pages.last().contains(QStringLiteral("Варианты 1-го ряда")));
}

// The figure's three kinds of file: a PNG 1600 px across at least, an SVG with
// both polygons as lines of as many points as the series has variants and two
// ends, and text as text; an A4 PDF with the numbers.
void TestFigure::figureFiles()
{
    ModalCatcher catcher;
    StudentForm form;
    play(form, "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = 12 = 1 = |");
    form.showFigure();
    const FigureWindow* window = form.figureWindow();
    QImage png;
    QVERIFY(png.loadFromData(window->figureFile("png"), "PNG"));
    QVERIFY(png.width() >= 1600);
    QCOMPARE(png.height(),
             qRound(png.width() * double(window->figure()->height()) / window->figure()->width()));
    const QString svg = QString::fromUtf8(window->figureFile("svg"));
    QStringList counts;
    static const QRegularExpression polyline(QStringLiteral("<polyline[^>]*points=\"([^\"]*)\""));
    for (auto match = polyline.globalMatch(svg); match.hasNext();) {
        const int points = int(match.next().captured(1).split(' ', Qt::SkipEmptyParts).size());
        if (points > 2)
            counts << QString::number(points);
    }
    QCOMPARE(counts, QStringList({"4", "5"}));
    QVERIFY(svg.contains(QStringLiteral("Частость, %")));
    const QByteArray pdf = window->figureFile("pdf");
    QVERIFY(pdf.startsWith("%PDF"));
    QFile file(m_state->filePath("figure.pdf"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
    file.close();
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file.fileName()});
    info.waitForFinished();
    QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QStringLiteral("(A4)")));
    QVERIFY(pdfText(file.fileName()).contains(QStringLiteral("p = 0.00")));
}

// Ctrl+S in «Рисунок»: the file dialog in Russian where the last file was chosen,
// the kind by the name's ending or else the filter's (the first, PNG, here),
// written as the report is: asked before overwriting, in place over someone
// else's file and synced there, the old file whole where the disk fills. The
// data set and the journal stay. Ctrl+P reaches the print dialog from both
// windows, each owning its own.
void TestFigure::saved_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind"); // "" for nothing written
    QTest::newRow("no ending: the filter's added") << QStringList{"~/fig"} << "fig.png"
                                                   << "png";
    QTest::newRow("an SVG by its name") << QStringList{"~/fig.svg"} << "fig.svg"
                                        << "svg";
    QTest::newRow("a PDF by its name, in capitals") << QStringList{"~/fig.PDF"} << "fig.PDF"
                                                    << "pdf";
    QTest::newRow("another ending kept, the filter's added")
        << QStringList{"~/fig.txt"} << "fig.txt.png"
        << "png";
    QTest::newRow("existing, &Нет") << QStringList{"~/old.png", "&Нет"} << "old.png"
                                    << "";
    QTest::newRow("another user's file, in place and synced")
        << QStringList{"~/old.png", "&Да"} << "old.png"
        << "png";
    QTest::newRow("a disk that fills: the old file whole")
        << QStringList{"~/disk/old.png", "&Да"} << "disk/old.png"
        << "";
}

void TestFigure::saved()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, file);
    QFETCH(QString, kind);
    const QString home = m_state->path();
    const QString disk = home + "/disk";
    const bool full = file.startsWith("disk/");
    if (full) { // a small disk nearly full, the old file on it someone else's
        QVERIFY(QDir().mkdir(disk));
        if (mount("tmpfs", QFile::encodeName(disk), "tmpfs", 0, "size=64k") != 0)
            QSKIP("a small tmpfs needs root");
    }
    const auto unmount = qScopeGuard([&] {
        if (full)
            umount2(QFile::encodeName(disk), MNT_DETACH);
    });
    const QByteArray old(full ? 2000 : 10000, 'x');
    QFile oldFile(home + '/' + (full ? "disk/old.png" : "old.png"));
    QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == old.size());
    oldFile.close();
    if (full) {
        QFile filler(disk + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(40 << 10, 'f')) > 0);
    }
    const bool someoneElses =
        QTest::currentDataTag() == QByteArray("another user's file, in place and synced") || full;
    struct stat before = {};
    if (someoneElses && chown(QFile::encodeName(oldFile.fileName()), 65534, 65534) != 0)
        QSKIP("another user's file needs root");
    stat(QFile::encodeName(oldFile.fileName()), &before);

    ModalCatcher catcher;
    saveFolder() = home;
    for (QString& answer : answers)
        answer.replace('~', home);
    catcher.queueAnswers(answers);
    StudentForm form;
    play(form, "5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #");
    const QStringList journalled = QDir(Journal::folder()).entryList({"*.journal"});
    form.showFigure();
    QTRY_COMPARE(QApplication::activeWindow(), form.figureWindow());
    synced().clear();
    QTest::keyClick(form.figureWindow()->figure(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(catcher.boxes().first(),
             QStringLiteral("File: Сохранить рисунок / Рисунок PNG (*.png);Рисунок SVG (*.svg);"
                            "Документ PDF (*.pdf) in ") +
                 home);
    const QString path = home + '/' + file;
    const QByteArray written = bytesOf(path);
    if (kind.isEmpty()) {
        QCOMPARE(written, old);
    } else {
        const QByteArray fresh = form.figureWindow()->figureFile(kind);
        if (kind == "pdf") { // a PDF carries the second it was made in: its text then
            QFile again(m_state->filePath("again.pdf"));
            QVERIFY(written.startsWith("%PDF") && again.open(QIODevice::WriteOnly) &&
                    again.write(fresh) == fresh.size());
            again.close();
            QCOMPARE(pdfText(path), pdfText(again.fileName()));
        } else {
            QCOMPARE(written, fresh);
        }
        // In place the file itself is synced; a new one goes atomically, its folder synced.
        QVERIFY(synced().contains(someoneElses ? QFileInfo(path).canonicalFilePath()
                                               : QFileInfo(path).canonicalPath()));
    }
    struct stat after = {};
    stat(QFile::encodeName(path), &after);
    if (someoneElses) // in place: the same file, its owner's still
        QVERIFY(after.st_ino == before.st_ino && after.st_uid == 65534);
    QCOMPARE(saveFolder(), QFileInfo(path).absolutePath());
    // Nothing of the data set changed, and its journal is there as before.
    QVERIFY(form.SaveButton->isEnabled());
    QCOMPARE(QDir(Journal::folder()).entryList({"*.journal"}), journalled);

    // Ctrl+P from either window: the print dialog, owned by it; Escape prints nothing.
    catcher.queueAnswers({"Escape", "Escape"});
    const qsizetype shown = catcher.boxes().size();
    form.figureWindow()->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), form.figureWindow());
    QTest::keyClick(form.figureWindow()->figure(), Qt::Key_P, Qt::ControlModifier);
    play(form, "<Ctrl+P>");
    QCOMPARE(catcher.boxes().mid(shown).replaceInStrings(QRegularExpression(": .* / "), " / "),
             QStringList(
                 {"QPrintDialog / Рисунок", "QPrintDialog / Сравнение по t-критерию Стъюдента"}));
}

QTEST_MAIN(TestFigure)
#include "tst_figure.moc"
