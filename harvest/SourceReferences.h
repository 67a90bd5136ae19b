#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// What a Pascal source refers to outside itself, as the compiler reads it:
// the units of its uses (and a package's contains) clauses, and the files
// its {$I} and {$INCLUDE} directives put in its place. Comments and string
// literals hide both; conditionals are not evaluated, so every directive
// counts.
namespace SourceReferences {

struct UsedUnit
{
    QString name;   // as written, dotted names whole (System.SysUtils)
    QString inFile; // the path of "in '...'", when given
    int line = 0;   // counted from 1
};

struct Include
{
    QString name; // as written, quotes removed
    int line = 0; // of the directive, counted from 1
};

struct References
{
    std::vector<UsedUnit> units;
    std::vector<Include> includes;
};

References scan(QStringView text);

} // namespace SourceReferences
