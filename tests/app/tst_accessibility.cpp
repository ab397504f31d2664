// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader and a keyboard user meet: every window a window,
// every control that takes the focus named, option buttons as radio buttons
// in named groups, boxes that say their message, the keyboard reaching every
// part in reading order, and a help page readable in light and dark themes.
#include "app/CommandLine.h"
#include "platform/Accessibility.h"
#include "platform/HelpViewer.h"
#include "platform/InputBoxDialog.h"
#include "platform/QtMessageBox.h"
#include "support/GuiTest.h"
#include "tools/ToolPanel.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace {

const QStringList images{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s};
const QStringList panels{u"tabNotewright"_s, u"tabInputBox"_s, u"tabTopwright"_s, u"tabPickwright"_s};

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(object);
    if (!face)
        qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    return face;
}

QString builtHelpPage()
{
    const QString program = qEnvironmentVariable("QUILLKIT98");
    return program.isEmpty() ? QString() : QFileInfo(program).dir().filePath(u"qkt98.html"_s);
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    // A link colour too dark for the dark page, as some themes give.
    dark.setColor(QPalette::Link, QColor(0x1a, 0x3a, 0x8a));
    return dark;
}

// The background that a piece of the document is drawn on.
QColor backgroundAt(const QTextDocument &document, const QTextBlock &block, const QTextCharFormat &format,
                    const QColor &base)
{
    if (format.background().style() != Qt::NoBrush)
        return format.background().color();
    if (block.blockFormat().background().style() != Qt::NoBrush)
        return block.blockFormat().background().color();
    QTextCursor cursor(block);
    if (QTextTable *table = cursor.currentTable()) {
        const QTextTableCell cell = table->cellAt(cursor);
        if (cell.format().background().style() != Qt::NoBrush)
            return cell.format().background().color();
    }
    for (QTextFrame *frame = cursor.currentFrame(); frame && frame != document.rootFrame();
         frame = frame->parentFrame()) {
        if (frame->frameFormat().background().style() != Qt::NoBrush)
            return frame->frameFormat().background().color();
    }
    return base;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsAreWindows();
    void boxesSayTheirMessage_data();
    void boxesSayTheirMessage();
    void everyFocusableControlIsNamed_data();
    void everyFocusableControlIsNamed();
    void optionsAreRadioButtonsInNamedGroups_data();
    void optionsAreRadioButtonsInNamedGroups();
    void tabLandsOnTheCheckedOption_data();
    void tabLandsOnTheCheckedOption();
    void selectorTakesTabAndArrows();
    void eachToolsTaskByKeysAlone_data();
    void eachToolsTaskByKeysAlone();
    void commandRowsTabAsTheyRead();
    void listShowsFocusWhenEmpty();
    void helpPageReadsInEveryTheme_data();
    void helpPageReadsInEveryTheme();
    void helpFitsASmallScreen();
    void headerTestReadsInEveryTheme_data();
    void headerTestReadsInEveryTheme();
    void helpHeadingsByKey();
};

void TestAccessibility::windowsAreWindows()
{
    GuiHarness gui;
    QAccessibleInterface *window = accessible(gui.window.get());
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), u"Quillkit 98"_s);
    auto *viewer = new HelpViewer(gui.platform, gui.window.get());
    QAccessibleInterface *help = accessible(viewer);
    QCOMPARE(help->role(), QAccessible::Window);
    QCOMPARE(help->text(QAccessible::Name), viewer->windowTitle());
    // Its page is text to move through with a caret, line by line, not one
    // block (a label), and no one can type in it.
    viewer->browser()->setPlainText(u"First line\nSecond line\nThird line"_s);
    QAccessibleInterface *page = accessible(viewer->browser());
    QCOMPARE(page->role(), QAccessible::EditableText);
    QVERIFY(page->state().readOnly);
    QCOMPARE(page->text(QAccessible::Name), u"Help page"_s);
    QCOMPARE(page->childCount() > 0, true);
    QCOMPARE(page->child(0)->parent(), page);
    QAccessibleTextInterface *text = page->textInterface();
    QVERIFY(text);
    QCOMPARE(text->cursorPosition(), 0);
    QTest::keyClick(viewer->browser(), Qt::Key_Down);
    QCOMPARE(text->cursorPosition(), int(QStringView(u"First line\n").size()));
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end).trimmed(),
             u"Second line"_s);
    // The viewer goes, and its interfaces with it.
    const QAccessible::Id id = QAccessible::uniqueId(page);
    delete viewer;
    QCOMPARE(QAccessible::accessibleInterface(id), nullptr);
}

