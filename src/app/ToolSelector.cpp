// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ToolSelector.h"

#include "app/Pictures.h"
#include "platform/WindowPlacement.h"
#include "tools/Tool.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
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

// One tool of the column to a screen reader: a list item, selected when it
// is the current tool, focused when the column has the focus as well.
class AccessibleToolItem : public QAccessibleInterface
{
public:
    AccessibleToolItem(ToolSelector *selector, int index) : m_selector(selector), m_index(index) { }

    bool isValid() const override { return m_selector; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_selector ? m_selector->window()->windowHandle() : nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_selector); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!m_selector)
            return {};
        if (t == QAccessible::Name)
            return m_selector->caption(m_index)->text();
        if (t == QAccessible::Description)
            return m_selector->image(m_index)->toolTip();
        return {};
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        if (!m_selector)
            return {};
        const QRect area = m_selector->image(m_index)->geometry().united(m_selector->caption(m_index)->geometry());
        return QRect(m_selector->mapToGlobal(area.topLeft()), area.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!m_selector)
            return state;
        state.selectable = true;
        state.focusable = true;
        state.selected = m_selector->currentIndex() == m_index;
        state.focused = state.selected && m_selector->hasFocus();
        state.invisible = !m_selector->isVisible();
        return state;
    }

private:
    QPointer<ToolSelector> m_selector;
    int m_index;
};

// The column to a screen reader: a list of the tools, the current one
// selected and, with the column focused, focused.
class AccessibleToolSelector : public QAccessibleWidget
{
public:
    explicit AccessibleToolSelector(ToolSelector *selector) : QAccessibleWidget(selector, QAccessible::List) { }
    ~AccessibleToolSelector() override
    {
        for (const QAccessible::Id id : std::as_const(m_items))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(selector()->count()); }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        // Made when first asked for: the column may be asked before its
        // tools are in.
        while (m_items.size() <= index)
            m_items << QAccessible::registerAccessibleInterface(
                new AccessibleToolItem(selector(), int(m_items.size())));
        return QAccessible::accessibleInterface(m_items.at(index));
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (qsizetype index = 0; index < m_items.size(); ++index) {
            if (QAccessible::accessibleInterface(m_items.at(index)) == child)
                return int(index);
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int index = 0; index < childCount(); ++index) {
            if (child(index)->rect().contains(x, y))
                return child(index);
        }
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        return widget()->hasFocus() ? child(selector()->currentIndex()) : nullptr;
    }

private:
    ToolSelector *selector() const { return static_cast<ToolSelector *>(widget()); }

    mutable QList<QAccessible::Id> m_items;
};

QAccessibleInterface *selectorFactory(const QString &className, QObject *object)
{
    if (className == u"ToolSelector"_s && qobject_cast<ToolSelector *>(object))
        return new AccessibleToolSelector(static_cast<ToolSelector *>(object));
    return nullptr;
}

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
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(selectorFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAccessibleName(tr("Tools"));
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
    const bool changed = m_current != index;
    m_current = index;
    // A screen reader follows the current tool as the list's selected item,
    // and its focus while the column has it.
    if (changed && QAccessible::isActive()) {
        if (QAccessibleInterface *item = QAccessible::queryAccessibleInterface(this)->child(index)) {
            QAccessibleEvent selection(item, QAccessible::Selection);
            QAccessible::updateAccessibility(&selection);
            if (hasFocus()) {
                QAccessibleEvent focus(item, QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            }
        }
    }
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
    // The focus is on the current tool's item.
    if (QAccessible::isActive() && m_current >= 0) {
        if (QAccessibleInterface *item = QAccessible::queryAccessibleInterface(this)->child(m_current)) {
            QAccessibleEvent focus(item, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

void ToolSelector::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    m_currentMark->update();
}
