// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FirstShown.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <ctime>
#endif

namespace {

// The processor time the process has used so far, all its threads, in
// microseconds: unlike the wall clock, it does not grow with the machine's load.
long long processorMicroseconds()
{
#if defined(Q_OS_WIN)
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    const auto ticks = [](const FILETIME &time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return (ticks(kernel) + ticks(user)) / 10;
#else
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<long long>(used.tv_sec) * 1000000 + used.tv_nsec / 1000;
#endif
}

// Queued, so that it runs once the current event has been handled: the
// window paints and flushes while it handles its expose event.
void reportShownAndExit()
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("shown %lld %lld\n",
                        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
                        processorMicroseconds());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
}

class FirstShownProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            reportShownAndExit();
        }
        return false;
    }
};

class FirstPaintProbe : public QObject
{
public:
    FirstPaintProbe(QWidget *widget, std::function<void()> action) : QObject(widget), m_action(std::move(action))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued on the widget, so that it is dropped if the widget goes.
            QMetaObject::invokeMethod(watched, std::move(m_action), Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void afterFirstPaint(QWidget &widget, std::function<void()> action)
{
    new FirstPaintProbe(&widget, std::move(action));
}

void exitWhenFirstShown(QWidget &window)
{
    window.winId(); // makes sure the native window exists to be watched
    QWindow *handle = window.windowHandle();
    if (handle->isExposed())
        reportShownAndExit();
    else
        handle->installEventFilter(new FirstShownProbe(&window));
}
