// SPDX-License-Identifier: GPL-3.0-or-later
// The LibreOffice Basic dialect, as text: what each tool writes for it, and
// that the command line and --from-json choose it. tst_libreofficebasic runs
// such code in LibreOffice itself.

#include "codegen/CodeLayout.h"
#include "support/GenerateRun.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgBoxFields)
Q_DECLARE_METATYPE(InputBoxFields)
Q_DECLARE_METATYPE(CommonDialogFields)

namespace {

using Constants = codegen::CodeOptions::Constants;
constexpr auto LibreOffice = codegen::CodeOptions::Dialect::LibreOffice;

codegen::CodeOptions libreOffice(Constants constants = Constants::Numbers)
{
    return {constants, LibreOffice};
}

QStringList linesOf(const QString &code)
{
    return code.split(u"\r\n"_s);
}

} // namespace

class TestLibreOfficeCode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void msgBox_data();
    void msgBox();
    void inputBox_data();
    void inputBox();
    void headerIsTheSame();
    void commonDialog_data();
    void commonDialog();
    void longTextsKeepTheLineLimits();
    void commandLine_data();
    void commandLine();
    void unknownDialectIsRefused();
};

void TestLibreOfficeCode::msgBox_data()
{
    QTest::addColumn<MsgBoxFields>("fields");
    QTest::addColumn<int>("constants");
    QTest::addColumn<QString>("expected");

    MsgBoxFields question;
    question.message = u"Save \"it\"?\r\nNow"_s;
    question.title = u"T"_s;
    question.style = {vbYesNo, vbDefaultButton2, vbQuestion, vbSystemModal};
    QTest::newRow("numbers: the same value, Chr$ codes")
        << question << int(Constants::Numbers)
        << u"'*** Start Notewright Code ***\r\nDim Response As Integer\r\n"
           "Response = Msgbox (\"Save \" & Chr$(34) & \"it\" & Chr$(34) & \"?\" & Chr$(13) & Chr$(10) & \"Now\", "
           "4388, \"T\")\r\n"
           "Select Case Response\r\n  Case 6  'User has clicked Yes\r\n    '*** Your Code Here ***\r\n"
           "  Case 7  'User has clicked No\r\n    '*** Your Code Here ***\r\nEnd Select\r\n"
           "'*** End Notewright Code ***"_s;
    QTest::newRow("names: LibreOffice's constants in Visual Basic's order")
        << question << int(Constants::Names)
        << u"'*** Start Notewright Code ***\r\nDim Response As Integer\r\n"
           "Response = Msgbox (\"Save \" & Chr$(34) & \"it\" & Chr$(34) & \"?\" & Chr$(13) & Chr$(10) & \"Now\", "
           "MB_YESNO + MB_ICONQUESTION + MB_DEFBUTTON2 + MB_SYSTEMMODAL, \"T\")\r\n"
           "Select Case Response\r\n  Case IDYES  'User has clicked Yes\r\n    '*** Your Code Here ***\r\n"
           "  Case IDNO  'User has clicked No\r\n    '*** Your Code Here ***\r\nEnd Select\r\n"
           "'*** End Notewright Code ***"_s;

    MsgBoxFields help;
    help.message = u"m"_s;
    help.style = {vbAbortRetryIgnore, vbDefaultButton3, vbCritical, vbApplicationModal};
    help.help = {true, true, u"\\x.hlp"_s, u"7"_s};
    QTest::newRow("help: a comment, no flag, no arguments")
        << help << int(Constants::Names)
        << u"'*** Start Notewright Code ***\r\nDim Response As Integer\r\n"
           "'LibreOffice's message box has no Help button or help file: they are left out.\r\n"
           "Response = Msgbox (\"m\", MB_ABORTRETRYIGNORE + MB_ICONSTOP + MB_DEFBUTTON3, \"\")\r\n"
           "Select Case Response\r\n  Case IDABORT  'User has clicked Abort\r\n    '*** Your Code Here ***\r\n"
           "  Case IDRETRY  'User has clicked retry\r\n    '*** Your Code Here ***\r\n"
           "  Case IDIGNORE  'User has clicked Ignore\r\n    '*** Your Code Here ***\r\nEnd Select\r\n"
           "'*** End Notewright Code ***"_s;
    QTest::newRow("help, numbers: 16384 left out of the value")
        << help << int(Constants::Numbers)
        << u"'*** Start Notewright Code ***\r\nDim Response As Integer\r\n"
           "'LibreOffice's message box has no Help button or help file: they are left out.\r\n"
           "Response = Msgbox (\"m\", 530, \"\")\r\n"
           "Select Case Response\r\n  Case 3  'User has clicked Abort\r\n    '*** Your Code Here ***\r\n"
           "  Case 4  'User has clicked retry\r\n    '*** Your Code Here ***\r\n"
           "  Case 5  'User has clicked Ignore\r\n    '*** Your Code Here ***\r\nEnd Select\r\n"
           "'*** End Notewright Code ***"_s;

    MsgBoxFields okOnly;
    okOnly.message = u"Done"_s;
    okOnly.title = u"\"T\""_s;
    okOnly.style.icon = vbInformation;
    okOnly.help = {true, false, u"h.hlp"_s, u"0"_s};
    QTest::newRow("OK only: a statement")
        << okOnly << int(Constants::Names)
        << u"'*** Start MsgBox Code ***\r\n"
           "'LibreOffice's message box has no Help button or help file: they are left out.\r\n"
           "Msgbox \"Done\", MB_ICONINFORMATION, \"\"\"T\"\"\"\r\n'*** End Notewright Code ***"_s;
}

