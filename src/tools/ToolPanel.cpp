// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolPanel.h"

ToolPanel::ToolPanel(QWidget *parent) : QTabWidget(parent)
{
    // The common dialog's page decides its code; other tools find no change.
    connect(this, &QTabWidget::currentChanged, this, &ToolPanel::noteEdit);
}

void ToolPanel::noteEdit()
{
    if (m_checkQueued)
        return;
    m_checkQueued = true;
    QMetaObject::invokeMethod(this, &ToolPanel::reportChange, Qt::QueuedConnection);
}

void ToolPanel::reportChange()
{
    m_checkQueued = false;
    QString code = generate();
    if (code == m_reportedCode)
        return;
    m_reportedCode = std::move(code);
    Q_EMIT codeChanged();
}

void ToolPanel::startTracking()
{
    m_reportedCode = generate();
}
