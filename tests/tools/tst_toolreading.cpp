// SPDX-License-Identifier: GPL-3.0-or-later
// ReadContext::call(): the one reading of a call's form that every tool's
// reader builds its own rules on.

#include "basic/Evaluator.h"
#include "basic/Module.h"
#include "tools/ToolReading.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a test expects of a call, written as the source text of its parts.
struct Expected
{
    QString head = {};
    bool called = false;
    bool statement = false;
    bool open = false; // a parenthesis follows the name
    bool closed = true;
    bool parenthesized = false;
    QString arguments = {}; // the arguments' tokens as written
    QStringList bound = {}; // per parameter, "" when omitted
    QString variable = {}; // `[Let] name = <call>`
    QString answer = {}; // the same, only when nothing follows the call
    QString after = {}; // the first token after the call, "" for none
    QString refusal = {}; // of the arguments, "" for none
    QString refusedAt = {}; // the text at the refusal's position
};

} // namespace

Q_DECLARE_METATYPE(Expected)

class TestToolReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void call_data();
    void call();
};

void TestToolReading::call_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("gambas");
    QTest::addColumn<QString>("name"); // the function's name token, first of its text, and how refusals name it
    QTest::addColumn<QStringList>("params"); // lower case
    QTest::addColumn<Expected>("expected");

    const QStringList msgBox{u"prompt"_s, u"buttons"_s, u"title"_s, u"helpfile"_s, u"context"_s};
    const QStringList inputBox{u"prompt"_s, u"title"_s, u"default"_s};
    const auto row = [](const char *tag, const QString &code, const QString &name, const QStringList &params,
                        const Expected &expected, bool gambas = false) {
        QTest::newRow(tag) << code << gambas << name << params << expected;
    };

    row("statement", u"MsgBox \"Hi\", 4"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .arguments = u"\"Hi\", 4"_s,
         .bound = {u"\"Hi\""_s, u"4"_s, {}, {}, {}}});
    row("statement, omitted middle argument", u"MsgBox \"Hi\", , \"T\""_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .arguments = u"\"Hi\", , \"T\""_s,
         .bound = {u"\"Hi\""_s, {}, u"\"T\""_s, {}, {}}});
    // The parenthesis belongs to the first argument: the arguments run on.
    row("statement, parenthesized first argument", u"MsgBox (\"Hi\"), 4"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .open = true, .arguments = u"(\"Hi\"), 4"_s,
         .bound = {u"(\"Hi\")"_s, u"4"_s, {}, {}, {}}});
    row("statement, parenthesized only argument", u"MsgBox (\"Hi\")"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .open = true, .parenthesized = true, .arguments = u"\"Hi\""_s,
         .bound = {u"\"Hi\""_s, {}, {}, {}, {}}});
    row("statement, two arguments in parentheses", u"MsgBox (\"Hi\", 4)"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .open = true, .parenthesized = true, .arguments = u"\"Hi\", 4"_s,
         .bound = {u"\"Hi\""_s, u"4"_s, {}, {}, {}}});
    row("Call", u"Call MsgBox(\"Hi\", 4, \"T\")"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .called = true, .statement = true, .open = true, .parenthesized = true,
         .arguments = u"\"Hi\", 4, \"T\""_s, .bound = {u"\"Hi\""_s, u"4"_s, u"\"T\""_s, {}, {}}});
    row("Call, qualified", u"Call VBA.MsgBox(\"Hi\")"_s, u"MsgBox"_s, msgBox,
        {.head = u"VBA"_s, .called = true, .statement = true, .open = true, .parenthesized = true,
         .arguments = u"\"Hi\""_s, .bound = {u"\"Hi\""_s, {}, {}, {}, {}}});
    row("answer", u"x = MsgBox(\"Hi\", 4)"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .open = true, .parenthesized = true, .arguments = u"\"Hi\", 4"_s,
         .bound = {u"\"Hi\""_s, u"4"_s, {}, {}, {}}, .variable = u"x"_s, .answer = u"x"_s});
    row("answer with Let", u"Let Answer = InputBox(\"Name?\", \"T\")"_s, u"InputBox"_s, inputBox,
        {.head = u"InputBox"_s, .open = true, .parenthesized = true, .arguments = u"\"Name?\", \"T\""_s,
         .bound = {u"\"Name?\""_s, u"\"T\""_s, {}}, .variable = u"Answer"_s, .answer = u"Answer"_s});
    row("answer, fully qualified", u"Answer = VBA.Interaction.InputBox(\"a\")"_s, u"InputBox"_s, inputBox,
        {.head = u"VBA"_s, .open = true, .parenthesized = true, .arguments = u"\"a\""_s,
         .bound = {u"\"a\""_s, {}, {}}, .variable = u"Answer"_s, .answer = u"Answer"_s});
    row("answer into a property", u"Me.Caption = InputBox(\"a\")"_s, u"InputBox"_s, inputBox,
        {.head = u"InputBox"_s, .open = true, .parenthesized = true, .arguments = u"\"a\""_s,
         .bound = {u"\"a\""_s, {}, {}}, .variable = u"Me.Caption"_s, .answer = u"Me.Caption"_s});
    row("assigned, but more follows", u"x = InputBox(\"a\") & \"b\""_s, u"InputBox"_s, inputBox,
        {.head = u"InputBox"_s, .open = true, .parenthesized = true, .arguments = u"\"a\""_s,
         .bound = {u"\"a\""_s, {}, {}}, .variable = u"x"_s, .after = u"&"_s});
    row("in a condition", u"If MsgBox(\"Sure?\", 4) = 6 Then"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .open = true, .parenthesized = true, .arguments = u"\"Sure?\", 4"_s,
         .bound = {u"\"Sure?\""_s, u"4"_s, {}, {}, {}}, .after = u"="_s});
    row("in an expression without parentheses", u"x = MsgBox \"Hi\""_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .arguments = u"\"Hi\""_s, .bound = {u"\"Hi\""_s, {}, {}, {}, {}},
         .variable = u"x"_s, .answer = u"x"_s});
    row("unclosed parenthesis", u"MsgBox (\"Hi\", 4"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .open = true, .closed = false, .parenthesized = true,
         .arguments = u"\"Hi\", 4"_s, .bound = {u"\"Hi\""_s, u"4"_s, {}, {}, {}}});
    row("unclosed inner parenthesis", u"x = MsgBox(\"Hi\", (4)"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .open = true, .closed = false, .parenthesized = true, .arguments = u"\"Hi\", (4)"_s,
         .bound = {u"\"Hi\""_s, u"(4)"_s, {}, {}, {}}, .variable = u"x"_s, .answer = u"x"_s});
    row("named arguments", u"MsgBox Title:=\"T\", Prompt:=\"Hi\""_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .arguments = u"Title:=\"T\", Prompt:=\"Hi\""_s,
         .bound = {u"\"Hi\""_s, {}, u"\"T\""_s, {}, {}}});
    row("named after positional", u"x = MsgBox(\"Hi\", Context:=5, HelpFile:=\"h.hlp\")"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .open = true, .parenthesized = true,
         .arguments = u"\"Hi\", Context:=5, HelpFile:=\"h.hlp\""_s,
         .bound = {u"\"Hi\""_s, {}, {}, u"\"h.hlp\""_s, u"5"_s}, .variable = u"x"_s, .answer = u"x"_s});
    row("commas inside an argument", u"MsgBox Left(\"a,b\", 1) & Chr(13, 10), 4"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .arguments = u"Left(\"a,b\", 1) & Chr(13, 10), 4"_s,
         .bound = {u"Left(\"a,b\", 1) & Chr(13, 10)"_s, u"4"_s, {}, {}, {}}});
    // The arguments are refused only when asked for, after the reader's
    // own rules about the call's form.
    row("unknown name", u"MsgBox \"Hi\", Tilte:=\"T\""_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .arguments = u"\"Hi\", Tilte:=\"T\""_s,
         .refusal = u"Tilte is not an argument of MsgBox"_s, .refusedAt = u"Tilte"_s});
    row("name given twice", u"x = MsgBox(Prompt:=\"a\", prompt:=\"b\") + 1"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .open = true, .parenthesized = true, .arguments = u"Prompt:=\"a\", prompt:=\"b\""_s,
         .variable = u"x"_s, .after = u"+"_s, .refusal = u"prompt is given twice"_s, .refusedAt = u"prompt"_s});
    row("positional after named", u"MsgBox Prompt:=\"a\", 4"_s, u"MsgBox"_s, msgBox,
        {.head = u"MsgBox"_s, .statement = true, .arguments = u"Prompt:=\"a\", 4"_s,
         .refusal = u"an argument without a name follows a named one"_s, .refusedAt = u"4"_s});
    row("too many", u"s = InputBox(\"a\", \"b\", \"c\", \"d\")"_s, u"InputBox"_s, inputBox,
        {.head = u"InputBox"_s, .open = true, .parenthesized = true, .arguments = u"\"a\", \"b\", \"c\", \"d\""_s,
         .variable = u"s"_s, .answer = u"s"_s, .refusal = u"InputBox takes at most 3 arguments"_s,
         .refusedAt = u"\"d\""_s});
    // Not BASIC's own function: the call starts at the object.
    row("Gambas method", u"Answer = Message.Question(\"Sure?\", \"Yes\", \"No\")"_s, u"Question"_s,
        {u"message"_s, u"button1"_s, u"button2"_s, u"button3"_s},
        {.head = u"Message"_s, .open = true, .parenthesized = true, .arguments = u"\"Sure?\", \"Yes\", \"No\""_s,
         .bound = {u"\"Sure?\""_s, u"\"Yes\""_s, u"\"No\""_s, {}}, .variable = u"Answer"_s, .answer = u"Answer"_s},
        true);
    row("Gambas statement with more after the call", u"Message.Info(\"Hi\") & \"!\""_s, u"Info"_s,
        {u"message"_s, u"button1"_s},
        {.head = u"Message"_s, .statement = true, .open = true, .parenthesized = true, .arguments = u"\"Hi\""_s,
         .bound = {u"\"Hi\""_s, {}}, .after = u"&"_s},
        true);
    row("object's method", u"oPicker.setTitle(\"Open\")"_s, u"setTitle"_s, {u"title"_s},
        {.head = u"oPicker"_s, .statement = true, .open = true, .parenthesized = true, .arguments = u"\"Open\""_s,
         .bound = {u"\"Open\""_s}});
}

