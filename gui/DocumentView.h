#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

// The documentation view reDocumentacao: the document's lines, read-only.
// It keeps the lines as the core made them, shared rather than copied, and
// draws only the ones in sight, so that a document of tens of megabytes shows
// at once and scrolls as a small one does. The keyboard scrolls it; Ctrl+A or
// Ctrl+C puts the whole document on the clipboard.
class DocumentView : public QAbstractScrollArea
{
    Q_OBJECT

public:
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateScrollBars();
    int lineHeight() const;
    int visibleLines() const;

    QStringList m_lines;
    int m_widestLine = 0; // in characters
    bool m_readOnly = true;
};
