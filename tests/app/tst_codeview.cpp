// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChoiceRow.h"
#include "app/CodeView.h"
#include "app/CommandLine.h"
#include "app/Tools.h"
#include "codegen/BasicLimits.h"
#include "support/GuiTest.h"
#include "tools/ToolPanel.h"

#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

CodeView *codeView(const GuiHarness &gui)
{
    return gui.find<CodeView>(u"txtCode"_s);
}

// The geometry of every tool panel, within the window.
QList<QRect> panelGeometries(const GuiHarness &gui)
{
    QList<QRect> rects;
    for (ToolPanel *panel : gui.window->findChildren<ToolPanel *>())
        rects << QRect(panel->mapTo(gui.window.get(), QPoint(0, 0)), panel->size());
    return rects;
}

bool isFixedSize(const QWidget *window)
{
    return window->minimumSize() == window->maximumSize() && window->size() == window->minimumSize();
}

} // namespace

class TestCodeView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spansColourWhatTheyShould_data();
    void spansColourWhatTheyShould();
    void commentCarriedOnOverLines();
    void hiddenTheWindowIsAsDesigned();
    void choicesStackWhenNarrow_data();
    void choicesStackWhenNarrow();
    void f7AndTheButtonToggleThePane();
    void codeViewOptionStartsWithThePaneShown();
    void everyToolsEditsShowAsTheGeneratorsText();
    void copiedSelectionHasCrLfLines();
    void constantsChoiceShowsAtOnceAndCopies();
    void dialectChoiceShowsAtOnceAndCopies();
    void gambasTakesNoConstantsChoice();
    void gambasLiteralsEndAtTheirClosingMark_data();
    void gambasLiteralsEndAtTheirClosingMark();
    void aRunWithThePaneWritesNothingToDisk();
    void notesSayWhatBasicWillNotTake_data();
    void notesSayWhatBasicWillNotTake();
};

void TestCodeView::spansColourWhatTheyShould_data()
{
    QTest::addColumn<QString>("line");
    // The stretches as "role:text", left to right.
    QTest::addColumn<QStringList>("spans");
    QTest::newRow("comment") << u"'*** Start MsgBox Code ***"_s << QStringList{u"C:'*** Start MsgBox Code ***"_s};
    QTest::newRow("apostrophe in a literal is no comment")
        << u"x = \"it's\" 'note"_s << QStringList{u"S:\"it's\""_s, u"C:'note"_s};
    QTest::newRow("doubled marks stay inside")
        << u"\"say \"\"hi\"\"\" & vbCrLf"_s << QStringList{u"S:\"say \"\"hi\"\"\""_s, u"N:vbCrLf"_s};
    QTest::newRow("keywords, numbers, constants")
        << u"Dim Response As Long"_s << QStringList{u"K:Dim"_s, u"K:As"_s, u"K:Long"_s};
    QTest::newRow("select case with a name")
        << u"  Case vbYes  'User has clicked Yes"_s
        << QStringList{u"K:Case"_s, u"N:vbYes"_s, u"C:'User has clicked Yes"_s};
    QTest::newRow("flags") << u"CommonDialog1.Flags = cdlCFBoth"_s << QStringList{u"N:cdlCFBoth"_s};
    QTest::newRow("numbers") << u"Msgbox \"\", 292, \"\""_s
                             << QStringList{u"K:Msgbox"_s, u"S:\"\""_s, u"0:292"_s, u"S:\"\""_s};
    QTest::newRow("Rem") << u"rem a note"_s << QStringList{u"C:rem a note"_s};
    QTest::newRow("unclosed literal ends the line") << u"\"open"_s << QStringList{u"S:\"open"_s};
    // The control's name is no keyword; the method that shows its dialog is.
    QTest::newRow("digits in a name are no number") << u"CommonDialog1.ShowOpen"_s << QStringList{u"K:ShowOpen"_s};
    // As the reader's lexer cuts the line: a $ only ends a name, a lone _ at
    // the end carries the line on and is no name.
    QTest::newRow("Chr$ is one name") << u"x = Chr$(34)"_s << QStringList{u"K:Chr$"_s, u"0:34"_s};
    QTest::newRow("continuation") << u"Msgbox \"a\", _"_s << QStringList{u"K:Msgbox"_s, u"S:\"a\""_s};
    QTest::newRow("LibreOffice's names") << u"r = Msgbox (\"\", MB_YESNO + MB_ICONQUESTION)"_s
                                         << QStringList{u"K:Msgbox"_s, u"S:\"\""_s, u"N:MB_YESNO"_s, u"N:MB_ICONQUESTION"_s};
    QTest::newRow("LibreOffice's answers") << u"  Case IDYES"_s << QStringList{u"K:Case"_s, u"N:IDYES"_s};
    // Only names that BASIC has: the reader would call these variables.
    QTest::newRow("vb and ID prefixes alone are no constants")
        << u"x = vbMyOwn + IDLE + vbyes"_s << QStringList{u"N:vbyes"_s};
    QTest::newRow("hex number") << u"Msgbox \"\", &H24"_s << QStringList{u"K:Msgbox"_s, u"S:\"\""_s, u"0:&H24"_s};
}

