// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolPanel.h"

#include "tools/ToolModel.h"

#include <QScopedValueRollback>

ToolPanel::ToolPanel(QWidget *parent) : QTabWidget(parent)
{
    // The common dialog's page is one of its fields.
    connect(this, &QTabWidget::currentChanged, this, &ToolPanel::noteEdit);
}

void ToolPanel::setModel(ToolModel &model)
{
    Q_ASSERT(model.tool().panelFields && model.tool().setPanelFields);
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = &model;
    connect(m_model, &ToolModel::fieldsChanged, this, &ToolPanel::showModelFields);
    if (model.fields().has_value())
        showModelFields();
    else
        reportChange();
}

ToolModel *ToolPanel::model() const
{
    return m_model;
}

void ToolPanel::showModelFields()
{
    if (m_reporting || !m_model)
        return;
    const QScopedValueRollback showing(m_showingModel, true);
    m_model->tool().setPanelFields(this, m_model->fields());
    // An edit still waiting is overtaken by the fields now shown.
    m_reportQueued = false;
}

void ToolPanel::reportPendingEdit()
{
    if (m_reportQueued)
        reportChange();
}

void ToolPanel::noteEdit()
{
    if (m_reportQueued || m_showingModel)
        return;
    m_reportQueued = true;
    QMetaObject::invokeMethod(this, &ToolPanel::reportQueuedEdit, Qt::QueuedConnection);
}

void ToolPanel::reportQueuedEdit()
{
    if (m_reportQueued)
        reportChange();
}

void ToolPanel::reportChange()
{
    m_reportQueued = false;
    if (m_showingModel)
        return;
    const QScopedValueRollback reporting(m_reporting, true);
    if (m_model)
        m_model->setFields(m_model->tool().panelFields(this));
    Q_EMIT fieldsChanged();
}
