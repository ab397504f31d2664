// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "support/GenerateRun.h"
#include "support/GuiTest.h"
#include "tools/msgbox/MsgBoxPanel.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

// The six help controls, in the order the help check box enables them.
const QStringList helpControls{u"lblFileNameMsgBox"_s, u"txtFileNameMsgBox"_s, u"cmdBrowseMsgBox"_s,
                               u"lblTopicIDMsgBox"_s,  u"txtTopicIDMsgBox"_s,  u"chkAppPathMsgBox"_s};

const QString startUpCode = u"'*** Start MsgBox Code ***\r\nMsgbox \"\", 0, \"\"\r\n'*** End Notewright Code ***"_s;

MsgBoxPanel *panel(const GuiHarness &gui)
{
    return gui.find<MsgBoxPanel>(u"tabNotewright"_s);
}

// Brings the control's page to the front, as a user would before using it.
void showPageOf(const GuiHarness &gui, const QString &objectName)
{
    MsgBoxPanel *tabs = panel(gui);
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(gui.find(objectName)))
            tabs->setCurrentIndex(i);
    }
}

void tick(const GuiHarness &gui, const QString &objectName, bool on)
{
    showPageOf(gui, objectName);
    auto *box = gui.find<QCheckBox>(objectName);
    if (box->isChecked() != on)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

// Steps as a user takes them: "optX" presses an option, "modal", "appPath",
// "help:FILE" (help on and the file typed), "help-off", "topic:TEXT",
// "message:TEXT", "title:TEXT".
void apply(GuiHarness &gui, const QStringList &steps)
{
    const QList<std::tuple<QString, QString, bool>> ticks{{u"modal"_s, u"chkModal"_s, true},
                                                          {u"appPath"_s, u"chkAppPathMsgBox"_s, true},
                                                          {u"help-off"_s, u"chkHelpMsgBox"_s, false}};
    const QList<std::pair<QString, QString>> typed{{u"help:"_s, u"txtFileNameMsgBox"_s},
                                                   {u"topic:"_s, u"txtTopicIDMsgBox"_s},
                                                   {u"message:"_s, u"txtMessageMsgBox"_s},
                                                   {u"title:"_s, u"cboTitleMsgBox"_s}};
    for (const QString &step : steps) {
        const auto box =
            std::find_if(ticks.begin(), ticks.end(), [&](const auto &t) { return std::get<0>(t) == step; });
        const auto field =
            std::find_if(typed.begin(), typed.end(), [&](const auto &t) { return step.startsWith(t.first); });
        if (box != ticks.end()) {
            tick(gui, std::get<1>(*box), std::get<2>(*box));
        } else if (field != typed.end()) {
            if (field->first == u"help:"_s)
                tick(gui, u"chkHelpMsgBox"_s, true);
            showPageOf(gui, field->second);
            gui.type(field->second, step.mid(field->first.size()));
        } else {
            showPageOf(gui, step);
            gui.click(step);
        }
    }
}

} // namespace

class TestMsgBoxPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpState();
    void checkedOptionIsUnmistakable_data();
    void checkedOptionIsUnmistakable();
    void options_data();
    void options();
    void helpSwitchEnablesInOrderAndKeepsValues();
    void browse_data();
    void browse();
    void titleList();
    void copy_data();
    void copy();
    void liveTest_data();
    void liveTest();
    void resetRestoresStartUp();
    void commandLineAgreesWithCopy_data();
    void commandLineAgreesWithCopy();
};

