// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"
#include "support/GuiTest.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/commondialog/CommonDialogPanel.h"

#include <QBuffer>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace {

using Status = DialogOutcome::Status;

// The tool on screen, on one of its pages, as a user gets there.
class Pickwright : public GuiHarness
{
public:
    Pickwright() { selectTool(u"imgPickwright"_s); }

    CommonDialogPanel *panel() const { return find<CommonDialogPanel>(u"tabPickwright"_s); }
    QListWidget *list(const QString &name) const { return find<QListWidget>(name); }

    void showPage(DialogKind page) const
    {
        QTabBar *bar = panel()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(int(page)).center());
        QCOMPARE(panel()->currentIndex(), int(page));
    }

    // Presses Add once for every answer, the input box giving that answer.
    void add(const QString &button, const QStringList &answers)
    {
        for (const QString &answer : answers) {
            platform.inputBoxAnswers.enqueue(answer);
            click(button);
        }
    }

    void select(const QString &listName, int row) const
    {
        QListWidget *l = list(listName);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
    }

    // Changes every field of every page away from its start-up value.
    void fillEveryPage()
    {
        showPage(DialogKind::Open);
        type(u"txtDialogTitleOpen"_s, u"Pick one"_s);
        add(u"cmdAddOpen"_s, {u"txt"_s, u"bas"_s});
        showPage(DialogKind::Save);
        type(u"txtDialogTitleSave"_s, u"Export"_s);
        type(u"txtDefaultExtensionSave"_s, u"frm"_s);
        add(u"cmdAddSave"_s, {u"frm"_s});
        showPage(DialogKind::Font);
        click(u"optScreenFonts"_s);
        showPage(DialogKind::Color);
        click(u"chkEnableCustomColors"_s);
        showPage(DialogKind::Printer);
        click(u"chkPrintToFile"_s);
    }
};

QStringList entries(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

int selectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

// What `quillkit98 generate commondialog` prints for these options.
QString commandLineText(const QStringList &options)
{
    const GenerateRun run = runGenerate(u"commondialog"_s, options);
    if (run.status != 0)
        qWarning("%s", qPrintable(run.err));
    return run.out;
}

} // namespace

class TestCommonDialogPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pagesStartAsDesigned();
    void focusFollowsThePageOrder_data();
    void focusFollowsThePageOrder();
    void accessKeysReachTheCurrentPageOnly();
    void addAppendsTheAnswerAsTyped_data();
    void addAppendsTheAnswerAsTyped();
    void addRefusesWhatTheFilterCannotHold_data();
    void addRefusesWhatTheFilterCannotHold();
    void removeTakesOnlyTheSelectedEntry_data();
    void removeTakesOnlyTheSelectedEntry();
    void newResetsOnlyTheCurrentPage_data();
    void newResetsOnlyTheCurrentPage();
    void testWritesThePageProperties_data();
    void testWritesThePageProperties();
    void laterTestsKeepEarlierProperties();
    void cancelIsSilentFailureIsReported();
    void copyAgreesWithTheCommandLine_data();
    void copyAgreesWithTheCommandLine();
    void switchingToolsKeepsTheFields();
};

void TestCommonDialogPanel::pagesStartAsDesigned()
{
    Pickwright gui;
    CommonDialogPanel *panel = gui.panel();
    QStringList captions;
    for (int i = 0; i < panel->count(); ++i)
        captions << panel->tabText(i);
    QCOMPARE(captions, (QStringList{u"Open"_s, u"Save"_s, u"Font"_s, u"Color"_s, u"Printer"_s}));
    QCOMPARE(panel->fields(), CommonDialogFields{});
    QVERIFY(!gui.find<QRadioButton>(u"optScreenFonts"_s)->isChecked());
    QVERIFY(!gui.find<QRadioButton>(u"optPrinterFonts"_s)->isChecked());
    for (const QString &name : {u"lstFileTypesOpen"_s, u"lstFileTypesSave"_s})
        QCOMPARE(gui.list(name)->selectionMode(), QAbstractItemView::SingleSelection);
    const QList<std::pair<QString, QString>> buddies{
        {u"Label6"_s, u"txtDialogTitleOpen"_s},  {u"Label7"_s, u"lstFileTypesOpen"_s},
        {u"Label9"_s, u"txtDialogTitleSave"_s},  {u"Label10"_s, u"txtDefaultExtensionSave"_s},
        {u"Label8"_s, u"lstFileTypesSave"_s},
    };
    for (const auto &[label, field] : buddies)
        QCOMPARE(gui.find<QLabel>(label)->buddy(), gui.find(field));

    // Nothing on this panel is ever disabled, Remove on an empty list included.
    for (int i = 0; i < panel->count(); ++i) {
        for (const QWidget *widget : panel->widget(i)->findChildren<QWidget *>())
            QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    }
}

