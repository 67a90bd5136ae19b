#pragma once

#include "database/TableDialogue.h"
#include "harvest/OpeningCommand.h"
#include "harvest/ProjectReader.h"
#include "harvest/TraceLog.h"
#include "harvest/UnitHarvester.h"
#include "output/Documentation.h"
#include "output/HtmlCommand.h"
#include "settings/SettingsLocation.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class IUserPrompts;
class IdentifierTable;

// The working session behind the main window and the batch mode: one of each
// subsystem, wired together, and the names the windows' users know for their
// state and commands. Every call forwards to the subsystem that owns it; the
// facade itself keeps no logic.
class QuorvelCore
{
public:
    explicit QuorvelCore(IUserPrompts& prompts);
    ~QuorvelCore();
    QuorvelCore(const QuorvelCore&) = delete;
    QuorvelCore& operator=(const QuorvelCore&) = delete;

    // The subsystems.
    UnitHarvester& harvester() { return m_harvester; }
    TableDialogue& tabelas() { return m_tabelas; }
    Documento& documento() { return m_documento; }
    SettingsLocation& settings() { return m_settings; }

    // Lexer. `posicao` is 0-based.
    int ProximoToken(const QString& texto, qsizetype& posicao)
    {
        return m_harvester.lexer().ProximoToken(texto, posicao);
    }

    // Harvest and opening commands (harvest/).
    void AbreUnit(const QString& arquivo) { m_harvester.AbreUnit(arquivo); }
    void harvestBytes(QByteArrayView bytes, const QString& arquivo)
    {
        m_harvester.harvestBytes(bytes, arquivo);
    }
    void AbreProjeto(const QString& arquivo) { m_projects.AbreProjeto(arquivo); }
    QStringList unitsDoProjeto(QByteArrayView bytes) { return m_projects.unitsDoProjeto(bytes); }
    void abreArquivo(const QString& arquivo) { m_opening.abreArquivo(arquivo); }
    bool aberturaCancelada() const { return m_opening.cancelada(); }
    void AbrirExecute() { m_opening.AbrirExecute(); }
    // Reads every source as `codificacao` says instead of as the settings do.
    void setCodificacao(std::optional<Codificacao> codificacao) { m_opening.setCodificacao(codificacao); }
    // Empties the table and the document, then runs Abrir. `cleared` runs in
    // between, so that a window shows the empty document while the open
    // dialog is up and the new files are read.
    void NovoExecute(const std::function<void()>& cleared = {});

    // Identifier table and its grid (table/).
    IdentifierTable& cdsUnits() { return *m_cdsUnits; }
    const IdentifierTable& cdsUnits() const { return *m_cdsUnits; }
    void setOrdemColunas(const QList<int>& columns);
    const QList<int>& ordemColunas() const;
    void DBGrid1TitleClick();
    void DBGrid1ColumnMoved(const QList<int>& columns);
    // A click on a cell: its value as text becomes the only line of Memo2.
    void DBGrid1CellClick(int place, int column);
    const QString& Memo2() const { return m_Memo2; }

    // The rich-text document (output/).
    const QStringList& reDocumentacao() const { return m_documento.reDocumentacao(); }
    void GeraDocumentacao() { m_documento.GeraDocumentacao(); }
    int revisaoDocumentacao() const { return m_documento.revisaoDocumentacao(); }
    std::optional<QString> SalvarExecute() { return m_documento.SalvarExecute(); }
    static QString comExtensaoRtf(const QString& nome) { return Documento::comExtensaoRtf(nome); }

    // The table dialogue (database/).
    void ConfiguraDriver() { m_tabelas.ConfiguraDriver(); }
    void ConfiguraConexao(const QList<ParametroConexao>& parametros)
    {
        m_tabelas.ConfiguraConexao(parametros);
    }
    QList<ParametroConexao> parametrosConexaoSalvos() const { return m_tabelas.parametrosConexaoSalvos(); }
    ConexaoMySQL& SQLConnection() { return m_tabelas.SQLConnection(); }
    TabelaDescricao& cdsTable() { return m_tabelas.cdsTable(); }
    using RespostaTabelas = TableDialogue::Resposta;
    void respondeTabelas(RespostaTabelas resposta, const std::optional<QString>& senha = std::nullopt)
    {
        m_tabelas.respondeTabelas(resposta, senha);
    }

    // The hidden trace memo and how the harvest reads.
    TraceLog& Memo1() { return m_Memo1; }
    void setTraceEnabled(bool enabled) { m_harvester.setTraceEnabled(enabled); }
    void setReadEveryToken(bool every) { m_harvester.setReadEveryToken(every); }

    // The settings files and the program's folder (settings/).
    QString arquivoConfiguracao() const { return m_settings.arquivoConfiguracao(); }
    QString arquivoConfiguracaoHTML() const { return m_settings.arquivoConfiguracaoHTML(); }
    void setArquivoConfiguracao(const QString& arquivo) { m_settings.setArquivoConfiguracao(arquivo); }
    QString PastaPrograma() const { return m_settings.PastaExecutavel(); }
    void setPastaExecutavel(const QString& folder) { m_settings.setPastaExecutavel(folder); }

    // The HTML help site (output/).
    using IdentidadeHTML = HtmlCommand::IdentidadeHTML;
    IdentidadeHTML identidadeHTML() const { return m_html.identidadeHTML(); }
    bool HTMLExecute() { return m_html.HTMLExecute(); }
    bool GeraHTML(const QString& aplicacao, const QString& versao, const QString& pasta)
    {
        return m_html.GeraHTML(aplicacao, versao, pasta);
    }

    // Working state, read-only from outside.
    QString TextoToken() const { return m_harvester.lexer().TextoToken(); }
    int CodigoToken() const { return m_harvester.lexer().CodigoToken(); }
    int LinhaAtual() const { return m_harvester.lexer().LinhaAtual(); }
    QString NomeUnit() const { return m_harvester.NomeUnit(); }
    const QString& IdentificadorAtual() const { return m_harvester.IdentificadorAtual(); }
    const QString& NomeIdentificadorAtual() const { return m_harvester.NomeIdentificadorAtual(); }
    QString TipoIdentificadorAtual() const { return m_harvester.TipoIdentificadorAtual(); }
    const QString& HelpAtual() const { return m_harvester.HelpAtual(); }
    const QString& NomeTabela() const { return m_harvester.NomeTabela(); }
    bool IgnorarAvisosOrfaos() const { return m_harvester.IgnorarAvisosOrfaos(); }
    bool ConexaoConfigurada() const { return m_tabelas.ConexaoConfigurada(); }
    bool SimParaTodas() const { return m_tabelas.SimParaTodas(); }
    bool NaoParaTodas() const { return m_tabelas.NaoParaTodas(); }

    IUserPrompts& prompts() { return m_prompts; }

private:
    IUserPrompts& m_prompts;
    SettingsLocation m_settings;
    std::unique_ptr<IdentifierTable> m_cdsUnits;
    TraceLog m_Memo1;
    UnitHarvester m_harvester;
    ProjectReader m_projects;
    OpeningCommand m_opening;
    TableDialogue m_tabelas;
    Documento m_documento;
    HtmlCommand m_html;
    QString m_Memo2;
};
