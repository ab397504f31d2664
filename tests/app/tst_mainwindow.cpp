// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartUp.h"
#include "app/ToolSelector.h"
#include "platform/WindowPlacement.h"
#include "support/GuiTest.h"
#include "tools/ToolPanel.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QPushButton>
#include <QLabel>
#include <QSignalSpy>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

const QStringList panelNames{u"tabNotewright"_s, u"tabInputBox"_s, u"tabTopwright"_s, u"tabPickwright"_s};

// The one visible panel's name, or a list of them when the invariant breaks.
QString visiblePanels(const GuiHarness &gui)
{
    QStringList visible;
    for (const QString &name : panelNames) {
        if (!gui.find(name)->isHidden())
            visible << name;
    }
    return visible.join(u',');
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsOnMessageBoxTool();
    void splashWaitsThreeSecondsBeforeTheWindow();
    void helpFilePathJoinsAsItStands_data();
    void helpFilePathJoinsAsItStands();
    void selectorSequences_data();
    void selectorSequences();
    void selectorReturnsToFirstPageAndKeepsOtherTools();
    void pressLookUndoneOnRelease_data();
    void pressLookUndoneOnRelease();
    void captionsPickTheirTool_data();
    void captionsPickTheirTool();
    void copyClearsThenSetsCurrentToolText();
    void copyTestNewReachTheCurrentTool();
    void copyThatCannotReachTheClipboardSaysSo();
    void functionKeysWorkOnEveryPage_data();
    void functionKeysWorkOnEveryPage();
    void escapeEndsTheProgram();
    void escapeClosesOnlyTheOpenList_data();
    void escapeClosesOnlyTheOpenList();
    void closingTheWindowEndsTheProgram();
    void windowIsFixedSizeWithoutMaximize();
    void typingStartsInTheToolsFirstField_data();
    void typingStartsInTheToolsFirstField();
    void tabFollowsTheFieldsAsTheyRead_data();
    void tabFollowsTheFieldsAsTheyRead();
    void currentToolIsMarked();
    void selectorPicturesAreEvenlySpaced();
    void messageFieldsScrollAlike();
    void commandButtonsStayOutsideTheScrollingTools();
};

void TestMainWindow::startsOnMessageBoxTool()
{
    GuiHarness gui;
    QCOMPARE(visiblePanels(gui), u"tabNotewright"_s);
    QCOMPARE(gui.find<QLabel>(u"lblHeader"_s)->text(), u"Notewright"_s);
    for (const QString &name : panelNames)
        QCOMPARE(gui.find<QTabWidget>(name)->currentIndex(), 0);
    QCOMPARE(gui.window->windowTitle(), u"Quillkit 98"_s);
    QCOMPARE(gui.window->helpFile(), u"/opt/quillkit98/qkt98.html"_s);
    QVERIFY(gui.platform.sleeps.isEmpty());
    // The icon comes once the window has painted.
    QTRY_VERIFY(!gui.window->windowIcon().pixmap(16).isNull());
}

void TestMainWindow::splashWaitsThreeSecondsBeforeTheWindow()
{
    FakePlatform platform;
    const auto window = startUp(platform, WindowOptions());
    QCOMPARE(platform.sleeps, QList<int>{3000});
    QVERIFY(window->isVisible());
    // The splash is gone once the main window shows.
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == u"frmSplash"_s)
            QVERIFY(!top->isVisible());
    }
}

void TestMainWindow::helpFilePathJoinsAsItStands_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder") << u"/opt/quillkit98"_s << u"/opt/quillkit98/qkt98.html"_s;
    QTest::newRow("root keeps its separator") << u"/"_s << u"//qkt98.html"_s;
}

void TestMainWindow::helpFilePathJoinsAsItStands()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(helpFilePath(folder), expected);
}

