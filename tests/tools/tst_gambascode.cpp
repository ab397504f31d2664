// SPDX-License-Identifier: GPL-3.0-or-later
// The Gambas dialect, as text: literals and their layout, what each tool
// writes for it, and that the command line and --from-json choose it.
// tst_gambasbasic runs such code in Gambas itself.

#include "codegen/GambasCode.h"
#include "support/GenerateRun.h"
#include "support/RandomText.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const codegen::CodeOptions Gambas{codegen::CodeOptions::Constants::Numbers, codegen::CodeOptions::Dialect::Gambas};

QStringList linesOf(const QString &code)
{
    return code.split(u"\r\n"_s);
}

// Reads the literals of a statement's lines back, as Gambas would: the
// text of each literal after `from`, escapes decoded, joined. Returns
// nothing at a malformed escape.
std::optional<QString> decodeLiterals(const QString &code)
{
    QString out;
    bool inside = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (!inside) {
            if (c == u'"')
                inside = true;
            continue;
        }
        if (c == u'"') {
            inside = false;
        } else if (c == u'\\') {
            if (++i >= code.size())
                return std::nullopt;
            switch (code.at(i).unicode()) {
            case u'\\': out += u'\\'; break;
            case u'"': out += u'"'; break;
            case u'r': out += u'\r'; break;
            case u'n': out += u'\n'; break;
            case u't': out += u'\t'; break;
            case u'x': {
                bool ok = false;
                out += QChar(code.mid(i + 1, 2).toUShort(&ok, 16));
                if (!ok)
                    return std::nullopt;
                i += 2;
                break;
            }
            default:
                return std::nullopt;
            }
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return std::nullopt; // held as it is: the source would not load
        } else {
            out += c;
        }
    }
    if (inside)
        return std::nullopt;
    return out;
}

} // namespace

class TestGambasCode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void literal_data();
    void literal();
    void longTextsKeepTheLimits_data();
    void longTextsKeepTheLimits();
    void msgBox_data();
    void msgBox();
    void inputBox();
    void headerIsTheSame();
    void commonDialog_data();
    void commonDialog();
    void manyFileTypes();
    void commandLine_data();
    void commandLine();
    void constantsNote_data();
    void constantsNote();
};

void TestGambasCode::literal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << u"\"\""_s;
    QTest::newRow("quotation marks") << u"He said \"hi\""_s << u"\"He said \\\"hi\\\"\""_s;
    QTest::newRow("backslash") << u"C:\\dir\\"_s << u"\"C:\\\\dir\\\\\""_s;
    QTest::newRow("line break, tab") << u"a\r\nb\tc"_s << u"\"a\\r\\nb\\tc\""_s;
    QTest::newRow("control characters as two hex digits") << u"\u0000\u0001\u001b\u007f9"_s
                                                          << u"\"\\x00\\x01\\x1B\\x7F9\""_s;
    QTest::newRow("beyond the BMP as it is") << u"\U0001F600é中"_s << u"\"\U0001F600é中\""_s;
    QTest::newRow("an escape's look-alike") << u"\\x41\\n"_s << u"\"\\\\x41\\\\n\""_s;
}

void TestGambasCode::literal()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(codegen::gambas::literal(text), expected);
    QCOMPARE(decodeLiterals(expected), std::optional<QString>(text));
}

void TestGambasCode::longTextsKeepTheLimits_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("builtUp");
    QTest::newRow("one line") << 900 << false;
    QTest::newRow("a few lines") << 5000 << false;
    QTest::newRow("built up in a variable") << 200000 << true;
}

