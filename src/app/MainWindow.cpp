#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/Pictures.h"
#include "app/ToolSelector.h"
#include "platform/CommonDialog.h"
#include "platform/Platform.h"
#include "tools/commondialog/CommonDialogPanel.h"
#include "tools/header/HeaderPanel.h"
#include "tools/inputbox/InputBoxPanel.h"
#include "tools/msgbox/MsgBoxPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The selector's geometry, in twips within `picToolFile`.
constexpr int SelectorWidth = 1200;
constexpr int SelectorHeight = 4020;
constexpr int ImageLeft = 360;
constexpr int ImageTwips = 480;
constexpr int PressOffset = 50;
constexpr int CaptionGap = 30;

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

QPushButton *commandButton(const QString &objectName, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setMinimumWidth(88);
    return button;
}

} // namespace

MainWindow::MainWindow(Platform &platform, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_platform(platform)
{
    setObjectName(u"frmMain"_s);
    setWindowTitle(tr("Quillkit 98"));

    // `cdlFileName`: the help-file chooser that the message-box and input-box
    // tools share. A cancel is reported as an error so that it changes nothing.
    m_cdlFileName = platform.createCommonDialog(this);
    m_cdlFileName->setDialogTitle(tr("Select a Help File..."));
    m_cdlFileName->setFilter(u"Windows Help Files (*.hlp)|*.hlp"_s);
    m_cdlFileName->setCancelError(true);
    m_toolContext = std::make_unique<ToolContext>(ToolContext{platform, *m_cdlFileName});

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(createHeaderStrip(), 0, 0, 1, 2);
    auto *selectorColumn = new QVBoxLayout;
    selectorColumn->setContentsMargins(8, 0, 0, 0);
    selectorColumn->addWidget(createSelector());
    selectorColumn->addStretch();
    grid->addLayout(selectorColumn, 1, 0);
    grid->addWidget(createEditor(), 1, 1);
    grid->addWidget(createMenu(), 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    Form_Load();
    installShortcuts();

    setFixedSize(sizeHint());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
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
    m_lblHeader = new QLabel(tr("Notewright"), picHeader);
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

QWidget *MainWindow::createSelector()
{
    auto *picToolFile = new QFrame(this);
    picToolFile->setObjectName(u"picToolFile"_s);
    picToolFile->setFrameShape(QFrame::StyledPanel);
    picToolFile->setFrameShadow(QFrame::Sunken);
    picToolFile->setFixedSize(twipsToPixels(QPoint(SelectorWidth, SelectorHeight), picToolFile).x(),
                              twipsToPixels(QPoint(SelectorWidth, SelectorHeight), picToolFile).y());

    addSelectorTool(picToolFile,
                    new SelectorImage(u"imgNotewright"_s, u":/images/notewright.svg"_s, picToolFile),
                    tr("Notewright"), 120, &MainWindow::imgNotewright_Click);
    addSelectorTool(picToolFile, new SelectorImage(u"imgAskwright"_s, u":/images/askwright.svg"_s, picToolFile),
                    tr("Askwright"), 1080, &MainWindow::imgAskwright_Click);
    addSelectorTool(picToolFile, new SelectorImage(u"imgTopwright"_s, u":/images/topwright.svg"_s, picToolFile),
                    tr("Topwright"), 2040, &MainWindow::imgTopwright_Click);
    addSelectorTool(picToolFile,
                    new SelectorImage(u"imgPickwright"_s, u":/images/pickwright.svg"_s, picToolFile),
                    tr("Pickwright"), 3120, &MainWindow::imgPickwright_Click);
    return picToolFile;
}

void MainWindow::addSelectorTool(QWidget *selector, SelectorImage *image, const QString &caption, int restTop,
                                 void (MainWindow::*click)())
{
    const QPoint rest = twipsToPixels(QPoint(ImageLeft, restTop), image);
    const QPoint pressed = twipsToPixels(QPoint(ImageLeft - PressOffset, restTop + PressOffset), image);
    image->move(rest);
    image->setAccessibleName(caption);

    // Images take no focus; Ctrl+1 to Ctrl+4 pick the tools from the keyboard.
    const int index = selector->findChildren<SelectorImage *>(Qt::FindDirectChildrenOnly).indexOf(image);
    const QKeySequence keys(QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_1 + index)));
    image->setToolTip(u"%1 (%2)"_s.arg(caption, keys.toString(QKeySequence::NativeText)));
    auto *shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, click);

    // The caption label sits centred under the image and picks the tool too.
    auto *label = new QLabel(caption, selector);
    label->setObjectName(u"lbl"_s + image->objectName().mid(3));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int top = twipsToPixels(QPoint(0, restTop + ImageTwips + CaptionGap), image).y();
    label->setGeometry(0, top, selector->width(), label->sizeHint().height());
    image->attachCaption(label);

    // The press look, on any button; undone on release before the click.
    connect(image, &SelectorImage::mouseDown, image, [image, pressed] { image->move(pressed); });
    connect(image, &SelectorImage::mouseUp, image, [image, rest] { image->move(rest); });
    connect(image, &SelectorImage::clicked, this, click);
}

