#pragma once

#include <QString>
#include <QStringView>

// A text that a raw scan took from the unit's text, kept as its place there
// until somebody needs it whole. A hostile unit (a thousand `unit` words and
// no ';') would otherwise copy the rest of its text at every scan; a row
// copies only the part its field keeps.
class DeferredText
{
public:
    DeferredText& operator=(QString text)
    {
        m_text = std::move(text);
        m_length = -1;
        return *this;
    }
    void clear() { *this = QString(); }

    // The text becomes `length` characters of the unit's text from `start`.
    void setSlice(qsizetype start, qsizetype length)
    {
        m_text.clear();
        m_start = start;
        m_length = length;
    }

    // `source` is the unit's text the slice stands in.
    QStringView view(QStringView source) const
    {
        return m_length < 0 ? QStringView(m_text) : source.sliced(m_start, m_length);
    }
    // Copies a slice out, before the unit's text goes away.
    void settle(QStringView source)
    {
        if (m_length >= 0)
            *this = source.sliced(m_start, m_length).toString();
    }

private:
    QString m_text;
    qsizetype m_start = 0;
    qsizetype m_length = -1; // -1: the text is m_text
};
