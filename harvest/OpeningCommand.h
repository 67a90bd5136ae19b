#pragma once

#include "common/Codificacao.h"

#include <QString>

#include <optional>

class IUserPrompts;
class SettingsLocation;
class IdentifierTable;
class ProjectReader;
class TraceLog;
class UnitHarvester;

// The opening command: a file chosen (or named), harvested as a project or a
// unit, its rows placed in the table's ordering.
class OpeningCommand
{
public:
    OpeningCommand(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table,
                   TraceLog& trace, UnitHarvester& harvester, ProjectReader& projects);
    // Overrides the settings' Codificacao (the batch mode's --encoding).
    void setCodificacao(std::optional<Codificacao> codificacao) { m_codificacao = codificacao; }

    // The open dialog, then abreArquivo.
    void AbrirExecute();
    // Empties the trace, harvests the file and applies the ordering. Throws
    // QuorvelError when a file that exists cannot be read; rows stored
    // before stay.
    void abreArquivo(const QString& arquivo);
    // True when the user cancelled the last opening: nothing else of the
    // command runs.
    bool cancelada() const;

private:
    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    std::optional<Codificacao> m_codificacao;
    IdentifierTable& m_table;
    TraceLog& m_trace;
    UnitHarvester& m_harvester;
    ProjectReader& m_projects;
};
