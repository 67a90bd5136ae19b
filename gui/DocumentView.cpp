#include "gui/DocumentView.h"

#include "gui/ShownOnly.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <climits>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// The room between the frame and the text, as a text editor leaves it.
constexpr int kMargin = 4;

// What a screen reader reads of the view: its lines through the text
// interface, line by line without joining the whole document for each line.
class DocumentViewAccessible : public ShownChildrenAccessible, public QAccessibleTextInterface
{
public:
    explicit DocumentViewAccessible(DocumentView* view)
        : ShownChildrenAccessible(view, QAccessible::EditableText)
    {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        state.focusable = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return view()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !view()->hasSelection())
            return;
        const int anchor = view()->offsetOf(view()->anchor());
        const int caret = view()->offsetOf(view()->caret());
        *startOffset = std::min(anchor, caret);
        *endOffset = std::max(anchor, caret);
    }
    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int) override { view()->select(view()->caret(), view()->caret()); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        view()->select(view()->positionAt(startOffset), view()->positionAt(endOffset));
    }
    int cursorPosition() const override { return view()->offsetOf(view()->caret()); }
    void setCursorPosition(int position) override
    {
        const DocumentView::Position at = view()->positionAt(position);
        view()->select(at, at);
    }
    QString text(int startOffset, int endOffset) const override
    {
        return view()->textBetween(startOffset, endOffset);
    }
    int characterCount() const override { return view()->characterCount(); }
    QRect characterRect(int offset) const override
    {
        const QRect inViewport = view()->characterRect(view()->positionAt(offset));
        return QRect(view()->viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        return view()->offsetOf(view()->positionAtPoint(view()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int) override { view()->scrollTo(view()->positionAt(startIndex)); }
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

    // A line is read from the view's own lines.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
        return lineText(view()->positionAt(offset).line, startOffset, endOffset);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, boundary, startOffset, endOffset);
        return lineText(view()->positionAt(offset).line - 1, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override
    {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, boundary, startOffset, endOffset);
        return lineText(view()->positionAt(offset).line + 1, startOffset, endOffset);
    }

private:
    DocumentView* view() const { return static_cast<DocumentView*>(widget()); }

    // The line with its line feed, if one follows it.
    QString lineText(int line, int* startOffset, int* endOffset) const
    {
        const QStringList& lines = view()->lines();
        if (line < 0 || line >= lines.size()) {
            *startOffset = *endOffset = -1;
            return {};
        }
        *startOffset = view()->offsetOf({line, 0});
        const bool last = line + 1 == lines.size();
        *endOffset = *startOffset + static_cast<int>(lines.at(line).size()) + (last ? 0 : 1);
        return last ? lines.at(line) : lines.at(line) % u'\n';
    }
};

QAccessibleInterface* accessibleDocumentView(const QString& key, QObject* object)
{
    if (key == u"DocumentView" && object != nullptr && object->isWidgetType())
        return new DocumentViewAccessible(static_cast<DocumentView*>(object));
    return nullptr;
}

} // namespace

DocumentView::DocumentView(QWidget* parent) : QAbstractScrollArea(parent)
{
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleDocumentView);
        return true;
    }();
    Q_UNUSED(accessibleInstalled)
    setAccessibleName(u"Documentação"_s);
    setFocusPolicy(Qt::StrongFocus);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    verticalScrollBar()->setSingleStep(1);
    m_lineStarts.push_back(0);
}

void DocumentView::setLines(const QStringList& lines)
{
    m_lines = lines;
    m_widestLine = 0;
    m_lineStarts.clear();
    m_lineStarts.reserve(static_cast<size_t>(m_lines.size()) + 1);
    int start = 0;
    for (const QString& line : std::as_const(m_lines)) { // a copy otherwise
        m_lineStarts.push_back(start);
        start += static_cast<int>(line.size()) + 1;
        m_widestLine = std::max(m_widestLine, static_cast<int>(line.size()));
    }
    if (m_lineStarts.empty())
        m_lineStarts.push_back(0);
    m_anchor = m_caret = Position{};
    m_preferredColumn = 0;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::TextUpdated);
        QAccessible::updateAccessibility(&changed);
    }
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

// The document as one text ---------------------------------------------------

int DocumentView::characterCount() const
{
    if (m_lines.isEmpty())
        return 0;
    return m_lineStarts.back() + static_cast<int>(m_lines.constLast().size());
}

int DocumentView::offsetOf(Position position) const
{
    const Position p = clamped(position);
    return m_lines.isEmpty() ? 0 : m_lineStarts[static_cast<size_t>(p.line)] + p.column;
}

