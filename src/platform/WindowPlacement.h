// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Positions given in twips (1440 to the inch), turned into pixels with the
// widget's logical resolution.
int twipsToPixels(int twips, const QWidget *widget);
QPoint twipsToPixels(QPoint twips, const QWidget *widget);
QRect twipsToPixels(const QRect &twips, const QWidget *widget);

// Moves a window, sized already, to the middle of the primary screen's
// available area.
void centerOnScreen(QWidget *window);
