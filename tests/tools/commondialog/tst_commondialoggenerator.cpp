// SPDX-License-Identifier: GPL-3.0-or-later
#include "codegen/CodeText.h"
#include "tools/commondialog/CommonDialogGenerator.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QStringList opening{
    u"'*** Begin Pickwright Code ***"_s,
    u"CommonDialog1.CancelError = True"_s,
    u"On Error Goto ErrorCommonDialog"_s,
};

const QStringList closing{
    u"Goto NextCommonDialog"_s,
    QString(),
    u"ErrorCommonDialog:"_s,
    u"'The user pressed cancel or didn't choose a file."_s,
    u"NextCommonDialog:"_s,
    u"On Error Goto 0"_s,
    u"'*** End Pickwright Code ***"_s,
};

const QStringList openComment{
    u"CommonDialog1.Flags = 0"_s,
    u"CommonDialog1.ShowOpen"_s,
    u"'Put your code to handle the file(s) that was/were selected here. The file can be found"_s,
    u"'in [CommonDialog1.FileName]."_s,
};

const QStringList saveComment{
    u"CommonDialog1.Flags = 0"_s,
    u"CommonDialog1.ShowSave"_s,
    u"'Put your code to save data to the file that was selected here. The file can be found"_s,
    u"'in [CommonDialog1.FileName]."_s,
};

const QStringList fontComment{
    u"CommonDialog1.ShowFont"_s,
    u"'Put your code to get the font that was selected here. It can be found in"_s,
    u"'[CommonDialog1.FontName]. Other attributes can be found in [Commondialog1.FontBold],"_s,
    u"'[CommonDialog1.Italic],[CommonDialog1.FontSize] etc."_s,
};

const QStringList colorComment{
    u"CommonDialog1.ShowColor"_s,
    u"'Put your code to get the color that was selected here."_s,
    u"'It can be found in [CommonDialog1.Color]."_s,
};

const QStringList printerComment{
    u"CommonDialog1.ShowPrinter"_s,
    u"'Put your code to get the number of the user wants here."_s,
    u"'It can be found in [CommonDialog1.Copies]."_s,
};

CommonDialogFields onPage(DialogKind page)
{
    CommonDialogFields fields;
    fields.page = page;
    return fields;
}

} // namespace

class TestCommonDialogGenerator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileFilter_data();
    void fileFilter();
    void fileTypeCheck_data();
    void fileTypeCheck();
    void controlCharactersInTexts_data();
    void controlCharactersInTexts();
    void workedExample();
    void pageBlocks_data();
    void pageBlocks();
};

void TestCommonDialogGenerator::fileFilter_data()
{
    QTest::addColumn<QStringList>("fileTypes");
    QTest::addColumn<QString>("filter");
    QTest::newRow("empty list") << QStringList{} << QString();
    QTest::newRow("one entry keeps the final bar") << QStringList{u"txt"_s} << u"txt Files|*.txt|"_s;
    QTest::newRow("list order") << QStringList{u"txt"_s, u"bas"_s} << u"txt Files|*.txt|bas Files|*.bas|"_s;
    QTest::newRow("capitals") << QStringList{u"TXT"_s} << u"TXT Files|*.TXT|"_s;
    QTest::newRow("dot kept") << QStringList{u".txt"_s} << u".txt Files|*..txt|"_s;
    QTest::newRow("repeat repeated") << QStringList{u"txt"_s, u"txt"_s} << u"txt Files|*.txt|txt Files|*.txt|"_s;
}

void TestCommonDialogGenerator::fileFilter()
{
    QFETCH(QStringList, fileTypes);
    QFETCH(QString, filter);
    QCOMPARE(buildFileFilter(fileTypes), filter);
}

