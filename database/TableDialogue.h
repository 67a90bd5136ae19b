#pragma once

#include "common/UserPrompts.h"
#include "harvest/TableComments.h"

#include <QList>

#include <memory>
#include <optional>

class ConexaoMySQL;
class SettingsLocation;
class TabelaDescricao;

// The //# table dialogue: asks whether to describe each table, shows the
// connection dialog, describes the table on the server and appends the
// description to its notes. It owns the connection, the last description and
// the standing answers, which hold until the program ends.
class TableDialogue : public ITableComments
{
public:
    TableDialogue(IUserPrompts& prompts, const SettingsLocation& settings);
    ~TableDialogue() override;
    TableDialogue(const TableDialogue&) = delete;
    TableDialogue& operator=(const TableDialogue&) = delete;

    LinhaTabela DocumentaTabela(const BlocoTabela& bloco) override;

    // The connection dialog, and the hand-over of its rows to the connection.
    void ConfiguraDriver();
    void ConfiguraConexao(const QList<ParametroConexao>& parametros);
    // The connection rows as the settings file holds them, with their defaults.
    QList<ParametroConexao> parametrosConexaoSalvos() const;

    // Answers the dialogue for the whole run, without asking (batch mode):
    // none stores every table without description; all describes every table
    // with the saved connection rows (and `senha`, when given).
    enum class Resposta
    {
        Nenhuma,
        Todas
    };
    void respondeTabelas(Resposta resposta, const std::optional<QString>& senha = std::nullopt);

    ConexaoMySQL& SQLConnection() { return *m_SQLConnection; }
    TabelaDescricao& cdsTable() { return *m_cdsTable; }
    bool ConexaoConfigurada() const { return m_ConexaoConfigurada; }
    bool SimParaTodas() const { return m_SimParaTodas; }
    bool NaoParaTodas() const { return m_NaoParaTodas; }

private:
    LinhaTabela semDescricao(const BlocoTabela& bloco) const;
    LinhaTabela descreveOuAvisa(const BlocoTabela& bloco);
    // The row with the table's description appended to its notes when the
    // server gives it; `descrita` tells whether it did.
    LinhaTabela DescreveTabela(const BlocoTabela& bloco, bool& descrita);
    void avisaTabela(const BlocoTabela& bloco, const QString& texto);

    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    std::unique_ptr<ConexaoMySQL> m_SQLConnection;
    std::unique_ptr<TabelaDescricao> m_cdsTable;
    bool m_ConexaoConfigurada = false;
    bool m_SimParaTodas = false;
    bool m_NaoParaTodas = false;
};
