// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/Vendor.h"
#include "app/Tools.h"
#include "cli/ToolOptions.h"
#include "codegen/BasicLimits.h"
#include "support/GenerateRun.h"
#include "tools/commondialog/CommonDialogGenerator.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

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

// Tests run by bash need a POSIX system.
#if defined(Q_OS_WIN)
#define SKIP_WITHOUT_POSIX_SHELL() QSKIP("runs the program from a POSIX shell")
#else
#define SKIP_WITHOUT_POSIX_SHELL() \
    do {                           \
    } while (false)
#endif

// The built program run by bash, which names it $Q: for what only a real
// process meets, such as closed or failing standard streams.
Run shell(const QString &script, const QStringList &environment = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"Q"_s, qEnvironmentVariable("QUILLKIT98"));
    for (const QString &setting : environment)
        env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    process.setProcessEnvironment(env);
    process.start(u"bash"_s, {u"-c"_s, script});
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

// Under the address sanitizer no limit on memory can be set: it reserves
// more address space than any such limit allows.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif
#else
constexpr bool AddressSanitizer = false;
#endif

bool builtProgramKnown()
{
    return !qEnvironmentVariableIsEmpty("QUILLKIT98");
}

// A run that failed as it should: the status, nothing on standard output,
// one line on standard error that mentions `mentions`.
bool failedWithOneLine(const Run &run, int status, const QByteArray &mentions)
{
    const bool ok = run.status == status && run.out.isEmpty() && run.err.count('\n') == 1 && run.err.endsWith('\n')
                    && run.err.contains(mentions);
    if (!ok)
        qWarning("status %d, out %lld bytes, err: %s", run.status, qlonglong(run.out.size()), run.err.constData());
    return ok;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrorsExitTwoAndPointToHelp_data();
    void usageErrorsExitTwoAndPointToHelp();
    void usageErrorsInGnuWords_data();
    void usageErrorsInGnuWords();
    void largeCodeIsWrittenWithOneWarning_data();
    void largeCodeIsWrittenWithOneWarning();
    void helpListsEveryTool();
    void versionStatesTheLicence();
    void contactLinesNameWhatIsSet_data();
    void contactLinesNameWhatIsSet();
    void textOptions_data();
    void textOptions();
    void textOptionErrors_data();
    void textOptionErrors();
    void textFromStandardInputAndFile();
    void repeatedAndChoices();
    void echoedValuesShowControlCharacters_data();
    void echoedValuesShowControlCharacters();
    void helpWrapsBetweenWords();
    void helpListsValuesAndOnlyOptionsThatApply();
    void writeFailuresAreErrors_data();
    void writeFailuresAreErrors();
    void readFailuresAreErrors_data();
    void readFailuresAreErrors();
    void outOfMemoryIsOneLine();
    void longTextsAreWrittenInBoundedMemory_data();
    void longTextsAreWrittenInBoundedMemory();
    void unknownPlatformPluginIsNamed();
    void topicUnderDecimalCommaLocale();
    void binaryNeedsNoDisplay();
    void helpDocumentSitsBesideTheProgramAndNamesEveryOption();
};

