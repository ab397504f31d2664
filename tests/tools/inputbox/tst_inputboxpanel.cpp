// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "codegen/BasicLimits.h"
#include "support/GenerateRun.h"
#include "support/GuiTest.h"

#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

const QStringList helpGroup{u"lblHelpFileInputBox"_s, u"txtHelpFileInputBox"_s, u"cmdBrowseInputBox"_s,
                            u"lblTopicIDInputBox"_s,  u"txtTopicIDInputBox"_s,  u"chkAppPathInputBox"_s};

enum Page { General, HelpButton, Variable };

// The main window with the input-box tool picked, driven as a user would.
struct InputBoxGui : GuiHarness
{
    InputBoxGui() { selectTool(u"imgAskwright"_s); }

    QTabWidget *tabs() const { return find<QTabWidget>(u"tabInputBox"_s); }
    void showPage(Page page) const { tabs()->setCurrentIndex(page); }
    QString text(const QString &name) const
    {
        if (auto *edit = window->findChild<QPlainTextEdit *>(name))
            return edit->toPlainText();
        return find<QLineEdit>(name)->text();
    }
    bool checked(const QString &name) const { return find<QCheckBox>(name)->isChecked(); }
    // Clicks the box itself: a check box's centre may lie past its caption.
    void clickCheckBox(const QString &name) const
    {
        auto *box = find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
    }
    void setChecked(const QString &name, bool on) const
    {
        if (checked(name) != on)
            clickCheckBox(name);
    }
    // Fills every field, page by page; the help group is typed into while
    // enabled and then left as `help` says.
    void fillEverything(bool help) const
    {
        showPage(General);
        type(u"txtTitleInputBox"_s, u"Title"_s);
        type(u"txtMessageInputBox"_s, u"Two\nlines"_s);
        type(u"txtDefaultInputBox"_s, u"Default"_s);
        showPage(HelpButton);
        setChecked(u"chkHelpInputBox"_s, true);
        type(u"txtHelpFileInputBox"_s, u"my.hlp"_s);
        type(u"txtTopicIDInputBox"_s, u"12"_s);
        setChecked(u"chkAppPathInputBox"_s, true);
        setChecked(u"chkHelpInputBox"_s, help);
        showPage(Variable);
        type(u"txtVariableName"_s, u"sName"_s);
        setChecked(u"chkDeclareVariable"_s, true);
    }
    QStringList enabledOfHelpGroup() const
    {
        QStringList enabled;
        for (const QString &name : helpGroup) {
            if (find(name)->isEnabled())
                enabled << name;
        }
        return enabled;
    }
};

QString commandLineText(const QStringList &options)
{
    const GenerateRun run = runGenerate(u"inputbox"_s, options);
    if (run.status != 0)
        qWarning("generate inputbox failed: %s", qPrintable(run.err));
    return run.out;
}

} // namespace

class TestInputBoxPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpState();
    void accessKeysReachTheirFields_data();
    void accessKeysReachTheirFields();
    void helpGroupFollowsTheCheckBoxAndKeepsValues();
    void browseWritesOnlyAConfirmedFile_data();
    void browseWritesOnlyAConfirmedFile();
    void copyAgreesWithCommandLine_data();
    void copyAgreesWithCommandLine();
    void testPassesThePanel_data();
    void testPassesThePanel();
    void newEmptiesEverything_data();
    void newEmptiesEverything();
    void switchingToolsKeepsFieldsAndReturnsToGeneral();
    void variableNameIsCheckedWhereTyped_data();
    void variableNameIsCheckedWhereTyped();
};

