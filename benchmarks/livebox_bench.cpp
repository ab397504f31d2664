// SPDX-License-Identifier: GPL-3.0-or-later
// The live message box and input box with a 10 MiB prompt: the time from
// pressing Test to the box shown, the time Escape takes to close it, and the
// memory in use before, while shown and after closing. Run under a real
// window system (benchmarks/livebox runs it under Xvfb).
#include "platform/InputBoxDialog.h"
#include "platform/QtMessageBox.h"
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Resident memory in MiB, from the kernel's view of this process.
double residentMiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression rss(u"VmRSS:\\s+(\\d+) kB"_s);
    const auto match = rss.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024 : -1;
}

void waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer limit;
    limit.start();
    while (!done() && limit.elapsed() < 120'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void measure(const char *name, QtPlatform &platform, const QString &prompt)
{
    const double before = residentMiB();
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QDialog> box;
    if (qstrcmp(name, "message box") == 0)
        box = std::make_unique<BasicMessageBox>(platform, prompt, 3 + 32, u"Report"_s, std::nullopt);
    else
        box = std::make_unique<InputBoxDialog>(prompt, u"Report"_s, u"Yes"_s, false);
    bool exposed = false;
    box->show();
    waitUntil([&] {
        exposed = box->windowHandle() && box->windowHandle()->isExposed();
        return exposed;
    });
    // One more round so the first paint is done.
    QCoreApplication::processEvents();
    const qint64 shownMs = clock.elapsed();
    const double whileShown = residentMiB();

    clock.restart();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box.get(), &press);
    waitUntil([&] { return !box->isVisible(); });
    const qint64 escapeMs = clock.elapsed();
    box.reset();
    QCoreApplication::processEvents();
    const double after = residentMiB();
    std::printf("%-12s %10lld %10lld %12.1f %12.1f %12.1f\n", name, static_cast<long long>(shownMs),
                static_cast<long long>(escapeMs), before, whileShown, after);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QtPlatform platform;
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 3;
    // 10 MiB of prose in CR LF lines, as the message field would hold it.
    const QString line = u"Do you want to save the changes you made to \"Quarterly report\"?\r\n"_s;
    const QString prompt = line.repeated(10 * 1024 * 1024 / line.size() + 1).left(10 * 1024 * 1024);
    std::printf("10 MiB prompt (%lld characters), %d rounds\n", static_cast<long long>(prompt.size()), rounds);
    std::printf("%-12s %10s %10s %12s %12s %12s\n", "box", "shown, ms", "Escape, ms", "MiB before", "MiB shown",
                "MiB after");
    for (int round = 0; round < rounds; ++round) {
        measure("message box", platform, prompt);
        measure("input box", platform, prompt);
    }
    return 0;
}