void TestCommandLine::usageErrorsExitTwoAndPointToHelp_data()
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
    QTest::newRow("two options read standard input")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--title-file"_s, u"-"_s, u"--message-file"_s, u"-"_s}
        << u"--message-file, --title-file cannot both read standard input"_s;
    QTest::newRow("three options read standard input")
        << QStringList{u"generate"_s, u"inputbox"_s, u"--title-file"_s, u"-"_s, u"--message-file"_s, u"-"_s,
                       u"--variable-file"_s, u"-"_s}
        << u"cannot all read standard input"_s;
    QTest::newRow("text given twice") << QStringList{u"generate"_s, u"msgbox"_s, u"--title"_s, u"a"_s, u"--title"_s, u"b"_s}
                                      << u"--title is given more than once"_s;
    QTest::newRow("file given twice")
        << QStringList{u"generate"_s, u"header"_s, u"--project-file"_s, u"-"_s, u"--project-file=-"_s}
        << u"--project-file is given more than once"_s;
    QTest::newRow("flag given twice")
        << QStringList{u"generate"_s, u"inputbox"_s, u"--declare"_s, u"--declare"_s} << u"--declare"_s;
    QTest::newRow("choice given twice, even alike")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--icon"_s, u"error"_s, u"--icon=error"_s} << u"--icon"_s;
    QTest::newRow("empty file name")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--message-file"_s, u""_s} << u"--message-file"_s;
    QTest::newRow("the object and a text both from standard input")
        << QStringList{u"generate"_s, u"--from-json"_s, u"-"_s, u"--message-file"_s, u"-"_s}
        << u"--from-json and --message-file cannot both read standard input"_s;
    QTest::newRow("the object from standard input by default, a text too")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--from-json=-"_s, u"--title-file=-"_s}
        << u"--from-json and --title-file cannot both"_s;
    QTest::newRow("read: a second tool")
        << QStringList{u"read"_s, u"--tool"_s, u"msgbox"_s, u"--tool"_s, u"header"_s}
        << u"read: --tool is given more than once"_s;
    QTest::newRow("read: a second file")
        << QStringList{u"read"_s, u"--file=a"_s, u"--file"_s, u"b"_s} << u"read: --file is given more than once"_s;
    QTest::newRow("a variable that is no BASIC name")
        << QStringList{u"generate"_s, u"inputbox"_s, u"--variable"_s, u"User Name"_s}
        << u"generate inputbox: --variable: "_s + codegen::identifierProblem(u"User Name");
    QTest::newRow("an empty variable")
        << QStringList{u"generate"_s, u"inputbox"_s, u"--declare"_s, u"--variable="_s} << u"--variable: "_s;
    QTest::newRow("a file type the filter cannot hold")
        << QStringList{u"generate"_s, u"commondialog"_s, u"--file-type"_s, u"txt"_s, u"--file-type"_s,
                       u"txt files"_s}
        << u"generate commondialog: --file-type: "_s + checkFileType(u"txt files").problem;
}

void TestCommandLine::largeCodeIsWrittenWithOneWarning_data()
{
    QTest::addColumn<QString>("message");
    QTest::newRow("well under the limit") << QString(30000, u'a');
    QTest::newRow("well over it") << QString(80000, u'a');
    // Fewer characters than the limit, more bytes: UTF-8 is what counts.
    QTest::newRow("over it in bytes only") << QString(40000, u'\u00e9');
}

void TestCommandLine::largeCodeIsWrittenWithOneWarning()
{
    QFETCH(QString, message);
    const Run result = run({u"generate"_s, u"msgbox"_s, u"--message-file"_s, u"-"_s}, message.toUtf8());
    QCOMPARE(result.status, 0);
    QVERIFY(result.out.startsWith("'*** Start MsgBox Code ***"));
    QCOMPARE(result.out.size() > codegen::BlockSizeLimit, !result.err.isEmpty());
    if (result.err.isEmpty())
        return;
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY2(result.err.startsWith("quillkit98: warning: "), result.err.constData());
    QVERIFY(result.err.contains(QByteArray(QByteArray::number((result.out.size() + 1023) / 1024) + " KB")));
}

void TestCommandLine::usageErrorsExitTwoAndPointToHelp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);
    const Run result = run(arguments);
    QCOMPARE(result.status, 2);
    QVERIFY(result.out.isEmpty());
    // One line of what is wrong, one of where the help is.
    const QStringList lines = QString::fromUtf8(result.err).split(u'\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines.at(0).startsWith(u"quillkit98: "_s) && lines.at(0).contains(mentions), result.err.constData());
    QVERIFY2(QRegularExpression(u"^Try 'quillkit98[a-z ]* --help' for more information\\.$"_s).match(lines.at(1)).hasMatch(),
             result.err.constData());
    QVERIFY(lines.at(2).isEmpty());
}

