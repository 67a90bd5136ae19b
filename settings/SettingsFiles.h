#pragma once

#include <QString>

class IniFile;

// Where the settings live, and the keys every reader shares.
namespace SettingsFiles {

// The program settings file: the program file's path with its extension
// replaced by ".ini", or ".ini" appended when it has none.
QString programSettingsPath(const QString& programFile);
// The fixed-name settings file the HTML generator reads: "Quorvel.ini" in the
// program's folder (`pastaPrograma` ends with a separator).
QString fixedSettingsPath(const QString& pastaPrograma);

} // namespace SettingsFiles

// Section opcoes: which kinds of documented rows the documentation includes.
struct OpcoesDocumentacao
{
    bool COrfaos = false;
    bool AjudaGeral = true;
    bool MySQL = true;
    bool ProcFunc = true;

    static OpcoesDocumentacao read(const IniFile& ini);
    void write(IniFile& ini) const;
};
