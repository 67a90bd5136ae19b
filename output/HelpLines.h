#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

// The lines of a help text as the hidden help box of the main window shows
// them: every line break (CR LF, or CR or LF alone) ends a line, a long line
// is broken where the box wraps words, and a last line that is empty does not
// count. The box is 776 pixels wide and uses the window's font, Tahoma 11
// pixels high.
class HelpLines
{
public:
    HelpLines();

    QStringList split(const QString& help) const;
    // True when the line is short and plain enough to fit without measuring:
    // printable Latin-1, each character no wider than the widest of them.
    bool surelyFits(QStringView line) const;

    // The width the text wraps at: the box less its frame and margins.
    static constexpr qreal kWrapWidth = 776 - 8;

private:
    QStringList wrap(const QString& line) const;

    QFont m_font;
    QFontMetricsF m_metrics;
    qreal m_plainBound = 0; // the widest printable Latin-1 character, and a margin
};