DocumentView::Position DocumentView::positionAt(int offset) const
{
    if (m_lines.isEmpty())
        return {};
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), std::max(0, offset));
    const int line = static_cast<int>(after - m_lineStarts.begin()) - 1;
    return clamped({line, offset - m_lineStarts[static_cast<size_t>(line)]});
}

QString DocumentView::textBetween(int start, int end) const
{
    const Position from = positionAt(std::min(start, end));
    const Position to = positionAt(std::max(start, end));
    if (from.line == to.line)
        return m_lines.isEmpty() ? QString()
                                 : m_lines.at(from.line).mid(from.column, to.column - from.column);
    QString text = m_lines.at(from.line).mid(from.column);
    for (int line = from.line + 1; line < to.line; ++line)
        text += u'\n' % m_lines.at(line);
    return text % u'\n' % QStringView(m_lines.at(to.line)).first(to.column);
}

QString DocumentView::selectedText() const
{
    return textBetween(offsetOf(m_anchor), offsetOf(m_caret));
}

DocumentView::Position DocumentView::clamped(Position position) const
{
    if (m_lines.isEmpty())
        return {};
    const int line = std::clamp(position.line, 0, static_cast<int>(m_lines.size()) - 1);
    return {line, std::clamp(position.column, 0, static_cast<int>(m_lines.at(line).size()))};
}

// Places on the screen --------------------------------------------------------

int DocumentView::xOf(Position position) const
{
    const QString& line = m_lines.at(position.line);
    return kMargin - horizontalScrollBar()->value() + fontMetrics().horizontalAdvance(line, position.column);
}

QRect DocumentView::characterRect(Position position) const
{
    if (m_lines.isEmpty())
        return {};
    const Position p = clamped(position);
    const QString& line = m_lines.at(p.line);
    const int width = p.column < line.size() ? fontMetrics().horizontalAdvance(line.at(p.column)) : 1;
    const int y = kMargin + (p.line - firstVisibleLine()) * lineHeight();
    return QRect(xOf(p), y, width, lineHeight());
}

DocumentView::Position DocumentView::positionAtPoint(QPoint point) const
{
    if (m_lines.isEmpty())
        return {};
    const int row = point.y() < kMargin ? -1 : (point.y() - kMargin) / lineHeight();
    const Position lineStart = clamped({firstVisibleLine() + row, 0});
    const QString& line = m_lines.at(lineStart.line);
    // The boundary between characters nearest the point: the advance grows
    // with the count of characters, so a binary search finds it.
    const int x = point.x() - (kMargin - horizontalScrollBar()->value());
    int low = 0;
    int high = static_cast<int>(line.size());
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fontMetrics().horizontalAdvance(line, middle) <= x)
            low = middle;
        else
            high = middle - 1;
    }
    if (low < line.size()) {
        const int left = fontMetrics().horizontalAdvance(line, low);
        const int right = fontMetrics().horizontalAdvance(line, low + 1);
        if (x - left > right - x)
            ++low;
    }
    return {lineStart.line, low};
}

void DocumentView::scrollTo(Position position)
{
    const Position p = clamped(position);
    if (p.line < firstVisibleLine())
        verticalScrollBar()->setValue(p.line);
    else if (p.line >= firstVisibleLine() + visibleLines())
        verticalScrollBar()->setValue(p.line - visibleLines() + 1);
    if (m_lines.isEmpty())
        return;
    const int x = xOf(p);
    if (x < kMargin)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (kMargin - x));
    else if (x > viewport()->width() - kMargin)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + x - (viewport()->width() - kMargin));
}

// The caret and the selection -------------------------------------------------

void DocumentView::select(Position anchor, Position caret)
{
    m_anchor = clamped(anchor);
    moveCaret(caret, true);
}

void DocumentView::selectAll()
{
    if (m_lines.isEmpty())
        return;
    m_anchor = {};
    moveCaret({static_cast<int>(m_lines.size()) - 1, static_cast<int>(m_lines.constLast().size())}, true);
}

void DocumentView::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void DocumentView::moveCaret(Position to, bool extend)
{
    const bool hadSelection = hasSelection();
    m_caret = clamped(to);
    if (!extend)
        m_anchor = m_caret;
    scrollTo(m_caret);
    viewport()->update();
    if (!QAccessible::isActive())
        return;
    QAccessibleTextCursorEvent moved(this, offsetOf(m_caret));
    QAccessible::updateAccessibility(&moved);
    if (hasSelection() || hadSelection) {
        const int anchor = offsetOf(m_anchor);
        const int caret = offsetOf(m_caret);
        QAccessibleTextSelectionEvent selected(this, std::min(anchor, caret), std::max(anchor, caret));
        selected.setCursorPosition(caret);
        QAccessible::updateAccessibility(&selected);
    }
}

