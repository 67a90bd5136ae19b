#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The settings file in the common INI layout, read and written with the rules
// users' files rely on: section and key names match without regard to letter
// case; a value is the text after the first '=', trimmed, without a matching
// pair of enclosing quotes, and read up to 2047 characters; writing replaces a
// value in place, or adds the key at the end of its section, or the section at
// the end of the file, and leaves every other line byte for byte as it was.
// The file is Windows-1252 on disk.
class IniFile
{
public:
    // Reads the file now; a missing or unreadable file reads as empty.
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    QString readString(QStringView section, QStringView key, const QString& defaultValue) const;
    bool readBool(QStringView section, QStringView key, bool defaultValue) const;

    // Each write reaches the disk at once and whole: the file is replaced
    // atomically, so a failure leaves it as it was before that write. Throws
    // QuorvelError "Unable to write to <path>" when it cannot be written.
    void writeString(QStringView section, QStringView key, const QString& value);
    void writeBool(QStringView section, QStringView key, bool value);

    static constexpr qsizetype kMaxValueLength = 2047;

    // Writes made while a batch is open reach the disk together, in one
    // atomic replacement, when it is committed: a window saving thirty keys
    // writes the file once. A batch left without a commit (an exception on
    // the way) drops its writes, on disk and in memory alike.
    class Batch
    {
    public:
        explicit Batch(IniFile& ini);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Throws QuorvelError as a single write does; the file then stays as
        // it was before the batch.
        void commit();

    private:
        IniFile& m_ini;
        QStringList m_before;
        bool m_open = true;
    };

private:
    struct Found
    {
        qsizetype sectionLine = -1; // the header line, -1 when the section is missing
        qsizetype keyLine = -1;     // the key's line, -1 when the key is missing
        qsizetype insertAt = -1;    // where a new key of the section goes
    };
    Found find(QStringView section, QStringView key) const;
    void save() const;

    QString m_path;
    QStringList m_lines; // each line with its own line break, if it had one
    bool m_utf8 = false; // the file began with the UTF-8 mark, which a save keeps
    int m_batches = 0;   // open batches: writes wait for the outermost commit
};

// The integer a settings value holds: decimal, or hexadecimal after '$' or
// "0x", with an optional sign. Empty when the text is no integer.
std::optional<qint64> parseSettingsInteger(QStringView text);
