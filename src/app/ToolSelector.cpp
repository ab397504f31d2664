// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolSelector.h"

#include "app/Pictures.h"
#include "platform/Accessibility.h"
#include "platform/WindowPlacement.h"
#include "tools/Tool.h"

#include <QAccessible>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QPainter>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace {

// The selector's geometry, in twips: each tool's slot is as tall as a
// picture, its caption and the room between two tools.
constexpr int SelectorWidth = 1200;
constexpr int FirstTop = 120;
constexpr int SlotHeight = 960;
constexpr int BottomMargin = 60;
constexpr int ImageLeft = 360;
constexpr int ImageTwips = 480;
constexpr int PressOffset = 50;
constexpr int CaptionGap = 30;

// The top left corner of the picture of the tool at `index`, at rest, and
// the selector's size for `count` tools.
QPoint imageTwips(int index)
{
    return {ImageLeft, FirstTop + index * SlotHeight};
}

QSize sizeTwips(int count)
{
    return {SelectorWidth, FirstTop + count * SlotHeight + BottomMargin};
}

// Which tool is current: a highlight behind its picture and caption, as a
// list shows its selected item.
class CurrentToolMark : public QWidget
{
public:
    explicit CurrentToolMark(QWidget *parent) : QWidget(parent)
    {
        setObjectName(u"shpCurrentTool"_s);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor fill = palette().color(QPalette::Highlight);
        const QColor edge = fill;
        fill.setAlpha(48);
        painter.setPen(QPen(edge, 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        // With the keyboard in the column, the current tool shows the focus
        // plainly: a firm frame and a dotted line inside it (a style's own
        // focus frame can be too faint to find).
        if (parentWidget()->hasFocus()) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(edge, 2));
            painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(4, 4, -5, -5));
        }
    }
};

} // namespace

SelectorImage::SelectorImage(const QString &objectName, const QString &resource, QWidget *parent) : QLabel(parent)
{
    setObjectName(objectName);
    const int side = twipsToPixels(ImageTwips, this);
    setFixedSize(side, side);
    setPixmap(pictureIcon(resource).pixmap(QSize(side, side), devicePixelRatioF()));
    setCursor(Qt::PointingHandCursor);
}

void SelectorImage::attachCaption(QLabel *caption)
{
    m_caption = caption;
    caption->setCursor(Qt::PointingHandCursor);
    caption->installEventFilter(this);
}

void SelectorImage::mousePressEvent(QMouseEvent *event)
{
    press(event);
}

void SelectorImage::mouseReleaseEvent(QMouseEvent *event)
{
    release(event, rect());
}

bool SelectorImage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_caption) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            press(static_cast<QMouseEvent *>(event));
            return true;
        case QEvent::MouseButtonRelease:
            release(static_cast<QMouseEvent *>(event), m_caption->rect());
            return true;
        default:
            break;
        }
    }
    return QLabel::eventFilter(watched, event);
}

void SelectorImage::press(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseDown();
}

void SelectorImage::release(QMouseEvent *event, const QRect &area)
{
    event->accept();
    // Whether the release counts as a click is decided where it was pressed,
    // before the press look is undone.
    const bool inside = area.contains(event->position().toPoint());
    Q_EMIT mouseUp();
    if (inside && event->button() == Qt::LeftButton)
        Q_EMIT clicked();
}

ToolSelector::ToolSelector(const QList<Tool> &tools, QWidget *parent) : QFrame(parent)
{
    setObjectName(u"picToolFile"_s);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    // Reached with Tab, not by a click: a click picks a tool and goes on to
    // its first field.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleRole(this, QAccessible::List, tr("Tools"));
    setAccessibleDescription(tr("Up and Down pick a tool"));
    const QSize twips = sizeTwips(int(tools.size()));
    const QPoint size = twipsToPixels(QPoint(twips.width(), twips.height()), this);
    setFixedSize(size.x(), size.y());
    m_currentMark = new CurrentToolMark(this);
    for (int index = 0; index < tools.size(); ++index)
        addTool(tools.at(index), index);
}

void ToolSelector::addTool(const Tool &tool, int index)
{
    auto *image = new SelectorImage(u"img"_s + tool.caption, tool.picture, this);
    const QPoint slot = imageTwips(index);
    const QPoint rest = twipsToPixels(slot, image);
    const QPoint pressed = twipsToPixels(slot + QPoint(-PressOffset, PressOffset), image);
    image->move(rest);
    image->setAccessibleName(tool.caption);
    m_images << image;
    m_rest << rest;

    // Images take no focus; Ctrl+1, Ctrl+2... pick the tools from the keyboard.
    const auto choose = [this, index] { Q_EMIT toolChosen(index); };
    if (index < 9) {
        const QKeySequence keys(QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_1 + index)));
        image->setToolTip(u"%1 (%2)"_s.arg(tool.caption, keys.toString(QKeySequence::NativeText)));
        connect(new QShortcut(keys, this), &QShortcut::activated, this, choose);
    }

    // The caption label sits centred under the image and picks the tool too.
    auto *label = new QLabel(tool.caption, this);
    label->setObjectName(u"lbl"_s + tool.caption);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int top = twipsToPixels(QPoint(0, slot.y() + ImageTwips + CaptionGap), image).y();
    label->setGeometry(0, top, width(), label->sizeHint().height());
    m_captions << label;
    image->attachCaption(label);

    // The press look, on any button; undone on release before the click.
    connect(image, &SelectorImage::mouseDown, image, [image, pressed] { image->move(pressed); });
    connect(image, &SelectorImage::mouseUp, image, [image, rest] { image->move(rest); });
    connect(image, &SelectorImage::clicked, this, choose);
}

void ToolSelector::markCurrent(int index)
{
    for (qsizetype at = 0; at < m_captions.size(); ++at) {
        QLabel *caption = m_captions.at(at);
        QFont font = caption->font();
        font.setBold(at == index);
        caption->setFont(font);
    }
    if (index < 0 || index >= m_images.size())
        return;
    m_current = index;
    // What a screen reader says of the column: its name with the tool.
    setAccessibleName(tr("Tools: %1").arg(m_captions.at(index)->text()));
    // Behind the picture at rest and its caption, with room for the press look.
    const QRect image(m_rest.at(index), m_images.at(index)->size());
    const int reach = twipsToPixels(PressOffset, m_currentMark) + 2;
    const QRect area = image.united(m_captions.at(index)->geometry()).adjusted(-reach, -reach, reach, reach);
    m_currentMark->setGeometry(area.intersected(rect().adjusted(2, 2, -2, -2)));
    m_currentMark->lower();
    m_currentMark->show();
}

void ToolSelector::keyPressEvent(QKeyEvent *event)
{
    int index = m_current;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        index = qMax(0, m_current - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        index = qMin(int(count()) - 1, m_current + 1);
        break;
    case Qt::Key_Home:
        index = 0;
        break;
    case Qt::Key_End:
        index = int(count()) - 1;
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
    if (index != m_current && index >= 0) {
        const QScopedValueRollback picking(m_pickingByArrows, true);
        Q_EMIT toolChosen(index);
    }
}

void ToolSelector::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    m_currentMark->update();
}

void ToolSelector::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    m_currentMark->update();
}
