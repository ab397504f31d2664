// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"
#include "tools/Tool.h"

#include <QObject>
#include <QString>

#include <any>

// One tool's state in the window: its fields as its panel reports them and
// how the code is written. The code is generated here, once for each change
// of either, and the code view and Copy take it from here.
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
    // Once for each change of code(), never without one.
    void codeChanged(const QString &code);

private:
    void regenerate();

    Tool m_tool;
    std::any m_fields;
    codegen::CodeOptions m_options;
    QString m_code;
};
