// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

namespace {
constexpr double TwipsPerInch = 1440.0;
// Until a window is shown, its frame is not known: room for a title bar and
// borders, as most desktops draw them.
constexpr QMargins FrameEstimate(4, 32, 4, 4);
// How long, and how many times, a window just placed is kept on the screen.
constexpr int KeepOnScreenMs = 1000;
constexpr int KeepOnScreenMoves = 2;
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

WindowPlacer::WindowPlacer(QWidget *window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

QRect WindowPlacer::screenRoom() const
{
    const QScreen *shownOn = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    return shownOn ? shownOn->availableGeometry() : QRect();
}

QMargins WindowPlacer::frameMargins() const
{
    if (!m_window->isVisible())
        return FrameEstimate;
#if defined(Q_OS_WIN)
    // Qt's frame lags behind a change of style (a fixed window made
    // resizable gets a thicker one); Windows' own is current.
    if (QGuiApplication::platformName() == QStringView(u"windows")) {
        const auto window = reinterpret_cast<HWND>(m_window->winId());
        RECT outer{};
        RECT inner{};
        POINT origin{0, 0};
        if (GetWindowRect(window, &outer) && GetClientRect(window, &inner) && ClientToScreen(window, &origin)) {
            const qreal ratio = m_window->devicePixelRatioF();
            const auto scaled = [ratio](LONG pixels) { return qRound(pixels / ratio); };
            return {scaled(origin.x - outer.left), scaled(origin.y - outer.top),
                    scaled(outer.right - origin.x - inner.right), scaled(outer.bottom - origin.y - inner.bottom)};
        }
    }
#endif
    const QRect outer = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

#if defined(Q_OS_WIN)
namespace {
// Windows gives a window of a fixed size a thin frame and no maximise button,
// and a resizable one a frame to drag and the button; the native window takes
// the new style as it is, without being made again.
void setResizableFrame(QWidget *window, bool resizable)
{
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::MSWindowsFixedSizeDialogHint, !resizable);
    flags.setFlag(Qt::WindowMaximizeButtonHint, resizable);
    if (flags == window->windowFlags())
        return;
    window->overrideWindowFlags(flags);
    if (QWindow *native = window->windowHandle())
        native->setFlags(flags);
}
} // namespace
#endif

void WindowPlacer::place(const QRect &contents, bool fixedSize)
{
    QRect placed = contents;
#if defined(Q_OS_WIN)
    if (m_window->isMaximized() && fixedSize)
        m_window->showNormal();
    setResizableFrame(m_window, !fixedSize);
    // The frame is another now: the contents fit the screen inside the new one.
    if (m_window->isVisible())
        placed = fittedWindowRect(contents.size(), screenRoom(), contents.topLeft(), frameMargins());
#endif
    if (fixedSize)
        m_window->setFixedSize(placed.size());
    else
        m_window->resize(placed.size());
    // move() places the frame; the rectangle is the contents'.
    const QMargins frame = frameMargins();
    m_window->move(placed.topLeft() - QPoint(frame.left(), frame.top()));
    if (m_window->isVisible()) {
        m_keepOnScreen = KeepOnScreenMoves;
        m_keepOnScreenUntil = QDeadlineTimer(KeepOnScreenMs);
    }
}

bool WindowPlacer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Move)
        keepInside();
    return QObject::eventFilter(watched, event);
}

void WindowPlacer::keepInside()
{
    if (m_keepOnScreen <= 0 || m_keepOnScreenUntil.hasExpired() || !m_window->isVisible())
        return;
    const QRect room = screenRoom();
    // The frame, now known, may also be larger than the estimate was.
    const QMargins frame = frameMargins();
    if (!room.isValid() || room.contains(m_window->geometry().marginsAdded(frame)))
        return;
    --m_keepOnScreen;
    const QRect inside = fittedWindowRect(m_window->size(), room, m_window->geometry().topLeft(), frame);
    if (inside.size() != m_window->size()) {
        if (m_window->minimumSize() == m_window->maximumSize()) {
            m_window->setFixedSize(inside.size());
        } else {
            m_window->setMinimumSize(m_window->minimumSize().boundedTo(inside.size()));
            m_window->resize(inside.size());
        }
    }
    m_window->move(inside.topLeft() - QPoint(frame.left(), frame.top()));
}
