#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class AboutBox;
class CommonDialog;
class Platform;
class QLabel;
class QPushButton;
class SelectorImage;
class ToolPanel;
struct ToolContext;

// `frmMain`: the header strip, the tool selector, the four tools' tab-page
// sets laid on top of each other, and the command buttons.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(Platform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The first visible panel in the fixed order message box, input box,
    // header, common dialog; null when none is visible.
    ToolPanel *currentTool() const;

    // The About box while it exists (created on first use).
    AboutBox *aboutBox() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    // F5, Ctrl+Shift+C and F1 for Test, Copy and Help.
    void installShortcuts();

    void cmdCopy_Click();
    void cmdTest_Click();
    void cmdNew_Click();
    void cmdExit_Click();
    void cmdHelp_Click();
    void cmdAbout_Click();

    void imgNotewright_Click();
    void imgAskwright_Click();
    void imgTopwright_Click();
    void imgPickwright_Click();

    QWidget *createHeaderStrip();
    QWidget *createSelector();
    QWidget *createEditor();
    QWidget *createMenu();
    void addSelectorTool(QWidget *selector, SelectorImage *image, const QString &caption, int restTop,
                         void (MainWindow::*click)());

    Platform &m_platform;
    std::unique_ptr<CommonDialog> m_cdlFileName;
    std::unique_ptr<ToolContext> m_toolContext;

    QLabel *m_lblHeader = nullptr;
    ToolPanel *m_tabNotewright = nullptr;
    ToolPanel *m_tabInputBox = nullptr;
    ToolPanel *m_tabTopwright = nullptr;
    ToolPanel *m_tabPickwright = nullptr;
    QPointer<AboutBox> m_frmAbout;
};
