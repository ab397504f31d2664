// SPDX-License-Identifier: GPL-3.0-or-later
// Exit, Escape and closing the main window end the process, whatever
// windows were opened before, with no thread still running and no process
// left behind. Each case runs the program on the real platform in a child
// process (this test's own executable, started with "--child ENDING"),
// which opens every window the program has and then ends as told.

#include "app/MainWindow.h"
#include "app/StartUp.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QProcess>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <sys/prctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QWidget *widget(const QWidget *window, const QString &name)
{
    auto *found = window->findChild<QWidget *>(name);
    if (!found)
        qFatal("no widget named %s", qPrintable(name));
    return found;
}

void click(const QWidget *window, const QString &name, QPoint at = {})
{
    QWidget *target = widget(window, name);
    QTest::mouseClick(target, Qt::LeftButton, {}, at.isNull() ? target->rect().center() : at);
}

// Every window the program can open, each closed again as a user would.
void openEveryWindow(QWidget *window)
{
    click(window, u"cmdAbout"_s);
    click(window, u"cmdHelp"_s);

    click(window, u"cmdTest"_s); // the message box
    auto *notewright = static_cast<QTabWidget *>(widget(window, u"tabNotewright"_s));
    notewright->setCurrentIndex(3);
    auto *help = widget(window, u"chkHelpMsgBox"_s);
    click(window, u"chkHelpMsgBox"_s, QPoint(8, help->height() / 2));
    click(window, u"cmdBrowseMsgBox"_s); // the help-file chooser

    click(window, u"imgAskwright"_s);
    click(window, u"cmdTest"_s);
    click(window, u"imgTopwright"_s);
    click(window, u"cmdTest"_s); // the preview

    click(window, u"imgPickwright"_s);
    auto *pickwright = static_cast<QTabWidget *>(widget(window, u"tabPickwright"_s));
    for (int page = 0; page < pickwright->count(); ++page) {
        pickwright->setCurrentIndex(page);
        click(window, u"cmdTest"_s); // open, save, font, colour, printer
    }
    // Without printing to file, and with no printer, the printer dialog
    // cannot open and a message says so.
    auto *toFile = widget(window, u"chkPrintToFile"_s);
    click(window, u"chkPrintToFile"_s, QPoint(8, toFile->height() / 2));
    click(window, u"cmdTest"_s);
    click(window, u"imgNotewright"_s);
}

// The threads of this process a moment after the program ended. Qt's
// threads are detached: one that has finished its work may take a moment
// more to leave.
qsizetype threadsLeft()
{
    QElapsedTimer clock;
    clock.start();
    qsizetype count = 0;
    do {
        count = QDir(u"/proc/self/task"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
        if (count == 1)
            break;
        QThread::msleep(10);
    } while (clock.elapsed() < 2000);
    return count;
}

// The program as main() runs it, on the real platform, driven from inside.
int runChild(int argc, char **argv, const QString &ending)
{
    int status = -1;
    {
        QApplication app(argc, argv);
        QtPlatform platform;
        const auto window = startUp(platform, WindowOptions::withoutSplash());
        QWidget *main = window.get();

        // Whatever modal window opens is closed a moment later, as a user
        // would close it; what opened is reported. In the About box both
        // links are clicked first: the offscreen platform opens no mail
        // program or browser, as on a desktop without them.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                std::printf("closed %s %s\n", modal->metaObject()->className(), qPrintable(modal->windowTitle()));
                if (modal->objectName() == u"frmAbout"_s) {
                    // The links that the build names, if any.
                    for (const QString &link : {u"lblEMail"_s, u"lblWebSite"_s}) {
                        if (modal->findChild<QWidget *>(link))
                            click(modal, link);
                    }
                }
                if (auto *dialog = qobject_cast<QDialog *>(modal))
                    dialog->reject();
                else
                    modal->close();
            }
        });
        closer.start(20);

        QTimer::singleShot(0, main, [main, ending] {
            openEveryWindow(main);
            std::fflush(stdout);
            // The offscreen platform leaves no window active once a modal
            // one closes, where a desktop gives the main window back.
            main->activateWindow();
            if (!QTest::qWaitForWindowActive(main))
                qFatal("the main window cannot be activated");
            if (ending == u"exit"_s)
                click(main, u"cmdExit"_s);
            else if (ending == u"escape"_s)
                QTest::keyClick(main, Qt::Key_Escape);
            else
                main->close();
        });
        status = QApplication::exec();
    }
    std::printf("threads %lld\n", static_cast<long long>(threadsLeft()));
    return status;
}

// Processes whose parent is this one: the child's own children are handed
// here when it ends (this process is their subreaper).
QStringList childrenOfThisProcess()
{
    QStringList children;
    const QString self = QString::number(getpid());
    for (const QString &pid : QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(u"/proc/%1/status"_s.arg(pid));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(status.readAll());
        if (text.contains(u"\nPPid:\t"_s + self + u'\n'))
            children << text.section(u'\n', 0, 0);
    }
    return children;
}

} // namespace

class TestProgramEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void endsCompletely_data();
    void endsCompletely();
};

void TestProgramEnd::initTestCase()
{
    QVERIFY(prctl(PR_SET_CHILD_SUBREAPER, 1) == 0);
}

void TestProgramEnd::endsCompletely_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("Exit") << u"exit"_s;
    QTest::newRow("Escape") << u"escape"_s;
    QTest::newRow("closing the main window") << u"close"_s;
}

void TestProgramEnd::endsCompletely()
{
    QFETCH(QString, ending);
    QProcess program;
    program.start(QCoreApplication::applicationFilePath(), {u"--child"_s, ending});
    QVERIFY(program.waitForFinished(60'000));
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, qPrintable(err));

    // Every window opened, and was closed before the end.
    for (const char *shown : {"AboutBox", "BasicMessageBox", "QFileDialog", "InputBoxDialog", "HeaderPreview",
                              "QFontDialog", "QColorDialog"})
        QVERIFY2(out.contains(u"closed "_s + QString::fromLatin1(shown) + u' '), qPrintable(out));

    if (QPrinterInfo::availablePrinterNames().isEmpty())
        QVERIFY2(out.contains(u"closed BasicMessageBox Pickwright\n"_s), qPrintable(out));

    QVERIFY2(out.contains(u"threads 1\n"_s), qPrintable(out));
    QVERIFY2(!err.contains(u"QThread"_s), qPrintable(err));
    QCOMPARE(childrenOfThisProcess(), QStringList());
}

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    QApplication app(argc, argv);
    TestProgramEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programend.moc"