void TestMsgBoxPanel::startUpState()
{
    GuiHarness gui;
    MsgBoxPanel *tabs = panel(gui);
    QStringList pages;
    for (int i = 0; i < tabs->count(); ++i)
        pages << tabs->tabText(i);
    QCOMPARE(pages, (QStringList{u"General"_s, u"Style"_s, u"Buttons"_s, u"Help Button"_s}));
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->fields().style, MsgBoxStyleValues{});
    QVERIFY(gui.find<QPushButton>(u"optNone"_s)->isChecked());
    QVERIFY(gui.find<QPushButton>(u"optOK"_s)->isChecked());
    QCOMPARE(gui.find<QLineEdit>(u"txtTopicIDMsgBox"_s)->text(), u"0"_s);
    for (const QString &name : helpControls)
        QVERIFY2(!gui.find(name)->isEnabled(), qPrintable(name));

    const QList<std::pair<QString, QString>> captions{{u"lblTitle"_s, u"&Title:"_s},
                                                      {u"lblMessage"_s, u"&Message:"_s},
                                                      {u"lblDefaultButton"_s, u"Default Button: OK"_s},
                                                      {u"Label1"_s, u"No Icon"_s},
                                                      {u"Label2"_s, u"Error"_s},
                                                      {u"Label3"_s, u"Question"_s},
                                                      {u"Label4"_s, u"Warning"_s},
                                                      {u"Label5"_s, u"Information"_s}};
    for (const auto &[name, caption] : captions)
        QCOMPARE(gui.find<QLabel>(name)->text(), caption);
    QCOMPARE(gui.find<QLabel>(u"lblTitle"_s)->buddy(), gui.find(u"cboTitleMsgBox"_s));
    QCOMPARE(gui.find<QLabel>(u"lblMessage"_s)->buddy(), gui.find(u"txtMessageMsgBox"_s));
    QCOMPARE(gui.find<QCheckBox>(u"chkModal"_s)->text(), u"Make The Message Box System-Mo&dal"_s);
    // The icon options show the desktop's pictures; "No Icon" shows none.
    QVERIFY(gui.find<QPushButton>(u"optNone"_s)->icon().isNull());
    for (const QString &name : {u"optError"_s, u"optQuestion"_s, u"optWarning"_s, u"optInformation"_s})
        QVERIFY(!gui.find<QPushButton>(name)->icon().isNull());
}

void TestMsgBoxPanel::options_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("caption"); // empty for the icons
    QTest::addColumn<MsgBoxStyleValues>("values");
    QTest::newRow("OK") << u"optOK"_s << u"OK"_s << MsgBoxStyleValues{0, 0};
    QTest::newRow("OKCancel OK") << u"optOKCancel_OK"_s << u"OK"_s << MsgBoxStyleValues{1, 0};
    QTest::newRow("OKCancel Cancel") << u"optOKCancel_Cancel"_s << u"Cancel"_s << MsgBoxStyleValues{1, 256};
    QTest::newRow("ARI Abort") << u"optAbortRetryIgnore_Abort"_s << u"Abort"_s << MsgBoxStyleValues{2, 0};
    QTest::newRow("ARI Retry") << u"optAbortRetryIgnore_Retry"_s << u"Retry"_s << MsgBoxStyleValues{2, 256};
    QTest::newRow("ARI Ignore") << u"optAbortRetryIgnore_Ignore"_s << u"Ignore"_s << MsgBoxStyleValues{2, 512};
    QTest::newRow("YNC Yes") << u"optYesNoCancel_Yes"_s << u"Yes"_s << MsgBoxStyleValues{3, 0};
    QTest::newRow("YNC No") << u"optYesNoCancel_No"_s << u"No"_s << MsgBoxStyleValues{3, 256};
    QTest::newRow("YNC Cancel") << u"optYesNoCancel_Cancel"_s << u"Cancel"_s << MsgBoxStyleValues{3, 512};
    QTest::newRow("YN Yes") << u"optYesNo_Yes"_s << u"Yes"_s << MsgBoxStyleValues{4, 0};
    QTest::newRow("YN No") << u"optYesNo_No"_s << u"No"_s << MsgBoxStyleValues{4, 256};
    QTest::newRow("RC Retry") << u"optRetryCancel_Retry"_s << u"Retry"_s << MsgBoxStyleValues{5, 0};
    QTest::newRow("RC Cancel") << u"optRetryCancel_Cancel"_s << u"Cancel"_s << MsgBoxStyleValues{5, 256};
    QTest::newRow("error") << u"optError"_s << QString() << MsgBoxStyleValues{0, 0, 16};
    QTest::newRow("question") << u"optQuestion"_s << QString() << MsgBoxStyleValues{0, 0, 32};
    QTest::newRow("warning") << u"optWarning"_s << QString() << MsgBoxStyleValues{0, 0, 48};
    QTest::newRow("information") << u"optInformation"_s << QString() << MsgBoxStyleValues{0, 0, 64};
}

void TestMsgBoxPanel::options()
{
    QFETCH(QString, option);
    QFETCH(QString, caption);
    QFETCH(MsgBoxStyleValues, values);
    GuiHarness gui;
    // Through another choice first, so that every value really changes.
    const bool icon = caption.isEmpty();
    apply(gui, {icon ? u"optInformation"_s : u"optYesNoCancel_Cancel"_s, icon ? u"optNone"_s : u"optOK"_s, option});
    QCOMPARE(panel(gui)->fields().style, values);
    // The label names the default button; the icons leave it alone.
    QCOMPARE(gui.find<QLabel>(u"lblDefaultButton"_s)->text(), u"Default Button: "_s + (icon ? u"OK"_s : caption));
    QCOMPARE(gui.find<QPushButton>(option)->text(), caption);
    // Pressing the chosen option again keeps it chosen.
    apply(gui, {option});
    QVERIFY(gui.find<QPushButton>(option)->isChecked());
}

