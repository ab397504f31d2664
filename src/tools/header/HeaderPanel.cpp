#include "tools/header/HeaderPanel.h"

using namespace Qt::StringLiterals;

HeaderPanel::HeaderPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabTopwright"_s);
    addTab(new QWidget(this), tr("General"));
}

QString HeaderPanel::generate() const
{
    return {};
}

void HeaderPanel::test() {}

void HeaderPanel::reset() {}

void HeaderPanel::applyDateDefaults() {}
