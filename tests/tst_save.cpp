#include "DataSet.h"
#include "FormDriver.h"
#include "ModalCatcher.h"
#include "StudentForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QUrl>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace FormDriver;

namespace {

const QStringList workedSample1{"5", "3", "7", "1"};
const QStringList workedSample2{"8", "2", "10", "2"};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

ModalCatcher::Answer clickButton(const QString& text)
{
    return [text](QDialog* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
        box->reject();
    };
}

// "Сохранить", with the file dialog answered by typing this path.
void saveTo(StudentForm& form, ModalCatcher& catcher, const QString& path)
{
    catcher.queueAnswer(ModalCatcher::chooseFile(path));
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);
}

// HOME pointing at an empty directory of its own, for as long as it lives.
class TemporaryHome
{
public:
    TemporaryHome() : m_old(qgetenv("HOME")) { qputenv("HOME", m_dir.path().toLocal8Bit()); }
    ~TemporaryHome() { qputenv("HOME", m_old); }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};

// The dialog back at the start of a new data set, as after program start.
void verifyStartState(const StudentForm& form)
{
    QCOMPARE(form.ResultEdit->toPlainText(), QStringLiteral("Варианты 1-го ряда:"));
    QVERIFY(!form.ResultEdit->document()->isModified());
    QCOMPARE(
        form.MessageLabel->text(),
        QStringLiteral("Вводите варианты и их частоты (встречаемость в ряду) для выборок 1 и 2. "));
    QCOMPARE(form.entryState(), EntryState::EnterVariant1);
    QVERIFY(form.SubmitButton->isEnabled());
    QVERIFY(form.EndButton->isEnabled());
    QVERIFY(!form.CalculateButton->isEnabled());
    QVERIFY(!form.SaveButton->isEnabled());
    QCOMPARE(form.focusWidget(), form.V1Edit);
    const DataSet& data = currentDataSet();
    QCOMPARE(data.sample1.variantCount + data.sample1.frequencyCount, 0);
    QCOMPARE(data.sample2.variantCount + data.sample2.frequencyCount, 0);
    QCOMPARE(data.result.iN1 + data.result.iN2, 0);
}

// Nothing reset: the report is still there to be saved again.
void verifyUnchanged(const StudentForm& form, const QString& report)
{
    QCOMPARE(form.ResultEdit->toPlainText(), report);
    QVERIFY(form.SaveButton->isEnabled());
    QCOMPARE(form.entryState(), EntryState::EntryDone);
    QCOMPARE(currentDataSet().sample1.pairCount(), 2);
    QCOMPARE(currentDataSet().result.iN1, 4);
}

} // namespace

class TestSave : public QObject
{
    Q_OBJECT

private slots:
    void init() { currentDataSet() = DataSet{}; }
    // First: Qt reads the remembered directory once, with the process's first file dialog.
    void rememberedDirectoryCannotHang();
    void savesExactBytesAndStartsAgain();
    void fileDialogOffersHome();
    void nameUsedAsTyped();
    void cancelChangesNothing();
    void existingFile_data();
    void existingFile();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
};

void TestSave::savesExactBytesAndStartsAgain()
{
    QTemporaryDir dir;
    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    saveTo(form, catcher, path);

    QCOMPARE(catcher.count(), 1);
    QCOMPARE(catcher.boxes().first().title, QStringLiteral("Сохранить результат"));
    // Checked by hand against the worked example; UTF-8, no line break at the end.
    QCOMPARE(readAll(path), readAll(qEnvironmentVariable("ZENTU_TEST_DATA") +
                                    QStringLiteral("/worked-example.txt")));
    verifyStartState(form);

    // A second data set starts from scratch and is saved the same way.
    calculate(form, {"1", "2"}, {"3", "2"});
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    saveTo(form, catcher, second);
    const QList<QByteArray> lines = readAll(second).split('\n');
    QCOMPARE(lines.size(), 4 + 10);
    QCOMPARE(lines.at(0), QByteArray("Варианты 1-го ряда:"));
    QCOMPARE(lines.at(1), QByteArray("v1: 1 - p1: 2."));
    QCOMPARE(lines.at(4), QByteArray("Число наблюдений в 1-м ряду N1 равно 2."));
    verifyStartState(form);
}

void TestSave::fileDialogOffersHome()
{
    const TemporaryHome home;
    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);

    QString directory;
    QStringList selected;
    QStringList filters;
    bool saveMode = false;
    bool ownDialog = false;
    catcher.queueAnswer([&](QDialog* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        directory = fileDialog->directory().absolutePath();
        selected = fileDialog->selectedFiles();
        filters = fileDialog->nameFilters();
        saveMode = fileDialog->acceptMode() == QFileDialog::AcceptSave;
        ownDialog = fileDialog->testOption(QFileDialog::DontUseNativeDialog) &&
                    fileDialog->testOption(QFileDialog::DontConfirmOverwrite);
        ModalCatcher::pressKey(Qt::Key_Return)(dialog); // accepted unchanged
    });
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);

    QCOMPARE(directory, QDir(home.path()).absolutePath());
    QCOMPARE(selected, QStringList{home.filePath(QStringLiteral("NoName.txt"))});
    QCOMPARE(filters, QStringList{QStringLiteral("Текстовый файл (*.txt)")});
    QVERIFY(saveMode);
    QVERIFY(ownDialog);
    QVERIFY(QFile::exists(home.filePath(QStringLiteral("NoName.txt"))));
    verifyStartState(form);
}

