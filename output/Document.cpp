#include "output/Document.h"

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
void appendParagraphs(QStringList& paragraphs, const QString& text)
{
    static const QRegularExpression breaks(u"\\r\\n|\\r|\\n"_s);
    paragraphs.append(text.split(breaks));
}

} // namespace

Document::Document(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table)
    : m_prompts(prompts), m_settings(settings), m_table(table)
{}

QStringList Document::paragraphs(const IdentifierTable& table, const DocumentationOptions& options)
{
    QStringList out;
    for (const IdentifierTable::UnitRun& run : table.unitRuns()) {
        appendParagraphs(out, u"Unit "_s % run.unit % u";\r\n"_s);
        for (int line = run.first; line < run.end; ++line) {
            const IdentifierRow& row = table.row(line);
            if (options.includes(RowKinds::kindOf(row)))
                appendParagraphs(out, row.identifier % u"\r\n"_s % row.help % u"\r\n"_s);
        }
    }
    return out;
}

void Document::buildDocument()
{
    m_documentLines = paragraphs(m_table, DocumentationOptions::read(IniFile(m_settings.settingsFile())));
    ++m_revision;
    // The table's cursor is left on the last row, as after walking it.
    if (m_table.rowCount() > 0)
        m_table.setCursor(m_table.rowCount() - 1);
}

void Document::clear()
{
    m_documentLines.clear();
    ++m_revision;
}

std::optional<QString> Document::runSave()
{
    const std::optional<QString> chosen = m_prompts.chooseFileToSave(
        u"Salvar arquivo de ajuda ..."_s, {u"Rich Text Format (*.rtf)"_s}, m_rtfFileName);
    if (!chosen)
        return std::nullopt;
    m_rtfFileName = withRtfExtension(*chosen);
    RtfWriter::save(m_documentLines, m_rtfFileName);
    return m_rtfFileName;
}

QString Document::withRtfExtension(const QString& name)
{
    return UnitPath::extension(name) == u".rtf" ? name : name % u".rtf"_s;
}