void TestMainWindow::selectorSequences_data()
{
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("header");
    QTest::newRow("askwright") << QStringList{u"imgAskwright"_s} << u"tabInputBox"_s << u"Askwright"_s;
    QTest::newRow("topwright") << QStringList{u"imgTopwright"_s} << u"tabTopwright"_s << u"Topwright"_s;
    QTest::newRow("pickwright") << QStringList{u"imgPickwright"_s} << u"tabPickwright"_s << u"Pickwright"_s;
    QTest::newRow("there and back")
        << QStringList{u"imgPickwright"_s, u"imgNotewright"_s} << u"tabNotewright"_s << u"Notewright"_s;
    QTest::newRow("every tool twice")
        << QStringList{u"imgTopwright"_s, u"imgTopwright"_s, u"imgAskwright"_s, u"imgPickwright"_s,
                       u"imgNotewright"_s, u"imgAskwright"_s, u"imgAskwright"_s, u"imgTopwright"_s}
        << u"tabTopwright"_s << u"Topwright"_s;
}

void TestMainWindow::selectorSequences()
{
    QFETCH(QStringList, clicks);
    QFETCH(QString, panel);
    QFETCH(QString, header);
    GuiHarness gui;
    for (const QString &image : clicks)
        gui.selectTool(image);
    QCOMPARE(visiblePanels(gui), panel);
    QCOMPARE(gui.find<QLabel>(u"lblHeader"_s)->text(), header);
    QCOMPARE(gui.window->currentTool(), gui.find<ToolPanel>(panel));
}

void TestMainWindow::selectorReturnsToFirstPageAndKeepsOtherTools()
{
    GuiHarness gui;
    gui.selectTool(u"imgPickwright"_s);
    auto *pick = gui.find<QTabWidget>(u"tabPickwright"_s);
    pick->setCurrentIndex(4);
    auto *note = gui.find<QTabWidget>(u"tabNotewright"_s);
    note->setCurrentIndex(2); // hidden page index survives until its tool is picked
    gui.selectTool(u"imgNotewright"_s);
    QCOMPARE(note->currentIndex(), 0);
    QCOMPARE(pick->currentIndex(), 4);
    gui.selectTool(u"imgPickwright"_s);
    QCOMPARE(pick->currentIndex(), 0);

    // The current tool's own image also returns it to page 0.
    pick->setCurrentIndex(3);
    gui.selectTool(u"imgPickwright"_s);
    QCOMPARE(pick->currentIndex(), 0);
}

void TestMainWindow::pressLookUndoneOnRelease_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<int>("restTop");
    QTest::addColumn<int>("button");
    QTest::newRow("notewright left") << u"imgNotewright"_s << 120 << int(Qt::LeftButton);
    QTest::newRow("askwright right") << u"imgAskwright"_s << 1080 << int(Qt::RightButton);
    QTest::newRow("topwright middle") << u"imgTopwright"_s << 2040 << int(Qt::MiddleButton);
    QTest::newRow("pickwright left") << u"imgPickwright"_s << 3000 << int(Qt::LeftButton);
}

void TestMainWindow::pressLookUndoneOnRelease()
{
    QFETCH(QString, image);
    QFETCH(int, restTop);
    QFETCH(int, button);
    GuiHarness gui;
    QWidget *img = gui.find(image);
    const QPoint rest = twipsToPixels(QPoint(360, restTop), img);
    const QPoint pressed = twipsToPixels(QPoint(310, restTop + 50), img);
    QCOMPARE(img->pos(), rest);
    const QSize size = img->size();
    QTest::mousePress(img, Qt::MouseButton(button), {}, QPoint(4, 4));
    QCOMPARE(img->pos(), pressed);
    QCOMPARE(img->size(), size);
    QTest::mouseRelease(img, Qt::MouseButton(button), {}, QPoint(4, 4));
    QCOMPARE(img->pos(), rest);
    // Only a left click picks the tool.
    const bool picked = button == Qt::LeftButton;
    QCOMPARE(gui.window->currentTool() == gui.find<ToolPanel>(image == u"imgNotewright"_s ? u"tabNotewright"_s
                                                               : image == u"imgAskwright"_s ? u"tabInputBox"_s
                                                               : image == u"imgTopwright"_s ? u"tabTopwright"_s
                                                                                             : u"tabPickwright"_s),
             picked || image == u"imgNotewright"_s);
}