namespace {

// Records the order in which watched widgets change their enabled state.
class EnableOrder : public QObject
{
public:
    QStringList changes;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::EnabledChange)
            changes << watched->objectName();
        return false;
    }
};

} // namespace

void TestMsgBoxPanel::helpSwitchEnablesInOrderAndKeepsValues()
{
    GuiHarness gui;
    EnableOrder order;
    for (const QString &name : helpControls)
        gui.find(name)->installEventFilter(&order);

    apply(gui, {u"help:c:\\app\\help.hlp"_s, u"topic:77"_s, u"appPath"_s});
    QCOMPARE(order.changes, helpControls);
    order.changes.clear();
    tick(gui, u"chkHelpMsgBox"_s, false);
    QCOMPARE(order.changes, helpControls);
    for (const QString &name : helpControls)
        QVERIFY2(!gui.find(name)->isEnabled(), qPrintable(name));
    // While help is off, the ticked App.Path box changes nothing.
    QCOMPARE(gui.copy(), startUpCode);

    tick(gui, u"chkHelpMsgBox"_s, true);
    const HelpFields kept = panel(gui)->fields().help;
    QCOMPARE(kept.helpFile, u"c:\\app\\help.hlp"_s);
    QCOMPARE(kept.topicId, u"77"_s);
    QVERIFY(kept.appPath);
}

void TestMsgBoxPanel::browse_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("expected");
    QTest::newRow("confirmed") << int(DialogOutcome::Status::Confirmed) << u"/home/ann/My Help/app.hlp"_s;
    QTest::newRow("cancelled") << int(DialogOutcome::Status::Cancelled) << u"old.hlp"_s;
    QTest::newRow("failed") << int(DialogOutcome::Status::Failed) << u"old.hlp"_s;
}

void TestMsgBoxPanel::browse()
{
    QFETCH(int, status);
    QFETCH(QString, expected);
    GuiHarness gui;
    apply(gui, {u"help:old.hlp"_s});
    gui.platform.dialogAnswers.enqueue({DialogOutcome::Status(status), u"/home/ann/My Help/app.hlp"_s, u"gone"_s});
    gui.click(u"cmdBrowseMsgBox"_s);

    QCOMPARE(gui.platform.dialogCalls.size(), 1);
    QCOMPARE(gui.platform.dialogCalls.first().kind, DialogKind::Open);
    QCOMPARE(gui.platform.dialogCalls.first().dialogTitle, u"Select a Help File..."_s);
    QCOMPARE(gui.platform.dialogCalls.first().filter, u"Windows Help Files (*.hlp)|*.hlp"_s);
    QCOMPARE(gui.find<QLineEdit>(u"txtFileNameMsgBox"_s)->text(), expected);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
}

void TestMsgBoxPanel::titleList()
{
    GuiHarness gui;
    auto *combo = gui.find<QComboBox>(u"cboTitleMsgBox"_s);
    auto listed = [combo] {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    };
    const QStringList entries{u"Error"_s, u"Confirm"_s, u"Warning"_s, u"Information"_s};
    QCOMPARE(listed(), entries);

    combo->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(panel(gui)->fields().title, u"Information"_s);

    // Typing neither completes from the list nor adds to it.
    gui.type(u"cboTitleMsgBox"_s, u"Err"_s);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(panel(gui)->fields().title, u"Err"_s);
    QCOMPARE(listed(), entries);
}

