// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DeferredIcon.h"

#include "platform/ScalingIconEngine.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Hands every request to the standard icon, which it fetches on the first.
class DeferredStandardIconEngine : public ScalingIconEngine
{
public:
    DeferredStandardIconEngine(QStyle::StandardPixmap which, const QWidget *widget)
        : m_which(which), m_widget(widget)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // `size` is in device pixels here.
        return icon().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QString iconName() override { return icon().name(); }
    bool isNull() override { return false; }
    QString key() const override { return u"DeferredStandardIcon"_s; }
    QIconEngine *clone() const override { return new DeferredStandardIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!m_fetched) {
            const QStyle *style = m_widget ? m_widget->style() : QApplication::style();
            m_icon = style->standardIcon(m_which, nullptr, m_widget);
            m_fetched = true;
        }
        return m_icon;
    }

    QStyle::StandardPixmap m_which;
    QPointer<const QWidget> m_widget;
    bool m_fetched = false;
    QIcon m_icon;
};

} // namespace

QIcon deferredStandardIcon(QStyle::StandardPixmap which, const QWidget *widget)
{
    return QIcon(new DeferredStandardIconEngine(which, widget));
}

std::optional<QStyle::StandardPixmap> standardPixmap(basic::BoxPicture picture)
{
    switch (picture) {
    case basic::BoxPicture::Critical:
        return QStyle::SP_MessageBoxCritical;
    case basic::BoxPicture::Question:
        return QStyle::SP_MessageBoxQuestion;
    case basic::BoxPicture::Warning:
        return QStyle::SP_MessageBoxWarning;
    case basic::BoxPicture::Information:
        return QStyle::SP_MessageBoxInformation;
    case basic::BoxPicture::None:
        break;
    }
    return std::nullopt;
}
