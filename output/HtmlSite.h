#pragma once

#include "output/HelpLines.h"
#include "settings/FormatoHTML.h"
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
    HtmlSite(FormatoHTML formato, OpcoesDocumentacao opcoes, QString contato);

    // Writes every page into `pasta` (which the caller has created), leaving
    // the table's cursor on its last row. Throws QuorvelError "Cannot create
    // file ..." at the first page that cannot be written; pages written
    // before stay.
    // `progresso` hears of each unit: rows done, rows in all, the unit's folder.
    using Progresso = std::function<void(int feitas, int total, const QString& pasta)>;
    void write(const QString& pasta, const QString& aplicacao, const QString& versao, IdentifierTable& tabela,
               const Progresso& progresso = {}) const;

    // The site-wide pages.
    QStringList index(const QString& aplicacao) const;
    QStringList cabecalho(const QString& aplicacao, const QString& versao) const;
    QStringList rodape(const QString& versao) const;
    QStringList mensagem(const QString& aplicacao, const QString& versao) const;
    // The placeholder page.
    QStringList GeraPaginaInexistente() const;

    // The folder of a unit: its name with every character a path could abuse
    // replaced by '_', never empty, never only dots.
    static QString nomePasta(const QString& unit);

    // The folders of one site's units: rows of one unit name share a folder,
    // and two names never do, nor does a name take a site-wide page's name;
    // the later name in menu order gets "_2", "_3", ...
    class PastasUnits
    {
    public:
        QString of(const QString& unit);

    private:
        bool taken(const QString& nome) const;
        QHash<QString, QString> m_byUnit;
        QSet<QString> m_taken; // in lower case
    };

    // The page's bytes: Windows-1252, CR LF after every line; a character the
    // code page lacks becomes a numeric character reference.
    static QByteArray bytes(const QStringList& lines);

private:
    // The three sections of a unit's pages, as its rows fill them.
    struct Secoes
    {
        QStringList ajuda;
        QStringList procedimentos;
        QStringList tabelas;
        bool temAjuda = false;
        bool temProcedimentos = false;
        bool temTabelas = false;
    };
    void GeraPaginasUnits(PageWriter& writer, const QString& pasta, IdentifierTable& tabela,
                          const Progresso& progresso) const;
    QStringList menuInicio() const;
    QString itemMenu(const QString& unit, const QString& pastaUnit) const;
    // Walks the unit's rows, leaving the table's cursor on each in turn.
    Secoes secoesDaUnit(IdentifierTable& tabela, const IdentifierTable::UnitRun& run) const;
    QStringList conteudo() const;
    QStringList menuItens(const QString& unit, const Secoes& secoes) const;
    void escrevePaginasUnit(PageWriter& writer, const QString& pastaUnit, const QString& unit,
                            Secoes secoes) const;
    void entrada(QStringList& pagina, const QString& identificador, const QString& help) const;
    const QString& f(Formato key) const { return m_formato[key]; }

    FormatoHTML m_formato;
    OpcoesDocumentacao m_opcoes;
    QString m_contato;
    HelpLines m_helpLines;
};
