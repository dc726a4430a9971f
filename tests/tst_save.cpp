#include "DataSet.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QProxyStyle>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// The desktop's order of dialog buttons (a QDialogButtonBox::ButtonLayout).
class ButtonLayoutStyle : public QProxyStyle
{
public:
    explicit ButtonLayoutStyle(int layout) : QProxyStyle("Fusion"), m_layout(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        return hint == SH_DialogButtonLayout ? m_layout
                                             : QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    int m_layout;
};

} // namespace

class TestSave : public QObject
{
    Q_OBJECT

private slots:
    // Listing /proc used to read /proc/kmsg to guess its type, which blocks for
    // good; Qt's dialog opens the remembered directory first, read once.
    void initTestCase()
    {
        QSettings(QSettings::UserScope, QStringLiteral("QtProject"))
            .setValue(QStringLiteral("FileDialog/lastVisited"), QUrl::fromLocalFile("/proc"));
    }
    void init() { currentDataSet() = DataSet{}; }
    void outcome_data();
    void outcome();
};

// Each row: the file, relative to HOME ("old" holds 10,000 bytes already), the
// answers to the file dialog and to the overwrite question, whether the report
// is saved. Either the file then holds exactly the report and the dialog is
// back at its start, or file, directory and dialog are exactly as they were.
void TestSave::outcome_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("fileAnswer"); // Return, Escape, or a typed name
    QTest::addColumn<QString>("overwrite");  // a key, or the button clicked
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("layout"); // the desktop's button order; -1: the default
    const auto row = [](const char* name, const char* target, const char* fileAnswer,
                        const char* overwrite, bool saved, int layout = -1) {
        QTest::newRow(name) << target << fileAnswer << overwrite << saved << layout;
    };
    row("remembered /proc does not hang", "report.txt", "report.txt", "", true);
    row("accepted as offered: NoName.txt at home", "NoName.txt", "Return", "", true);
    row("cancelled", "NoName.txt", "Escape", "", false);
    row("name used as typed", "report", "report", "", true);
    row("existing, Return means no", "old", "old", "Return", false);
    row("existing, Escape means no", "old", "old", "Escape", false);
    row("existing, &Нет", "old", "old", "&Нет", false);
    row("existing, &Да replaces a longer file", "old", "old", "&Да", true);
    row("existing, Alt+Д, Windows order", "old", "old", "Alt+Д", true, QDialogButtonBox::WinLayout);
    row("existing, Alt+Д, macOS order", "old", "old", "Alt+Д", true, QDialogButtonBox::MacLayout);
    row("existing, Alt+Д, KDE order", "old", "old", "Alt+Д", true, QDialogButtonBox::KdeLayout);
    row("existing, Alt+Д, GNOME order", "old", "old", "Alt+Д", true, QDialogButtonBox::GnomeLayout);
    row("directory missing", "no/report.txt", "no/report.txt", "", false);
    row("parent is a file", "old/report.txt", "old/report.txt", "", false);
    row("directory not writable", "locked/report.txt", "locked/report.txt", "", false);
    row("device always full", "full", "full", "&Да", false);
    row("size limit hit mid-write", "old", "old", "&Да", false);
    row("pipe without a reader", "fifo", "fifo", "&Да", false);
    row("pipe with a reader", "fifo", "fifo", "&Да", true);
}

