// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Accessibility.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QColor>
#include <QComboBox>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr char RoleProperty[] = "quillkitAccessibleRole";

// A checkable push button that acts as one of a set of options: it reads as
// a radio button with its checked state, and pressing it chooses it.
class AccessibleChoiceButton : public QAccessibleWidget
{
public:
    explicit AccessibleChoiceButton(QAbstractButton *button) : QAccessibleWidget(button, QAccessible::RadioButton) { }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty())
            return QString(button()->text()).remove(u'&');
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && button()->isEnabled())
            button()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

// Qt's own interface of a widget, under another role, or with the widget's
// accessible name as its name where Qt gives another: all else (its text,
// its actions, its children) stays Qt's.
class RoleProxy : public QAccessibleInterface
{
public:
    RoleProxy(QAccessibleInterface *inner, std::optional<QAccessible::Role> role) : m_inner(inner), m_role(role)
    {
        // Qt's interface goes with the widget, as this one does; at the end
        // the cache deletes both.
        const QAccessible::Id id = QAccessible::uniqueId(inner);
        QObject *object = inner->object();
        QObject::connect(object, &QObject::destroyed, object, [id] {
            if (QAccessible::accessibleInterface(id))
                QAccessible::deleteAccessibleInterface(id);
        });
    }

    bool isValid() const override { return m_inner->isValid(); }
    QObject *object() const override { return m_inner->object(); }
    QWindow *window() const override { return m_inner->window(); }
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        return m_inner->relations(match);
    }
    QAccessibleInterface *focusChild() const override { return m_inner->focusChild(); }
    QAccessibleInterface *childAt(int x, int y) const override { return m_inner->childAt(x, y); }
    QAccessibleInterface *parent() const override { return m_inner->parent(); }
    QAccessibleInterface *child(int index) const override { return m_inner->child(index); }
    int childCount() const override { return m_inner->childCount(); }
    int indexOfChild(const QAccessibleInterface *child) const override { return m_inner->indexOfChild(child); }
    QString text(QAccessible::Text t) const override
    {
        // Qt names a drop-down on Linux by its value (and lets a label's
        // relation say what it is); a name given to it comes first.
        if (t == QAccessible::Name) {
            if (auto *widget = qobject_cast<QWidget *>(object()); widget && !widget->accessibleName().isEmpty())
                return widget->accessibleName();
        }
        return m_inner->text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override { m_inner->setText(t, text); }
    QRect rect() const override { return m_inner->rect(); }
    QAccessible::Role role() const override { return m_role.value_or(m_inner->role()); }
    QAccessible::State state() const override { return m_inner->state(); }
    QColor foregroundColor() const override { return m_inner->foregroundColor(); }
    QColor backgroundColor() const override { return m_inner->backgroundColor(); }
    void *interface_cast(QAccessible::InterfaceType type) override { return m_inner->interface_cast(type); }

private:
    QAccessibleInterface *m_inner;
    std::optional<QAccessible::Role> m_role;
};

// While the factory asks Qt for its own interface of a widget.
bool askingQt = false;

bool isChoiceButton(const QWidget *widget)
{
    const auto *button = qobject_cast<const QPushButton *>(widget);
    if (!button || !button->isCheckable())
        return false;
    return button->autoExclusive() || (button->group() && button->group()->exclusive());
}

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType() || askingQt)
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    // Asked first with the most derived class: what is decided by the
    // widget rather than by its class is decided there.
    if (className == QLatin1StringView(object->metaObject()->className())) {
        const auto qtsUnder = [widget](std::optional<QAccessible::Role> role) -> QAccessibleInterface * {
            askingQt = true;
            QAccessibleInterface *inner = QAccessible::queryAccessibleInterface(widget);
            askingQt = false;
            return inner ? new RoleProxy(inner, role) : nullptr;
        };
        if (const QVariant role = widget->property(RoleProperty); role.isValid()) {
            // A view of text keeps Qt's text interface under the new role.
            if (qobject_cast<QAbstractScrollArea *>(widget))
                return qtsUnder(QAccessible::Role(role.toInt()));
            return new QAccessibleWidget(widget, QAccessible::Role(role.toInt()));
        }
        if (qobject_cast<QComboBox *>(widget))
            return qtsUnder(std::nullopt);
        if (isChoiceButton(widget))
            return new AccessibleChoiceButton(static_cast<QAbstractButton *>(widget));
    }
    // A frame drawn around parts of a window is no window: Qt's own would
    // report it as one (an AT-SPI frame), and a screen reader then takes the
    // focus inside for another window's.
    if (className == u"QFrame"_s && !widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Client);
    // Reached only when no more derived class had an interface: Qt's own
    // would report a window as a filler.
    if (className == u"QWidget"_s && widget->isWindow()) {
        if (widget->windowType() == Qt::Window)
            return new QAccessibleWidget(widget, QAccessible::Window);
        if (widget->windowType() == Qt::Dialog)
            return new QAccessibleWidget(widget, QAccessible::Dialog);
    }
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(accessibleFactory);
}

void setAccessibleRole(QWidget *widget, QAccessible::Role role, const QString &name)
{
    widget->setProperty(RoleProperty, int(role));
    // An interface that Qt made before (setting a text reports it, and
    // that makes one) goes, so that the next one is made with this role.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(widget); made && made->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    if (!name.isEmpty())
        widget->setAccessibleName(name);
}

QString spokenText(const QString &text, qsizetype limit)
{
    const QString simple = text.simplified();
    if (simple.size() <= limit)
        return simple;
    return simple.left(limit - 1) + u'\u2026';
}

void tabToCheckedChoice(const QList<QAbstractButton *> &options)
{
    const auto update = [options] {
        const bool anyChecked =
            std::any_of(options.cbegin(), options.cend(), [](const QAbstractButton *b) { return b->isChecked(); });
        for (QAbstractButton *option : options) {
            const bool stop = option->isChecked() || (!anyChecked && option == options.constFirst());
            option->setFocusPolicy(stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    for (QAbstractButton *option : options) {
        // The arrow keys then move among the options whatever their focus policy.
        option->setAutoExclusive(true);
        QObject::connect(option, &QAbstractButton::toggled, option, update);
    }
    update();
}

double contrastRatio(const QColor &one, const QColor &other)
{
    const auto luminance = [](const QColor &colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (qMax(a, b) + 0.05) / (qMin(a, b) + 0.05);
}

QColor readableColour(const QColor &wanted, const QColor &background)
{
    constexpr double Enough = 4.5;
    if (contrastRatio(wanted, background) >= Enough)
        return wanted;
    // Towards white on a dark background, towards black on a light one.
    const QColor end = contrastRatio(Qt::white, background) >= contrastRatio(Qt::black, background) ? QColor(Qt::white)
                                                                                                    : QColor(Qt::black);
    for (int step = 1; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed = QColor::fromRgbF(float(wanted.redF() + (end.redF() - wanted.redF()) * t),
                                              float(wanted.greenF() + (end.greenF() - wanted.greenF()) * t),
                                              float(wanted.blueF() + (end.blueF() - wanted.blueF()) * t));
        if (contrastRatio(mixed, background) >= Enough)
            return mixed;
    }
    return end;
}
