// SPDX-License-Identifier: GPL-3.0-or-later
// The lexer's tokens and where they are: kind, line, column (as an editor
// counts them) and length, for the forms BASIC writes.

#include "basic/Lexer.h"
#include "basic/Module.h"

#include <QTest>

using namespace Qt::StringLiterals;
using basic::TokenKind;

namespace {

QString kindName(TokenKind kind)
{
    switch (kind) {
    case TokenKind::Ident:
        return u"Ident"_s;
    case TokenKind::Number:
        return u"Number"_s;
    case TokenKind::String:
        return u"String"_s;
    case TokenKind::BadString:
        return u"BadString"_s;
    case TokenKind::Punct:
        return u"Punct"_s;
    case TokenKind::Comment:
        return u"Comment"_s;
    case TokenKind::Directive:
        return u"Directive"_s;
    case TokenKind::Newline:
        return u"Newline"_s;
    }
    return u"?"_s;
}

} // namespace

class TestLexer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tokens_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gambas");
        QTest::addColumn<QString>("tokens"); // Kind@line:column+length
        QTest::newRow("assignment") << u"x = 12"_s << false << u"Ident@1:1+1 Punct@1:3+1 Number@1:5+2"_s;
        QTest::newRow("CR LF") << u"a\r\nbc"_s << false << u"Ident@1:1+1 Newline@1:2+2 Ident@2:1+2"_s;
        QTest::newRow("CR alone") << u"a\rb"_s << false << u"Ident@1:1+1 Newline@1:2+1 Ident@2:1+1"_s;
        QTest::newRow("blank line") << u"a\n\n b"_s << false
                                    << u"Ident@1:1+1 Newline@1:2+1 Newline@2:1+1 Ident@3:2+1"_s;
        QTest::newRow("continued line") << u"a = _\r\n  1"_s << false << u"Ident@1:1+1 Punct@1:3+1 Number@2:3+1"_s;
        QTest::newRow("underscore in a name, not first") << u"a_b _c"_s << false
                                                         << u"Ident@1:1+3 Punct@1:5+1 Ident@1:6+1"_s;
        QTest::newRow("comment carried on") << u"' x _\nb\nc"_s << false
                                            << u"Comment@1:1+7 Newline@2:2+1 Ident@3:1+1"_s;
        QTest::newRow("Rem starts a statement") << u"Rem a: b\nremark = 1"_s << false
                                                << u"Comment@1:1+8 Newline@1:9+1 Ident@2:1+6 Punct@2:8+1 Number@2:10+1"_s;
        QTest::newRow("Rem after a colon") << u"a: Rem b"_s << false << u"Ident@1:1+1 Punct@1:2+1 Comment@1:4+5"_s;
        QTest::newRow("doubled quotes") << u"s = \"a\"\"b\""_s << false << u"Ident@1:1+1 Punct@1:3+1 String@1:5+6"_s;
        QTest::newRow("unclosed text") << u"s = \"ab\nx"_s << false
                                       << u"Ident@1:1+1 Punct@1:3+1 BadString@1:5+3 Newline@1:8+1 Ident@2:1+1"_s;
        QTest::newRow("numbers") << u"&H1F& 1.5E3# .5 &O17"_s << false
                                 << u"Number@1:1+5 Number@1:7+6 Number@1:14+2 Number@1:17+4"_s;
        QTest::newRow("& alone") << u"a & &Hx"_s << false
                                 << u"Ident@1:1+1 Punct@1:3+1 Punct@1:5+1 Ident@1:6+2"_s;
        QTest::newRow("pairs") << u"a<>b:=c<=d"_s << false
                               << u"Ident@1:1+1 Punct@1:2+2 Ident@1:4+1 Punct@1:5+2 Ident@1:7+1 Punct@1:8+2 Ident@1:10+1"_s;
        QTest::newRow("name with $") << u"Left$(s)"_s << false
                                     << u"Ident@1:1+5 Punct@1:6+1 Ident@1:7+1 Punct@1:8+1"_s;
        QTest::newRow("a character beyond UTF-16's first plane")
            << u"a = \"😀\" & b"_s << false << u"Ident@1:1+1 Punct@1:3+1 String@1:5+4 Punct@1:9+1 Ident@1:11+1"_s;
        QTest::newRow("directive") << u"#If X Then\nx"_s << false << u"Directive@1:1+10 Newline@1:11+1 Ident@2:1+1"_s;
        QTest::newRow("# inside a statement") << u"Print #1"_s << false << u"Ident@1:1+5 Punct@1:7+1 Number@1:8+1"_s;
        QTest::newRow("non-breaking space and BOM are blanks") << u"\uFEFFa\u00A0b"_s << false
                                                               << u"Ident@1:2+1 Ident@1:4+1"_s;
        QTest::newRow("Gambas &=") << u"s &= \"a\\\"\""_s << true << u"Ident@1:1+1 Punct@1:3+2 String@1:6+5"_s;
        QTest::newRow("&= is two tokens in Visual Basic") << u"s &= 1"_s << false
                                                          << u"Ident@1:1+1 Punct@1:3+1 Punct@1:4+1 Number@1:6+1"_s;
        QTest::newRow("Gambas goes on after &") << u"s = a &\nb"_s << true
                                                << u"Ident@1:1+1 Punct@1:3+1 Ident@1:5+1 Punct@1:7+1 Ident@2:1+1"_s;
    }
    void tokens()
    {
        QFETCH(QString, text);
        QFETCH(bool, gambas);
        QFETCH(QString, tokens);
        QStringList found;
        for (const basic::Token &token : basic::tokenize(text, gambas)) {
            const basic::LineColumn at = basic::lineColumnAt(text, token.pos);
            found << u"%1@%2:%3+%4"_s.arg(kindName(token.kind)).arg(at.line).arg(at.column).arg(token.len);
        }
        QCOMPARE(found.join(u' '), tokens);
    }

    void limit()
    {
        // Lexing stops after as many tokens as asked for.
        QCOMPARE(basic::tokenize(u"a b c d"_s, false, 2).size(), std::size_t(2));
    }

    void moduleAgreesOnPlaces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("mixed line ends") << u"a\r\nb\rc\nd\r\n\re"_s;
        QTest::newRow("surrogates") << u"x = \"😀😀\": y = 1\n\"é😀\" z"_s;
        QTest::newRow("trailing CR") << u"a\r"_s;
    }
    void moduleAgreesOnPlaces()
    {
        // The module's quick line table and the lexer's count of lines and
        // columns must name the same place for every token.
        QFETCH(QString, text);
        const basic::Module module(text);
        for (const basic::Token &token : module.tokens()) {
            const basic::LineColumn slow = basic::lineColumnAt(text, token.pos);
            const basic::LineColumn quick = module.lineColumnOf(token.pos);
            QCOMPARE(quick.line, slow.line);
            QCOMPARE(quick.column, slow.column);
        }
    }
};

QTEST_GUILESS_MAIN(TestLexer)
#include "tst_lexer.moc"