void TestCommandLine::usageErrorsInGnuWords_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString tryTop = u"Try 'quillkit98 --help' for more information.\n"_s;
    const QString tryMsgBox = u"Try 'quillkit98 generate msgbox --help' for more information.\n"_s;
    QTest::newRow("unknown option") << QStringList{u"generate"_s, u"msgbox"_s, u"--bogus"_s}
                                    << u"quillkit98: unrecognized option '--bogus'\n"_s + tryMsgBox;
    QTest::newRow("unknown option with a value") << QStringList{u"generate"_s, u"msgbox"_s, u"--bogus=1"_s}
                                                 << u"quillkit98: unrecognized option '--bogus'\n"_s + tryMsgBox;
    QTest::newRow("single dash, long") << QStringList{u"generate"_s, u"msgbox"_s, u"-bogus"_s}
                                       << u"quillkit98: unrecognized option '-bogus'\n"_s + tryMsgBox;
    QTest::newRow("value missing") << QStringList{u"generate"_s, u"msgbox"_s, u"--title"_s, u"T"_s, u"--icon"_s}
                                   << u"quillkit98: option '--icon' requires an argument\n"_s + tryMsgBox;
    QTest::newRow("a flag with a value")
        << QStringList{u"generate"_s, u"inputbox"_s, u"--declare=yes"_s}
        << u"quillkit98: option '--declare' doesn't allow an argument\n"
           u"Try 'quillkit98 generate inputbox --help' for more information.\n"_s;
    QTest::newRow("a value that looks like an option is a value")
        << QStringList{u"generate"_s, u"msgbox"_s, u"--icon"_s, u"--bogus"_s}
        << u"quillkit98: generate msgbox: invalid argument '--bogus' for '--icon'; valid arguments are none, "
           u"error, question, warning, information\n"_s + tryMsgBox;
    QTest::newRow("top level") << QStringList{u"--bogus"_s, u"--help"_s}
                               << u"quillkit98: unrecognized option '--bogus'\n"_s + tryTop;
    QTest::newRow("top level, a short one") << QStringList{u"-x"_s, u"--help"_s}
                                            << u"quillkit98: invalid option -- 'x'\n"_s + tryTop;
    QTest::newRow("no tool") << QStringList{u"generate"_s}
                             << u"quillkit98: generate: name a tool (msgbox, inputbox, header, commondialog)\n"
                                u"Try 'quillkit98 generate --help' for more information.\n"_s;
}

void TestCommandLine::usageErrorsInGnuWords()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const Run result = run(arguments);
    QCOMPARE(result.status, 2);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(QString::fromUtf8(result.err), error);
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
        const vendor::Contacts configured = vendor::configuredContacts();
        QCOMPARE(version.out.contains("Homepage: "), !configured.homepage.isEmpty());
        QCOMPARE(version.out.contains("Contact: "), !configured.contact.isEmpty());
        QVERIFY(!version.out.contains("example"));
    }
}

void TestCommandLine::contactLinesNameWhatIsSet_data()
{
    QTest::addColumn<QString>("homepage");
    QTest::addColumn<QString>("contact");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("target");
    QTest::newRow("neither") << QString() << QString() << QString() << QString();
    QTest::newRow("homepage") << u"https://q.test/"_s << QString() << u"Homepage: https://q.test/\n"_s << QString();
    QTest::newRow("mail") << QString() << u"a@q.test"_s << u"Contact: a@q.test\n"_s << u"mailto:a@q.test"_s;
    QTest::newRow("both, contact page") << u"https://q.test/"_s << u"https://q.test/c"_s
                                        << u"Homepage: https://q.test/\nContact: https://q.test/c\n"_s
                                        << u"https://q.test/c"_s;
    QTest::newRow("mailto kept") << QString() << u"mailto:a@q.test"_s << u"Contact: mailto:a@q.test\n"_s
                                 << u"mailto:a@q.test"_s;
}

void TestCommandLine::contactLinesNameWhatIsSet()
{
    QFETCH(QString, homepage);
    QFETCH(QString, contact);
    QFETCH(QString, lines);
    QFETCH(QString, target);
    const vendor::Contacts contacts{homepage, contact};
    QCOMPARE(vendor::contactLines(contacts), lines);
    QCOMPARE(contacts.contactTarget(), target);
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

    // A repeatable option may come again; no other may.
    o.options.checkGiven();

    Options bad;
    QVERIFY(bad.parse({u"--icon"_s, u"smiley"_s}));
    QVERIFY_THROWS_EXCEPTION(CliError, bad.options.choice(u"icon"_s));
}

