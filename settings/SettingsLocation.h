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

    QString arquivoConfiguracao() const;
    QString arquivoConfiguracaoHTML() const;
    void setArquivoConfiguracao(const QString& arquivo) { m_override = arquivo; }

    // The program's folder, with its trailing separator.
    const QString& PastaExecutavel() const { return m_pastaExecutavel; }
    void setPastaExecutavel(const QString& folder);

    // True when settings and site stay in the program's folder.
    bool portatil() const { return m_portatil; }
    // The folder the help site is written to for the option Pasta.
    QString pastaDoHelp(const QString& pasta) const;
    // The user's settings file of an installed program.
    static QString arquivoDoUsuario();

private:
    QString m_pastaExecutavel;
    QString m_override;
    bool m_portatil = true;
};
