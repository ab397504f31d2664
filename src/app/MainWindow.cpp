// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/ChoiceRow.h"
#include "app/CodeView.h"
#include "app/EditorLink.h"
#include "app/FirstShown.h"
#include "app/Pictures.h"
#include "app/ToolSelector.h"
#include "basic/MsgBoxStyles.h"
#include "basic/Names.h"
#include "platform/Accessibility.h"
#include "platform/CommonDialog.h"
#include "platform/HelpViewer.h"
#include "platform/Platform.h"
#include "platform/WindowPlacement.h"
#include "reader/CodeReader.h"
#include "tools/ToolModel.h"
#include "tools/ToolPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// `picHeader`: the strip's gradient, painted directly. A style sheet would
// look the same but costs a style-sheet style for the whole window's start.
class HeaderStrip : public QFrame
{
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QLinearGradient gradient(0, 0, width(), 0);
        gradient.setColorAt(0, QColor(0x0f, 0x2a, 0x52));
        gradient.setColorAt(1, QColor(0x3b, 0x6d, 0xb3));
        QPainter(this).fillRect(rect(), gradient);
    }
};

// The tool area: it asks for the whole of the tools, and scrolls them where
// the screen leaves it less (QScrollArea would cap what it asks for).
class ToolArea : public QScrollArea
{
public:
    explicit ToolArea(QWidget *parent) : QScrollArea(parent)
    {
        setObjectName(u"scrTools"_s);
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        // The fields inside take the focus, and the area scrolls to them;
        // the area itself would be an unseen, unnamed stop of Tab.
        setFocusPolicy(Qt::NoFocus);
    }

    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

// Between the window's parts.
constexpr int Spacing = 8;

// A command button 88 pixels wide where there is room, and no wider than its
// caption needs where there is not (a large scale on a small screen), so that
// a row of them never overlaps.
class CommandButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override { return QPushButton::sizeHint().expandedTo(QSize(88, 0)); }
};

QPushButton *commandButton(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *button = new CommandButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return button;
}

// An open drop-down list or menu takes Escape for itself, as on the desktop:
// it closes, and only it. Without this, the list closes and the window's
// Escape shortcut fires as well, ending the program with the fields typed.
class PopupKeepsEscape : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride && QApplication::activePopupWidget()) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->matches(QKeySequence::Cancel))
                key->accept();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