void TestCommonDialogPanel::focusFollowsThePageOrder_data()
{
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Open") << QStringList{u"txtDialogTitleOpen"_s, u"lstFileTypesOpen"_s, u"cmdAddOpen"_s,
                                         u"cmdRemoveOpen"_s};
    QTest::newRow("Save") << QStringList{u"txtDialogTitleSave"_s, u"txtDefaultExtensionSave"_s,
                                         u"lstFileTypesSave"_s, u"cmdAddSave"_s, u"cmdRemoveSave"_s};
    QTest::newRow("Font") << QStringList{u"optScreenFonts"_s, u"optPrinterFonts"_s, u"optBoth"_s};
}

void TestCommonDialogPanel::focusFollowsThePageOrder()
{
    QFETCH(QStringList, order);
    Pickwright gui;
    // The page's fields, in the order the focus chain meets them.
    QStringList met;
    QWidget *first = gui.find(order.first());
    QWidget *widget = first;
    do {
        if (order.contains(widget->objectName()))
            met << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    QCOMPARE(met, order);
}

void TestCommonDialogPanel::accessKeysReachTheCurrentPageOnly()
{
    Pickwright gui;
    QTest::keyClick(gui.window.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), gui.find(u"txtDialogTitleOpen"_s));

    gui.showPage(DialogKind::Save);
    QTest::keyClick(gui.window.get(), Qt::Key_D, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), gui.find(u"txtDialogTitleSave"_s));

    gui.showPage(DialogKind::Font);
    // A button's access key clicks it, animated.
    QTest::keyClick(gui.window.get(), Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(gui.find<QRadioButton>(u"optPrinterFonts"_s)->isChecked());
    QTest::keyClick(gui.window.get(), Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(gui.find<QRadioButton>(u"optBoth"_s)->isChecked());
    QVERIFY(!gui.find<QRadioButton>(u"optPrinterFonts"_s)->isChecked());
}

void TestCommonDialogPanel::addAppendsTheAnswerAsTyped_data()
{
    QTest::addColumn<DialogKind>("page");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("expected");
    const QStringList asTyped{u"txt"_s, u" TXT "_s, u".txt"_s, u"*.TXT"_s, u"txt"_s, u"bas"_s};
    const QStringList asFiltered{u"txt"_s, u"TXT"_s, u"txt"_s, u"TXT"_s, u"txt"_s, u"bas"_s};
    QTest::newRow("open: case and repeats kept, never sorted; dot, star and blanks around dropped")
        << DialogKind::Open << asTyped << asFiltered;
    QTest::newRow("save: the same") << DialogKind::Save << asTyped << asFiltered;
    // The input box gives an empty text for a cancel as for an empty field.
    QTest::newRow("open: empty answers add nothing")
        << DialogKind::Open << QStringList{QString(), u"txt"_s, QString()} << QStringList{u"txt"_s};
    QTest::newRow("save: empty answers add nothing")
        << DialogKind::Save << QStringList{QString()} << QStringList{};
}

void TestCommonDialogPanel::addRefusesWhatTheFilterCannotHold_data()
{
    QTest::addColumn<DialogKind>("page");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("reason");
    QTest::newRow("open: a space inside") << DialogKind::Open << u"txt files"_s << u"a space"_s;
    QTest::newRow("save: a bar") << DialogKind::Save << u"a|b"_s << u"\"|\""_s;
    QTest::newRow("open: a second star") << DialogKind::Open << u"*.*"_s << u"\"*\""_s;
    QTest::newRow("save: two extensions") << DialogKind::Save << u"tar.gz"_s << u"\".\""_s;
    QTest::newRow("open: a dot alone") << DialogKind::Open << u"."_s << u"extension"_s;
}

void TestCommonDialogPanel::addRefusesWhatTheFilterCannotHold()
{
    QFETCH(DialogKind, page);
    QFETCH(QString, answer);
    QFETCH(QString, reason);
    Pickwright gui;
    gui.showPage(page);
    const bool open = page == DialogKind::Open;
    const QString listName = open ? u"lstFileTypesOpen"_s : u"lstFileTypesSave"_s;
    const QString addButton = open ? u"cmdAddOpen"_s : u"cmdAddSave"_s;
    gui.add(addButton, {u"txt"_s, answer});

    QCOMPARE(entries(gui.list(listName)), QStringList{u"txt"_s});
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    const FakePlatform::MsgBoxCall &call = gui.platform.msgBoxCalls.constFirst();
    QVERIFY2(call.prompt.contains(reason), qPrintable(call.prompt));
    QCOMPARE(call.buttons, vbOKOnly + vbExclamation);
    QCOMPARE(call.title, u"Pickwright"_s);
}

void TestCommonDialogPanel::addAppendsTheAnswerAsTyped()
{
    QFETCH(DialogKind, page);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, expected);
    Pickwright gui;
    gui.showPage(page);
    const bool open = page == DialogKind::Open;
    const QString listName = open ? u"lstFileTypesOpen"_s : u"lstFileTypesSave"_s;
    const QString otherList = open ? u"lstFileTypesSave"_s : u"lstFileTypesOpen"_s;
    const QString addButton = open ? u"cmdAddOpen"_s : u"cmdAddSave"_s;

    // A selection made before Add stays where it was.
    gui.add(addButton, {u"first"_s});
    gui.select(listName, 0);
    gui.platform.inputBoxCalls.clear();

    gui.add(addButton, answers);
    QCOMPARE(entries(gui.list(listName)), QStringList{u"first"_s} + expected);
    QCOMPARE(selectedRow(gui.list(listName)), 0);
    QCOMPARE(gui.list(otherList)->count(), 0);

    QCOMPARE(gui.platform.inputBoxCalls.size(), answers.size());
    for (const FakePlatform::InputBoxCall &call : std::as_const(gui.platform.inputBoxCalls)) {
        QCOMPARE(call.prompt, u"Please enter a file extension (e.g. \"txt\")"_s);
        QCOMPARE(call.title, u"Add"_s);
        QCOMPARE(call.defaultText, QString());
        QVERIFY(!call.help);
    }
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
}

