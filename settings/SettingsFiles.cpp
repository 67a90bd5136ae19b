#include "settings/SettingsFiles.h"

#include "common/UnitPath.h"
#include "settings/IniFile.h"

using namespace Qt::Literals::StringLiterals;

namespace SettingsFiles {

QString programSettingsPath(const QString& programFile)
{
    const QString extension = UnitPath::extension(programFile);
    return programFile.first(programFile.size() - extension.size()) % u".ini"_s;
}

QString fixedSettingsPath(const QString& pastaPrograma)
{
    return pastaPrograma % u"Quorvel.ini"_s;
}

} // namespace SettingsFiles

OpcoesDocumentacao OpcoesDocumentacao::read(const IniFile& ini)
{
    const OpcoesDocumentacao defaults;
    OpcoesDocumentacao o;
    o.COrfaos = ini.readBool(u"opcoes", u"COrfaos", defaults.COrfaos);
    o.AjudaGeral = ini.readBool(u"opcoes", u"AjudaGeral", defaults.AjudaGeral);
    o.MySQL = ini.readBool(u"opcoes", u"MySQL", defaults.MySQL);
    o.ProcFunc = ini.readBool(u"opcoes", u"ProcFunc", defaults.ProcFunc);
    // A name the program does not know reads as the default.
    o.codificacao =
        codificacaoDeNome(ini.readString(u"opcoes", u"Codificacao", nomeCodificacao(defaults.codificacao)))
            .value_or(defaults.codificacao);
    return o;
}

void OpcoesDocumentacao::write(IniFile& ini) const
{
    ini.writeBool(u"opcoes", u"COrfaos", COrfaos);
    ini.writeBool(u"opcoes", u"AjudaGeral", AjudaGeral);
    ini.writeBool(u"opcoes", u"MySQL", MySQL);
    ini.writeBool(u"opcoes", u"ProcFunc", ProcFunc);
    ini.writeString(u"opcoes", u"Codificacao", nomeCodificacao(codificacao));
}
