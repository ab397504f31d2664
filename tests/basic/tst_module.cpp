// SPDX-License-Identifier: GPL-3.0-or-later
// The module's own model, checked directly: the blocks a statement runs in,
// the statements that change a name, the object of a With, and what the
// module declares. Each case's expectation is written from BASIC's rules.

#include "basic/Module.h"

#include <QTest>

using namespace Qt::StringLiterals;
using basic::BlockKind;
using basic::Module;

namespace {

// The first statement whose text starts with `prefix`, or -1.
qint32 statementAt(const Module &module, QStringView prefix)
{
    const auto &statements = module.statements();
    for (std::size_t k = 0; k < statements.size(); ++k) {
        const auto &s = statements[k];
        if (module.tokens().text(s.begin, s.end).startsWith(prefix))
            return qint32(k);
    }
    return -1;
}

QString kindName(BlockKind kind)
{
    switch (kind) {
    case BlockKind::Procedure:
        return u"Procedure"_s;
    case BlockKind::Branch:
        return u"Branch"_s;
    case BlockKind::Loop:
        return u"Loop"_s;
    case BlockKind::Container:
        return u"Container"_s;
    case BlockKind::With:
        return u"With"_s;
    }
    return u"?"_s;
}

} // namespace

class TestModule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void blocks_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("blocks"); // innermost first
        QTest::newRow("straight code") << u"x = 1"_s << u"x ="_s << u"Procedure"_s;
        QTest::newRow("If block") << u"If c Then\nx = 1\nEnd If"_s << u"x ="_s << u"Branch Container Procedure"_s;
        QTest::newRow("ElseIf part") << u"If c Then\ny = 2\nElseIf d Then\nx = 1\nEnd If"_s << u"x ="_s
                                     << u"Branch Container Procedure"_s;
        QTest::newRow("after End If") << u"If c Then\ny = 1\nEnd If\nx = 1"_s << u"x ="_s << u"Procedure"_s;
        QTest::newRow("one-line If") << u"If c Then x = 1"_s << u"x ="_s << u"Branch Procedure"_s;
        QTest::newRow("one-line If's Else") << u"If c Then y = 2 Else x = 1"_s << u"x ="_s << u"Branch Procedure"_s;
        QTest::newRow("line after a one-line If") << u"If c Then y = 2\nx = 1"_s << u"x ="_s << u"Procedure"_s;
        QTest::newRow("Case") << u"Select Case v\nCase 1\nx = 1\nEnd Select"_s << u"x ="_s
                              << u"Branch Container Procedure"_s;
        QTest::newRow("For's body") << u"For i = 1 To 2\nx = 1\nNext"_s << u"x ="_s << u"Loop Procedure"_s;
        QTest::newRow("the For itself") << u"For i = 1 To 2\nx = 1\nNext"_s << u"For"_s << u"Loop Procedure"_s;
        QTest::newRow("Do in an If") << u"If c Then\nDo\nx = 1\nLoop\nEnd If"_s << u"x ="_s
                                     << u"Loop Branch Container Procedure"_s;
        QTest::newRow("Next j, i closes both") << u"For i = 1 To 2\nFor j = 1 To 2\nNext j, i\nx = 1"_s << u"x ="_s
                                               << u"Procedure"_s;
        QTest::newRow("With") << u"With dlg\nx = 1\nEnd With"_s << u"x ="_s << u"With Procedure"_s;
        QTest::newRow("code before an unmatched End If")
            << u"x = 1\nEnd If\ny = 2"_s << u"x ="_s << u"Branch Procedure"_s;
        QTest::newRow("code after an unmatched End If") << u"x = 1\nEnd If\ny = 2"_s << u"y ="_s << u"Procedure"_s;
        QTest::newRow("code before an unmatched Loop") << u"x = 1\nLoop\ny = 2"_s << u"x ="_s << u"Loop Procedure"_s;
        QTest::newRow("undecided #If") << u"#If Win64 Then\nx = 1\n#End If"_s << u"x ="_s << u"Branch Procedure"_s;
        QTest::newRow("#If that holds") << u"#If 1 + 1 = 2 Then\nx = 1\n#End If"_s << u"x ="_s << u"Procedure"_s;
        QTest::newRow("#If of a #Const") << u"#Const A = 3\n#If A And 1 Then\nx = 1\n#End If"_s << u"x ="_s
                                         << u"Procedure"_s;
        QTest::newRow("a Sub's own code") << u"x = 0\nSub A()\nx = 1\nEnd Sub"_s << u"x = 1"_s << u"Procedure"_s;
        QTest::newRow("End Sub closes an open If")
            << u"Sub A()\nIf c Then\nEnd Sub\nx = 1"_s << u"x ="_s << u"Procedure"_s;
    }
    void blocks()
    {
        QFETCH(QString, code);
        QFETCH(QString, statement);
        QFETCH(QString, blocks);
        const Module module(code);
        const qint32 s = statementAt(module, statement);
        QVERIFY2(s >= 0, qPrintable(statement));
        QStringList kinds;
        for (qint32 b = module.statements()[std::size_t(s)].block; b >= 0; b = module.blocks()[std::size_t(b)].parent)
            kinds << kindName(module.blocks()[std::size_t(b)].kind);
        QCOMPARE(kinds.join(u' '), blocks);
    }

    void compiledOut()
    {
        // Code that #If leaves out is no statement at all.
        const Module module(u"#If False Then\nx = 1\n#ElseIf True Then\ny = 2\n#Else\nz = 3\n#End If"_s);
        QCOMPARE(statementAt(module, u"x ="), -1);
        QVERIFY(statementAt(module, u"y =") >= 0);
        QCOMPARE(statementAt(module, u"z ="), -1);
    }

    void directives_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("x"); // what becomes of x = 1: kept, left out, or may run (a Branch)
        const auto guarded = [](const QString &condition) {
            return u"#If %1 Then\nx = 1\n#End If"_s.arg(condition);
        };
        QTest::newRow("True") << guarded(u"True"_s) << u"kept"_s;
        QTest::newRow("False") << guarded(u"False"_s) << u"left out"_s;
        QTest::newRow("Not False") << guarded(u"Not False"_s) << u"kept"_s;
        QTest::newRow("Not 1 is -2, bitwise") << guarded(u"Not 1"_s) << u"kept"_s;
        QTest::newRow("1 And 2 is 0, bitwise") << guarded(u"1 And 2"_s) << u"left out"_s;
        QTest::newRow("Or") << guarded(u"1 Or 2"_s) << u"kept"_s;
        QTest::newRow("Xor") << guarded(u"3 Xor 3"_s) << u"left out"_s;
        QTest::newRow("Eqv") << guarded(u"0 Eqv 0"_s) << u"kept"_s;
        QTest::newRow("Imp") << guarded(u"-1 Imp 0"_s) << u"left out"_s;
        QTest::newRow("product") << guarded(u"2 * 3 = 6"_s) << u"kept"_s;
        QTest::newRow("minus and parentheses") << guarded(u"-(2) < 1"_s) << u"kept"_s;
        QTest::newRow("difference") << guarded(u"2 - 3 >= 0"_s) << u"left out"_s;
        QTest::newRow("comparison is -1") << guarded(u"(1 = 1) = True"_s) << u"kept"_s;
        QTest::newRow("any case") << guarded(u"tRUE aND nOT fALSE"_s) << u"kept"_s;
        QTest::newRow("a name the project sets") << guarded(u"Win64"_s) << u"may run"_s;
        QTest::newRow("division is not worked out") << guarded(u"6 / 3 = 2"_s) << u"may run"_s;
        QTest::newRow("texts are not worked out") << guarded(u"\"a\" = \"a\""_s) << u"may run"_s;
        QTest::newRow("part unknown") << guarded(u"1 = 1 And Win64"_s) << u"may run"_s;
        QTest::newRow("too large") << guarded(u"99999999999"_s) << u"may run"_s;
        QTest::newRow("a #Const") << u"#Const DEBUG = 1\n"_s + guarded(u"DEBUG"_s) << u"kept"_s;
        QTest::newRow("a #Const of an expression") << u"#Const D = 1 + 1\n"_s + guarded(u"D = 2"_s) << u"kept"_s;
        QTest::newRow("a #Const set where it may not be")
            << u"#If Win64 Then\n#Const D = 1\n#End If\n"_s + guarded(u"D"_s) << u"may run"_s;
        QTest::newRow("#ElseIf after a False") << u"#If False Then\n#ElseIf True Then\nx = 1\n#End If"_s << u"kept"_s;
        QTest::newRow("#ElseIf after a True") << u"#If True Then\n#ElseIf True Then\nx = 1\n#End If"_s
                                             << u"left out"_s;
        QTest::newRow("#Else of an undecided #If") << u"#If Win64 Then\n#Else\nx = 1\n#End If"_s << u"may run"_s;
        QTest::newRow("inside a part left out") << u"#If False Then\n#If True Then\nx = 1\n#End If\n#End If"_s
                                                << u"left out"_s;
    }
    void directives()
    {
        QFETCH(QString, code);
        QFETCH(QString, x);
        const Module module(code);
        const qint32 s = statementAt(module, u"x =");
        const QString found = s < 0 ? u"left out"_s
                              : module.blocks()[std::size_t(module.statements()[std::size_t(s)].block)].kind == BlockKind::Branch
                                  ? u"may run"_s
                                  : u"kept"_s;
        QCOMPARE(found, x);
    }

    void changes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lines"); // of the statements that change it
        QTest::newRow("assignments") << u"s = 1\nx = 2\ns = 3"_s << u"s"_s << u"1 3"_s;
        QTest::newRow("two on a line") << u"s = 1: s = 2"_s << u"s"_s << u"1 1"_s;
        QTest::newRow("the suffix is no part of the name") << u"s$ = \"a\""_s << u"s"_s << u"1"_s;
        QTest::newRow("any case") << u"S = 1"_s << u"s"_s << u"1"_s;
        QTest::newRow("Let and Set") << u"Let s = 1\nSet s = Nothing"_s << u"s"_s << u"1 2"_s;
        QTest::newRow("For's counter") << u"For i = 1 To 3\nNext"_s << u"i"_s << u"1"_s;
        QTest::newRow("For Each's element") << u"For Each e In list\nNext"_s << u"e"_s << u"1"_s;
        QTest::newRow("Line Input") << u"Line Input #1, a"_s << u"a"_s << u"1"_s;
        QTest::newRow("Input, second name") << u"Input #1, a, b"_s << u"b"_s << u"1"_s;
        QTest::newRow("LSet") << u"LSet s = \"x\""_s << u"s"_s << u"1"_s;
        QTest::newRow("Mid statement") << u"Mid(s, 1, 1) = \"x\""_s << u"s"_s << u"1"_s;
        QTest::newRow("Mid statement is no change of Mid") << u"Mid(s, 1, 1) = \"x\""_s << u"mid"_s << u""_s;
        QTest::newRow("ReDim") << u"ReDim Preserve a(3)"_s << u"a"_s << u"1"_s;
        QTest::newRow("given to a Call") << u"Call F(s)"_s << u"s"_s << u"1"_s;
        QTest::newRow("given to a Sub") << u"DoIt s, t"_s << u"t"_s << u"1"_s;
        QTest::newRow("given to a function") << u"x = F(s)"_s << u"s"_s << u"1"_s;
        QTest::newRow("MsgBox changes nothing") << u"MsgBox s"_s << u"s"_s << u""_s;
        QTest::newRow("Len changes nothing") << u"x = Len(s)"_s << u"s"_s << u""_s;
        QTest::newRow("an own MsgBox may") << u"Sub MsgBox(a)\nEnd Sub\nMsgBox s"_s << u"s"_s << u"3"_s;
        QTest::newRow("an array's element is no call") << u"Dim a(3)\nx = a(s)"_s << u"s"_s << u""_s;
        QTest::newRow("a Const is not changed") << u"Const c = 1"_s << u"c"_s << u""_s;
        QTest::newRow("a Dim's value") << u"Dim n As Integer = 3"_s << u"n"_s << u"1"_s;
        QTest::newRow("a property") << u"dlg.Filter = \"a\""_s << u"dlg.filter"_s << u"1"_s;
        QTest::newRow("a property in a With") << u"With dlg\n.Filter = \"a\"\nEnd With"_s << u"dlg.filter"_s
                                              << u"2"_s;
        QTest::newRow("a comment") << u"' s = 1\ns = 2"_s << u"s"_s << u"2"_s;
        QTest::newRow("compiled out") << u"#If False Then\ns = 1\n#End If\ns = 2"_s << u"s"_s << u"4"_s;
        QTest::newRow("after a label") << u"here: s = 1\n10 s = 2"_s << u"s"_s << u"1 2"_s;
        QTest::newRow("in a one-line If") << u"If c Then s = 1 Else s = 2"_s << u"s"_s << u"1 1"_s;
    }
    void changes()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, lines);
        const Module module(code);
        QStringList found;
        for (const qint32 s : module.changesOf(name))
            found << QString::number(module.lineOf(s));
        QCOMPARE(found.join(u' '), lines);
    }

    void withObjects_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("object"); // "" when unknown
        QTest::newRow("a name") << u"With dlg\n.Filter = \"a\"\nEnd With"_s << u".Filter"_s << u"dlg"_s;
        QTest::newRow("a dotted name") << u"With Me.dlg\n.Filter = \"a\"\nEnd With"_s << u".Filter"_s << u"me.dlg"_s;
        QTest::newRow("nested") << u"With dlg\nWith .Font\n.Bold = True\nEnd With\nEnd With"_s << u".Bold"_s
                                << u"dlg.font"_s;
        QTest::newRow("the outer one again") << u"With dlg\nWith .Font\nEnd With\n.Flags = 1\nEnd With"_s
                                             << u".Flags"_s << u"dlg"_s;
        QTest::newRow("inside an If") << u"With dlg\nIf c Then\n.Filter = 1\nEnd If\nEnd With"_s << u".Filter"_s
                                      << u"dlg"_s;
        QTest::newRow("on one line") << u"With dlg: .Filter = 1: End With"_s << u".Filter"_s << u"dlg"_s;
        QTest::newRow("a call's result") << u"With Forms(1)\n.Caption = \"a\"\nEnd With"_s << u".Caption"_s << u""_s;
        QTest::newRow("in an unknown With") << u"With Forms(1)\nWith .dlg\n.Flags = 1\nEnd With\nEnd With"_s
                                            << u".Flags"_s << u""_s;
        QTest::newRow("after End With") << u"With dlg\nEnd With\n.Filter = 1"_s << u".Filter"_s << u""_s;
        QTest::newRow("a procedure ends it") << u"Sub A()\nWith dlg\nEnd Sub\nSub B()\n.Filter = 1\nEnd Sub"_s
                                             << u".Filter"_s << u""_s;
    }
    void withObjects()
    {
        QFETCH(QString, code);
        QFETCH(QString, statement);
        QFETCH(QString, object);
        const Module module(code);
        const qint32 s = statementAt(module, statement);
        QVERIFY2(s >= 0, qPrintable(statement));
        QCOMPARE(module.withObject(s).value_or(QString()), object);
    }

    void declarations_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // "" when not declared
        QTest::addColumn<int>("line");
        QTest::newRow("Dim") << u"x = 1\nDim s As String"_s << u"s"_s << u"a variable"_s << 2;
        QTest::newRow("with its suffix") << u"Dim s$"_s << u"S$"_s << u"a variable"_s << 1;
        QTest::newRow("second of a Dim") << u"Dim a, b As Long"_s << u"b"_s << u"a variable"_s << 1;
        QTest::newRow("Const") << u"Private Const vbYes = 5"_s << u"vbYes"_s << u"a Const"_s << 1;
        QTest::newRow("a parameter") << u"Sub A(ByVal s As String)\nEnd Sub"_s << u"s"_s << u"a parameter"_s << 1;
        QTest::newRow("Sub") << u"\nPublic Sub MsgBox(a)\nEnd Sub"_s << u"msgbox"_s << u"a Sub"_s << 2;
        QTest::newRow("Property") << u"Property Get Name()\nEnd Property"_s << u"name"_s << u"a Property"_s << 1;
        QTest::newRow("Declare") << u"Declare PtrSafe Function Beep Lib \"k\" ()"_s << u"beep"_s << u"a Declare"_s << 1;
        QTest::newRow("Enum member") << u"Enum E\nvbYes = 1\nEnd Enum"_s << u"vbyes"_s << u"an Enum member"_s << 2;
        QTest::newRow("a label") << u"Sub A()\nagain: x = 1\nEnd Sub"_s << u"again"_s << u"a label"_s << 2;
        QTest::newRow("the first one counts") << u"Dim v\nConst v = 1"_s << u"v"_s << u"a variable"_s << 1;
        QTest::newRow("only read") << u"MsgBox s\nx = Len(s)"_s << u"s"_s << u""_s << 0;
        // What sets BASIC's own name, or uses it as the parser cannot tell,
        // makes it the module's.
        QTest::newRow("an assignment") << u"x = 1\ns = 1"_s << u"s"_s << u"set as a variable"_s << 2;
        QTest::newRow("compiled out") << u"#If 0 Then\nDim s\n#End If"_s << u"s"_s << u"a variable"_s << 2;
        QTest::newRow("compiled out, only read") << u"#If 0 Then\nMsgBox s\n#End If"_s << u"s"_s << u""_s << 0;
        QTest::newRow("[bracketed] Enum member")
            << u"Enum E: [vbYesNo] = 3: End Enum"_s << u"vbYesNo"_s << u"an Enum member"_s << 1;
        QTest::newRow("a form's control")
            << u"VERSION 5.00\nBegin VB.Form F\n   Begin VB.CommandButton vbYes\n   End\nEnd"_s << u"vbyes"_s
            << u"a control of the form"_s << 3;
        QTest::newRow("a Type member") << u"Type T\n  vbOK As Long\nEnd Type"_s << u"vbOK"_s
                                       << u"used in a way this program does not follow"_s << 2;
    }
    void declarations()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(int, line);
        const Module module(code);
        const basic::DeclaredName *declared = module.declaration(name);
        QCOMPARE(declared ? declared->kind : QString(), kind);
        if (declared)
            QCOMPARE(module.lineColumnOf(module.tokens().pos(declared->token)).line, line);
    }

    void implicitTypes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("suffix") << u""_s << u"n%"_s << u"Integer"_s;
        QTest::newRow("no suffix, no Def") << u""_s << u"n"_s << u""_s;
        QTest::newRow("DefStr range") << u"DefStr A-C"_s << u"bob"_s << u"String"_s;
        QTest::newRow("outside the range") << u"DefStr A-C"_s << u"dan"_s << u""_s;
        QTest::newRow("a list") << u"DefLng X, Z"_s << u"Zed"_s << u"Long"_s;
        QTest::newRow("suffix over Def") << u"DefStr A-Z"_s << u"a#"_s << u"Double"_s;
    }
    void implicitTypes()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, type);
        QCOMPARE(Module(code).implicitType(name), type);
    }

    void designerPart()
    {
        const Module module(u"VERSION 5.00\nBegin VB.Form Main\n   Caption = \"Hi\"\n   Begin MSComDlg.CommonDialog dlg\n"
                            "      Filter = \"*.txt\" ' files\n      BeginProperty Font\n         Name = \"Arial\"\n"
                            "      EndProperty\n   End\nEnd\nAttribute VB_Name = \"Main\"\nx = 1"_s);
        QVERIFY(module.hasDesignerPart());
        const auto *dialog = module.designerProperties(u"dlg"_s);
        QVERIFY(dialog);
        QCOMPARE(QStringList(dialog->keys()), QStringList{u"filter"_s}); // Font's Name is a section's, not dlg's
        const basic::DesignerProperty filter = dialog->value(u"filter"_s);
        QCOMPARE(module.tokens().text(filter.begin, filter.end), u"\"*.txt\""_s);
        QVERIFY(module.designerProperties(u"main"_s));
        QVERIFY(!module.designerProperties(u"x"_s));
        // The designer part is no code: its lines are no statements.
        QCOMPARE(statementAt(module, u"Caption"), -1);
        QVERIFY(statementAt(module, u"x = 1") >= 0);
    }
};

QTEST_GUILESS_MAIN(TestModule)
#include "tst_module.moc"