MainWindow::MainWindow(Platform &platform, const QList<Tool> &tools, const QString &helpFile, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_platform(platform),
      m_tools(tools),
      m_helpFile(helpFile)
{
    installAccessibility();
    setObjectName(u"frmMain"_s);
    setAcceptDrops(true);
    setWindowTitle(tr("Quillkit 98"));

    // `cdlFileName`: the help-file chooser that the message-box and input-box
    // tools share. A cancel is reported as an error so that it changes nothing.
    m_cdlFileName = platform.createCommonDialog(this);
    m_cdlFileName->setDialogTitle(tr("Select a Help File..."));
    m_cdlFileName->setFilter(u"Windows Help Files (*.hlp)|*.hlp"_s);
    m_cdlFileName->setCancelError(true);
    m_toolContext = std::make_unique<ToolContext>(ToolContext{platform, *m_cdlFileName});

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 8);
    column->setSpacing(Spacing);
    m_editorLink = EditorLink::attach(this);
    if (m_editorLink) {
        // Part of the design size: the window shows what it edits from the start.
        m_editorBar = new QWidget;
        m_editorBar->setObjectName(u"fraEditor"_s);
        auto *bar = new QHBoxLayout(m_editorBar);
        bar->setContentsMargins(Spacing, Spacing, Spacing, 0);
        m_lblEditor = new QLabel(m_editorBar);
        m_lblEditor->setObjectName(u"lblEditor"_s);
        // One line, so that the tools keep their room; all of it as a tip.
        m_lblEditor->setTextFormat(Qt::PlainText);
        auto *apply = commandButton(u"cmdApply"_s, tr("&Apply to Editor"), m_editorBar);
        apply->setToolTip(tr("Puts the code back into the editor, where it came from, and closes the window "
                             "(Ctrl+Return)"));
        connect(apply, &QPushButton::clicked, m_editorLink, &EditorLink::apply);
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
        connect(shortcut, &QShortcut::activated, apply, &QPushButton::click);
        bar->addWidget(m_lblEditor, 1);
        bar->addWidget(apply);
        column->addWidget(m_editorBar);
        setEditorLabel(tr("the editor's code"));
    }
    column->addWidget(createHeaderStrip());
    // The selector and the tools scroll together where the screen is small;
    // the code view lies beside them, never over them.
    auto *toolsFrame = new QWidget;
    toolsFrame->setObjectName(u"fraTools"_s);
    auto *toolsRow = new QHBoxLayout(toolsFrame);
    toolsRow->setContentsMargins(Spacing, 0, Spacing, 0);
    toolsRow->setSpacing(Spacing);
    auto *selectorColumn = new QVBoxLayout;
    m_selector = new ToolSelector(m_tools, this);
    connect(m_selector, &ToolSelector::toolChosen, this, &MainWindow::showTool);
    selectorColumn->addWidget(m_selector);
    selectorColumn->addStretch();
    toolsRow->addLayout(selectorColumn);
    QWidget *editor = createEditor();
    toolsRow->addWidget(editor, 0, Qt::AlignTop);
    toolsRow->addStretch();
    m_toolArea = new ToolArea(this);
    m_toolArea->setWidget(toolsFrame);
    // New, Test and Copy stay in view under the tools: where the screen is
    // too small, only the tools scroll.
    auto *toolsColumn = new QVBoxLayout;
    toolsColumn->setSpacing(Spacing);
    toolsColumn->addWidget(m_toolArea, 1);
    toolsColumn->addLayout(createCommandRow());
    auto *middle = new QHBoxLayout;
    middle->setSpacing(Spacing);
    middle->addLayout(toolsColumn);
    middle->addWidget(createCodePane(), 1);
    column->addLayout(middle, 1);
    column->addWidget(createMenu());

    // Windows shows it on the task bar, where the program's own belongs (the
    // quill, as the .exe carries it). Reading its pictures and handing them to
    // the window system waits until the window has painted.
#if !defined(Q_OS_WIN)
    afterFirstPaint(*this, [this] { setWindowIcon(pictureIcon(m_tools.constFirst().picture)); });
#endif
    installShortcuts();

    // The tools keep their size whatever the code view does to the window.
    editor->setFixedSize(editor->sizeHint());
    m_codePane->hide();
    m_selector->markCurrent(0);
    focusFirstField();
    m_designSize = sizeHint();
    m_placer = new WindowPlacer(this);
    m_placer->place(fittedWindowRect(m_designSize, m_placer->screenRoom(), std::nullopt, m_placer->frameMargins()),
                    true);
}

void MainWindow::setEditorLabel(const QString &label, bool triedOut)
{
    if (!m_editorBar)
        return;
    m_editorBar->setEnabled(!label.isEmpty() && !triedOut);
    if (label.isEmpty() || triedOut) {
        m_lblEditor->setText(triedOut ? tr("Trying out %1 of the editor.").arg(label)
                                      : tr("The editor is gone: the code goes back no more."));
        setWindowTitle(tr("Quillkit 98"));
        return;
    }
    m_lblEditor->setText(tr("Editing %1 in the editor.").arg(label));
    m_lblEditor->setToolTip(m_lblEditor->text());
    setWindowTitle(tr("Quillkit 98 - editing %1").arg(label));
}

MainWindow::~MainWindow()
{
    // The About box has no owner window; it goes with the main window.
    delete m_frmAbout;
}

QWidget *MainWindow::createHeaderStrip()
{
    auto *picHeader = new HeaderStrip(this);
    picHeader->setObjectName(u"picHeader"_s);
    m_lblHeader = new QLabel(m_tools.constFirst().caption, picHeader);
    m_lblHeader->setObjectName(u"lblHeader"_s);
    QPalette white = m_lblHeader->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    m_lblHeader->setPalette(white);
    QFont font(u"Times New Roman"_s);
    font.setPointSizeF(20.25);
    font.setBold(true);
    font.setItalic(true);
    m_lblHeader->setFont(font);
    auto *layout = new QHBoxLayout(picHeader);
    layout->setContentsMargins(16, 6, 16, 6);
    layout->addWidget(m_lblHeader);
    return picHeader;
}