void TestMainWindow::captionsPickTheirTool_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("panel");
    QTest::newRow("Askwright") << u"lblAskwright"_s << u"imgAskwright"_s << u"tabInputBox"_s;
    QTest::newRow("Topwright") << u"lblTopwright"_s << u"imgTopwright"_s << u"tabTopwright"_s;
    QTest::newRow("Pickwright") << u"lblPickwright"_s << u"imgPickwright"_s << u"tabPickwright"_s;
}

void TestMainWindow::captionsPickTheirTool()
{
    QFETCH(QString, caption);
    QFETCH(QString, image);
    QFETCH(QString, panel);
    GuiHarness gui;
    auto *label = gui.find<QLabel>(caption);
    QWidget *img = gui.find(image);
    const QPoint rest = img->pos();
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);

    // A press that leaves the caption before release picks nothing, but
    // shows the pressed look while held.
    QTest::mousePress(label, Qt::LeftButton, {}, label->rect().center());
    QVERIFY(img->pos() != rest);
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(img->pos(), rest);
    QCOMPARE(visiblePanels(gui), u"tabNotewright"_s);

    // A right click picks nothing either.
    QTest::mouseClick(label, Qt::RightButton, {}, label->rect().center());
    QCOMPARE(visiblePanels(gui), u"tabNotewright"_s);

    gui.click(caption);
    QCOMPARE(img->pos(), rest);
    QCOMPARE(visiblePanels(gui), panel);
    QCOMPARE(gui.find<QLabel>(u"lblHeader"_s)->text(), label->text());
}

void TestMainWindow::copyClearsThenSetsCurrentToolText()
{
    GuiHarness gui;
    for (const QString &image : {u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s}) {
        gui.selectTool(image);
        gui.platform.log.clear();
        gui.platform.clipboard = u"something else"_s;
        const QString text = gui.copy();
        QCOMPARE(text, gui.window->currentCode());
        QCOMPARE(gui.platform.log, (QStringList{u"clearClipboard"_s, u"setClipboardText"_s}));
        // A second press gives the same text.
        QCOMPARE(gui.copy(), text);
    }
}

void TestMainWindow::copyTestNewReachTheCurrentTool()
{
    GuiHarness gui;
    gui.selectTool(u"imgTopwright"_s);
    // Test and New reach exactly the visible tool: with none of the real
    // panels visible, the shell acts on nothing and nothing breaks.
    for (const QString &name : panelNames)
        gui.find(name)->hide();
    QCOMPARE(gui.window->currentTool(), nullptr);
    gui.platform.log.clear();
    gui.click(u"cmdCopy"_s);
    gui.click(u"cmdTest"_s);
    gui.click(u"cmdNew"_s);
    QVERIFY(gui.platform.log.isEmpty());

    // The fixed order: the first visible panel wins.
    gui.find(u"tabPickwright"_s)->show();
    gui.find(u"tabInputBox"_s)->show();
    QCOMPARE(gui.window->currentTool(), gui.find<ToolPanel>(u"tabInputBox"_s));
}

void TestMainWindow::copyThatCannotReachTheClipboardSaysSo()
{
    GuiHarness gui;
    gui.platform.clipboardWorks = false;
    gui.click(u"cmdCopy"_s);
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    QVERIFY(gui.platform.msgBoxCalls.first().prompt.contains(u"clipboard"_s));
    QCOMPARE(gui.platform.msgBoxCalls.first().buttons, 48);
    // Once the clipboard is free again, Copy works and says nothing.
    gui.platform.clipboardWorks = true;
    QCOMPARE(gui.copy(), gui.window->currentCode());
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
}

void TestMainWindow::functionKeysWorkOnEveryPage_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("page");
    const QStringList images{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s};
    GuiHarness gui;
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int pages = gui.find<QTabWidget>(panelNames.at(i))->count();
        for (int page = 0; page < pages; ++page)
            QTest::addRow("%s, page %d", qPrintable(images.at(i)), page) << images.at(i) << panelNames.at(i) << page;
    }
}

