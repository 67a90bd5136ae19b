#include "settings/SettingsLocation.h"

#include "common/ProgramFile.h"
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

SettingsLocation::SettingsLocation()
{
    setProgramFolder(ProgramFile::folder());
}

void SettingsLocation::setProgramFolder(const QString& folder)
{
    m_programFolder = folder;
    // The settings file beside the program wins; otherwise a folder the user
    // may write is a portable copy, one the system owns an installed program.
    m_portable = QFile::exists(SettingsFiles::fixedSettingsPath(folder)) ||
                 ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

namespace {

// The user's home folder, always absolute: a relative HOME would move the
// settings with the current folder, so the account's own folder is used.
QString homeFolder()
{
    const QString home = qEnvironmentVariable("HOME");
    if (home.startsWith(u'/'))
        return home;
    if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir[0] == '/')
        return QFile::decodeName(account->pw_dir);
    return u"/"_s;
}

} // namespace

QString SettingsLocation::userSettingsFile()
{
    // The XDG rules: a relative XDG_CONFIG_HOME is ignored, as if unset.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.startsWith(u'/'))
        config = homeFolder() % u"/.config"_s;
    return config % u"/Quorvel/Quorvel.ini"_s;
}

QString SettingsLocation::settingsFile() const
{
    if (!m_override.isEmpty())
        return m_override;
    if (!m_portable)
        return userSettingsFile();
    return SettingsFiles::programSettingsPath(ProgramFile::path());
}

QString SettingsLocation::siteSettingsFile() const
{
    if (!m_override.isEmpty())
        return m_override;
    if (!m_portable)
        return userSettingsFile();
    return SettingsFiles::fixedSettingsPath(m_programFolder);
}

QString SettingsLocation::siteFolder(const QString& folder) const
{
    if (m_portable)
        return m_programFolder % folder;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.startsWith(u'/'))
        documents = homeFolder() % u"/Documents"_s;
    return documents % u"/Quorvel/"_s % folder;
}