void TestLibreOfficeCode::msgBox()
{
    QFETCH(MsgBoxFields, fields);
    QFETCH(int, constants);
    QFETCH(QString, expected);
    QCOMPARE(generateMsgBoxCode(fields, libreOffice(Constants(constants))), expected);
}

void TestLibreOfficeCode::inputBox_data()
{
    QTest::addColumn<InputBoxFields>("fields");
    QTest::addColumn<QString>("expected");

    QTest::newRow("declared")
        << InputBoxFields{u"T"_s, u"a\r\n\"b\""_s, u"d"_s, {}, u"Answer"_s, true}
        << u"'*** Begin Askwright Code ***\r\nDim Answer As String\r\n"
           "Answer = InputBox (\"a\" & Chr$(13) & Chr$(10) & \"\" & Chr$(34) & \"b\" & Chr$(34) & \"\", \"T\", \"d\")\r\n"
           "'*** End Askwright Code ***"_s;
    QTest::newRow("help: a comment above the call, no help file")
        << InputBoxFields{u"T"_s, u"p"_s, {}, {true, true, u"x.hlp"_s, u"9"_s}, u"Response"_s, false}
        << u"'*** Begin Askwright Code ***\r\n"
           "'LibreOffice's input box has no help file: the help file and topic are left out.\r\n"
           "Response = InputBox (\"p\", \"T\", \"\")\r\n'*** End Askwright Code ***"_s;
}

void TestLibreOfficeCode::inputBox()
{
    QFETCH(InputBoxFields, fields);
    QFETCH(QString, expected);
    for (const Constants constants : {Constants::Numbers, Constants::Names})
        QCOMPARE(generateInputBox(fields, libreOffice(constants)), expected);
}

void TestLibreOfficeCode::headerIsTheSame()
{
    const HeaderFields fields{u"P"_s, u"Prog"_s, u"1.0"_s, u"today"_s, u"(c)"_s, QString(3000, u'd')};
    QCOMPARE(header::generateHeaderBlock(fields, libreOffice()), header::generateHeaderBlock(fields, {}));
}

