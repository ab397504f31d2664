#pragma once

#include "tools/ToolPanel.h"

class InputBoxPanel : public ToolPanel
{
    Q_OBJECT

public:
    InputBoxPanel(const ToolContext &context, QWidget *parent = nullptr);

    QString generate() const override;
    void test() override;
    void reset() override;

private:
    const ToolContext &m_context;
};
