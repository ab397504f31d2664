#pragma once

#include <QLabel>

// One picture of the tool selector. It reports the raw mouse events; the
// main window moves it to give the pressed look and handles the click.
class SelectorImage : public QLabel
{
    Q_OBJECT

public:
    SelectorImage(const QString &objectName, const QString &resource, QWidget *parent);

Q_SIGNALS:
    void mouseDown();
    void mouseUp();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