QWidget *MainWindow::createEditor()
{
    auto *fraEditor = new QFrame(this);
    fraEditor->setObjectName(u"fraEditor"_s);

    m_tabNotewright = new MsgBoxPanel(*m_toolContext, fraEditor);
    m_tabInputBox = new InputBoxPanel(*m_toolContext, fraEditor);
    m_tabTopwright = new HeaderPanel(*m_toolContext, fraEditor);
    m_tabPickwright = new CommonDialogPanel(*m_toolContext, fraEditor);

    // The four sets lie on top of each other, all the size of the largest,
    // so that the window keeps one size whichever tool is current.
    const QList<ToolPanel *> panels{m_tabNotewright, m_tabInputBox, m_tabTopwright, m_tabPickwright};
    QSize size(440, 300);
    for (ToolPanel *panel : panels)
        size = size.expandedTo(panel->sizeHint());
    auto *stack = new QGridLayout;
    for (ToolPanel *panel : panels) {
        panel->setMinimumSize(size);
        stack->addWidget(panel, 0, 0);
        connect(panel, &ToolPanel::headerCaptionRequested, m_lblHeader, &QLabel::setText);
    }
    m_tabInputBox->hide();
    m_tabTopwright->hide();
    m_tabPickwright->hide();

    auto *cmdNew = commandButton(u"cmdNew"_s, tr("&New"), fraEditor);
    auto *cmdTest = commandButton(u"cmdTest"_s, tr("Te&st"), fraEditor);
    auto *cmdCopy = commandButton(u"cmdCopy"_s, tr("&Copy"), fraEditor);
    cmdNew->setToolTip(tr("Resets the current tool"));
    cmdTest->setToolTip(tr("Shows the result live"));
    cmdCopy->setToolTip(tr("Puts the code on the clipboard"));
    connect(cmdNew, &QPushButton::clicked, this, &MainWindow::cmdNew_Click);
    connect(cmdTest, &QPushButton::clicked, this, &MainWindow::cmdTest_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &MainWindow::cmdCopy_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdTest);
    buttons->addWidget(cmdCopy);

    auto *layout = new QVBoxLayout(fraEditor);
    layout->setContentsMargins(0, 0, 8, 0);
    layout->addLayout(stack, 1);
    layout->addLayout(buttons);
    return fraEditor;
}

