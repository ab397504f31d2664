#include "app/CommandLine.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QStringList &arguments, const QByteArray &input = {})
{
    QBuffer out, err, in;
    in.setData(input);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    Run result;
    result.status = runCommandLine(QStringList{u"quillkit98"_s} + arguments, out, err, in);
    result.out = out.data();
    result.err = err.data();
    return result;
}

// Reads options the way a tool does, through a parser of its own.
struct Options
{
    QCommandLineParser parser;
    QBuffer input;
    ToolOptions options{parser, input};

    explicit Options(const QByteArray &stdinText = {})
    {
        input.setData(stdinText);
        input.open(QIODevice::ReadOnly);
        options.addText(u"title"_s, u"t"_s);
        options.addText(u"message"_s, u"m"_s, ToolOptions::Lines::Multi);
        options.addChoice(u"icon"_s, u"i"_s, {u"none"_s, u"error"_s});
        options.addFlag(u"declare"_s, u"d"_s);
        options.addRepeatedText(u"file-type"_s, u"f"_s);
    }
    bool parse(const QStringList &arguments) { return parser.parse(QStringList{u"q"_s} + arguments); }
};

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrorsExitTwoWithOneLine_data();
    void usageErrorsExitTwoWithOneLine();
    void helpListsEveryTool();
    void versionStatesTheLicence();
    void textOptions_data();
    void textOptions();
    void textOptionErrors_data();
    void textOptionErrors();
    void textFromStandardInputAndFile();
    void repeatedAndChoices();
    void binaryNeedsNoDisplay();
    void helpDocumentSitsBesideTheProgramAndNamesEveryOption();
};

void TestCommandLine::usageErrorsExitTwoWithOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("unknown tool") << QStringList{u"generate"_s, u"nosuchtool"_s} << u"nosuchtool"_s;
    QTest::newRow("no tool") << QStringList{u"generate"_s} << u"msgbox"_s;
    QTest::newRow("unknown option") << QStringList{u"generate"_s, u"msgbox"_s, u"--bogus"_s} << u"bogus"_s;
    QTest::newRow("stray argument") << QStringList{u"generate"_s, u"header"_s, u"extra"_s} << u"extra"_s;
    QTest::newRow("unknown top-level option") << QStringList{u"--bogus"_s, u"--help"_s} << u"bogus"_s;
    QTest::newRow("line break in a bad value")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--icon"_s, u"a\r\nb"_s} << u"'a\\r\\nb'"_s;
    QTest::newRow("line break in an unknown option")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--title.a\nb"_s} << u"title.a\\nb"_s;
}

void TestCommandLine::usageErrorsExitTwoWithOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run result = run(arguments);
    QCOMPARE(result.status, 2);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY2(QString::fromUtf8(result.err).contains(mentions), result.err.constData());
}

void TestCommandLine::helpListsEveryTool()
{
    const Run top = run({u"--help"_s});
    QCOMPARE(top.status, 0);
    for (const char *tool : {"msgbox", "inputbox", "header", "commondialog"}) {
        QVERIFY(top.out.contains(QByteArray("generate ").append(tool)));
        const Run own = run({u"generate"_s, QString::fromLatin1(tool), u"--help"_s});
        QCOMPARE(own.status, 0);
        QVERIFY(own.out.startsWith(QByteArray("Usage: quillkit98 generate ").append(tool)));
    }
}

void TestCommandLine::versionStatesTheLicence()
{
    for (const QString &option : {u"--version"_s, u"-v"_s}) {
        const Run version = run({option});
        QCOMPARE(version.status, 0);
        QVERIFY(version.err.isEmpty());
        const QList<QByteArray> lines = version.out.split('\n');
        QVERIFY(lines.first().startsWith("Quillkit 98, version "));
        QVERIFY(version.out.contains("GNU General Public License, version 3 or later"));
        QVERIFY(version.out.contains("NO WARRANTY"));
    }
}

void TestCommandLine::textOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("none given") << QStringList{} << u"<unset>"_s << u"<unset>"_s;
    QTest::newRow("empty values") << QStringList{u"--title="_s, u"--message"_s, u""_s} << u""_s << u""_s;
    QTest::newRow("LF becomes CR LF") << QStringList{u"--message"_s, u"a\nb"_s} << u"<unset>"_s << u"a\r\nb"_s;
    QTest::newRow("lone CR becomes CR LF") << QStringList{u"--message"_s, u"a\rb"_s} << u"<unset>"_s << u"a\r\nb"_s;
    QTest::newRow("CR LF kept") << QStringList{u"--message"_s, u"a\r\nb"_s} << u"<unset>"_s << u"a\r\nb"_s;
    QTest::newRow("dash value") << QStringList{u"--title"_s, u"-5"_s} << u"-5"_s << u"<unset>"_s;
    QTest::newRow("quotes kept") << QStringList{u"--title"_s, u"Say \"hi\""_s} << u"Say \"hi\""_s << u"<unset>"_s;
}