QWidget *MainWindow::createEditor()
{
    auto *fraEditor = new QFrame(this);
    fraEditor->setObjectName(u"fraEditor"_s);

    for (const Tool &tool : m_tools) {
        m_panels << tool.createPanel(*m_toolContext, fraEditor);
        m_models << new ToolModel(tool, this);
    }

    // The sets lie on top of each other, all the size of the largest, so
    // that the window keeps one size whichever tool is current.
    QSize size(440, 300);
    for (ToolPanel *panel : std::as_const(m_panels))
        size = size.expandedTo(panel->sizeHint());
    auto *stack = new QGridLayout;
    for (qsizetype index = 0; index < m_panels.size(); ++index) {
        ToolPanel *panel = m_panels.at(index);
        ToolModel *model = m_models.at(index);
        panel->setMinimumSize(size);
        // A screen reader names the tool as the focus enters it.
        panel->setAccessibleName(m_tools.at(index).caption);
        stack->addWidget(panel, 0, 0);
        connect(panel, &ToolPanel::headerCaptionRequested, m_lblHeader, &QLabel::setText);
        panel->setModel(*model);
        connect(model, &ToolModel::codeChanged, this, [this, model] {
            if (model == currentModel())
                refreshCodeView();
        });
        // The options are the window's, for every tool: one model's change
        // (a read's) is every tool's and the choices'.
        connect(model, &ToolModel::codeOptionsChanged, this, &MainWindow::setCodeOptions);
        panel->setVisible(panel == m_panels.constFirst());
    }

    auto *layout = new QVBoxLayout(fraEditor);
    layout->setContentsMargins(0, 0, 8, 0);
    layout->addLayout(stack, 1);
    return fraEditor;
}

QLayout *MainWindow::createCommandRow()
{
    auto *cmdNew = commandButton(u"cmdNew"_s, tr("&New"), this);
    auto *cmdTest = commandButton(u"cmdTest"_s, tr("Te&st"), this);
    auto *cmdCopy = commandButton(u"cmdCopy"_s, tr("&Copy"), this);
    cmdNew->setToolTip(tr("Resets the current tool"));
    cmdTest->setToolTip(tr("Shows the result live"));
    cmdCopy->setToolTip(tr("Puts the code on the clipboard"));
    connect(cmdNew, &QPushButton::clicked, this, &MainWindow::resetTool);
    connect(cmdTest, &QPushButton::clicked, this, &MainWindow::testCode);
    connect(cmdCopy, &QPushButton::clicked, this, &MainWindow::copyCode);

    // Their right edge where the editor's is.
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(Spacing, 0, Spacing + 8, 0);
    buttons->addStretch();
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdTest);
    buttons->addWidget(cmdCopy);
    return buttons;
}

QWidget *MainWindow::createMenu()
{
    auto *fraMenu = new QFrame(this);
    fraMenu->setObjectName(u"fraMenu"_s);
    fraMenu->setFrameShape(QFrame::HLine);

    auto *cmdHelp = commandButton(u"cmdHelp"_s, tr("&Help"), fraMenu);
    auto *cmdAbout = commandButton(u"cmdAbout"_s, tr("&About"), fraMenu);
    auto *cmdExit = commandButton(u"cmdExit"_s, tr("&Exit"), fraMenu);
    connect(cmdHelp, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(cmdAbout, &QPushButton::clicked, this, &MainWindow::showAbout);
    connect(cmdExit, &QPushButton::clicked, qApp, &QApplication::quit);

    // cmdExit is the window's cancel button. An open list or menu keeps
    // Escape for itself (see PopupKeepsEscape).
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cmdExit, &QPushButton::click);
    qApp->installEventFilter(new PopupKeepsEscape(this));

    auto *separator = new QFrame(fraMenu);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    // The code view's switch; F7 as View Code in the BASIC editor.
    m_cmdCode = commandButton(u"cmdCode"_s, tr("&View Code"), fraMenu);
    m_cmdCode->setCheckable(true);
    m_cmdCode->setToolTip(tr("Shows the code as you design it (F7)"));
    connect(m_cmdCode, &QPushButton::toggled, this, &MainWindow::setCodeViewShown);
    auto *viewCode = new QShortcut(QKeySequence(Qt::Key_F7), this);
    connect(viewCode, &QShortcut::activated, m_cmdCode, &QPushButton::toggle);

    // Tab as the row reads: Exit, at its right end, comes last.
    setTabOrder(cmdAbout, m_cmdCode);
    setTabOrder(m_cmdCode, cmdExit);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    row->addWidget(cmdHelp);
    row->addWidget(cmdAbout);
    row->addWidget(m_cmdCode);
    row->addStretch();
    row->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(fraMenu);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(separator);
    layout->addLayout(row);
    fraMenu->setFrameShape(QFrame::NoFrame);
    return fraMenu;
}