void TestSave::outcome()
{
    QFETCH(QString, target);
    QFETCH(QString, fileAnswer);
    QFETCH(QString, overwrite);
    QFETCH(bool, saved);
    QFETCH(int, layout);
    const QString tag = QString::fromUtf8(QTest::currentDataTag());
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString original = QApplication::style()->name();
    if (layout >= 0)
        QApplication::setStyle(new ButtonLayoutStyle(layout));
    int reader = -1;
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        QApplication::setStyle(original);
        if (reader >= 0)
            close(reader);
    });
    const QDir dir(home.path());
    QFile old(dir.filePath(QStringLiteral("old")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(10000, 'x')) == 10000);
    old.close();
    const QByteArray path = QFile::encodeName(dir.filePath(target));
    if (target.startsWith(QLatin1String("locked"))) {
        // Permissions do not stop root; sysfs refuses new files even to root.
        QVERIFY(dir.mkdir(QStringLiteral("locked")) &&
                chmod(path.left(path.lastIndexOf('/')), 0500) == 0);
        if (geteuid() == 0)
            target = fileAnswer = QStringLiteral("/sys/zentu-report.txt");
    }
    // A private copy of /dev/full, where we may make one.
    if (target == QLatin1String("full") && mknod(path, S_IFCHR | 0666, makedev(1, 7)) != 0)
        target = fileAnswer = QStringLiteral("/dev/full");
    if (target == QLatin1String("fifo"))
        QCOMPARE(mkfifo(path, 0600), 0);
    if (tag.endsWith(QLatin1String("with a reader")))
        reader = open(path, O_RDONLY | O_NONBLOCK);
    const QFileInfo file(dir.filePath(target));
    const bool existed = file.exists();
    const bool special = existed && !file.isFile(); // opening it here may block
    const QByteArray before = special ? QByteArray() : bytesOf(file.filePath());
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    ModalCatcher catcher;
    StudentForm form;
    showActive(form);
    play(form, QStringLiteral("5 = 3 = 7 = 1 = | 8 = 2 = 10 = 2 = | #"));
    const QString report = form.ResultEdit->toPlainText();
    catcher.queueAnswer(fileAnswer == QLatin1String("Return") ||
                                fileAnswer == QLatin1String("Escape")
                            ? ModalCatcher::press(fileAnswer)
                            : ModalCatcher::chooseFile(dir.filePath(fileAnswer)));
    catcher.queueAnswer(!overwrite.startsWith(QLatin1Char('&'))
                            ? ModalCatcher::press(overwrite)
                            : [overwrite](QDialog* box) {
                                  for (auto* button : box->findChildren<QAbstractButton*>())
                                      if (button->text() == overwrite)
                                          button->click();
                              });
    rlimit limit{};
    const bool limited = tag.startsWith(QLatin1String("size limit"));
    if (limited) { // files may grow to 100 bytes only, and the report is longer
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{100, RLIM_INFINITY};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0 && setrlimit(RLIMIT_FSIZE, &small) == 0);
    }
    play(form, QStringLiteral("$"));
    QVERIFY(!limited || setrlimit(RLIMIT_FSIZE, &limit) == 0);

    QStringList boxes{QStringLiteral("file: Сохранить результат / Текстовый файл (*.txt)")};
    if (existed && fileAnswer != QLatin1String("Escape"))
        boxes << QStringLiteral("warning: Такой файл уже существует! / Перезаписать "
                                "существующий файл? [&Да, &Нет]");
    QCOMPARE(catcher.boxes(), boxes);
    QByteArray written = special ? QByteArray() : bytesOf(file.filePath());
    if (reader >= 0) {
        written.resize(100000);
        written.resize(std::max<qsizetype>(0, read(reader, written.data(), written.size())));
    }
    QCOMPARE(written, saved ? bytesOf(qEnvironmentVariable("ZENTU_TEST_DATA") +
                                      QStringLiteral("/worked-example.txt"))
                            : before);
    QStringList after = entries + (saved && !existed ? QStringList{target} : QStringList{});
    after.sort();
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), after); // no leftovers
    QCOMPARE(QFileInfo(file.filePath()).isFile(), !special && QFileInfo::exists(file.filePath()));
    if (!saved) {
        QCOMPARE(form.ResultEdit->toPlainText(), report);
        QCOMPARE(widgetState(form), QStringLiteral("00000001 SaveButton"));
        return;
    }
    QCOMPARE(protocol(form), QStringList{"Варианты 1-го ряда:"});
    QVERIFY(!form.ResultEdit->document()->isModified());
    QCOMPARE(widgetState(form), QStringLiteral("10001100 V1Edit"));
    QCOMPARE(form.MessageLabel->text(),
             QStringLiteral("Вводите варианты и их частоты "
                            "(встречаемость в ряду) для выборок 1 и 2. "));
    play(form, QStringLiteral("1 = 2 = | 3 = 2 = | #")); // the next data set starts empty
    QCOMPARE(protocol(form).mid(1, 4),
             (QStringList{"v1: 1 - p1: 2.", "Варианты 2-го ряда: ", "v1: 3 - p1: 2.",
                          "Число наблюдений в 1-м ряду N1 равно 2."}));
}

QTEST_MAIN(TestSave)
#include "tst_save.moc"
