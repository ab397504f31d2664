// SPDX-License-Identifier: GPL-3.0-or-later
// Reading code back is all or nothing: each case either reads what BASIC
// itself would show, or is refused at the name that cannot be sure.

#include "app/Tools.h"
#include "basic/Source.h"
#include "reader/CodeReader.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSoundness : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("straight-line assignments")
            << u"Dim s As String\ns = \"a\"\ns = s & \"b\"\nMsgBox s"_s << u"ab"_s;
        QTest::newRow("set before the If that holds the call")
            << u"Dim s As String: Dim c As Boolean\ns = \"a\"\nIf c Then\n  MsgBox s\nEnd If"_s << u"a"_s;
        QTest::newRow("set in the same branch as the call")
            << u"Dim s As String: If c Then\n  s = \"a\"\n  MsgBox s\nEnd If"_s << u"a"_s;
        QTest::newRow("set before the loop, read in it")
            << u"Dim s As String: s = \"a\"\nDo\n  MsgBox s\nLoop"_s << u"a"_s;
        QTest::newRow("a comment carried on by _ hides a call")
            << u"' note _\nMsgBox \"hidden\"\nMsgBox \"shown\""_s << u"shown"_s;
        QTest::newRow("#If False leaves its call out")
            << u"#If False Then\nMsgBox \"never\"\n#Else\nMsgBox \"always\"\n#End If"_s << u"always"_s;
        QTest::newRow("#If: Or binds before Xor")
            << u"#If 1 Xor 1 Or 1 Then\nMsgBox \"never\"\n#Else\nMsgBox \"always\"\n#End If"_s << u"always"_s;
        QTest::newRow("an index into the procedure's array")
            << u"Dim s As String: Dim a(3) As String\ns = \"a\"\na(s) = 1\nMsgBox s"_s << u"a"_s;
        QTest::newRow("VBA.Interaction.MsgBox")
            << u"VBA.Interaction.MsgBox \"first\"\nMsgBox \"second\""_s << u"first"_s;
        QTest::newRow("a constant of the module in a procedure")
            << u"Const T = \"x\"\nSub A()\n  MsgBox T\nEnd Sub"_s << u"x"_s;
        QTest::newRow("a one-line If that closes what it did not open")
            << u"Sub A()\n  If r = 7 Then End Select\n  If c Then End Sub\nEnd Sub\nMsgBox \"after\""_s << u"after"_s;
        QTest::newRow("a loop inside a one-line If, and its Else")
            << u"Dim s As String: Dim c As Boolean\ns = \"a\"\nIf c Then For i = 1 To 2: n = i: Next Else n = 0\nMsgBox s"_s << u"a"_s;
        QTest::newRow("Windows-1252 high characters")
            << u"MsgBox Chr(128) & Chr(150)"_s << u"\u20AC\u2013"_s;
    }
    void reads()
    {
        QFETCH(QString, code);
        QFETCH(QString, message);
        const ReadResult result = readCode(code, tools());
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error->text()));
        QCOMPARE(result.fieldsAs<MsgBoxFields>().message, message);
    }

    void refuses_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("error");
        QTest::newRow("declared, never set")
            << u"Dim strFile As String\nIf MsgBox(\"Delete \" & strFile & \"?\", vbYesNo + vbCritical) = vbNo Then Exit Sub"_s
            << u"line 2, column 23: strFile is set outside this code"_s;
        QTest::newRow("Line Input")
            << u"Dim strLine As String\nLine Input #1, strLine\nMsgBox \"First line: \" & strLine"_s
            << u"line 3, column 25: strLine is changed by `Line Input #` on line 2, which this program cannot follow"_s;
        QTest::newRow("one-line If")
            << u"Dim s As String: s = \"a\"\nIf c Then s = \"b\"\nMsgBox s"_s
            << u"line 3, column 8: s is set on line 2 under a condition that starts on line 2, which may not hold"_s;
        QTest::newRow("If block")
            << u"Dim s As String: s = \"a\"\nIf c Then\n  s = \"b\"\nEnd If\nMsgBox s"_s
            << u"line 5, column 8: s is set on line 3 under a condition that starts on line 2, which may not hold"_s;
        QTest::newRow("Select Case")
            << u"Dim s As String: s = \"a\"\nSelect Case x\nCase 1\n  s = \"b\"\nEnd Select\nMsgBox s"_s
            << u"line 6, column 8: s is set on line 4 under a condition that starts on line 3, which may not hold"_s;
        QTest::newRow("appended in a loop")
            << u"Dim s As String: s = \"\"\nFor i = 1 To 3\n  s = s & \"x\"\nNext\nMsgBox s"_s
            << u"line 5, column 8: s is set in the loop that starts on line 2, which may run any number of times"_s;
        QTest::newRow("changed later in the loop that holds the call")
            << u"Dim s As String: s = \"a\"\nDo\n  MsgBox s\n  s = s & \"x\"\nLoop"_s
            << u"line 3, column 10: s changes again on line 4, in the loop that starts on line 2"_s;
        QTest::newRow("GoTo over an assignment")
            << u"Dim s As String: s = \"a\"\nGoTo Skip\ns = \"b\"\nSkip:\nMsgBox s"_s
            << u"line 5, column 8: a jump to the label on line 5 may pass over where s is set"_s;
        QTest::newRow("set in another procedure")
            << u"Sub A()\n  s = \"a\"\nEnd Sub\nSub B()\n  MsgBox s\nEnd Sub"_s
            << u"line 5, column 10: s is set in another procedure, on line 2"_s;
        QTest::newRow("Mid statement")
            << u"Dim s As String: s = \"abc\"\nMid(s, 1, 1) = \"X\"\nMsgBox s"_s
            << u"line 3, column 8: s is changed by `Mid(s` on line 2, which this program cannot follow"_s;
        QTest::newRow("LSet")
            << u"Dim s As String: s = \"abc\"\nLSet s = \"X\"\nMsgBox s"_s
            << u"line 3, column 8: s is changed by `LSet s =` on line 2, which this program cannot follow"_s;
        QTest::newRow("passed to a procedure")
            << u"Dim s As String: s = \"a\"\nCall GetName(s)\nMsgBox s"_s
            << u"line 3, column 8: s is changed by `Call GetName(` on line 2, which this program cannot follow"_s;
        QTest::newRow("fixed-length string")
            << u"Dim s As String * 3\ns = \"abcdef\"\nMsgBox s"_s
            << u"line 3, column 8: s is declared As String * 3; only a String or Variant is read as text"_s;
        QTest::newRow("Integer given a text")
            << u"Dim n As Integer\nn = \"05\"\nMsgBox n"_s
            << u"line 3, column 8: n is declared As Integer; only a String or Variant is read as text"_s;
        QTest::newRow("undecided #If")
            << u"Dim s As String: s = \"a\"\n#If Win64 Then\ns = \"b\"\n#End If\nMsgBox s"_s
            << u"line 5, column 8: s is set on line 3 under a condition that starts on line 3, which may not hold"_s;
        QTest::newRow("input box position")
            << u"x = InputBox(\"a\", \"t\", \"d\", 100, 200)"_s
            << u"line 1, column 29: the input box tool has no field for the box's position (XPos, YPos); it is always centred"_s;
        QTest::newRow("CancelError False")
            << u"CommonDialog1.CancelError = False\nCommonDialog1.ShowOpen"_s
            << u"line 1, column 29: CommonDialog1.CancelError can only be True here: the tool's code catches Cancel as an error"_s;
        QTest::newRow("Flags under a condition")
            << u"Dim c As Boolean\nIf c Then CommonDialog1.Flags = cdlCFScreenFonts\nCommonDialog1.ShowFont"_s
            << u"line 2, column 11: CommonDialog1.Flags is set on line 2 under a condition that starts on line 2, which may not hold"_s;
        QTest::newRow("a dialog named as a statement is")
            << u"Open.Filter = \"Text|*.txt\"\nOpen.ShowOpen"_s
            << u"line 1, column 1: Open.Filter is set on line 1 in a way this program cannot follow"_s;
        QTest::newRow("topic that overflows")
            << u"MsgBox \"x\", 16384, , \"h.hlp\", 1E400"_s << u"line 1, column 31: 1E400 is too large for a topic"_s;
        QTest::newRow("lone surrogate")
            << u"MsgBox ChrW(55296)"_s
            << u"line 1, column 8: ChrW(55296) is half of a UTF-16 surrogate pair, which is no character"_s;
        QTest::newRow("declared for the whole module")
            << u"Dim s As String\nSub A()\n  s = \"a\"\n  Refresh\n  MsgBox s\nEnd Sub"_s
            << u"line 5, column 10: s is declared for the whole module (line 1), so other procedures may set it"_s;
        // Every use of a name is one the reader follows, or it refuses.
        QTest::newRow("an Enum member in brackets")
            << u"Enum E: [vbYesNo] = 3: End Enum\nMsgBox \"a\", vbYesNo"_s
            << u"line 2, column 13: vbYesNo is declared in this module (line 1)"_s;
        QTest::newRow("a control of the form")
            << u"VERSION 5.00\nBegin VB.Form F\n   Begin VB.Label vbCrLf\n   End\nEnd\nMsgBox \"a\" & vbCrLf"_s
            << u"line 6, column 14: vbCrLf is a control of the form on line 3 of this module, so it may not be BASIC's own"_s;
        QTest::newRow("BASIC's name set as a variable")
            << u"vbTab = \"-\"\nMsgBox \"a\" & vbTab"_s
            << u"line 2, column 14: vbTab is set as a variable on line 1 of this module, so it may not be BASIC's own"_s;
        QTest::newRow("declared in each part of an undecided #If")
            << u"Sub A()\n#If Win64 Then\nDim s As Long\n#Else\nDim s As String\n#End If\ns = \"05\"\nMsgBox s\nEnd Sub"_s
            << u"line 8, column 8: s is declared more than once (lines 5 and 3): which one holds depends on how the code is compiled"_s;
        QTest::newRow("an index runs a Property Let, ByRef")
            << u"Dim s As String: s = \"a\"\nProp(s) = 1\nMsgBox s"_s
            << u"line 3, column 8: s is changed by `Prop(s` on line 2, which this program cannot follow"_s;
        QTest::newRow("Set with an index")
            << u"Dim s As String: s = \"a\"\nSet o.Item(s) = Nothing\nMsgBox s"_s
            << u"line 3, column 8: s is changed by `Set o.` on line 2, which this program cannot follow"_s;
        QTest::newRow("a statement's word as the target")
            << u"Time = InputBox(\"When?\")"_s
            << u"line 1, column 1: Time = InputBox(…) sets BASIC's own Time, not a variable, unless the code declares one"_s;
        QTest::newRow("Visual Basic's name in LibreOffice code")
            << u"d = ThisComponent\nMsgBox \"a\", vbYesNo + 32"_s
            << u"line 2, column 13: vbYesNo is Visual Basic's; LibreOffice Basic without Option VBASupport 1 has no such constant"_s;
        QTest::newRow("vbNewLine in LibreOffice's VBA mode")
            << u"Option VBASupport 1\nMsgBox \"a\" & vbNewLine"_s
            << u"line 2, column 14: vbNewLine in LibreOffice Basic depends on the system it runs on"_s;
        QTest::newRow("Chr above 127 in LibreOffice's VBA mode")
            << u"Option VBASupport 1\nMsgBox Chr(200)"_s
            << u"line 2, column 8: Chr(200) in LibreOffice Basic's VBA mode depends on the system's encoding"_s;
        QTest::newRow("columns count characters")
            << u"MsgBox \"😀😀\", x"_s << u"line 1, column 14: x is a variable; the buttons can only hold fixed flags"_s;
    }
    void refuses()
    {
        QFETCH(QString, code);
        QFETCH(QString, error);
        const ReadResult result = readCode(code, tools());
        QVERIFY2(!result.ok(), qPrintable(result.toolName()));
        QCOMPARE(result.error->text(), error);
    }

    // 60,000 distinct settings, and texts that double: each refused in time
    // and memory in step with the code's length (a quadratic reader would
    // run into the test's time-out; the benchmarks measure the time).
    void bounded()
    {
        QString settings;
        for (int i = 0; i < 60000; ++i)
            settings += u"CommonDialog1.P%1 = 1\n"_s.arg(i, 6, 10, QChar(u'0'));
        QVERIFY(!readCode(settings + u"CommonDialog1.ShowOpen"_s, tools()).ok());

        QString doubling = u"s = \"ab\"\n"_s + u"s = s & s\n"_s.repeated(17);
        for (int i = 0; i < 2000; ++i)
            doubling += u"t%1 = s & \"x\"\n"_s.arg(i);
        const ReadResult result = readCode(doubling + u"MsgBox t1999"_s, tools());
        QVERIFY(!result.ok());
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("changed"); // the second character made "X"
        QTest::newRow("UTF-8") << QByteArray("L\xc3\xb6schen\r\n") << QString() << u"Löschen\r\n"_s
                               << QByteArray("LXschen\r\n");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xef\xbb\xbfL\xc3\xb6schen") << QString() << u"Löschen"_s
                                        << QByteArray("\xef\xbb\xbfLXschen");
        QTest::newRow("Windows-1252") << QByteArray("L\xf6schen \x80\x81") << QString() << u"Löschen \u20AC\u0081"_s
                                      << QByteArray("LXschen \x80\x81");
        QTest::newRow("named") << QByteArray("\xcf\xf0\xe8") << u"windows-1251"_s << u"При"_s << QByteArray("\xcfX\xe8");
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QFETCH(QString, text);
        QFETCH(QByteArray, changed);
        const basic::Source source(bytes, basic::Encoding::named(encoding));
        QCOMPARE(source.text(), text);
        const std::array changes{basic::Source::Change{1, 2, u"X"_s}};
        QCOMPARE(source.withChanges(changes), changed);
    }
};

QTEST_GUILESS_MAIN(TestSoundness)
#include "tst_soundness.moc"
