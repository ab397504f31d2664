// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"
#include "tools/Tool.h"

#include <QObject>
#include <QString>

#include <any>

// One tool's state in the window: its fields and how the code is written.
// The panel reports the user's edits here and shows whatever else sets the
// fields (a read); the code is generated here, once for each change of
// either, and the code view and Copy take it from here.
class ToolModel : public QObject
{
    Q_OBJECT

public:
    explicit ToolModel(Tool tool, QObject *parent = nullptr);

    const Tool &tool() const { return m_tool; }
    // Empty until the first setFields().
    const std::any &fields() const { return m_fields; }
    codegen::CodeOptions codeOptions() const { return m_options; }
    // The code as Copy gives it; empty until the first setFields().
    QString code() const { return m_code; }

public Q_SLOTS:
    // A value of the tool's Fields type. The same fields again change nothing.
    void setFields(const std::any &fields);
    void setCodeOptions(const codegen::CodeOptions &options);

Q_SIGNALS:
    // After each change of fields(), whoever made it; code() is already
    // the code for them, and codeChanged() follows when it differs.
    void fieldsChanged();
    // After each change of codeOptions().
    void codeOptionsChanged(const codegen::CodeOptions &options);
    // Once for each change of code(), never without one.
    void codeChanged(const QString &code);

private:
    // Whether the code for the fields and options differs from code().
    bool generate();

    Tool m_tool;
    std::any m_fields;
    codegen::CodeOptions m_options;
    QString m_code;
};
