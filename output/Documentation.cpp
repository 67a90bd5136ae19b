// The rich-text documentation: built from the identifier table into the
// document view, and saved as a Rich Text Format file.
#include "app/QuorvelCore.h"

#include "harvest/UnitPath.h"
#include "output/RtfWriter.h"
#include "settings/IniFile.h"
#include "settings/SettingsFiles.h"
#include "table/IdentifierTable.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace {

// Appends `text` and one line break: every break inside the text (CR LF, or a
// lone CR or LF) and the one after it end a paragraph.
void acrescenta(QStringList& paragrafos, const QString& text)
{
    static const QRegularExpression breaks(u"\\r\\n|\\r|\\n"_s);
    paragrafos.append(text.split(breaks));
}

bool incluida(const IdentifierRow& row, const OpcoesDocumentacao& opcoes)
{
    if (row.tipoIdentificador == QuorvelCore::TipoOrfao())
        return opcoes.COrfaos;
    if (row.tipoIdentificador == QuorvelCore::TipoHelp())
        return opcoes.AjudaGeral;
    if (row.tipoIdentificador == QuorvelCore::TipoTabela())
        return opcoes.MySQL;
    return opcoes.ProcFunc && IdentifierTable::ehRotina(row.identificador);
}

} // namespace

void QuorvelCore::GeraDocumentacao()
{
    const OpcoesDocumentacao opcoes = OpcoesDocumentacao::read(IniFile(arquivoConfiguracao()));
    QStringList paragrafos;
    const IdentifierTable& tabela = *m_cdsUnits;
    int linha = 0;
    while (linha < tabela.rowCount()) {
        const QString unit = tabela.row(linha).unit;
        acrescenta(paragrafos, u"Unit "_s % unit % u";\r\n"_s);
        for (; linha < tabela.rowCount() && tabela.row(linha).unit == unit; ++linha) {
            const IdentifierRow& row = tabela.row(linha);
            if (incluida(row, opcoes))
                acrescenta(paragrafos, row.identificador % u"\r\n"_s % row.helpIdentificador % u"\r\n"_s);
        }
    }
    m_reDocumentacao = paragrafos;
    ++m_revisaoDocumentacao;
    // The table's cursor is left on the last row, as after walking it.
    if (tabela.rowCount() > 0)
        m_cdsUnits->setCursor(tabela.rowCount() - 1);
}

std::optional<QString> QuorvelCore::SalvarExecute()
{
    const std::optional<QString> escolhido = m_prompts.chooseFileToSave(
        u"Salvar arquivo de ajuda ..."_s, {u"Rich Text Format (*.rtf)"_s}, m_nomeArquivoRtf);
    if (!escolhido)
        return std::nullopt;
    m_nomeArquivoRtf = comExtensaoRtf(*escolhido);
    RtfWriter::save(m_reDocumentacao, m_nomeArquivoRtf);
    return m_nomeArquivoRtf;
}

QString QuorvelCore::comExtensaoRtf(const QString& nome)
{
    return UnitPath::extension(nome) == u".rtf" ? nome : nome % u".rtf"_s;
}
