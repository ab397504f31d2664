#pragma once

#include "tools/ToolPanel.h"

class HeaderPanel : public ToolPanel
{
    Q_OBJECT

public:
    HeaderPanel(const ToolContext &context, QWidget *parent = nullptr);

    QString generate() const override;
    void test() override;
    void reset() override;

    // Fills the copyright and date fields from today's date.
    void applyDateDefaults();

private:
    const ToolContext &m_context;
};