void TestCommonDialogPanel::removeTakesOnlyTheSelectedEntry_data()
{
    QTest::addColumn<DialogKind>("page");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("select"); // -1: nothing selected
    QTest::addColumn<int>("presses");
    QTest::addColumn<QStringList>("left");
    const QStringList three{u"txt"_s, u"bas"_s, u"txt"_s};
    QTest::newRow("open: empty list") << DialogKind::Open << QStringList{} << -1 << 1 << QStringList{};
    QTest::newRow("open: nothing selected") << DialogKind::Open << three << -1 << 2 << three;
    QTest::newRow("open: the last, twice") << DialogKind::Open << three << 2 << 2 << QStringList{u"txt"_s, u"bas"_s};
    QTest::newRow("save: the first of a repeated pair, twice")
        << DialogKind::Save << QStringList{u"txt"_s, u"txt"_s} << 0 << 2 << QStringList{u"txt"_s};
}

void TestCommonDialogPanel::removeTakesOnlyTheSelectedEntry()
{
    QFETCH(DialogKind, page);
    QFETCH(QStringList, entries);
    QFETCH(int, select);
    QFETCH(int, presses);
    QFETCH(QStringList, left);
    Pickwright gui;
    gui.showPage(page);
    const bool open = page == DialogKind::Open;
    const QString listName = open ? u"lstFileTypesOpen"_s : u"lstFileTypesSave"_s;
    gui.add(open ? u"cmdAddOpen"_s : u"cmdAddSave"_s, entries);
    if (select >= 0)
        gui.select(listName, select);

    for (int i = 0; i < presses; ++i)
        gui.click(open ? u"cmdRemoveOpen"_s : u"cmdRemoveSave"_s);
    QCOMPARE(::entries(gui.list(listName)), left);
    QCOMPARE(selectedRow(gui.list(listName)), -1);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
}

void TestCommonDialogPanel::newResetsOnlyTheCurrentPage_data()
{
    QTest::addColumn<DialogKind>("page");
    QTest::newRow("Open") << DialogKind::Open;
    QTest::newRow("Save") << DialogKind::Save;
    QTest::newRow("Font") << DialogKind::Font;
    QTest::newRow("Color") << DialogKind::Color;
    QTest::newRow("Printer") << DialogKind::Printer;
}

