// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QMargins>
#include <QObject>
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

// Places a top-level window on its screen and keeps it there. Some window
// managers put a window they are asked to move lower by its title bar (the
// gravity they apply), which can push a window that fits off the screen's
// bottom; where they place it shows in the move events that follow a
// placement, and for a short while the window is put back inside the screen.
// Only a short while and twice at most, so that a window the user drags is
// left alone.
class WindowPlacer : public QObject
{
public:
    // Watches `window` and dies with it.
    explicit WindowPlacer(QWidget *window);

    // The free area of the screen the window is on (the primary screen's
    // before it has one); invalid when there is no screen.
    QRect screenRoom() const;
    // The frame around the window: title bar and borders, estimated until
    // the window is shown.
    QMargins frameMargins() const;
    // Gives the window these contents' geometry (frame not included), fixed
    // in size or not.
    void place(const QRect &contents, bool fixedSize);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepInside();

    QWidget *m_window;
    // How many more times, and until when, the window just placed is moved
    // back inside the screen.
    int m_keepOnScreen = 0;
    QDeadlineTimer m_keepOnScreenUntil;
};
