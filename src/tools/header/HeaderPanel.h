// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/ToolPanel.h"
#include "tools/header/HeaderFields.h"

#include <QPointer>

class HeaderPreview;
class QFormLayout;
class QLineEdit;

// `tabTopwright`: the header tool's single page of six labelled fields.
class HeaderPanel : public ToolPanel
{
    Q_OBJECT

public:
    HeaderPanel(const ToolContext &context, QWidget *parent = nullptr);

    // The header block, lines joined by CR LF.
    // Shows the block in the preview window, modal over the main window.
    void test(const QString &code) override;
    // Empties the four plain fields and applies the date defaults again.
    void reset() override;

    HeaderFields fields() const;
    void setFields(const HeaderFields &fields);

private:
    // The start-up fields: empty, with the copyright and date from today's.
    HeaderFields startFields() const;
    // A labelled field; `accessLetter`, the first of its kind in the caption,
    // is the label's Alt letter.
    QLineEdit *addField(QFormLayout *form, const QString &name, QString HeaderFields::*field, QChar accessLetter);

    const ToolContext &m_context;
    QLineEdit *m_txtProject;
    QLineEdit *m_txtProgram;
    QLineEdit *m_txtVersion;
    QLineEdit *m_txtDate;
    QLineEdit *m_txtCopyright;
    QLineEdit *m_txtDescription;
    // The one preview window, while it exists; it clears itself when the
    // window unloads.
    QPointer<HeaderPreview> m_frmTest;
};
