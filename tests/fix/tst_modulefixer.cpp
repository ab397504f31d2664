// SPDX-License-Identifier: GPL-3.0-or-later
// What `fix` makes of message boxes written every way BASIC allows, and what
// it leaves alone.

#include "fix/ModuleFixer.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString applied(const QString &text, const fix::ModuleFixes &fixes)
{
    QString out;
    qsizetype done = 0;
    for (const fix::Change &change : fixes.changes) {
        out += QStringView(text).sliced(done, change.from - done);
        out += change.replacement;
        done = change.to;
    }
    return out + QStringView(text).sliced(done);
}

// The value of a buttons argument as the tests write them: terms joined by
// " + ", each a decimal or &H number or one of these names. Written from
// BASIC's documentation, apart from the program's own table.
qint64 evaluateButtons(QStringView argument)
{
    static const QHash<QString, qint64> names{
        {u"vbOKOnly"_s, 0},           {u"vbOKCancel"_s, 1},           {u"vbAbortRetryIgnore"_s, 2},
        {u"vbYesNoCancel"_s, 3},      {u"vbYesNo"_s, 4},              {u"vbRetryCancel"_s, 5},
        {u"vbCritical"_s, 16},        {u"vbQuestion"_s, 32},          {u"vbExclamation"_s, 48},
        {u"vbInformation"_s, 64},     {u"vbDefaultButton2"_s, 256},   {u"vbDefaultButton3"_s, 512},
        {u"vbDefaultButton4"_s, 768}, {u"vbSystemModal"_s, 4096},     {u"vbMsgBoxHelpButton"_s, 16384},
        {u"vbMsgBoxSetForeground"_s, 65536}, {u"vbMsgBoxRight"_s, 524288}, {u"vbMsgBoxRtlReading"_s, 1048576},
        {u"MB_OK"_s, 0}, {u"MB_YESNO"_s, 4}, {u"MB_YESNOCANCEL"_s, 3}, {u"MB_OKCANCEL"_s, 1},
        {u"MB_ABORTRETRYIGNORE"_s, 2}, {u"MB_RETRYCANCEL"_s, 5}, {u"MB_ICONSTOP"_s, 16},
        {u"MB_ICONQUESTION"_s, 32}, {u"MB_ICONEXCLAMATION"_s, 48}, {u"MB_ICONINFORMATION"_s, 64},
        {u"MB_DEFBUTTON2"_s, 256}, {u"MB_DEFBUTTON3"_s, 512}, {u"MB_SYSTEMMODAL"_s, 4096},
    };
    qint64 sum = 0;
    for (const QStringView term : argument.split(u'+')) {
        const QString t = term.trimmed().toString();
        bool ok = false;
        const qint64 number = t.startsWith(u"&H"_s) ? t.mid(2).toLongLong(&ok, 16) : t.toLongLong(&ok);
        sum += ok ? number : names.value(t, -1000000);
    }
    return sum;
}

} // namespace

