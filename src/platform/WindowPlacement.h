// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

#include <optional>

class QWidget;

// Positions given in twips (1440 to the inch), turned into pixels with the
// widget's logical resolution.
int twipsToPixels(int twips, const QWidget *widget);
QPoint twipsToPixels(QPoint twips, const QWidget *widget);
QRect twipsToPixels(const QRect &twips, const QWidget *widget);

// Moves a window, sized already, to the middle of the primary screen's
// available area.
void centerOnScreen(QWidget *window);

// Where a window whose contents want `wanted` goes on a screen whose free area
// is `room`: no larger than the room leaves once the frame's `frame` margins
// (title bar, borders) are taken off, and at `at` moved just as far as it must
// to lie inside the room with its frame; without `at`, in the room's middle.
// The result is the contents' rectangle, frame not included. An invalid room
// (no screen known) changes nothing.
QRect fittedWindowRect(QSize wanted, const QRect &room, std::optional<QPoint> at = std::nullopt,
                       const QMargins &frame = {});
