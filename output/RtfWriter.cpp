#include "output/RtfWriter.h"

#include "common/AtomicFile.h"
#include "common/QuorvelError.h"
#include "common/Windows1252.h"

using namespace Qt::Literals::StringLiterals;

namespace {

void appendEscaped(QByteArray& out, QStringView text)
{
    static const char* const hex = "0123456789abcdef";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x80 || Windows1252::canEncode(c)) {
            // Control characters too, as code-page escapes: the file keeps
            // every character of the help and stays plain for its readers.
            const auto byte = static_cast<unsigned char>(Windows1252::encodeChar(c));
            out += "\\'";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            // Outside the code page: a Unicode escape with '?' for old readers.
            char32_t code = c;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                code = QChar::surrogateToUcs4(c, text[++i].unicode());
            if (code > 0xFFFF) {
                for (const char16_t unit : {QChar::highSurrogate(code), QChar::lowSurrogate(code)})
                    out += "\\u" + QByteArray::number(static_cast<qint16>(unit)) + '?';
            } else {
                out += "\\u" + QByteArray::number(static_cast<qint16>(code)) + '?';
            }
        }
    }
}

} // namespace

namespace RtfWriter {

QByteArray toRtf(const QStringList& paragraphs)
{
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1046"
           "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}}\r\n"
           "\\viewkind4\\uc1\\pard\\f0\\fs16 ";
    // The last paragraph needs no \par of its own: a document always ends one.
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        appendEscaped(out, paragraphs[i]);
        if (i + 1 < paragraphs.size())
            out += "\\par\r\n";
    }
    out += "\r\n}\r\n";
    return out;
}

void save(const QStringList& paragraphs, const QString& fileName)
{
    AtomicFile::write(fileName, toRtf(paragraphs));
}

} // namespace RtfWriter
