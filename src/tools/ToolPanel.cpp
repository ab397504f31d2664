// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolPanel.h"

#include "tools/ToolModel.h"

ToolPanel::ToolPanel(QWidget *parent) : QTabWidget(parent)
{
    // The common dialog's page is one of its fields.
    connect(this, &QTabWidget::currentChanged, this, &ToolPanel::noteEdit);
}

void ToolPanel::feed(ToolModel &model)
{
    Q_ASSERT(model.tool().panelFields);
    const auto report = [this, &model] { model.setFields(model.tool().panelFields(this)); };
    report();
    connect(this, &ToolPanel::fieldsChanged, &model, report);
}

void ToolPanel::reportPendingEdit()
{
    if (m_reportQueued)
        reportChange();
}

void ToolPanel::noteEdit()
{
    if (m_reportQueued)
        return;
    m_reportQueued = true;
    QMetaObject::invokeMethod(this, &ToolPanel::reportChange, Qt::QueuedConnection);
}

void ToolPanel::reportChange()
{
    m_reportQueued = false;
    Q_EMIT fieldsChanged();
}