void TestAccessibility::boxesSayTheirMessage_data()
{
    QTest::addColumn<bool>("inputBox");
    QTest::addColumn<QString>("prompt");
    // The description the box gives, and the name of its answer field.
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("fieldName");
    QTest::newRow("message box") << false << u"Save changes?\r\nAll of them?"_s << u"Save changes? All of them?"_s
                                 << QString();
    QTest::newRow("error box") << false << u"The code cannot be read into the tools."_s
                               << u"The code cannot be read into the tools."_s << QString();
    QTest::newRow("input box") << true << u"Your name?"_s << u"Your name?"_s << u"Your name?"_s;
    QTest::newRow("input box without prompt") << true << QString() << QString() << u"Answer"_s;
    const QString longPrompt = QString(u"word "_s).repeated(200);
    QTest::newRow("input box, long prompt")
        << true << longPrompt << longPrompt.trimmed() << longPrompt.left(399) + u'\u2026';
}

void TestAccessibility::boxesSayTheirMessage()
{
    QFETCH(bool, inputBox);
    QFETCH(QString, prompt);
    QFETCH(QString, description);
    QFETCH(QString, fieldName);
    FakePlatform platform;
    std::unique_ptr<QDialog> box;
    if (inputBox)
        box = std::make_unique<InputBoxDialog>(prompt, u"Greetings"_s, QString(), false);
    else
        box =
            std::make_unique<BasicMessageBox>(platform, prompt, vbOKOnly + vbExclamation, u"Greetings"_s, std::nullopt);
    QAccessibleInterface *face = accessible(box.get());
    QCOMPARE(face->role(), inputBox ? QAccessible::Dialog : QAccessible::AlertMessage);
    QCOMPARE(face->text(QAccessible::Name), u"Greetings"_s);
    QCOMPARE(face->text(QAccessible::Description), description);
    if (inputBox) {
        QCOMPARE(accessible(box->findChild<QLineEdit *>(u"txtAnswer"_s))->text(QAccessible::Name), fieldName);
    } else {
        // The message is the alert's text, as a label's.
        QAccessibleInterface *message = accessible(box->findChild<QWidget *>(u"prompt"_s));
        QCOMPARE(message->role(), QAccessible::StaticText);
        QCOMPARE(message->text(QAccessible::Name), description);
    }
}

void TestAccessibility::everyFocusableControlIsNamed_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("codeView");
    const QList<int> pageCounts{4, 3, 1, 5};
    for (int tool = 0; tool < images.size(); ++tool) {
        for (int page = 0; page < pageCounts.at(tool); ++page)
            QTest::addRow("%s, page %d", qPrintable(panels.at(tool)), page) << tool << page << false;
    }
    QTest::newRow("the code view") << 0 << 0 << true;
}

// Every control that Tab can reach says what it is, and is no filler.
void TestAccessibility::everyFocusableControlIsNamed()
{
    QFETCH(int, tool);
    QFETCH(int, page);
    QFETCH(bool, codeView);
    GuiHarness gui;
    gui.selectTool(images.at(tool));
    gui.find<QTabWidget>(panels.at(tool))->setCurrentIndex(page);
    if (codeView)
        gui.click(u"cmdCode"_s);
    int checked = 0;
    for (QWidget *widget = gui.window->nextInFocusChain(); widget != gui.window.get();
         widget = widget->nextInFocusChain()) {
        // A widget with a focus proxy hands the focus on: the proxy is checked.
        if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus) || widget->focusProxy())
            continue;
        // An editable drop-down's line is the drop-down's.
        if (qobject_cast<QComboBox *>(widget->parentWidget()))
            continue;
        QAccessibleInterface *face = accessible(widget);
        const QString what = widget->objectName() + u" (" + QLatin1StringView(widget->metaObject()->className()) + u')';
        QVERIFY2(face->role() != QAccessible::Client, qPrintable(what + u" is a filler"_s));
        const QString name = face->text(QAccessible::Name).trimmed();
        QVERIFY2(!name.isEmpty(), qPrintable(what + u" has no name"_s));
        // A drop-down is named for what it chooses, not by its value.
        if (auto *box = qobject_cast<QComboBox *>(widget); box && !box->currentText().isEmpty())
            QVERIFY2(name != box->currentText(), qPrintable(what + u" is named by its value"_s));
        ++checked;
    }
    QVERIFY2(checked >= 10, qPrintable(QString::number(checked)));
}