void TestInputBoxPanel::startUpState()
{
    InputBoxGui gui;
    QTabWidget *tabs = gui.tabs();
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), u"General"_s);
    QCOMPARE(tabs->tabText(1), u"Help Button"_s);
    QCOMPARE(tabs->tabText(2), u"Variable"_s);
    QCOMPARE(tabs->currentIndex(), 0);

    for (const QString &name : {u"txtTitleInputBox"_s, u"txtMessageInputBox"_s, u"txtDefaultInputBox"_s,
                                u"txtHelpFileInputBox"_s})
        QCOMPARE(gui.text(name), QString());
    QCOMPARE(gui.text(u"txtTopicIDInputBox"_s), u"0"_s);
    QCOMPARE(gui.text(u"txtVariableName"_s), u"Response"_s);
    for (const QString &name : {u"chkHelpInputBox"_s, u"chkAppPathInputBox"_s, u"chkDeclareVariable"_s})
        QVERIFY2(!gui.checked(name), qPrintable(name));
    QCOMPARE(gui.enabledOfHelpGroup(), QStringList());
    QVERIFY(gui.find(u"chkHelpInputBox"_s)->isEnabled());
    // A scroll bar only when the prompt needs one, as the message box's field.
    QCOMPARE(gui.find<QPlainTextEdit>(u"txtMessageInputBox"_s)->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);

    const QList<std::pair<QString, QString>> captions{
        {u"lblTitle_1"_s, u"&Title:"_s},
        {u"lblMessage_1"_s, u"&Message:"_s},
        {u"lblDefault"_s, u"&Default:"_s},
        {u"chkHelpInputBox"_s, u"&Include Help Button"_s},
        {u"lblHelpFileInputBox"_s, u"Help &File:"_s},
        {u"cmdBrowseInputBox"_s, u"..."_s},
        {u"chkAppPathInputBox"_s, u"&Use App.Path + Your Help File"_s},
        {u"lblTopicIDInputBox"_s, u"To&pic ID:"_s},
        {u"lblVariableName"_s, u"N&ame:"_s},
        {u"chkDeclareVariable"_s, u"Dec&lare The Variable"_s},
    };
    for (const auto &[name, caption] : captions) {
        QCOMPARE(gui.find(name)->property("text").toString(), caption);
    }
}

void TestInputBoxPanel::accessKeysReachTheirFields_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("field");
    QTest::newRow("title") << int(General) << int(Qt::Key_T) << u"txtTitleInputBox"_s;
    QTest::newRow("message") << int(General) << int(Qt::Key_M) << u"txtMessageInputBox"_s;
    QTest::newRow("default") << int(General) << int(Qt::Key_D) << u"txtDefaultInputBox"_s;
    QTest::newRow("help file") << int(HelpButton) << int(Qt::Key_F) << u"txtHelpFileInputBox"_s;
    QTest::newRow("topic") << int(HelpButton) << int(Qt::Key_P) << u"txtTopicIDInputBox"_s;
    QTest::newRow("app path") << int(HelpButton) << int(Qt::Key_U) << u"chkAppPathInputBox"_s;
    QTest::newRow("declare") << int(Variable) << int(Qt::Key_L) << u"chkDeclareVariable"_s;
    QTest::newRow("name") << int(Variable) << int(Qt::Key_A) << u"txtVariableName"_s;
}

void TestInputBoxPanel::accessKeysReachTheirFields()
{
    QFETCH(int, page);
    QFETCH(int, key);
    QFETCH(QString, field);
    InputBoxGui gui;
    gui.showPage(Page(page));
    gui.setChecked(u"chkHelpInputBox"_s, true);
    gui.find(u"cmdCopy"_s)->setFocus();
    QTest::keyClick(gui.window.get(), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), gui.find(field));
}

void TestInputBoxPanel::helpGroupFollowsTheCheckBoxAndKeepsValues()
{
    InputBoxGui gui;
    gui.showPage(HelpButton);
    // The check box's own access key toggles it.
    QTest::keyClick(gui.window.get(), Qt::Key_I, Qt::AltModifier);
    QTRY_VERIFY(gui.checked(u"chkHelpInputBox"_s));
    QCOMPARE(gui.enabledOfHelpGroup(), helpGroup);

    gui.type(u"txtHelpFileInputBox"_s, u"kept.hlp"_s);
    gui.type(u"txtTopicIDInputBox"_s, u"33"_s);
    gui.clickCheckBox(u"chkAppPathInputBox"_s);
    gui.clickCheckBox(u"chkHelpInputBox"_s);
    QCOMPARE(gui.enabledOfHelpGroup(), QStringList());
    QCOMPARE(gui.text(u"txtHelpFileInputBox"_s), u"kept.hlp"_s);
    QCOMPARE(gui.text(u"txtTopicIDInputBox"_s), u"33"_s);
    QVERIFY(gui.checked(u"chkAppPathInputBox"_s));

    gui.clickCheckBox(u"chkHelpInputBox"_s);
    QCOMPARE(gui.enabledOfHelpGroup(), helpGroup);
    QVERIFY(gui.copy().contains(u", , , App.Path & \"kept.hlp\", 33)"_s));
}

