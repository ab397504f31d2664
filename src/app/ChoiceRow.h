// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>

class QGridLayout;
class QLabel;
class QSpacerItem;

// Labelled fields side by side where the row has room for them all, and one
// under another where it has not, so that none is cut off in a narrow window.
class ChoiceRow : public QWidget
{
    Q_OBJECT

public:
    explicit ChoiceRow(QWidget *parent = nullptr);

    void addChoice(QLabel *label, QWidget *field);
    bool isOneRow() const { return m_oneRow; }

    // Side by side it wants its full width; it can do with a stacked one.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void arrange(bool oneRow);
    // The width that the choices take side by side.
    int oneRowWidth() const;

    QGridLayout *m_grid;
    // Takes the room that the choices leave; the grid owns it.
    QSpacerItem *m_spacer = nullptr;
    QList<std::pair<QLabel *, QWidget *>> m_choices;
    bool m_oneRow = true;
    // How many choices the grid holds as arranged.
    qsizetype m_arranged = 0;
};