// Drawing ---------------------------------------------------------------------

void DocumentView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int height = lineHeight();
    const int first = firstVisibleLine();
    const int last = std::min(static_cast<int>(m_lines.size()), first + visibleLines() + 1);
    const int x = kMargin - horizontalScrollBar()->value();
    const Position from = std::min(m_anchor, m_caret);
    const Position to = std::max(m_anchor, m_caret);
    int top = kMargin;
    for (int i = first; i < last; ++i, top += height) {
        const QString& line = m_lines.at(i);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(x, top + fontMetrics().ascent(), line);
        if (hasSelection() && i >= from.line && i <= to.line) {
            const int start = i == from.line ? from.column : 0;
            const int end = i == to.line ? to.column : static_cast<int>(line.size());
            const int left = xOf({i, start});
            // A line break inside the selection shows as a little room.
            const int right = xOf({i, end}) + (i < to.line ? fontMetrics().horizontalAdvance(u' ') : 0);
            const QRect band(left, top, right - left, height);
            painter.fillRect(band, palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
            painter.setClipRect(band);
            painter.drawText(x, top + fontMetrics().ascent(), line);
            painter.setClipping(false);
        }
    }
    if (!hasFocus())
        return;
    if (!m_lines.isEmpty() && m_caret.line >= first && m_caret.line < last) {
        const int caretX = xOf(m_caret);
        const int caretTop = kMargin + (m_caret.line - first) * height;
        painter.fillRect(caretX, caretTop, 1, height, palette().color(QPalette::Text));
    }
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = viewport()->rect().adjusted(1, 1, -1, -1);
    focus.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
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

void DocumentView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void DocumentView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// Input -----------------------------------------------------------------------

bool DocumentView::moveByKey(const QKeyEvent* event)
{
    const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    const int lastLine = std::max(0, static_cast<int>(m_lines.size()) - 1);
    int lines = 0; // a move up or down by lines
    Position to = m_caret;
    switch (event->key()) {
    case Qt::Key_Up:
        lines = -1;
        break;
    case Qt::Key_Down:
        lines = 1;
        break;
    case Qt::Key_PageUp:
        lines = -visibleLines();
        break;
    case Qt::Key_PageDown:
        lines = visibleLines();
        break;
    case Qt::Key_Home:
        to = control ? Position{} : Position{m_caret.line, 0};
        break;
    case Qt::Key_End:
        to = control
                 ? Position{lastLine, m_lines.isEmpty() ? 0 : static_cast<int>(m_lines.constLast().size())}
                 : Position{m_caret.line,
                            m_lines.isEmpty() ? 0 : static_cast<int>(m_lines.at(m_caret.line).size())};
        break;
    case Qt::Key_Left:
        to = m_caret.column > 0 || m_caret.line == 0 ? Position{m_caret.line, m_caret.column - 1}
                                                     : Position{m_caret.line - 1, INT_MAX};
        break;
    case Qt::Key_Right:
        to = m_lines.isEmpty() || m_caret.column < m_lines.at(m_caret.line).size() || m_caret.line == lastLine
                 ? Position{m_caret.line, m_caret.column + 1}
                 : Position{m_caret.line + 1, 0};
        break;
    default:
        return false;
    }
    if (lines != 0) {
        // Up and down keep to the column the caret last moved to sideways.
        to = {m_caret.line + lines, m_preferredColumn};
        // Without Shift the page moves, and the caret with it, as a viewer's.
        if (!extend)
            verticalScrollBar()->setValue(firstVisibleLine() + lines);
    }
    moveCaret(to, extend);
    if (lines == 0)
        m_preferredColumn = m_caret.column;
    return true;
}

void DocumentView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (moveByKey(event))
        return;
    QAbstractScrollArea::keyPressEvent(event);
}

void DocumentView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    moveCaret(positionAtPoint(event->position().toPoint()), event->modifiers().testFlag(Qt::ShiftModifier));
}

void DocumentView::mouseMoveEvent(QMouseEvent* event)
{
    if (!event->buttons().testFlag(Qt::LeftButton))
        return;
    moveCaret(positionAtPoint(event->position().toPoint()), true);
    m_preferredColumn = m_caret.column;
}

void DocumentView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copyAction = menu.addAction(u"&Copiar"_s, this, &DocumentView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    QAction* all = menu.addAction(u"Selecionar &tudo"_s, this, &DocumentView::selectAll);
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(!m_lines.isEmpty());
    menu.exec(event->globalPos());
}
