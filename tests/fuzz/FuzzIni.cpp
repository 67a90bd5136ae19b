// The settings file over any bytes: reading never fails, and a written key
// reads back as written (line breaks as blanks, characters outside
// Windows-1252 as '?' unless the file is UTF-8 with its mark) while another
// key keeps the value it had.
#include "common/Windows1252.h"
#include "settings/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Quorvel.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\x01');
    const QString value = QString::fromLatin1(split < 0 ? QByteArray() : bytes.mid(split + 1, 40)).trimmed();

    IniFile ini(path);
    const QString other = ini.readString(u"FormatoHTML", u"clCab", QStringLiteral("<none>"));
    ini.readBool(u"opcoes", u"COrfaos", true);
    ini.writeString(u"HTML", u"Aplicacao", value);

    const IniFile again(path);
    // A file is Windows-1252, where what the code page lacks is written as
    // '?', unless it starts with the UTF-8 mark, which keeps every character.
    QString expected =
        bytes.startsWith("\xEF\xBB\xBF") ? value : Windows1252::decode(Windows1252::encode(value));
    expected.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    expected = expected.trimmed();
    // A value in matching quotes reads without them.
    if (expected.size() >= 2 && (expected.front() == u'"' || expected.front() == u'\'') &&
        expected.back() == expected.front())
        expected = expected.mid(1, expected.size() - 2);
    if (again.readString(u"HTML", u"Aplicacao", QStringLiteral("<none>")) != expected)
        std::abort();
    if (again.readString(u"FormatoHTML", u"clCab", QStringLiteral("<none>")) != other)
        std::abort();
    return 0;
}