void TestCommandLine::echoedValuesShowControlCharacters_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("terminal title") << u"\x1b]0;pwned\x07"_s << u"\\e]0;pwned\\a"_s;
    QTest::newRow("CR LF tab") << u"a\r\n\tb"_s << u"a\\r\\n\\tb"_s;
    QTest::newRow("other C0") << u"\x01\x1f"_s << u"\\x01\\x1f"_s;
    QTest::newRow("DEL") << u"x\x7f"_s << u"x\\x7f"_s;
    QTest::newRow("C1 next line") << u"\u0085"_s << u"\\x85"_s;
    QTest::newRow("C1 control sequence introducer") << u"\u009b31m"_s << u"\\x9b31m"_s;
    QTest::newRow("line separator") << u"a\u2028b"_s << u"a\\u2028b"_s;
    QTest::newRow("paragraph separator") << u"\u2029"_s << u"\\u2029"_s;
    QTest::newRow("printable kept") << u"caf\u00e9 \U0001F600 \\"_s << u"caf\u00e9 \U0001F600 \\"_s;
}

void TestCommandLine::echoedValuesShowControlCharacters()
{
    QFETCH(QString, value);
    QFETCH(QString, shown);
    const Run result = run({u"generate"_s, value});
    QCOMPARE(result.status, 2);
    QCOMPARE(QString::fromUtf8(result.err), u"quillkit98: generate: unknown tool '%1'\n"
                                             u"Try 'quillkit98 generate --help' for more information.\n"_s.arg(shown));

    // The window's own check of its options echoes alike.
    if (!builtProgramKnown())
        return;
    QProcess process;
    process.start(qEnvironmentVariable("QUILLKIT98"), {value});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             u"quillkit98: unexpected argument '%1'\nTry 'quillkit98 --help' for more information.\n"_s.arg(shown));
}

// Lines break between words, or between choices after a "|", never inside
// one: joined up again, each option's row reads as declared.
void TestCommandLine::helpWrapsBetweenWords()
{
    const Run all = run({u"--help"_s});
    QCOMPARE(all.status, 0);
    const QString text = QString::fromUtf8(all.out);
    for (const QString &line : text.split(u'\n'))
        QVERIFY2(line.size() <= 80, qPrintable(line));
    QString joined = text;
    static const QRegularExpression breakAfterBar(u"\\|\\n +"_s);
    static const QRegularExpression blanks(u"\\s+"_s);
    joined.replace(breakAfterBar, u"|"_s).replace(blanks, u" "_s);

    for (const Tool &descriptor : tools()) {
        const CliTool &tool = descriptor.cli;
        QCommandLineParser parser;
        QBuffer none;
        ToolOptions options(parser, none);
        tool.declare(options);
        for (const auto &[names, description] : options.helpRows()) {
            QString row = names + u' ' + description;
            row.replace(blanks, u" "_s);
            QVERIFY2(joined.contains(row), qPrintable(row));
        }
        QVERIFY2(joined.contains(tool.name + u' ' + tool.summary), qPrintable(tool.name));
    }
    QVERIFY(joined.contains(u"--buttons <ok|okcancel|abortretryignore|yesnocancel|yesno|retrycancel> The buttons"_s));

    // A narrow line keeps whole words and choices, even where a name is
    // longer than the line.
    const QString narrow = helpColumns({{u"--buttons <ok|okcancel|abortretryignore|yesnocancel>"_s,
                                         u"The buttons, as the box shows them, left to right."_s}},
                                       40);
    QCOMPARE(narrow, u"  --buttons <ok|okcancel|\n"
                     u"    abortretryignore|yesnocancel>\n"
                     u"    The buttons, as the box shows them,\n"
                     u"    left to right.\n"_s);
}

void TestCommandLine::helpListsValuesAndOnlyOptionsThatApply()
{
    const QString top = QString::fromUtf8(run({u"--help"_s}).out);
    const QString window = top.section(u"Window options:"_s, 1).section(u"\nOptions:"_s, 0, 0);
    QVERIFY2(window.contains(u"--constants <numbers|names>"_s), qPrintable(window));
    QVERIFY2(window.contains(u"--dialect <vb|libreoffice|gambas>"_s), qPrintable(window));

    // Only the message box's code changes with --constants: the other tools
    // take it, and say nothing of it.
    for (const QString &tool : {u"msgbox"_s, u"inputbox"_s, u"header"_s, u"commondialog"_s}) {
        const QString help = QString::fromUtf8(run({u"generate"_s, tool, u"--help"_s}).out);
        const bool ownsConstants = tool == u"msgbox"_s;
        QVERIFY2(help.contains(u"--constants"_s) == ownsConstants, qPrintable(help));
        QVERIFY2(help.contains(u"message box's"_s) == ownsConstants, qPrintable(help));
        const Run taken = run({u"generate"_s, tool, u"--constants"_s, u"names"_s});
        QCOMPARE(taken.status, 0);
        if (!ownsConstants)
            QCOMPARE(taken.out, run({u"generate"_s, tool}).out);
    }
}

