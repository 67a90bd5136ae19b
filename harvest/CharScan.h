#pragma once

#include <QStringView>

// A search for one character in one text that remembers its last answer. A
// harvest searches from positions that only move forward, so every later
// search that starts at or before the last place found is answered from
// memory, and the text is scanned once at most, however hostile it is (a
// thousand `unit` words and no ';').
class CharScan
{
public:
    explicit CharScan(char16_t wanted) : m_wanted(wanted) {}

    // Forgets every answer; the next searches are in `text`.
    void reset(QStringView text)
    {
        m_text = text;
        m_from = m_found = -1;
    }

    // The first place at or after `from` that holds the character, or the
    // text's size when none does.
    qsizetype find(qsizetype from)
    {
        const qsizetype n = m_text.size();
        if (from >= n)
            return n;
        if (from >= m_from && from <= m_found)
            return m_found;
        const qsizetype at = m_text.indexOf(QChar(m_wanted), from);
        m_from = from;
        m_found = at < 0 ? n : at;
        return m_found;
    }

private:
    char16_t m_wanted;
    QStringView m_text;
    qsizetype m_from = -1;
    qsizetype m_found = -1;
};
