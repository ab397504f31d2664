// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ChoiceRow.h"

#include <QGridLayout>
#include <QLabel>
#include <QResizeEvent>

namespace {
// Between one choice and the next, side by side.
constexpr int ChoiceGap = 12;
} // namespace

ChoiceRow::ChoiceRow(QWidget *parent) : QWidget(parent), m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ChoiceRow::addChoice(QLabel *label, QWidget *field)
{
    m_choices.append({label, field});
    arrange(m_oneRow);
}

int ChoiceRow::oneRowWidth() const
{
    const QMargins margins = m_grid->contentsMargins();
    int width = margins.left() + margins.right();
    for (const auto &[label, field] : m_choices)
        width += label->sizeHint().width() + m_grid->horizontalSpacing() + field->sizeHint().width();
    return width + qMax(0, int(m_choices.size()) - 1) * (ChoiceGap + m_grid->horizontalSpacing());
}

QSize ChoiceRow::sizeHint() const
{
    return {oneRowWidth(), QWidget::sizeHint().height()};
}

QSize ChoiceRow::minimumSizeHint() const
{
    int labels = 0;
    int fields = 0;
    for (const auto &[label, field] : m_choices) {
        labels = qMax(labels, label->sizeHint().width());
        fields = qMax(fields, field->minimumSizeHint().width());
    }
    const QMargins margins = m_grid->contentsMargins();
    return {margins.left() + labels + m_grid->horizontalSpacing() + fields + margins.right(),
            QWidget::minimumSizeHint().height()};
}

void ChoiceRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange(event->size().width() >= oneRowWidth());
}

void ChoiceRow::arrange(bool oneRow)
{
    if (oneRow == m_oneRow && m_arranged == m_choices.size())
        return;
    m_oneRow = oneRow;
    m_arranged = m_choices.size();
    for (const auto &[label, field] : m_choices) {
        m_grid->removeWidget(label);
        m_grid->removeWidget(field);
    }
    for (int column = 0; column < m_grid->columnCount(); ++column) {
        m_grid->setColumnStretch(column, 0);
        m_grid->setColumnMinimumWidth(column, 0);
    }
    for (qsizetype i = 0; i < m_choices.size(); ++i) {
        const auto &[label, field] = m_choices.at(i);
        // Side by side: label, field, gap, label, field...; stacked: a grid
        // of labels over labels and fields over fields.
        const int row = oneRow ? 0 : int(i);
        const int column = oneRow ? int(i) * 3 : 0;
        m_grid->addWidget(label, row, column);
        m_grid->addWidget(field, row, column + 1);
        if (oneRow && i + 1 < m_choices.size())
            m_grid->setColumnMinimumWidth(column + 2, ChoiceGap);
    }
    const int last = oneRow ? int(m_choices.size()) * 3 : 2;
    if (m_spacer) {
        m_grid->removeItem(m_spacer);
        delete m_spacer;
    }
    m_spacer = new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum);
    m_grid->addItem(m_spacer, 0, last);
    m_grid->setColumnStretch(last, 1);
    updateGeometry();
}
