#include "settings/IniFile.h"

#include "common/AtomicFile.h"
#include "common/Encoding.h"
#include "common/FileReading.h"
#include "common/Folders.h"
#include "common/QuorvelError.h"
#include "common/Windows1252.h"

#include <QFileInfo>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringView withoutBreak(QStringView line)
{
    while (!line.isEmpty() && (line.back() == u'\n' || line.back() == u'\r'))
        line.chop(1);
    return line;
}

// The name of a section header line, or an empty view when it is none.
std::optional<QStringView> sectionName(QStringView line)
{
    const QStringView trimmed = withoutBreak(line).trimmed();
    if (trimmed.size() < 2 || trimmed.front() != u'[')
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimmed.sliced(1, close - 1).trimmed();
}

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A value never spans lines: a line break inside it is written as a blank.
QString oneLineValue(const QString& value)
{
    QString out = value;
    for (QChar& c : out) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return out;
}

} // namespace

std::optional<qint64> parseSettingsInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.startsWith(u'$')) {
        base = 16;
        text = text.sliced(1);
    } else if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.sliced(2);
    }
    // Past 15 digits the value would not fit; such a text is no setting.
    if (text.isEmpty() || text.size() > 15)
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        const int digit = digitValue(c);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    QByteArray bytes;
    try {
        FileReading::read(m_path, bytes);
    } catch (const QuorvelError&) {
        return; // a settings file that cannot be read is no settings file
    }
    // A file a modern editor saved with the UTF-8 mark is UTF-8, and stays so.
    m_utf8 = bytes.startsWith(Utf8::kBom);
    const QString text = m_utf8 ? QString::fromUtf8(QByteArrayView(bytes).sliced(Utf8::kBom.size()))
                                : Windows1252::decode(bytes);
    // Keep every line with its own break, so untouched lines stay as they were.
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n'))) {
            m_lines.append(text.sliced(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < text.size())
        m_lines.append(text.sliced(start));
}

IniFile::Found IniFile::find(QStringView section, QStringView key) const
{
    Found found;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const std::optional<QStringView> name = sectionName(m_lines[i]);
        if (!name || !sameName(*name, section))
            continue;
        found.sectionLine = i;
        found.insertAt = i + 1;
        for (qsizetype j = i + 1; j < m_lines.size() && !sectionName(m_lines[j]); ++j) {
            const QStringView line = withoutBreak(m_lines[j]);
            if (!line.trimmed().isEmpty())
                found.insertAt = j + 1;
            const qsizetype eq = line.indexOf(u'=');
            if (eq >= 0 && found.keyLine < 0 && sameName(line.first(eq).trimmed(), key))
                found.keyLine = j;
        }
        return found;
    }
    return found;
}

QString IniFile::readString(QStringView section, QStringView key, const QString& defaultValue) const
{
    const Found found = find(section, key);
    if (found.keyLine < 0)
        return defaultValue;
    const QStringView line = withoutBreak(m_lines[found.keyLine]);
    QStringView value = line.sliced(line.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.first(std::min(value.size(), kMaxValueLength)).toString();
}

bool IniFile::readBool(QStringView section, QStringView key, bool defaultValue) const
{
    const QString text = readString(section, key, QString());
    const std::optional<qint64> value = parseSettingsInteger(text);
    return value ? *value != 0 : defaultValue;
}

void IniFile::writeString(QStringView section, QStringView key, const QString& value)
{
    const QString clean = oneLineValue(value);
    const QStringList before = m_lines;
    const Found found = find(section, key);
    if (found.keyLine >= 0) {
        const QString line = m_lines[found.keyLine];
        const QStringView body = withoutBreak(line);
        m_lines[found.keyLine] =
            body.first(body.indexOf(u'=') + 1) % clean % QStringView(line).sliced(body.size());
    } else if (found.sectionLine >= 0) {
        // The line before the new key must end with a break.
        QString& previous = m_lines[found.insertAt - 1];
        if (!previous.endsWith(u'\n') && !previous.endsWith(u'\r'))
            previous += u"\r\n"_s;
        m_lines.insert(found.insertAt, key % u'=' % clean % u"\r\n"_s);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().endsWith(u'\n') && !m_lines.last().endsWith(u'\r'))
            m_lines.last() += u"\r\n"_s;
        m_lines.append(u'[' % section % u"]\r\n"_s);
        m_lines.append(key % u'=' % clean % u"\r\n"_s);
    }
    if (m_batches > 0)
        return;
    try {
        save();
    } catch (...) {
        m_lines = before; // what is in memory stays what is on disk
        throw;
    }
}

IniFile::Batch::Batch(IniFile& ini) : m_ini(ini), m_before(ini.m_lines)
{
    ++m_ini.m_batches;
}

IniFile::Batch::~Batch()
{
    if (!m_open)
        return;
    --m_ini.m_batches;
    m_ini.m_lines = m_before;
}

void IniFile::Batch::commit()
{
    if (!m_open)
        return;
    m_open = false;
    if (--m_ini.m_batches > 0)
        return; // the outer batch saves
    try {
        m_ini.save();
    } catch (...) {
        m_ini.m_lines = m_before;
        throw;
    }
}

void IniFile::writeBool(QStringView section, QStringView key, bool value)
{
    writeString(section, key, value ? u"1"_s : u"0"_s);
}

void IniFile::save() const
{
    const QString text = m_lines.join(QString());
    const QByteArray bytes = m_utf8 ? Utf8::kBom.toByteArray() + text.toUtf8() : Windows1252::encode(text);
    const QString path = QFileInfo(m_path).absoluteFilePath();
    // An installed program's configuration folder may not exist yet on the
    // first save.
    try {
        Folders::make(QFileInfo(path).absolutePath(), Folders::Levels::WithParents);
    } catch (const QuorvelError&) {
        throw QuorvelError(u"Unable to write to "_s % path);
    }
    if (!AtomicFile::tryWrite(m_path, bytes))
        throw QuorvelError(u"Unable to write to "_s % path);
}
