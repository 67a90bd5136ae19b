#include "gui/ShownOnly.h"

#include <QAccessible>

using namespace Qt::Literals::StringLiterals;

namespace {

QAccessibleInterface* shownOnly(const QString& key, QObject* object)
{
    if (object == nullptr || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == u"MainArea")
        return new ShownChildrenAccessible(widget, QAccessible::Client);
    if (key == u"CommandBar")
        return new ShownChildrenAccessible(widget, QAccessible::ToolBar, widget->windowTitle());
    return nullptr;
}

} // namespace

QList<QWidget*> ShownChildrenAccessible::shownChildren() const
{
    QList<QWidget*> shown;
    for (QObject* child : widget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w != nullptr && !w->isWindow() && !w->isHidden())
            shown.append(w);
    }
    return shown;
}

int ShownChildrenAccessible::childCount() const
{
    return static_cast<int>(shownChildren().size());
}

QAccessibleInterface* ShownChildrenAccessible::child(int index) const
{
    const QList<QWidget*> shown = shownChildren();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown.at(index))
                                              : nullptr;
}

int ShownChildrenAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child == nullptr || !child->object() || !child->object()->isWidgetType())
        return -1;
    return static_cast<int>(shownChildren().indexOf(static_cast<QWidget*>(child->object())));
}

void installShownOnlyAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(shownOnly);
        return true;
    }();
    Q_UNUSED(installed)
}
