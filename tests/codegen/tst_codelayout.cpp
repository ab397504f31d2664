// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/CodeLayout.h"
#include "fuzz/LayoutCheck.h"
#include "support/GenerateRun.h"
#include "support/RandomText.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using layoutcheck::Field;

Q_DECLARE_METATYPE(layoutcheck::Field)
Q_DECLARE_METATYPE(MsgBoxStyleValues)

namespace {

const codegen::CodeOptions names{codegen::CodeOptions::Constants::Names};

qsizetype longestLine(const QString &code)
{
    qsizetype longest = 0;
    for (const QStringView line : QStringView(code).split(u"\r\n"))
        longest = std::max(longest, line.size());
    return longest;
}

// A surrogate pair cut in two leaves two lone halves, in texts that had
// none.
bool cutsAPair(const QString &code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        if (code[i].isHighSurrogate() && (i + 1 == code.size() || !code[i + 1].isLowSurrogate()))
            return true;
        if (code[i].isLowSurrogate() && (i == 0 || !code[i - 1].isHighSurrogate()))
            return true;
    }
    return false;
}

// Random text with what makes cutting hard: quotation marks, line breaks,
// surrogate pairs, blanks and underscores.
QString randomText(QRandomGenerator &random, qsizetype size, bool lineBreaks)
{
    static const QStringList pieces{u"a"_s, u"word "_s, u"\""_s, u"\"\""_s, u"\U0001F600"_s, u"_"_s,
                                    u" _"_s, u"\u00e9"_s, u"&"_s,  u"\t"_s};
    return testsupport::randomPiecesOfSize(random, pieces, size, lineBreaks ? 12 : 0);
}

bool isMessage(Field field)
{
    return field == Field::Message || field == Field::Prompt;
}

} // namespace

class TestCodeLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineLimitEdge_data();
    void lineLimitEdge();
    void continuationEdge_data();
    void continuationEdge();
    void cutPoints_data();
    void cutPoints();
    void everyTextOption_data();
    void everyTextOption();
    void randomLongTexts();
    void smallLimits_data();
    void smallLimits();
    void builtUpStatementsFillTheirLines();
    void variablesKeepApart_data();
    void variablesKeepApart();
    void namedConstants_data();
    void namedConstants();
    void typedTextLaysOutAsItsPieces_data();
    void typedTextLaysOutAsItsPieces();
    void commandLineConstants_data();
    void commandLineConstants();
};

void TestCodeLayout::lineLimitEdge_data()
{
    QTest::addColumn<Field>("field");
    // The text length that makes its line exactly 1023 code units.
    QTest::addColumn<qsizetype>("fitting");

    QTest::newRow("message") << Field::Message << qsizetype(1023 - 17); // Msgbox "…", 32, ""
    QTest::newRow("message title") << Field::MessageTitle << qsizetype(1023 - 17);
    QTest::newRow("default answer") << Field::DefaultAnswer << qsizetype(1023 - 32); // Response = InputBox ("", "", "…")
    QTest::newRow("dialog title") << Field::OpenTitle << qsizetype(1023 - 30);    // CommonDialog1.DialogTitle = "…"
    QTest::newRow("header field") << Field::HeaderDescription << qsizetype(1023 - 16);
}

void TestCodeLayout::lineLimitEdge()
{
    QFETCH(Field, field);
    QFETCH(qsizetype, fitting);
    layoutcheck::Settings settings;
    settings.appPath = false;

    const layoutcheck::Outcome fits = layoutcheck::check(field, QString(fitting, u'x'), settings);
    QVERIFY2(fits.error.isEmpty(), qPrintable(fits.error));
    QCOMPARE(longestLine(fits.code), 1023);

    const layoutcheck::Outcome over = layoutcheck::check(field, QString(fitting + 1, u'x'), settings);
    QVERIFY2(over.error.isEmpty(), qPrintable(over.error));
    QVERIFY(longestLine(over.code) <= 1023);
    QCOMPARE(over.code.count(u"\r\n"_s), fits.code.count(u"\r\n"_s) + 1);
}

