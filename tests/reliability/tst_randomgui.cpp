// SPDX-License-Identifier: GPL-3.0-or-later
// Thousands of random user actions over the four tools, each followed by
// the window's invariants. The test keeps its own model of what every field
// should hold after what the user did, and holds the widgets, Copy, Test and
// New to it.
//
// QUILLKIT_SEED=N repeats a run (the seed is printed at the start);
// QUILLKIT_ACTIONS=N sets the number of actions (default 10000).

#include "codegen/CodeText.h"
#include "platform/FieldText.h"
#include "support/GuiTest.h"
#include "tools/commondialog/CommonDialogGenerator.h"
#include "tools/header/HeaderGenerator.h"
#include "tools/inputbox/InputBoxGenerator.h"
#include "tools/msgbox/MsgBoxGenerator.h"
#include "tools/msgbox/MsgBoxPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>

#include <functional>
#include <random>

using namespace Qt::StringLiterals;
using Status = DialogOutcome::Status;

namespace {

enum Tool { Notewright, Askwright, Topwright, Pickwright };
const QStringList panelNames{u"tabNotewright"_s, u"tabInputBox"_s, u"tabTopwright"_s, u"tabPickwright"_s};
const QStringList captions{u"Notewright"_s, u"Askwright"_s, u"Topwright"_s, u"Pickwright"_s};
const QStringList images{u"imgNotewright"_s, u"imgAskwright"_s, u"imgTopwright"_s, u"imgPickwright"_s};

// The option buttons of the message-box tool and the style values each one
// stands for; the label caption for the button options.
struct StyleOption
{
    QString name;
    qint32 set;
    qint32 defaultButton;
    QString defaultCaption;
};
const QList<std::pair<QString, qint32>> iconOptions{
    {u"optNone"_s, vbNoIcon},       {u"optError"_s, vbCritical},        {u"optQuestion"_s, vbQuestion},
    {u"optWarning"_s, vbExclamation}, {u"optInformation"_s, vbInformation}};
const QList<StyleOption> buttonOptions{
    {u"optOK"_s, vbOKOnly, vbDefaultButton1, u"OK"_s},
    {u"optOKCancel_OK"_s, vbOKCancel, vbDefaultButton1, u"OK"_s},
    {u"optOKCancel_Cancel"_s, vbOKCancel, vbDefaultButton2, u"Cancel"_s},
    {u"optAbortRetryIgnore_Abort"_s, vbAbortRetryIgnore, vbDefaultButton1, u"Abort"_s},
    {u"optAbortRetryIgnore_Retry"_s, vbAbortRetryIgnore, vbDefaultButton2, u"Retry"_s},
    {u"optAbortRetryIgnore_Ignore"_s, vbAbortRetryIgnore, vbDefaultButton3, u"Ignore"_s},
    {u"optYesNoCancel_Yes"_s, vbYesNoCancel, vbDefaultButton1, u"Yes"_s},
    {u"optYesNoCancel_No"_s, vbYesNoCancel, vbDefaultButton2, u"No"_s},
    {u"optYesNoCancel_Cancel"_s, vbYesNoCancel, vbDefaultButton3, u"Cancel"_s},
    {u"optYesNo_Yes"_s, vbYesNo, vbDefaultButton1, u"Yes"_s},
    {u"optYesNo_No"_s, vbYesNo, vbDefaultButton2, u"No"_s},
    {u"optRetryCancel_Retry"_s, vbRetryCancel, vbDefaultButton1, u"Retry"_s},
    {u"optRetryCancel_Cancel"_s, vbRetryCancel, vbDefaultButton2, u"Cancel"_s},
};
const QStringList titleList{u"Error"_s, u"Confirm"_s, u"Warning"_s, u"Information"_s};

// Pieces that pasted texts are made of: line breaks of every kind, quotation
// marks, NUL, lone surrogates, emoji, right-to-left text, Val's oddities.
const QStringList hostilePieces{
    u"\""_s, u"\r\n"_s, u"\n"_s, u"\r"_s, QString(QChar(u'\0')), QString(QChar(0xD800)), QString(QChar(0xDFFF)),
    u"\U0001F600"_s, u"\u05E9\u05DC\u05D5\u05DD"_s, u"\u202Eevil"_s, u"\u0645\u0631\u062D\u0628\u0627"_s,
    u"\t"_s, u"\u00a0"_s, u"\u2028"_s, u"&"_s, u"[*]"_s, u"<b>x</b>"_s, u"1e999"_s, u"-0"_s,
    u"&HFFFFFFFFFFFFFFFF"_s, u"&O"_s, u" - 5"_s, u"42"_s, u"Save changes?"_s, u"txt"_s, u"|"_s, u"*.é"_s};

const QString typingAlphabet = u"abcXYZ019 \"'&.,;:-_()[]<>|*?!@#$%"_s;

// A text for a failure message, every character beyond printable ASCII as
// \uXXXX.
QString shown(QStringView text)
{
    QString out = u"\""_s;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out += c;
        else
            out += u"\\u%1"_s.arg(c.unicode(), 4, 16, QChar(u'0'));
    }
    return out + u'"';
}

