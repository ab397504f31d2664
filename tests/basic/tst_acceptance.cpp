// SPDX-License-Identifier: GPL-3.0-or-later
// What a reader acts on: a value is read only where every name and every
// statement that can touch it is one the reader models; anything else is
// refused. Each row is a construct whose meaning a looser reader got wrong.

#include "app/Tools.h"
#include "reader/CodeReader.h"
#include "tools/commondialog/CommonDialogFields.h"
#include "tools/inputbox/InputBoxFields.h"
#include "tools/msgbox/MsgBoxFields.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The first tool's message, or its title for the common dialog's Open page.
QString valueOf(const ReadResult &result)
{
    if (result.toolName() == u"msgbox"_s)
        return result.fieldsAs<MsgBoxFields>().message;
    if (result.toolName() == u"inputbox"_s)
        return result.fieldsAs<InputBoxFields>().message;
    if (result.toolName() == u"commondialog"_s)
        return result.fieldsAs<CommonDialogFields>().openTitle;
    return {};
}

ReadSettings settingsFor(const QString &dialect, const QString &codePage)
{
    ReadSettings settings;
    settings.codePage = codePage;
    if (dialect == u"vb"_s)
        settings.dialect = basic::Dialect::VisualBasic;
    else if (dialect == u"libreoffice"_s)
        settings.dialect = basic::Dialect::LibreOffice;
    else if (dialect == u"gambas"_s)
        settings.dialect = basic::Dialect::Gambas;
    return settings;
}

} // namespace