void TestInputBoxPanel::browseWritesOnlyAConfirmedFile_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("appPath");
    QTest::addColumn<QString>("expected");
    QTest::newRow("confirmed") << int(DialogOutcome::Status::Confirmed) << false << u"/help/picked.hlp"_s;
    QTest::newRow("confirmed with App.Path") << int(DialogOutcome::Status::Confirmed) << true
                                             << u"/help/picked.hlp"_s;
    QTest::newRow("cancelled") << int(DialogOutcome::Status::Cancelled) << false << u"typed.hlp"_s;
    QTest::newRow("failed") << int(DialogOutcome::Status::Failed) << true << u"typed.hlp"_s;
}

void TestInputBoxPanel::browseWritesOnlyAConfirmedFile()
{
    QFETCH(int, status);
    QFETCH(bool, appPath);
    QFETCH(QString, expected);
    InputBoxGui gui;
    gui.showPage(HelpButton);
    gui.setChecked(u"chkHelpInputBox"_s, true);
    gui.setChecked(u"chkAppPathInputBox"_s, appPath);
    gui.type(u"txtHelpFileInputBox"_s, u"typed.hlp"_s);
    gui.platform.dialogAnswers.enqueue({DialogOutcome::Status(status), u"/help/picked.hlp"_s, u"failed"_s});

    gui.click(u"cmdBrowseInputBox"_s);

    QCOMPARE(gui.platform.dialogCalls.size(), 1);
    const FakePlatform::DialogCall &call = gui.platform.dialogCalls.first();
    QCOMPARE(call.kind, DialogKind::Open);
    QCOMPARE(call.dialogTitle, u"Select a Help File..."_s);
    QCOMPARE(call.filter, u"Windows Help Files (*.hlp)|*.hlp"_s);
    QVERIFY(call.cancelError);
    QCOMPARE(gui.text(u"txtHelpFileInputBox"_s), expected);
    QCOMPARE(gui.checked(u"chkAppPathInputBox"_s), appPath);
    QVERIFY(gui.platform.msgBoxCalls.isEmpty());
}

void TestInputBoxPanel::copyAgreesWithCommandLine_data()
{
    // Each row: what is typed on the panel as "field=value" (check boxes
    // "name=1"), the same as command-line options, and the expected text.
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");

    QTest::newRow("as started") << QStringList{} << QStringList{}
                                << u"'*** Begin Askwright Code ***\r\n"
                                   "Response = InputBox (\"\", \"\", \"\")\r\n"
                                   "'*** End Askwright Code ***"_s;
    QTest::newRow("two-line message, declared")
        << QStringList{u"txtMessageInputBox=Your \"name\"\nplease"_s, u"txtTitleInputBox=Who"_s,
                       u"txtDefaultInputBox=Ann"_s, u"txtVariableName=sName"_s, u"chkDeclareVariable=1"_s}
        << QStringList{u"--message"_s, u"Your \"name\"\nplease"_s, u"--title"_s, u"Who"_s, u"--default-answer"_s,
                       u"Ann"_s, u"--variable"_s, u"sName"_s, u"--declare"_s}
        << u"'*** Begin Askwright Code ***\r\n"
           "Dim sName as String\r\n"
           "sName = InputBox (\"Your \" & Chr(34) & \"name\" & Chr(34) & \"\" & vbCrLf & \"please\", \"Who\", "
           "\"Ann\")\r\n"
           "'*** End Askwright Code ***"_s;
    QTest::newRow("help without App.Path")
        << QStringList{u"chkHelpInputBox=1"_s, u"txtHelpFileInputBox=my \"own\".hlp"_s,
                       u"txtTopicIDInputBox= 42abc"_s}
        << QStringList{u"--help-button"_s, u"--help-file"_s, u"my \"own\".hlp"_s, u"--topic"_s, u" 42abc"_s}
        << u"'*** Begin Askwright Code ***\r\n"
           "Response = InputBox (\"\", \"\", \"\", , , \"my \"\"own\"\".hlp\", 42)\r\n"
           "'*** End Askwright Code ***"_s;
    QTest::newRow("help with App.Path, empty topic")
        << QStringList{u"chkHelpInputBox=1"_s, u"chkAppPathInputBox=1"_s, u"txtHelpFileInputBox=\\a.hlp"_s,
                       u"txtTopicIDInputBox="_s, u"txtVariableName=x_1"_s}
        << QStringList{u"--help-button"_s, u"--app-path"_s, u"--help-file"_s, u"\\a.hlp"_s, u"--topic="_s,
                       u"--variable=x_1"_s}
        << u"'*** Begin Askwright Code ***\r\n"
           "x_1 = InputBox (\"\", \"\", \"\", , , App.Path & \"\\a.hlp\", 0)\r\n"
           "'*** End Askwright Code ***"_s;
}

