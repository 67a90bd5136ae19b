#pragma once

#include <QByteArrayView>
#include <QStringList>

class IUserPrompts;
class TraceLog;
class UnitHarvester;

// The project reader: harvests every unit whose path a project file names,
// in order, through the unit harvester, whose lexer state it shares.
class ProjectReader
{
public:
    ProjectReader(IUserPrompts& prompts, UnitHarvester& harvester, TraceLog& trace);

    // A project that does not exist gets the missing-file message; so does
    // each unit it names that does not. Throws QuorvelError when a file that
    // exists cannot be read.
    void AbreProjeto(const QString& arquivo);
    // Every literal of a project's text, lower-cased (the unit paths among them).
    QStringList unitsDoProjeto(QByteArrayView bytes);

private:
    QStringList LeProjeto(const QString& texto);
    // The project's units that are read: the ".pas" paths, resolved against
    // the project's folder.
    static QStringList caminhosDasUnits(const QString& arquivo, const QStringList& literais);

    IUserPrompts& m_prompts;
    UnitHarvester& m_harvester;
    TraceLog& m_trace;
};