void TestGambasCode::longTextsKeepTheLimits()
{
    QFETCH(int, length);
    QFETCH(bool, builtUp);
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    static const QStringList atoms{u"a"_s, u"\""_s, u"\\"_s, u"\r\n"_s, u"\U0001F600"_s, u"\u0001"_s, u" "_s};
    const QString text = testsupport::randomPiecesOfSize(random, atoms, length, 0);
    InputBoxFields fields;
    fields.message = text;
    fields.title = u"t"_s;
    const QString code = generateInputBox(fields, Gambas);
    const codegen::gambas::Limits limits;
    int literals = 0;
    QString statementText;
    for (const QString &line : linesOf(code)) {
        QVERIFY2(line.size() <= limits.length, qPrintable(u"seed %1: %2"_s.arg(seed).arg(line.left(60))));
        QVERIFY2(!line.endsWith(u" _"_s), qPrintable(line.left(60)));
        // Operands joined in one expression: counted from a statement's
        // start to its end.
        const bool goesOn = line.endsWith(u" &"_s);
        literals += int(line.count(u"\" & "_s)) + 1;
        if (!goesOn) {
            QVERIFY2(literals <= limits.operands + 3, qPrintable(u"seed %1: %2 literals before %3"_s.arg(seed).arg(literals).arg(line.left(60))));
            literals = 0;
        }
    }
    QCOMPARE(code.contains(u"Dim PromptText As String"_s), builtUp);
    // The prompt is all there, in order: the comment lines hold no quotes.
    QString literalsText;
    for (const QString &line : linesOf(code)) {
        if (!line.startsWith(u'\''))
            statementText += line + u'\n';
    }
    const std::optional<QString> decoded = decodeLiterals(statementText);
    QVERIFY(decoded.has_value());
    // The prompt, then the title and the empty default.
    QVERIFY2(decoded->startsWith(text), qPrintable(u"seed %1"_s.arg(seed)));
    QCOMPARE(decoded->size(), text.size() + 1);
}

void TestGambasCode::msgBox_data()
{
    QTest::addColumn<MsgBoxStyleValues>("style");
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QStringList>("cases");
    QTest::addColumn<QStringList>("comments");

    QTest::newRow("OK only, no icon") << MsgBoxStyleValues{} << false << u"Message(\"m\", \"OK\")"_s
                                      << QStringList{} << QStringList{};
    QTest::newRow("OK only, information")
        << MsgBoxStyleValues{vbOKOnly, 0, vbInformation, 0} << false << u"Message.Info(\"m\", \"OK\")"_s
        << QStringList{} << QStringList{};
    QTest::newRow("yes no cancel, question")
        << MsgBoxStyleValues{vbYesNoCancel, 0, vbQuestion, 0} << false
        << u"Response = Message.Question(\"m\", \"Yes\", \"No\", \"Cancel\")"_s
        << QStringList{u"  Case 1  'User has clicked Yes"_s, u"  Case 2  'User has clicked No"_s,
                       u"  Case 3  'User has clicked Cancel"_s}
        << QStringList{};
    QTest::newRow("abort retry ignore, error, second default")
        << MsgBoxStyleValues{vbAbortRetryIgnore, vbDefaultButton2, vbCritical, 0} << false
        << u"Response = Message.Error(\"m\", \"Abort\", \"Retry\", \"Ignore\")"_s
        << QStringList{u"  Case 1  'User has clicked Abort"_s, u"  Case 2  'User has clicked retry"_s,
                       u"  Case 3  'User has clicked Ignore"_s}
        << QStringList{u"Message.DefaultButton"_s};
    QTest::newRow("retry cancel, warning, system-modal, help")
        << MsgBoxStyleValues{vbRetryCancel, 0, vbExclamation, vbSystemModal} << true
        << u"Response = Message.Warning(\"m\", \"Retry\", \"Cancel\")"_s
        << QStringList{u"  Case 1  'User has clicked retry"_s, u"  Case 2  'User has clicked Cancel"_s}
        << QStringList{u"system-modal"_s, u"Help button"_s};
    QTest::newRow("OK cancel, information: the question box")
        << MsgBoxStyleValues{vbOKCancel, 0, vbInformation, 0} << false
        << u"Response = Message.Question(\"m\", \"OK\", \"Cancel\")"_s
        << QStringList{u"  Case 1  'User has clicked OK"_s, u"  Case 2  'User has clicked Cancel"_s}
        << QStringList{u"information box has one button only"_s};
    QTest::newRow("yes no, no icon, a third default that is not there")
        << MsgBoxStyleValues{vbYesNo, vbDefaultButton3, vbNoIcon, 0} << false
        << u"Response = Message.Question(\"m\", \"Yes\", \"No\")"_s
        << QStringList{u"  Case 1  'User has clicked Yes"_s, u"  Case 2  'User has clicked No"_s}
        << QStringList{u"without an icon has one button only"_s};
}