void MainWindow::installShortcuts()
{
    // Keys that no caption's access letter can take over, whatever the page:
    // F5 runs Test as Run does in the BASIC editor, Ctrl+Shift+C copies, F1
    // opens Help. Each presses its button, so the button's own handling runs.
    const QList<std::pair<QKeySequence, QString>> keys{
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V), u"cmdReadCode"_s},
        {QKeySequence(Qt::Key_F5), u"cmdTest"_s},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), u"cmdCopy"_s},
        {QKeySequence(QKeySequence::HelpContents), u"cmdHelp"_s},
    };
    for (const auto &[key, name] : keys) {
        auto *button = findChild<QPushButton *>(name);
        Q_ASSERT(button);
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, &QPushButton::click);
        button->setToolTip(u"%1 (%2)"_s.arg(button->toolTip().isEmpty() ? QString(button->text()).remove(u'&')
                                                                          : button->toolTip(),
                                            key.toString(QKeySequence::NativeText)));
    }
}

ToolPanel *MainWindow::currentTool() const
{
    for (ToolPanel *panel : m_panels) {
        if (!panel->isHidden())
            return panel;
    }
    return nullptr;
}

ToolModel *MainWindow::currentModel() const
{
    const qsizetype index = m_panels.indexOf(currentTool());
    return index < 0 ? nullptr : m_models.at(index);
}

QString MainWindow::currentCode() const
{
    ToolPanel *tool = currentTool();
    if (!tool)
        return {};
    // Copy may come in the same turn of the event loop as the last key.
    tool->reportPendingEdit();
    return currentModel()->code();
}

QWidget *MainWindow::createCodePane()
{
    m_codePane = new QFrame(this);
    m_codePane->setObjectName(u"fraCode"_s);
    m_codeView = new CodeView(m_codePane);
    m_codeView->setCallWords(callWords(m_tools));
    auto *lblCode = new QLabel(tr("Code:"), m_codePane);
    lblCode->setObjectName(u"lblCode"_s);
    lblCode->setBuddy(m_codeView);
    auto *cmdReadCode = commandButton(u"cmdReadCode"_s, tr("Read fr&om Clipboard"), m_codePane);
    cmdReadCode->setToolTip(tr("Fills in the tool from code on the clipboard"));
    connect(cmdReadCode, &QPushButton::clicked, this, &MainWindow::readClipboard);

    // How the code is written: the message box's flags and answers as
    // numbers, as the tools always wrote them, or as BASIC's names.
    m_cboConstants = new QComboBox(m_codePane);
    m_cboConstants->setObjectName(u"cboConstants"_s);
    m_cboConstants->addItem(tr("Numbers"), int(codegen::CodeOptions::Constants::Numbers));
    m_cboConstants->addItem(tr("Names"), int(codegen::CodeOptions::Constants::Names));
    const qint32 sample = vbYesNo + vbQuestion + basic::defaultButtonValue(1);
    using Dialect = codegen::CodeOptions::Dialect;
    m_cboConstants->setToolTip(
        tr("Numbers: Msgbox (\"Save?\", %1, \"\") and Case %2\n"
           "Names: %3 and Case %4\n"
           "(%5 and Case %6 in LibreOffice Basic)")
            .arg(QString::number(sample), QString::number(vbYes), basic::buttonsNames(sample, Dialect::VisualBasic),
                 basic::resultName(vbYes, Dialect::VisualBasic), basic::buttonsNames(sample, Dialect::LibreOffice),
                 basic::resultName(vbYes, Dialect::LibreOffice)));
    auto *lblConstants = new QLabel(tr("&Write constants as:"), m_codePane);
    lblConstants->setObjectName(u"lblConstants"_s);
    lblConstants->setBuddy(m_cboConstants);
    m_cboConstants->setAccessibleName(tr("Write constants as"));
    // Which BASIC the code is for.
    m_cboDialect = new QComboBox(m_codePane);
    m_cboDialect->setObjectName(u"cboDialect"_s);
    m_cboDialect->addItem(tr("Visual Basic"), int(codegen::CodeOptions::Dialect::VisualBasic));
    m_cboDialect->addItem(tr("LibreOffice Basic"), int(codegen::CodeOptions::Dialect::LibreOffice));
    m_cboDialect->addItem(tr("Gambas"), int(codegen::CodeOptions::Dialect::Gambas));
    auto *lblDialect = new QLabel(tr("Lan&guage:"), m_codePane);
    lblDialect->setObjectName(u"lblDialect"_s);
    lblDialect->setBuddy(m_cboDialect);
    m_cboDialect->setAccessibleName(tr("Language"));

    for (QComboBox *choice : {m_cboConstants, m_cboDialect}) {
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { setCodeOptions(codeOptions()); });
    }

    // Tab as the pane reads: its button, the two choices, then the code.
    setTabOrder(cmdReadCode, m_cboConstants);
    setTabOrder(m_cboConstants, m_cboDialect);
    setTabOrder(m_cboDialect, m_codeView);

    auto *bar = new QHBoxLayout;
    bar->addWidget(lblCode);
    bar->addStretch();
    bar->addWidget(cmdReadCode);
    auto *choices = new ChoiceRow(m_codePane);
    choices->setObjectName(u"fraChoices"_s);
    choices->addChoice(lblConstants, m_cboConstants);
    choices->addChoice(lblDialect, m_cboDialect);
    auto *layout = new QVBoxLayout(m_codePane);
    layout->setContentsMargins(0, 0, 8, 0);
    layout->addLayout(bar);
    layout->addWidget(choices);
    layout->addWidget(m_codeView, 1);
    // The pane takes what the tools leave, and no less than its controls need
    // stacked; the tools give way (and scroll) on a narrow screen.
    m_codePane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_codePane->setMinimumWidth(m_codePane->minimumSizeHint().width());
    return m_codePane;
}

