#pragma once

#include "common/Encoding.h"

#include <QByteArray>
#include <QStringList>
#include <QStringView>

#include <vector>

// The hidden trace memo: one line per token a harvest loop reads. It is a
// diagnostic nobody looks at in normal use, so it is kept as compact bytes and
// turned into text only when it is read. A unit's lines are not even kept:
// its bytes are, with what the harvest skipped, and the lines are made again
// by lexing when somebody reads them.
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

    // The tokens read inside a block: those starting after `from`, the start
    // of the loop's token that opened it, up to `last`, the start of the last
    // token the block read.
    struct BlockSpan
    {
        qsizetype from;
        qsizetype last;
    };
    // A unit's lines: one per token of the text made from `bytes` (as
    // SourceText::fromBytes makes it) from the first up to the one starting
    // at `lastStart`, leaving out those starting inside a block span.
    // `encoding` is how the harvest read the bytes, so the lines are made
    // from the same text.
    void addUnitTokens(QByteArray bytes, qsizetype lastStart, std::vector<BlockSpan> blocks,
                       Encoding encoding = Encoding::Auto);

    bool isEmpty() const { return m_bytes.isEmpty() && m_units.empty(); }
    QStringList lines() const;
    // All lines, each ended by a line feed but the last.
    QString text() const;

private:
    void appendUtf8(QStringView text);

    struct UnitTokens
    {
        qsizetype at; // its place among the lines of m_bytes
        QByteArray bytes;
        qsizetype lastStart;
        std::vector<BlockSpan> blocks;
        Encoding encoding;
    };
    void appendUnitLines(const UnitTokens& unit, QStringList& out) const;

    QByteArray m_bytes; // per line: source byte, code byte, text length, UTF-8 text
    qsizetype m_lines = 0;
    std::vector<UnitTokens> m_units;
};
