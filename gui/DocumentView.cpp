#include "gui/DocumentView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace {

// The room between the frame and the text, as a text editor leaves it.
constexpr int kMargin = 4;

} // namespace

DocumentView::DocumentView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(1);
}

void DocumentView::setLines(const QStringList& lines)
{
    m_lines = lines;
    m_widestLine = 0;
    for (const QString& line : std::as_const(m_lines)) // a copy otherwise
        m_widestLine = std::max(m_widestLine, static_cast<int>(line.size()));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

int DocumentView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

int DocumentView::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int DocumentView::visibleLines() const
{
    return std::max(1, (viewport()->height() - 2 * kMargin) / lineHeight());
}

void DocumentView::updateScrollBars()
{
    // One step of the vertical bar is one line; the last page ends with the
    // last line.
    const int lines = static_cast<int>(m_lines.size());
    verticalScrollBar()->setPageStep(visibleLines());
    verticalScrollBar()->setRange(0, std::max(0, lines - visibleLines()));
    // The font is the fixed-width one of the document: the widest line is the
    // one with the most characters.
    const int textWidth = m_widestLine * fontMetrics().horizontalAdvance(QLatin1Char('M')) + 2 * kMargin;
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().horizontalAdvance(QLatin1Char('M')));
    horizontalScrollBar()->setRange(0, std::max(0, textWidth - viewport()->width()));
}

void DocumentView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const int first = firstVisibleLine();
    const int last = std::min(static_cast<int>(m_lines.size()), first + visibleLines() + 1);
    const int x = kMargin - horizontalScrollBar()->value();
    int baseline = kMargin + fontMetrics().ascent();
    for (int i = first; i < last; ++i, baseline += height)
        painter.drawText(x, baseline, m_lines.at(i));
}

void DocumentView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void DocumentView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateScrollBars();
}

void DocumentView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QGuiApplication::clipboard()->setText(toPlainText());
        return;
    }
    if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        verticalScrollBar()->setValue(0);
        return;
    }
    if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event); // arrows and pages
}
