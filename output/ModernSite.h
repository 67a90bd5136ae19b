#pragma once

#include "settings/HtmlFormat.h"
#include "settings/SettingsFiles.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class IdentifierTable;

// The modern help site: HTML5 pages in UTF-8 with no frames, one per unit,
// an index of every identifier and a search that runs in the browser from
// an index written beside the pages. It works opened from the disk, reads
// fully without JavaScript and loads nothing from outside the site. The
// "Formato HTML" colours and fonts become its CSS variables.
class ModernSite
{
public:
    ModernSite(HtmlFormat format, DocumentationOptions options);

    struct Identity
    {
        QString title;
        QString version; // empty: none is shown
    };
    // Where each unit's rows come from: the unit's file, by the name its
    // rows have.
    void setUnitFiles(QHash<QString, QString> files) { m_unitFiles = std::move(files); }

    // The site's files, by their names inside the site's folder.
    struct File
    {
        QString name;
        QByteArray bytes;
    };
    using Progress = std::function<void(int done, int total, const QString& page)>;
    // Each file is handed to `sink` as soon as it is made, so that a large
    // site is never held whole in memory.
    using Sink = std::function<void(File file)>;
    void makeFiles(const Identity& identity, const IdentifierTable& table, const Sink& sink,
                   const Progress& progress = {}) const;
    // The same, collected.
    std::vector<File> files(const Identity& identity, const IdentifierTable& table) const;

    // Writes the site into `folder`, replacing it whole: the pages are
    // written into a new folder beside it, which takes its place at the end,
    // so a rebuild keeps no page of a unit that is gone and a run that fails
    // leaves the previous site as it was. An existing folder is replaced
    // only when it is empty or a site this style wrote; anything else is
    // refused with QuorvelError, and so is a folder that cannot be written.
    void write(const QString& folder, const Identity& identity, const IdentifierTable& table,
               const Progress& progress = {}) const;

    // The file a modern site keeps at its top, so that a later run knows the
    // folder for one it may replace.
    static QString markerName();

private:
    QString styleSheet() const;

    HtmlFormat m_format;
    DocumentationOptions m_options;
    QHash<QString, QString> m_unitFiles;
};
