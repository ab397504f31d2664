// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QTest>

// Windows names its code pages; iconv names the encodings elsewhere.
#if defined(Q_OS_WIN)
#define UNKNOWN_ENCODING_HINT                                                                                          \
    "Windows knows: name a code page (windows-1251, CP850, ISO-8859-5, SHIFT_JIS, UTF-16LE, ...)"
#else
#define UNKNOWN_ENCODING_HINT "this system knows (iconv -l lists them)"
#endif

using namespace Qt::StringLiterals;

namespace {

QJsonObject json(const QByteArray &bytes)
{
    return QJsonDocument::fromJson(bytes).object();
}

} // namespace

class TestReadCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // generate, read, generate --from-json: the same code again, for every
    // tool, and every option in the object.
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("generate");
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<QString>("dialect");

        const QStringList help{u"help-button"_s, u"help-file"_s, u"app-path"_s, u"topic"_s};
        QTest::newRow("msgbox")
            << QStringList{u"msgbox"_s, u"--message=Save \"it\"?\nNow"_s, u"--title=T"_s, u"--buttons=yesnocancel"_s,
                           u"--icon=question"_s, u"--default=3"_s, u"--system-modal"_s, u"--help-button"_s,
                           u"--help-file=a.hlp"_s, u"--app-path"_s, u"--topic=42"_s}
            << QStringList{u"message"_s, u"title"_s, u"icon"_s, u"buttons"_s, u"default"_s, u"system-modal"_s,
                           u"constants"_s} + help << u"vb"_s;
        QTest::newRow("inputbox")
            << QStringList{u"inputbox"_s, u"--message=Name?"_s, u"--title=-T-"_s, u"--default-answer=x"_s,
                           u"--variable=UserName"_s, u"--declare"_s}
            << QStringList{u"message"_s, u"title"_s, u"default-answer"_s, u"variable"_s, u"declare"_s} + help << u"vb"_s;
        QTest::newRow("header")
            << QStringList{u"header"_s, u"--project=P"_s, u"--program=Q"_s, u"--version=1"_s, u"--date="_s,
                           u"--copyright=C"_s, u"--description=D"_s}
            << QStringList{u"project"_s, u"program"_s, u"version"_s, u"date"_s, u"copyright"_s, u"description"_s} << u"vb"_s;
        QTest::newRow("commondialog save")
            << QStringList{u"commondialog"_s, u"--dialog=save"_s, u"--title="_s, u"--default-ext=txt"_s,
                           u"--file-type=txt"_s, u"--file-type=bas"_s}
            << QStringList{u"dialog"_s, u"title"_s, u"default-ext"_s, u"file-type"_s, u"fonts"_s,
                           u"no-custom-colors"_s, u"no-print-to-file"_s} << u"vb"_s;
        QTest::newRow("commondialog color")
            << QStringList{u"commondialog"_s, u"--dialog=color"_s, u"--no-custom-colors"_s}
            << QStringList{u"dialog"_s, u"title"_s, u"default-ext"_s, u"file-type"_s, u"fonts"_s,
                           u"no-custom-colors"_s, u"no-print-to-file"_s} << u"vb"_s;
        // Gambas's code, read by its own forms and escapes.
        const QStringList dialog{u"dialog"_s, u"title"_s, u"default-ext"_s, u"file-type"_s, u"fonts"_s,
                                 u"no-custom-colors"_s, u"no-print-to-file"_s};
        QTest::newRow("msgbox, gambas")
            << QStringList{u"msgbox"_s, u"--message=C:\\dir\\ \"it\"\n\tNow"_s, u"--title=T\\"_s, u"--buttons=abortretryignore"_s,
                           u"--icon=information"_s, u"--default=2"_s, u"--help-button"_s, u"--help-file=a.hlp"_s,
                           u"--dialect=gambas"_s}
            << QStringList{u"message"_s, u"title"_s, u"icon"_s, u"buttons"_s, u"default"_s, u"system-modal"_s,
                           u"constants"_s} + help << u"gambas"_s;
        QTest::newRow("inputbox, gambas")
            << QStringList{u"inputbox"_s, u"--message=Name\\?"_s, u"--title=\"T\""_s, u"--default-answer=x"_s,
                           u"--variable=UserName"_s, u"--declare"_s, u"--dialect=gambas"_s}
            << QStringList{u"message"_s, u"title"_s, u"default-answer"_s, u"variable"_s, u"declare"_s} + help
            << u"gambas"_s;
        QTest::newRow("commondialog save, gambas")
            << QStringList{u"commondialog"_s, u"--dialog=save"_s, u"--title=S"_s, u"--default-ext=txt"_s,
                           u"--file-type=txt"_s, u"--file-type=bas"_s, u"--dialect=gambas"_s}
            << dialog << u"gambas"_s;
        QTest::newRow("commondialog printer, gambas")
            << QStringList{u"commondialog"_s, u"--dialog=printer"_s, u"--no-print-to-file"_s, u"--dialect=gambas"_s}
            << dialog << u"gambas"_s;
    }

    void roundTrip()
    {
        QFETCH(QStringList, generate);
        QFETCH(QStringList, members);
        QFETCH(QString, dialect);
        const Run code = run(QStringList{u"generate"_s} + generate);
        QCOMPARE(code.status, 0);

        const Run read = run({u"read"_s}, code.out);
        QCOMPARE(read.status, 0);
        QVERIFY(read.err.isEmpty());
        const QJsonObject object = json(read.out);
        QCOMPARE(object.value(u"tool"_s).toString(), generate.first());
        QCOMPARE(object.size(), members.size() + 2);
        QCOMPARE(object.value(u"dialect"_s).toString(), dialect);
        for (const QString &member : members)
            QVERIFY2(object.contains(member), qPrintable(member));

        const Run again = run({u"generate"_s, u"--from-json"_s, u"-"_s}, read.out);
        QCOMPARE(again.err, QByteArray());
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out, code.out);

        // From a file, with the tool named as well.
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(read.out);
        file.close();
        const Run named = run({u"generate"_s, generate.first(), u"--from-json="_s + file.fileName()});
        QCOMPARE(named.out, code.out);
    }

    // read, then generate --from-json - --constants names: old numeric code
    // comes back with names, and otherwise as the tool writes those fields.
    // Without code the old code is the tool's own in numbers.
    void rewriteWithNames_data()
    {
        QTest::addColumn<QByteArray>("oldCode");
        QTest::addColumn<QStringList>("fields");

        // Past one line's length, and past what one statement can hold.
        const QString longMessage = QString(u"Line \"one\" & more\n"_s).repeated(2500);
        const QString longPath = u"\\help\\"_s + QString(30000, u'h') + u".hlp"_s;

        QTest::newRow("hand-written If with numbers")
            << QByteArray("If MsgBox(\"Delete \" & Chr$(34) & \"x\" & Chr$(34) & \"?\", 36) = 6 Then Kill f\r\n")
            << QStringList{u"msgbox"_s, u"--message=Delete \"x\"?"_s, u"--buttons=yesno"_s, u"--icon=question"_s};
        QTest::newRow("hex flags, a second default, a title")
            << QByteArray("Dim r As Integer\r\nr = MsgBox(\"Save?\", &H1124, \"Confirm\")\r\nIf r = 6 Then Save\r\n")
            << QStringList{u"msgbox"_s,         u"--message=Save?"_s, u"--buttons=yesno"_s, u"--icon=question"_s,
                           u"--default=2"_s,    u"--title=Confirm"_s, u"--system-modal"_s};
        QTest::newRow("text built in a variable, an OK box")
            << QByteArray("Dim s As String\r\ns = \"Disk full.\"\r\ns = s & vbCrLf & \"Free some space.\"\r\n"
                          "MsgBox s, 48, \"Error\"\r\n")
            << QStringList{u"msgbox"_s, u"--message=Disk full.\nFree some space."_s, u"--icon=warning"_s,
                           u"--title=Error"_s};
        QTest::newRow("the tool's own long code in numbers")
            << QByteArray()
            << QStringList{u"msgbox"_s,           u"--message="_s + longMessage, u"--title="_s + QString(2000, u't'),
                           u"--buttons=abortretryignore"_s, u"--icon=error"_s, u"--default=3"_s};
        QTest::newRow("the tool's own code with a long help file beside the program")
            << QByteArray()
            << QStringList{u"msgbox"_s,          u"--message=Help?"_s, u"--buttons=okcancel"_s, u"--help-button"_s,
                           u"--help-file="_s + longPath, u"--app-path"_s, u"--topic=12"_s};
        QTest::newRow("an input box has no constants: unchanged")
            << QByteArray() << QStringList{u"inputbox"_s, u"--message="_s + longMessage, u"--variable=Answer"_s};
    }

    void rewriteWithNames()
    {
        QFETCH(QByteArray, oldCode);
        QFETCH(QStringList, fields);
        if (oldCode.isEmpty()) {
            const Run old = run(QStringList{u"generate"_s} + fields + QStringList{u"--constants=numbers"_s});
            QCOMPARE(old.status, 0);
            oldCode = old.out;
        }
        const Run read = run({u"read"_s}, oldCode);
        QCOMPARE(read.err, QByteArray());
        QCOMPARE(read.status, 0);
        if (fields.first() == u"msgbox"_s)
            QCOMPARE(json(read.out).value(u"constants"_s).toString(), u"numbers"_s);

        const Run rewritten = run({u"generate"_s, u"--from-json"_s, u"-"_s, u"--constants"_s, u"names"_s}, read.out);
        const Run expected = run(QStringList{u"generate"_s} + fields + QStringList{u"--constants=names"_s});
        QCOMPARE(expected.status, 0);
        // Long code comes with the same warning of its size, and only that.
        QCOMPARE(rewritten.err, expected.err);
        QCOMPARE(rewritten.status, 0);
        QCOMPARE(rewritten.out, expected.out);

        // Reading the new code gives the same fields, now written with names.
        QJsonObject before = json(read.out);
        QJsonObject after = json(run({u"read"_s}, rewritten.out).out);
        if (fields.first() == u"msgbox"_s) {
            QCOMPARE(after.value(u"constants"_s).toString(), u"names"_s);
            QVERIFY(!rewritten.out.contains("Case 6") && !rewritten.out.contains("Case 2"));
            before.remove(u"constants"_s);
            after.remove(u"constants"_s);
        }
        QCOMPARE(after, before);
    }

    void readOptions()
    {
        const QByteArray code = "MsgBox \"a\"\r\nx = InputBox(\"b\")\r\n";
        QCOMPARE(json(run({u"read"_s}, code).out).value(u"tool"_s).toString(), u"msgbox"_s);
        const Run input = run({u"read"_s, u"--tool"_s, u"inputbox"_s}, code);
        QCOMPARE(input.status, 0);
        QCOMPARE(json(input.out).value(u"message"_s).toString(), u"b"_s);

        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("\xEF\xBB\xBFMsgBox \"\xC3\xA9\", vbYesNo");
        file.close();
        const Run fromFile = run({u"read"_s, u"--file"_s, file.fileName()});
        QCOMPARE(fromFile.status, 0);
        QCOMPARE(json(fromFile.out).value(u"message"_s).toString(), u"\u00e9"_s);
        QCOMPARE(json(fromFile.out).value(u"constants"_s).toString(), u"names"_s);
    }

    void readFailures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("error");

        // Refusals name their place as a compiler does: FILE:LINE:COLUMN,
        // standard input as "-"; mistakes in the command point to the help.
        const QByteArray tryHelp("Try 'quillkit98 read --help' for more information.\n");
        QTest::newRow("refused code") << QStringList{u"read"_s} << QByteArray("\nMsgBox \"Hi \" & UserName\n")
                                      << QByteArray("-:2:16: UserName is a variable; "
                                                    "the message can only hold fixed text\n");
        // What is read must go back through generate --from-json.
        QTest::newRow("a value the tool refuses")
            << QStringList{u"read"_s}
            << QByteArray("FilePicker = CreateUnoService(\"com.sun.star.ui.dialogs.FilePicker\")\n"
                          "FilePicker.initialize(Array(com.sun.star.ui.dialogs.TemplateDescription.FILEOPEN_SIMPLE))\n"
                          "FilePicker.setTitle(\"Open\")\nFilePicker.appendFilter(\"a b Files\", \"*.a b\")\n"
                          "If FilePicker.execute() = com.sun.star.ui.dialogs.ExecutableDialogResults.OK Then\nEnd If\n")
            << QByteArray("-:1:1: the code holds what the tool cannot: --file-type: A file type is one extension, "
                          "such as txt, without a space: 'a b' cannot be one.\n");
        QTest::newRow("nothing to read") << QStringList{u"read"_s} << QByteArray("x = 1")
                                         << QByteArray("-:1:1: no message box call, "
                                                       "input box call, common dialog block or file header block "
                                                       "in the text\n");
        QTest::newRow("unknown tool") << QStringList{u"read"_s, u"--tool=dialog"_s} << QByteArray("MsgBox 1")
                                      << QByteArray("quillkit98: invalid argument 'dialog' for '--tool'; valid "
                                                    "arguments are msgbox, inputbox, header, commondialog\n")
                                             + tryHelp;
        QTest::newRow("missing file") << QStringList{u"read"_s, u"--file=/nonexistent/x.bas"_s} << QByteArray()
                                      << QByteArray("quillkit98: /nonexistent/x.bas: No such file or directory\n");
        QTest::newRow("a directory") << QStringList{u"read"_s, u"--file"_s, u"/"_s} << QByteArray()
                                     << QByteArray("quillkit98: /: Is a directory\n");
        QTest::newRow("stray argument") << QStringList{u"read"_s, u"x.bas"_s} << QByteArray()
                                        << QByteArray("quillkit98: read: unexpected argument 'x.bas'\n") + tryHelp;
        QTest::newRow("unknown option") << QStringList{u"read"_s, u"--bogus"_s} << QByteArray()
                                        << QByteArray("quillkit98: unrecognized option '--bogus'\n") + tryHelp;
        QTest::newRow("file without its name") << QStringList{u"read"_s, u"--file"_s} << QByteArray()
                                               << QByteArray("quillkit98: option '--file' requires an argument\n")
                                                      + tryHelp;
        QTest::newRow("help with a value") << QStringList{u"read"_s, u"--help=yes"_s} << QByteArray()
                                           << QByteArray("quillkit98: option '--help' doesn't allow an argument\n")
                                                  + tryHelp;
        QTest::newRow("unknown encoding") << QStringList{u"read"_s, u"--encoding"_s, u"klingon"_s} << QByteArray()
                                          << QByteArray("quillkit98: read: --encoding: 'klingon' is no encoding "
                                                        "that " UNKNOWN_ENCODING_HINT "\n")
                                                 + tryHelp;
    }

    void readFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, error);
        const Run result = run(arguments, input);
        QCOMPARE(result.status, 2);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.err, error);
    }

    void fromJsonFailures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("error");

        const QStringList fromStdin{u"generate"_s, u"--from-json"_s, u"-"_s};
        QTest::newRow("unknown member") << fromStdin << QByteArray(R"({"tool":"msgbox","colour":"red"})")
                                        << QByteArray("--from-json: member \"colour\" is no option of msgbox");
        QTest::newRow("flag of the wrong type") << fromStdin << QByteArray(R"({"tool":"msgbox","system-modal":"yes"})")
                                                << QByteArray("member \"system-modal\" must be true or false");
        QTest::newRow("text of the wrong type") << fromStdin << QByteArray(R"({"tool":"header","project":5})")
                                                << QByteArray("member \"project\" must be a text");
        QTest::newRow("list of the wrong type")
            << fromStdin << QByteArray(R"({"tool":"commondialog","file-type":"txt"})")
            << QByteArray("member \"file-type\" must be an array of texts");
        QTest::newRow("impossible choice") << fromStdin << QByteArray(R"({"tool":"msgbox","icon":"smile"})")
                                           << QByteArray("invalid argument 'smile' for '--icon'");
        QTest::newRow("impossible default button")
            << fromStdin << QByteArray(R"({"tool":"msgbox","buttons":"ok","default":"2"})")
            << QByteArray("--default: the ok buttons have no button 2");
        QTest::newRow("line break in a one-line member")
            << fromStdin << QByteArray(R"({"tool":"msgbox","title":"a\r\nb"})")
            << QByteArray("--title: this field holds a single line");
        QTest::newRow("no tool") << fromStdin << QByteArray(R"({"message":"x"})")
                                 << QByteArray("member \"tool\" must be a text naming a tool");
        QTest::newRow("unknown tool") << fromStdin << QByteArray(R"({"tool":"window"})")
                                      << QByteArray("member \"tool\": 'window' is not one of");
        QTest::newRow("tool differs from the command's")
            << QStringList{u"generate"_s, u"header"_s, u"--from-json"_s, u"-"_s} << QByteArray(R"({"tool":"msgbox"})")
            << QByteArray("member \"tool\" is 'msgbox', but the command names header");
        QTest::newRow("not JSON") << fromStdin << QByteArray("MsgBox 1") << QByteArray("--from-json: not JSON");
        QTest::newRow("not an object") << fromStdin << QByteArray("[1]") << QByteArray("the JSON is not an object");
        QTest::newRow("no file named") << QStringList{u"generate"_s, u"--from-json"_s} << QByteArray()
                                       << QByteArray("--from-json: name a file");
        QTest::newRow("constants the tool does not know")
            << fromStdin << QByteArray(R"({"tool":"msgbox","constants":"letters"})")
            << QByteArray("invalid argument 'letters' for '--constants'; valid arguments are numbers, names");
    }

    void fromJsonFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, error);
        const Run result = run(arguments, input);
        QCOMPARE(result.status, 2);
        QCOMPARE(result.out, QByteArray());
        // One line; a value the options refuse, as given on the command line,
        // points to their help as well.
        const QList<QByteArray> lines = result.err.split('\n');
        QVERIFY2(lines.first().contains(error), result.err.constData());
        QVERIFY2(lines.size() == 2 || (lines.size() == 3 && lines.at(1).startsWith("Try 'quillkit98 generate")),
                 result.err.constData());
        QVERIFY(lines.constLast().isEmpty());
    }

    // Members left out or null are the options not given; options on the
    // command line come after the object's, and win.
    void fromJsonDefaultsAndOverrides()
    {
        const Run sparse = run({u"generate"_s, u"--from-json"_s, u"-"_s},
                               R"({"tool":"msgbox","message":"Hi","help-file":null,"topic":null,"app-path":false})");
        QCOMPARE(sparse.status, 0);
        QCOMPARE(sparse.out, run({u"generate"_s, u"msgbox"_s, u"--message=Hi"_s}).out);

        const Run overridden =
            run({u"generate"_s, u"--from-json"_s, u"-"_s, u"--title"_s, u"Later"_s},
                R"({"tool":"msgbox","title":"First"})");
        QCOMPARE(overridden.status, 0);
        QVERIFY(overridden.out.contains("\"Later\""));
        QVERIFY(!overridden.out.contains("\"First\""));

        const Run toolOnCommandLine =
            run({u"generate"_s, u"header"_s, u"--from-json"_s, u"-"_s}, R"({"project":"P","date":"d"})");
        QCOMPARE(toolOnCommandLine.status, 0);
        QVERIFY(toolOnCommandLine.out.contains("' Project:      P\r\n"));
    }

    // Members that say "not given" in another way than null: an empty list
    // and a false flag are no options given, which another page's options
    // may then leave out without complaint.
    void fromJsonEmptyMembersAreNotGiven_data()
    {
        QTest::addColumn<QByteArray>("object");
        QTest::addColumn<QStringList>("same");

        QTest::newRow("empty list")
            << QByteArray(R"({"tool":"commondialog","dialog":"color","file-type":[]})")
            << QStringList{u"commondialog"_s, u"--dialog=color"_s};
        QTest::newRow("false flags")
            << QByteArray(R"({"tool":"commondialog","dialog":"font","no-custom-colors":false,"no-print-to-file":false})")
            << QStringList{u"commondialog"_s, u"--dialog=font"_s};
        QTest::newRow("a list in order")
            << QByteArray(R"({"tool":"commondialog","dialog":"open","file-type":["txt","bas"]})")
            << QStringList{u"commondialog"_s, u"--dialog=open"_s, u"--file-type=txt"_s, u"--file-type=bas"_s};
        QTest::newRow("a text that looks like an option")
            << QByteArray(R"({"tool":"msgbox","title":"--icon=error","message":"a=b"})")
            << QStringList{u"msgbox"_s, u"--title=--icon=error"_s, u"--message=a=b"_s};
    }

    void fromJsonEmptyMembersAreNotGiven()
    {
        QFETCH(QByteArray, object);
        QFETCH(QStringList, same);
        const Run fromJson = run({u"generate"_s, u"--from-json"_s, u"-"_s}, object);
        QCOMPARE(fromJson.err, QByteArray());
        QCOMPARE(fromJson.status, 0);
        QCOMPARE(fromJson.out, run(QStringList{u"generate"_s} + same).out);
    }

    void commandLineKnowsRead()
    {
        QVERIFY(isHeadlessCommand({u"quillkit98"_s, u"read"_s}));
        const Run help = run({u"--help"_s});
        QVERIFY(help.out.contains("read [--tool TOOL] [--file FILE]"));
        QVERIFY(help.out.contains("--from-json FILE|-"));
        const Run readHelp = run({u"read"_s, u"--help"_s});
        QCOMPARE(readHelp.status, 0);
        QVERIFY(readHelp.out.contains("Usage: quillkit98 read"));
    }
};

QTEST_GUILESS_MAIN(TestReadCommand)
#include "tst_readcommand.moc"