void TestCommandLine::writeFailuresAreErrors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    // Output larger than a pipe holds, so that the writer meets the closed
    // end however the two processes are scheduled.
    const QString large = u"head -c 3000000 /dev/zero | tr '\\0' a | "_s;
    const QString closedReader = u" | (exec <&-; sleep 1)"_s;
    QTest::newRow("full device") << u"\"$Q\" generate msgbox --title x >/dev/full"_s << 1;
    QTest::newRow("help to a full device") << u"\"$Q\" --help >/dev/full"_s << 1;
    QTest::newRow("tool help to a full device") << u"\"$Q\" generate header --help >/dev/full"_s << 1;
    QTest::newRow("version to a full device") << u"\"$Q\" --version >/dev/full"_s << 1;
    QTest::newRow("closed output") << u"\"$Q\" generate msgbox --title x >&-"_s << 1;
    QTest::newRow("broken pipe, SIGPIPE ignored")
        << u"set -o pipefail; trap '' PIPE; "_s + large + u"\"$Q\" generate msgbox --message-file -"_s + closedReader
        << 1;
    // The reader takes a part and goes: the rest meets the closed end.
    QTest::newRow("broken pipe after a part, SIGPIPE ignored")
        << u"set -o pipefail; trap '' PIPE; "_s + large + u"\"$Q\" generate msgbox --message-file - | head -c 100000 >/dev/null"_s
        << 1;
    QTest::newRow("broken pipe, SIGPIPE default")
        << u"set -o pipefail; "_s + large + u"env --default-signal=PIPE \"$Q\" generate msgbox --message-file -"_s
               + closedReader
        << 128 + 13;
}

void TestCommandLine::writeFailuresAreErrors()
{
    SKIP_WITHOUT_POSIX_SHELL();
    QFETCH(QString, script);
    QFETCH(int, status);
    if (!builtProgramKnown())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const Run result = shell(script);
    if (status == 128 + 13) {
        // Killed by the signal as any filter would be: no complaint.
        QCOMPARE(result.status, status);
        QVERIFY(result.err.isEmpty());
        return;
    }
    QVERIFY(failedWithOneLine(result, status, "quillkit98: cannot write the output: "));
    // Says why, as the system names it, never "Unknown error".
    if (QByteArray(QTest::currentDataTag()).startsWith("broken pipe"))
        QVERIFY2(result.err.contains("Broken pipe"), result.err.constData());
}

void TestCommandLine::readFailuresAreErrors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QByteArray>("mentions");
    // As the system names the failure, the file as given, standard input "-".
    QTest::newRow("standard input is a directory")
        << u"\"$Q\" generate msgbox --message-file - </"_s << QByteArray("quillkit98: -: Is a directory\n");
    QTest::newRow("closed standard input")
        << u"\"$Q\" generate inputbox --title-file - <&-"_s << QByteArray("quillkit98: -: Bad file descriptor\n");
    QTest::newRow("file fails as it is read")
        << u"\"$Q\" generate msgbox --message-file /proc/self/mem"_s << QByteArray("quillkit98: /proc/self/mem: ");
    QTest::newRow("a directory") << u"\"$Q\" generate msgbox --title-file /"_s
                                 << QByteArray("quillkit98: /: Is a directory\n");
    QTest::newRow("no such file") << u"\"$Q\" generate header --project-file /no/such"_s
                                  << QByteArray("quillkit98: /no/such: No such file or directory\n");
    QTest::newRow("read: closed standard input, no --file given")
        << u"\"$Q\" read <&-"_s << QByteArray("quillkit98: -: Bad file descriptor\n");
    QTest::newRow("read: a directory") << u"\"$Q\" read --file /"_s << QByteArray("quillkit98: /: Is a directory\n");
    QTest::newRow("read: refused, in a file")
        << u"printf 'x = 1\\nMsgBox \"Hi \" & UserName\\n' >\"$T\" && \"$Q\" read --file \"$T\"; s=$?; rm -f \"$T\"; exit $s"_s
        << QByteArray(":2:16: UserName is a variable; the message can only hold fixed text\n");
}