void TestCommonDialogGenerator::fileTypeCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("type");
    // What the reason names; empty for a sound type.
    QTest::addColumn<QString>("reason");
    QTest::newRow("plain") << u"bas"_s << u"bas"_s << QString();
    QTest::newRow("a dot in front") << u".bas"_s << u"bas"_s << QString();
    QTest::newRow("a pattern") << u"*.bas"_s << u"bas"_s << QString();
    QTest::newRow("blanks around") << u"  *.BAS "_s << u"BAS"_s << QString();
    QTest::newRow("digits, dash and non-ASCII kept") << u"mp3-é"_s << u"mp3-é"_s << QString();
    QTest::newRow("empty") << QString() << QString() << u"extension"_s;
    QTest::newRow("only a pattern") << u"*."_s << QString() << u"extension"_s;
    QTest::newRow("a space inside") << u"txt files"_s << QString() << u"a space"_s;
    QTest::newRow("a bar") << u"a|b"_s << QString() << u"\"|\""_s;
    QTest::newRow("a semicolon") << u"bas;frm"_s << QString() << u"\";\""_s;
    QTest::newRow("every file") << u"*.*"_s << QString() << u"\"*\""_s;
    QTest::newRow("a question mark") << u"ba?"_s << QString() << u"\"?\""_s;
    QTest::newRow("two dots in front") << u"..bas"_s << QString() << u"\".\""_s;
    QTest::newRow("two extensions") << u"tar.gz"_s << QString() << u"\".\""_s;
}

void TestCommonDialogGenerator::fileTypeCheck()
{
    QFETCH(QString, typed);
    QFETCH(QString, type);
    QFETCH(QString, reason);
    const FileTypeCheck check = checkFileType(typed);
    QCOMPARE(check.type, type);
    QCOMPARE(check.problem.isEmpty(), reason.isEmpty());
    QVERIFY2(check.problem.contains(reason), qPrintable(check.problem));
    // A sound type gives a filter of one pattern for it alone.
    if (reason.isEmpty())
        QCOMPARE(buildFileFilter({check.type}).count(u'*'), 1);
}

void TestCommonDialogGenerator::controlCharactersInTexts_data()
{
    QTest::addColumn<bool>("libreOffice");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("written");
    const bool vb = false;
    const bool lo = true;
    QTest::newRow("vb: ESC") << vb << u"a\u001bb"_s << u"DialogTitle = \"a\" & Chr(27) & \"b\""_s;
    QTest::newRow("vb: DEL last, quote doubled") << vb << u"\"q\u007f"_s
                                                 << u"DialogTitle = \"\"\"q\" & Chr(127) & \"\""_s;
    QTest::newRow("libreoffice: NUL") << lo << u"\u0000x"_s << u"setTitle(\"\" & Chr$(0) & \"x\")"_s;
    QTest::newRow("libreoffice: tab as it is") << lo << u"a\tb"_s << u"setTitle(\"a\tb\")"_s;
}

void TestCommonDialogGenerator::controlCharactersInTexts()
{
    QFETCH(bool, libreOffice);
    QFETCH(QString, title);
    QFETCH(QString, written);
    CommonDialogFields fields;
    fields.openTitle = title;
    codegen::CodeOptions options;
    if (libreOffice)
        options.dialect = codegen::CodeOptions::Dialect::LibreOffice;
    const QString code = generateCommonDialogCode(fields, options);
    QVERIFY2(code.contains(written), qPrintable(code));
    // No control character but the line breaks is left in the code.
    for (const QChar c : code)
        QVERIFY(!codegen::needsCharCode(c) || c == u'\r' || c == u'\n');
}

void TestCommonDialogGenerator::workedExample()
{
    CommonDialogFields fields;
    fields.openFileTypes = {u"txt"_s, u"bas"_s};
    QCOMPARE(generateCommonDialogCode(fields),
             u"'*** Begin Pickwright Code ***\r\n"
             "CommonDialog1.CancelError = True\r\n"
             "On Error Goto ErrorCommonDialog\r\n"
             "CommonDialog1.DialogTitle = \"Open\"\r\n"
             "CommonDialog1.Filter = \"txt Files|*.txt|bas Files|*.bas|\"\r\n"
             "CommonDialog1.Flags = 0\r\n"
             "CommonDialog1.ShowOpen\r\n"
             "'Put your code to handle the file(s) that was/were selected here. The file can be found\r\n"
             "'in [CommonDialog1.FileName].\r\n"
             "Goto NextCommonDialog\r\n"
             "\r\n"
             "ErrorCommonDialog:\r\n"
             "'The user pressed cancel or didn't choose a file.\r\n"
             "NextCommonDialog:\r\n"
             "On Error Goto 0\r\n"
             "'*** End Pickwright Code ***\r\n"_s);
}

