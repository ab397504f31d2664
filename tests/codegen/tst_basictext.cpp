// SPDX-License-Identifier: GPL-3.0-or-later
// What BASIC holds: names, limits, control characters in string expressions,
// and comment lines wrapped between words.
#include "app/Tools.h"
#include "codegen/BasicLimits.h"
#include "codegen/CodeLayout.h"
#include "codegen/CodeText.h"
#include "reader/CodeReader.h"
#include "tools/header/HeaderGenerator.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString indent = u'\'' + QString(15, u' ');
const QString prefix = u"' Project:      "_s;

// The value back from wrapped lines, the continuations' rests joined as
// they are.
QString joined(const QStringList &lines)
{
    QString value = lines.first().sliced(prefix.size());
    for (const QString &line : lines.sliced(1)) {
        if (!line.startsWith(indent))
            return u"<not a continuation: "_s + line + u'>';
        value += line.sliced(indent.size());
    }
    return value;
}

} // namespace

class TestBasicText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void identifiers_data();
    void identifiers();
    void lengths_data();
    void lengths();
    void controlCharacters_data();
    void controlCharacters();
    void wrapsBetweenWords_data();
    void wrapsBetweenWords();
    void headerReadsBackExactly_data();
    void headerReadsBackExactly();
};

void TestBasicText::identifiers_data()
{
    QTest::addColumn<QString>("name");
    // What the reason says; empty for a sound name.
    QTest::addColumn<QString>("reason");
    QTest::newRow("the default") << u"Response"_s << QString();
    QTest::newRow("letters, digits, underscores") << u"a_1_B2"_s << QString();
    QTest::newRow("one letter") << u"x"_s << QString();
    QTest::newRow("255 characters") << u"v"_s + QString(254, u'9') << QString();
    QTest::newRow("a keyword inside a name") << u"DimSum"_s << QString();
    QTest::newRow("empty") << QString() << u"needs a name"_s;
    QTest::newRow("a space") << u"User Name"_s << u"not a space"_s;
    QTest::newRow("a digit first") << u"1st"_s << u"starts with a letter"_s;
    QTest::newRow("an underscore first") << u"_x"_s << u"starts with a letter"_s;
    QTest::newRow("a type suffix") << u"Name$"_s << u"not '$'"_s;
    QTest::newRow("a dot") << u"a.b"_s << u"not '.'"_s;
    QTest::newRow("an accent") << u"Größe"_s << u"not 'ö'"_s;
    QTest::newRow("a control character, shown as its code") << u"a\u001bb"_s << u"not U+001B"_s;
    QTest::newRow("256 characters") << u"v"_s + QString(255, u'9') << u"at most 255"_s;
    QTest::newRow("a keyword") << u"Dim"_s << u"'Dim' is a word of BASIC"_s;
    QTest::newRow("a keyword in another case") << u"sTRING"_s << u"'sTRING' is a word of BASIC"_s;
    QTest::newRow("a literal") << u"Nothing"_s << u"word of BASIC"_s;
}

void TestBasicText::identifiers()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString problem = codegen::identifierProblem(name);
    QCOMPARE(problem.isEmpty(), reason.isEmpty());
    QVERIFY2(problem.contains(reason), qPrintable(problem));
}

void TestBasicText::lengths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("characters");
    QTest::addColumn<qsizetype>("bytes");
    QTest::newRow("empty") << QString() << qsizetype(0) << qsizetype(0);
    QTest::newRow("ASCII") << u"abc"_s << qsizetype(3) << qsizetype(3);
    QTest::newRow("two and three bytes") << u"é€"_s << qsizetype(2) << qsizetype(5);
    QTest::newRow("a pair is one character of four bytes") << u"😀x"_s << qsizetype(2) << qsizetype(5);
    QTest::newRow("a lone surrogate goes out as a question mark") << QString(QChar(0xd800)) << qsizetype(1)
                                                                  << qsizetype(1);
}