void TestCommandLine::readFailuresAreErrors()
{
    SKIP_WITHOUT_POSIX_SHELL();
    QFETCH(QString, script);
    QFETCH(QByteArray, mentions);
    if (!builtProgramKnown())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const QString file = QDir::temp().filePath(u"quillkit98-read-%1.bas"_s.arg(QCoreApplication::applicationPid()));
    const Run result = shell(script, {u"T="_s + file});
    QVERIFY(failedWithOneLine(result, 2, mentions));
    // Nothing blames an option that was not given.
    QVERIFY2(!result.err.contains("--file"), result.err.constData());
    if (QByteArray(QTest::currentDataTag()).contains("in a file"))
        QVERIFY2(result.err.startsWith(QByteArray(file.toUtf8() + ':')), result.err.constData());
}

// The memory is bounded for the test; a text whose code needs more than
// that is one line and status 2, never an abort.
void TestCommandLine::outOfMemoryIsOneLine()
{
    SKIP_WITHOUT_POSIX_SHELL();
    if (AddressSanitizer)
        QSKIP("the address sanitizer needs more address space than the test allows");
    if (!builtProgramKnown())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const QString file = QDir::temp().filePath(u"quillkit98-quotes-%1"_s.arg(QCoreApplication::applicationPid()));
    // A title of 60 MiB of quotation marks: as bytes and as UTF-16 it takes
    // 180 MB before any code is written.
    const Run result = shell(u"head -c 62914560 /dev/zero | tr '\\0' '\"' >\"$T\" && ulimit -v 200000 && "
                             u"\"$Q\" generate commondialog --title-file \"$T\"; status=$?; rm -f \"$T\"; exit $status"_s,
                             {u"T="_s + file});
    QVERIFY(failedWithOneLine(result, 2, "quillkit98: out of memory"));
}

// Code is written as it is laid out, for every tool and dialect: 20 MiB of
// quotation marks, each several characters of code, never has all its code
// in memory at once (nor in time that grows with its square).
void TestCommandLine::longTextsAreWrittenInBoundedMemory_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<qint64>("leastBytes");
    QTest::addColumn<QByteArray>("end");
    constexpr qint64 MiB20 = 20971520;
    QTest::newRow("message, vb") << u"msgbox --message-file"_s << 15 * MiB20 << QByteArray("'*** End Notewright Code ***");
    QTest::newRow("message, gambas") << u"msgbox --dialect gambas --message-file"_s << 2 * MiB20
                                     << QByteArray("'*** End Notewright Code ***");
    QTest::newRow("default answer, gambas")
        << u"inputbox --dialect gambas --default-answer-file"_s << 2 * MiB20 << QByteArray("'*** End Askwright Code ***");
    QTest::newRow("description, a word longer than a line")
        << u"header --description-file"_s << MiB20 << QByteArray("\"\r\n'" + QByteArray(79, '*'));
    QTest::newRow("dialog title, vb") << u"commondialog --title-file"_s << 2 * MiB20
                                      << QByteArray("'*** End Pickwright Code ***\r\n");
    QTest::newRow("dialog title, libreoffice") << u"commondialog --dialect libreoffice --title-file"_s << 2 * MiB20
                                               << QByteArray("'*** End Pickwright Code ***\r\n");
    QTest::newRow("default extension, gambas") << u"commondialog --dialect gambas --dialog save --default-ext-file"_s
                                               << 2 * MiB20 << QByteArray("'*** End Pickwright Code ***\r\n");
}