void TestCodeView::spansColourWhatTheyShould()
{
    QFETCH(QString, line);
    QFETCH(QStringList, spans);
    const QHash<CodeRole, QString> roles{{CodeRole::Comment, u"C"_s},
                                         {CodeRole::String, u"S"_s},
                                         {CodeRole::Number, u"0"_s},
                                         {CodeRole::Keyword, u"K"_s},
                                         {CodeRole::Constant, u"N"_s}};
    QStringList found;
    for (const CodeSpan &span : basicSpans(line, false, nullptr, false, callWords(tools())))
        found << roles.value(span.role) + u':' + line.mid(span.start, span.length);
    QCOMPARE(found, spans);
}

void TestCodeView::commentCarriedOnOverLines()
{
    // A comment ending in " _" takes the next line with it, as BASIC reads
    // it (and the reader); a line that does not end so ends it.
    const QStringList lines{u"' note _"_s, u"MsgBox \"not code\" _"_s, u"MsgBox 1"_s, u"MsgBox 2"_s};
    QStringList found;
    bool inComment = false;
    for (const QString &line : lines) {
        bool goesOn = false;
        QStringList spans;
        for (const CodeSpan &span : basicSpans(line, inComment, &goesOn, false, callWords(tools())))
            spans << line.mid(span.start, span.length);
        found << spans.join(u'|');
        inComment = goesOn;
    }
    QCOMPARE(found, (QStringList{u"' note _"_s, u"MsgBox \"not code\" _"_s, u"MsgBox 1"_s, u"MsgBox|2"_s}));

    // The highlighter carries it from block to block.
    QTextDocument document(lines.join(u'\n'));
    BasicHighlighter highlighter(&document);
    highlighter.usePalette(QPalette());
    const auto italicAt = [&](int block, int column) {
        const QList<QTextLayout::FormatRange> formats = document.findBlockByNumber(block).layout()->formats();
        return std::any_of(formats.cbegin(), formats.cend(), [&](const QTextLayout::FormatRange &range) {
            return range.start <= column && column < range.start + range.length && range.format.fontItalic();
        });
    };
    QVERIFY(italicAt(1, 0));
    QVERIFY(italicAt(2, 7));
    QVERIFY(!italicAt(3, 0));
}

void TestCodeView::hiddenTheWindowIsAsDesigned()
{
    GuiHarness gui;
    QWidget *window = gui.window.get();
    QVERIFY(!gui.window->isCodeViewShown());
    QVERIFY(isFixedSize(window));
    const QSize designed = window->size();
    const QList<QRect> panels = panelGeometries(gui);

    gui.window->setCodeViewShown(true);
    QVERIFY(codeView(gui)->isVisible());
    QVERIFY(window->width() > designed.width());
    QCOMPARE(window->minimumHeight(), designed.height());
    QVERIFY(window->minimumWidth() > designed.width());
    QVERIFY(window->maximumWidth() > window->width());
    // The tools keep their place and size, and keep them when the window grows.
    QCOMPARE(panelGeometries(gui), panels);
    window->resize(window->width() + 100, window->height() + 100);
    QCOMPARE(panelGeometries(gui), panels);

    gui.window->setCodeViewShown(false);
    QVERIFY(isFixedSize(window));
    QCOMPARE(window->size(), designed);
    QCOMPARE(panelGeometries(gui), panels);
}

