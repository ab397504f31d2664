// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "basic/MsgBoxStyles.h"

#include <QIcon>
#include <QStyle>

#include <optional>

class QWidget;

// The style's standard icon for `widget`, looked up only when it is first
// drawn. Looking one up searches the desktop's icon theme, which costs
// milliseconds at start-up for an icon on a page that may never be opened.
// The icon is never null, so a button lays itself out for it at once.
QIcon deferredStandardIcon(QStyle::StandardPixmap which, const QWidget *widget);

// The style's picture of a box's icon; none for a box without one.
std::optional<QStyle::StandardPixmap> standardPixmap(basic::BoxPicture picture);