void TestMainWindow::functionKeysWorkOnEveryPage()
{
    QFETCH(QString, image);
    QFETCH(QString, panel);
    QFETCH(int, page);
    GuiHarness gui;
    gui.selectTool(image);
    auto *tabs = gui.find<QTabWidget>(panel);
    tabs->setCurrentIndex(page);
    // The keys arrive wherever the focus is on the page, as a user's would.
    QWidget *field = tabs->currentWidget()->nextInFocusChain();
    field->setFocus();
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : gui.window.get();

    QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(gui.platform.clipboard, gui.window->currentCode());

    // The fake has no help file: F1 is seen in the message that says so.
    QTest::keyClick(target, Qt::Key_F1);
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    QVERIFY(gui.platform.msgBoxCalls.last().prompt.contains(gui.window->helpFile()));

    // Topwright's Test opens a modal window of its own; the header tests
    // drive it. The others reach the fake platform at once.
    if (image != u"imgTopwright"_s) {
        const auto calls = [&] {
            return gui.platform.msgBoxCalls.size() + gui.platform.inputBoxCalls.size()
                + gui.platform.dialogCalls.size();
        };
        const qsizetype before = calls();
        QTest::keyClick(target, Qt::Key_F5);
        QCOMPARE(calls(), before + 1);
    }
}

void TestMainWindow::escapeEndsTheProgram()
{
    GuiHarness gui;
    gui.selectTool(u"imgPickwright"_s);
    QVERIFY(GuiHarness::endsTheProgram([&] { QTest::keyClick(gui.window.get(), Qt::Key_Escape); }));
}

void TestMainWindow::escapeClosesOnlyTheOpenList_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<bool>("codeView");
    QTest::newRow("title presets") << u"cboTitleMsgBox"_s << false;
    QTest::newRow("write constants as") << u"cboConstants"_s << true;
    QTest::newRow("language") << u"cboDialect"_s << true;
    QTest::newRow("field's context menu") << u"txtMessageMsgBox"_s << false;
}

void TestMainWindow::escapeClosesOnlyTheOpenList()
{
    QFETCH(QString, list);
    QFETCH(bool, codeView);
    GuiHarness gui;
    gui.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(gui.window.get()));
    gui.window->setCodeViewShown(codeView);
    gui.type(u"txtMessageMsgBox"_s, u"Typed with care"_s);
    const QString code = gui.window->currentCode();
    QSignalSpy exitPressed(gui.find<QPushButton>(u"cmdExit"_s), &QPushButton::clicked);

    QWidget *target = gui.find(list);
    if (auto *combo = qobject_cast<QComboBox *>(target)) {
        combo->showPopup();
    } else {
        const QPoint at = target->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &menu);
    }
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(exitPressed.count(), 0);
    QVERIFY(gui.window->isVisible());
    QCOMPARE(gui.window->currentCode(), code);

    // With the list closed, Escape is the window's again.
    QVERIFY(GuiHarness::endsTheProgram([&] { QTest::keyClick(gui.window.get(), Qt::Key_Escape); }));
}

void TestMainWindow::closingTheWindowEndsTheProgram()
{
    GuiHarness gui;
    QVERIFY(GuiHarness::endsTheProgram([&] { gui.window->close(); }));
}

void TestMainWindow::windowIsFixedSizeWithoutMaximize()
{
    GuiHarness gui;
    QCOMPARE(gui.window->minimumSize(), gui.window->maximumSize());
    QVERIFY(!(gui.window->windowFlags() & Qt::WindowMaximizeButtonHint));
    const QSize before = gui.window->size();
    for (const QString &image : {u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s})
        gui.selectTool(image);
    QCOMPARE(gui.window->size(), before);
}

void TestMainWindow::typingStartsInTheToolsFirstField_data()
{
    QTest::addColumn<QString>("image");
    // The keyboard, Ctrl+1..., instead of the picture.
    QTest::addColumn<bool>("byKeyboard");
    QTest::addColumn<QString>("field");
    const QStringList fields{u"cboTitleMsgBox"_s, u"txtTitleInputBox"_s, u"txtProject"_s, u"txtDialogTitleOpen"_s};
    const QStringList images{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s};
    for (qsizetype i = 0; i < images.size(); ++i) {
        QTest::addRow("%s clicked", qPrintable(images.at(i))) << images.at(i) << false << fields.at(i);
        QTest::addRow("%s by Ctrl+%lld", qPrintable(images.at(i)), i + 1) << images.at(i) << true << fields.at(i);
    }
}