void TestCodeView::choicesStackWhenNarrow_data()
{
    // The width to give the row, as a part of what it wants side by side.
    QTest::addColumn<double>("share");
    QTest::addColumn<bool>("oneRow");
    QTest::newRow("room to spare") << 1.5 << true;
    QTest::newRow("just enough") << 1.0 << true;
    QTest::newRow("a pixel short") << -1.0 << false;
    QTest::newRow("as narrow as it goes") << 0.0 << false;
}

void TestCodeView::choicesStackWhenNarrow()
{
    QFETCH(double, share);
    QFETCH(bool, oneRow);
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    auto *row = gui.find<ChoiceRow>(u"fraChoices"_s);
    // Away from the window, so that only the row's own width counts.
    row->setParent(nullptr);
    const int wide = row->sizeHint().width();
    const int width = share > 0 ? qRound(wide * share) : share < 0 ? wide - 1 : row->minimumSizeHint().width();
    row->resize(width, row->sizeHint().height());
    row->show();
    QVERIFY(QTest::qWaitForWindowExposed(row));
    QCOMPARE(row->isOneRow(), oneRow);
    // As tall as the arrangement needs.
    row->resize(width, row->layout()->minimumSize().height());
    QCoreApplication::processEvents();

    const QStringList names{u"lblConstants"_s, u"cboConstants"_s, u"lblDialect"_s, u"cboDialect"_s};
    QList<QRect> rects;
    for (const QString &name : names) {
        auto *widget = row->findChild<QWidget *>(name);
        QVERIFY(widget);
        rects << widget->geometry();
        // Nothing is cut off, however narrow.
        QVERIFY2(row->rect().contains(widget->geometry()), qPrintable(name));
        QVERIFY2(widget->width() >= widget->minimumSizeHint().width(), qPrintable(name));
    }
    // Side by side the second choice follows the first; stacked, it is below.
    if (oneRow)
        QVERIFY(rects.at(2).left() > rects.at(1).right());
    else
        QVERIFY(rects.at(2).top() > rects.at(0).bottom());
    delete row;
}

