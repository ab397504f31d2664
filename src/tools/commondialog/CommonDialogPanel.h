#pragma once

#include "tools/ToolPanel.h"

class CommonDialogPanel : public ToolPanel
{
    Q_OBJECT

public:
    CommonDialogPanel(const ToolContext &context, QWidget *parent = nullptr);

    QString generate() const override;
    void test() override;
    void reset() override;

private:
    const ToolContext &m_context;
};
