#include "settings/SettingsLocation.h"

#include "settings/SettingsFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

SettingsLocation::SettingsLocation()
{
    if (QCoreApplication::instance())
        setPastaExecutavel(QCoreApplication::applicationDirPath() % u'/');
}

void SettingsLocation::setPastaExecutavel(const QString& folder)
{
    m_pastaExecutavel = folder;
    // The settings file beside the program wins; otherwise a folder the user
    // may write is a portable copy, one the system owns an installed program.
    m_portatil = QFile::exists(SettingsFiles::fixedSettingsPath(folder)) ||
                 ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString SettingsLocation::arquivoDoUsuario()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) %
           u"/Quorvel/Quorvel.ini"_s;
}

QString SettingsLocation::arquivoConfiguracao() const
{
    if (!m_override.isEmpty())
        return m_override;
    if (!m_portatil)
        return arquivoDoUsuario();
    return SettingsFiles::programSettingsPath(QCoreApplication::applicationFilePath());
}

QString SettingsLocation::arquivoConfiguracaoHTML() const
{
    if (!m_override.isEmpty())
        return m_override;
    if (!m_portatil)
        return arquivoDoUsuario();
    return SettingsFiles::fixedSettingsPath(m_pastaExecutavel);
}

QString SettingsLocation::pastaDoHelp(const QString& pasta) const
{
    if (m_portatil)
        return m_pastaExecutavel % pasta;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) % u"/Quorvel/"_s % pasta;
}
