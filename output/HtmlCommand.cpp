// The HTML command: the site's identity and folder from the settings, the
// overwrite question, then the site.
#include "app/QuorvelCore.h"

#include "common/UserPrompts.h"
#include "output/HtmlSite.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

QString QuorvelCore::ContatoPrograma()
{
    return u"contato@quorvel.example"_s;
}

QuorvelCore::IdentidadeHTML QuorvelCore::identidadeHTML() const
{
    const IniFile ini(arquivoConfiguracao());
    return {ini.readString(u"HTML", u"Aplicacao", u"[APLICAÇÃO]"_s),
            ini.readString(u"HTML", u"Versao", u"[VERSÃO]"_s),
            m_PastaExecutavel % ini.readString(u"HTML", u"Pasta", u"HELP"_s)};
}

bool QuorvelCore::HTMLExecute()
{
    const IdentidadeHTML id = identidadeHTML();
    return GeraHTML(id.aplicacao, id.versao, id.pasta);
}

bool QuorvelCore::GeraHTML(const QString& aplicacao, const QString& versao, const QString& pasta)
{
    const IniFile ini(arquivoConfiguracaoHTML());
    const HtmlSite site(FormatoHTML::read(ini), OpcoesDocumentacao::read(ini), ContatoPrograma());
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
    // Removes the folder only when it is empty; creates one level only.
    QDir().rmdir(pasta);
    QDir().mkdir(pasta);
    site.write(pasta, aplicacao, versao, *m_cdsUnits, [this](int feitas, int total, const QString& arquivo) {
        m_prompts.reportProgress(feitas, total, arquivo);
    });
    return true;
}