QWidget *MainWindow::createMenu()
{
    auto *fraMenu = new QFrame(this);
    fraMenu->setObjectName(u"fraMenu"_s);
    fraMenu->setFrameShape(QFrame::HLine);

    auto *cmdHelp = commandButton(u"cmdHelp"_s, tr("&Help"), fraMenu);
    auto *cmdAbout = commandButton(u"cmdAbout"_s, tr("&About"), fraMenu);
    auto *cmdExit = commandButton(u"cmdExit"_s, tr("&Exit"), fraMenu);
    connect(cmdHelp, &QPushButton::clicked, this, &MainWindow::cmdHelp_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &MainWindow::cmdAbout_Click);
    connect(cmdExit, &QPushButton::clicked, this, &MainWindow::cmdExit_Click);

    // cmdExit is the window's cancel button.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, cmdExit, &QPushButton::click);

    auto *separator = new QFrame(fraMenu);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    row->addWidget(cmdHelp);
    row->addWidget(cmdAbout);
    row->addStretch();
    row->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(fraMenu);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(separator);
    layout->addLayout(row);
    fraMenu->setFrameShape(QFrame::NoFrame);
    return fraMenu;
}

void MainWindow::Form_Load()
{
    setWindowIcon(pictureIcon(u":/images/notewright.svg"_s));
    // The selector images already carry the hand pointer.
    static_cast<HeaderPanel *>(m_tabTopwright)->applyDateDefaults();
}

void MainWindow::installShortcuts()
{
    // Keys that no caption's access letter can take over, whatever the page:
    // F5 runs Test as Run does in the BASIC editor, Ctrl+Shift+C copies, F1
    // opens Help. Each presses its button, so the button's own handling runs.
    const QList<std::pair<QKeySequence, QString>> keys{
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
    for (ToolPanel *panel : {m_tabNotewright, m_tabInputBox, m_tabTopwright, m_tabPickwright}) {
        if (!panel->isHidden())
            return panel;
    }
    return nullptr;
}

void MainWindow::cmdCopy_Click()
{
    if (ToolPanel *tool = currentTool()) {
        const QString text = tool->generate();
        m_platform.clearClipboard();
        if (!m_platform.setClipboardText(text)) {
            // Another program may hold the clipboard. The fields are untouched,
            // so pressing Copy again is all it takes.
            m_platform.msgBox(tr("The code could not be placed on the clipboard. Another program may be "
                                 "using it; please press Copy again."),
                              vbOKOnlyWarning, tr("Quillkit 98"), std::nullopt);
        }
    }
}

void MainWindow::cmdTest_Click()
{
    if (ToolPanel *tool = currentTool())
        tool->test();
}

void MainWindow::cmdNew_Click()
{
    if (ToolPanel *tool = currentTool())
        tool->reset();
}

void MainWindow::cmdExit_Click()
{
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, hidden windows included.
    event->accept();
    QApplication::quit();
}

void MainWindow::cmdHelp_Click()
{
    m_platform.shellOpen(this, u"open"_s, m_platform.helpFile(), QString(), m_platform.appPath(), ShowStateHidden);
}

AboutBox *MainWindow::aboutBox() const
{
    return m_frmAbout;
}

void MainWindow::cmdAbout_Click()
{
    if (!m_frmAbout)
        m_frmAbout = new AboutBox(m_platform);
    m_frmAbout->exec();
}

void MainWindow::imgNotewright_Click()
{
    m_lblHeader->setText(tr("Notewright"));
    m_tabNotewright->setCurrentIndex(0);
    m_tabInputBox->hide();
    m_tabNotewright->show();
    m_tabTopwright->hide();
    m_tabPickwright->hide();
}

void MainWindow::imgAskwright_Click()
{
    m_lblHeader->setText(tr("Askwright"));
    m_tabInputBox->setCurrentIndex(0);
    m_tabNotewright->hide();
    m_tabInputBox->show();
    m_tabTopwright->hide();
    m_tabPickwright->hide();
}

void MainWindow::imgTopwright_Click()
{
    m_tabNotewright->hide();
    m_tabInputBox->hide();
    m_tabTopwright->show();
    m_tabPickwright->hide();
    m_lblHeader->setText(tr("Topwright"));
}

void MainWindow::imgPickwright_Click()
{
    m_lblHeader->setText(tr("Pickwright"));
    m_tabPickwright->setCurrentIndex(0);
    m_tabNotewright->hide();
    m_tabInputBox->hide();
    m_tabTopwright->hide();
    m_tabPickwright->show();
}
