// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QString>

class QColor;
class QWidget;

// Makes the program's own widgets read right to a screen reader; installed
// once, before the first window (calling it again does nothing):
// - a plain widget that is a window is a window (or dialog), not a filler,
//   so that the reader follows the focus inside it, and a plain frame inside
//   a window is no window;
// - a checkable push button of an exclusive group is a radio button;
// - a drop-down given an accessible name has it as its name (Qt on Linux
//   names it by its value);
// - a widget given a role with setAccessibleRole has that role.
void installAccessibility();

// Gives `widget` this role and name, for containers that Qt would report as
// plain fillers (a group of choices, say), or for a view of text that Qt
// reports as a label (which keeps Qt's text interface).
void setAccessibleRole(QWidget *widget, QAccessible::Role role, const QString &name = QString());

// A text for a screen reader's name or description: runs of white space as
// one space, at most `limit` characters (the rest marked by an ellipsis).
QString spokenText(const QString &text, qsizetype limit = 400);

class QAbstractButton;

// Tab reaches a set of options (radio buttons, or checkable buttons of an
// exclusive group) at its checked one, as a desktop's option groups do; the
// arrow keys move between the options and choose.
void tabToCheckedChoice(const QList<QAbstractButton *> &options);

// The contrast of two colours as WCAG measures it, from 1 to 21.
double contrastRatio(const QColor &one, const QColor &other);
// `wanted` where it reads on `background` at 4.5:1 or more; otherwise the
// nearest colour of its hue that does, lighter or darker as the background
// asks.
QColor readableColour(const QColor &wanted, const QColor &background);
