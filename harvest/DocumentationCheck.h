#pragma once

#include "harvest/HarvestReport.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <vector>

class IdentifierTable;

// Documentation coverage: the routines a unit offers its users that no //@
// block documents. Offered are the routines declared in its interface
// section and the public and published methods (a class's first, unlabelled
// section included) of the classes, objects and records declared there.
// A routine is documented by a //@ block above its declaration, or by a row
// of the table for its (qualified) name in its unit: a //@ block above its
// implementation.
namespace DocumentationCheck {

struct Declaration
{
    QString name;        // qualified by its types: TForm1.Create
    int line = 0;        // counted from 1
    bool marked = false; // a //@ block stands right above it
};

// The routines and methods a unit's interface section offers.
std::vector<Declaration> offeredRoutines(QStringView text);

struct Undocumented
{
    QString file;
    int line = 0;
    QString name;
};

class Checker
{
public:
    // The names the table's rows document, unit by unit.
    explicit Checker(const IdentifierTable& table);
    // The offered routines of `file` (its text `text`, its rows under
    // `unit`) that nothing documents.
    std::vector<Undocumented> undocumented(const QString& file, QStringView text, const QString& unit) const;

private:
    QSet<QString> m_documented;
};

// The undocumented routines of every unit a session harvested, in the
// order they were harvested. Throws QuorvelError when a unit can no longer
// be read.
std::vector<Undocumented> check(const HarvestReport& report, const IdentifierTable& table);

} // namespace DocumentationCheck
