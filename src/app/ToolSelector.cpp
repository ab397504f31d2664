// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolSelector.h"

#include "app/Pictures.h"
#include "platform/WindowPlacement.h"

#include <QIcon>
#include <QMouseEvent>

namespace {
constexpr int ImageTwips = 480;
} // namespace

SelectorImage::SelectorImage(const QString &objectName, const QString &resource, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    const int side = twipsToPixels(ImageTwips, this);
    setFixedSize(side, side);
    setPixmap(pictureIcon(resource).pixmap(QSize(side, side), devicePixelRatioF()));
    setCursor(Qt::PointingHandCursor);
}

void SelectorImage::attachCaption(QLabel *caption)
{
    m_caption = caption;
    caption->setCursor(Qt::PointingHandCursor);
    caption->installEventFilter(this);
}

void SelectorImage::mousePressEvent(QMouseEvent *event)
{
    press(event);
}

void SelectorImage::mouseReleaseEvent(QMouseEvent *event)
{
    release(event, rect());
}

bool SelectorImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_caption) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            press(static_cast<QMouseEvent *>(event));
            return true;
        case QEvent::MouseButtonRelease:
            release(static_cast<QMouseEvent *>(event), m_caption->rect());
            return true;
        default:
            break;
        }
    }
    return QLabel::eventFilter(watched, event);
}

void SelectorImage::press(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseDown();
}

void SelectorImage::release(QMouseEvent *event, const QRect &area)
{
    event->accept();
    // Whether the release counts as a click is decided where it was pressed,
    // before the press look is undone.
    const bool inside = area.contains(event->position().toPoint());
    Q_EMIT mouseUp();
    if (inside && event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}
