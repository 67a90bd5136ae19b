#pragma once

#include "output/HelpLines.h"
#include "settings/HtmlFormat.h"
#include "settings/SettingsFiles.h"
#include "table/IdentifierTable.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class IniFile;
class PageWriter;

// The HTML help site: four site-wide pages, the units menu and, for each run of
// rows of one unit, a folder of six pages, all built from the identifier table
// in its current order. Every page is a list of lines written whole, each line
// ended by CR LF, in Windows-1252.
class HtmlSite
{
public:
    HtmlSite(HtmlFormat format, DocumentationOptions options, QString contact);

    // The extension the menu shows after a unit's name, by the name its
    // rows have (".pp", ".lpr"); ".pas" for a name it does not hold.
    void setUnitExtensions(QHash<QString, QString> extensions) { m_unitExtensions = std::move(extensions); }

    // Writes every page into `folder` (which the caller has created), leaving
    // the table's cursor on its last row. Throws QuorvelError "Cannot create
    // file ..." at the first page that cannot be written; pages written
    // before stay.
    // `progress` hears of each unit: rows done, rows in all, the unit's folder.
    using Progress = std::function<void(int done, int total, const QString& folder)>;
    void write(const QString& folder, const QString& application, const QString& version,
               IdentifierTable& table, const Progress& progress = {}) const;

    // The site-wide pages.
    QStringList index(const QString& application) const;
    QStringList header(const QString& application, const QString& version) const;
    QStringList footer(const QString& version) const;
    QStringList message(const QString& application, const QString& version) const;
    // The placeholder page.
    QStringList placeholderPage() const;

    // The folder of a unit: its name with every character a path could abuse
    // replaced by '_', never empty, never only dots.
    static QString folderName(const QString& unit);

    // The folders of one site's units: rows of one unit name share a folder,
    // and two names never do, nor does a name take a site-wide page's name;
    // the later name in menu order gets "_2", "_3", ...
    class UnitFolders
    {
    public:
        QString of(const QString& unit);

    private:
        bool taken(const QString& name) const;
        QHash<QString, QString> m_byUnit;
        QSet<QString> m_taken; // in lower case
    };

    // The page's bytes: Windows-1252, CR LF after every line; a character the
    // code page lacks becomes a numeric character reference.
    static QByteArray bytes(const QStringList& lines);

private:
    // The three sections of a unit's pages, as its rows fill them.
    struct Sections
    {
        QStringList help;
        QStringList routines;
        QStringList tables;
        bool hasHelp = false;
        bool hasRoutines = false;
        bool hasTables = false;
    };
    void writeUnitPages(PageWriter& writer, const QString& folder, IdentifierTable& table,
                        const Progress& progress) const;
    QStringList menuStart() const;
    QString menuItem(const QString& unit, const QString& unitFolder) const;
    // Walks the unit's rows, leaving the table's cursor on each in turn.
    Sections unitSections(IdentifierTable& table, const IdentifierTable::UnitRun& run) const;
    QStringList contents() const;
    QStringList menuItems(const QString& unit, const Sections& sections) const;
    void writeUnitFolderPages(PageWriter& writer, const QString& unitFolder, const QString& unit,
                              Sections sections) const;
    void entry(QStringList& page, const QString& identifier, const QString& help) const;
    const QString& f(HtmlFormatKey key) const { return m_format[key]; }

    HtmlFormat m_format;
    DocumentationOptions m_options;
    QString m_contact;
    HelpLines m_helpLines;
    QHash<QString, QString> m_unitExtensions;
};
