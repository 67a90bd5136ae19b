#include "output/HtmlCommand.h"

#include "common/AtomicFile.h"
#include "common/Folders.h"
#include "common/Program.h"
#include "common/UserPrompts.h"
#include "output/HtmlSite.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"

#include "common/QuorvelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

HtmlCommand::HtmlCommand(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table)
    : m_prompts(prompts), m_settings(settings), m_table(table)
{}

HtmlCommand::IdentidadeHTML HtmlCommand::identidadeHTML() const
{
    const IniFile ini(m_settings.arquivoConfiguracao());
    return {ini.readString(u"HTML", u"Aplicacao", u"[APLICAÇÃO]"_s),
            ini.readString(u"HTML", u"Versao", u"[VERSÃO]"_s),
            m_settings.pastaDoHelp(ini.readString(u"HTML", u"Pasta", u"HELP"_s))};
}

bool HtmlCommand::HTMLExecute()
{
    const IdentidadeHTML id = identidadeHTML();
    return GeraHTML(id.aplicacao, id.versao, id.pasta);
}

bool HtmlCommand::GeraHTML(const QString& aplicacao, const QString& versao, const QString& pasta)
{
    const IniFile ini(m_settings.arquivoConfiguracaoHTML());
    const HtmlSite site(FormatoHTML::read(ini), OpcoesDocumentacao::read(ini), Programa::contato());
    if (QFileInfo(pasta).isDir()) {
        const Answer resposta =
            m_prompts.ask(Question{Topic::OverwriteFolder,
                                   u"Já existe a pasta ["_s % pasta % u"],\r\rDeseja sobrescrevê-la ?"_s,
                                   {Answer::Yes, Answer::No},
                                   Answer::Yes,
                                   {},
                                   0});
        if (resposta != Answer::Yes)
            return false;
    }
    // Removes the folder only when it is empty; creates one level only, but
    // for an installed program the documents folder's "Quorvel" too.
    QDir().rmdir(pasta);
    Folders::make(pasta, m_settings.portatil() ? Folders::Levels::Last : Folders::Levels::WithParents);
    site.write(pasta, aplicacao, versao, m_table, [this](int feitas, int total, const QString& arquivo) {
        m_prompts.reportProgress(feitas, total, arquivo);
    });
    // The pages were written without waiting for the disk, each replacing its
    // old one atomically; the site is done once all of them are on it.
    AtomicFile::syncFolder(pasta);
    return true;
}
