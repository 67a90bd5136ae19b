#include "table/TableJson.h"

#include "common/QuorvelError.h"
#include "table/IdentifierTable.h"

#include <QIODevice>

using namespace Qt::Literals::StringLiterals;

namespace {

class JsonOut
{
public:
    explicit JsonOut(QIODevice& device) : m_device(device) { m_buffer.reserve(kChunk + 4096); }

    void raw(QByteArrayView bytes)
    {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kChunk)
            flush();
    }

    void string(const QString& text)
    {
        m_buffer.append('"');
        qsizetype plainFrom = 0;
        auto flushPlain = [&](qsizetype to) {
            if (to > plainFrom)
                appendUtf8(QStringView(text).sliced(plainFrom, to - plainFrom));
        };
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c >= 0x20 && c != u'"' && c != u'\\')
                continue;
            flushPlain(i);
            plainFrom = i + 1;
            switch (c) {
            case u'"':
                m_buffer.append("\\\"");
                break;
            case u'\\':
                m_buffer.append("\\\\");
                break;
            case u'\r':
                m_buffer.append("\\r");
                break;
            case u'\n':
                m_buffer.append("\\n");
                break;
            case u'\t':
                m_buffer.append("\\t");
                break;
            default:
                m_buffer.append(u"\\u%1"_s.arg(int(c), 4, 16, QChar(u'0')).toLatin1());
                break;
            }
        }
        flushPlain(text.size());
        m_buffer.append('"');
        if (m_buffer.size() >= kChunk)
            flush();
    }

    void flush()
    {
        if (m_buffer.isEmpty())
            return;
        // Written as bytes, not as the array, so that the device keeps no
        // share of it and the buffer is reused rather than made again.
        if (m_device.write(m_buffer.constData(), m_buffer.size()) != m_buffer.size())
            throw QuorvelError(u"Não foi possível escrever a listagem: "_s % m_device.errorString());
        m_buffer.resize(0);
    }

    void appendUtf8(QStringView text)
    {
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                m_buffer.append(text.toUtf8());
                return;
            }
        }
        // Most texts are ASCII: their bytes are the characters.
        const qsizetype base = m_buffer.size();
        m_buffer.resize(base + text.size());
        char* out = m_buffer.data() + base;
        for (const QChar c : text)
            *out++ = static_cast<char>(c.unicode());
    }

private:
    static constexpr qsizetype kChunk = 1 << 20;
    QIODevice& m_device;
    QByteArray m_buffer;
};

} // namespace

void writeTableJson(const IdentifierTable& table, QIODevice& device)
{
    JsonOut out(device);
    out.raw("[");
    for (int place = 0; place < table.rowCount(); ++place) {
        const IdentifierRow& row = table.row(place);
        out.raw(place == 0 ? "\n  {\"unit\": " : ",\n  {\"unit\": ");
        out.string(row.unit);
        out.raw(
            ", \"nomedocumentacao\": \"\", \"exists\": false, \"documentada\": false, \"identificador\": ");
        out.string(row.identifier);
        out.raw(", \"nomeIdentificador\": ");
        out.string(row.name);
        out.raw(", \"tipoIdentificador\": ");
        out.string(row.type);
        out.raw(", \"helpIdentificador\": ");
        out.string(row.help);
        out.raw(", \"linhaIdentificador\": ");
        out.raw(QByteArray::number(row.line));
        out.raw("}");
    }
    out.raw(table.rowCount() > 0 ? "\n]\n" : "]\n");
    out.flush();
}
