#pragma once

#include <QString>

// A //# block as the harvest hands it over: the table's name (the //# line's
// text), the comment text gathered below it, and where it stands.
struct TableBlock
{
    QString tableName;
    QString help;
    QString file;
    int line = 0;
};

// The row a //# block becomes.
struct TableRow
{
    QString identifier;
    QString name;
    QString type;
    QString help;
};

// Documents //# blocks: the table dialogue (database/TableDialogue) does it
// with the user and the server. The harvest knows only this, so it depends on
// nothing above it.
class ITableComments
{
public:
    virtual ~ITableComments() = default;
    // May ask questions and describe the table; never fails.
    virtual TableRow describeTable(const TableBlock& block) = 0;
};
