#pragma once

#include <QAccessibleWidget>
#include <QToolBar>
#include <QWidget>

// A screen reader walks the tree of accessible elements, not the screen:
// Qt's own elements list every child widget, hidden ones included (the
// window's data-bound memos, a tool bar's hidden buttons, a scroll bar that
// is not needed). The elements here list only the children the user sees.
class ShownChildrenAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> shownChildren() const;
};

// The main window's area below its tool bar, and its tool bar: widgets of
// their own class, so that their accessible elements are the ones above.
class MainArea : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;
};

class CommandBar : public QToolBar
{
    Q_OBJECT

public:
    using QToolBar::QToolBar;
};

// Makes the elements of MainArea and CommandBar list only what is shown.
void installShownOnlyAccessibility();
