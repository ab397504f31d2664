// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolModel.h"

#include <utility>

ToolModel::ToolModel(Tool tool, QObject *parent) : QObject(parent), m_tool(std::move(tool)) {}

void ToolModel::setFields(const std::any &fields)
{
    // A panel reports after every burst of edits, most of which (a page
    // turned, a text typed back) leave the fields as they were.
    if (m_fields.has_value() && m_tool.sameFields(m_fields, fields))
        return;
    m_fields = fields;
    // The views follow the fields before the code is reported, so that what
    // they say about the code (the code view's notes) is about these fields.
    const bool changed = generate();
    Q_EMIT fieldsChanged();
    if (changed)
        Q_EMIT codeChanged(m_code);
}

void ToolModel::setCodeOptions(const codegen::CodeOptions &options)
{
    if (options == m_options)
        return;
    m_options = options;
    const bool changed = m_fields.has_value() && generate();
    Q_EMIT codeOptionsChanged(m_options);
    if (changed)
        Q_EMIT codeChanged(m_code);
}

bool ToolModel::generate()
{
    QString code = m_tool.generate(m_fields, m_options);
    if (code == m_code)
        return false;
    m_code = std::move(code);
    return true;
}
