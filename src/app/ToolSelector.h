// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QLabel>
#include <QList>
#include <QPoint>

struct Tool;

// One picture of the tool selector. It reports the raw mouse events; the
// selector moves it to give the pressed look and handles the click.
class SelectorImage : public QLabel
{
    Q_OBJECT

public:
    SelectorImage(const QString &objectName, const QString &resource, QWidget *parent);

    // The caption under the picture picks the tool too: its presses act as
    // the picture's, with the same pressed look.
    void attachCaption(QLabel *caption);

Q_SIGNALS:
    void mouseDown();
    void mouseUp();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void press(QMouseEvent *event);
    void release(QMouseEvent *event, const QRect &area);

    QLabel *m_caption = nullptr;
};

// `picToolFile`: the column of tools on the left, one slot for each tool of
// the list, in its order: the picture and the caption under it. The slots
// follow from a tool's index alone, and the column is as tall as the list
// needs; Ctrl+1 to Ctrl+9 pick the first nine tools.
class ToolSelector : public QFrame
{
    Q_OBJECT

public:
    ToolSelector(const QList<Tool> &tools, QWidget *parent);

    qsizetype count() const { return m_images.size(); }
    SelectorImage *image(int index) const { return m_images.at(index); }
    QLabel *caption(int index) const { return m_captions.at(index); }
    // Marks the tool at this index as the current one.
    void markCurrent(int index);
    int currentIndex() const { return m_current; }
    // While the column's own keys pick a tool: the focus stays in it.
    bool isPickingByArrows() const { return m_pickingByArrows; }

Q_SIGNALS:
    // The tool at this index was clicked or its key pressed.
    void toolChosen(int index);

protected:
    // Up, Down, Home and End (and Left, Right) pick a tool; the focus stays.
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void addTool(const Tool &tool, int index);

    QList<SelectorImage *> m_images;
    // Where the pictures rest.
    QList<QPoint> m_rest;
    QList<QLabel *> m_captions;
    QWidget *m_currentMark = nullptr;
    int m_current = -1;
    bool m_pickingByArrows = false;
};