void TestLibreOfficeCode::commonDialog_data()
{
    QTest::addColumn<CommonDialogFields>("fields");
    // Lines that must be there, in this order, with others between them.
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("absent");

    const QString autoExtension =
        u"FilePicker.setValue(com.sun.star.ui.dialogs.ExtendedFilePickerElementIds.CHECKBOX_AUTOEXTENSION, 0, "_s;
    const QString pickerResult =
        u"If FilePicker.execute() = com.sun.star.ui.dialogs.ExecutableDialogResults.OK Then"_s;

    CommonDialogFields open;
    open.openTitle = u"Pick \"one\""_s;
    open.openFileTypes = {u"txt"_s, u"bas"_s};
    QTest::newRow("open") << open
                          << QStringList{u"'*** Begin Pickwright Code ***"_s,
                                         u"FilePicker = CreateUnoService(\"com.sun.star.ui.dialogs.FilePicker\")"_s,
                                         u"FilePicker.initialize(Array(com.sun.star.ui.dialogs.TemplateDescription."
                                         "FILEOPEN_SIMPLE))"_s,
                                         u"FilePicker.setTitle(\"Pick \"\"one\"\"\")"_s,
                                         u"FilePicker.appendFilter(\"txt Files\", \"*.txt\")"_s,
                                         u"FilePicker.appendFilter(\"bas Files\", \"*.bas\")"_s,
                                         pickerResult,
                                         u"  SelectedFiles = FilePicker.getSelectedFiles()"_s,
                                         u"  FileName = ConvertFromURL(SelectedFiles(0))"_s,
                                         u"  'in [FileName]."_s,
                                         u"End If"_s,
                                         u"'*** End Pickwright Code ***"_s,
                                         QString()}
                          << QStringList{u"CommonDialog1"_s, u"On Error"_s};

    CommonDialogFields repeated;
    repeated.openFileTypes = {u"txt"_s, u"TXT"_s, u"txt"_s, u"bas"_s};
    QTest::newRow("open, a repeated type: one filter")
        << repeated
        << QStringList{u"FilePicker.appendFilter(\"txt Files\", \"*.txt\")"_s,
                       u"FilePicker.appendFilter(\"TXT Files\", \"*.TXT\")"_s,
                       u"FilePicker.appendFilter(\"bas Files\", \"*.bas\")"_s}
        << QStringList{u"appendFilter(\"txt Files\", \"*.txt\")\r\nFilePicker.appendFilter(\"TXT Files\", \"*.TXT\")\r\n"
                       "FilePicker.appendFilter(\"txt"_s};

    CommonDialogFields save;
    save.page = DialogKind::Save;
    save.saveFileTypes = {u"txt"_s};
    save.saveDefaultExtension = u"txt"_s;
    QTest::newRow("save, the extension among the types")
        << save
        << QStringList{u"FilePicker.initialize(Array(com.sun.star.ui.dialogs.TemplateDescription."
                       "FILESAVE_AUTOEXTENSION))"_s,
                       u"FilePicker.setTitle(\"Save As\")"_s,
                       u"FilePicker.appendFilter(\"txt Files\", \"*.txt\")"_s,
                       u"FilePicker.setCurrentFilter(\"txt Files\")"_s,
                       autoExtension + u"True)"_s,
                       pickerResult}
        << QStringList{u"ExtensionName"_s, u"appendFilter(\"txt Files\", \"*.txt\")\r\nFilePicker.appendFilter"_s};
    save.saveDefaultExtension = u"bas"_s;
    QTest::newRow("save, the extension's own filter")
        << save
        << QStringList{u"FilePicker.appendFilter(\"txt Files\", \"*.txt\")"_s,
                       u"FilePicker.appendFilter(\"bas Files\", \"*.bas\")"_s,
                       u"FilePicker.setCurrentFilter(\"bas Files\")"_s, autoExtension + u"True)"_s}
        << QStringList{};
    save.saveDefaultExtension.clear();
    QTest::newRow("save without an extension") << save << QStringList{autoExtension + u"False)"_s}
                                               << QStringList{u"setCurrentFilter"_s};

    CommonDialogFields font;
    font.page = DialogKind::Font;
    font.fonts = FontsToDisplay::PrinterOnly;
    QTest::newRow("font, printer fonts")
        << font
        << QStringList{u"'LibreOffice's font dialog cannot show only the printer's fonts: it shows them all."_s,
                       u"Dispatcher = CreateUnoService(\"com.sun.star.frame.DispatchHelper\")"_s,
                       u"Dispatcher.executeDispatch(ThisComponent.CurrentController.Frame, \".uno:FontDialog\", "
                       "\"\", 0, Array())"_s}
        << QStringList{};
    font.fonts = FontsToDisplay::Both;
    QTest::newRow("font, both") << font << QStringList{u"Dim Dispatcher As Object"_s}
                                << QStringList{u"printer's fonts"_s};

    CommonDialogFields color;
    color.page = DialogKind::Color;
    color.customColors = false;
    QTest::newRow("color, no custom colors")
        << color
        << QStringList{u"'LibreOffice's color picker always lets the user mix a custom color."_s,
                       u"ColorPicker = CreateUnoService(\"com.sun.star.cui.ColorPicker\")"_s,
                       u"If ColorPicker.execute() = com.sun.star.ui.dialogs.ExecutableDialogResults.OK Then"_s,
                       u"  'It can be found in [SelectedColor]."_s}
        << QStringList{};
    color.customColors = true;
    QTest::newRow("color") << color << QStringList{u"Dim SelectedColor As Long"_s}
                           << QStringList{u"custom color"_s};

    CommonDialogFields printer;
    printer.page = DialogKind::Printer;
    printer.printToFile = false;
    QTest::newRow("printer, no print to file")
        << printer
        << QStringList{u"'LibreOffice's print dialog always offers printing to a file."_s,
                       u"Dispatcher.executeDispatch(ThisComponent.CurrentController.Frame, \".uno:Print\", \"\", 0, "
                       "Array())"_s}
        << QStringList{};
}