class TestModuleFixer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixes_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("libreOffice");
        QTest::addColumn<int>("notes");
        const auto row = [](const char *name, const QString &before, const QString &after, bool lo = false, int notes = 0) {
            QTest::newRow(name) << before << after << lo << notes;
        };
        row("statement", u"MsgBox \"Delete the record?\", 36"_s, u"MsgBox \"Delete the record?\", vbYesNo + vbQuestion"_s);
        row("function, a sum", u"x = MsgBox(\"a\", 4 + 32)"_s, u"x = MsgBox(\"a\", vbYesNo + vbQuestion)"_s);
        row("hex, VBA.Interaction", u"x = VBA.Interaction.MsgBox(\"a\", &H24)"_s,
            u"x = VBA.Interaction.MsgBox(\"a\", vbYesNo + vbQuestion)"_s);
        row("named argument", u"MsgBox Prompt:=\"a\", Buttons:=36"_s, u"MsgBox Prompt:=\"a\", Buttons:=vbYesNo + vbQuestion"_s);
        row("a name and a number", u"MsgBox \"a\", vbYesNo + 32"_s, u"MsgBox \"a\", vbYesNo + vbQuestion"_s);
        row("zero plus a name", u"MsgBox \"a\", 0 + vbExclamation"_s, u"MsgBox \"a\", vbExclamation"_s);
        row("the icon alone", u"MsgBox \"a\", 16"_s, u"MsgBox \"a\", vbCritical"_s);
        row("vbOKOnly and a number", u"MsgBox \"a\", vbOKOnly + 48"_s, u"MsgBox \"a\", vbExclamation"_s);
        row("zero", u"MsgBox \"a\", 0"_s, u"MsgBox \"a\", vbOKOnly"_s);
        row("names only stay", u"MsgBox \"a\", vbYesNo + vbQuestion"_s, u"MsgBox \"a\", vbYesNo + vbQuestion"_s);
        row("the flags without an option", u"MsgBox \"a\", 65536 + 768 + 3 + 524288 + 1048576"_s,
            u"MsgBox \"a\", vbYesNoCancel + vbDefaultButton4 + vbMsgBoxSetForeground + vbMsgBoxRight + vbMsgBoxRtlReading"_s);
        row("help and system modal", u"MsgBox \"a\", 20480"_s, u"MsgBox \"a\", vbSystemModal + vbMsgBoxHelpButton"_s);
        row("compared result", u"If MsgBox(\"a\", 36) = 6 Then Exit Sub"_s,
            u"If MsgBox(\"a\", vbYesNo + vbQuestion) = vbYes Then Exit Sub"_s);
        row("compared result, number first", u"If 7 <> MsgBox(\"a\", vbYesNo) Then Beep"_s,
            u"If vbNo <> MsgBox(\"a\", vbYesNo) Then Beep"_s);
        row("Select Case", u"Select Case MsgBox(\"a\", 3)\r\nCase 6, 7\r\n  Beep\r\nCase Is = 2\r\nCase Else\r\nEnd Select"_s,
            u"Select Case MsgBox(\"a\", vbYesNoCancel)\r\nCase vbYes, vbNo\r\n  Beep\r\nCase Is = vbCancel\r\nCase Else\r\nEnd Select"_s);
        row("a result variable",
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If r = 6 Then Beep\n  Select Case r\n  Case 7\n  End Select\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If r = vbYes Then Beep\n  Select Case r\n  Case vbNo\n  End Select\nEnd Sub"_s);
        row("a result variable set again",
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  r = 7\n  If r = 6 Then Beep\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  r = 7\n  If r = 6 Then Beep\nEnd Sub"_s, false, 1);
        row("the same name in another procedure",
            u"Sub A()\n  r = MsgBox(\"a\", 4)\nEnd Sub\nSub B()\n  If r = 6 Then Beep\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\nEnd Sub\nSub B()\n  If r = 6 Then Beep\nEnd Sub"_s);
        row("strings and comments", u"s = \"MsgBox \"\"a\"\", 36\" ' MsgBox \"a\", 36\nRem MsgBox \"a\", 36\n' x _\nMsgBox \"a\", 36"_s,
            u"s = \"MsgBox \"\"a\"\", 36\" ' MsgBox \"a\", 36\nRem MsgBox \"a\", 36\n' x _\nMsgBox \"a\", 36"_s);
        row("an object's MsgBox", u"Me.MsgBox \"a\", 36"_s, u"Me.MsgBox \"a\", 36"_s);
        row("a variable in the buttons", u"MsgBox \"a\", n + 32"_s, u"MsgBox \"a\", n + 32"_s, false, 1);
        // A number that is no flag of the box's own would not be named: no note.
        row("a function call in the buttons", u"MsgBox \"a\", Style(1)"_s, u"MsgBox \"a\", Style(1)"_s);
        row("a variable alone", u"MsgBox \"a\", n"_s, u"MsgBox \"a\", n"_s);
        row("two icons", u"MsgBox \"a\", 16 + 32"_s, u"MsgBox \"a\", 16 + 32"_s, false, 1);
        row("#If False is no code", u"#If False Then\nMsgBox \"a\", 36\n#End If"_s, u"#If False Then\nMsgBox \"a\", 36\n#End If"_s);
        row("a continued argument", u"MsgBox \"a\", 4 + _\n  32"_s, u"MsgBox \"a\", vbYesNo + vbQuestion"_s);
        row("LibreOffice", u"If MsgBox(\"a\", 36) = 6 Then Beep"_s, u"If MsgBox(\"a\", MB_YESNO + MB_ICONQUESTION) = IDYES Then Beep"_s, true);
        row("LibreOffice has no Help flag", u"MsgBox \"a\", 16388"_s, u"MsgBox \"a\", 16388"_s, true, 1);
        row("LibreOffice keeps a name it has none for", u"MsgBox \"a\", 16 + vbMsgBoxRight"_s,
            u"MsgBox \"a\", 16 + vbMsgBoxRight"_s, true, 1);
        row("LibreOffice has no fourth default button", u"MsgBox \"a\", 3 + 768"_s, u"MsgBox \"a\", 3 + 768"_s, true, 1);
        row("LibreOffice, the icon alone", u"MsgBox \"a\", 16"_s, u"MsgBox \"a\", MB_ICONSTOP"_s, true);
        row("LibreOffice, zero", u"MsgBox \"a\", 0"_s, u"MsgBox \"a\", MB_OK"_s, true);
        // Another dialect's name is an empty variable there: naming the
        // number around it would change the box (vbYesNo + 32 is 32 in
        // LibreOffice Basic).
        row("LibreOffice, Visual Basic's names", u"MsgBox \"a\", vbYesNo + 32"_s, u"MsgBox \"a\", vbYesNo + 32"_s, true,
            1);
        row("Visual Basic, LibreOffice's names", u"MsgBox s, MB_YESNO + 32"_s, u"MsgBox s, MB_YESNO + 32"_s, false, 1);

        // The module's own names.
        row("a Const of the result's name", u"Const vbYes = 5\nIf MsgBox(\"a\", 4) = 6 Then Beep"_s,
            u"Const vbYes = 5\nIf MsgBox(\"a\", vbYesNo) = 6 Then Beep"_s, false, 1);
        row("a local of the buttons' name", u"Sub A()\n  Dim vbYesNo\n  MsgBox \"a\", 4\nEnd Sub"_s,
            u"Sub A()\n  Dim vbYesNo\n  MsgBox \"a\", 4\nEnd Sub"_s, false, 1);
        row("a parameter of the result's name", u"Sub A(vbYes)\n  If MsgBox(\"a\", vbYesNo) = 6 Then Beep\nEnd Sub"_s,
            u"Sub A(vbYes)\n  If MsgBox(\"a\", vbYesNo) = 6 Then Beep\nEnd Sub"_s, false, 1);
        row("a declared name written in the buttons", u"Const vbQuestion = 64\nMsgBox \"a\", 4 + vbQuestion"_s,
            u"Const vbQuestion = 64\nMsgBox \"a\", 4 + vbQuestion"_s, false, 1);
        row("the module's own MsgBox function",
            u"Function MsgBox(p, b)\nEnd Function\nSub A()\n  MsgBox \"a\", 36\n  If MsgBox(\"b\", 4) = 6 Then Beep\nEnd Sub"_s,
            u"Function MsgBox(p, b)\nEnd Function\nSub A()\n  MsgBox \"a\", 36\n  If MsgBox(\"b\", 4) = 6 Then Beep\nEnd Sub"_s,
            false, 1);
        row("the module's own MsgBox array", u"Dim MsgBox(3)\nSub A()\n  x = MsgBox(1, 36) = 6\nEnd Sub"_s,
            u"Dim MsgBox(3)\nSub A()\n  x = MsgBox(1, 36) = 6\nEnd Sub"_s, false, 1);
        row("a VBA of the module's own", u"Private VBA As Object\nMsgBox \"a\", 36"_s,
            u"Private VBA As Object\nMsgBox \"a\", 36"_s, false, 1);

        // Where the names go.
        row("a word right after the number", u"If MsgBox(\"a\", 4) = 6Then Beep"_s,
            u"If MsgBox(\"a\", vbYesNo) = vbYes Then Beep"_s);
        row("no spaces at all", u"If MsgBox(\"a\",4)=6 Then Beep"_s, u"If MsgBox(\"a\",vbYesNo)=vbYes Then Beep"_s);
        row("compared within And", u"If x And MsgBox(\"a\", 4) = 6 Then Beep"_s,
            u"If x And MsgBox(\"a\", vbYesNo) = vbYes Then Beep"_s);
        row("the call in a sum is no result", u"If x + MsgBox(\"a\", 4) = 6 Then Beep"_s,
            u"If x + MsgBox(\"a\", vbYesNo) = 6 Then Beep"_s);
        row("a result variable in a difference",
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If x - r = 6 Then Beep\n  If r = 6 + x Then Beep\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If x - r = 6 Then Beep\n  If r = 6 + x Then Beep\nEnd Sub"_s);
        row("a module-level result variable",
            u"Dim r\nSub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If r = 6 Then Beep\nEnd Sub\nSub B()\n  r = 7\nEnd Sub"_s,
            u"Dim r\nSub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If r = 6 Then Beep\nEnd Sub\nSub B()\n  r = 7\nEnd Sub"_s,
            false, 1);
        row("a local declared as the module's",
            u"Dim r\nSub A()\n  Dim r\n  r = MsgBox(\"a\", vbYesNo)\n  If r = 6 Then Beep\nEnd Sub"_s,
            u"Dim r\nSub A()\n  Dim r\n  r = MsgBox(\"a\", vbYesNo)\n  If r = vbYes Then Beep\nEnd Sub"_s);
        row("two boxes set one variable",
            u"Sub A()\n  r = MsgBox(\"a\", 4)\n  If r = 7 Then Exit Sub\n  r = MsgBox(\"b\", 4)\n  If r = 6 Then Beep\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  If r = vbNo Then Exit Sub\n  r = MsgBox(\"b\", vbYesNo)\n  If r = vbYes Then Beep\nEnd Sub"_s);
        row("set again, never compared: no note",
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  r = 7\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  r = 7\nEnd Sub"_s);
        row("set again by two boxes: one note",
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  r = MsgBox(\"b\", vbYesNo)\n  r = 0\n  If r = 6 Then Beep\nEnd Sub"_s,
            u"Sub A()\n  r = MsgBox(\"a\", vbYesNo)\n  r = MsgBox(\"b\", vbYesNo)\n  r = 0\n  If r = 6 Then Beep\nEnd Sub"_s,
            false, 1);
        row("a control of the form of the result's name",
            u"Begin VB.Form F\n  Begin VB.CommandButton vbYes\n  End\nEnd\nIf MsgBox(\"x\", 4) = 6 Then Beep"_s,
            u"Begin VB.Form F\n  Begin VB.CommandButton vbYes\n  End\nEnd\nIf MsgBox(\"x\", vbYesNo) = 6 Then Beep"_s,
            false, 1);
        row("BASIC's name in brackets", u"Enum E: [vbQuestion] = 3: End Enum\nMsgBox \"a\", 36"_s,
            u"Enum E: [vbQuestion] = 3: End Enum\nMsgBox \"a\", 36"_s, false, 1);
        row("a compiled-out branch", u"#If 1 And 2 Then\nMsgBox \"a\", 36\n#Else\nMsgBox \"a\", 4\n#End If"_s,
            u"#If 1 And 2 Then\nMsgBox \"a\", 36\n#Else\nMsgBox \"a\", vbYesNo\n#End If"_s);
        row("no button set of the box", u"MsgBox \"x\", 7"_s, u"MsgBox \"x\", 7"_s, false, 1);
        row("no flag of the box", u"MsgBox \"x\", 8192 + 16"_s, u"MsgBox \"x\", 8192 + 16"_s, false, 1);
        row("no result of the box", u"If MsgBox(\"a\", 4) = 8 Then Beep"_s, u"If MsgBox(\"a\", vbYesNo) = 8 Then Beep"_s,
            false, 1);
    }
    void fixes()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, libreOffice);
        QFETCH(int, notes);
        const auto dialect = libreOffice ? basic::Dialect::LibreOffice : basic::Dialect::VisualBasic;
        const fix::ModuleFixes fixes = fix::fixModule(before, dialect);
        QCOMPARE(applied(before, fixes), after);
        QCOMPARE(int(fixes.notes.size()), notes);
        // Once fixed, nothing more to fix.
        QVERIFY(fix::fixModule(after, dialect).changes.empty());
    }

    // A place left because the module declares the name says where: the
    // note stands at the number and names the declaration's line.
    void notesNameTheDeclaration_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("declaration"); // text on the declaring line
        QTest::addColumn<QString>("number");      // text on the number's line
        QTest::newRow("a Const after the code")
            << u"Sub A()\r\n  If MsgBox(\"a\", vbYesNo) = 7 Then Beep\r\nEnd Sub\r\nPublic Const vbNo = 1\r\n"_s
            << u"Const vbNo"_s << u"= 7"_s;
        QTest::newRow("an Enum member") << u"Enum Answers\n  Other\n  IDYES = 3\nEnd Enum\nIf MsgBox(\"a\", 36) = 6 Then Beep\n"_s
                                        << u"IDYES = 3"_s << u"= 6"_s;
        QTest::newRow("a label") << u"Sub A()\nvbCritical:\n  MsgBox \"a\", 16\nEnd Sub\n"_s << u"vbCritical:"_s << u"16"_s;
    }
    void notesNameTheDeclaration()
    {
        QFETCH(QString, text);
        QFETCH(QString, declaration);
        QFETCH(QString, number);
        const auto lineOf = [&](const QString &part) {
            const QStringList lines = QString(text).replace(u"\r\n"_s, u"\n"_s).split(u'\n');
            for (int k = 0; k < lines.size(); ++k) {
                if (lines[k].contains(part))
                    return k + 1;
            }
            return 0;
        };
        const bool libreOffice = declaration.startsWith(u"ID"_s);
        const fix::ModuleFixes fixes =
            fix::fixModule(text, libreOffice ? basic::Dialect::LibreOffice : basic::Dialect::VisualBasic);
        QCOMPARE(int(fixes.notes.size()), 1);
        QCOMPARE(fixes.notes.front().line, lineOf(number));
        QVERIFY2(fixes.notes.front().message.contains(u"line %1"_s.arg(lineOf(declaration))),
                 qPrintable(fixes.notes.front().message));
    }

    // The classic editor loads lines of up to 1,023 characters: a change
    // that would make one longer is left, with a note.
    void keepsLinesWithinTheEditor_data()
    {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("tail");
        QTest::addColumn<int>("over"); // the fixed line's length less the limit
        QTest::newRow("buttons, at the limit") << u"  MsgBox \""_s << u"\", 36"_s << 0;
        QTest::newRow("buttons, one past") << u"  MsgBox \""_s << u"\", 36"_s << 1;
        QTest::newRow("buttons and result, at the limit") << u"  If MsgBox(\""_s << u"\", 36) = 6 Then Beep"_s << 0;
        QTest::newRow("buttons and result, one past") << u"  If MsgBox(\""_s << u"\", 36) = 6 Then Beep"_s << 1;
    }
    void keepsLinesWithinTheEditor()
    {
        QFETCH(QString, head);
        QFETCH(QString, tail);
        QFETCH(int, over);
        const auto module = [&](qsizetype padding) -> QString {
            return u"Sub A()\r\n"_s + head + QString(padding, u'x') + tail + u"\r\nEnd Sub\r\n"_s;
        };
        // How much the fix makes the line grow, from a short one.
        const QString shortText = module(1);
        const fix::ModuleFixes shortFixes = fix::fixModule(shortText, basic::Dialect::VisualBasic);
        const QString shortFixed = applied(shortText, shortFixes);
        const qsizetype growth = shortFixed.size() - shortText.size();
        QVERIFY(growth > 0);
        const qsizetype padding = basic::MaxLineLength + over - growth - (head.size() + tail.size());
        const QString text = module(padding);
        const fix::ModuleFixes fixes = fix::fixModule(text, basic::Dialect::VisualBasic);
        const QString after = applied(text, fixes);
        for (const QStringView line : QStringView(after).split(u"\r\n"_s))
            QVERIFY(line.size() <= basic::MaxLineLength);
        if (over > 0) {
            QCOMPARE(after, text);
            QCOMPARE(fixes.notes.size(), shortFixes.changes.size());
        } else {
            QCOMPARE(after.size(), text.size() + growth);
            QVERIFY(fixes.notes.empty());
        }
    }

    // Random modules: every changed buttons argument means the same number,
    // the text outside the changed spans is the same, and a second run
    // changes nothing.
    void randomModules()
    {
        QRandomGenerator random(2202);
        const QStringList terms{u"0"_s, u"1"_s, u"3"_s, u"4"_s, u"16"_s, u"32"_s, u"48"_s, u"64"_s, u"256"_s,
                                u"512"_s, u"4096"_s, u"&H24"_s, u"vbYesNo"_s, u"vbQuestion"_s, u"vbDefaultButton2"_s,
                                u"vbSystemModal"_s, u"16384"_s, u"65536"_s};
        const QStringList noise{u"x = 36"_s, u"s = \"MsgBox 36\""_s, u"' MsgBox \"a\", 36"_s, u"Call Foo(36)"_s,
                                u"If a = 6 Then Beep"_s, u"Dim r As Long"_s};
        for (int round = 0; round < 300; ++round) {
            QString text;
            QList<qint64> values;
            const int lines = 1 + random.bounded(12);
            for (int l = 0; l < lines; ++l) {
                if (random.bounded(3) == 0) {
                    text += noise.at(random.bounded(noise.size()));
                } else {
                    // Distinct groups only, so that BASIC takes the sum.
                    QStringList chosen;
                    qint64 used = 0;
                    qint64 value = 0;
                    for (int k = 0; k < 1 + random.bounded(3); ++k) {
                        const QString term = terms.at(random.bounded(terms.size()));
                        const qint64 v = evaluateButtons(term);
                        const qint64 group = v < 16 ? 0xF : v < 256 ? 0xF0 : v < 4096 ? 0xF00 : v;
                        if (used & group || (v < 16 && used & 0xF) || v == 0)
                            continue;
                        used |= group == 0xF ? 0xF : group;
                        value += v;
                        chosen << term;
                    }
                    if (chosen.isEmpty())
                        chosen << u"0"_s;
                    values << value;
                    text += random.bounded(2) ? u"MsgBox \"m\", %1"_s.arg(chosen.join(u" + "_s))
                                              : u"r = MsgBox(\"m\", %1)"_s.arg(chosen.join(u" + "_s));
                }
                text += random.bounded(2) ? u"\r\n"_s : u"\n"_s;
            }
            const fix::ModuleFixes fixes = fix::fixModule(text, basic::Dialect::VisualBasic);
            const QString after = applied(text, fixes);
            for (const fix::Change &change : fixes.changes) {
                if (change.original.contains(u'v') || change.original.contains(u'&') || change.original.at(0).isDigit())
                    QCOMPARE(evaluateButtons(change.replacement), evaluateButtons(change.original));
                QVERIFY(!change.replacement.contains(u'"'));
            }
            // Outside the spans: the same characters.
            qsizetype done = 0;
            qsizetype shift = 0;
            for (const fix::Change &change : fixes.changes) {
                QCOMPARE(after.mid(done + shift, change.from - done), text.mid(done, change.from - done));
                shift += change.replacement.size() - (change.to - change.from);
                done = change.to;
            }
            QCOMPARE(after.mid(done + shift), text.mid(done));
            QVERIFY(fix::fixModule(after, basic::Dialect::VisualBasic).changes.empty());
        }
    }
};

QTEST_GUILESS_MAIN(TestModuleFixer)
#include "tst_modulefixer.moc"