void TestGambasCode::msgBox()
{
    QFETCH(MsgBoxStyleValues, style);
    QFETCH(bool, help);
    QFETCH(QString, call);
    QFETCH(QStringList, cases);
    QFETCH(QStringList, comments);
    MsgBoxFields fields;
    fields.message = u"m"_s;
    fields.title = u"T \"x\""_s;
    fields.style = style;
    fields.help = {help, true, u"x.hlp"_s, u"3"_s};
    // The constants style changes nothing in Gambas.
    const QString code = generateMsgBoxCode(fields, Gambas);
    QCOMPARE(generateMsgBoxCode(fields, {codegen::CodeOptions::Constants::Names, Gambas.dialect}), code);
    const QStringList lines = linesOf(code);
    const bool answered = !cases.isEmpty();
    QCOMPARE(lines.first(), answered ? u"'*** Start Notewright Code ***"_s : u"'*** Start MsgBox Code ***"_s);
    QCOMPARE(lines.last(), u"'*** End Notewright Code ***"_s);
    QCOMPARE(lines.contains(u"Dim Response As Integer"_s), answered);
    const qsizetype title = lines.indexOf(u"Message.Title = \"T \\\"x\\\"\""_s);
    QVERIFY2(title > 0, qPrintable(code));
    QCOMPARE(lines.value(title + 1), call);
    const QStringList caseLines = lines.filter(QRegularExpression(u"^  Case "_s));
    QCOMPARE(caseLines, cases);
    const QStringList commentLines = lines.filter(QRegularExpression(u"^'Gambas"_s));
    QCOMPARE(commentLines.size(), comments.size());
    for (qsizetype i = 0; i < comments.size(); ++i)
        QVERIFY2(commentLines.at(i).contains(comments.at(i)), qPrintable(commentLines.at(i)));
    QVERIFY(!code.contains(u"x.hlp"_s));
}

void TestGambasCode::inputBox()
{
    InputBoxFields fields{u"T\\"_s, u"Line 1\r\n\"2\""_s, u"D"_s, {true, false, u"h.hlp"_s, u"1"_s}, u"Answer"_s, true};
    QCOMPARE(generateInputBox(fields, Gambas),
             u"'*** Begin Askwright Code ***\r\nDim Answer As String\r\n"
             "'Gambas's input box has no help file: the help file and topic are left out.\r\n"
             "Answer = InputBox(\"Line 1\\r\\n\\\"2\\\"\", \"T\\\\\", \"D\")\r\n'*** End Askwright Code ***"_s);
    fields.declareVariable = false;
    fields.help.help = false;
    QCOMPARE(linesOf(generateInputBox(fields, Gambas)).size(), 3);
}

void TestGambasCode::headerIsTheSame()
{
    const HeaderFields fields{u"P"_s, u"Q"_s, u"1"_s, u"d"_s, u"c"_s, QString(3000, u'w')};
    QCOMPARE(header::generateHeaderBlock(fields, Gambas), header::generateHeaderBlock(fields));
}

void TestGambasCode::commonDialog_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("inside");

    QTest::newRow("open") << int(DialogKind::Open) << u"If Dialog.OpenFile() Then"_s
                          << u"Dialog.Filter = [\"*.txt\", \"txt Files\", \"*.q\\\"\", \"q\\\" Files\"]"_s;
    QTest::newRow("save") << int(DialogKind::Save) << u"If Dialog.SaveFile() Then"_s
                          << u"    Dialog.Path &= \".b\\\\s\""_s;
    QTest::newRow("font") << int(DialogKind::Font) << u"If Dialog.SelectFont() Then"_s << u"[Dialog.Font.Name]"_s;
    QTest::newRow("color") << int(DialogKind::Color) << u"If Dialog.SelectColor() Then"_s
                           << u"'Gambas's color dialog always lets the user mix a custom color."_s;
    QTest::newRow("printer") << int(DialogKind::Printer) << u"If PrinterSetup.Configure() Then"_s
                             << u"Dim PrinterSetup As New Printer"_s;
}

