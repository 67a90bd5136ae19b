#include "output/Documentation.h"

#include "common/UnitPath.h"
#include "common/UserPrompts.h"
#include "output/RtfWriter.h"
#include "settings/IniFile.h"
#include "settings/SettingsFiles.h"
#include "settings/SettingsLocation.h"
#include "table/IdentifierTable.h"
#include "table/RowKinds.h"

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

} // namespace

Documento::Documento(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table)
    : m_prompts(prompts), m_settings(settings), m_table(table)
{}

QStringList Documento::paragrafos(const IdentifierTable& table, const OpcoesDocumentacao& opcoes)
{
    QStringList out;
    for (const IdentifierTable::UnitRun& run : table.unitRuns()) {
        acrescenta(out, u"Unit "_s % run.unit % u";\r\n"_s);
        for (int linha = run.first; linha < run.end; ++linha) {
            const IdentifierRow& row = table.row(linha);
            if (opcoes.inclui(RowKinds::kindOf(row)))
                acrescenta(out, row.identificador % u"\r\n"_s % row.helpIdentificador % u"\r\n"_s);
        }
    }
    return out;
}

void Documento::GeraDocumentacao()
{
    m_reDocumentacao =
        paragrafos(m_table, OpcoesDocumentacao::read(IniFile(m_settings.arquivoConfiguracao())));
    ++m_revisao;
    // The table's cursor is left on the last row, as after walking it.
    if (m_table.rowCount() > 0)
        m_table.setCursor(m_table.rowCount() - 1);
}

void Documento::limpa()
{
    m_reDocumentacao.clear();
    ++m_revisao;
}

std::optional<QString> Documento::SalvarExecute()
{
    const std::optional<QString> escolhido = m_prompts.chooseFileToSave(
        u"Salvar arquivo de ajuda ..."_s, {u"Rich Text Format (*.rtf)"_s}, m_nomeArquivoRtf);
    if (!escolhido)
        return std::nullopt;
    m_nomeArquivoRtf = comExtensaoRtf(*escolhido);
    RtfWriter::save(m_reDocumentacao, m_nomeArquivoRtf);
    return m_nomeArquivoRtf;
}

QString Documento::comExtensaoRtf(const QString& nome)
{
    return UnitPath::extension(nome) == u".rtf" ? nome : nome % u".rtf"_s;
}
