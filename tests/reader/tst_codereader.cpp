// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tools.h"
#include "codegen/CodeText.h"
#include "reader/CodeReader.h"
#include "reader/ResultJson.h"
#include "support/RandomText.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QHash>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTest>

#include <any>
#include <functional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(codegen::CodeOptions)

namespace {

// Texts that stress the writer and the reader alike: quotation marks, BASIC's
// comment and continuation characters, words the reader knows, non-ASCII.
QString randomText(QRandomGenerator &random, bool lineBreaks)
{
    static const QStringList pieces{
        u"a"_s,      u"Hello"_s,   u" "_s,   u"\""_s,  u"\"\""_s, u"'"_s,        u" _"_s,     u"_"_s,
        u"&"_s,      u" & "_s,     u":"_s,   u":="_s,  u"("_s,    u")"_s,        u","_s,      u"Rem "_s,
        u"vbCrLf"_s, u"MsgBox"_s,  u"Chr(34)"_s, u"\u00e9t\u00e9"_s, u"\u20ac"_s, u"\t"_s, u"*"_s, u"|"_s,
        u"123"_s,    u"&H10"_s,    u"\U0001F600"_s,
    };
    return testsupport::randomShortText(random, pieces, 8, lineBreaks ? 5 : 0, testsupport::PieceDraw::Wide);
}

// Mostly short; in the long rounds often past one line's length (1023), and
// now and then past what 25 lines of one statement can hold.
QString randomField(QRandomGenerator &random, bool lineBreaks, bool longTexts)
{
    if (!longTexts || random.bounded(2) == 0)
        return randomText(random, lineBreaks);
    static const QList<int> lengths{900, 1100, 3000, 30000, 60000};
    const qsizetype length = lengths.at(random.bounded(lengths.size())) + random.bounded(200);
    QString text;
    while (text.size() < length)
        text += randomText(random, lineBreaks);
    return text;
}

HelpFields randomHelp(QRandomGenerator &random, bool longTexts = false)
{
    static const QStringList topics{u"0"_s, u"12"_s, u"-5"_s, u"1.5"_s, u"abc"_s, u" 7 x"_s, u"1E+20"_s, u"&H10"_s};
    HelpFields help;
    help.help = random.bounded(2);
    if (!help.help)
        return help;
    help.appPath = random.bounded(2);
    help.helpFile = randomField(random, false, longTexts);
    help.topicId = topics.at(random.bounded(topics.size()));
    return help;
}

// What the code shows of the help fields: nothing without help, and the
// topic as the number written.
HelpFields shown(HelpFields help)
{
    if (!help.help)
        return {};
    help.topicId = codegen::topicArgument(help.topicId);
    return help;
}

void compareHelp(const HelpFields &actual, const HelpFields &expected)
{
    QCOMPARE(actual.help, expected.help);
    QCOMPARE(actual.appPath, expected.appPath);
    QCOMPARE(actual.helpFile, expected.helpFile);
    QCOMPARE(actual.topicId, expected.topicId);
}

ReadResult readOk(const QString &code)
{
    const ReadResult result = readCode(code, tools());
    if (!result.ok())
        qWarning().noquote() << result.error->text() << "\nin:\n" << code;
    return result;
}

constexpr int Rounds = 400;
// Each long round lays out and reads tens of thousands of characters.
constexpr int LongRounds = 40;

using Constants = codegen::CodeOptions::Constants;

// Counts the rounds whose code takes a given layout, so that a long-text
// test is known to have reached it.
struct LayoutSeen
{
    QStringList wanted;
    QList<int> seen = QList<int>(wanted.size(), 0);

    void look(const QString &code)
    {
        for (qsizetype k = 0; k < wanted.size(); ++k)
            seen[k] += code.contains(wanted.at(k));
    }
    bool all() const { return !seen.contains(0); }
};

// Both code styles, with short texts and with long ones.
void addStyleRows()
{
    QTest::addColumn<codegen::CodeOptions>("options");
    QTest::addColumn<bool>("longTexts");
    for (const bool longTexts : {false, true}) {
        for (const Constants constants : {Constants::Numbers, Constants::Names}) {
            const char *style = constants == Constants::Names ? "names" : "numbers";
            QTest::addRow("%s, %s texts", style, longTexts ? "long" : "short")
                << codegen::CodeOptions{constants} << longTexts;
        }
    }
}

int rounds(bool longTexts)
{
    return longTexts ? LongRounds : Rounds;
}

} // namespace

class TestCodeReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void msgBoxRoundTrip_data() { addStyleRows(); }
    void msgBoxRoundTrip()
    {
        QFETCH(codegen::CodeOptions, options);
        QFETCH(bool, longTexts);
        QRandomGenerator random(1501);
        static const QList<qint32> icons{vbNoIcon, vbCritical, vbQuestion, vbExclamation, vbInformation};
        LayoutSeen layouts{{u" & _\r\n"_s, u"MessageText = MessageText & "_s, u"TitleText = TitleText & "_s,
                            u"HelpFileText = App.Path & "_s}};
        for (int round = 0; round < rounds(longTexts); ++round) {
            MsgBoxFields fields;
            fields.message = randomField(random, true, longTexts);
            fields.title = randomField(random, false, longTexts);
            fields.style.buttonSet = random.bounded(6);
            fields.style.icon = icons.at(random.bounded(icons.size()));
            fields.style.defaultButton =
                256 * random.bounded(int(basic::msgBoxButtonCodes(fields.style.buttonSet).size()));
            fields.style.modality = random.bounded(2) ? vbSystemModal : vbApplicationModal;
            fields.help = randomHelp(random, longTexts);

            const QString code = generateMsgBoxCode(fields, options);
            layouts.look(code);
            const ReadResult result = readOk(code);
            QVERIFY(result.ok());
            QCOMPARE(result.toolName(), u"msgbox"_s);
            QCOMPARE(result.fieldsAs<MsgBoxFields>().message, fields.message);
            QCOMPARE(result.fieldsAs<MsgBoxFields>().title, fields.title);
            QCOMPARE(result.fieldsAs<MsgBoxFields>().style, fields.style);
            compareHelp(result.fieldsAs<MsgBoxFields>().help, shown(fields.help));
            QCOMPARE(result.code.constants, options.constants);
        }
        if (longTexts)
            QVERIFY2(layouts.all(), qPrintable(layouts.wanted.join(u", ")));
    }

    void inputBoxRoundTrip_data() { addStyleRows(); }
    void inputBoxRoundTrip()
    {
        QFETCH(codegen::CodeOptions, options);
        QFETCH(bool, longTexts);
        QRandomGenerator random(1502);
        static const QString letters = u"abcXYZ_019"_s;
        // Now and then the variable takes a name the layout's own would have.
        static const QStringList clashing{u"PromptText"_s, u"TitleText"_s, u"DefaultText"_s, u"Response"_s};
        LayoutSeen layouts{{u" & _\r\n"_s, u"PromptText = PromptText & "_s, u"DefaultText = DefaultText & "_s,
                            u"HelpFileText = App.Path & "_s}};
        for (int round = 0; round < rounds(longTexts); ++round) {
            InputBoxFields fields;
            fields.message = randomField(random, true, longTexts);
            fields.title = randomField(random, false, longTexts);
            fields.defaultAnswer = randomField(random, false, longTexts);
            fields.help = randomHelp(random, longTexts);
            fields.variableName = u"v"_s;
            for (int i = random.bounded(6); i > 0; --i)
                fields.variableName += letters.at(random.bounded(letters.size()));
            if (random.bounded(4) == 0)
                fields.variableName = clashing.at(random.bounded(clashing.size()));
            fields.declareVariable = random.bounded(2);

            const QString code = generateInputBox(fields, options);
            layouts.look(code);
            const ReadResult result = readOk(code);
            QVERIFY(result.ok());
            QCOMPARE(result.toolName(), u"inputbox"_s);
            QCOMPARE(result.fieldsAs<InputBoxFields>().message, fields.message);
            QCOMPARE(result.fieldsAs<InputBoxFields>().title, fields.title);
            QCOMPARE(result.fieldsAs<InputBoxFields>().defaultAnswer, fields.defaultAnswer);
            QCOMPARE(result.fieldsAs<InputBoxFields>().variableName, fields.variableName);
            QCOMPARE(result.fieldsAs<InputBoxFields>().declareVariable, fields.declareVariable);
            compareHelp(result.fieldsAs<InputBoxFields>().help, shown(fields.help));
        }
        if (longTexts)
            QVERIFY2(layouts.all(), qPrintable(layouts.wanted.join(u", ")));
    }

    void headerRoundTrip_data() { addStyleRows(); }
    void headerRoundTrip()
    {
        QFETCH(codegen::CodeOptions, options);
        QFETCH(bool, longTexts);
        QRandomGenerator random(1503);
        // Continuation lines, one of them starting with a blank of the value.
        LayoutSeen layouts{{u"\r\n'"_s + QString(15, u' '), u"\r\n'"_s + QString(16, u' ')}};
        for (int round = 0; round < rounds(longTexts); ++round) {
            HeaderFields fields;
            for (QString *field : {&fields.project, &fields.program, &fields.version, &fields.date,
                                   &fields.copyright, &fields.description}) {
                *field = randomField(random, false, longTexts);
                if (random.bounded(4) == 0)
                    field->prepend(QString(random.bounded(12), u' '));
                // Blanks where a continuation line would start.
                if (longTexts && random.bounded(4) == 0 && field->size() > 2000)
                    field->insert(1007, QString(random.bounded(1, 20), u' '));
            }
            const QString code = header::generateHeaderBlock(fields, options);
            layouts.look(code);
            const ReadResult result = readOk(code);
            QVERIFY(result.ok());
            QCOMPARE(result.toolName(), u"header"_s);
            QCOMPARE(result.fieldsAs<HeaderFields>(), fields);
        }
        if (longTexts)
            QVERIFY2(layouts.all(), qPrintable(layouts.wanted.join(u", ")));
    }

    void commonDialogRoundTrip_data() { addStyleRows(); }
    void commonDialogRoundTrip()
    {
        QFETCH(codegen::CodeOptions, options);
        QFETCH(bool, longTexts);
        QRandomGenerator random(1504);
        const auto fileTypes = [&random, longTexts] {
            QStringList types;
            const int count = longTexts && random.bounded(2) ? random.bounded(100, 3000) : random.bounded(4);
            for (int i = count; i > 0; --i) {
                QString type = randomText(random, false).remove(u'|');
                types << (type.isEmpty() ? u"txt"_s : type);
            }
            if (longTexts && random.bounded(4) == 0)
                types << randomField(random, false, true).remove(u'|') + u'x';
            return types;
        };
        LayoutSeen layouts{{u" & _\r\n"_s, u"FilterText = FilterText & "_s, u"TitleText = TitleText & "_s}};
        for (int round = 0; round < rounds(longTexts); ++round) {
            CommonDialogFields fields;
            fields.page = DialogKind(random.bounded(5));
            // The code shows only its own page's fields.
            switch (fields.page) {
            case DialogKind::Open:
                fields.openTitle = randomField(random, false, longTexts);
                fields.openFileTypes = fileTypes();
                break;
            case DialogKind::Save:
                fields.saveTitle = randomField(random, false, longTexts);
                fields.saveDefaultExtension = randomField(random, false, longTexts);
                fields.saveFileTypes = fileTypes();
                break;
            case DialogKind::Font:
                fields.fonts = FontsToDisplay(random.bounded(3));
                break;
            case DialogKind::Color:
                fields.customColors = random.bounded(2);
                break;
            case DialogKind::Printer:
                fields.printToFile = random.bounded(2);
                break;
            }
            const QString code = generateCommonDialogCode(fields, options);
            layouts.look(code);
            const ReadResult result = readOk(code);
            QVERIFY(result.ok());
            QCOMPARE(result.toolName(), u"commondialog"_s);
            QCOMPARE(result.fieldsAs<CommonDialogFields>(), fields);
        }
        if (longTexts)
            QVERIFY2(layouts.all(), qPrintable(layouts.wanted.join(u", ")));
    }

    // Every tool, in both dialects and both styles: what is written reads
    // back, in that dialect, and writes again byte for byte.
    void everyToolWritesBackTheSame_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<codegen::CodeOptions>("options");
        using Dialect = codegen::CodeOptions::Dialect;
        for (const Tool &tool : tools()) {
            for (const Dialect dialect : {Dialect::VisualBasic, Dialect::LibreOffice, Dialect::Gambas}) {
                // Gambas has no named constants: the choice does not apply.
                for (const Constants constants : {Constants::Numbers, Constants::Names}) {
                    if (dialect == Dialect::Gambas && constants == Constants::Names)
                        continue;
                    QTest::addRow("%s, %s, %s", qPrintable(tool.cli.name),
                                  dialect == Dialect::LibreOffice ? "libreoffice" : dialect == Dialect::Gambas ? "gambas" : "vb",
                                  constants == Constants::Names ? "names" : "numbers")
                        << tool.cli.name << codegen::CodeOptions{constants, dialect};
                }
            }
        }
    }
    void everyToolWritesBackTheSame()
    {
        QFETCH(QString, tool);
        QFETCH(codegen::CodeOptions, options);
        QRandomGenerator random(1505);
        const auto found = std::find_if(tools().cbegin(), tools().cend(), [&](const Tool &t) { return t.cli.name == tool; });
        QVERIFY(found != tools().cend());
        const auto fileTypes = [&random] {
            QStringList types;
            for (int i = random.bounded(4); i > 0; --i) {
                const QString type = randomText(random, false).remove(u'|');
                types << (type.isEmpty() ? u"txt"_s : type);
            }
            return types;
        };
        // Random fields of the tool's, now and then with texts long enough
        // for continuations and variables.
        const QHash<QString, std::function<std::any(bool)>> makers{
            {u"msgbox"_s,
             [&](bool longTexts) {
                 MsgBoxFields fields;
                 fields.message = randomField(random, true, longTexts);
                 fields.title = randomField(random, false, longTexts);
                 fields.style.buttonSet = random.bounded(6);
                 fields.style.icon = 16 * random.bounded(5);
                 fields.style.defaultButton =
                     256 * random.bounded(int(basic::msgBoxButtonCodes(fields.style.buttonSet).size()));
                 fields.style.modality = random.bounded(2) ? vbSystemModal : vbApplicationModal;
                 fields.help = randomHelp(random, longTexts);
                 return std::any(fields);
             }},
            {u"inputbox"_s,
             [&](bool longTexts) {
                 InputBoxFields fields;
                 fields.message = randomField(random, true, longTexts);
                 fields.title = randomField(random, false, longTexts);
                 fields.defaultAnswer = randomField(random, false, longTexts);
                 fields.help = randomHelp(random, longTexts);
                 fields.variableName = random.bounded(2) ? u"Answer"_s : u"TitleText"_s;
                 fields.declareVariable = random.bounded(2);
                 return std::any(fields);
             }},
            {u"header"_s,
             [&](bool longTexts) {
                 HeaderFields fields;
                 for (QString *field : {&fields.project, &fields.program, &fields.version, &fields.date,
                                        &fields.copyright, &fields.description})
                     *field = randomField(random, false, longTexts);
                 return std::any(fields);
             }},
            {u"commondialog"_s,
             [&](bool longTexts) {
                 CommonDialogFields fields;
                 fields.page = DialogKind(random.bounded(5));
                 fields.openTitle = randomField(random, false, longTexts);
                 fields.openFileTypes = fileTypes();
                 fields.saveTitle = randomField(random, false, longTexts);
                 fields.saveFileTypes = fileTypes();
                 // The default extension: none, one of the types, or another.
                 const int extension = random.bounded(3);
                 fields.saveDefaultExtension = extension == 0 || fields.saveFileTypes.isEmpty()
                                                   ? (extension == 0 ? QString() : u"doc"_s)
                                                   : fields.saveFileTypes.at(random.bounded(fields.saveFileTypes.size()));
                 if (extension == 2 && longTexts)
                     fields.saveDefaultExtension = randomField(random, false, true).remove(u'|') + u'x';
                 fields.fonts = FontsToDisplay(random.bounded(3));
                 fields.customColors = random.bounded(2);
                 fields.printToFile = random.bounded(2);
                 return std::any(fields);
             }},
        };
        QVERIFY2(makers.contains(tool), "a new tool needs its random fields here");
        const basic::Dialect dialect = options.libreOffice() ? basic::Dialect::LibreOffice
                                       : options.gambas()    ? basic::Dialect::Gambas
                                                             : basic::Dialect::VisualBasic;
        // Long texts every fourth round.
        for (int round = 0; round < 120; ++round) {
            const QString code = found->generate(makers.value(tool)(round % 4 == 3), options);
            const ReadResult result = readOk(code);
            QVERIFY(result.ok());
            QCOMPARE(result.tool, &*found);
            // Another dialect only where it writes the very same code (the
            // header block; a box without line breaks, names or help).
            if (result.code.dialect != dialect) {
                codegen::CodeOptions other = options;
                other.dialect = result.code.dialect;
                QCOMPARE(found->generate(result.fields, other), code);
            }
            QCOMPARE(found->generate(result.fields, options), code);
        }
    }

    // Texts at the layout's edges, in every text field of every tool, in
    // both styles: quotation marks and surrogate pairs at the cut points,
    // blanks and " _" where a comment line ends, lengths around one line's.
    void longTextEdges()
    {
        QStringList texts;
        for (const qsizetype length : {980, 1000, 1007, 1008, 1010, 1016, 1023, 1024, 25 * 1023, 30000}) {
            texts << QString(length, u'"') << QString(length, u'x') << QString(length / 2, u'"') + u"x"_s
                  << QString(u"\U0001F600"_s).repeated(length / 2) << u"x"_s + QString(u"\U0001F600"_s).repeated(length / 2)
                  << QString(u" _"_s).repeated(length / 2) << QString(length, u' ') + u"y"_s;
        }
        const QString lines = QString(u"ab\r\n"_s).repeated(8000);
        for (const Constants constants : {Constants::Numbers, Constants::Names}) {
            const codegen::CodeOptions options{constants};
            for (const QString &text : texts) {
                MsgBoxFields box;
                box.message = text;
                box.title = text;
                box.style.buttonSet = vbYesNo;
                box.help = {true, true, text, u"3"_s};
                ReadResult result = readOk(generateMsgBoxCode(box, options));
                QVERIFY(result.ok());
                QCOMPARE(result.fieldsAs<MsgBoxFields>().message, text);
                QCOMPARE(result.fieldsAs<MsgBoxFields>().title, text);
                QCOMPARE(result.fieldsAs<MsgBoxFields>().help.helpFile, text);
                QVERIFY(result.fieldsAs<MsgBoxFields>().help.appPath);

                InputBoxFields input;
                input.message = text + lines;
                input.title = text;
                input.defaultAnswer = text;
                input.help = {true, false, text, u"4"_s};
                input.variableName = u"Answer"_s;
                input.declareVariable = true;
                result = readOk(generateInputBox(input, options));
                QVERIFY(result.ok());
                QCOMPARE(result.fieldsAs<InputBoxFields>().message, input.message);
                QCOMPARE(result.fieldsAs<InputBoxFields>().title, text);
                QCOMPARE(result.fieldsAs<InputBoxFields>().defaultAnswer, text);
                QCOMPARE(result.fieldsAs<InputBoxFields>().help.helpFile, text);
                QVERIFY(!result.fieldsAs<InputBoxFields>().help.appPath);
                QVERIFY(result.fieldsAs<InputBoxFields>().declareVariable);

                HeaderFields header{text, text, text, text, text, text};
                result = readOk(header::generateHeaderBlock(header, options));
                QVERIFY(result.ok());
                QCOMPARE(result.fieldsAs<HeaderFields>(), header);

                CommonDialogFields dialog;
                dialog.page = DialogKind::Save;
                dialog.saveTitle = text;
                dialog.saveDefaultExtension = text;
                dialog.saveFileTypes = {text.trimmed().isEmpty() ? u"x"_s : text, u"txt"_s};
                result = readOk(generateCommonDialogCode(dialog, options));
                QVERIFY(result.ok());
                QCOMPARE(result.fieldsAs<CommonDialogFields>(), dialog);
            }
        }
    }

    // Realistic hand-written code, and the members of `read`'s object that
    // it must give.
    void handWritten_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("statement with parentheses and Chr$ quotes")
            << u"If MsgBox(\"Delete \" & Chr$(34) & \"x\" & Chr$(34) & \"?\", 36) = vbYes Then\r\n  Kill f\r\nEnd If"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"Delete \\\"x\\\"?\",\"buttons\":\"yesno\","
                          "\"icon\":\"question\", \"constants\":\"numbers\",\"title\":\"\"}");
        QTest::newRow("bare statement, omitted buttons")
            << u"  msgbox \"Hi\", , \"T\"   ' greet"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"Hi\",\"title\":\"T\",\"buttons\":\"ok\","
                          "\"icon\":\"none\",\"default\":\"1\"}");
        QTest::newRow("Call with named arguments in any order")
            << u"Call VBA.MsgBox(Title:=\"Saved\", Prompt:=\"Done\" & vbNewLine & \"All files\", "
               u"Buttons:=vbOKCancel Or vbInformation Or vbDefaultButton2)"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"Done\\r\\nAll files\",\"title\":\"Saved\","
                          "\"buttons\":\"okcancel\", \"icon\":\"information\",\"default\":\"2\","
                          "\"constants\":\"names\"}");
        QTest::newRow("continuations and comments")
            << u"Rem ask first\nr = MsgBox(\"Line one\" & vbCrLf & _\n     \"Line two\", _\n"
               u"     vbYesNoCancel + vbExclamation + vbSystemModal, _\n     \"It is \"\"quoted\"\"\") ' done"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"Line one\\r\\nLine two\","
                          "\"title\":\"It is \\\"quoted\\\"\", \"buttons\":\"yesnocancel\",\"icon\":\"warning\","
                          "\"system-modal\":true,\"constants\":\"names\"}");
        QTest::newRow("statement with a parenthesized prompt")
            << u"MsgBox (\"Hi\"), vbCritical"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"Hi\",\"icon\":\"error\"}");
        QTest::newRow("hex buttons, help with App.Path")
            << u"MsgBox \"Need help?\", &H4044, \"Help\", App.Path & \"\\app.hlp\", 120"_s
            << QByteArray("{\"tool\":\"msgbox\",\"buttons\":\"yesno\",\"icon\":\"information\","
                          "\"help-button\":true, \"help-file\":\"\\\\app.hlp\",\"app-path\":true,\"topic\":\"120\"}");
        QTest::newRow("octal buttons")
            << u"MsgBox \"Sure?\", &O44"_s << QByteArray("{\"buttons\":\"yesno\",\"icon\":\"question\"}");
        QTest::newRow("one-line If")
            << u"If done Then MsgBox \"Finished\", vbOKOnly, \"Job\" Else Beep"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"Finished\",\"title\":\"Job\",\"constants\":\"names\"}");
        QTest::newRow("text built in a variable")
            << u"Dim sMsg As String\r\nsMsg = \"The file could not be saved.\"\r\n"
               u"sMsg = sMsg & vbCrLf & \"Try again?\"\r\nSelect Case MsgBox(sMsg, vbRetryCancel)\r\nEnd Select"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"The file could not be saved.\\r\\nTry again?\","
                          "\"buttons\":\"retrycancel\"}");
        QTest::newRow("tabs, ChrW and a line break in codes")
            << u"MsgBox \"a\" & vbTab & ChrW(8364) & vbCr & Chr(10) & \"b\" & vbNewLine & \"c\" & vbNullString"_s
            << QByteArray("{\"tool\":\"msgbox\",\"message\":\"a\\t€\\r\\nb\\r\\nc\"}");
        QTest::newRow("input box with declaration and named default")
            << u"Dim UserName As String\r\nUserName = InputBox$(\"Your name?\", \"Sign in\", Default:=\"guest\")"_s
            << QByteArray("{\"tool\":\"inputbox\",\"message\":\"Your name?\",\"title\":\"Sign in\","
                          "\"default-answer\":\"guest\", \"variable\":\"UserName\",\"declare\":true,"
                          "\"help-button\":false}");
        QTest::newRow("input box with help, no position")
            << u"Let answer = VBA.InputBox(\"Age\", , , , , \"help.hlp\", 7)"_s
            << QByteArray("{\"tool\":\"inputbox\",\"message\":\"Age\",\"title\":\"\",\"variable\":\"answer\","
                          "\"declare\":false, \"help-button\":true,\"help-file\":\"help.hlp\",\"topic\":\"7\"}");
        QTest::newRow("common dialog by hand, another control")
            << u"With Me\r\nEnd With\r\ndlgFile.Filter = \"txt Files|*.txt|bas Files|*.bas\"\r\n"
               u"dlgFile.DialogTitle = \"Pick a file\"\r\ndlgFile.CancelError = True\r\ndlgFile.ShowOpen"_s
            << QByteArray("{\"tool\":\"commondialog\",\"dialog\":\"open\",\"title\":\"Pick a file\","
                          "\"file-type\":[\"txt\",\"bas\"]}");
        QTest::newRow("common dialog font page with number flags")
            << u"cd.Flags = 1\r\nCall cd.ShowFont"_s
            << QByteArray("{\"tool\":\"commondialog\",\"dialog\":\"font\",\"fonts\":\"screen\",\"title\":null}");
        QTest::newRow("common dialog printer page")
            << u"CommonDialog1.Flags = cdlPDDisablePrintToFile\r\nCommonDialog1.ShowPrinter"_s
            << QByteArray("{\"tool\":\"commondialog\",\"dialog\":\"printer\",\"no-print-to-file\":true}");
        QTest::newRow("common dialog in a With block")
            << u"With frmMain.dlgSave\r\n  .DialogTitle = \"Export\"\r\n  .DefaultExt = \"csv\"\r\n"
               u"  .Filter = \"csv Files|*.csv|\"\r\n  .Flags = 0\r\n  .ShowSave\r\nEnd With"_s
            << QByteArray("{\"tool\":\"commondialog\",\"dialog\":\"save\",\"title\":\"Export\",\"default-ext\":\"csv\","
                          "\"file-type\":[\"csv\"]}");
        QTest::newRow("a help file beside the program, built in a variable")
            << u"Dim h As String\r\nh = App.Path & \"\\docs\"\r\nh = h & \"\\app.hlp\"\r\n"
               u"MsgBox \"Help?\", vbMsgBoxHelpButton, , h, 5"_s
            << QByteArray("{\"tool\":\"msgbox\",\"help-button\":true,\"app-path\":true,"
                          "\"help-file\":\"\\\\docs\\\\app.hlp\",\"topic\":\"5\",\"constants\":\"names\"}");
        QTest::newRow("a header field that goes on over comment lines")
            << u"'**********\r\n' Project:      Ledger\r\n' Program:      Main\r\n' Version:      2\r\n"
               u"' Date:         1/2/2026\r\n' Copyright:    (c) Us\r\n' Description:  Keeps the\r\n"
               u"'                books, and\r\n'                prints them\r\n'**********"_s
            << QByteArray("{\"tool\":\"header\",\"project\":\"Ledger\",\"description\":"
                          "\"Keeps the books, and prints them\"}");
        QTest::newRow("a constant text")
            << u"Private Const APP_TITLE As String = \"Orders\"\r\nMsgBox \"Saved.\", vbInformation, APP_TITLE"_s
            << QByteArray("{\"tool\":\"msgbox\",\"title\":\"Orders\",\"icon\":\"information\"}");
        QTest::newRow("first of several: the input box before the message box")
            << u"x = 5\r\nname = InputBox(\"Name\")\r\nMsgBox \"Hi \" & name"_s
            << QByteArray("{\"tool\":\"inputbox\",\"message\":\"Name\",\"variable\":\"name\"}");
        QTest::newRow("an object's own MsgBox method is not BASIC's")
            << u"Logger.MsgBox \"x\"\r\nMsgBox \"real\""_s << QByteArray("{\"tool\":\"msgbox\",\"message\":\"real\"}");
    }

    void handWritten()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, expected);
        QJsonParseError parseError;
        const QJsonObject want = QJsonDocument::fromJson(expected, &parseError).object();
        QVERIFY2(parseError.error == QJsonParseError::NoError, qPrintable(parseError.errorString()));
        const ReadResult result = readCode(code, tools());
        QVERIFY2(result.ok(), qPrintable(result.error ? result.error->text() : QString()));
        const QJsonObject got = readResultJson(result);
        for (auto it = want.constBegin(); it != want.constEnd(); ++it)
            QCOMPARE(got.value(it.key()), it.value());
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("error");

        QTest::newRow("variable in the message")
            << u"' greet\r\n\r\nx = MsgBox(\"Hi \" & UserName)"_s
            << u"line 3, column 20: UserName is a variable; the message can only hold fixed text"_s;
        QTest::newRow("function call in the title")
            << u"MsgBox \"Hi\", , Format(Now)"_s
            << u"line 1, column 16: Format(…) is a function call; the title can only hold fixed text"_s;
        QTest::newRow("variable built from something unknown")
            << u"Dim s: s = \"a\" & t\r\nMsgBox s"_s
            << u"line 2, column 8: s (set on line 1): t is a variable; the text can only hold fixed text"_s;
        QTest::newRow("vbDefaultButton4")
            << u"MsgBox \"x\", vbYesNoCancel + vbDefaultButton4"_s
            << u"line 1, column 13: vbDefaultButton4 is a flag the message box tool has no option for"_s;
        QTest::newRow("vbMsgBoxRight")
            << u"MsgBox \"x\", vbOKOnly Or vbMsgBoxRight"_s
            << u"line 1, column 13: vbMsgBoxRight is a flag the message box tool has no option for"_s;
        QTest::newRow("vbMsgBoxSetForeground")
            << u"MsgBox \"x\", 65536"_s
            << u"line 1, column 13: 65536 (vbMsgBoxSetForeground) is a flag the message box tool has no option for"_s;
        QTest::newRow("two icons add up to a third")
            << u"MsgBox \"x\", vbCritical + vbQuestion"_s << u"line 1, column 24: the buttons combine two icons"_s;
        // Or joins bits: 16 Or 32 is 48, the exclamation icon, never meant.
        QTest::newRow("two icons joined by Or")
            << u"MsgBox \"x\", vbCritical Or vbQuestion"_s << u"line 1, column 24: the buttons combine two icons"_s;
        QTest::newRow("default button outside the set")
            << u"MsgBox \"x\", vbOKCancel + vbDefaultButton3"_s
            << u"line 1, column 13: vbDefaultButton3 names a button that the box does not have (it has 2)"_s;
        QTest::newRow("no button set 7")
            << u"MsgBox \"x\", 7"_s << u"line 1, column 13: 7 is no button set"_s;
        QTest::newRow("help file without a topic")
            << u"MsgBox \"x\", vbMsgBoxHelpButton, \"T\", \"a.hlp\""_s
            << u"line 1, column 38: a help file needs a topic (Context)"_s;
        QTest::newRow("help file without the Help button")
            << u"MsgBox \"x\", 0, \"T\", \"a.hlp\", 3"_s
            << u"line 1, column 21: a help file needs the Help button (vbMsgBoxHelpButton) in the buttons"_s;
        QTest::newRow("line break in the title")
            << u"MsgBox \"x\", 0, \"a\" & vbCrLf & \"b\""_s
            << u"line 1, column 16: the title holds a line break; it can only hold one line"_s;
        QTest::newRow("line break in the default answer")
            << u"a = InputBox(\"x\", \"t\", \"1\" & vbLf)"_s
            << u"line 1, column 24: the default answer holds a line break; it can only hold one line"_s;
        QTest::newRow("unclosed text")
            << u"MsgBox \"Hello"_s << u"line 1, column 8: the text has no closing quotation mark"_s;
        QTest::newRow("unknown named argument")
            << u"MsgBox Text:=\"x\""_s << u"line 1, column 8: Text is not an argument of MsgBox"_s;
        QTest::newRow("input box answer not stored")
            << u"If InputBox(\"x\") = \"\" Then Exit Sub"_s
            << u"line 1, column 4: the input box's answer must be stored in a variable (Answer = InputBox(…))"_s;
        QTest::newRow("filter the list cannot express")
            << u"cd.Filter = \"Text (*.txt)|*.txt;*.doc\"\r\ncd.ShowOpen"_s
            << u"line 1, column 13: the filter's \"Text (*.txt)|*.txt;*.doc\" is not a file type that the Allowed "
               u"File Types list can express (it writes \"txt Files|*.txt\")"_s;
        QTest::newRow("a setting the tool cannot hold")
            << u"cd.InitDir = \"C:\\\"\r\ncd.ShowSave"_s
            << u"line 1, column 1: cd.InitDir is not a setting the common dialog tool can hold"_s;
        QTest::newRow("a title on the color page")
            << u"cd.DialogTitle = \"x\"\r\ncd.ShowColor"_s
            << u"line 1, column 1: cd.DialogTitle has no field on the Color page"_s;
        QTest::newRow("a setting inside a With block")
            << u"With cd\r\n    .FileName = \"a.txt\"\r\n    .ShowOpen\r\nEnd With"_s
            << u"line 3, column 5: cd is used as a whole on line 1 (With, Set or a call given it), which may change its settings"_s;
        QTest::newRow("no call at all")
            << u"Dim x As Long\r\nx = 1"_s
            << u"line 1, column 1: no message box call, input box call, common dialog block or file header "
               u"block in the text"_s;
        QTest::newRow("a text doubled without end")
            << u"Dim s: s = \"ab\"\r\n"_s + QString(u"s = s & s\r\n"_s).repeated(40) + u"MsgBox s"_s
            << u"line 42, column 8: s (set on line 25): the text grows longer than this program reads"_s;
        QTest::newRow("App.Path in the message")
            << u"Dim h: h = App.Path & \"x\"\r\nMsgBox h"_s
            << u"line 2, column 8: h starts with App.Path; the message can only hold fixed text"_s;
        QTest::newRow("line break in a help file built in a variable")
            << u"Dim h: h = App.Path & \"a\" & vbCrLf\r\nMsgBox \"x\", 16384, , h, 1"_s
            << u"line 2, column 22: the help file holds a line break; it can only hold one line"_s;
        const QString picker = u"P = CreateUnoService(\"com.sun.star.ui.dialogs.FilePicker\")\r\n"
                               u"P.initialize(Array(com.sun.star.ui.dialogs.TemplateDescription.FILESAVE_AUTOEXTENSION))\r\n"_s;
        const QString shown = u"If P.execute() = 1 Then\r\nEnd If"_s;
        QTest::newRow("LibreOffice: a filter the list cannot express")
            << picker + u"P.appendFilter(\"Texts\", \"*.txt\")\r\n"_s + shown
            << u"line 3, column 16: the filter \"Texts\", \"*.txt\" is not a file type that the Allowed File Types "
               u"list can express (it writes \"txt Files\", \"*.txt\")"_s;
        QTest::newRow("LibreOffice: a picker setting the tool cannot hold")
            << picker + u"P.setDisplayDirectory(\"file:///tmp\")\r\n"_s + shown
            << u"line 3, column 3: P.setDisplayDirectory is not a setting the common dialog tool can hold on the Save page"_s;
        QTest::newRow("LibreOffice: another template")
            << u"P = CreateUnoService(\"com.sun.star.ui.dialogs.FilePicker\")\r\n"
               u"P.initialize(Array(com.sun.star.ui.dialogs.TemplateDescription.FILESAVE_AUTOEXTENSION_PASSWORD))\r\n"_s
                   + shown
            << u"line 2, column 14: the file picker's template can only be FILEOPEN_SIMPLE (Open) or "
               u"FILESAVE_AUTOEXTENSION (Save)"_s;
        QTest::newRow("LibreOffice: a current filter without the auto-extension check box")
            << picker + u"P.appendFilter(\"txt Files\", \"*.txt\")\r\nP.setCurrentFilter(\"txt Files\")\r\n"_s + shown
            << u"line 1, column 1: the default extension needs the auto-extension check box set to True"_s;
        QTest::newRow("LibreOffice: a current filter that was never added")
            << picker
                   + u"P.setCurrentFilter(\"doc Files\")\r\nP.setValue(com.sun.star.ui.dialogs."
                     u"ExtendedFilePickerElementIds.CHECKBOX_AUTOEXTENSION, 0, True)\r\n"_s
                   + shown
            << u"line 1, column 1: the current filter \"doc Files\" is not among the filters"_s;
        QTest::newRow("LibreOffice: a picker never shown")
            << picker + u"P.setTitle(\"x\")"_s << u"line 1, column 1: P's dialog is never shown (P.execute())"_s;
        QTest::newRow("LibreOffice: the picker passed on")
            << picker + u"Keep P\r\n"_s + shown << u"line 3, column 6: P is used in a way the common dialog tool cannot hold"_s;
        QTest::newRow("LibreOffice: a title set under a condition")
            << picker + u"Dim t: If c Then t = \"x\"\r\nP.setTitle(t)\r\n"_s + shown
            << u"line 4, column 12: t is set on line 3 under a condition that starts on line 3, which may not hold"_s;
        QTest::newRow("LibreOffice: a colour picker given settings")
            << u"C = CreateUnoService(\"com.sun.star.cui.ColorPicker\")\r\nC.setPropertyValues(v)\r\n"
               u"If C.execute() = 1 Then\r\nEnd If"_s
            << u"line 2, column 3: C.setPropertyValues is not a setting the common dialog tool can hold on the Color page"_s;
        QTest::newRow("LibreOffice: print arguments")
            << u"D.executeDispatch(ThisComponent.CurrentController.Frame, \".uno:Print\", \"\", 0, Array(p))"_s
            << u"line 1, column 70: the tool has no field for the dispatch's target, flags or arguments"
               u" (it writes \"\", 0, Array())"_s;
        QTest::newRow("LibreOffice: another frame")
            << u"D.executeDispatch(StarDesktop.CurrentFrame, \".uno:FontDialog\", \"\", 0, Array())"_s
            << u"line 1, column 19: the dialog can only be dispatched to the current document's frame"
               u" (ThisComponent.CurrentController.Frame)"_s;
        // Gambas: what its code holds that the tools cannot.
        QTest::newRow("Gambas: buttons the tool does not write")
            << u"Message.Title = \"t\"\r\nResponse = Message.Question(\"m\", \"Yes\", \"Maybe\")"_s
            << u"line 2, column 28: the buttons (Yes, Maybe) are no button set of the message box tool"_s;
        QTest::newRow("Gambas: no button texts")
            << u"Message.Title = \"t\"\r\nMessage.Info(\"m\")"_s
            << u"line 2, column 13: the Message call names no buttons; the tool writes their texts (\"OK\")"_s;
        QTest::newRow("Gambas: an escape it does not read")
            << u"Message.Title = \"t\"\r\nMessage.Info(\"a\\qb\", \"OK\")"_s
            << u"line 2, column 16: \\q is an escape this program does not read"_s;
        QTest::newRow("Gambas: a doubled quotation mark")
            << u"Message.Title = \"t\"\r\nMessage.Info(\"a\"\"b\", \"OK\")"_s
            << u"line 2, column 16: a doubled quotation mark is no escape in Gambas (it writes \\\")"_s;
        QTest::newRow("Gambas: a setting of Message the tool has no field for")
            << u"Message.Title = \"t\"\r\nMessage.DefaultButton = False\r\nMessage.Info(\"m\", \"OK\")"_s
            << u"line 2, column 1: Message.DefaultButton is a setting the message box tool has no field for"_s;
        QTest::newRow("Gambas: no title set")
            << u"Message.Info(\"m\", \"OK\")"_s
            << u"line 1, column 1: Message.Title is not set before the call; it keeps what it was last given"_s;
        QTest::newRow("Gambas: several buttons and no answer kept")
            << u"Message.Title = \"t\"\r\nMessage.Question(\"m\", \"Yes\", \"No\")"_s
            << u"line 2, column 1: the answer of a box with several buttons must be kept"_s;
        QTest::newRow("Gambas: an input box's position")
            << u"'*** Begin Askwright Code ***\r\nAnswer = InputBox(\"p\", \"t\", \"d\", 1)"_s
            << u"line 2, column 34: the input box tool has no field for the box's position (XPos, YPos); it is always centred"_s;
        QTest::newRow("Gambas: a filter pair the list cannot write")
            << u"Dialog.Title = \"t\"\r\nDialog.Filter = [\"*.txt\", \"Text\"]\r\nIf Dialog.OpenFile() Then\r\nEnd If"_s
            << u"line 2, column 17: the filter's \"*.txt\", \"Text\" is not a file type that the Allowed File Types list"
               u" can express (it writes \"*.txt\", \"txt Files\")"_s;
        QTest::newRow("Gambas: the dialog's title left as it was")
            << u"Dialog.Filter = []\r\nIf Dialog.OpenFile() Then\r\nEnd If"_s
            << u"line 2, column 4: Dialog.Title is not set before the dialog is shown; it keeps what it was last given"_s;
        QTest::newRow("Gambas: an extension added to every path")
            << u"Dialog.Title = \"t\"\r\nDialog.Filter = []\r\nIf Dialog.SaveFile() Then\r\nElse\r\n  Dialog.Path &= \".txt\"\r\nEnd If"_s
            << u"line 5, column 3: the default extension is added only to a path without one"
               u" (If File.Ext(Dialog.Path) = \"\" Then)"_s;
        QTest::newRow("Gambas: appended to under a condition")
            << u"Message.Title = \"t\"\r\nDim s As String\r\ns = \"a\"\r\nIf c = 1 Then s &= \"b\"\r\nMessage.Info(s, \"OK\")"_s
            << u"line 5, column 14: s is set on line 4 under a condition that starts on line 4, which may not hold"_s;
        QTest::newRow("deep parentheses")
            << u"MsgBox "_s + QString(100, u'(') + u"\"x\""_s + QString(100, u')')
            << u"line 1, column 73: the parentheses are nested too deeply"_s;
    }

    // Gambas's literals and layout: each row a message as the code writes
    // it, and the text it stands for.
    void gambasTexts_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("text");
        QTest::newRow("escaped marks") << u"\"say \\\"hi\\\" \\\\ \""_s << u"say \"hi\" \\ "_s;
        QTest::newRow("line break and tab") << u"\"a\\r\\nb\\tc\""_s << u"a\r\nb\tc"_s;
        QTest::newRow("hexadecimal, either case") << u"\"\\x41\\x1f\\x7F\""_s << u"A\x1f\x7f"_s;
        QTest::newRow("empty") << u"\"\""_s << QString();
        QTest::newRow("goes on after &") << u"\"ab\" &\r\n  \"cd\""_s << u"abcd"_s;
        QTest::newRow("a single quote inside") << u"\"it's\""_s << u"it's"_s;
        QTest::newRow("outside BMP") << u"\"\U0001F600\""_s << u"\U0001F600"_s;
    }
    void gambasTexts()
    {
        QFETCH(QString, written);
        QFETCH(QString, text);
        const ReadResult result = readOk(u"Message.Title = \"t\"\r\nMessage.Info("_s + written + u", \"OK\")"_s);
        QCOMPARE(result.code.dialect, basic::Dialect::Gambas);
        QCOMPARE(result.fieldsAs<MsgBoxFields>().message, text);
    }

    // s &= … appends, as Gambas runs it, where the tool builds long texts up.
    void gambasAppends()
    {
        const ReadResult result = readOk(u"Dim MessageText As String\r\nMessageText = \"ab\"\r\nMessageText &= \"c\" &\r\n"
                                         u"  \"d\"\r\nMessage.Title = \"t\"\r\nMessage.Info(MessageText, \"OK\")"_s);
        QCOMPARE(result.fieldsAs<MsgBoxFields>().message, u"abcd"_s);
    }

    void refusals()
    {
        QFETCH(QString, code);
        QFETCH(QString, error);
        const ReadResult result = readCode(code, tools());
        QVERIFY(!result.ok());
        QCOMPARE(result.error->text(), error);
    }

    void toolFilter()
    {
        const QString code = u"MsgBox \"a\"\r\ncd.ShowColor\r\nx = InputBox(\"b\")"_s;
        const auto only = [](QStringView name) {
            return &*std::find_if(tools().cbegin(), tools().cend(), [&](const Tool &tool) { return tool.cli.name == name; });
        };
        QCOMPARE(readCode(code, tools()).toolName(), u"msgbox"_s);
        QCOMPARE(readCode(code, tools(), only(u"inputbox")).fieldsAs<InputBoxFields>().message, u"b"_s);
        QCOMPARE(readCode(code, tools(), only(u"commondialog")).fieldsAs<CommonDialogFields>().page, DialogKind::Color);
        QVERIFY(!readCode(code, tools(), only(u"header")).ok());
    }

    // A long program costs time in step with its length: a text built over
    // many statements is appended to, never copied whole each time.
    void longTextBuiltInAVariable()
    {
        QString code = u"Dim s As String\r\n"_s;
        const int lines = 20000;
        for (int i = 0; i < lines; ++i)
            code += u"s = s & \"0123456789\"\r\n"_s;
        code += u"MsgBox s"_s;
        const ReadResult result = readCode(code, tools());
        QVERIFY(result.ok());
        QCOMPARE(result.fieldsAs<MsgBoxFields>().message.size(), lines * 10);
    }
};

QTEST_GUILESS_MAIN(TestCodeReader)
#include "tst_codereader.moc"