void TestAccessibility::optionsAreRadioButtonsInNamedGroups_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::newRow("no icon") << 1 << u"optNone"_s << u"No Icon"_s << u"Icon"_s;
    QTest::newRow("warning") << 1 << u"optWarning"_s << u"Warning"_s << u"Icon"_s;
    QTest::newRow("OK alone") << 2 << u"optOK"_s << u"OK; default OK"_s << u"Buttons"_s;
    QTest::newRow("first Yes") << 2 << u"optYesNoCancel_Yes"_s << u"Yes, No, Cancel; default Yes"_s << u"Buttons"_s;
    QTest::newRow("second Yes") << 2 << u"optYesNo_Yes"_s << u"Yes, No; default Yes"_s << u"Buttons"_s;
    QTest::newRow("Cancel of three") << 2 << u"optYesNoCancel_Cancel"_s << u"Yes, No, Cancel; default Cancel"_s
                                     << u"Buttons"_s;
    QTest::newRow("Ignore") << 2 << u"optAbortRetryIgnore_Ignore"_s << u"Abort, Retry, Ignore; default Ignore"_s
                            << u"Buttons"_s;
}

void TestAccessibility::optionsAreRadioButtonsInNamedGroups()
{
    QFETCH(int, page);
    QFETCH(QString, option);
    QFETCH(QString, name);
    QFETCH(QString, group);
    GuiHarness gui;
    gui.find<QTabWidget>(u"tabNotewright"_s)->setCurrentIndex(page);
    auto *button = gui.find<QPushButton>(option);
    QAccessibleInterface *face = accessible(button);
    QCOMPARE(face->role(), QAccessible::RadioButton);
    QCOMPARE(face->text(QAccessible::Name), name);
    QVERIFY(face->state().checkable);
    QVERIFY(!face->state().checked || option == u"optNone"_s || option == u"optOK"_s);
    QAccessibleInterface *parent = face->parent();
    QCOMPARE(parent->role(), QAccessible::Grouping);
    QCOMPARE(parent->text(QAccessible::Name), group);

    // Its press action chooses it, as a click does, and the group says so.
    const QString before = gui.window->currentCode();
    QAccessibleActionInterface *actions = face->actionInterface();
    QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(button->isChecked());
    QVERIFY(face->state().checked);
    if (group == u"Buttons"_s)
        QCOMPARE(parent->text(QAccessible::Description), u"Chosen: "_s + name);
    if (option != u"optNone"_s && option != u"optOK"_s)
        QVERIFY(gui.window->currentCode() != before);
}

void TestAccessibility::tabLandsOnTheCheckedOption_data()
{
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("page");
    // Chosen first, with the mouse; empty for the start-up choice.
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("focused");
    // The option that Down (or Right) then chooses.
    QTest::addColumn<QString>("next");
    // The arrow that leads there, as the options lie.
    QTest::addColumn<int>("key");
    QTest::newRow("fonts at start") << 3 << 2 << QString() << u"optBoth"_s << QString() << 0;
    QTest::newRow("screen fonts chosen") << 3 << 2 << u"optScreenFonts"_s << u"optScreenFonts"_s << u"optPrinterFonts"_s
                                         << int(Qt::Key_Down);
    QTest::newRow("icon at start") << 0 << 1 << QString() << u"optNone"_s << u"optError"_s << int(Qt::Key_Right);
    QTest::newRow("question chosen") << 0 << 1 << u"optQuestion"_s << u"optQuestion"_s << u"optWarning"_s
                                     << int(Qt::Key_Right);
    QTest::newRow("buttons at start") << 0 << 2 << QString() << u"optOK"_s << u"optOKCancel_OK"_s << int(Qt::Key_Down);
    QTest::newRow("Retry of three chosen") << 0 << 2 << u"optAbortRetryIgnore_Retry"_s << u"optAbortRetryIgnore_Retry"_s
                                           << u"optYesNoCancel_No"_s << int(Qt::Key_Down);
}