// What a multi-line field holds after a paste: every line break the text
// document knows, as CR LF.
QString pastedLines(const QString &text)
{
    QString out = codegen::toCrLf(text);
    for (const QChar separator : {QChar(0x2028), QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1)})
        out.replace(separator, u"\r\n"_s);
    return out;
}

// What a single-line field holds after a paste: each line break a blank.
QString pastedLine(const QString &text)
{
    return codegen::toCrLf(text).replace(u"\r\n"_s, u" "_s);
}

struct Model
{
    Tool tool = Notewright;
    // The current page of each tool's panel.
    int page[4] = {0, 0, 0, 0};
    MsgBoxFields msg;
    InputBoxFields input;
    HeaderFields header;
    CommonDialogFields dialog;
    int openSelected = -1;
    int saveSelected = -1;
};

enum class Kind { Line, Lines, Check, Option, TitleList, List, Add, Remove, Browse };

// One control on one page, and where its value lives in the model.
struct Control
{
    QString name;
    Kind kind;
    std::function<QString &(Model &)> text = {};
    std::function<bool &(Model &)> flag = {};
    std::function<void(Model &)> choose = {};
    // Part of a help group: enabled only while its tool's help box is on.
    std::function<bool(Model &)> enabled = [](Model &) { return true; };
};

class RandomSession
{
public:
    explicit RandomSession(quint64 seed) : m_random(seed)
    {
        m_model.header.copyright = u"Copyright \u00a9 2026"_s;
        m_model.header.date = m_gui.platform.dateText(m_gui.platform.today);
        buildControls();
    }

    // Runs until the actions are done or an invariant breaks; the failure,
    // with the actions that led to it, is then in failure().
    void run(int actions)
    {
        check();
        for (int i = 0; i < actions && m_failure.isEmpty(); ++i) {
            act();
            if (m_failure.isEmpty() && QTest::currentTestFailed())
                m_failure = u"a check inside the action failed"_s;
            if (m_failure.isEmpty())
                check();
            m_done = i + 1;
        }
    }

    int done() const { return m_done; }
    QString failure() const
    {
        if (m_failure.isEmpty())
            return {};
        return u"after action %1: %2\nlast actions:\n  %3"_s.arg(m_done + 1).arg(m_failure,
                                                                       m_recent.join(u"\n  "_s));
    }

private:
    // ---- random choices ----------------------------------------------------

