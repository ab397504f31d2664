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

void SelectorImage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseDown();
}

void SelectorImage::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    // Whether the release counts as a click is decided where it was pressed,
    // before the press look is undone.
    const bool inside = rect().contains(event->position().toPoint());
    Q_EMIT mouseUp();
    if (inside && event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}