void TestAccessibility::tabLandsOnTheCheckedOption()
{
    QFETCH(int, tool);
    QFETCH(int, page);
    QFETCH(QString, chosen);
    QFETCH(QString, focused);
    QFETCH(QString, next);
    QFETCH(int, key);
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    gui.selectTool(images.at(tool));
    auto *tabs = gui.find<QTabWidget>(panels.at(tool));
    tabs->setCurrentIndex(page);
    if (!chosen.isEmpty())
        gui.click(chosen);
    tabs->tabBar()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(tabs->tabBar(), Qt::Key_Tab);
    QWidget *now = QApplication::focusWidget();
    QVERIFY(now);
    QCOMPARE(now->objectName(), focused);
    // Tab leaves the group at once, rather than visiting its other options.
    QTest::keyClick(now, Qt::Key_Tab);
    QVERIFY2(!QApplication::focusWidget()->parentWidget()
                 || QApplication::focusWidget()->parentWidget() != now->parentWidget(),
             qPrintable(QApplication::focusWidget()->objectName()));
    if (next.isEmpty())
        return;
    now->setFocus(Qt::TabFocusReason);
    QTest::keyClick(now, Qt::Key(key));
    QCOMPARE(QApplication::focusWidget()->objectName(), next);
    QVERIFY(gui.find<QAbstractButton>(next)->isChecked());
    QVERIFY(!gui.find<QAbstractButton>(focused)->isChecked());
}

void TestAccessibility::selectorTakesTabAndArrows()
{
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    QWidget *selector = gui.find(u"picToolFile"_s);
    // Shift+Tab from the tool's tabs reaches the column.
    QTabBar *bar = gui.find<QTabWidget>(panels.at(0))->tabBar();
    bar->setFocus(Qt::TabFocusReason);
    QTest::keyClick(bar, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), selector);
    // A list of the tools, the current one selected and focused.
    QAccessibleInterface *list = accessible(selector);
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), u"Tools"_s);
    QCOMPARE(list->childCount(), 4);
    const auto current = [&] {
        int selected = -1;
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface *item = list->child(i);
            if (item->state().selected) {
                if (selected >= 0)
                    return -2;
                selected = i;
            }
            if (item->parent() != list || list->indexOfChild(item) != i || item->role() != QAccessible::ListItem)
                return -3;
        }
        return list->focusChild() == list->child(selected) ? selected : -4;
    };
    QCOMPARE(current(), 0);
    QCOMPARE(list->child(3)->text(QAccessible::Name), u"Pickwright"_s);

    const QImage unfocused = [&] {
        gui.window->setFocus();
        return selector->grab().toImage();
    }();
    selector->setFocus(Qt::TabFocusReason);
    QVERIFY2(selector->grab().toImage() != unfocused, "the column does not show the focus");

    struct Step
    {
        Qt::Key key;
        int tool;
    };
    for (const Step step : {Step{Qt::Key_Down, 1}, Step{Qt::Key_Down, 2}, Step{Qt::Key_Down, 3}, Step{Qt::Key_Down, 3},
                            Step{Qt::Key_Home, 0}, Step{Qt::Key_Up, 0}, Step{Qt::Key_End, 3}, Step{Qt::Key_Up, 2}}) {
        QTest::keyClick(selector, step.key);
        QCOMPARE(gui.window->currentTool(), gui.find(panels.at(step.tool)));
        QCOMPARE(QApplication::focusWidget(), selector);
        QCOMPARE(current(), step.tool);
    }
    // Tab goes on into the tool chosen.
    QTest::keyClick(selector, Qt::Key_Tab);
    QVERIFY(gui.find(panels.at(2))->isAncestorOf(QApplication::focusWidget()));
    // Ctrl+2 from the column starts in the tool's first field, as anywhere.
    selector->setFocus(Qt::TabFocusReason);
    QTest::keyClick(selector, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), gui.find(u"txtTitleInputBox"_s));
}