void TestLibreOfficeCode::commonDialog()
{
    QFETCH(CommonDialogFields, fields);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);
    for (const Constants constants : {Constants::Numbers, Constants::Names}) {
        const QString code = generateCommonDialogCode(fields, libreOffice(constants));
        const QStringList lines = linesOf(code);
        qsizetype at = 0;
        for (const QString &line : expected) {
            const qsizetype found = lines.indexOf(line, at);
            QVERIFY2(found >= 0, qPrintable(u"missing or out of order: "_s + line + u"\n"_s + code));
            at = found + 1;
        }
        for (const QString &text : absent)
            QVERIFY2(!code.contains(text), qPrintable(text));
    }
}

void TestLibreOfficeCode::longTextsKeepTheLineLimits()
{
    // Each break and quotation mark is a longer operand than in Visual
    // Basic: the layout must still keep within the limits.
    QString message;
    for (int i = 0; i < 4000; ++i)
        message += i % 3 ? u"\r\n"_s : u"\""_s;
    MsgBoxFields fields;
    fields.message = message;
    fields.style.buttonSet = vbYesNo;
    const QString code = generateMsgBoxCode(fields, libreOffice());
    QVERIFY(!code.contains(u"vbCrLf"_s));
    QVERIFY(!code.contains(u"Chr(34)"_s));
    int continuations = 0;
    for (const QString &line : linesOf(code)) {
        QVERIFY2(line.size() <= codegen::LineLimits{}.length, qPrintable(line.left(80)));
        continuations = line.endsWith(u" _"_s) ? continuations + 1 : 0;
        QVERIFY(continuations <= codegen::LineLimits{}.continuations);
    }
    QVERIFY(code.contains(u"Dim MessageText As String"_s));
}

void TestLibreOfficeCode::commandLine_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("contains");

    QTest::newRow("msgbox") << u"msgbox"_s
                            << QStringList{u"--message"_s, u"a"_s, u"--buttons"_s, u"yesno"_s, u"--constants"_s,
                                           u"names"_s, u"--dialect"_s, u"libreoffice"_s}
                            << u"Response = Msgbox (\"a\", MB_YESNO, \"\")"_s;
    QTest::newRow("vb is the default") << u"msgbox"_s
                                       << QStringList{u"--buttons"_s, u"yesno"_s, u"--constants"_s, u"names"_s}
                                       << u"vbYesNo"_s;
    QTest::newRow("vb by name") << u"msgbox"_s
                                << QStringList{u"--buttons"_s, u"yesno"_s, u"--dialect"_s, u"vb"_s}
                                << u"Dim Response As Long"_s;
    QTest::newRow("inputbox") << u"inputbox"_s
                              << QStringList{u"--declare"_s, u"--dialect"_s, u"libreoffice"_s}
                              << u"Dim Response As String"_s;
    QTest::newRow("header") << u"header"_s << QStringList{u"--project"_s, u"P"_s, u"--dialect"_s, u"libreoffice"_s}
                            << u"' Project:      P"_s;
    QTest::newRow("commondialog")
        << u"commondialog"_s << QStringList{u"--dialog"_s, u"color"_s, u"--dialect=libreoffice"_s}
        << u"com.sun.star.cui.ColorPicker"_s;
    QTest::newRow("from-json") << u"inputbox"_s << QStringList{u"--from-json"_s, u"-"_s}
                               << u"'LibreOffice's input box has no help file"_s;
}

void TestLibreOfficeCode::commandLine()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, options);
    QFETCH(QString, contains);
    const QByteArray json = R"({"tool": "inputbox", "help-button": true, "dialect": "libreoffice"})";
    const GenerateRun run = runGenerate(tool, options, json);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(contains), qPrintable(run.out));
}

void TestLibreOfficeCode::unknownDialectIsRefused()
{
    const GenerateRun run = runGenerate(u"header"_s, {u"--dialect"_s, u"vba"_s});
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
    QVERIFY2(run.err.contains(u"--dialect"_s), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestLibreOfficeCode)
#include "tst_libreofficecode.moc"
