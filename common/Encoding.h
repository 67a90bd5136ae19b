#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// How the bytes of a source file are read: Auto takes UTF-8 when the file
// starts with its byte-order mark, or when it holds a byte above 127 and is
// valid UTF-8 throughout; otherwise Windows-1252. The other two force one.
enum class Encoding
{
    Auto,
    Windows1252,
    Utf8,
};

// The names the settings (key Codificacao) and the command line use:
// "auto", "windows-1252", "utf-8".
QString encodingName(Encoding encoding);
std::optional<Encoding> encodingFromName(QStringView name);

namespace Utf8 {

inline constexpr QByteArrayView kBom{"\xEF\xBB\xBF", 3};

// The offset of the first byte that does not belong to a well-formed UTF-8
// sequence (overlong forms, surrogates and code points past U+10FFFF
// included), or -1 when every byte does.
qsizetype firstInvalid(QByteArrayView bytes);

} // namespace Utf8