    int below(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(m_random)); }
    bool chance(int percent) { return below(100) < percent; }
    template<typename T>
    const T &pick(const QList<T> &list)
    {
        return list.at(below(int(list.size())));
    }

    QString randomTyping(int maxLength)
    {
        QString text;
        for (int i = below(maxLength + 1); i > 0; --i)
            text += typingAlphabet.at(below(int(typingAlphabet.size())));
        return text;
    }

    QString hostileText()
    {
        QString text;
        for (int i = 1 + below(5); i > 0; --i)
            text += chance(70) ? pick(hostilePieces) : randomTyping(6);
        return text.isEmpty() ? u"x"_s : text;
    }

    void note(const QString &action)
    {
        m_recent << action;
        if (m_recent.size() > 25)
            m_recent.removeFirst();
    }

    void expect(bool holds, const QString &what)
    {
        if (!holds && m_failure.isEmpty())
            m_failure = what;
    }

    // ---- the controls of each page -----------------------------------------

    void addHelpPage(QList<Control> &page, const QString &suffix, HelpFields &(*of)(Model &))
    {
        const auto helpOn = [of](Model &m) { return of(m).help; };
        page << Control{u"chkHelp"_s + suffix, Kind::Check, {}, [of](Model &m) -> bool & { return of(m).help; }};
        page << Control{suffix == u"MsgBox"_s ? u"txtFileNameMsgBox"_s : u"txtHelpFileInputBox"_s, Kind::Line,
                        [of](Model &m) -> QString & { return of(m).helpFile; }, {}, {}, helpOn};
        page << Control{u"cmdBrowse"_s + suffix, Kind::Browse, [of](Model &m) -> QString & { return of(m).helpFile; },
                        {}, {}, helpOn};
        page << Control{u"chkAppPath"_s + suffix, Kind::Check, {}, [of](Model &m) -> bool & { return of(m).appPath; },
                        {}, helpOn};
        page << Control{u"txtTopicID"_s + suffix, Kind::Line, [of](Model &m) -> QString & { return of(m).topicId; },
                        {}, {}, helpOn};
    }

    void buildControls()
    {
        // Message box: General, Style, Buttons, Help Button.
        QList<Control> general{
            {u"cboTitleMsgBox"_s, Kind::Line, [](Model &m) -> QString & { return m.msg.title; }},
            {u"cboTitleMsgBox"_s, Kind::TitleList, [](Model &m) -> QString & { return m.msg.title; }},
            {u"txtMessageMsgBox"_s, Kind::Lines, [](Model &m) -> QString & { return m.msg.message; }},
            {u"chkModal"_s, Kind::Check, {}, {}, [](Model &m) { m.msg.style.modality ^= vbSystemModal; }},
        };
        QList<Control> style;
        for (const auto &option : iconOptions) {
            const qint32 value = option.second;
            style << Control{option.first, Kind::Option, {}, {}, [value](Model &m) { m.msg.style.icon = value; }};
        }
        QList<Control> buttons;
        for (const StyleOption &option : buttonOptions) {
            buttons << Control{option.name, Kind::Option, {}, {}, [option](Model &m) {
                                   m.msg.style.buttonSet = option.set;
                                   m.msg.style.defaultButton = option.defaultButton;
                               }};
        }
        QList<Control> msgHelp;
        addHelpPage(msgHelp, u"MsgBox"_s, [](Model &m) -> HelpFields & { return m.msg.help; });
        m_pages[Notewright] = {general, style, buttons, msgHelp};

        // Input box: General, Help Button, Variable.
        QList<Control> inputGeneral{
            {u"txtTitleInputBox"_s, Kind::Line, [](Model &m) -> QString & { return m.input.title; }},
            {u"txtMessageInputBox"_s, Kind::Lines, [](Model &m) -> QString & { return m.input.message; }},
            {u"txtDefaultInputBox"_s, Kind::Line, [](Model &m) -> QString & { return m.input.defaultAnswer; }},
        };
        QList<Control> inputHelp;
        addHelpPage(inputHelp, u"InputBox"_s, [](Model &m) -> HelpFields & { return m.input.help; });
        QList<Control> variable{
            {u"txtVariableName"_s, Kind::Line, [](Model &m) -> QString & { return m.input.variableName; }},
            {u"chkDeclareVariable"_s, Kind::Check, {}, [](Model &m) -> bool & { return m.input.declareVariable; }},
        };
        m_pages[Askwright] = {inputGeneral, inputHelp, variable};

        // Header: one page of six lines, each field named after its caption.
        QList<Control> header;
        for (const header::HeaderLine &line : header::headerLines()) {
            const QString name = u"txt"_s + line.caption.chopped(1);
            const auto field = line.field;
            header << Control{name, Kind::Line, [field](Model &m) -> QString & { return m.header.*field; }};
        }
        m_pages[Topwright] = {header};

        // Common dialog: Open, Save, Font, Color, Printer.
        QList<Control> open{
            {u"txtDialogTitleOpen"_s, Kind::Line, [](Model &m) -> QString & { return m.dialog.openTitle; }},
            {u"lstFileTypesOpen"_s, Kind::List},
            {u"cmdAddOpen"_s, Kind::Add},
            {u"cmdRemoveOpen"_s, Kind::Remove},
        };
        QList<Control> save{
            {u"txtDialogTitleSave"_s, Kind::Line, [](Model &m) -> QString & { return m.dialog.saveTitle; }},
            {u"txtDefaultExtensionSave"_s, Kind::Line,
             [](Model &m) -> QString & { return m.dialog.saveDefaultExtension; }},
            {u"lstFileTypesSave"_s, Kind::List},
            {u"cmdAddSave"_s, Kind::Add},
            {u"cmdRemoveSave"_s, Kind::Remove},
        };
        QList<Control> font{
            {u"optScreenFonts"_s, Kind::Option, {}, {}, [](Model &m) { m.dialog.fonts = FontsToDisplay::ScreenOnly; }},
            {u"optPrinterFonts"_s, Kind::Option, {}, {},
             [](Model &m) { m.dialog.fonts = FontsToDisplay::PrinterOnly; }},
            {u"optBoth"_s, Kind::Option, {}, {}, [](Model &m) { m.dialog.fonts = FontsToDisplay::Both; }},
        };
        QList<Control> color{
            {u"chkEnableCustomColors"_s, Kind::Check, {}, [](Model &m) -> bool & { return m.dialog.customColors; }}};
        QList<Control> printer{
            {u"chkPrintToFile"_s, Kind::Check, {}, [](Model &m) -> bool & { return m.dialog.printToFile; }}};
        m_pages[Pickwright] = {open, save, font, color, printer};
    }

    int currentPage() const { return m_model.page[m_model.tool]; }
    void showPage(Tool tool, int page)
    {
        m_model.page[tool] = page;
        if (tool == Pickwright)
            m_model.dialog.page = DialogKind(page);
    }

    // ---- actions -------------------------------------------------------------

    void act()
    {
        const int roll = below(100);
        if (roll < 8)
            selectTool();
        else if (roll < 18)
            changePage();
        else if (roll < 66)
            useControl();
        else if (roll < 78)
            copy();
        else if (roll < 86)
            test();
        else if (roll < 91)
            pressNew();
        else if (roll < 94)
            breakOrMendClipboard();
        else if (roll < 96)
            pressHelp();
        else if (roll < 98)
            escapeOnOpenList();
        else
            switchByKeyboard();
    }

    // Escape on the open title list closes the list, and only the list.
    void escapeOnOpenList()
    {
        if (m_model.tool != Notewright || currentPage() != 0) {
            note(u"click "_s + images.at(Notewright));
            m_gui.selectTool(images.at(Notewright));
            pickedTool(Notewright);
        }
        auto *titles = m_gui.find<QComboBox>(u"cboTitleMsgBox"_s);
        note(u"open the title list, press Escape"_s);
        QSignalSpy exitPressed(m_gui.find<QAbstractButton>(u"cmdExit"_s), &QAbstractButton::clicked);
        titles->showPopup();
        expect(QApplication::activePopupWidget() != nullptr, u"the title list did not open"_s);
        QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_Escape);
        expect(QApplication::activePopupWidget() == nullptr, u"Escape left the title list open"_s);
        expect(exitPressed.isEmpty(), u"Escape on the open title list pressed Exit"_s);
    }

    void selectTool()
    {
        const Tool tool = Tool(below(4));
        note(u"click "_s + images.at(tool));
        m_gui.selectTool(images.at(tool));
        pickedTool(tool);
    }

    void switchByKeyboard()
    {
        const Tool tool = Tool(below(4));
        note(u"Ctrl+%1"_s.arg(tool + 1));
        // Keys go to the active window. The offscreen platform leaves no
        // window active once a modal one closes; a user would click first.
        if (QApplication::activeWindow() != m_gui.window.get()) {
            m_gui.window->activateWindow();
            expect(QTest::qWaitForWindowActive(m_gui.window.get()), u"the window cannot be activated"_s);
        }
        QTest::keyClick(m_gui.window.get(), Qt::Key(Qt::Key_1 + int(tool)), Qt::ControlModifier);
        pickedTool(tool);
    }

    void pickedTool(Tool tool)
    {
        m_model.tool = tool;
        showPage(tool, 0);
    }

    void changePage()
    {
        auto *tabs = m_gui.find<QTabWidget>(panelNames.at(m_model.tool));
        const int page = below(tabs->count());
        note(u"page %1 of %2"_s.arg(page).arg(panelNames.at(m_model.tool)));
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(page).center());
        showPage(m_model.tool, page);
    }

    void useControl()
    {
        const QList<Control> &controls = m_pages[m_model.tool].at(currentPage());
        const Control &control = pick(controls);
        const bool enabled = control.enabled(m_model);
        switch (control.kind) {
        case Kind::Line:
        case Kind::Lines:
            if (chance(50))
                typeInto(control, enabled);
            else
                pasteInto(control, enabled);
            break;
        case Kind::Check:
            note(u"click "_s + control.name);
            press(control.name);
            if (enabled) {
                if (control.flag)
                    control.flag(m_model) = !control.flag(m_model);
                else
                    control.choose(m_model);
            }
            break;
        case Kind::Option:
            note(u"click "_s + control.name);
            press(control.name);
            control.choose(m_model);
            break;
        case Kind::TitleList:
            pickTitle(control);
            break;
        case Kind::List:
            selectEntry(control.name);
            break;
        case Kind::Add:
            addFileType(control.name);
            break;
        case Kind::Remove:
            removeFileType(control.name);
            break;
        case Kind::Browse:
            browse(control, enabled);
            break;
        }
    }

    // Clicks a control where a user would: a check box or radio button on
    // its indicator (its widget may be far wider than what it reacts to).
    void press(const QString &name)
    {
        QWidget *widget = m_gui.find(name);
        QPoint at = widget->rect().center();
        const bool check = qobject_cast<QCheckBox *>(widget);
        if (check || qobject_cast<QRadioButton *>(widget)) {
            QStyleOptionButton option;
            option.initFrom(widget);
            at = widget->style()
                     ->subElementRect(check ? QStyle::SE_CheckBoxIndicator : QStyle::SE_RadioButtonIndicator, &option,
                                      widget)
                     .center();
        }
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    }

    QWidget *editorOf(const QString &name) const
    {
        QWidget *widget = m_gui.find(name);
        if (auto *combo = qobject_cast<QComboBox *>(widget))
            return combo->lineEdit();
        return widget;
    }

    void typeInto(const Control &control, bool enabled)
    {
        QString text = randomTyping(12);
        if (control.kind == Kind::Lines && chance(40))
            text += u'\n' + randomTyping(8);
        note(u"type \"%1\" into %2"_s.arg(text, control.name));
        m_gui.type(control.name, text);
        if (enabled)
            control.text(m_model) = control.kind == Kind::Lines ? codegen::toCrLf(text) : text;
    }

    void pasteInto(const Control &control, bool enabled)
    {
        const QString text = hostileText();
        const bool replace = chance(50);
        note(u"paste %1 %2 into %3"_s.arg(replace ? u"over"_s : u"after"_s, shown(text),
                                          control.name));
        QGuiApplication::clipboard()->setText(text);
        QWidget *editor = editorOf(control.name);
        editor->setFocus();
        if (replace)
            QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        else if (control.kind == Kind::Lines)
            QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
        else
            QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        if (!enabled)
            return;
        const QString arrived = control.kind == Kind::Lines ? pastedLines(text) : pastedLine(text);
        QString &field = control.text(m_model);
        field = replace ? arrived : field + arrived;
    }

    void pickTitle(const Control &control)
    {
        auto *combo = m_gui.find<QComboBox>(control.name);
        const bool down = chance(60);
        note(u"%1 in the title list"_s.arg(down ? u"Down"_s : u"Up"_s));
        combo->setFocus();
        const int next = combo->currentIndex() + (down ? 1 : -1);
        QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
        if (next >= 0 && next < titleList.size())
            control.text(m_model) = titleList.at(next);
    }

    QStringList &listOf(const QString &name)
    {
        return name.endsWith(u"Open"_s) ? m_model.dialog.openFileTypes : m_model.dialog.saveFileTypes;
    }
    int &selectionOf(const QString &name)
    {
        return name.endsWith(u"Open"_s) ? m_model.openSelected : m_model.saveSelected;
    }

    void selectEntry(const QString &listName)
    {
        auto *list = m_gui.find<QListWidget>(listName);
        if (list->count() == 0) {
            note(u"click the empty "_s + listName);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
            return;
        }
        const int row = below(list->count());
        note(u"select entry %1 of %2"_s.arg(row).arg(listName));
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        selectionOf(listName) = row;
    }

    void addFileType(const QString &button)
    {
        const QString list = u"lstFileTypes"_s + button.mid(6);
        // The input box gives one line, or nothing when cancelled.
        const QString answer = chance(15) ? QString() : pastedLine(chance(50) ? randomTyping(5) : hostileText());
        note(u"Add, answering %1"_s.arg(shown(answer)));
        m_gui.platform.inputBoxAnswers.enqueue(answer);
        const qsizetype messages = m_gui.platform.msgBoxCalls.size();
        m_gui.click(button);
        expect(m_gui.platform.inputBoxAnswers.isEmpty(), u"Add asked nothing"_s);
        if (answer.isEmpty())
            return;
        // What the filter cannot hold is refused with the reason.
        const FileTypeCheck check = checkFileType(answer);
        if (check.problem.isEmpty())
            listOf(list) << check.type;
        expect(m_gui.platform.msgBoxCalls.size() == messages + (check.problem.isEmpty() ? 0 : 1)
                   && (check.problem.isEmpty() || m_gui.platform.msgBoxCalls.last().prompt == check.problem),
               u"Add said otherwise why the type is refused"_s);
    }

    void removeFileType(const QString &button)
    {
        const QString list = u"lstFileTypes"_s + button.mid(9);
        note(u"click "_s + button);
        m_gui.click(button);
        int &selected = selectionOf(list);
        if (selected >= 0)
            listOf(list).removeAt(selected);
        selected = -1;
    }

    void browse(const Control &control, bool enabled)
    {
        FakePlatform::DialogAnswer answer;
        answer.status = Status(below(3));
        if (answer.status == Status::Confirmed)
            answer.fileName = chance(50) ? u"/home/user/help/"_s + randomTyping(6) + u".hlp"_s : hostileText();
        else if (answer.status == Status::Failed)
            answer.error = u"The dialog could not open."_s;
        note(u"browse, the chooser answering %1 %2"_s.arg(int(answer.status))
                 .arg(shown(answer.fileName)));
        m_gui.platform.dialogAnswers.enqueue(answer);
        const qsizetype calls = m_gui.platform.dialogCalls.size();
        m_gui.click(control.name);
        if (!enabled) {
            m_gui.platform.dialogAnswers.clear();
            expect(m_gui.platform.dialogCalls.size() == calls, u"a disabled browse button opened the chooser"_s);
            return;
        }
        expect(m_gui.platform.dialogCalls.size() == calls + 1, u"the browse button showed no chooser"_s);
        if (answer.status == Status::Confirmed)
            control.text(m_model) = pastedLine(answer.fileName);
    }

    QString expectedText() const
    {
        switch (m_model.tool) {
        case Notewright:
            return generateMsgBoxCode(m_model.msg);
        case Askwright:
            return generateInputBox(m_model.input);
        case Topwright:
            return header::generateHeaderBlock(m_model.header);
        case Pickwright:
            break;
        }
        return generateCommonDialogCode(m_model.dialog);
    }

    void copy()
    {
        note(u"Copy"_s);
        FakePlatform &platform = m_gui.platform;
        const qsizetype messages = platform.msgBoxCalls.size();
        const QString before = platform.clipboard;
        m_gui.click(u"cmdCopy"_s);
        if (const QString problem = inputProblem(); !problem.isEmpty()) {
            // Code that would not compile stays off the clipboard.
            expect(platform.clipboard == before, u"Copy wrote code that does not compile"_s);
            expect(platform.msgBoxCalls.size() == messages + 1 && platform.msgBoxCalls.last().prompt == problem,
                   u"Copy did not say why it copied nothing"_s);
        } else if (platform.clipboardWorks) {
            expect(platform.clipboard == expectedText(),
                   u"the clipboard holds\n%1\ninstead of\n%2"_s.arg(shown(platform.clipboard),
                                                                shown(expectedText())));
            expect(platform.msgBoxCalls.size() == messages, u"Copy showed a message"_s);
        } else {
            // The user is told, and keeps every field to copy again.
            expect(platform.msgBoxCalls.size() == messages + 1 && platform.msgBoxCalls.last().buttons == vbOKOnly + vbExclamation,
                   u"a failed Copy said nothing"_s);
        }
    }

    // Why the current tool's code would not compile, by the model.
    QString inputProblem() const
    {
        return m_model.tool == Askwright ? inputBoxProblem(m_model.input) : QString();
    }

    void breakOrMendClipboard()
    {
        m_gui.platform.clipboardWorks = !m_gui.platform.clipboardWorks;
        note(m_gui.platform.clipboardWorks ? u"the clipboard works again"_s : u"the clipboard fails"_s);
    }

    void pressHelp()
    {
        note(u"Help"_s);
        m_gui.platform.shellOpenSucceeds = chance(50);
        const qsizetype messages = m_gui.platform.msgBoxCalls.size();
        const qsizetype opened = m_gui.platform.shellOpenCalls.size();
        m_gui.click(u"cmdHelp"_s);
        // The program's help shows in its own viewer, never through the
        // desktop; the fake has no help file, and a message says so.
        expect(m_gui.platform.shellOpenCalls.size() == opened, u"Help went to the desktop"_s);
        expect(m_gui.platform.msgBoxCalls.size() == messages + 1, u"a missing help file said nothing"_s);
    }

    void test()
    {
        FakePlatform &platform = m_gui.platform;
        note(u"Test"_s);
        switch (m_model.tool) {
        case Notewright: {
            platform.msgBoxAnswers.enqueue(1 + below(7));
            m_gui.click(u"cmdTest"_s);
            const MsgBoxFields &box = m_model.msg;
            const auto &call = platform.msgBoxCalls.constLast();
            expect(call.prompt == box.message && call.title == box.title
                       && call.buttons == msgBoxButtonsValue(box) && call.help == liveHelp(box.help),
                   u"Test showed another message box"_s);
            break;
        }
        case Askwright: {
            if (const QString problem = inputProblem(); !problem.isEmpty()) {
                const qsizetype boxes = platform.inputBoxCalls.size();
                m_gui.click(u"cmdTest"_s);
                expect(platform.inputBoxCalls.size() == boxes && platform.msgBoxCalls.constLast().prompt == problem,
                       u"Test went on with code that does not compile"_s);
                break;
            }
            platform.inputBoxAnswers.enqueue(randomTyping(5));
            m_gui.click(u"cmdTest"_s);
            const InputBoxFields &box = m_model.input;
            const auto &call = platform.inputBoxCalls.constLast();
            expect(call.prompt == box.message && call.title == box.title && call.defaultText == box.defaultAnswer
                       && call.help == liveHelp(box.help),
                   u"Test showed another input box"_s);
            break;
        }
        case Topwright: {
            const QString block = expectedText();
            m_gui.whileModal(u"cmdTest"_s, [&](QWidget *preview) {
                auto *text = preview->findChild<QPlainTextEdit *>(u"txtTest"_s);
                QString shown = text ? text->document()->toRawText() : QString();
                shown.replace(QChar::ParagraphSeparator, u"\r\n"_s);
                expect(shown == block, u"the preview shows another block"_s);
                preview->close();
            });
            break;
        }
        case Pickwright:
            testCommonDialog();
            break;
        }
    }

    static std::optional<HelpTopic> liveHelp(const HelpFields &help)
    {
        if (!help.help)
            return std::nullopt;
        return HelpTopic{help.helpFile, codegen::topicNumber(codegen::topicArgument(help.topicId))};
    }

    void testCommonDialog()
    {
        FakePlatform &platform = m_gui.platform;
        FakePlatform::DialogAnswer answer;
        answer.status = Status(below(3));
        if (answer.status == Status::Failed)
            answer.error = u"No printer is installed."_s;
        platform.dialogAnswers.enqueue(answer);
        const qsizetype messages = platform.msgBoxCalls.size();
        m_gui.click(u"cmdTest"_s);

        const CommonDialogFields &f = m_model.dialog;
        const auto &call = platform.dialogCalls.constLast();
        const DialogKind kinds[] = {DialogKind::Open, DialogKind::Save, DialogKind::Font, DialogKind::Color,
                                    DialogKind::Printer};
        expect(call.kind == kinds[int(f.page)], u"Test showed another dialog"_s);
        switch (f.page) {
        case DialogKind::Open:
            expect(call.dialogTitle == f.openTitle && call.filter == buildFileFilter(f.openFileTypes)
                       && call.flags == 0,
                   u"the Open dialog was set up otherwise"_s);
            break;
        case DialogKind::Save:
            expect(call.dialogTitle == f.saveTitle && call.defaultExt == f.saveDefaultExtension
                       && call.filter == buildFileFilter(f.saveFileTypes) && call.flags == 0,
                   u"the Save dialog was set up otherwise"_s);
            break;
        case DialogKind::Font:
            expect(call.flags == (f.fonts == FontsToDisplay::ScreenOnly ? 1 : f.fonts == FontsToDisplay::PrinterOnly ? 2 : 3),
                   u"the Font dialog has other flags"_s);
            break;
        case DialogKind::Color:
            expect(call.flags == (f.customColors ? 0 : 4), u"the Color dialog has other flags"_s);
            break;
        case DialogKind::Printer:
            expect(call.flags == (f.printToFile ? 0 : 0x80000), u"the Printer dialog has other flags"_s);
            break;
        }
        expect(!call.cancelError, u"the live dialog has CancelError on"_s);
        // A dialog that could not open says why; a cancel or a choice says nothing.
        if (answer.status == Status::Failed)
            expect(platform.msgBoxCalls.size() == messages + 1 && platform.msgBoxCalls.last().prompt == answer.error,
                   u"a dialog that failed to open said nothing"_s);
        else
            expect(platform.msgBoxCalls.size() == messages, u"the dialog test showed a message"_s);
    }

    void pressNew()
    {
        note(u"New"_s);
        m_gui.click(u"cmdNew"_s);
        switch (m_model.tool) {
        case Notewright:
            m_model.msg = MsgBoxFields();
            showPage(Notewright, 0);
            break;
        case Askwright:
            m_model.input = InputBoxFields::afterNew();
            showPage(Askwright, 0);
            break;
        case Topwright:
            m_model.header = HeaderFields();
            m_model.header.copyright = u"Copyright \u00a9 2026"_s;
            m_model.header.date = m_gui.platform.dateText(m_gui.platform.today);
            break;
        case Pickwright: {
            const CommonDialogFields start;
            CommonDialogFields &f = m_model.dialog;
            switch (f.page) {
            case DialogKind::Open:
                f.openTitle = start.openTitle;
                f.openFileTypes.clear();
                m_model.openSelected = -1;
                break;
            case DialogKind::Save:
                f.saveTitle = start.saveTitle;
                f.saveDefaultExtension = start.saveDefaultExtension;
                f.saveFileTypes.clear();
                m_model.saveSelected = -1;
                break;
            case DialogKind::Font:
                f.fonts = start.fonts;
                break;
            case DialogKind::Color:
                f.customColors = start.customColors;
                break;
            case DialogKind::Printer:
                f.printToFile = start.printToFile;
                break;
            }
            break;
        }
        }
    }

    // ---- invariants ----------------------------------------------------------

    void check()
    {
        checkShell();
        checkMessageBoxState();
        checkHelpEnabling(u"MsgBox"_s, {u"lblFileNameMsgBox"_s, u"txtFileNameMsgBox"_s, u"cmdBrowseMsgBox"_s,
                                       u"lblTopicIDMsgBox"_s, u"txtTopicIDMsgBox"_s, u"chkAppPathMsgBox"_s});
        checkHelpEnabling(u"InputBox"_s, {u"lblHelpFileInputBox"_s, u"txtHelpFileInputBox"_s, u"cmdBrowseInputBox"_s,
                                         u"lblTopicIDInputBox"_s, u"txtTopicIDInputBox"_s, u"chkAppPathInputBox"_s});
        checkFields();
    }

    void checkShell()
    {
        QStringList visible;
        for (const QString &name : panelNames) {
            if (!m_gui.find(name)->isHidden())
                visible << name;
        }
        expect(visible == QStringList{panelNames.at(m_model.tool)},
               u"visible panels: %1, expected %2"_s.arg(visible.join(u", "_s), panelNames.at(m_model.tool)));
        const QString header = m_gui.find<QLabel>(u"lblHeader"_s)->text();
        expect(header == captions.at(m_model.tool), u"lblHeader reads "_s + header);
        if (m_model.tool != Topwright) {
            const int page = m_gui.find<QTabWidget>(panelNames.at(m_model.tool))->currentIndex();
            expect(page == currentPage(), u"on page %1, expected %2"_s.arg(page).arg(currentPage()));
        }
    }

    // The four state values describe the checked options and chkModal.
    void checkMessageBoxState()
    {
        const MsgBoxStyleValues values = m_gui.find<MsgBoxPanel>(u"tabNotewright"_s)->fields().style;
        QStringList checkedIcons;
        for (const auto &[name, value] : iconOptions) {
            if (m_gui.find<QAbstractButton>(name)->isChecked()) {
                checkedIcons << name;
                expect(values.icon == value, u"icon %1 with %2"_s.arg(values.icon).arg(name));
            }
        }
        expect(checkedIcons.size() == 1, u"icon options checked: "_s + checkedIcons.join(u", "_s));
        QStringList checkedButtons;
        for (const StyleOption &option : buttonOptions) {
            if (!m_gui.find<QAbstractButton>(option.name)->isChecked())
                continue;
            checkedButtons << option.name;
            expect(values.buttonSet == option.set && values.defaultButton == option.defaultButton,
                   u"buttonSet %1, defaultButton %2 with %3"_s.arg(values.buttonSet)
                       .arg(values.defaultButton)
                       .arg(option.name));
            expect(m_gui.find<QLabel>(u"lblDefaultButton"_s)->text() == u"Default Button: "_s + option.defaultCaption,
                   u"lblDefaultButton disagrees with "_s + option.name);
        }
        expect(checkedButtons.size() == 1, u"button options checked: "_s + checkedButtons.join(u", "_s));
        const bool modal = m_gui.find<QCheckBox>(u"chkModal"_s)->isChecked();
        expect(values.modality == (modal ? vbSystemModal : vbApplicationModal), u"modality %1"_s.arg(values.modality));
        expect(values == m_model.msg.style, u"the style values are not those the user chose"_s);
    }

    void checkHelpEnabling(const QString &tool, const QStringList &group)
    {
        const bool on = m_gui.find<QCheckBox>(u"chkHelp"_s + tool)->isChecked();
        for (const QString &name : group)
            expect(m_gui.find(name)->isEnabled() == on, name + (on ? u" disabled"_s : u" enabled"_s));
    }

    // Every field holds what the user's actions left in it.
    void checkFields()
    {
        for (Tool tool : {Notewright, Askwright, Topwright, Pickwright}) {
            for (const QList<Control> &page : m_pages[tool]) {
                for (const Control &control : page)
                    checkControl(control);
            }
        }
        for (const QString &name : {u"lstFileTypesOpen"_s, u"lstFileTypesSave"_s}) {
            auto *list = m_gui.find<QListWidget>(name);
            QStringList entries;
            for (int i = 0; i < list->count(); ++i)
                entries << list->item(i)->text();
            expect(entries == listOf(name), name + u" holds "_s + entries.join(u", "_s));
            const QList<QListWidgetItem *> selected = list->selectedItems();
            const int row = selected.isEmpty() ? -1 : list->row(selected.first());
            expect(row == selectionOf(name), u"%1 has entry %2 selected"_s.arg(name).arg(row));
        }
        auto *title = m_gui.find<QComboBox>(u"cboTitleMsgBox"_s);
        QStringList items;
        for (int i = 0; i < title->count(); ++i)
            items << title->itemText(i);
        expect(items == titleList, u"the title list changed"_s);
    }

    void checkControl(const Control &control)
    {
        QWidget *widget = m_gui.find(control.name);
        QString actual;
        QString expected;
        switch (control.kind) {
        case Kind::Line:
            actual = qobject_cast<QLineEdit *>(editorOf(control.name))->text();
            expected = control.text(m_model);
            break;
        case Kind::Lines:
            actual = typedText(qobject_cast<QPlainTextEdit *>(widget));
            expected = control.text(m_model);
            break;
        case Kind::Check:
            if (!control.flag)
                return; // chkModal: checked through modality
            actual = QString::number(qobject_cast<QAbstractButton *>(widget)->isChecked());
            expected = QString::number(control.flag(m_model));
            break;
        case Kind::Option: {
            Model probe = m_model;
            control.choose(probe);
            const bool chosen = probe.msg.style == m_model.msg.style && probe.dialog == m_model.dialog;
            actual = QString::number(qobject_cast<QAbstractButton *>(widget)->isChecked());
            expected = QString::number(chosen);
            break;
        }
        default:
            return;
        }
        expect(actual == expected, u"%1 holds %2, expected %3"_s.arg(control.name, shown(actual),
                                                                    shown(expected)));
    }

    GuiHarness m_gui;
    std::mt19937_64 m_random;
    Model m_model;
    QList<QList<Control>> m_pages[4];
    QStringList m_recent;
    QString m_failure;
    int m_done = 0;
};

quint64 seedToUse()
{
    bool given = false;
    const quint64 seed = qEnvironmentVariable("QUILLKIT_SEED").toULongLong(&given);
    return given ? seed : QRandomGenerator::global()->generate64();
}

} // namespace

class TestRandomGui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomActionsKeepEveryInvariant();
};

void TestRandomGui::randomActionsKeepEveryInvariant()
{
    const quint64 seed = seedToUse();
    bool given = false;
    int actions = qEnvironmentVariable("QUILLKIT_ACTIONS").toInt(&given);
    if (!given)
        actions = 10000;
    qInfo("seed %llu (QUILLKIT_SEED=%llu repeats this run), %d actions", seed, seed, actions);
    RandomSession session(seed);
    session.run(actions);
    QVERIFY2(session.failure().isEmpty(),
             qPrintable(u"seed %1: "_s.arg(seed) + session.failure()));
    QCOMPARE(session.done(), actions);
}

QTEST_MAIN(TestRandomGui)
#include "tst_randomgui.moc"