void TestCommandLine::textOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, title);
    QFETCH(QString, message);
    Options o;
    QVERIFY2(o.parse(arguments), qPrintable(o.parser.errorText()));
    QCOMPARE(o.options.text(u"title"_s).value_or(u"<unset>"_s), title);
    QCOMPARE(o.options.text(u"message"_s).value_or(u"<unset>"_s), message);
}

void TestCommandLine::textOptionErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("line break in single line") << QStringList{u"--title"_s, u"a\nb"_s} << u"title"_s << u"--title"_s;
    QTest::newRow("missing file") << QStringList{u"--message-file"_s, u"/no/such/file"_s} << u"message"_s
                                  << u"/no/such/file"_s;
    QTest::newRow("both forms") << QStringList{u"--title"_s, u"x"_s, u"--title-file"_s, u"-"_s} << u"title"_s
                                << u"--title-file"_s;
}

void TestCommandLine::textOptionErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, option);
    QFETCH(QString, mentions);
    Options o;
    QVERIFY(o.parse(arguments));
    try {
        (void)o.options.text(option);
        QFAIL("no error");
    } catch (const CliError &error) {
        QVERIFY2(error.message.contains(mentions), qPrintable(error.message));
    }
}

void TestCommandLine::textFromStandardInputAndFile()
{
    // The file's own final line break is not part of the text; others are.
    Options fromStdin("Line one\nLine \xe2\x80\x9ctwo\xe2\x80\x9d\n\n");
    QVERIFY(fromStdin.parse({u"--message-file"_s, u"-"_s}));
    QCOMPARE(*fromStdin.options.text(u"message"_s), u"Line one\r\nLine \u201ctwo\u201d\r\n"_s);

    QTemporaryFile file;
    QVERIFY(file.open());
    file.write("Caf\xc3\xa9\r\n");
    file.close();
    Options fromFile;
    QVERIFY(fromFile.parse({u"--title-file"_s, file.fileName()}));
    QCOMPARE(*fromFile.options.text(u"title"_s), u"Café"_s);
}

void TestCommandLine::repeatedAndChoices()
{
    Options o;
    QVERIFY(o.parse({u"--file-type"_s, u"txt"_s, u"--file-type"_s, u" TXT "_s, u"--file-type"_s, u"txt"_s,
                     u"--icon"_s, u"error"_s, u"--declare"_s}));
    QCOMPARE(o.options.texts(u"file-type"_s), (QStringList{u"txt"_s, u" TXT "_s, u"txt"_s}));
    QCOMPARE(o.options.choice(u"icon"_s).value(), u"error"_s);
    QVERIFY(o.options.flag(u"declare"_s));
    QCOMPARE(o.options.givenAmong({u"icon"_s, u"title"_s, u"declare"_s}), (QStringList{u"--icon"_s, u"--declare"_s}));

    Options bad;
    QVERIFY(bad.parse({u"--icon"_s, u"smiley"_s}));
    QVERIFY_THROWS_EXCEPTION(CliError, bad.options.choice(u"icon"_s));
}

void TestCommandLine::binaryNeedsNoDisplay()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    if (program.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(env);

    process.start(program, {u"generate"_s, u"nosuchtool"_s});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QCOMPARE(process.readAllStandardError(), QByteArray("quillkit98: generate: unknown tool 'nosuchtool'\n"));

    // The window needs a display: one clear line, no abort.
    process.start(program, {u"--no-splash"_s});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QByteArray err = process.readAllStandardError();
    QCOMPARE(err.count('\n'), 1);
    QVERIFY(err.contains("no display"));

    // An endless source ends in an error, not in filling the memory.
    process.start(program, {u"generate"_s, u"msgbox"_s, u"--message-file"_s, u"/dev/zero"_s});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(process.readAllStandardError().contains("--message-file"));

    // A display that is named but cannot be reached: the same, no abort.
    env.insert(u"DISPLAY"_s, u":4321"_s);
    process.setProcessEnvironment(env);
    process.start(program, {u"--no-splash"_s});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QByteArray unreachable = process.readAllStandardError();
    QCOMPARE(unreachable.count('\n'), 1);
    QVERIFY2(unreachable.contains("cannot open the display"), unreachable.constData());
}

void TestCommandLine::helpDocumentSitsBesideTheProgramAndNamesEveryOption()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    if (program.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QFile document(QFileInfo(program).dir().filePath(u"qkt98.html"_s));
    QVERIFY2(document.open(QIODevice::ReadOnly), qPrintable(document.fileName()));
    const QString html = QString::fromUtf8(document.readAll());
    for (const CliTool &tool : cliTools()) {
        QVERIFY2(html.contains(u"<code>%1</code>"_s.arg(tool.name)), qPrintable(tool.name));
        QCommandLineParser parser;
        QBuffer none;
        ToolOptions options(parser, none);
        tool.declare(options);
        for (const QString &name : options.names())
            QVERIFY2(html.contains(u"--"_s + name), qPrintable(tool.name + u" --"_s + name));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