void TestSave::nameUsedAsTyped()
{
    QTemporaryDir dir;
    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);
    saveTo(form, catcher, dir.filePath(QStringLiteral("report")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("report"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("report.txt"))));
}

void TestSave::cancelChangesNothing()
{
    const TemporaryHome home;
    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);
    const QString report = form.ResultEdit->toPlainText();
    catcher.queueAnswer(ModalCatcher::pressKey(Qt::Key_Escape));
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);

    QCOMPARE(catcher.count(), 1);
    QVERIFY(QDir(home.path()).isEmpty());
    verifyUnchanged(form, report);
}

// Qt's dialog first lists the last directory any Qt program visited. Listing
// /proc used to read /proc/kmsg to guess its type, which blocks for good (as
// root; others cannot open it). A hang here ends in the test's time limit.
void TestSave::rememberedDirectoryCannotHang()
{
    {
        QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
        settings.setValue(QStringLiteral("FileDialog/lastVisited"), QUrl::fromLocalFile("/proc"));
    }
    QTemporaryDir dir;
    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);
    saveTo(form, catcher, dir.filePath(QStringLiteral("report.txt")));
    verifyStartState(form);
}

void TestSave::existingFile_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("Return chooses the default, no") << "Return" << false;
    QTest::newRow("Escape means no") << "Escape" << false;
    QTest::newRow("no") << "&Нет" << false;
    QTest::newRow("yes replaces a longer file") << "&Да" << true;
}

void TestSave::existingFile()
{
    QFETCH(QString, answer);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.txt"));
    const QByteArray old(10000, 'x');
    writeFile(path, old);

    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);
    const QString report = form.ResultEdit->toPlainText();
    QStringList buttons;
    catcher.queueAnswer(ModalCatcher::chooseFile(path));
    catcher.queueAnswer([&](QDialog* dialog) {
        for (QAbstractButton* button : qobject_cast<QMessageBox*>(dialog)->buttons())
            buttons << button->text();
        if (answer == QLatin1String("Return"))
            ModalCatcher::pressKey(Qt::Key_Return)(dialog);
        else if (answer == QLatin1String("Escape"))
            ModalCatcher::pressKey(Qt::Key_Escape)(dialog);
        else
            clickButton(answer)(dialog);
    });
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);

    QCOMPARE(catcher.count(), 2);
    const ModalCatcher::Box& question = catcher.boxes().at(1);
    QCOMPARE(question.title, QStringLiteral("Такой файл уже существует!"));
    QCOMPARE(question.text, QStringLiteral("Перезаписать существующий файл?"));
    QCOMPARE(question.icon, int(QMessageBox::Warning));
    buttons.sort();
    QCOMPARE(buttons, (QStringList{"&Да", "&Нет"}));
    if (replaced) {
        QCOMPARE(readAll(path), report.toUtf8());
        verifyStartState(form);
    } else {
        QCOMPARE(readAll(path), old);
        verifyUnchanged(form, report);
    }
}

void TestSave::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("directory does not exist") << "missing";
    QTest::newRow("parent is a file") << "notadir";
    QTest::newRow("directory not writable") << "readonly";
    QTest::newRow("device that is always full") << "device";
    QTest::newRow("write fails midway") << "sizelimit";
}

void TestSave::failedSaveChangesNothing()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path;
    QByteArray old;
    if (kind == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("no/such/dir/report.txt"));
    } else if (kind == QLatin1String("readonly")) {
        // Permissions do not stop root; sysfs refuses new files even to root.
        if (geteuid() == 0) {
            path = QStringLiteral("/sys/zentu-report.txt");
        } else {
            const QString locked = dir.filePath(QStringLiteral("locked"));
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
            path = locked + QStringLiteral("/report.txt");
        }
    } else if (kind == QLatin1String("notadir")) {
        writeFile(dir.filePath(QStringLiteral("plain")), "x");
        path = dir.filePath(QStringLiteral("plain/report.txt"));
    } else if (kind == QLatin1String("device")) {
        // As root a copy of /dev/full in our own directory, so that a wrong
        // save could only ever replace that copy.
        path = QStringLiteral("/dev/full");
        if (geteuid() == 0) {
            path = dir.filePath(QStringLiteral("full"));
            QCOMPARE(mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)), 0);
        }
    } else {
        path = dir.filePath(QStringLiteral("old.txt"));
        old = QByteArray("an earlier report\n");
        writeFile(path, old);
    }

    ModalCatcher catcher;
    StudentForm form;
    calculate(form, workedSample1, workedSample2);
    const QString report = form.ResultEdit->toPlainText();
    catcher.queueAnswer(ModalCatcher::chooseFile(path));
    if (QFileInfo::exists(path))
        catcher.queueAnswer(clickButton(QStringLiteral("&Да")));

    rlimit saved{};
    if (kind == QLatin1String("sizelimit")) {
        // Files may grow to 100 bytes only; the report is longer.
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 100;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    QTest::mouseClick(form.SaveButton, Qt::LeftButton);
    if (kind == QLatin1String("sizelimit"))
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

    verifyUnchanged(form, report);
    QCOMPARE(catcher.count(), QFileInfo::exists(path) ? 2 : 1); // no error box of our own
    if (kind == QLatin1String("device")) {
        struct stat info
        {
        };
        QCOMPARE(stat(QFile::encodeName(path).constData(), &info), 0);
        QVERIFY(S_ISCHR(info.st_mode)); // still the device, not a regular file
    }
    if (kind == QLatin1String("sizelimit")) {
        QCOMPARE(readAll(path), old);
        // No temporary file left behind either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.txt"});
    }
}

QTEST_MAIN(TestSave)
#include "tst_save.moc"
