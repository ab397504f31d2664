// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The icon of one of the program's pictures, given by its SVG resource
// (":/images/NAME.svg"). The build renders each picture at the sizes that
// start-up draws (renderedPictureSizes()); at those sizes the icon loads that
// rendering, so that starting needs neither the SVG plugin nor its drawing.
// At any other size, or in another mode, it draws the SVG as usual (in a
// build without Qt Svg, scales the nearest rendering).
QIcon pictureIcon(const QString &svgResource);

// The rendered sizes, in pixels: the ones a window icon is made of, which
// include the selector's images at 1x and 2x.
QList<int> renderedPictureSizes();