void TestGambasCode::commonDialog()
{
    QFETCH(int, page);
    QFETCH(QString, call);
    QFETCH(QString, inside);
    CommonDialogFields fields;
    fields.page = DialogKind(page);
    fields.openFileTypes = {u"txt"_s, u"q\""_s};
    fields.saveDefaultExtension = u"b\\s"_s;
    fields.customColors = false;
    const QString code = generateCommonDialogCode(fields, Gambas);
    QVERIFY(code.endsWith(u"'*** End Pickwright Code ***\r\n"_s));
    const QStringList lines = linesOf(code);
    const qsizetype at = lines.indexOf(call);
    QVERIFY2(at > 0, qPrintable(code));
    // True is a cancel: the usual comment comes first.
    QVERIFY2(lines.value(at + 1).startsWith(u"  'The user pressed cancel"_s), qPrintable(code));
    QCOMPARE(lines.value(at + 2), u"Else"_s);
    QVERIFY2(code.contains(inside), qPrintable(code));
}

void TestGambasCode::manyFileTypes()
{
    // One array literal holds a few hundred elements at most.
    CommonDialogFields fields;
    for (int i = 0; i < 230; ++i)
        fields.openFileTypes << u"t"_s + QString::number(i);
    const QStringList lines = linesOf(generateCommonDialogCode(fields, Gambas));
    QCOMPARE(lines.filter(QRegularExpression(u"^FilterList.Insert\\(\\["_s)).size(), 3);
    QVERIFY(lines.contains(u"Dialog.Filter = FilterList"_s));
    const QString all = lines.join(u'\n').replace(QRegularExpression(u",\\n *"_s), u", "_s);
    for (int i = 0; i < 230; ++i)
        QVERIFY(all.contains(u"\"*.t%1\", \"t%1 Files\""_s.arg(i)));
}

void TestGambasCode::commandLine_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("contains");

    QTest::newRow("msgbox") << u"msgbox"_s
                            << QStringList{u"--message"_s, u"a\\b"_s, u"--buttons"_s, u"yesno"_s, u"--dialect"_s,
                                           u"gambas"_s}
                            << u"Response = Message.Question(\"a\\\\b\", \"Yes\", \"No\")"_s;
    QTest::newRow("inputbox") << u"inputbox"_s << QStringList{u"--declare"_s, u"--dialect=gambas"_s}
                              << u"Response = InputBox(\"\", \"\", \"\")"_s;
    QTest::newRow("commondialog") << u"commondialog"_s
                                  << QStringList{u"--dialog"_s, u"color"_s, u"--dialect"_s, u"gambas"_s}
                                  << u"If Dialog.SelectColor() Then"_s;
    QTest::newRow("from-json") << u"msgbox"_s << QStringList{u"--from-json"_s, u"-"_s}
                               << u"Message.Warning(\"x\", \"OK\")"_s;
}

void TestGambasCode::commandLine()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, options);
    QFETCH(QString, contains);
    const QByteArray json = R"({"tool": "msgbox", "message": "x", "icon": "warning", "dialect": "gambas"})";
    const GenerateRun run = runGenerate(tool, options, json);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(contains), qPrintable(run.out));
}

void TestGambasCode::constantsNote_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("note");
    QTest::newRow("names with gambas") << QStringList{u"--constants"_s, u"names"_s, u"--dialect"_s, u"gambas"_s}
                                       << true;
    QTest::newRow("numbers with gambas") << QStringList{u"--constants"_s, u"numbers"_s, u"--dialect"_s, u"gambas"_s}
                                         << false;
    QTest::newRow("names with vb") << QStringList{u"--constants"_s, u"names"_s} << false;
}

void TestGambasCode::constantsNote()
{
    QFETCH(QStringList, options);
    QFETCH(bool, note);
    const GenerateRun run = runGenerate(u"msgbox"_s, options + QStringList{u"--buttons"_s, u"yesno"_s});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err.count(u'\n'), note ? 1 : 0);
    if (note)
        QVERIFY2(run.err.contains(u"--constants"_s), qPrintable(run.err));
    if (!options.contains(u"gambas"_s))
        return;
    // The code is the same either way.
    QStringList plain = options;
    plain.removeAt(0);
    plain.removeAt(0);
    QCOMPARE(run.out, runGenerate(u"msgbox"_s, plain + QStringList{u"--buttons"_s, u"yesno"_s}).out);
}

QTEST_GUILESS_MAIN(TestGambasCode)
#include "tst_gambascode.moc"