void TestInputBoxPanel::copyAgreesWithCommandLine()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    InputBoxGui gui;
    for (const QString &entry : typed) {
        const QString name = entry.section(u'=', 0, 0);
        const QString value = entry.section(u'=', 1);
        gui.showPage(name.contains(u"Help"_s) || name.contains(u"Topic"_s) || name.contains(u"AppPath"_s)
                         ? HelpButton
                     : name.contains(u"Variable"_s) ? Variable
                                                     : General);
        if (name.startsWith(u"chk"_s))
            gui.setChecked(name, value == u"1"_s);
        else
            gui.type(name, value);
    }
    QCOMPARE(gui.copy(), expected);
    QCOMPARE(commandLineText(options), expected);
}

void TestInputBoxPanel::testPassesThePanel_data()
{
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("appPath");
    QTest::addColumn<QString>("topic");
    QTest::addColumn<bool>("expectHelp");
    QTest::addColumn<double>("expectTopic");
    QTest::newRow("help off ignores file and topic") << false << true << u"5"_s << false << 0.0;
    QTest::newRow("empty topic is 0") << true << false << u""_s << true << 0.0;
    QTest::newRow("topic read as a number") << true << false << u"7 pages"_s << true << 7.0;
    QTest::newRow("App.Path plays no part") << true << true << u"12"_s << true << 12.0;
}

void TestInputBoxPanel::testPassesThePanel()
{
    QFETCH(bool, help);
    QFETCH(bool, appPath);
    QFETCH(QString, topic);
    QFETCH(bool, expectHelp);
    QFETCH(double, expectTopic);
    InputBoxGui gui;
    gui.type(u"txtTitleInputBox"_s, u"Say \"hi\""_s);
    gui.type(u"txtMessageInputBox"_s, u"First line\nSecond line"_s);
    gui.type(u"txtDefaultInputBox"_s, u"answer"_s);
    gui.showPage(HelpButton);
    gui.setChecked(u"chkHelpInputBox"_s, true);
    gui.type(u"txtHelpFileInputBox"_s, u"\\my.hlp"_s);
    gui.type(u"txtTopicIDInputBox"_s, topic);
    gui.setChecked(u"chkAppPathInputBox"_s, appPath);
    gui.setChecked(u"chkHelpInputBox"_s, help);
    const QString before = gui.copy();
    gui.platform.log.clear();
    gui.platform.inputBoxAnswers.enqueue(u"typed into the box"_s);

    gui.click(u"cmdTest"_s);

    // Only the box is shown, and its answer goes nowhere.
    QCOMPARE(gui.platform.log, QStringList{u"inputBox"_s});
    QCOMPARE(gui.copy(), before);
    QCOMPARE(gui.platform.inputBoxCalls.size(), 1);
    const FakePlatform::InputBoxCall &call = gui.platform.inputBoxCalls.first();
    QCOMPARE(call.prompt, u"First line\r\nSecond line"_s);
    QCOMPARE(call.title, u"Say \"hi\""_s);
    QCOMPARE(call.defaultText, u"answer"_s);
    QCOMPARE(call.help.has_value(), expectHelp);
    if (expectHelp)
        QCOMPARE(*call.help, (HelpTopic{u"\\my.hlp"_s, expectTopic}));
}

void TestInputBoxPanel::newEmptiesEverything_data()
{
    QTest::addColumn<bool>("help");
    QTest::newRow("help was on") << true;
    QTest::newRow("help was off") << false;
}

