#include "tools/commondialog/CommonDialogPanel.h"

using namespace Qt::StringLiterals;

CommonDialogPanel::CommonDialogPanel(const ToolContext &context, QWidget *parent) : ToolPanel(parent), m_context(context)
{
    setObjectName(u"tabPickwright"_s);
    addTab(new QWidget(this), tr("Open"));
    addTab(new QWidget(this), tr("Save"));
    addTab(new QWidget(this), tr("Font"));
    addTab(new QWidget(this), tr("Color"));
    addTab(new QWidget(this), tr("Printer"));
}

QString CommonDialogPanel::generate() const
{
    return {};
}

void CommonDialogPanel::test() {}

void CommonDialogPanel::reset() {}