class TestAcceptance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("dialect"); // given with --dialect; empty: as the code tells
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("readDialect");

        // Names.
        QTest::newRow("s and s$ are one variable")
            << u"Dim s$\ns = \"a\"\nMsgBox s$"_s << QString() << QString() << u"a"_s << u"vb"_s;
        QTest::newRow("DefStr makes an undeclared type a String")
            << u"DefStr S\nSub A()\n  Dim s\n  s = \"a\"\n  MsgBox s\nEnd Sub"_s << QString() << QString() << u"a"_s << u"vb"_s;
        QTest::newRow("a procedure's own Const")
            << u"Sub A()\n  Const T = \"t\"\n  MsgBox T\nEnd Sub"_s << QString() << QString() << u"t"_s << u"vb"_s;
        QTest::newRow("the module's function is not BASIC's MsgBox")
            << u"Function MsgBox(s)\nEnd Function\nSub A()\n  x = InputBox(\"real\")\nEnd Sub"_s << QString()
            << QString() << u"real"_s << u"vb"_s;
        QTest::newRow("the procedure's name is passed to the box, not to a call")
            << u"Sub A()\n  Dim s As String\n  s = \"a\"\n  Call MsgBox(s)\nEnd Sub"_s << QString() << QString() << u"a"_s
            << u"vb"_s;
        // Conditional compilation as Visual Basic works it out.
        QTest::newRow("Not 1 is -2, which is True")
            << u"#If Not 1 Then\nMsgBox \"on\"\n#Else\nMsgBox \"off\"\n#End If"_s << QString() << QString() << u"on"_s
            << u"vb"_s;
        QTest::newRow("a module-level #Const in a procedure")
            << u"#Const Trace = 0\nSub A()\n#If Trace Then\n  MsgBox \"trace\"\n#Else\n  MsgBox \"quiet\"\n#End If\nEnd Sub"_s
            << QString() << QString() << u"quiet"_s << u"vb"_s;
        QTest::newRow("And is bitwise: 1 And 2 is 0")
            << u"#If 1 And 2 Then\nMsgBox \"on\"\n#Else\nMsgBox \"off\"\n#End If"_s << QString() << QString() << u"off"_s
            << u"vb"_s;
        // Code pages and dialects.
        QTest::newRow("Chr follows the module's code page")
            << u"MsgBox Chr(200)"_s << QString() << u"windows-1251"_s << u"И"_s << u"vb"_s;
        QTest::newRow("Chr is Windows-1252 without one")
            << u"MsgBox Chr(150)"_s << QString() << QString() << u"\u2013"_s << u"vb"_s;
        QTest::newRow("LibreOffice's Chr is Unicode")
            << u"MsgBox \"a\" & Chr(150)"_s << u"libreoffice"_s << QString() << u"a\u0096"_s << u"libreoffice"_s;
        QTest::newRow("Gambas literals are UTF-8 bytes")
            << u"Message.Title = \"t\"\nMessage(\"caf\\xC3\\xA9\", \"OK\")"_s << QString() << QString() << u"café"_s
            << u"gambas"_s;
        QTest::newRow("a module's own Message is no sign of Gambas")
            << u"Function Message(s)\nEnd Function\nSub A()\n  MsgBox \"C:\\temp\"\nEnd Sub"_s << QString() << QString()
            << u"C:\\temp"_s << u"vb"_s;
        QTest::newRow("As String alone is no sign of LibreOffice")
            << u"Dim x As String\nx = InputBox (\"a\")"_s << QString() << QString() << u"a"_s << u"vb"_s;
        QTest::newRow("--dialect gambas reads backslash escapes")
            << u"x = InputBox(\"a\\tb\")"_s << u"gambas"_s << QString() << u"a\tb"_s << u"gambas"_s;
        QTest::newRow("a text in parentheses is one argument")
            << u"MsgBox (\"Sure?\")"_s << QString() << QString() << u"Sure?"_s << u"vb"_s;
        QTest::newRow("LibreOffice takes a statement's arguments in parentheses")
            << u"MsgBox (\"Sure?\", MB_YESNO)"_s << QString() << QString() << u"Sure?"_s << u"libreoffice"_s;
        // Forms.
        QTest::newRow("a designer part's data format is no Type")
            << u"VERSION 5.00\nBegin VB.Form Form1\n   BeginProperty DataFormat\n      Type = 0\n   EndProperty\nEnd\n"
               u"Attribute VB_Name = \"Form1\"\nPrivate Sub Form_Load()\n  MsgBox \"loaded\"\nEnd Sub"_s
            << QString() << QString() << u"loaded"_s << u"vb"_s;
        QTest::newRow("a designer setting the code sets again")
            << u"VERSION 5.00\nBegin VB.Form Form1\n   Begin MSComDlg.CommonDialog CommonDialog1\n      DialogTitle = \"old\"\n"
               u"   End\nEnd\nPrivate Sub A()\n  CommonDialog1.DialogTitle = \"new\"\n  CommonDialog1.ShowOpen\nEnd Sub"_s
            << QString() << QString() << u"new"_s << u"vb"_s;
    }
    void reads()
    {
        QFETCH(QString, code);
        QFETCH(QString, dialect);
        QFETCH(QString, codePage);
        QFETCH(QString, value);
        QFETCH(QString, readDialect);
        const ReadResult result = readCode(code, tools(), nullptr, settingsFor(dialect, codePage));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error->text()));
        QCOMPARE(valueOf(result), value);
        QCOMPARE(basic::dialectName(result.code.dialect), readDialect);
    }

    void refuses_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("dialect");
        QTest::addColumn<QString>("error");

        // BASIC's names that the module declares for itself.
        QTest::newRow("a Const named vbCrLf")
            << u"Const vbCrLf = \" \"\nMsgBox \"a\" & vbCrLf & \"b\""_s << QString()
            << u"line 2, column 14: vbCrLf is declared in this module (line 1)"_s;
        QTest::newRow("a local Dim named vbTab")
            << u"Sub A()\n  Dim vbTab As String\n  MsgBox \"a\" & vbTab\nEnd Sub"_s << QString()
            << u"line 3, column 16: vbTab is declared in this module (line 2)"_s;
        QTest::newRow("a parameter named vbYesNo")
            << u"Sub A(vbYesNo)\n  MsgBox \"a\", vbYesNo\nEnd Sub"_s << QString()
            << u"line 2, column 15: vbYesNo is declared in this module (line 1)"_s;
        QTest::newRow("the module's own Chr")
            << u"Function Chr(n)\nEnd Function\nMsgBox Chr(65)"_s << QString()
            << u"line 3, column 8: Chr is declared in this module (line 1)"_s;
        QTest::newRow("an Enum member named vbCritical")
            << u"Enum Kinds\n  vbCritical = 5\nEnd Enum\nMsgBox \"a\", vbCritical"_s << QString()
            << u"line 4, column 13: vbCritical is declared in this module (line 2)"_s;
        QTest::newRow("a label named vbCr")
            << u"vbCr:\nMsgBox \"a\" & vbCr"_s << QString() << u"line 2, column 14: vbCr is declared in this module (line 1)"_s;
        // Types decided elsewhere.
        QTest::newRow("DefInt makes an undeclared type an Integer")
            << u"DefInt A-Z\nSub A()\n  Dim s\n  s = \"05\"\n  MsgBox s\nEnd Sub"_s << QString()
            << u"line 5, column 10: s is declared As Integer; only a String or Variant is read as text"_s;
        QTest::newRow("s% is an Integer")
            << u"Dim s%\ns = \"05\"\nMsgBox s"_s << QString()
            << u"line 3, column 8: s is declared As Integer; only a String or Variant is read as text"_s;
        QTest::newRow("an input box's answer in an Integer")
            << u"Dim n As Integer\nn = InputBox(\"How many?\")"_s << QString()
            << u"line 2, column 1: n is declared As Integer; the input box tool's variable holds the answer as a String"_s;
        // Lifetime and flow.
        QTest::newRow("Static Sub keeps its locals")
            << u"Static Sub A()\n  Dim s As String\n  s = s & \"x\"\n  MsgBox s\nEnd Sub"_s << QString()
            << u"line 4, column 10: s keeps its text from one call to the next: A is a Static procedure"_s;
        QTest::newRow("a Static variable")
            << u"Sub A()\n  Static s As String\n  s = \"x\"\n  MsgBox s\nEnd Sub"_s << QString()
            << u"line 4, column 10: s is Static (line 2): it keeps its text from one call to the next"_s;
        QTest::newRow("a jump back above the Dim")
            << u"Sub A()\nAgain:\n  Dim s As String\n  s = s & \"x\"\n  If Len(s) < 3 Then GoTo Again\n  MsgBox s\nEnd Sub"_s
            << QString() << u"line 6, column 10: the GoTo on line 5 may jump back above where s is set, and set it again"_s;
        QTest::newRow("a parameter")
            << u"Sub A(ByRef s As String)\n  s = \"x\"\n  MsgBox s\nEnd Sub"_s << QString()
            << u"line 3, column 10: s is a parameter: its text comes from the caller"_s;
        QTest::newRow("a call earlier in the statement")
            << u"Sub A()\n  Dim s As String\n  s = \"a\"\n  If Check(s) And MsgBox(s, 4) = 6 Then Exit Sub\nEnd Sub"_s
            << QString() << u"line 4, column 26: s is given to a call in the same statement, which may change it"_s;
        QTest::newRow("a module-level variable")
            << u"Private s As String\nSub A()\n  s = \"a\"\n  MsgBox s\nEnd Sub"_s << QString()
            << u"line 4, column 10: s is declared for the whole module (line 1), so other procedures may set it"_s;
        QTest::newRow("not declared")
            << u"Sub A()\n  s = \"a\"\n  MsgBox s\nEnd Sub"_s << QString()
            << u"line 3, column 10: s is not declared in this procedure (Dim), so code elsewhere may set it"_s;
        // Controls reached another way.
        QTest::newRow("Me.CommonDialog1")
            << u"Me.CommonDialog1.DialogTitle = \"x\"\nCommonDialog1.ShowOpen"_s << QString()
            << u"line 2, column 1: CommonDialog1 is reached through Me. on line 1; only CommonDialog1.Property is followed"_s;
        QTest::newRow("With CommonDialog1")
            << u"With CommonDialog1\n  .DialogTitle = \"x\"\nEnd With\nCommonDialog1.ShowOpen"_s << QString()
            << u"line 4, column 1: CommonDialog1 is used as a whole on line 1 (With, Set or a call given it), which may change its settings"_s;
        QTest::newRow("Set to another name")
            << u"Set dlg = CommonDialog1\ndlg.DialogTitle = \"x\"\nCommonDialog1.ShowOpen"_s << QString()
            << u"line 3, column 1: CommonDialog1 is used as a whole on line 1 (With, Set or a call given it), which may change its settings"_s;
        QTest::newRow("a designer part's title")
            << u"VERSION 5.00\nBegin VB.Form Form1\n   Begin MSComDlg.CommonDialog CommonDialog1\n      DialogTitle = \"old\"\n"
               u"   End\nEnd\nPrivate Sub A()\n  CommonDialog1.ShowOpen\nEnd Sub"_s
            << QString()
            << u"line 8, column 3: CommonDialog1's DialogTitle is set in the form's designer part (line 4), which this code does not set again"_s;
        // Dialects.
        QTest::newRow("Gambas adds with +")
            << u"Message.Title = \"t\"\nMessage(\"1\" + \"2\", \"OK\")"_s << QString()
            << u"line 2, column 13: + adds numbers in Gambas; texts are joined with &"_s;
        QTest::newRow("a Gambas byte that is no character")
            << u"Message.Title = \"t\"\nMessage(\"caf\\xC3\", \"OK\")"_s << QString()
            << u"line 2, column 10: the literal's \\x bytes are no whole UTF-8 characters"_s;
        QTest::newRow("vbCrLf in LibreOffice Basic")
            << u"MsgBox \"a\" & vbCrLf & \"b\", MB_OK"_s << QString()
            << u"line 1, column 14: vbCrLf is Visual Basic's; LibreOffice Basic without Option VBASupport 1 has no such constant"_s;
        QTest::newRow("two arguments in a statement's parentheses")
            << u"MsgBox (\"Sure?\", vbYesNo)"_s << QString()
            << u"line 1, column 8: Visual Basic does not compile a MsgBox statement with its arguments in parentheses; it takes MsgBox \"…\", … or Call MsgBox(…)"_s;
        // Line breaks the tools cannot write back.
        QTest::newRow("vbLf")
            << u"MsgBox \"a\" & vbLf & \"b\""_s << QString()
            << u"line 1, column 8: the text holds a line break of LF alone (vbLf), which the tools do not write; they write CR LF"_s;
    }
    void refuses()
    {
        QFETCH(QString, code);
        QFETCH(QString, dialect);
        QFETCH(QString, error);
        const ReadResult result = readCode(code, tools(), nullptr, settingsFor(dialect, QString()));
        QVERIFY2(!result.ok(), qPrintable(result.toolName() + u": "_s + valueOf(result)));
        QCOMPARE(result.error->text(), error);
    }
};

QTEST_GUILESS_MAIN(TestAcceptance)
#include "tst_acceptance.moc"