bool MainWindow::isCodeViewShown() const
{
    return !m_codePane->isHidden();
}

void MainWindow::setCodeViewShown(bool shown)
{
    if (shown == isCodeViewShown())
        return;
    const QSignalBlocker quiet(m_cmdCode);
    m_cmdCode->setChecked(shown);
    const QMargins frame = m_placer->frameMargins();
    if (!shown) {
        m_codePane->hide();
        // Back where it was before the view opened, as large as it was.
        const QRect before = m_geometryBeforeView.value_or(QRect(geometry().topLeft(), m_designSize));
        m_placer->place(fittedWindowRect(before.size(), m_placer->screenRoom(), before.topLeft(), frame), true);
        return;
    }
    m_geometryBeforeView = geometry();
    m_codePane->show();
    refreshCodeView();
    // Room for the view beside the tools: as wide again as they are, as much
    // as the screen allows, and no narrower than the tools and the view's
    // controls need. A window not yet shown starts centred with the view.
    const std::optional<QPoint> at = isVisible() ? std::optional(geometry().topLeft()) : std::nullopt;
    const QRect fitted = fittedWindowRect(QSize(m_designSize.width() * 2, m_designSize.height()),
                                          m_placer->screenRoom(), at, frame);
    const QSize least(m_designSize.width() + Spacing + m_codePane->minimumWidth(), m_designSize.height());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(least.boundedTo(fitted.size()));
    m_placer->place(fitted, false);
}

codegen::CodeOptions MainWindow::codeOptions() const
{
    codegen::CodeOptions options;
    options.constants = codegen::CodeOptions::Constants(m_cboConstants->currentData().toInt());
    options.dialect = codegen::CodeOptions::Dialect(m_cboDialect->currentData().toInt());
    return options;
}

void MainWindow::setCodeOptions(const codegen::CodeOptions &options)
{
    const QSignalBlocker quietConstants(m_cboConstants);
    const QSignalBlocker quietDialect(m_cboDialect);
    m_cboConstants->setCurrentIndex(m_cboConstants->findData(int(options.constants)));
    m_cboDialect->setCurrentIndex(m_cboDialect->findData(int(options.dialect)));
    // Gambas's boxes take their buttons' captions: no constants to write.
    m_cboConstants->setEnabled(!options.gambas());
    m_codeView->setBackslashEscapes(options.gambas());
    for (ToolModel *model : std::as_const(m_models))
        model->setCodeOptions(options);
}

void MainWindow::readClipboard()
{
    readCode(m_platform.clipboardText());
}