void TestMsgBoxPanel::copy_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");

    QTest::newRow("function form, App.Path help")
        << QStringList{u"message:Save changes to \"Report\"?\nUnsaved work is lost."_s,
                       u"title:Confirm"_s,
                       u"optQuestion"_s,
                       u"optYesNoCancel_No"_s,
                       u"help:\\myapp.hlp"_s,
                       u"appPath"_s,
                       u"topic:120"_s}
        << u"'*** Start Notewright Code ***\r\n"
           "Dim Response As Long\r\n"
           "Response = Msgbox (\"Save changes to \" & Chr(34) & \"Report\" & Chr(34) & \"?\" & vbCrLf & "
           "\"Unsaved work is lost.\", 16675, \"Confirm\", App.Path & \"\\myapp.hlp\", 120)\r\n"
           "Select Case Response\r\n"
           "  Case 6  'User has clicked Yes\r\n"
           "    '*** Your Code Here ***\r\n"
           "  Case 7  'User has clicked No\r\n"
           "    '*** Your Code Here ***\r\n"
           "  Case 2  'User has clicked Cancel\r\n"
           "    '*** Your Code Here ***\r\n"
           "End Select\r\n"
           "'*** End Notewright Code ***"_s;
    const QStringList done{u"message:Done."_s, u"title:Information"_s, u"optInformation"_s, u"modal"_s};
    QTest::newRow("statement form")
        << done
        << u"'*** Start MsgBox Code ***\r\nMsgbox \"Done.\", 4160, \"Information\"\r\n'*** End Notewright Code ***"_s;
    QTest::newRow("statement form, help without App.Path")
        << done + QStringList{u"help:myapp.hlp"_s, u"topic:7"_s}
        << u"'*** Start MsgBox Code ***\r\nMsgbox \"Done.\", 20544, \"Information\", \"myapp.hlp\", 7\r\n"
           "'*** End Notewright Code ***"_s;
    // Every typed character survives the text field, a no-break space too.
    QTest::newRow("empty lines and a no-break space")
        << QStringList{u"message:\nA\u00a0B\n"_s, u"title:Say \"hi\""_s, u"optError"_s}
        << u"'*** Start MsgBox Code ***\r\n"
           "Msgbox \"\" & vbCrLf & \"A\u00a0B\" & vbCrLf & \"\", 16, \"Say \"\"hi\"\"\"\r\n"
           "'*** End Notewright Code ***"_s;
}

void TestMsgBoxPanel::copy()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    GuiHarness gui;
    apply(gui, steps);
    QCOMPARE(gui.copy(), expected);
}

void TestMsgBoxPanel::liveTest_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<std::optional<HelpTopic>>("help");

    QTest::newRow("start-up") << QStringList{} << QString() << 0 << std::optional<HelpTopic>();
    QTest::newRow("Yes/No, No, warning, modal")
        << QStringList{u"message:a\nb"_s, u"optYesNo_No"_s, u"optWarning"_s, u"modal"_s} << u"a\r\nb"_s << 4404
        << std::optional<HelpTopic>();
    QTest::newRow("help with an empty file")
        << QStringList{u"help:"_s} << QString() << 16384 << std::optional(HelpTopic{QString(), 0});
    QTest::newRow("App.Path is not put in front")
        << QStringList{u"help:\\myapp.hlp"_s, u"appPath"_s, u"topic: 1 2x"_s, u"optOKCancel_Cancel"_s} << QString()
        << 16384 + 256 + 1 << std::optional(HelpTopic{u"\\myapp.hlp"_s, 12});
    QTest::newRow("help switched off again") << QStringList{u"help:h.hlp"_s, u"appPath"_s, u"topic:5"_s, u"help-off"_s}
                                             << QString() << 0 << std::optional<HelpTopic>();
}

void TestMsgBoxPanel::liveTest()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, prompt);
    QFETCH(int, buttons);
    QFETCH(std::optional<HelpTopic>, help);
    GuiHarness gui;
    apply(gui, steps + QStringList{u"title:Say \"hi\""_s});
    const QString before = gui.copy();
    gui.platform.msgBoxAnswers.enqueue(vbNo);

    gui.click(u"cmdTest"_s);
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    const FakePlatform::MsgBoxCall call = gui.platform.msgBoxCalls.first();
    QCOMPARE(call.prompt, prompt);
    QCOMPARE(call.buttons, buttons);
    QCOMPARE(call.title, u"Say \"hi\""_s);
    QVERIFY(call.help == help);
    QCOMPARE(gui.copy(), before);
}

void TestMsgBoxPanel::resetRestoresStartUp()
{
    GuiHarness gui;
    apply(gui, {u"title:Confirm"_s, u"message:Sure?\nReally"_s, u"modal"_s, u"optWarning"_s, u"help:x.hlp"_s,
                u"appPath"_s, u"topic:9"_s, u"optAbortRetryIgnore_Ignore"_s});
    QCOMPARE(panel(gui)->currentIndex(), 2);

    gui.platform.log.clear();
    gui.click(u"cmdNew"_s);
    QCOMPARE(gui.platform.log, QStringList{}); // no question, no message
    QCOMPARE(panel(gui)->currentIndex(), 0);
    const MsgBoxFields fields = panel(gui)->fields();
    QCOMPARE(fields.style, MsgBoxStyleValues{});
    QCOMPARE(fields.help.helpFile, QString());
    QCOMPARE(fields.help.topicId, u"0"_s);
    QVERIFY(!fields.help.appPath);
    QVERIFY(gui.find<QPushButton>(u"optNone"_s)->isChecked());
    QVERIFY(gui.find<QPushButton>(u"optOK"_s)->isChecked());
    QCOMPARE(gui.find<QLabel>(u"lblDefaultButton"_s)->text(), u"Default Button: OK"_s);
    for (const QString &name : helpControls)
        QVERIFY2(!gui.find(name)->isEnabled(), qPrintable(name));
    QCOMPARE(gui.find<QComboBox>(u"cboTitleMsgBox"_s)->count(), 4);
    QCOMPARE(gui.copy(), startUpCode);
}

