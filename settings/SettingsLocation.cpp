#include "settings/SettingsLocation.h"

#include "settings/SettingsFiles.h"

#include <QCoreApplication>

using namespace Qt::Literals::StringLiterals;

SettingsLocation::SettingsLocation()
{
    if (QCoreApplication::instance())
        m_pastaExecutavel = QCoreApplication::applicationDirPath() % u'/';
}

QString SettingsLocation::arquivoConfiguracao() const
{
    if (!m_override.isEmpty())
        return m_override;
    return SettingsFiles::programSettingsPath(QCoreApplication::applicationFilePath());
}

QString SettingsLocation::arquivoConfiguracaoHTML() const
{
    if (!m_override.isEmpty())
        return m_override;
    return SettingsFiles::fixedSettingsPath(m_pastaExecutavel);
}