void MainWindow::readCode(const QString &code)
{
    const ReadResult result = ::readCode(code, m_tools);
    if (!result.ok()) {
        m_platform.msgBox(tr("The code cannot be read into the tools; nothing has changed.\r\n\r\n%1")
                              .arg(result.error->text()),
                          vbOKOnly + vbExclamation, tr("Quillkit 98"), std::nullopt);
        return;
    }
    const int index = int(std::find_if(m_tools.cbegin(), m_tools.cend(),
                                       [&](const Tool &tool) { return tool.cli.name == result.tool->cli.name; })
                          - m_tools.cbegin());
    showTool(index);
    // The read replaces what the tool holds, edits not yet reported too.
    m_panels.at(index)->reportPendingEdit();
    // The code's own style: its BASIC, and for a message box how its buttons
    // were written.
    codegen::CodeOptions options = codeOptions();
    options.dialect = result.code.dialect;
    // Gambas has no constants for its boxes: the choice stays for the others.
    if (!options.gambas() && result.tool->hasConstants)
        options.constants = result.code.constants;
    // Into the tool's model; its panel and the window's choices follow it.
    ToolModel *model = m_models.at(index);
    model->setCodeOptions(options);
    model->setFields(result.fields);
    if (result.found > 1) {
        m_platform.msgBox(tr("The code holds %1 pieces that the tools can read; the first, for %2, is now in its "
                             "fields.")
                              .arg(result.found)
                              .arg(result.tool->caption),
                          vbOKOnly + vbInformation, tr("Quillkit 98"), std::nullopt);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    // After the drop has ended: the message box of a refusal is modal.
    QMetaObject::invokeMethod(this, [this, text = event->mimeData()->text()] { readCode(text); },
                              Qt::QueuedConnection);
}

void MainWindow::refreshCodeView()
{
    if (!isCodeViewShown())
        return;
    if (const ToolModel *model = currentModel()) {
        const Tool &tool = model->tool();
        m_codeView->showCode(model->code(), tool.codeNotes ? tool.codeNotes(model->fields()) : QStringList());
    }
}

void MainWindow::showTool(int index)
{
    if (index < 0 || index >= m_panels.size())
        return;
    m_lblHeader->setText(m_tools.at(index).caption);
    ToolPanel *shown = m_panels.at(index);
    shown->setCurrentIndex(0);
    for (ToolPanel *panel : std::as_const(m_panels))
        panel->setVisible(panel == shown);
    m_selector->markCurrent(index);
    // The column's arrow keys go on picking there; any other way of picking
    // a tool (Ctrl+1..., a click) starts in its first field.
    if (!m_selector->isPickingByArrows())
        focusFirstField();
    refreshCodeView();
}

void MainWindow::focusFirstField()
{
    ToolPanel *tool = currentTool();
    QWidget *page = tool ? tool->currentWidget() : nullptr;
    if (!page)
        return;
    // The first field that Tab would reach on the page: typing starts there.
    for (QWidget *widget = page->nextInFocusChain(); widget && widget != page; widget = widget->nextInFocusChain()) {
        if (page->isAncestorOf(widget) && widget->isEnabled() && widget->isVisibleTo(page)
            && (widget->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

bool MainWindow::refusesInput()
{
    currentTool()->reportPendingEdit();
    const ToolModel *model = currentModel();
    const QString problem = model->tool().inputProblem ? model->tool().inputProblem(model->fields()) : QString();
    if (problem.isEmpty())
        return false;
    m_platform.msgBox(problem, vbOKOnly + vbExclamation, tr("Quillkit 98"), std::nullopt);
    return true;
}

void MainWindow::copyCode()
{
    if (ToolPanel *tool = currentTool(); tool && !refusesInput()) {
        const QString text = currentCode();
        m_platform.clearClipboard();
        if (!m_platform.setClipboardText(text)) {
            // Another program may hold the clipboard. The fields are untouched,
            // so pressing Copy again is all it takes.
            m_platform.msgBox(tr("The code could not be placed on the clipboard. Another program may be "
                                 "using it; please press Copy again."),
                              vbOKOnly + vbExclamation, tr("Quillkit 98"), std::nullopt);
        }
    }
}

void MainWindow::testCode()
{
    if (ToolPanel *tool = currentTool(); tool && !refusesInput())
        tool->test(currentCode());
}

void MainWindow::resetTool()
{
    if (ToolPanel *tool = currentTool())
        tool->reset();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, hidden windows included.
    event->accept();
    QApplication::quit();
}

void MainWindow::showHelp()
{
    showProgramHelp(m_platform, this, m_helpFile);
}

AboutBox *MainWindow::aboutBox() const
{
    return m_frmAbout;
}

void MainWindow::showAbout()
{
    if (!m_frmAbout)
        m_frmAbout = new AboutBox(m_platform);
    m_frmAbout->exec();
}