void TestBasicText::lengths()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, characters);
    QFETCH(qsizetype, bytes);
    QCOMPARE(codegen::characterCount(text), characters);
    QCOMPARE(codegen::utf8Size(text), bytes);
    QCOMPARE(codegen::utf8Size(text), text.toUtf8().size());

    // The limits, exactly at and one past them, in this text's characters.
    const qsizetype unit = std::max<qsizetype>(characters, 1);
    const QString base = text.isEmpty() ? u"a"_s : text;
    const QString atPrompt = base.repeated(codegen::PromptShownLength / unit);
    const QString pastPrompt = atPrompt + base.repeated(1 + (codegen::PromptShownLength % unit ? 1 : 0));
    QCOMPARE(codegen::promptTooLong(atPrompt), codegen::characterCount(atPrompt) > codegen::PromptShownLength);
    QVERIFY(codegen::promptTooLong(pastPrompt));
    QCOMPARE(codegen::promptLengthNote(atPrompt).isEmpty(), !codegen::promptTooLong(atPrompt));
    QVERIFY(codegen::promptLengthNote(pastPrompt).contains(u"1,024"_s)
            || codegen::promptLengthNote(pastPrompt).contains(QLocale().toString(1024)));
    const QString block = base.repeated(codegen::BlockSizeLimit / std::max<qsizetype>(bytes, 1) + 1);
    QCOMPARE(codegen::blockTooLarge(block), block.toUtf8().size() > codegen::BlockSizeLimit);
    QCOMPARE(codegen::blockSizeNote(block).isEmpty(), !codegen::blockTooLarge(block));
}

void TestBasicText::controlCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("libreOffice");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("literal");
    QTest::newRow("none: as always") << u"a \"b\"\tc"_s << false << u"\"a \" & Chr(34) & \"b\" & Chr(34) & \"\tc\""_s
                                     << u"\"a \"\"b\"\"\tc\""_s;
    QTest::newRow("ESC") << u"a\u001b"_s << false << u"\"a\" & Chr(27) & \"\""_s << u"\"a\" & Chr(27) & \"\""_s;
    QTest::newRow("ESC in LibreOffice") << u"a\u001b"_s << true << u"\"a\" & Chr$(27) & \"\""_s
                                        << u"\"a\" & Chr$(27) & \"\""_s;
    QTest::newRow("NUL and DEL") << u"\u0000\u007f"_s << false << u"\"\" & Chr(0) & \"\" & Chr(127) & \"\""_s
                                 << u"\"\" & Chr(0) & \"\" & Chr(127) & \"\""_s;
    // A single-line text has no line breaks of its own: a CR is its code.
    QTest::newRow("CR LF") << u"a\r\nb"_s << false << u"\"a\" & vbCrLf & \"b\""_s
                           << u"\"a\" & Chr(13) & \"\" & Chr(10) & \"b\""_s;
    QTest::newRow("lone LF in LibreOffice") << u"a\nb"_s << true << u"\"a\" & Chr$(10) & \"b\""_s
                                            << u"\"a\" & Chr$(10) & \"b\""_s;
    QTest::newRow("U+0080 and U+2028 as they are") << u"\u0080\u2028"_s << false << u"\"\u0080\u2028\""_s
                                                   << u"\"\u0080\u2028\""_s;
}

void TestBasicText::controlCharacters()
{
    QFETCH(QString, text);
    QFETCH(bool, libreOffice);
    QFETCH(QString, message);
    QFETCH(QString, literal);
    const auto dialect = libreOffice ? codegen::CodeOptions::Dialect::LibreOffice
                                     : codegen::CodeOptions::Dialect::VisualBasic;
    QCOMPARE(codegen::flatten(codegen::messagePieces(text, dialect)), message);
    QCOMPARE(codegen::flatten(codegen::literalPieces(text, dialect)), literal);
    QCOMPARE(codegen::flatten(codegen::appPathPieces(text, dialect)), u"App.Path & "_s + literal);
    // Cut over lines, the pieces keep every character.
    const QString many = text.repeated(400);
    const QStringList lines = codegen::layoutStatement({{codegen::literalPieces(many, dialect), u"TitleText"_s}}, {});
    for (const QString &line : lines) {
        QVERIFY(line.size() <= codegen::LineLimits{}.length);
        QVERIFY(std::none_of(line.begin(), line.end(), codegen::needsCharCode));
    }
}

