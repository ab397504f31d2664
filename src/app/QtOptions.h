// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

// The arguments without Qt's standard options for a program with a window
// (-style Fusion, -stylesheet FILE, -platform NAME, -reverse,
// -qwindowgeometry WxH+X+Y, ...; with one dash or two), which QApplication
// takes for itself; what is left is the program's own. An option of Qt's
// that lacks its value is an error, in the program's words.
std::optional<QStringList> withoutQtOptions(const QStringList &arguments, QString *error);