void TestMainWindow::typingStartsInTheToolsFirstField()
{
    QFETCH(QString, image);
    QFETCH(bool, byKeyboard);
    QFETCH(QString, field);
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    // At start, the message box's title.
    QWidget *titles = gui.find(u"cboTitleMsgBox"_s);
    QVERIFY(QApplication::focusWidget() == titles || titles->isAncestorOf(QApplication::focusWidget()));

    // Away on another tool's later page first, so that the switch must move it.
    gui.selectTool(u"imgPickwright"_s);
    gui.find<QTabWidget>(u"tabPickwright"_s)->setCurrentIndex(3);
    gui.find<QTabWidget>(u"tabPickwright"_s)->tabBar()->setFocus();
    if (byKeyboard) {
        const int index = int(QStringList{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s,
                                          u"imgPickwright"_s}.indexOf(image));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Qt::Key_1 + index), Qt::ControlModifier);
    } else {
        gui.selectTool(image);
    }
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QWidget *expected = gui.find(field);
    QVERIFY2(focused == expected || expected->isAncestorOf(focused), qPrintable(focused->objectName()));

    // What is typed lands there.
    QTest::keyClicks(focused, u"Typed"_s);
    QVERIFY2(gui.window->currentCode().contains(u"Typed"_s), qPrintable(gui.window->currentCode()));
}

void TestMainWindow::tabFollowsTheFieldsAsTheyRead_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("page");
    const QStringList images{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s};
    const QList<int> pageCounts{4, 3, 1, 5};
    for (qsizetype i = 0; i < images.size(); ++i) {
        for (int page = 0; page < pageCounts.at(i); ++page)
            QTest::addRow("%s, page %d", qPrintable(images.at(i)), page) << images.at(i) << panelNames.at(i) << page;
    }
}

