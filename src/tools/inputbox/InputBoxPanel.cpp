#include "tools/inputbox/InputBoxPanel.h"

using namespace Qt::StringLiterals;

InputBoxPanel::InputBoxPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabInputBox"_s);
    addTab(new QWidget(this), tr("General"));
    addTab(new QWidget(this), tr("Help Button"));
    addTab(new QWidget(this), tr("Variable"));
}

QString InputBoxPanel::generate() const
{
    return {};
}

void InputBoxPanel::test() {}

void InputBoxPanel::reset() {}