void TestCodeLayout::continuationEdge_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<bool>("inVariable");

    // "CommonDialog1.DialogTitle = " and 989 units, 23 lines of 1017, 1021
    // on the last: 25 physical lines, 24 continuations.
    const qsizetype most = 989 + 23 * 1017 + 1021;
    QTest::newRow("24 continuations") << most << false;
    QTest::newRow("25 would be needed") << most + 1 << true;
    QTest::newRow("many statements") << 40 * most << true;
}

void TestCodeLayout::continuationEdge()
{
    QFETCH(qsizetype, size);
    QFETCH(bool, inVariable);

    const layoutcheck::Outcome outcome = layoutcheck::check(Field::OpenTitle, QString(size, u't'));
    QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
    QCOMPARE(outcome.code.contains(u"\r\nDim TitleText As String\r\n"_s), inVariable);
    QCOMPARE(outcome.code.contains(u"\r\nCommonDialog1.DialogTitle = TitleText\r\n"_s), inVariable);
    if (!inVariable)
        QCOMPARE(outcome.code.count(u" _\r\n"_s), 24);
}

void TestCodeLayout::cutPoints_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("special");

    const QList<std::pair<const char *, QString>> specials{
        {"quotation mark", u"\""_s},
        {"two quotation marks", u"\"\""_s},
        {"surrogate pair", u"\U0001F600"_s},
        {"quotation mark and pair", u"\"\U0001F600\""_s},
        {"line break", u"\r\n"_s},
        {"blank and underscore", u" _"_s},
    };
    for (const auto &[name, special] : specials) {
        QTest::addRow("message, %s", name) << Field::Message << special;
        if (special.contains(u'\r'))
            continue; // the other two are single-line fields
        QTest::addRow("dialog title, %s", name) << Field::OpenTitle << special;
        QTest::addRow("header, %s", name) << Field::HeaderProject << special;
    }
}

void TestCodeLayout::cutPoints()
{
    QFETCH(Field, field);
    QFETCH(QString, special);

    // Runs of the special characters, shifted by up to eight, so that the
    // cuts fall before, inside and after each kind of them.
    for (qsizetype shift = 0; shift <= 8; ++shift) {
        const QString text = QString(shift, u'a') + QString(special + u"bc"_s).repeated(3000 / (special.size() + 2))
                             + QString(1000, u'd') + special.repeated(2000 / special.size());
        const layoutcheck::Outcome outcome = layoutcheck::check(field, text);
        QVERIFY2(outcome.error.isEmpty(), qPrintable(u"%1 (shifted by %2)"_s.arg(outcome.error).arg(shift)));
        QVERIFY(!cutsAPair(outcome.code));
        if (field == Field::HeaderProject) {
            // A comment line ending in " _" would run on into the next.
            const QStringList lines = outcome.code.split(u"\r\n"_s);
            for (qsizetype i = 0; i + 1 < lines.size(); ++i)
                QVERIFY(!lines.at(i).endsWith(u" _"_s) || !lines.at(i + 1).startsWith(u"'      "_s));
        }
    }
}

void TestCodeLayout::everyTextOption_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<bool>("appPath");
    QTest::addColumn<bool>("namesStyle");

    for (int i = 0; i < layoutcheck::fieldCount; ++i) {
        const Field field = Field(i);
        const bool help = field == Field::MessageHelpFile || field == Field::PromptHelpFile;
        for (const bool style : {false, true}) {
            QTest::addRow("field %d, %s", i, style ? "names" : "numbers") << field << false << style;
            if (help)
                QTest::addRow("field %d, %s, App.Path", i, style ? "names" : "numbers") << field << true << style;
        }
    }
}

void TestCodeLayout::everyTextOption()
{
    QFETCH(Field, field);
    QFETCH(bool, appPath);
    QFETCH(bool, namesStyle);

    QRandomGenerator random(int(field) + 17);
    layoutcheck::Settings settings;
    settings.appPath = appPath;
    settings.answered = true;
    if (namesStyle)
        settings.options = names;
    // Enough for several statements of 24 continuations each.
    for (const qsizetype size : {1500, 30000, 120000}) {
        const QString text = randomText(random, size, isMessage(field));
        const layoutcheck::Outcome outcome = layoutcheck::check(field, text, settings);
        QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
        QVERIFY(!cutsAPair(outcome.code));
    }
}

