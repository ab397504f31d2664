// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// What the tools tell an editor's hover about a call: markdown, from the
// members that `read` prints.
namespace hover {

// Markdown's special characters shown as themselves.
QString escaped(const QString &text);

// The text on one line (each CR LF as " ⏎ "), cut after `most` units with an
// ellipsis, never between the halves of a surrogate pair.
QString shortened(QString text, qsizetype most);

// The lines every box's hover starts with: what it is in bold, then its
// title (or that the program's name stands there) and its message.
QStringList heading(const QString &what, const QJsonObject &fields);

} // namespace hover
