// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
constexpr double TwipsPerInch = 1440.0;
} // namespace

int twipsToPixels(int twips, const QWidget *widget)
{
    return qRound(twips * widget->logicalDpiX() / TwipsPerInch);
}

QPoint twipsToPixels(QPoint twips, const QWidget *widget)
{
    return {twipsToPixels(twips.x(), widget), qRound(twips.y() * widget->logicalDpiY() / TwipsPerInch)};
}

QRect twipsToPixels(const QRect &twips, const QWidget *widget)
{
    const QPoint size = twipsToPixels(QPoint(twips.width(), twips.height()), widget);
    return {twipsToPixels(twips.topLeft(), widget), QSize(size.x(), size.y())};
}

void centerOnScreen(QWidget *window)
{
    // A window larger than the screen keeps its top left corner, and with it
    // the title bar, on the screen.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(fittedWindowRect(window->size(), screen->availableGeometry()).topLeft());
}

QRect fittedWindowRect(QSize wanted, const QRect &room, std::optional<QPoint> at, const QMargins &frame)
{
    if (!room.isValid())
        return {at.value_or(QPoint(0, 0)), wanted};
    const QRect inner = room.marginsRemoved(frame);
    const QSize size = wanted.boundedTo(inner.size()).expandedTo(QSize(1, 1));
    const QPoint middle(inner.left() + (inner.width() - size.width()) / 2,
                        inner.top() + (inner.height() - size.height()) / 2);
    const QPoint wish = at.value_or(middle);
    // A room smaller than a pixel's window still keeps the top left corner,
    // where the title bar is, on the screen.
    const int x = qMax(inner.left(), qMin(wish.x(), inner.left() + inner.width() - size.width()));
    const int y = qMax(inner.top(), qMin(wish.y(), inner.top() + inner.height() - size.height()));
    return {QPoint(x, y), size};
}
