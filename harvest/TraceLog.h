#pragma once

#include <QByteArray>
#include <QStringList>
#include <QStringView>

// The hidden trace memo: one line per token a harvest loop reads. It is a
// diagnostic nobody looks at in normal use, so it is kept as compact bytes and
// turned into text only when it is read.
class TraceLog
{
public:
    enum class Source : char
    {
        Unit = 'P',    // "PAS ret(" lines of the unit harvester
        Project = 'D', // "DPR ret(" lines of the project reader
        Plain = 'T',   // a line of text as it stands
    };

    void clear();
    void addToken(Source source, int code, QStringView text);
    void addLine(QStringView text);

    bool isEmpty() const { return m_bytes.isEmpty(); }
    qsizetype lineCount() const { return m_lines; }
    QStringList lines() const;
    // All lines, each ended by a line feed but the last.
    QString text() const;

private:
    void appendUtf8(QStringView text);

    QByteArray m_bytes; // per line: source byte, code byte, text length, UTF-8 text
    qsizetype m_lines = 0;
};
