#include "platform/accessibility.h"

#include "controls/glyphlabel.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <cmath>

namespace {

class GlyphButton : public QAccessibleWidget
{
public:
    explicit GlyphButton(GlyphLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return label()->spokenName();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override
    {
        if (actionName != pressAction())
            return;
        // After the reader has its answer: a click may open a modal dialog, which would hold
        // the reply for as long as the dialog is up.
        QTimer::singleShot(0, label(), [label = QPointer(label())] {
            if (label)
                label->click();
        });
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    GlyphLabel* label() const { return static_cast<GlyphLabel*>(widget()); }
};

class Slider : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    Slider(QWidget* widget, Accessibility::Range& range)
        : QAccessibleWidget(widget, QAccessible::Slider), m_range(range)
    {
    }

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return m_range.accessibleValue(); }
    void setCurrentValue(const QVariant& value) override
    {
        bool isNumber = false;
        const double wanted = value.toDouble(&isNumber);
        if (isNumber && std::isfinite(wanted))
            m_range.requestAccessibleValue(wanted);
    }
    QVariant maximumValue() const override { return m_range.accessibleMaximum(); }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    Accessibility::Range& m_range;
};

bool isGrip(const QAccessibleInterface* child)
{
    const auto* label = qobject_cast<const GlyphLabel*>(child->object());
    return label != nullptr && label->isGrip();
}

// A window of the program's own: a frame named by its title. A size grip is dragged only,
// with nothing to press or read, and is left out as readers expect of window decorations.
class Window : public QAccessibleWidget
{
public:
    explicit Window(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return int(shown().size()); }
    QAccessibleInterface* child(int index) const override { return shown().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return int(shown().indexOf(child));
    }

private:
    QList<QAccessibleInterface*> shown() const
    {
        QList<QAccessibleInterface*> children;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface* child = QAccessibleWidget::child(i);
            if (child != nullptr && !isGrip(child))
                children.append(child);
        }
        return children;
    }
};

// Qt keeps what this returns in its own cache and deletes it with the object.
QAccessibleInterface* makeInterface(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr)
        return nullptr;
    if (auto* label = qobject_cast<GlyphLabel*>(widget))
        return new GlyphButton(label);
    if (auto* range = dynamic_cast<Accessibility::Range*>(widget))
        return new Slider(widget, *range);
    // Reached only when no class below QWidget has an interface of its own: dialogs, menus
    // and tool tips keep theirs.
    const Qt::WindowType type = widget->windowType();
    if (className == u"QWidget" && widget->isWindow() && (type == Qt::Window || type == Qt::Tool))
        return new Window(widget);
    return nullptr;
}

} // namespace

namespace Accessibility {

void install()
{
    QAccessible::installFactory(makeInterface);
}

void valueChanged(QWidget& range, double value)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(&range, value);
    QAccessible::updateAccessibility(&event);
}

} // namespace Accessibility
