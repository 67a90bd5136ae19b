#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

#include <vector>

// The documentation view documentLines: the document's lines, read-only.
// It keeps the lines as the core made them, shared rather than copied, and
// draws only the ones in sight, so that a document of tens of megabytes shows
// at once and scrolls as a small one does.
//
// What a read-only text view gives is here too: a caret, a selection made by
// the mouse (a drag, Shift+click) or the keyboard (Shift with the arrows, the
// page keys, Home and End), Ctrl+A, Ctrl+C for the selection, a context menu
// with Copiar and Selecionar tudo, a focus frame, and an accessible text
// interface through which a screen reader reads the lines.
//
// The plain arrow and page keys scroll the view, and the caret moves with it.
class DocumentView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // A place in the document: a line and a character in it, from 0.
    struct Position
    {
        int line = 0;
        int column = 0;
        auto operator<=>(const Position&) const = default;
    };

    explicit DocumentView(QWidget* parent = nullptr);

    void setLines(const QStringList& lines);
    void clear() { setLines({}); }
    const QStringList& lines() const { return m_lines; }
    // The lines, each ended by a line feed but the last.
    QString toPlainText() const { return m_lines.join(u'\n'); }
    // The first line in sight, counted from 0.
    int firstVisibleLine() const;

    // The view never lets its text be edited; the flag is kept for the steps
    // that lift and restore it around a change, as an editor's would be.
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }

    Position caret() const { return m_caret; }
    Position anchor() const { return m_anchor; }
    bool hasSelection() const { return m_anchor != m_caret; }
    QString selectedText() const;
    // Selects from `anchor` to `caret` (either may come first) and scrolls the
    // caret into sight.
    void select(Position anchor, Position caret);
    void selectAll();
    void copy() const;

    // The document as one text, lines joined by line feeds: its length, and
    // the offset of a position in it and back, for the accessible interface.
    int characterCount() const;
    int offsetOf(Position position) const;
    Position positionAt(int offset) const;
    QString textBetween(int start, int end) const;
    // The rectangle of a character in the viewport, and the position under a
    // point of it.
    QRect characterRect(Position position) const;
    Position positionAtPoint(QPoint point) const;
    void scrollTo(Position position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateScrollBars();
    int lineHeight() const;
    int visibleLines() const;
    int xOf(Position position) const; // in the viewport
    Position clamped(Position position) const;
    // Moves the caret; the anchor stays when `extend`, else follows.
    void moveCaret(Position to, bool extend);
    bool moveByKey(const QKeyEvent* event);

    QStringList m_lines;
    std::vector<int> m_lineStarts; // the offset of each line in the joined text
    int m_widestLine = 0;          // in characters
    bool m_readOnly = true;
    Position m_anchor;
    Position m_caret;
    int m_preferredColumn = 0; // where up and down keep the caret
};
