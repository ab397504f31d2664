// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "codegen/CodeOptions.h"

#include <QString>

#include <memory>

class MainWindow;
class Platform;

// The help file's name; it lives in the program's folder.
inline constexpr char16_t HelpFileName[] = u"qkt98.html";

// The help file path: the program's folder, the separator and the file name,
// joined as they stand.
QString helpFilePath(const QString &appPath);

// What the window starts with; every run starts from these, since the
// program keeps no settings.
struct WindowOptions
{
    bool splash = true;
    bool codeView = false;
    codegen::CodeOptions codeOptions;
    // Code read in at the start, as from the clipboard ("-": standard input).
    QString readFile;

    // Everything as a plain start, but without the splash window's wait.
    static WindowOptions withoutSplash()
    {
        WindowOptions options;
        options.splash = false;
        return options;
    }
};

// Start-up: the splash window for three seconds (unless skipped), then the
// main window, shown, with Help opening the help file beside the program.
std::unique_ptr<MainWindow> startUp(Platform &platform, const WindowOptions &options);
