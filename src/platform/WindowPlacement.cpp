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
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}