void TestAccessibility::eachToolsTaskByKeysAlone_data()
{
    // From the start, steps between "|": a key as QKeySequence writes it, or
    // "=text" typed; then Ctrl+Shift+C. What it copies is what `generate`
    // writes with these arguments.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("generate");
    // clang-format off
    QTest::newRow("message box")
        << u"=Save|Tab|=Save changes?|Ctrl+Tab|Right|Right|Ctrl+Tab|Down|Down|Down|Right|Ctrl+Tab|Space"_s
        << u"msgbox|--title|Save|--message|Save changes?|--icon|question|--buttons|yesnocancel|--default|2|--help-button"_s;
    QTest::newRow("input box")
        << u"Ctrl+2|=Name|Tab|=Your name?|Tab|=Ann|Ctrl+Tab|Ctrl+Tab|Ctrl+A|=strName|Tab|Space"_s
        << u"inputbox|--title|Name|--message|Your name?|--default-answer|Ann|--variable|strName|--declare"_s;
    QTest::newRow("header")
        << u"Ctrl+3|=Billing|Tab|=Main.bas|Tab|=1.0|Tab|Ctrl+A|=2026-12-09|Tab|Ctrl+A|=Copyright 2026 Me|Tab|=Totals."_s
        << u"header|--project|Billing|--program|Main.bas|--version|1.0|--date|2026-12-09|--copyright|Copyright 2026 Me|--description|Totals."_s;
    QTest::newRow("save dialog")
        << u"Ctrl+4|Ctrl+Tab|Ctrl+A|=Save as|Tab|=bas"_s
        << u"commondialog|--dialog|save|--title|Save as|--default-ext|bas"_s;
    QTest::newRow("printer dialog")
        << u"Ctrl+4|Ctrl+Tab|Ctrl+Tab|Down|Ctrl+Tab|Ctrl+Tab|Space"_s
        << u"commondialog|--dialog|printer|--no-print-to-file"_s;
    // clang-format on
}

void TestAccessibility::eachToolsTaskByKeysAlone()
{
    QFETCH(QString, steps);
    QFETCH(QString, generate);
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    const auto target = [&gui]() -> QWidget * {
        QWidget *focus = QApplication::focusWidget();
        return focus ? focus : gui.window.get();
    };
    for (const QString &step : steps.split(u'|')) {
        if (step.startsWith(u'=')) {
            QTest::keyClicks(target(), step.mid(1));
            continue;
        }
        const QKeySequence sequence(step);
        QVERIFY2(sequence.count() == 1, qPrintable(step));
        QTest::keyClick(target(), sequence[0].key(), sequence[0].keyboardModifiers());
    }
    QTest::keyClick(target(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);

    QBuffer out;
    QBuffer err;
    QBuffer in;
    QVERIFY(out.open(QIODevice::WriteOnly) && err.open(QIODevice::WriteOnly) && in.open(QIODevice::ReadOnly));
    QCOMPARE(runCommandLine(QStringList{u"quillkit98"_s, u"generate"_s} + generate.split(u'|'), out, err, in), 0);
    QCOMPARE(gui.platform.clipboard, QString::fromUtf8(out.data()));
}

void TestAccessibility::commandRowsTabAsTheyRead()
{
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    gui.click(u"cmdCode"_s);
    // Each row from its first control; the last goes on to what follows.
    const QList<QStringList> rows{
        {u"cmdNew"_s, u"cmdTest"_s, u"cmdCopy"_s, u"cmdReadCode"_s},
        {u"cmdReadCode"_s, u"cboConstants"_s, u"cboDialect"_s, u"txtCode"_s},
        {u"txtCode"_s, u"cmdHelp"_s},
        {u"cmdHelp"_s, u"cmdAbout"_s, u"cmdCode"_s, u"cmdExit"_s},
    };
    for (const QStringList &row : rows) {
        gui.find(row.first())->setFocus(Qt::TabFocusReason);
        for (qsizetype i = 1; i < row.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), row.at(i));
            // Along a row to the right, or down to the next one.
            const QRect before(gui.find(row.at(i - 1))->mapToGlobal(QPoint()), gui.find(row.at(i - 1))->size());
            const QRect now(gui.find(row.at(i))->mapToGlobal(QPoint()), gui.find(row.at(i))->size());
            QVERIFY2(now.left() > before.left() || now.top() >= before.bottom(), qPrintable(row.at(i)));
        }
    }
}

void TestAccessibility::listShowsFocusWhenEmpty()
{
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    gui.selectTool(images.at(3));
    auto *list = gui.find<QListWidget>(u"lstFileTypesOpen"_s);
    QCOMPARE(list->count(), 0);
    gui.find(u"txtDialogTitleOpen"_s)->setFocus();
    const QImage unfocused = list->grab().toImage();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);
    QVERIFY2(list->grab().toImage() != unfocused, "the empty list does not show the focus");
}

void TestAccessibility::helpPageReadsInEveryTheme_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette();
}