// From the first field, Tab goes down the page as it reads: each field it
// reaches lies below the one before, or beside it to the right.
void TestMainWindow::tabFollowsTheFieldsAsTheyRead()
{
    QFETCH(QString, image);
    QFETCH(QString, panel);
    QFETCH(int, page);
    GuiHarness gui;
    QVERIFY(QTest::qWaitForWindowActive(gui.window.get()));
    gui.selectTool(image);
    auto *tabs = gui.find<QTabWidget>(panel);
    QCOMPARE(tabs->count() > page, true);
    tabs->setCurrentIndex(page);
    QWidget *pageWidget = tabs->currentWidget();
    QWidget *first = nullptr;
    for (QWidget *w = pageWidget->nextInFocusChain(); w != pageWidget; w = w->nextInFocusChain()) {
        if (pageWidget->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(pageWidget) && (w->focusPolicy() & Qt::TabFocus)) {
            first = w;
            break;
        }
    }
    if (!first)
        QSKIP("no field on this page takes the focus");
    first->setFocus(Qt::TabFocusReason);

    QStringList visited;
    QRect previous;
    for (QWidget *focused = QApplication::focusWidget(); focused && pageWidget->isAncestorOf(focused);
         focused = QApplication::focusWidget()) {
        QWidget *field = focused;
        // An editable combo box's line edit is the box.
        if (field->parentWidget() && qobject_cast<QComboBox *>(field->parentWidget()))
            field = field->parentWidget();
        if (visited.contains(field->objectName()))
            break;
        visited << field->objectName();
        const QRect at(field->mapTo(pageWidget, QPoint(0, 0)), field->size());
        if (!previous.isNull()) {
            const bool below = at.top() >= previous.center().y();
            const bool besideRight = at.left() >= previous.right() - 1 && at.top() < previous.bottom();
            QVERIFY2(below || besideRight, qPrintable(u"Tab went back up to %1 after %2"_s.arg(
                                                          field->objectName(), visited.join(u", "_s))));
        }
        previous = at;
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QVERIFY2(!visited.isEmpty(), "Tab reached no field");
}

void TestMainWindow::currentToolIsMarked()
{
    GuiHarness gui;
    const QStringList images{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s};
    const QStringList captions{u"lblNotewright"_s, u"lblAskwright"_s, u"lblTopwright"_s, u"lblPickwright"_s};
    QWidget *mark = gui.find(u"shpCurrentTool"_s);
    // Notewright at start, then each tool in an order that is not the list's.
    for (const int current : {0, 2, 1, 3, 0}) {
        if (current != 0 || gui.window->currentTool() != gui.find(panelNames.at(0)))
            gui.selectTool(images.at(current));
        QVERIFY(mark->isVisible());
        for (qsizetype i = 0; i < images.size(); ++i) {
            const QRect image = gui.find(images.at(i))->geometry();
            auto *caption = gui.find<QLabel>(captions.at(i));
            const bool marked = i == current;
            QCOMPARE(mark->geometry().contains(image), marked);
            QCOMPARE(mark->geometry().intersects(caption->geometry()), marked);
            QCOMPARE(caption->font().bold(), marked);
        }
    }
    // The mark lies behind what it marks: the pictures still take the clicks.
    gui.selectTool(images.at(1));
    QCOMPARE(visiblePanels(gui), panelNames.at(1));
}

void TestMainWindow::selectorPicturesAreEvenlySpaced()
{
    GuiHarness gui;
    QList<int> tops;
    for (const QString &image : {u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s})
        tops << gui.find(image)->y();
    for (qsizetype i = 2; i < tops.size(); ++i)
        QVERIFY2(qAbs((tops.at(i) - tops.at(i - 1)) - (tops.at(1) - tops.at(0))) <= 1,
                 qPrintable(u"picture tops %1, %2, %3, %4"_s.arg(tops.at(0)).arg(tops.at(1)).arg(tops.at(2)).arg(tops.at(3))));
}

void TestMainWindow::messageFieldsScrollAlike()
{
    GuiHarness gui;
    for (const auto &[image, name] : {std::pair{u"imgNotewright"_s, u"txtMessageMsgBox"_s},
                                      std::pair{u"imgAskwright"_s, u"txtMessageInputBox"_s}}) {
        gui.selectTool(image);
        auto *field = gui.find<QPlainTextEdit>(name);
        // A short message needs no scroll bar; a long one shows it.
        gui.type(name, u"Short"_s);
        QTRY_VERIFY2(!field->verticalScrollBar()->isVisible(), qPrintable(name));
        QStringList lines;
        for (int i = 0; i < 40; ++i)
            lines << u"Line %1"_s.arg(i);
        field->setPlainText(lines.join(u'\n'));
        QTRY_VERIFY2(field->verticalScrollBar()->isVisible(), qPrintable(name));
    }
}

void TestMainWindow::commandButtonsStayOutsideTheScrollingTools()
{
    GuiHarness gui;
    auto *tools = gui.find<QScrollArea>(u"scrTools"_s);
    for (const QString &name : {u"cmdNew"_s, u"cmdTest"_s, u"cmdCopy"_s}) {
        QWidget *button = gui.find(name);
        QVERIFY2(!tools->isAncestorOf(button), qPrintable(name));
        QVERIFY(button->isVisible());
        // Inside the window, and under the tools.
        const QRect at(button->mapTo(gui.window.get(), QPoint(0, 0)), button->size());
        QVERIFY(gui.window->rect().contains(at));
        QVERIFY(at.top() >= tools->geometry().bottom());
    }
    // Their right edge is the editor's.
    QWidget *editor = gui.find(u"fraEditor"_s);
    const int editorRight = editor->mapTo(gui.window.get(), QPoint(editor->width(), 0)).x();
    const int copyRight = gui.find(u"cmdCopy"_s)->geometry().right() + 1;
    QVERIFY2(qAbs(copyRight - (editorRight - 8)) <= 1, qPrintable(u"%1 / %2"_s.arg(copyRight).arg(editorRight)));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