void TestCodeLayout::randomLongTexts()
{
    QRandomGenerator random(20261208);
    const QStringList variables{u"Response"_s, u"PromptText"_s, u"titletext"_s, u"DefaultText"_s, u"Answer"_s};
    for (int round = 0; round < 300; ++round) {
        const Field field = Field(random.bounded(layoutcheck::fieldCount));
        layoutcheck::Settings settings;
        settings.appPath = random.bounded(2) == 1;
        settings.answered = random.bounded(2) == 1;
        settings.variable = variables.at(random.bounded(int(variables.size())));
        if (random.bounded(2) == 1)
            settings.options = names;
        const qsizetype size = random.bounded(4) == 0 ? random.bounded(90000) : random.bounded(4000);
        const QString text = randomText(random, size, isMessage(field));
        const layoutcheck::Outcome outcome = layoutcheck::check(field, text, settings);
        QVERIFY2(outcome.error.isEmpty(),
                 qPrintable(u"round %1, field %2, %3 units: %4"_s.arg(round).arg(int(field)).arg(size).arg(
                     outcome.error)));
        QVERIFY(!cutsAPair(outcome.code));
    }
}

void TestCodeLayout::smallLimits_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("one-character runs") << u"a\r\nb\"c\r\n\r\nd\"\"e\U0001F600"_s.repeated(20);
    QTest::newRow("one character at the end") << u"long enough to be cut, then x\r\ny"_s.repeated(9);
    QTest::newRow("quotes and pairs") << u"\"\U0001F600\"\"\U0001F600 _"_s.repeated(30);
    QTest::newRow("prose") << u"Do you want to save the changes?\r\nYour changes will be lost.\r\n"_s.repeated(12);
}

// Narrow lines and few continuations put the cuts everywhere: before and
// after each operand, next to the arguments that follow the message.
void TestCodeLayout::smallLimits()
{
    QFETCH(QString, text);
    for (qsizetype length = 40; length <= 140; ++length) {
        for (const int continuations : {1, 2, 5, 24}) {
            const QString error = layoutcheck::checkStatement(text, {length, continuations});
            QVERIFY2(error.isEmpty(), qPrintable(u"%1 at %2 by %3"_s.arg(error).arg(length).arg(continuations)));
        }
    }
}

// A text too long for one statement is built up in a variable over as few
// statements as the limits allow: each but the last takes every line the
// editor lets a statement have.
void TestCodeLayout::builtUpStatementsFillTheirLines()
{
    const codegen::LineLimits limits;
    const QString text = u"Save your work before you go on. "_s.repeated(4000);
    const QStringList lines = codegen::layoutStatement(
        {{codegen::codePiece(u"Msgbox "_s), {}}, {codegen::messagePieces(text), u"MessageText"_s}}, {}, limits);
    QList<qsizetype> builtUp; // physical lines of each statement that builds the variable
    qsizetype statementLines = 0;
    bool building = false;
    for (const QString &line : lines) {
        if (statementLines == 0)
            building = line.startsWith(u"MessageText = "_s);
        ++statementLines;
        if (line.endsWith(u" _"_s))
            continue;
        if (building)
            builtUp << statementLines;
        statementLines = 0;
    }
    QVERIFY2(builtUp.size() >= 3, "the text should take several statements");
    for (qsizetype i = 0; i + 1 < builtUp.size(); ++i)
        QCOMPARE(builtUp.at(i), qsizetype(limits.continuations + 1));
    QVERIFY(builtUp.constLast() <= limits.continuations + 1);
}

void TestCodeLayout::variablesKeepApart_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("declaration");

    QTest::newRow("another name") << u"Answer"_s << u"Dim PromptText As String"_s;
    QTest::newRow("the same name") << u"PromptText"_s << u"Dim PromptText2 As String"_s;
    QTest::newRow("the same name in other case") << u"PROMPTTEXT"_s << u"Dim PromptText2 As String"_s;
    QTest::newRow("the second choice") << u"PromptText2"_s << u"Dim PromptText As String"_s;
}