void TestCommandLine::longTextsAreWrittenInBoundedMemory()
{
    SKIP_WITHOUT_POSIX_SHELL();
    if (AddressSanitizer)
        QSKIP("the address sanitizer needs more address space than the test allows");
    QFETCH(QString, arguments);
    QFETCH(qint64, leastBytes);
    QFETCH(QByteArray, end);
    if (!builtProgramKnown())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const QString file = QDir::temp().filePath(u"quillkit98-quotes-%1"_s.arg(QCoreApplication::applicationPid()));
    // Writing all the code at once took 300 MB and more.
    const Run run = shell(u"head -c 20971520 /dev/zero | tr '\\0' '\"' >\"$T\" && ulimit -v 300000 && "
                          u"\"$Q\" generate $A \"$T\" >\"$T.bas\"; status=$?; "
                          u"wc -c <\"$T.bas\"; tail -c %1 \"$T.bas\"; rm -f \"$T\" \"$T.bas\"; exit $status"_s.arg(end.size()),
                          {u"T="_s + file, u"A="_s + arguments});
    QVERIFY2(run.status == 0, run.err.constData());
    const qsizetype lineEnd = run.out.indexOf('\n');
    QVERIFY2(run.out.left(lineEnd).trimmed().toLongLong() >= leastBytes, run.out.left(200).constData());
    QCOMPARE(run.out.mid(lineEnd + 1), end);
}

void TestCommandLine::unknownPlatformPluginIsNamed()
{
    SKIP_WITHOUT_POSIX_SHELL();
    if (!builtProgramKnown())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    const Run result = shell(u"\"$Q\" --no-splash"_s, {u"QT_QPA_PLATFORM=bogus"_s});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.err.count('\n'), 1);
    QVERIFY2(result.err.startsWith("quillkit98: the platform plugin 'bogus' is missing or unknown"),
             result.err.constData());
    QVERIFY2(!result.err.contains("DISPLAY"), result.err.constData());
}

// The program takes its locale from the environment; Val's point stays ".".
void TestCommandLine::topicUnderDecimalCommaLocale()
{
    SKIP_WITHOUT_POSIX_SHELL();
    if (!builtProgramKnown())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QTemporaryDir locales;
    QVERIFY(locales.isValid());
    const Run built = shell(u"localedef -i tr_TR -f UTF-8 \"$L/tr_TR.UTF-8\""_s, {u"L="_s + locales.path()});
    if (built.status != 0 || !QFileInfo::exists(locales.filePath(u"tr_TR.UTF-8"_s)))
        QSKIP("localedef cannot build tr_TR here");
    const Run result = shell(u"\"$Q\" generate msgbox --help-button --help-file a.hlp --topic 12.75e1; echo; "
                             u"\"$Q\" generate inputbox --help-button --help-file a.hlp --topic ' 1.5'"_s,
                             {u"LOCPATH="_s + locales.path(), u"LC_ALL=tr_TR.UTF-8"_s});
    QCOMPARE(result.status, 0);
    QVERIFY2(result.out.contains("\"a.hlp\", 127.5\r\n"), result.out.constData());
    QVERIFY2(result.out.contains("\"a.hlp\", 1.5"), result.out.constData());
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
    QCOMPARE(process.readAllStandardError(), QByteArray("quillkit98: generate: unknown tool 'nosuchtool'\n"
                                                        "Try 'quillkit98 generate --help' for more information.\n"));

#if defined(Q_OS_UNIX)
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
    QVERIFY(process.readAllStandardError().contains("/dev/zero: holds more than 64 MiB of text"));

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
#endif
}

void TestCommandLine::helpDocumentSitsBesideTheProgramAndNamesEveryOption()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    if (program.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QFile document(QFileInfo(program).dir().filePath(u"qkt98.html"_s));
    QVERIFY2(document.open(QIODevice::ReadOnly), qPrintable(document.fileName()));
    const QString html = QString::fromUtf8(document.readAll());
    for (const Tool &descriptor : tools()) {
        const CliTool &tool = descriptor.cli;
        QVERIFY2(html.contains(u"<code>%1</code>"_s.arg(tool.name)), qPrintable(tool.name));
        const GenerateRun help = runGenerate(tool.name, {u"--help"_s});
        static const QRegularExpression option(u"--[a-z-]+"_s);
        for (const QRegularExpressionMatch &match : option.globalMatch(help.out)) {
            const QString name = match.captured();
            if (name != u"--help"_s && !name.endsWith(u"-file"_s))
                QVERIFY2(html.contains(name), qPrintable(tool.name + u' ' + name));
        }
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