// No text of the page is drawn at less than 4.5:1 against what lies behind it.
void TestAccessibility::helpPageReadsInEveryTheme()
{
    QFETCH(QPalette, palette);
    const QString page = builtHelpPage();
    if (page.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    FakePlatform platform;
    HelpViewer viewer(platform, nullptr);
    viewer.setPalette(palette);
    viewer.showDocument(page);
    const QTextDocument &document = *viewer.browser()->document();
    QVERIFY(document.characterCount() > 1000);
    const QColor base = viewer.browser()->palette().color(QPalette::Base);
    const QColor text = viewer.browser()->palette().color(QPalette::Text);
    int fragments = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.text().trimmed().isEmpty())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            QColor colour = format.foreground().style() != Qt::NoBrush ? format.foreground().color() : text;
            if (format.isAnchor() && format.foreground().style() == Qt::NoBrush)
                colour = viewer.browser()->palette().color(QPalette::Link);
            const QColor behind = backgroundAt(document, block, format, base);
            const double ratio = contrastRatio(colour, behind);
            QVERIFY2(ratio >= 4.5, qPrintable(u"%1 on %2 (%3:1): %4"_s.arg(colour.name(), behind.name())
                                                  .arg(ratio, 0, 'f', 2)
                                                  .arg(fragment.text().left(40))));
            ++fragments;
        }
    }
    QVERIFY(fragments > 100);
}

// On a small screen (the offscreen one, 800 by 600, is smaller than 1280 by
// 800 at a scale of 1.5) the window and its buttons lie on it, and the text
// wraps rather than scrolling sideways.
void TestAccessibility::helpFitsASmallScreen()
{
    const QString page = builtHelpPage();
    if (page.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    FakePlatform platform;
    HelpViewer viewer(platform, nullptr);
    viewer.showDocument(page);
    viewer.offerBrowser();
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QRect room = viewer.screen()->availableGeometry();
    QVERIFY2(room.contains(viewer.geometry()),
             qPrintable(u"%1,%2 %3x%4"_s.arg(viewer.x()).arg(viewer.y()).arg(viewer.width()).arg(viewer.height())));
    for (const QString &name : {u"cmdCloseHelp"_s, u"cmdOpenInBrowser"_s}) {
        QWidget *button = viewer.findChild<QWidget *>(name);
        QVERIFY(viewer.rect().contains(QRect(button->mapTo(&viewer, QPoint()), button->size())));
    }
    // As wide as it opened, and as 1280 pixels at a scale of 1.75.
    for (const int width : {viewer.width(), 730}) {
        viewer.resize(width, viewer.height());
        // The page is laid out again once the resize has been handled.
        QTRY_COMPARE(viewer.browser()->horizontalScrollBar()->maximum(), 0);
        QTest::qWait(100);
        QCOMPARE(viewer.browser()->horizontalScrollBar()->maximum(), 0);
    }
}

void TestAccessibility::headerTestReadsInEveryTheme_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette();
}

// Topwright's Test window writes in green, light enough for a dark theme.
void TestAccessibility::headerTestReadsInEveryTheme()
{
    QFETCH(QPalette, palette);
    GuiHarness gui;
    gui.window->setPalette(palette);
    gui.selectTool(u"imgTopwright"_s);
    QColor text;
    QColor base;
    gui.whileModal(u"cmdTest"_s, [&](QWidget *modal) {
        auto *view = modal->findChild<QWidget *>(u"txtTest"_s);
        text = view->palette().color(QPalette::Text);
        base = view->palette().color(QPalette::Base);
        modal->close();
    });
    QVERIFY2(contrastRatio(text, base) >= 4.5, qPrintable(text.name() + u" on "_s + base.name()));
    QVERIFY2(text.green() > text.red() && text.green() > text.blue(), qPrintable(text.name()));
    // Where the classic green reads, it stays.
    if (contrastRatio(QColor(0, 128, 0), base) >= 4.5)
        QCOMPARE(text, QColor(0, 128, 0));
}

void TestAccessibility::helpHeadingsByKey()
{
    const QString page = builtHelpPage();
    if (page.isEmpty())
        QSKIP("QUILLKIT98 names the built program when run by CTest");
    FakePlatform platform;
    HelpViewer viewer(platform, nullptr);
    viewer.showDocument(page);
    QTextBrowser *browser = viewer.browser();
    QStringList headings;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(browser, Qt::Key_H);
        const QTextBlock block = browser->textCursor().block();
        QVERIFY(block.blockFormat().headingLevel() > 0);
        QCOMPARE(browser->textCursor().selectedText(), block.text());
        QVERIFY(!headings.contains(block.text()));
        headings << block.text();
    }
    QTest::keyClick(browser, Qt::Key_H, Qt::ShiftModifier);
    QCOMPARE(browser->textCursor().block().text(), headings.at(1));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