void TestCodeLayout::variablesKeepApart()
{
    QFETCH(QString, variable);
    QFETCH(QString, declaration);

    layoutcheck::Settings settings;
    settings.variable = variable;
    settings.answered = true; // the variable is declared too
    const layoutcheck::Outcome outcome = layoutcheck::check(Field::Prompt, QString(60000, u'p'), settings);
    QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
    QVERIFY(outcome.code.contains(u"\r\n"_s + declaration + u"\r\n"_s));
    QVERIFY(outcome.code.contains(u"\r\n"_s + variable + u" = InputBox ("_s + declaration.sliced(4).chopped(10)));
}

void TestCodeLayout::namedConstants_data()
{
    QTest::addColumn<MsgBoxStyleValues>("style");
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<QString>("cases");

    QTest::newRow("OK only") << MsgBoxStyleValues{} << false << u"vbOKOnly"_s << QString();
    QTest::newRow("OK only, information, help")
        << MsgBoxStyleValues{vbOKOnly, vbDefaultButton1, vbInformation, vbApplicationModal} << true
        << u"vbInformation + vbMsgBoxHelpButton"_s << QString();
    QTest::newRow("yes no, question, second")
        << MsgBoxStyleValues{vbYesNo, vbDefaultButton2, vbQuestion, vbApplicationModal} << false
        << u"vbYesNo + vbQuestion + vbDefaultButton2"_s << u"vbYes vbNo"_s;
    QTest::newRow("every group") << MsgBoxStyleValues{vbAbortRetryIgnore, vbDefaultButton3, vbCritical, vbSystemModal}
                                 << true
                                 << u"vbAbortRetryIgnore + vbCritical + vbDefaultButton3 + vbSystemModal + "
                                    u"vbMsgBoxHelpButton"_s
                                 << u"vbAbort vbRetry vbIgnore"_s;
    QTest::newRow("OK cancel, warning") << MsgBoxStyleValues{vbOKCancel, vbDefaultButton1, vbExclamation, 0}
                                        << false << u"vbOKCancel + vbExclamation"_s << u"vbOK vbCancel"_s;
    QTest::newRow("yes no cancel, modal") << MsgBoxStyleValues{vbYesNoCancel, vbDefaultButton1, vbNoIcon, vbSystemModal}
                                          << false << u"vbYesNoCancel + vbSystemModal"_s << u"vbYes vbNo vbCancel"_s;
    QTest::newRow("retry cancel") << MsgBoxStyleValues{vbRetryCancel, 0, 0, 0} << false << u"vbRetryCancel"_s
                                  << u"vbRetry vbCancel"_s;
}

void TestCodeLayout::namedConstants()
{
    QFETCH(MsgBoxStyleValues, style);
    QFETCH(bool, help);
    QFETCH(QString, buttons);
    QFETCH(QString, cases);

    MsgBoxFields fields;
    fields.message = u"Save?"_s;
    fields.title = u"Confirm"_s;
    fields.style = style;
    fields.help.help = help;
    const QString numbered = generateMsgBoxCode(fields);
    const QString named = generateMsgBoxCode(fields, names);

    // The very same lines but for the buttons argument and the case values.
    QStringList expected = numbered.split(u"\r\n"_s);
    const QString value = QString::number(msgBoxButtonsValue(fields));
    expected[cases.isEmpty() ? 1 : 2].replace(u", "_s + value + u", "_s, u", "_s + buttons + u", "_s);
    const QStringList caseNames = cases.split(u' ', Qt::SkipEmptyParts);
    qsizetype next = 0;
    for (QString &line : expected) {
        if (line.startsWith(u"  Case "_s)) {
            const QString code = line.sliced(7).section(u' ', 0, 0);
            line.replace(7, code.size(), caseNames.at(next++));
        }
    }
    QCOMPARE(named, expected.join(u"\r\n"_s));
    QCOMPARE(next, caseNames.size());
    QCOMPARE(msgBoxButtonsArgument(fields, names), buttons);
}