void TestCommonDialogGenerator::pageBlocks_data()
{
    QTest::addColumn<CommonDialogFields>("fields");
    QTest::addColumn<QStringList>("block");

    QTest::newRow("open, start-up values")
        << onPage(DialogKind::Open)
        << QStringList{u"CommonDialog1.DialogTitle = \"Open\""_s, u"CommonDialog1.Filter = \"\""_s} + openComment;

    CommonDialogFields open = onPage(DialogKind::Open);
    open.openTitle.clear();
    open.openFileTypes = {u"txt"_s};
    open.saveTitle = u"not this page"_s;
    QTest::newRow("open, empty title, one type")
        << open
        << QStringList{u"CommonDialog1.DialogTitle = \"\""_s, u"CommonDialog1.Filter = \"txt Files|*.txt|\""_s}
               + openComment;

    CommonDialogFields quoted = onPage(DialogKind::Open);
    quoted.openTitle = u"Pick a \"file\""_s;
    quoted.openFileTypes = {u"a\"b"_s};
    QTest::newRow("open, quotation marks doubled")
        << quoted
        << QStringList{u"CommonDialog1.DialogTitle = \"Pick a \"\"file\"\"\""_s,
                       u"CommonDialog1.Filter = \"a\"\"b Files|*.a\"\"b|\""_s}
               + openComment;

    QTest::newRow("save, start-up values writes an empty DefaultExt")
        << onPage(DialogKind::Save)
        << QStringList{u"CommonDialog1.DialogTitle = \"Save As\""_s, u"CommonDialog1.DefaultExt = \"\""_s,
                       u"CommonDialog1.Filter = \"\""_s}
               + saveComment;

    CommonDialogFields save = onPage(DialogKind::Save);
    save.saveTitle = u"Export"_s;
    save.saveDefaultExtension = u"\"bas\""_s;
    save.saveFileTypes = {u"bas"_s, u"TXT"_s};
    save.openFileTypes = {u"not this page"_s};
    QTest::newRow("save, fields in order")
        << save
        << QStringList{u"CommonDialog1.DialogTitle = \"Export\""_s, u"CommonDialog1.DefaultExt = \"\"\"bas\"\"\""_s,
                       u"CommonDialog1.Filter = \"bas Files|*.bas|TXT Files|*.TXT|\""_s}
               + saveComment;

    QTest::newRow("font, start-up values")
        << onPage(DialogKind::Font) << QStringList{u"CommonDialog1.Flags = cdlCFBoth"_s} + fontComment;
    CommonDialogFields font = onPage(DialogKind::Font);
    font.fonts = FontsToDisplay::ScreenOnly;
    font.openTitle = u"ignored"_s;
    QTest::newRow("font, screen") << font << QStringList{u"CommonDialog1.Flags = cdlCFScreenFonts"_s} + fontComment;
    font.fonts = FontsToDisplay::PrinterOnly;
    QTest::newRow("font, printer") << font << QStringList{u"CommonDialog1.Flags = cdlCFPrinterFonts"_s} + fontComment;

    QTest::newRow("color, start-up values")
        << onPage(DialogKind::Color) << QStringList{u"CommonDialog1.Flags = 0"_s} + colorComment;
    CommonDialogFields color = onPage(DialogKind::Color);
    color.customColors = false;
    QTest::newRow("color, no custom colors")
        << color << QStringList{u"CommonDialog1.Flags = cdlCCPreventFullOpen"_s} + colorComment;

    QTest::newRow("printer, start-up values")
        << onPage(DialogKind::Printer) << QStringList{u"CommonDialog1.Flags = 0"_s} + printerComment;
    CommonDialogFields printer = onPage(DialogKind::Printer);
    printer.printToFile = false;
    QTest::newRow("printer, no print to file")
        << printer << QStringList{u"CommonDialog1.Flags = cdlPDDisablePrintToFile"_s} + printerComment;
}

void TestCommonDialogGenerator::pageBlocks()
{
    QFETCH(CommonDialogFields, fields);
    QFETCH(QStringList, block);
    const QString text = generateCommonDialogCode(fields);

    // Every line ends with CR LF, the last one included, and CR LF is the
    // only line break.
    QVERIFY(text.endsWith(u"'*** End Pickwright Code ***\r\n"_s));
    QStringList lines = text.split(u"\r\n"_s);
    lines.removeLast();
    for (const QString &line : lines)
        QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));

    QCOMPARE(lines, opening + block + closing);
    QCOMPARE(lines.count(QString()), 1);
}

QTEST_APPLESS_MAIN(TestCommonDialogGenerator)
#include "tst_commondialoggenerator.moc"
