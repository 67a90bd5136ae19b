#include "harvest/TraceLog.h"

#include "harvest/Lexer.h"
#include "harvest/SourceText.h"

#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

void TraceLog::clear()
{
    m_bytes.clear();
    m_lines = 0;
    m_units.clear();
}

void TraceLog::appendUtf8(QStringView text)
{
    // Length first (7 bits a byte), so any text, a NUL included, round-trips.
    const QByteArray nonAscii = [&] {
        for (const QChar c : text) {
            if (c.unicode() >= 0x80)
                return text.toUtf8();
        }
        return QByteArray();
    }();
    auto length = static_cast<quint64>(nonAscii.isNull() ? text.size() : nonAscii.size());
    do {
        m_bytes.append(static_cast<char>((length & 0x7F) | (length > 0x7F ? 0x80 : 0)));
        length >>= 7;
    } while (length != 0);
    if (!nonAscii.isNull()) {
        m_bytes.append(nonAscii);
        return;
    }
    // Most token texts are ASCII: their bytes are the characters.
    const qsizetype base = m_bytes.size();
    m_bytes.resize(base + text.size());
    char* dst = m_bytes.data() + base;
    for (const QChar c : text)
        *dst++ = static_cast<char>(c.unicode());
}

void TraceLog::addToken(Source source, int code, QStringView text)
{
    m_bytes.append(static_cast<char>(source));
    m_bytes.append(static_cast<char>(code));
    appendUtf8(text);
    ++m_lines;
}

void TraceLog::addLine(QStringView text)
{
    addToken(Source::Plain, 0, text);
}

void TraceLog::addUnitTokens(QByteArray bytes, qsizetype lastStart, std::vector<BlockSpan> blocks,
                             Encoding encoding)
{
    bytes.squeeze(); // a reader's buffer has room to spare
    m_units.push_back(UnitTokens{m_bytes.size(), std::move(bytes), lastStart, std::move(blocks), encoding});
}

void TraceLog::appendUnitLines(const UnitTokens& unit, QStringList& out) const
{
    QString text;
    const bool unicodeLetters = SourceText::fromBytes(unit.bytes, text, unit.encoding).utf8;
    qsizetype pos = 0;
    int line = 0;
    Token token;
    size_t block = 0;
    for (;;) {
        const int code = Lexer::next(text, pos, line, token, unicodeLetters);
        while (block < unit.blocks.size() && unit.blocks[block].last < token.start)
            ++block;
        const bool inBlock = block < unit.blocks.size() && unit.blocks[block].from < token.start;
        if (!inBlock)
            out.append(u"PAS ret("_s % QString::number(code) % u") : \""_s % Lexer::text(text, token) % u'"');
        if (code == EndOfText || token.start >= unit.lastStart)
            return;
    }
}

QStringList TraceLog::lines() const
{
    QStringList out;
    out.reserve(m_lines);
    const char* const begin = m_bytes.constData();
    const char* p = begin;
    const char* end = p + m_bytes.size();
    // A text may well begin with U+FEFF, which plain fromUtf8 would drop.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    size_t unit = 0;
    auto unitsUpTo = [&](qsizetype at) {
        for (; unit < m_units.size() && m_units[unit].at <= at; ++unit)
            appendUnitLines(m_units[unit], out);
    };
    while (p < end) {
        unitsUpTo(p - begin);
        const auto source = static_cast<Source>(p[0]);
        const int code = static_cast<signed char>(p[1]);
        p += 2;
        quint64 length = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(*p++);
            length |= quint64(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                break;
        }
        const QString text = decoder.decode(QByteArrayView(p, static_cast<qsizetype>(length)));
        p += length;
        if (source == Source::Plain) {
            out.append(text);
        } else {
            const QString prefix = source == Source::Unit ? u"PAS ret("_s : u"DPR ret("_s;
            out.append(prefix % QString::number(code) % u") : \""_s % text % u'"');
        }
    }
    unitsUpTo(m_bytes.size());
    return out;
}

QString TraceLog::text() const
{
    return lines().join(u'\n');
}