void TestCodeView::f7AndTheButtonToggleThePane()
{
    GuiHarness gui;
    auto *button = gui.find<QPushButton>(u"cmdCode"_s);
    QVERIFY(button->isCheckable());
    QCOMPARE(button->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    QCOMPARE(codeView(gui)->accessibleName(), u"Code"_s);

    gui.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    QTest::keyClick(gui.window.get(), Qt::Key_F7);
    QVERIFY(gui.window->isCodeViewShown());
    QVERIFY(button->isChecked());
    // Its font is looked up as it first shows.
    QVERIFY(QFontInfo(codeView(gui)->font()).fixedPitch());
    QTest::keyClick(gui.window.get(), Qt::Key_F7);
    QVERIFY(!gui.window->isCodeViewShown());
    QVERIFY(!button->isChecked());

    gui.click(u"cmdCode"_s);
    QVERIFY(gui.window->isCodeViewShown());
    gui.click(u"cmdCode"_s);
    QVERIFY(!gui.window->isCodeViewShown());
}

void TestCodeView::codeViewOptionStartsWithThePaneShown()
{
    QString error;
    const auto plain = parseWindowOptions({u"quillkit98"_s}, &error);
    QVERIFY(plain && !plain->codeView);
    const auto withView = parseWindowOptions({u"quillkit98"_s, u"--code-view"_s, u"--no-splash"_s}, &error);
    QVERIFY(withView && withView->codeView && !withView->splash);

    FakePlatform platform;
    const auto window = startUp(platform, *withView);
    QVERIFY(window->isCodeViewShown());
    QCOMPARE(window->findChild<CodeView *>(u"txtCode"_s)->code(), window->currentCode());
}

void TestCodeView::everyToolsEditsShowAsTheGeneratorsText()
{
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    CodeView *view = codeView(gui);
    const auto shows = [&] { return view->code() == gui.window->currentCode(); };
    const auto showsCopy = [&] {
        QTRY_VERIFY(shows());
        QCOMPARE(view->code(), gui.copy());
    };

    gui.type(u"txtMessageMsgBox"_s, u"Save \"changes\"?\nNow"_s);
    showsCopy();
    gui.click(u"optYesNoCancel_No"_s);
    showsCopy();
    QVERIFY(view->toPlainText().contains(u"Select Case Response"_s));

    gui.selectTool(u"imgAskwright"_s);
    showsCopy();
    gui.type(u"txtVariableName"_s, u"Answer"_s);
    showsCopy();

    gui.selectTool(u"imgTopwright"_s);
    showsCopy();
    gui.type(u"txtProject"_s, u"Ledger"_s);
    showsCopy();
    gui.click(u"cmdNew"_s);
    showsCopy();

    gui.selectTool(u"imgPickwright"_s);
    gui.platform.inputBoxAnswers.enqueue(u"txt"_s);
    gui.click(u"cmdAddOpen"_s);
    showsCopy();
    QVERIFY(view->code().contains(u"*.txt"_s));
    gui.find<QTabWidget>(u"tabPickwright"_s)->setCurrentIndex(3);
    showsCopy();
    QVERIFY(view->code().contains(u"ShowColor"_s));

    // Hidden, the view is left alone; shown again, it catches up.
    gui.window->setCodeViewShown(false);
    gui.find<QTabWidget>(u"tabPickwright"_s)->setCurrentIndex(4);
    QCoreApplication::processEvents();
    gui.window->setCodeViewShown(true);
    QVERIFY(view->code().contains(u"ShowPrinter"_s));
}

void TestCodeView::copiedSelectionHasCrLfLines()
{
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    CodeView *view = codeView(gui);
    gui.type(u"txtMessageMsgBox"_s, u"a\u00a0b"_s);
    QTRY_VERIFY(view->code().contains(u"a\u00a0b"_s));
    view->selectAll();
    view->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), view->code());
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->lineWrapMode(), QPlainTextEdit::NoWrap);
}

void TestCodeView::constantsChoiceShowsAtOnceAndCopies()
{
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    gui.type(u"txtMessageMsgBox"_s, u"Save?"_s);
    gui.click(u"optQuestion"_s);
    gui.click(u"optYesNo_No"_s);
    QTRY_VERIFY(codeView(gui)->code().contains(u"Msgbox (\"Save?\", 292, \"\")"_s));

    auto *choice = gui.find<QComboBox>(u"cboConstants"_s);
    choice->setCurrentIndex(1);
    QTRY_VERIFY(codeView(gui)->code().contains(u"vbYesNo + vbQuestion + vbDefaultButton2"_s));
    QVERIFY(codeView(gui)->code().contains(u"  Case vbYes  'User has clicked Yes"_s));
    QCOMPARE(gui.copy(), codeView(gui)->code());
    // Every tool writes with the choice.
    gui.selectTool(u"imgAskwright"_s);
    QCOMPARE(gui.window->codeOptions().constants, codegen::CodeOptions::Constants::Names);

    QString error;
    const auto names = parseWindowOptions({u"quillkit98"_s, u"--constants"_s, u"names"_s}, &error);
    QVERIFY(names && names->codeOptions.constants == codegen::CodeOptions::Constants::Names);
    QVERIFY(!parseWindowOptions({u"quillkit98"_s, u"--constants=letters"_s}, &error));
    QVERIFY2(error.contains(u"letters"_s), qPrintable(error));
    FakePlatform platform;
    const auto window = startUp(platform, *names);
    QCOMPARE(window->findChild<QComboBox *>(u"cboConstants"_s)->currentIndex(), 1);
}

