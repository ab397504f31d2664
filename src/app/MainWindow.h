// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"
#include "tools/Tool.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class AboutBox;
class EditorLink;
class CodeView;
class CommonDialog;
class QComboBox;
class QLayout;
class QPushButton;
class QScrollArea;
class Platform;
class QLabel;
class ToolModel;
class ToolPanel;
class ToolSelector;
class WindowPlacer;
struct ToolContext;

// `frmMain`: the header strip, the tool selector, the tools' tab-page sets
// laid on top of each other, and the command buttons.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // The window of these tools, in this order; `helpFile` is the help
    // document that Help opens.
    MainWindow(Platform &platform, const QList<Tool> &tools, const QString &helpFile, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The panel of the tool shown; null when none is.
    ToolPanel *currentTool() const;
    // Its model; null when none is shown.
    ToolModel *currentModel() const;
    // The shown tool's code as Copy gives it, edits not yet reported
    // included; empty when no tool is shown.
    QString currentCode() const;
    QString helpFile() const { return m_helpFile; }

    // The About box while it exists (created on first use).
    AboutBox *aboutBox() const;

    bool isCodeViewShown() const;

    // Where a language server started the window as the editor's composer:
    // what of the editor's code it edits ("Module1.bas, line 12"), shown
    // above the tools with Apply to Editor; empty once the editor is gone.
    // Only tried out (Test from the editor), it goes back nowhere.
    void setEditorLabel(const QString &label, bool triedOut = false);

public Q_SLOTS:
    void copyCode();
    void testCode();
    void resetTool();
    void showHelp();
    void showAbout();
    // Shows the tool at this index of the tool list, on its first page.
    void showTool(int index);
    // Reads BASIC code into the tool it belongs to, which is then shown; a
    // text that no tool can hold changes nothing, and a message box says why.
    void readCode(const QString &code);
    // The same with the clipboard's text.
    void readClipboard();
    // How every tool's code is written: the choices above the code view.
    codegen::CodeOptions codeOptions() const;
    // Every tool's code is written with these options from now on.
    void setCodeOptions(const codegen::CodeOptions &options);
    // Shows or hides the code view. Hidden, the window is its fixed design
    // size; shown, the view joins it on the right and the window can grow.
    // Either way the window stays inside the screen, and where the screen is
    // too small for the tools they scroll. Hiding the view puts the window
    // back where and as large as it was before the view opened.
    void setCodeViewShown(bool shown);

protected:
    void closeEvent(QCloseEvent *event) override;
    // Plain text dropped on the window is read as code.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // F5, Ctrl+Shift+C and F1 for Test, Copy and Help.
    void installShortcuts();
    QWidget *createHeaderStrip();
    QWidget *createEditor();
    // New, Test and Copy.
    QLayout *createCommandRow();
    QWidget *createMenu();
    QWidget *createCodePane();
    // Shows the current tool's code in the view, when the view is shown.
    void refreshCodeView();
    // Says why the shown tool's code would not compile, if it would not.
    bool refusesInput();
    // Puts the focus on the current page's first field.
    void focusFirstField();

    Platform &m_platform;
    const QList<Tool> m_tools;
    const QString m_helpFile;
    std::unique_ptr<CommonDialog> m_cdlFileName;
    std::unique_ptr<ToolContext> m_toolContext;

    QSize m_designSize;
    // The contents' place and size before the code view opened.
    std::optional<QRect> m_geometryBeforeView;
    QScrollArea *m_toolArea = nullptr;
    QLabel *m_lblHeader = nullptr;
    QWidget *m_codePane = nullptr;
    CodeView *m_codeView = nullptr;
    QPushButton *m_cmdCode = nullptr;
    QComboBox *m_cboConstants = nullptr;
    QComboBox *m_cboDialect = nullptr;
    // In the order of the tool list.
    QList<ToolPanel *> m_panels;
    QList<ToolModel *> m_models;
    QPointer<AboutBox> m_frmAbout;
    ToolSelector *m_selector = nullptr;
    WindowPlacer *m_placer = nullptr;
    EditorLink *m_editorLink = nullptr;
    QWidget *m_editorBar = nullptr;
    QLabel *m_lblEditor = nullptr;
};
