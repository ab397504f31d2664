#include "tools/msgbox/MsgBoxPanel.h"

using namespace Qt::StringLiterals;

MsgBoxPanel::MsgBoxPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabNotewright"_s);
    addTab(new QWidget(this), tr("General"));
    addTab(new QWidget(this), tr("Style"));
    addTab(new QWidget(this), tr("Buttons"));
    addTab(new QWidget(this), tr("Help Button"));
}

QString MsgBoxPanel::generate() const
{
    return {};
}

void MsgBoxPanel::test() {}

void MsgBoxPanel::reset() {}
