// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// One picture of the tool selector. It reports the raw mouse events; the
// main window moves it to give the pressed look and handles the click.
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