void TestCodeView::dialectChoiceShowsAtOnceAndCopies()
{
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    gui.type(u"txtMessageMsgBox"_s, u"One\nTwo"_s);
    QTRY_VERIFY(codeView(gui)->code().contains(u"vbCrLf"_s));
    gui.find<QComboBox>(u"cboDialect"_s)->setCurrentIndex(1);
    QTRY_VERIFY(codeView(gui)->code().contains(u"Chr$(13) & Chr$(10)"_s));
    QVERIFY(!codeView(gui)->code().contains(u"vbCrLf"_s));
    QCOMPARE(gui.copy(), codeView(gui)->code());
    // Every tool writes for the chosen BASIC.
    gui.selectTool(u"imgPickwright"_s);
    QTRY_VERIFY(codeView(gui)->code().contains(u"com.sun.star.ui.dialogs.FilePicker"_s));

    QString error;
    const auto libreOffice = parseWindowOptions({u"quillkit98"_s, u"--dialect=libreoffice"_s}, &error);
    QVERIFY(libreOffice && libreOffice->codeOptions.dialect == codegen::CodeOptions::Dialect::LibreOffice);
    QVERIFY(!parseWindowOptions({u"quillkit98"_s, u"--dialect"_s, u"qbasic"_s}, &error));
    FakePlatform platform;
    const auto window = startUp(platform, *libreOffice);
    QCOMPARE(window->findChild<QComboBox *>(u"cboDialect"_s)->currentIndex(), 1);
}

void TestCodeView::gambasTakesNoConstantsChoice()
{
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    gui.type(u"txtMessageMsgBox"_s, u"One \"two\""_s);
    auto *constants = gui.find<QComboBox>(u"cboConstants"_s);
    constants->setCurrentIndex(1);
    auto *dialect = gui.find<QComboBox>(u"cboDialect"_s);
    dialect->setCurrentIndex(dialect->findText(u"Gambas"_s));
    QTRY_VERIFY(codeView(gui)->code().contains(u"Message(\"One \\\"two\\\"\", \"OK\")"_s));
    QVERIFY(!constants->isEnabled());
    QCOMPARE(gui.copy(), codeView(gui)->code());
    gui.selectTool(u"imgPickwright"_s);
    QTRY_VERIFY(codeView(gui)->code().contains(u"If Dialog.OpenFile() Then"_s));
    // Back in Visual Basic the names choice, kept meanwhile, applies again.
    dialect->setCurrentIndex(0);
    QVERIFY(constants->isEnabled());
    QCOMPARE(gui.window->codeOptions().constants, codegen::CodeOptions::Constants::Names);

    QString error;
    const auto gambas = parseWindowOptions({u"quillkit98"_s, u"--dialect"_s, u"gambas"_s}, &error);
    QVERIFY2(gambas && gambas->codeOptions.dialect == codegen::CodeOptions::Dialect::Gambas, qPrintable(error));
    FakePlatform platform;
    const auto window = startUp(platform, *gambas);
    QCOMPARE(window->findChild<QComboBox *>(u"cboDialect"_s)->currentText(), u"Gambas"_s);
    QVERIFY(!window->findChild<QComboBox *>(u"cboConstants"_s)->isEnabled());
}

void TestCodeView::gambasLiteralsEndAtTheirClosingMark_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("backslashEscapes");
    QTest::addColumn<QString>("literal");
    QTest::newRow("escaped mark, Gambas") << u"Message(\"Say \\\"hi\\\" C:\\\\\", \"OK\")"_s << true
                                           << u"\"Say \\\"hi\\\" C:\\\\\""_s;
    QTest::newRow("backslash before the mark, Visual Basic") << u"Msgbox \"C:\\\", 0"_s << false
                                                              << u"\"C:\\\""_s;
    QTest::newRow("a backslash last on the line") << u"x = \"a\\"_s << true << u"\"a\\"_s;
}