void TestInputBoxPanel::newEmptiesEverything()
{
    QFETCH(bool, help);
    InputBoxGui gui;
    gui.fillEverything(help);
    QCOMPARE(gui.tabs()->currentIndex(), int(Variable));

    gui.click(u"cmdNew"_s);

    QCOMPARE(gui.tabs()->currentIndex(), int(General));
    for (const QString &name : {u"txtTitleInputBox"_s, u"txtMessageInputBox"_s, u"txtDefaultInputBox"_s,
                                u"txtHelpFileInputBox"_s, u"txtTopicIDInputBox"_s, u"txtVariableName"_s})
        QVERIFY2(gui.text(name).isEmpty(), qPrintable(name));
    for (const QString &name : {u"chkHelpInputBox"_s, u"chkAppPathInputBox"_s, u"chkDeclareVariable"_s})
        QVERIFY2(!gui.checked(name), qPrintable(name));
    QCOMPARE(gui.enabledOfHelpGroup(), QStringList());
    // The emptied name is no variable: Copy says so and copies nothing.
    gui.platform.clipboard.clear();
    QCOMPARE(gui.copy(), QString());
    QCOMPARE(gui.platform.msgBoxCalls.size(), 1);
    QCOMPARE(gui.platform.msgBoxCalls.constFirst().prompt, codegen::identifierProblem(u""));

    // The emptied help group comes back enabled and empty.
    gui.showPage(Variable);
    gui.type(u"txtVariableName"_s, u"Answer"_s);
    gui.showPage(HelpButton);
    gui.setChecked(u"chkHelpInputBox"_s, true);
    QCOMPARE(gui.enabledOfHelpGroup(), helpGroup);
    QVERIFY(gui.copy().contains(u", , , \"\", 0)"_s));
}

void TestInputBoxPanel::switchingToolsKeepsFieldsAndReturnsToGeneral()
{
    InputBoxGui gui;
    gui.fillEverything(true);
    const QString before = gui.copy();
    gui.selectTool(u"imgNotewright"_s);
    gui.selectTool(u"imgPickwright"_s);
    gui.selectTool(u"imgAskwright"_s);
    QCOMPARE(gui.tabs()->currentIndex(), int(General));
    QCOMPARE(gui.text(u"txtMessageInputBox"_s), u"Two\nlines"_s);
    QCOMPARE(gui.enabledOfHelpGroup(), helpGroup);
    QCOMPARE(gui.copy(), before);
}

QTEST_MAIN(TestInputBoxPanel)
#include "tst_inputboxpanel.moc"

void TestInputBoxPanel::variableNameIsCheckedWhereTyped_data()
{
    QTest::addColumn<QString>("name");
    // What the reason says; empty for a sound name.
    QTest::addColumn<QString>("reason");
    QTest::newRow("sound") << u"User_Name2"_s << QString();
    QTest::newRow("a space") << u"User Name"_s << u"a space"_s;
    QTest::newRow("empty") << QString() << u"needs a name"_s;
    QTest::newRow("a digit first") << u"2nd"_s << u"starts with a letter"_s;
    QTest::newRow("a keyword, any case") << u"sTrInG"_s << u"BASIC itself"_s;
    QTest::newRow("too long") << QString(256, u'a') << u"255"_s;
}

void TestInputBoxPanel::variableNameIsCheckedWhereTyped()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    InputBoxGui gui;
    gui.showPage(Variable);
    gui.type(u"txtVariableName"_s, name);
    auto *label = gui.find<QLabel>(u"lblVariableProblem"_s);
    auto *edit = gui.find<QLineEdit>(u"txtVariableName"_s);
    QCOMPARE(!label->isHidden(), !reason.isEmpty());
    QVERIFY2(label->text().contains(reason), qPrintable(label->text()));
    // A screen reader hears the reason with the field.
    QCOMPARE(edit->accessibleDescription(), label->text());

    gui.platform.clipboard.clear();
    const QString copied = gui.copy();
    gui.click(u"cmdTest"_s);
    if (reason.isEmpty()) {
        QVERIFY(copied.contains(name + u" = InputBox"_s));
        QCOMPARE(gui.platform.inputBoxCalls.size(), 1);
        QVERIFY(gui.platform.msgBoxCalls.isEmpty());
        return;
    }
    // Copy and Test each say why instead; the command line refuses the same.
    QVERIFY(copied.isEmpty());
    QVERIFY(gui.platform.inputBoxCalls.isEmpty());
    QCOMPARE(gui.platform.msgBoxCalls.size(), 2);
    for (const FakePlatform::MsgBoxCall &call : std::as_const(gui.platform.msgBoxCalls))
        QCOMPARE(call.prompt, label->text());
    const GenerateRun run = runGenerate(u"inputbox"_s, {u"--variable"_s, name});
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(u"--variable: "_s + label->text()), qPrintable(run.err));
}