void TestToolReading::call()
{
    QFETCH(QString, code);
    QFETCH(bool, gambas);
    QFETCH(QString, name);
    QFETCH(QStringList, params);
    QFETCH(Expected, expected);

    const basic::Module module(code, gambas);
    basic::TextSemantics semantics;
    if (gambas)
        semantics.dialect = basic::Dialect::Gambas;
    basic::Evaluator evaluator(module, 1 << 20, semantics);
    const ReadContext context(module, evaluator);
    const basic::Tokens &t = module.tokens();
    qint32 at = 0;
    while (at < t.size() && t.text(at) != name)
        ++at;
    QVERIFY(at < t.size());
    QCOMPARE(module.statements().size(), std::size_t(1));
    const basic::Statement &s = module.statements().front();

    const std::vector<QStringView> names(params.cbegin(), params.cend());
    const Call call = context.call(0, at, names, name);
    QCOMPARE(call.name, at);
    QCOMPARE(t.text(call.head).toString(), expected.head);
    QCOMPARE(call.called, expected.called);
    QCOMPARE(call.statement, expected.statement);
    QCOMPARE(call.open >= 0, expected.open);
    if (expected.open)
        QCOMPARE(call.open, at + 1);
    QCOMPARE(call.closed(), expected.closed);
    if (expected.open && expected.closed)
        QVERIFY(t.isPunct(call.close, u')'));
    QCOMPARE(call.parenthesized, expected.parenthesized);
    QCOMPARE(t.text(call.argumentsBegin, call.argumentsEnd).toString(), expected.arguments);
    QCOMPARE(call.variable, expected.variable);
    if (!expected.variable.isEmpty())
        QVERIFY(t.text(call.variableAt).startsWith(expected.variable.section(u'.', 0, 0)));
    QCOMPARE(call.answer(), expected.answer);
    QCOMPARE(call.after < s.end ? t.text(call.after).toString() : QString(), expected.after);

    try {
        const std::vector<Parameter> bound = call.arguments();
        QVERIFY2(expected.refusal.isEmpty(), qPrintable(expected.refusal));
        QStringList texts;
        for (const Parameter &parameter : bound)
            texts << (parameter.given() ? t.text(parameter.begin, parameter.end).toString() : QString());
        QCOMPARE(texts, expected.bound);
    } catch (const basic::Refusal &refusal) {
        QCOMPARE(refusal.message, expected.refusal);
        QVERIFY2(QStringView(code).sliced(refusal.pos).startsWith(expected.refusedAt), qPrintable(code.mid(refusal.pos)));
    }
}

QTEST_GUILESS_MAIN(TestToolReading)
#include "tst_toolreading.moc"