void TestCodeView::gambasLiteralsEndAtTheirClosingMark()
{
    QFETCH(QString, line);
    QFETCH(bool, backslashEscapes);
    QFETCH(QString, literal);
    const QList<CodeSpan> spans = basicSpans(line, false, nullptr, backslashEscapes);
    const auto first = std::find_if(spans.cbegin(), spans.cend(),
                                    [](const CodeSpan &span) { return span.role == CodeRole::String; });
    QVERIFY(first != spans.cend());
    QCOMPARE(line.mid(first->start, first->length), literal);
}

void TestCodeView::aRunWithThePaneWritesNothingToDisk()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    if (program.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, home.path());
    for (const QString &name : {u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s, u"XDG_DATA_HOME"_s, u"XDG_STATE_HOME"_s})
        env.insert(name, home.filePath(name));
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"QUILLKIT98_EXIT_WHEN_SHOWN"_s, u"1"_s);
    process.setProcessEnvironment(env);
    process.start(program, {u"--no-splash"_s, u"--code-view"_s});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QDirIterator written(home.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    QVERIFY2(!written.hasNext(), qPrintable(written.hasNext() ? written.next() : QString()));
}

void TestCodeView::notesSayWhatBasicWillNotTake_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    // What the notes say, one a line; empty for none.
    QTest::addColumn<QStringList>("notes");
    const QString longPrompt = QString(1100, u'p');
    QTest::newRow("a short message") << u"imgNotewright"_s << u"txtMessageMsgBox"_s << u"Save?"_s << QStringList{};
    QTest::newRow("a message longer than BASIC shows")
        << u"imgNotewright"_s << u"txtMessageMsgBox"_s << longPrompt
        << QStringList{codegen::promptLengthNote(longPrompt)};
    QTest::newRow("a prompt longer than BASIC shows")
        << u"imgAskwright"_s << u"txtMessageInputBox"_s << longPrompt
        << QStringList{codegen::promptLengthNote(longPrompt)};
    QTest::newRow("a variable that is no name")
        << u"imgAskwright"_s << u"txtVariableName"_s << u"my answer"_s
        << QStringList{codegen::identifierProblem(u"my answer")};
    QTest::newRow("a title past one procedure's size")
        << u"imgNotewright"_s << u"cboTitleMsgBox"_s << QString(70000, u't') << QStringList{u"KB"_s};
}

void TestCodeView::notesSayWhatBasicWillNotTake()
{
    QFETCH(QString, tool);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, notes);
    GuiHarness gui;
    gui.window->setCodeViewShown(true);
    gui.selectTool(tool);
    CodeView *view = codeView(gui);
    QVERIFY(view->notes().isEmpty());
    auto *bar = view->findChild<QLabel *>(u"lblCodeNotes"_s);
    QVERIFY(bar && bar->isHidden());

    // Typed at once: typing 70,000 keys would take long.
    if (auto *edit = gui.window->findChild<QPlainTextEdit *>(field))
        edit->setPlainText(text);
    else if (auto *combo = gui.window->findChild<QComboBox *>(field))
        combo->setEditText(text);
    else
        gui.find<QLineEdit>(field)->setText(text);
    QTRY_COMPARE(view->code(), gui.window->currentCode());
    const QStringList shown = view->notes().isEmpty() ? QStringList() : view->notes().split(u'\n');
    QCOMPARE(shown.size(), notes.size());
    for (qsizetype i = 0; i < notes.size(); ++i)
        QVERIFY2(shown.at(i).contains(notes.at(i)), qPrintable(shown.at(i)));
    QCOMPARE(bar->isHidden(), notes.isEmpty());
    QCOMPARE(view->accessibleDescription(), view->notes());
    if (!notes.isEmpty()) {
        // The bar lies over the frame's top, the code below it.
        QVERIFY(bar->height() > 0);
        QVERIFY(view->viewport()->geometry().top() >= bar->geometry().bottom());
    }
}

QTEST_MAIN(TestCodeView)
#include "tst_codeview.moc"