void TestMsgBoxPanel::commandLineAgreesWithCopy_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("start-up") << QStringList{} << QStringList{};
    QTest::newRow("question, Yes/No/Cancel, No")
        << QStringList{u"--default"_s, u"2"_s, u"--icon"_s, u"question"_s, u"--buttons"_s, u"yesnocancel"_s}
        << QStringList{u"optQuestion"_s, u"optYesNoCancel_No"_s};
    QTest::newRow("error, Abort/Retry/Ignore, Ignore, modal")
        << QStringList{u"--icon"_s,    u"error"_s, u"--buttons"_s,     u"abortretryignore"_s,
                       u"--default"_s, u"3"_s,     u"--system-modal"_s}
        << QStringList{u"optError"_s, u"optAbortRetryIgnore_Ignore"_s, u"modal"_s};
    QTest::newRow("information, OK/Cancel, help with App.Path")
        << QStringList{u"--icon"_s,      u"information"_s,   u"--buttons"_s,  u"okcancel"_s, u"--help-button"_s,
                       u"--help-file"_s, u"\\a \"b\".hlp"_s, u"--app-path"_s, u"--topic"_s,  u"&H1F"_s}
        << QStringList{u"optInformation"_s, u"optOKCancel_OK"_s, u"help:\\a \"b\".hlp"_s, u"appPath"_s,
                       u"topic:&H1F"_s};
}

void TestMsgBoxPanel::commandLineAgreesWithCopy()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, steps);
    GuiHarness gui;
    apply(gui, steps + QStringList{u"message:Line \"one\"\n\nline three"_s, u"title:Say \"hi\""_s});
    arguments << u"--message"_s << u"Line \"one\"\n\nline three"_s << u"--title"_s << u"Say \"hi\""_s;

    const GenerateRun run = runGenerate(u"msgbox"_s, arguments);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, gui.copy());
}

namespace {

// The pixels of a widget's picture close to a colour.
int pixelsNear(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (qAbs(pixel.red() - colour.red()) + qAbs(pixel.green() - colour.green())
                    + qAbs(pixel.blue() - colour.blue())
                < 60)
                ++count;
        }
    }
    return count;
}

} // namespace

void TestMsgBoxPanel::checkedOptionIsUnmistakable_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("other");
    for (const bool dark : {false, true}) {
        const char *look = dark ? "dark" : "light";
        QTest::addRow("%s, Style", look) << dark << 1 << u"optWarning"_s << u"optError"_s;
        QTest::addRow("%s, Buttons", look) << dark << 2 << u"optYesNo_No"_s << u"optYesNo_Yes"_s;
    }
}

void TestMsgBoxPanel::checkedOptionIsUnmistakable()
{
    QFETCH(bool, dark);
    QFETCH(int, page);
    QFETCH(QString, chosen);
    QFETCH(QString, other);
    const QPalette before = QApplication::palette();
    const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
    QPalette palette = QApplication::style()->standardPalette();
    if (dark) {
        palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
        palette.setColor(QPalette::WindowText, Qt::white);
        palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
        palette.setColor(QPalette::ButtonText, Qt::white);
        palette.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    }
    QApplication::setPalette(palette);

    GuiHarness gui;
    gui.find<QTabWidget>(u"tabNotewright"_s)->setCurrentIndex(page);
    gui.click(chosen);
    auto *checked = gui.find<QPushButton>(chosen);
    auto *focused = gui.find<QPushButton>(other);
    QVERIFY(checked->isChecked());
    QVERIFY(!focused->isChecked());
    // The unchosen option holds the focus: the chosen one must still stand out more.
    focused->setFocus();
    QVERIFY(focused->hasFocus());
    const QColor highlight = checked->palette().color(QPalette::Highlight);
    const int chosenPixels = pixelsNear(checked, highlight);
    const int focusPixels = pixelsNear(focused, highlight);
    const int frame = checked->width() + checked->height();
    QVERIFY2(chosenPixels >= 2 * frame && chosenPixels > 2 * focusPixels,
             qPrintable(u"%1 highlight pixels when chosen, %2 when focused"_s.arg(chosenPixels).arg(focusPixels)));
}

QTEST_MAIN(TestMsgBoxPanel)
#include "tst_msgboxpanel.moc"
