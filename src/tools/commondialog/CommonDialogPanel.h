// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolPanel.h"
#include "tools/commondialog/CommonDialogFields.h"

#include <memory>

class CommonDialog;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// `tabPickwright`: the common dialog tool. One page per standard dialog;
// the current page decides what Copy writes, Test shows and New resets.
class CommonDialogPanel : public ToolPanel
{
    Q_OBJECT

public:
    CommonDialogPanel(const ToolContext &context, QWidget *parent = nullptr);
    ~CommonDialogPanel() override;

    CommonDialogFields fields() const;
    // Every page's fields, and the page shown.
    void setFields(const CommonDialogFields &fields);

    void test(const QString &code) override;
    void reset() override;

private:
    QWidget *createOpenPage();
    QWidget *createSavePage();
    QWidget *createFontPage();
    QWidget *createColorPage();
    QWidget *createPrinterPage();

    void addFileType(QListWidget *list);
    static void removeFileType(QListWidget *list);

    // Shows one page's fields from `fields`, leaving the other pages.
    void setPageFields(DialogKind page, const CommonDialogFields &fields);

    const ToolContext &m_context;
    // `cdlCommonDialog`: the live dialog, kept for the panel's life so that
    // properties set by one test stay for the next.
    std::unique_ptr<CommonDialog> m_cdlCommonDialog;

    QLineEdit *m_txtDialogTitleOpen = nullptr;
    QListWidget *m_lstFileTypesOpen = nullptr;
    QPushButton *m_cmdAddOpen = nullptr;
    QPushButton *m_cmdRemoveOpen = nullptr;

    QLineEdit *m_txtDialogTitleSave = nullptr;
    QLineEdit *m_txtDefaultExtensionSave = nullptr;
    QListWidget *m_lstFileTypesSave = nullptr;
    QPushButton *m_cmdAddSave = nullptr;
    QPushButton *m_cmdRemoveSave = nullptr;

    QRadioButton *m_optScreenFonts = nullptr;
    QRadioButton *m_optPrinterFonts = nullptr;
    QRadioButton *m_optBoth = nullptr;

    QCheckBox *m_chkEnableCustomColors = nullptr;
    QCheckBox *m_chkPrintToFile = nullptr;
};
