#pragma once

#include <QString>

// Where the settings and the help site live. A portable program (a
// "Quorvel.ini" beside it, or a program folder it may write) keeps both in
// its own folder: the program settings file (the program file's path with
// ".ini"), the fixed "Quorvel.ini" the HTML generator reads, and the site in
// the folder + Pasta. An installed one (in a folder it may not write) keeps
// its settings in the user's configuration folder
// ($XDG_CONFIG_HOME/Quorvel/Quorvel.ini) and the site under the user's
// documents folder (Quorvel/ + Pasta). An override (the batch mode's
// --settings) replaces both settings files.
class SettingsLocation
{
public:
    // The folder of the running program, when there is an application.
    SettingsLocation();

    QString settingsFile() const;
    QString siteSettingsFile() const;
    void setSettingsFile(const QString& file) { m_override = file; }

    // The program's folder, with its trailing separator.
    const QString& programFolder() const { return m_programFolder; }
    void setProgramFolder(const QString& folder);

    // True when settings and site stay in the program's folder.
    bool portable() const { return m_portable; }
    // The folder the help site is written to for the option Pasta.
    QString siteFolder(const QString& folder) const;
    // The user's settings file of an installed program.
    static QString userSettingsFile();

private:
    QString m_programFolder;
    QString m_override;
    bool m_portable = true;
};