void TestCommonDialogPanel::newResetsOnlyTheCurrentPage()
{
    QFETCH(DialogKind, page);
    Pickwright gui;
    gui.fillEveryPage();
    gui.showPage(page);
    CommonDialogFields expected = gui.panel()->fields();
    QCOMPARE(expected.fonts, FontsToDisplay::ScreenOnly);

    const CommonDialogFields start;
    switch (page) {
    case DialogKind::Open:
        expected.openTitle = start.openTitle;
        expected.openFileTypes = start.openFileTypes;
        break;
    case DialogKind::Save:
        expected.saveTitle = start.saveTitle;
        expected.saveDefaultExtension = start.saveDefaultExtension;
        expected.saveFileTypes = start.saveFileTypes;
        break;
    case DialogKind::Font:
        expected.fonts = start.fonts;
        break;
    case DialogKind::Color:
        expected.customColors = start.customColors;
        break;
    case DialogKind::Printer:
        expected.printToFile = start.printToFile;
        break;
    }
    gui.click(u"cmdNew"_s);
    QCOMPARE(gui.panel()->fields(), expected);
    QCOMPARE(gui.panel()->currentIndex(), int(page));
    // The option group follows: exactly one button on.
    QCOMPARE(gui.find<QRadioButton>(u"optScreenFonts"_s)->isChecked(), page != DialogKind::Font);
    QCOMPARE(gui.find<QRadioButton>(u"optBoth"_s)->isChecked(), page == DialogKind::Font);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
}

void TestCommonDialogPanel::testWritesThePageProperties_data()
{
    QTest::addColumn<DialogKind>("page");
    QTest::addColumn<bool>("changed"); // the page's fields filled in first
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<DialogKind>("kind");

    QTest::newRow("Open, start-up values")
        << DialogKind::Open << false
        << QStringList{u"DialogTitle=Open"_s, u"Filter="_s, u"Flags=0"_s} << DialogKind::Open;
    QTest::newRow("Save, start-up values")
        << DialogKind::Save << false
        << QStringList{u"DialogTitle=Save As"_s, u"DefaultExt="_s, u"Filter="_s, u"Flags=0"_s} << DialogKind::Save;
    QTest::newRow("Font, both") << DialogKind::Font << false << QStringList{u"Flags=3"_s} << DialogKind::Font;
    QTest::newRow("Font, screen") << DialogKind::Font << true << QStringList{u"Flags=1"_s} << DialogKind::Font;
    QTest::newRow("Color, custom colors") << DialogKind::Color << false << QStringList{u"Flags=0"_s}
                                          << DialogKind::Color;
    QTest::newRow("Color, none") << DialogKind::Color << true << QStringList{u"Flags=4"_s} << DialogKind::Color;
    QTest::newRow("Printer, to file") << DialogKind::Printer << false << QStringList{u"Flags=0"_s}
                                      << DialogKind::Printer;
    QTest::newRow("Printer, not to file")
        << DialogKind::Printer << true << QStringList{u"Flags=524288"_s} << DialogKind::Printer;
}

void TestCommonDialogPanel::testWritesThePageProperties()
{
    QFETCH(DialogKind, page);
    QFETCH(bool, changed);
    QFETCH(QStringList, writes);
    QFETCH(DialogKind, kind);
    Pickwright gui;
    if (changed)
        gui.fillEveryPage();
    gui.showPage(page);
    const CommonDialogFields before = gui.panel()->fields();
    gui.platform.dialogPropertyWrites.clear();

    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.dialogPropertyWrites, writes);
    QCOMPARE(gui.platform.dialogCalls.size(), 1);
    QCOMPARE(gui.platform.dialogCalls.first().kind, kind);
    QVERIFY(!gui.platform.dialogCalls.first().cancelError);
    QCOMPARE(gui.panel()->fields(), before);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
}

void TestCommonDialogPanel::laterTestsKeepEarlierProperties()
{
    Pickwright gui;
    gui.fillEveryPage();
    for (DialogKind page : {DialogKind::Save, DialogKind::Font, DialogKind::Open, DialogKind::Printer}) {
        gui.showPage(page);
        gui.click(u"cmdTest"_s);
    }
    const QList<FakePlatform::DialogCall> calls = gui.platform.dialogCalls;
    QCOMPARE(calls.size(), 4);
    QCOMPARE(calls[0].kind, DialogKind::Save);
    // The Font test keeps the Save test's title, extension and filter.
    QCOMPARE(calls[1].kind, DialogKind::Font);
    QCOMPARE(calls[1].dialogTitle, u"Export"_s);
    QCOMPARE(calls[1].defaultExt, u"frm"_s);
    QCOMPARE(calls[1].filter, u"frm Files|*.frm|"_s);
    QCOMPARE(calls[1].flags, 1);
    // The Open test sets its own title and filter; the extension stays.
    QCOMPARE(calls[2].kind, DialogKind::Open);
    QCOMPARE(calls[2].dialogTitle, u"Pick one"_s);
    QCOMPARE(calls[2].defaultExt, u"frm"_s);
    QCOMPARE(calls[2].filter, u"txt Files|*.txt|bas Files|*.bas|"_s);
    QCOMPARE(calls[2].flags, 0);
    QCOMPARE(calls[3].kind, DialogKind::Printer);
    QCOMPARE(calls[3].dialogTitle, u"Pick one"_s);
    QCOMPARE(calls[3].flags, 524288);
    // One component for the window's life, beside the help-file chooser.
    QCOMPARE(gui.platform.log.count(u"createCommonDialog"_s), 2);
}

