#include "output/HelpLines.h"

#include "app/Fonts.h"

#include <QTextLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QFont boxFont()
{
    installWindowFonts();
    QFont font(u"Tahoma"_s);
    font.setPixelSize(11);
    return font;
}

} // namespace

HelpLines::HelpLines() : m_font(boxFont()), m_metrics(m_font)
{}

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
    // Most lines fit: measuring them is far cheaper than laying them out.
    if (line.isEmpty() || m_metrics.horizontalAdvance(line) <= kWrapWidth)
        return {line};
    QTextLayout layout(line, m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList out;
    for (QTextLine text = layout.createLine(); text.isValid(); text = layout.createLine()) {
        text.setLineWidth(kWrapWidth);
        out.append(line.sliced(text.textStart(), text.textLength()));
    }
    layout.endLayout();
    return out;
}
