// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: renders an SVG picture to PNG files at the given sizes, as
// Qt's SVG icon engine would draw it, for the program to load at start-up.
// Usage: quillkit98_rasterize PICTURE.svg OUTPUT_STEM SIZE... (writes
// OUTPUT_STEM-SIZE.png for each size).
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("usage: quillkit98_rasterize PICTURE.svg OUTPUT_STEM SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quillkit98_rasterize: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    for (const QString &sizeText : arguments.mid(3)) {
        const int size = sizeText.toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString output = arguments.at(2) + u'-' + sizeText + u".png"_s;
        if (!image.save(output)) {
            std::fprintf(stderr, "quillkit98_rasterize: cannot write %s\n", qPrintable(output));
            return 1;
        }
    }
    return 0;
}
