// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's standard options reach QApplication when the window starts; the
// program's own options, and its commands' GNU options, are read as before.
#include "app/QtOptions.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The built program with these arguments, on the offscreen platform; a
// window that starts reports itself shown and ends.
Run runProgram(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"QUILLKIT98_EXIT_WHEN_SHOWN"_s, u"1"_s);
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("QUILLKIT98"), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

} // namespace

class TestQtOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void qtOptionsAreSetAside_data();
    void qtOptionsAreSetAside();
    void windowStartsWithQtOptions_data();
    void windowStartsWithQtOptions();
    void commandsKeepTheirOptions_data();
    void commandsKeepTheirOptions();
};

void TestQtOptions::qtOptionsAreSetAside_data()
{
    QTest::addColumn<QStringList>("arguments");
    // The program's own arguments; empty with `error` set when refused.
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("error");
    const QString q = u"quillkit98"_s;
    QTest::newRow("style with its value")
        << QStringList{q, u"-style"_s, u"Fusion"_s, u"--no-splash"_s} << QStringList{q, u"--no-splash"_s} << QString();
    QTest::newRow("two dashes") << QStringList{q, u"--style"_s, u"Fusion"_s, u"--code-view"_s}
                                << QStringList{q, u"--code-view"_s} << QString();
    QTest::newRow("style joined") << QStringList{q, u"-style=Fusion"_s} << QStringList{q} << QString();
    QTest::newRow("style sheet, platform, reverse, geometry")
        << QStringList{q,
                       u"-stylesheet"_s,
                       u"a.qss"_s,
                       u"-platform"_s,
                       u"offscreen"_s,
                       u"-reverse"_s,
                       u"-qwindowgeometry"_s,
                       u"640x480+10+10"_s,
                       u"--dialect"_s,
                       u"gambas"_s}
        << QStringList{q, u"--dialect"_s, u"gambas"_s} << QString();
    // A value that looks like an option is still the option's value.
    QTest::newRow("value with a dash") << QStringList{q, u"-qwindowtitle"_s, u"--no-splash"_s} << QStringList{q}
                                       << QString();
    QTest::newRow("the program's own options untouched")
        << QStringList{q, u"--constants"_s, u"names"_s, u"--bogus"_s, u"-x"_s}
        << QStringList{q, u"--constants"_s, u"names"_s, u"--bogus"_s, u"-x"_s} << QString();
    QTest::newRow("style without its value")
        << QStringList{q, u"--no-splash"_s, u"-style"_s} << QStringList() << u"option '-style' requires an argument"_s;
    QTest::newRow("platform without its value")
        << QStringList{q, u"--platform"_s} << QStringList() << u"option '--platform' requires an argument"_s;
}

void TestQtOptions::qtOptionsAreSetAside()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, left);
    QFETCH(QString, error);
    QString said;
    const std::optional<QStringList> result = withoutQtOptions(arguments, &said);
    QCOMPARE(result.has_value(), error.isEmpty());
    QCOMPARE(said, error);
    if (result)
        QCOMPARE(*result, left);
}

void TestQtOptions::windowStartsWithQtOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("says");
    QTest::newRow("-style Fusion") << QStringList{u"-style"_s, u"Fusion"_s, u"--no-splash"_s} << 0 << QByteArray();
    QTest::newRow("--style=fusion") << QStringList{u"--style=fusion"_s, u"--no-splash"_s} << 0 << QByteArray();
    QTest::newRow("-reverse") << QStringList{u"--no-splash"_s, u"-reverse"_s} << 0 << QByteArray();
    QTest::newRow("-platform") << QStringList{u"-platform"_s, u"offscreen"_s, u"--no-splash"_s} << 0 << QByteArray();
    QTest::newRow("-qwindowgeometry with the code view")
        << QStringList{u"-qwindowgeometry"_s, u"900x600+0+0"_s, u"--no-splash"_s, u"--code-view"_s} << 0
        << QByteArray();
    QTest::newRow("-stylesheet") << QStringList{u"-stylesheet"_s, u"/dev/null"_s, u"--no-splash"_s} << 0
                                 << QByteArray();
    QTest::newRow("unknown option still refused")
        << QStringList{u"-style"_s, u"Fusion"_s, u"--bogus"_s} << 2 << QByteArray("unrecognized option '--bogus'");
    QTest::newRow("short letters still refused") << QStringList{u"-stxle"_s} << 2 << QByteArray("invalid option");
    QTest::newRow("value missing") << QStringList{u"--no-splash"_s, u"-stylesheet"_s} << 2
                                   << QByteArray("option '-stylesheet' requires an argument");
}

void TestQtOptions::windowStartsWithQtOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, says);
    if (qEnvironmentVariableIsEmpty("QUILLKIT98"))
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const Run run = runProgram(arguments);
    QVERIFY2(run.status == status, run.err.constData());
    if (status == 0) {
        QVERIFY2(run.out.startsWith("shown "), run.out.constData());
        QVERIFY2(!run.err.contains("quillkit98:"), run.err.constData());
    } else {
        QVERIFY2(run.err.contains(says), run.err.constData());
        QVERIFY(run.out.isEmpty());
    }
}

void TestQtOptions::commandsKeepTheirOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("says");
    // Qt's names mean nothing to the commands: refused in GNU words.
    QTest::newRow("generate") << QStringList{
        u"generate"_s, u"msgbox"_s, u"-style"_s,
        u"Fusion"_s} << QByteArray("quillkit98: unrecognized option '-style'\nTry 'quillkit98 generate msgbox --help'");
    QTest::newRow("read") << QStringList{u"read"_s, u"--reverse"_s}
                          << QByteArray("quillkit98: unrecognized option '--reverse'\nTry 'quillkit98 read --help'");
}

void TestQtOptions::commandsKeepTheirOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, says);
    if (qEnvironmentVariableIsEmpty("QUILLKIT98"))
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const Run run = runProgram(arguments);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith(says), run.err.constData());
}

QTEST_GUILESS_MAIN(TestQtOptions)
#include "tst_qtoptions.moc"
