// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartUp.h"

#include "app/MainWindow.h"
#include "app/SplashWindow.h"
#include "app/Tools.h"
#include "platform/Platform.h"

#include <QDir>

namespace {
constexpr int SplashMilliseconds = 3000;
} // namespace

QString helpFilePath(const QString &appPath)
{
    // One kind of separator, as Qt takes paths on every system.
    return QDir::fromNativeSeparators(appPath) + u'/' + QStringView(HelpFileName);
}

std::unique_ptr<MainWindow> startUp(Platform &platform, const WindowOptions &options)
{
    if (options.splash) {
        auto splash = std::make_unique<SplashWindow>();
        splash->showPainted();
        // Blocking on purpose: the splash stands still while nothing else runs.
        platform.sleep(SplashMilliseconds);
        splash->hide();
    }

    auto window = std::make_unique<MainWindow>(platform, tools(), helpFilePath(platform.appPath()));
    window->setCodeOptions(options.codeOptions);
    window->setCodeViewShown(options.codeView);
    window->show();
    return window;
}
