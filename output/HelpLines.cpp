#include "output/HelpLines.h"

#include "common/Fonts.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

QFont boxFont()
{
    installWindowFonts();
    return tahoma(11);
}

// The printable characters of Latin-1, which the box's font has: neither a
// fallback font nor a combining mark can widen a line of them.
bool isPlain(char16_t c)
{
    return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF);
}

} // namespace

HelpLines::HelpLines() : m_font(boxFont()), m_metrics(m_font)
{
    qreal widest = 0;
    for (char16_t c = 0x20; c <= 0xFF; ++c) {
        if (isPlain(c))
            widest = std::max(widest, m_metrics.horizontalAdvance(QChar(c)));
    }
    // Kerning and rounding move a character by less than a pixel at this
    // size; two make the bound safe.
    m_plainBound = widest + 2;
}

bool HelpLines::surelyFits(QStringView line) const
{
    if (static_cast<qreal>(line.size()) * m_plainBound > kWrapWidth)
        return false;
    return std::all_of(line.begin(), line.end(), [](QChar c) { return isPlain(c.unicode()); });
}

QStringList HelpLines::split(const QString& help) const
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = help.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && help[i] != u'\r' && help[i] != u'\n')
            continue;
        lines.append(wrap(help.sliced(start, i - start)));
        if (i + 1 < n && help[i] == u'\r' && help[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList HelpLines::wrap(const QString& line) const
{
    // Most lines fit: a short line of plain characters needs no measuring,
    // and measuring the others is all it takes.
    if (line.isEmpty() || surelyFits(line) || m_metrics.horizontalAdvance(line) <= kWrapWidth)
        return {line};
    // Greedy word wrap, as the box does it: the blanks after a word stay at the
    // end of its line, and a word wider than the box is broken where it
    // reaches the edge. Linear in the line's length, however long the line.
    QStringList out;
    const QStringView text(line);
    const qsizetype n = text.size();
    qsizetype lineStart = 0;
    qreal width = 0;
    qsizetype i = 0;
    while (i < n) {
        qsizetype wordEnd = i;
        while (wordEnd < n && text[wordEnd] != u' ')
            ++wordEnd;
        qsizetype blanksEnd = wordEnd;
        while (blanksEnd < n && text[blanksEnd] == u' ')
            ++blanksEnd;
        const qreal wordWidth = m_metrics.horizontalAdvance(text.sliced(i, wordEnd - i).toString());
        if (width + wordWidth <= kWrapWidth) {
            width += wordWidth + m_metrics.horizontalAdvance(u' ') * static_cast<qreal>(blanksEnd - wordEnd);
            i = blanksEnd;
            continue;
        }
        if (i > lineStart) {
            out.append(text.sliced(lineStart, i - lineStart).toString());
            lineStart = i;
            width = 0;
            if (wordWidth <= kWrapWidth)
                continue;
        }
        // A word wider than the box: as many characters as fit on each line.
        qsizetype k = i;
        while (k < wordEnd) {
            const qreal advance = m_metrics.horizontalAdvance(text[k]);
            if (width + advance > kWrapWidth && k > lineStart) {
                out.append(text.sliced(lineStart, k - lineStart).toString());
                lineStart = k;
                width = 0;
            }
            width += advance;
            ++k;
        }
        width += m_metrics.horizontalAdvance(u' ') * static_cast<qreal>(blanksEnd - wordEnd);
        i = blanksEnd;
    }
    if (lineStart < n)
        out.append(text.sliced(lineStart).toString());
    return out;
}
