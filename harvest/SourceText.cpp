#include "harvest/SourceText.h"

#include "common/QuorvelError.h"
#include "common/Windows1252.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF", 3);

// Copies `in` with every line break made CR LF and a final CR LF added to a
// last line that lacks one.
template <typename Char, typename Map> QString normalizeLines(const Char* in, qsizetype n, Map toUtf16)
{
    qsizetype extra = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (in[i] == '\r') {
            if (i + 1 < n && in[i + 1] == '\n')
                ++i;
            else
                ++extra;
        } else if (in[i] == '\n') {
            ++extra;
        }
    }
    const bool needsFinalBreak = n > 0 && in[n - 1] != '\r' && in[n - 1] != '\n';
    QString out(n + extra + (needsFinalBreak ? 2 : 0), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const Char ch = in[i];
        if (ch == '\r' || ch == '\n') {
            *dst++ = u'\r';
            *dst++ = u'\n';
            if (ch == '\r' && i + 1 < n && in[i + 1] == '\n')
                ++i;
        } else {
            *dst++ = toUtf16(ch);
        }
    }
    if (needsFinalBreak) {
        *dst++ = u'\r';
        *dst++ = u'\n';
    }
    return out;
}

} // namespace

namespace SourceText {

QString fromBytes(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    if (bytes.startsWith(kUtf8Bom)) {
        const QString decoded = QString::fromUtf8(bytes.sliced(kUtf8Bom.size()));
        return normalizeLines(decoded.utf16(), decoded.size(), [](char16_t c) { return c; });
    }
    return normalizeLines(bytes.data(), bytes.size(),
                          [](char c) { return Windows1252::toUnicode(static_cast<unsigned char>(c)); });
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw QuorvelError(u"Cannot open file \""_s % path % u"\". "_s % file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw QuorvelError(u"Cannot read file \""_s % path % u"\". "_s % file.errorString());
    return bytes;
}

} // namespace SourceText