void TestBasicText::wrapsBetweenWords_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<qsizetype>("lineLength");
    QTest::addColumn<QStringList>("rests");
    // Lines of 16 + 10 characters: each rest is what follows the prefix or
    // the indent.
    QTest::newRow("fits") << u"one two"_s << qsizetype(26) << QStringList{u"one two"_s};
    QTest::newRow("between words, the space starts the next line")
        << u"printsthe monthly report."_s << qsizetype(26)
        << QStringList{u"printsthe"_s, u" monthly"_s, u" report."_s};
    QTest::newRow("a word just fits its line") << u"abcdefghij klm"_s << qsizetype(26)
                                               << QStringList{u"abcdefghij"_s, u" klm"_s};
    QTest::newRow("several spaces go together to the next line") << u"ab   cdefgh"_s << qsizetype(26)
                                                                  << QStringList{u"ab"_s, u"   cdefgh"_s};
    QTest::newRow("spaces and a long word: the word is cut") << u"ab   cdefghijk"_s << qsizetype(26)
                                                              << QStringList{u"ab"_s, u"   cdefghi"_s, u"jk"_s};
    QTest::newRow("a word longer than a line is cut, its line full")
        << u"a abcdefghijklmnopqrstuvwxyz b"_s << qsizetype(26)
        << QStringList{u"a"_s, u" abcdefghi"_s, u"jklmnopqrs"_s, u"tuvwxyz b"_s};
    QTest::newRow("a pair is not cut") << u"abcdefghi😀xy"_s << qsizetype(26)
                                       << QStringList{u"abcdefghi"_s, u"😀xy"_s};
    QTest::newRow("no line ends in space and underscore") << u"abcdef _ gh"_s << qsizetype(26)
                                                          << QStringList{u"abcdef"_s, u" _ gh"_s};
    QTest::newRow("tabs are no break") << u"abc\tdefghijkl"_s << qsizetype(26)
                                       << QStringList{u"abc\tdefghi"_s, u"jkl"_s};
}

void TestBasicText::wrapsBetweenWords()
{
    QFETCH(QString, value);
    QFETCH(qsizetype, lineLength);
    QFETCH(QStringList, rests);
    const QStringList lines = codegen::wrapComment(prefix, value, indent, lineLength);
    QStringList got;
    for (qsizetype i = 0; i < lines.size(); ++i)
        got << lines.at(i).sliced(i == 0 ? prefix.size() : indent.size());
    QCOMPARE(got, rests);
    QCOMPARE(joined(lines), value);
    for (const QString &line : lines)
        QVERIFY(line.size() <= lineLength);
}

void TestBasicText::headerReadsBackExactly_data()
{
    QTest::addColumn<QString>("value");
    const QString words = u"The monthly report, printed on the first working day. "_s.repeated(60);
    QTest::newRow("words over several lines") << words;
    QTest::newRow("blanks where a line breaks") << QString(1000, u'w') + QString(30, u' ') + u"x"_s.repeated(990);
    QTest::newRow("a word longer than a line") << u"a "_s + QString(3000, u'z') + u" b"_s;
    QTest::newRow("pairs and underscores") << (u"😀 _ 😀😀 "_s).repeated(700);
}

void TestBasicText::headerReadsBackExactly()
{
    QFETCH(QString, value);
    const HeaderFields fields{value, u"P"_s, u"1"_s, u"d"_s, u"c"_s, value};
    const QString code = header::generateHeaderBlock(fields);
    for (const QString &line : code.split(u"\r\n"_s)) {
        QVERIFY(line.size() <= codegen::LineLimits{}.length);
        QVERIFY(!line.endsWith(u" _"_s));
    }
    const ReadResult result = readCode(code, tools());
    QVERIFY(result.ok());
    QCOMPARE(result.fieldsAs<HeaderFields>(), fields);
}

QTEST_GUILESS_MAIN(TestBasicText)
#include "tst_basictext.moc"