void TestCodeLayout::commandLineConstants_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("changes");

    QTest::newRow("msgbox") << u"msgbox"_s << QStringList{u"--buttons"_s, u"yesno"_s} << true;
    QTest::newRow("inputbox") << u"inputbox"_s << QStringList{u"--message"_s, u"Name?"_s} << false;
    QTest::newRow("header") << u"header"_s << QStringList{u"--date"_s, u"1/2/2026"_s} << false;
    QTest::newRow("commondialog") << u"commondialog"_s << QStringList{u"--dialog"_s, u"font"_s} << false;
}

void TestCodeLayout::commandLineConstants()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, options);
    QFETCH(bool, changes);

    const GenerateRun plain = runGenerate(tool, options);
    const GenerateRun numbers = runGenerate(tool, options + QStringList{u"--constants"_s, u"numbers"_s});
    const GenerateRun named = runGenerate(tool, options + QStringList{u"--constants"_s, u"names"_s});
    QCOMPARE(plain.status, 0);
    QCOMPARE(numbers.status, 0);
    QCOMPARE(named.status, 0);
    QCOMPARE(numbers.out, plain.out);
    QCOMPARE(named.out != plain.out, changes);
    if (changes)
        QVERIFY(named.out.contains(u"  Case vbYes  'User has clicked Yes"_s));

    const GenerateRun bad = runGenerate(tool, options + QStringList{u"--constants"_s, u"words"_s});
    QCOMPARE(bad.status, 2);
    // Taken by every tool; described only where it changes the code.
    QCOMPARE(runGenerate(tool, {u"--help"_s}).out.contains(u"--constants <"_s), changes);
}

void TestCodeLayout::typedTextLaysOutAsItsPieces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("libreOffice");
    // Long enough to go on over several lines, and over several statements of
    // a variable; every kind of piece, at the start, the end and side by side.
    const QString mixed = u"Say \"hi\"\r\n\ttab\x01 caf\u00e9 \U0001F600\r"_s;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("plain, one line") << u"Save?"_s << false;
    QTest::newRow("quotation marks only") << QString(40000, u'"') << false;
    QTest::newRow("quotation marks only, LibreOffice") << QString(40000, u'"') << true;
    QTest::newRow("line breaks only") << u"\r\n"_s.repeated(15000) << false;
    QTest::newRow("a CR at the end") << u"x\r"_s << false;
    QTest::newRow("mixed, long") << mixed.repeated(3000) << false;
    QTest::newRow("mixed, long, LibreOffice") << mixed.repeated(3000) << true;
    QTest::newRow("one long word") << QString(100000, u'w') << false;
    QRandomGenerator generator(31);
    const QStringList parts{u"\""_s, u"\r\n"_s, u"\r"_s, u"ab"_s, u" "_s, u"\x1f"_s, u"\U0001F600"_s, u"x"_s.repeated(70)};
    QTest::newRow("random") << testsupport::randomPieces(generator, parts, 20000, 0) << false;
}

// A typed text made into pieces as the layout reads it writes the same lines
// as its pieces made all at once.
void TestCodeLayout::typedTextLaysOutAsItsPieces()
{
    QFETCH(QString, text);
    QFETCH(bool, libreOffice);
    const auto dialect = libreOffice ? codegen::CodeOptions::Dialect::LibreOffice
                                     : codegen::CodeOptions::Dialect::VisualBasic;
    using codegen::codePiece;
    const auto statement = [&](codegen::StatementPart message) {
        return QList<codegen::StatementPart>{{codePiece(u"Response = Msgbox ("_s), {}},
                                             std::move(message),
                                             {codePiece(u", 4, "_s), {}},
                                             {codegen::literalPieces(u"Title"_s), u"TitleText"_s},
                                             {codePiece(u")"_s), {}}};
    };
    const QStringList whole =
        codegen::layoutStatement(statement({codegen::messagePieces(text, dialect), u"MessageText"_s}), {u"Response"_s});
    QStringList streamed;
    codegen::layoutStatement(statement(codegen::messagePart(text, dialect, u"MessageText"_s)), {u"Response"_s}, {},
                             [&streamed](QString &&line) { streamed << std::move(line); });
    QCOMPARE(streamed.size(), whole.size());
    for (qsizetype i = 0; i < whole.size(); ++i)
        QCOMPARE(streamed.at(i), whole.at(i));
}

QTEST_GUILESS_MAIN(TestCodeLayout)
#include "tst_codelayout.moc"