void TestCommonDialogPanel::cancelIsSilentFailureIsReported()
{
    Pickwright gui;
    gui.fillEveryPage();
    const CommonDialogFields before = gui.panel()->fields();
    for (DialogKind page : {DialogKind::Open, DialogKind::Save, DialogKind::Font, DialogKind::Color,
                            DialogKind::Printer}) {
        gui.showPage(page);
        gui.platform.dialogAnswers.enqueue({Status::Cancelled, {}, {}});
        gui.click(u"cmdTest"_s);
    }
    QCOMPARE(gui.platform.dialogCalls.size(), 5);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
    QCOMPARE(gui.panel()->fields(), before);

    // A dialog that cannot open is told, and the program goes on.
    gui.platform.dialogAnswers.enqueue({Status::Failed, {}, u"No printer here."_s});
    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    const FakePlatform::MsgBoxCall call = gui.platform.msgBoxCalls.first();
    QCOMPARE(call.prompt, u"No printer here."_s);
    QCOMPARE(call.buttons, 48);
    QCOMPARE(call.title, u"Pickwright"_s);
    QVERIFY(!call.help);
    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.dialogCalls.size(), 7);
    QCOMPARE(gui.copy(), generateCommonDialogCode(before));
}

void TestCommonDialogPanel::copyAgreesWithTheCommandLine_data()
{
    // Every page after fillEveryPage, and the options that say the same.
    QTest::addColumn<DialogKind>("page");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("open") << DialogKind::Open
                          << QStringList{u"--title"_s, u"Pick one"_s, u"--file-type"_s, u"txt"_s, u"--file-type"_s,
                                         u"bas"_s};
    QTest::newRow("save") << DialogKind::Save
                          << QStringList{u"--dialog"_s,      u"save"_s, u"--title"_s,     u"Export"_s,
                                         u"--default-ext"_s, u"frm"_s,  u"--file-type"_s, u"frm"_s};
    QTest::newRow("font") << DialogKind::Font << QStringList{u"--dialog"_s, u"font"_s, u"--fonts"_s, u"screen"_s};
    QTest::newRow("color") << DialogKind::Color << QStringList{u"--dialog"_s, u"color"_s, u"--no-custom-colors"_s};
    QTest::newRow("printer") << DialogKind::Printer
                             << QStringList{u"--dialog"_s, u"printer"_s, u"--no-print-to-file"_s};
}

void TestCommonDialogPanel::copyAgreesWithTheCommandLine()
{
    QFETCH(DialogKind, page);
    QFETCH(QStringList, options);
    Pickwright gui;
    gui.fillEveryPage();
    gui.showPage(page);
    const QString copied = gui.copy();
    QCOMPARE(copied, generateCommonDialogCode(gui.panel()->fields()));
    QCOMPARE(copied, commandLineText(options));
}

void TestCommonDialogPanel::switchingToolsKeepsTheFields()
{
    Pickwright gui;
    gui.fillEveryPage();
    gui.showPage(DialogKind::Open);
    gui.select(u"lstFileTypesOpen"_s, 1);
    gui.showPage(DialogKind::Printer);
    const CommonDialogFields before = gui.panel()->fields();
    QCOMPARE(before.page, DialogKind::Printer);

    gui.selectTool(u"imgNotewright"_s);
    gui.selectTool(u"imgPickwright"_s);
    CommonDialogFields expected = before;
    expected.page = DialogKind::Open;
    QCOMPARE(gui.panel()->fields(), expected);
    QCOMPARE(selectedRow(gui.list(u"lstFileTypesOpen"_s)), 1);
}

QTEST_MAIN(TestCommonDialogPanel)
#include "tst_commondialogpanel.moc"
