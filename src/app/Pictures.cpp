// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Pictures.h"

#include "platform/ScalingIconEngine.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

class PictureEngine : public ScalingIconEngine
{
public:
    explicit PictureEngine(const QString &svgResource) : m_svgResource(svgResource) {}

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (QPixmap rendered = renderedPixmap(size, mode, state); !rendered.isNull())
            return rendered;
        return svg().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // `size` is in device pixels here.
        if (QPixmap rendered = renderedPixmap(size, mode, state); !rendered.isNull())
            return rendered;
        return svg().pixmap(size / scale, scale, mode, state);
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        svg().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (isRendered(size, mode, state))
            return size;
        return svg().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off) {
            for (const int side : renderedPictureSizes())
                sizes << QSize(side, side);
        }
        return sizes;
    }
    bool isNull() override { return false; }
    QString key() const override { return u"QuillkitPicture"_s; }
    QIconEngine *clone() const override { return new PictureEngine(*this); }

private:
    static bool isRendered(const QSize &size, QIcon::Mode mode, QIcon::State state)
    {
        return mode == QIcon::Normal && state == QIcon::Off && size.width() == size.height()
               && renderedPictureSizes().contains(size.width());
    }

    // The build's rendering at exactly this size, or a null pixmap.
    QPixmap renderedPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) const
    {
        if (!isRendered(size, mode, state))
            return {};
        QString file = m_svgResource;
        file.replace(file.size() - 4, 4, u"-%1.png"_s.arg(size.width()));
        // A picture that the build did not render is drawn from its SVG.
        if (!QFile::exists(file))
            return {};
        // Named as PNG, so that the reader need not ask every image plugin
        // (the SVG one among them) whether it knows the file.
        QImageReader reader(file, "png");
        reader.setAutoDetectImageFormat(false);
        return QPixmap::fromImage(reader.read());
    }

    const QIcon &svg()
    {
        if (!m_svg) {
#if defined(QUILLKIT_NO_SVG)
            // Built without Qt Svg: the renderings, scaled from the nearest.
            QIcon icon;
            for (const int side : renderedPictureSizes())
                icon.addFile(QString(m_svgResource).replace(m_svgResource.size() - 4, 4, u"-%1.png"_s.arg(side)),
                             QSize(side, side));
            m_svg = icon;
#else
            m_svg = QIcon(m_svgResource);
#endif
        }
        return *m_svg;
    }

    QString m_svgResource;
    std::optional<QIcon> m_svg;
};

} // namespace

QList<int> renderedPictureSizes()
{
    return {QUILLKIT_PICTURE_SIZES};
}

QIcon pictureIcon(const QString &svgResource)
{
    Q_ASSERT(svgResource.endsWith(u".svg"_s));
    return QIcon(new PictureEngine(svgResource));
}
