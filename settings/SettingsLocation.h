#pragma once

#include <QString>

// Where the settings are: the program settings file (the program file's path
// with ".ini"), the fixed "Quorvel.ini" of the program's folder that the HTML
// generator reads, and that folder, where the help site goes. An override
// (the batch mode's --settings) replaces both files.
class SettingsLocation
{
public:
    // The folder of the running program, when there is an application.
    SettingsLocation();

    QString arquivoConfiguracao() const;
    QString arquivoConfiguracaoHTML() const;
    void setArquivoConfiguracao(const QString& arquivo) { m_override = arquivo; }

    // The program's folder, with its trailing separator.
    const QString& PastaExecutavel() const { return m_pastaExecutavel; }
    void setPastaExecutavel(const QString& folder) { m_pastaExecutavel = folder; }

private:
    QString m_pastaExecutavel;
    QString m_override;
};
