// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace basic {

// Which BASIC a text is written in: Visual Basic; LibreOffice Basic without
// its Visual Basic support (its own constants, line breaks as Chr$ codes, UNO
// services instead of the common dialog control); or Gambas (backslash
// escapes, its Message and Dialog classes, no constants).
enum class Dialect { VisualBasic, LibreOffice, Gambas };

// The dialect's name on the command line, in JSON and to the language
// server: "vb", "libreoffice", "gambas".
QString dialectName(Dialect dialect);
// The dialect of that name, exactly as dialectName writes it.
std::optional<Dialect> dialectFromName(QStringView name);
// Every dialect's name, in the enum's order.
QStringList dialectNames();

} // namespace basic
