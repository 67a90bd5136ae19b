#include "app/BatchMode.h"

#include "app/QuorvelCore.h"
#include "common/Encoding.h"
#include "common/ErrorText.h"
#include "common/Outcome.h"
#include "common/Program.h"
#include "common/QuorvelError.h"
#include "common/UserPrompts.h"
#include "output/RtfWriter.h"
#include "table/IdentifierTable.h"
#include "table/RowKinds.h"
#include "table/TableJson.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

namespace {

void writeLine(QIODevice& device, const QString& line)
{
    device.write((line % u'\n').toUtf8());
}

// Answers from the command line: nothing waits for a user. Every message goes
// to the error stream, one line each.
class BatchPrompts : public IUserPrompts
{
public:
    explicit BatchPrompts(QIODevice& err) : m_err(err) {}

    Answer ask(const Question& question) override
    {
        if (!question.warning.text.isEmpty()) {
            warn(question.warning);
            ++m_warnings;
        } else if (question.topic == Topic::OverwriteFolder) {
            // Nobody is there to answer: the folder is reused only when
            // --force says so, and the line says how.
            if (!m_overwrite)
                writeLine(m_err, u"A pasta do help já existe: "_s % question.file %
                                     u". Use --force para reaproveitá-la."_s);
        } else {
            QString where;
            if (!question.file.isEmpty())
                where = question.file %
                        (question.line > 0 ? u':' % QString::number(question.line) : QString()) % u": "_s;
            writeLine(m_err, where % oneLine(question.text));
        }
        if (question.topic == Topic::TableNotice)
            m_tableFailed = true;
        if (question.topic == Topic::OverwriteFolder)
            return m_overwrite ? Answer::Yes : Answer::No;
        return answerWithoutAButton(question);
    }

    void showMessage(const QString& text, const QString& file, const SourceWarning& warning) override
    {
        if (!warning.text.isEmpty()) {
            warn(warning);
        } else {
            writeLine(m_err, (file.isEmpty() ? QString() : file % u": "_s) % oneLine(text));
        }
        m_failed = true;
    }

    void showError(const QString& text) override
    {
        writeLine(m_err, oneLine(text));
        m_failed = true;
    }

    std::optional<QString> chooseFileToOpen(const QString&, const QStringList&) override { return {}; }
    std::optional<QString> chooseFileToSave(const QString&, const QStringList&, const QString&) override
    {
        return {};
    }
    std::optional<quint32> chooseColor(quint32) override { return {}; }
    std::optional<QList<ConnectionParameter>> editConnection(const QList<ConnectionParameter>&) override
    {
        return {};
    }
    std::optional<SampleFont> chooseFont(const SampleFont&) override { return {}; }

    // --force answers the overwrite question with Yes.
    void setOverwrite(bool yes) { m_overwrite = yes; }
    bool failed() const { return m_failed; }
    bool tableFailed() const { return m_tableFailed; }
    // The warnings about the sources printed so far.
    int warnings() const { return m_warnings; }

    // One line in the form compilers use: "FILE:LINE: aviso: TEXT".
    void warn(const SourceWarning& warning)
    {
        const QString line = warning.line > 0 ? u':' % QString::number(warning.line) : QString();
        writeLine(m_err, warning.file % line % u": aviso: "_s % oneLine(warning.text));
    }

private:
    static QString oneLine(QString text)
    {
        // Line breaks of a dialog text become single blanks.
        text.replace(u"\r\n"_s, u"\r"_s);
        static const QRegularExpression breaks(u"[\\r\\n]+"_s);
        return text.replace(breaks, u" "_s);
    }

    QIODevice& m_err;
    bool m_failed = false;
    bool m_tableFailed = false;
    bool m_overwrite = false;
    int m_warnings = 0;
};

// The command line's options, and what a run was asked to do.
class Options
{
public:
    Options()
    {
        m_parser.setApplicationDescription(u"Quorvel: documentação de programas Object Pascal."_s);
        m_parser.addOptions({m_list, m_check, m_order, m_settings, m_describe, m_encoding, m_rtf, m_html,
                             m_output, m_force, m_siteStyle, m_siteTitle, m_siteVersion, m_verbose, m_help,
                             m_version});
        m_parser.addPositionalArgument(
            u"arquivos"_s, u"Projetos (.dpr, .lpr, .dpk, .lpi, .lpk, .dproj) ou units (.pas, .pp)."_s,
            u"[arquivo...]"_s);
    }

    // Success when the arguments can run, else the reason they cannot.
    Outcome parse(const QStringList& arguments)
    {
        if (!m_parser.parse(arguments))
            return Outcome::failure(m_parser.errorText());
        if (wantsHelp() || wantsVersion())
            return Outcome::success();
        if (!m_parser.isSet(m_html) &&
            (m_parser.isSet(m_output) || m_parser.isSet(m_force) || m_parser.isSet(m_siteStyle) ||
             m_parser.isSet(m_siteTitle) || m_parser.isSet(m_siteVersion)))
            return Outcome::failure(u"--output, --force e --site-* só valem com --html."_s);
        if (m_parser.isSet(m_siteStyle) && !siteStyle())
            return Outcome::failure(u"--site-style aceita classic ou modern."_s);
        if (m_parser.isSet(m_output) && m_parser.value(m_output).isEmpty())
            return Outcome::failure(u"--output precisa do nome de uma pasta."_s);
        if ((!lists() && !checks() && !rtf() && !html()) || files().isEmpty())
            return Outcome::failure(
                u"Uso: Quorvel [--list] [--check] [--rtf ARQUIVO.rtf] [--html [--output PASTA] [--force] "
                u"[--site-style classic|modern] [--site-title TÍTULO] [--site-version VERSÃO]] "
                u"[--order CAMPOS] [--settings ARQUIVO] [--describe none|all] "
                u"[--encoding auto|windows-1252|utf-8] [--verbose] ARQUIVO..."_s);
        m_columns = IdentifierTable::parseOrdering(m_parser.value(m_order));
        if (!m_columns)
            return Outcome::failure(u"Ordenação inválida: \"%1\". Campos possíveis: %2."_s.arg(
                m_parser.value(m_order), IdentifierTable::initialOrdering().replace(u';', u", "_s)));
        const QString describe = m_parser.value(m_describe);
        if (describe != u"none" && describe != u"all")
            return Outcome::failure(u"--describe aceita none ou all."_s);
        if (m_parser.isSet(m_encoding) && !encodingFromName(m_parser.value(m_encoding)))
            return Outcome::failure(u"--encoding aceita auto, windows-1252 ou utf-8."_s);
        return Outcome::success();
    }

    bool wantsHelp() const { return m_parser.isSet(m_help); }
    bool wantsVersion() const { return m_parser.isSet(m_version); }
    QString helpText() const { return m_parser.helpText(); }
    bool lists() const { return m_parser.isSet(m_list); }
    bool checks() const { return m_parser.isSet(m_check); }
    bool verbose() const { return m_parser.isSet(m_verbose); }
    bool rtf() const { return m_parser.isSet(m_rtf); }
    QString rtfFile() const { return m_parser.value(m_rtf); }
    bool html() const { return m_parser.isSet(m_html); }
    std::optional<QString> output() const
    {
        return m_parser.isSet(m_output) ? std::optional(m_parser.value(m_output)) : std::nullopt;
    }
    bool force() const { return m_parser.isSet(m_force); }
    // The site's style and identity as the command line gives them.
    std::optional<SiteStyle> siteStyle() const
    {
        const QString style = m_parser.value(m_siteStyle);
        if (style == u"classic")
            return SiteStyle::Classic;
        if (style == u"modern")
            return SiteStyle::Modern;
        return std::nullopt;
    }
    HtmlCommand::Overrides siteOverrides() const
    {
        auto given = [this](const QCommandLineOption& option) {
            return m_parser.isSet(option) ? std::optional(m_parser.value(option)) : std::nullopt;
        };
        return {siteStyle(), given(m_siteTitle), given(m_siteVersion)};
    }
    std::optional<QString> settings() const
    {
        return m_parser.isSet(m_settings) ? std::optional(m_parser.value(m_settings)) : std::nullopt;
    }
    bool describesAll() const { return m_parser.value(m_describe) == u"all"; }
    // Nothing: as the settings say.
    std::optional<Encoding> encoding() const
    {
        return m_parser.isSet(m_encoding) ? encodingFromName(m_parser.value(m_encoding)) : std::nullopt;
    }
    QList<int> columns() const { return m_columns.value_or(IdentifierTable::initialColumnOrder()); }
    QStringList files() const { return m_parser.positionalArguments(); }

private:
    QCommandLineParser m_parser;
    const QCommandLineOption m_list{u"list"_s,
                                    u"Lê os arquivos e escreve a tabela de identificadores em JSON."_s};
    const QCommandLineOption m_check{
        u"check"_s, u"Lê os arquivos e lista os avisos e as rotinas da interface sem comentário //@ "
                    u"(saída 3 quando há algo a relatar)."_s};
    const QCommandLineOption m_verbose{
        u"verbose"_s,
        u"Diz também quais units usadas ficaram fora das pastas do projeto e não foram lidas."_s};
    const QCommandLineOption m_order{
        u"order"_s,
        u"Campos da ordenação, separados por ';' (padrão: %1)."_s.arg(IdentifierTable::initialOrdering()),
        u"campos"_s, IdentifierTable::initialOrdering()};
    const QCommandLineOption m_help{{u"h"_s, u"help"_s}, u"Mostra esta ajuda."_s};
    const QCommandLineOption m_version{{u"v"_s, u"version"_s}, u"Mostra a versão."_s};
    const QCommandLineOption m_settings{
        u"settings"_s, u"Arquivo de configuração a usar em lugar dos que ficam junto ao programa."_s,
        u"arquivo"_s};
    const QCommandLineOption m_describe{
        u"describe"_s,
        u"Tabelas MySQL: none (padrão) guarda os comentários sem descrição; all descreve todas com os "
        u"parâmetros da seção conexao (senha em QUORVEL_MYSQL_PASSWORD, se definida)."_s,
        u"none|all"_s, u"none"_s};
    const QCommandLineOption m_encoding{u"encoding"_s,
                                        u"Como ler as fontes: auto (UTF-8 quando o arquivo inteiro é UTF-8, "
                                        u"senão Windows-1252), windows-1252 "
                                        u"ou utf-8 (padrão: a opção Codificacao das configurações)."_s,
                                        u"auto|windows-1252|utf-8"_s};
    const QCommandLineOption m_rtf{u"rtf"_s, u"Gera a documentação e a grava neste arquivo .rtf."_s,
                                   u"arquivo"_s};
    const QCommandLineOption m_html{u"html"_s, u"Gera o help em HTML."_s};
    const QCommandLineOption m_output{
        u"output"_s, u"Pasta do help (padrão: a pasta do programa + a opção Pasta das configurações)."_s,
        u"pasta"_s};
    const QCommandLineOption m_force{u"force"_s, u"Reaproveita a pasta do help quando ela já existe."_s};
    const QCommandLineOption m_siteStyle{
        u"site-style"_s,
        u"Estilo do help: classic (quadros) ou modern (HTML5 com busca); padrão: a opção "
        u"EstiloSite das configurações."_s,
        u"classic|modern"_s};
    const QCommandLineOption m_siteTitle{u"site-title"_s, u"Título do help moderno."_s, u"título"_s};
    const QCommandLineOption m_siteVersion{u"site-version"_s, u"Versão mostrada no help moderno."_s,
                                           u"versão"_s};
    std::optional<QList<int>> m_columns;
};

int runOptions(const QStringList& arguments, QIODevice& out, QIODevice& err);

// The last bytes reach the output, or the reason they did not is told: a
// listing cut short by a full disk is no success.
bool flushed(QIODevice& out, QIODevice& err)
{
    auto* file = qobject_cast<QFileDevice*>(&out);
    if (file == nullptr || file->flush())
        return true;
    writeLine(err, u"Não foi possível escrever a saída: "_s % file->errorString());
    return false;
}

int printHelpOrVersion(const Options& options, QIODevice& out, QIODevice& err)
{
    const QByteArray text = options.wantsHelp() ? options.helpText().toUtf8()
                                                : (u"Quorvel "_s % Program::version() % u'\n').toUtf8();
    if (out.write(text) != text.size()) {
        writeLine(err, u"Não foi possível escrever a saída: "_s % out.errorString());
        return BatchMode::WriteError;
    }
    return flushed(out, err) ? BatchMode::Success : BatchMode::WriteError;
}

// The session as the options set it up: no trace, the table dialogue
// answered for the whole run.
void prepare(QuorvelCore& core, const Options& options)
{
    core.setOpeningChoices(OpeningChoices{options.encoding(), false, false});
    core.setColumnOrder(options.columns());
    if (options.settings())
        core.setSettingsFile(*options.settings());
    core.setSiteOverrides(options.siteOverrides());
    if (options.describesAll()) {
        std::optional<QString> password;
        if (qEnvironmentVariableIsSet("QUORVEL_MYSQL_PASSWORD"))
            password = qEnvironmentVariable("QUORVEL_MYSQL_PASSWORD");
        core.answerTables(QuorvelCore::TableAnswer::AllTables, password);
    } else {
        core.answerTables(QuorvelCore::TableAnswer::NoTables);
    }
}

// Each output the options ask for; false when it could not be written.
bool writeOutputs(QuorvelCore& core, const Options& options, BatchPrompts& prompts, QIODevice& out,
                  QIODevice& err)
{
    try {
        if (options.rtf()) {
            core.buildDocument();
            const QString document = Document::withRtfExtension(options.rtfFile());
            RtfWriter::save(core.documentLines(), document);
            writeLine(err, u"Documentação gravada em "_s % QFileInfo(document).absoluteFilePath());
        }
        if (options.html()) {
            prompts.setOverwrite(options.force());
            QuorvelCore::SiteIdentity id = core.siteIdentity();
            if (options.output())
                id.folder = *options.output();
            if (!core.writeSite(id.application, id.version, id.folder))
                return false;
            writeLine(err, u"Help gravado em "_s % core.siteStartPage(id.folder));
        }
        if (options.lists())
            writeTableJson(core.identifiers(), out);
    } catch (const QuorvelError& e) {
        writeLine(err, e.message());
        return false;
    }
    return flushed(out, err);
}

// Each routine of the harvested units' interfaces that no //@ block
// documents, as a warning; how many there were, or nothing when the units
// could not be read again.
std::optional<int> reportUndocumented(const QuorvelCore& core, BatchPrompts& prompts)
{
    try {
        const auto routines = core.undocumentedRoutines();
        for (const DocumentationCheck::Undocumented& routine : routines)
            prompts.warn({routine.file, routine.line, u"rotina sem documentação: "_s % routine.name});
        return static_cast<int>(routines.size());
    } catch (const QuorvelError& e) {
        prompts.showError(e.message());
        return std::nullopt;
    }
}

QString counted(qsizetype n, QStringView one, QStringView many)
{
    return QString::number(n) % u' ' % (n == 1 ? one : many);
}

// What a command read and found, on one line: the last a batch command says.
QString summaryLine(const QuorvelCore& core, int warnings, std::optional<int> undocumented)
{
    const HarvestReport& report = core.harvestReport();
    const IdentifierTable& table = core.identifiers();
    int byKind[5] = {};
    for (int place = 0; place < table.rowCount(); ++place)
        ++byKind[static_cast<int>(RowKinds::kindOf(table.row(place)))];
    using RowKinds::Kind;
    QString line = u"Resumo: "_s % counted(report.unitsRead, u"unit lida", u"units lidas") % u", "_s %
                   counted(report.includesRead, u"arquivo de inclusão", u"arquivos de inclusão") % u"; "_s %
                   counted(table.rowCount(), u"linha", u"linhas") % u" ("_s %
                   counted(byKind[int(Kind::Routine)], u"rotina", u"rotinas") % u", "_s %
                   counted(byKind[int(Kind::Help)], u"help", u"helps") % u", "_s %
                   counted(byKind[int(Kind::Table)], u"tabela", u"tabelas") % u", "_s %
                   counted(byKind[int(Kind::Orphan)], u"órfão", u"órfãos") % u", "_s %
                   counted(byKind[int(Kind::Other)], u"outra", u"outras") % u"); "_s %
                   counted(warnings, u"aviso", u"avisos") % u"; "_s %
                   counted(report.unitsNotRead, u"unit do projeto não lida", u"units do projeto não lidas");
    if (undocumented)
        line += u"; "_s % counted(*undocumented, u"rotina sem documentação", u"rotinas sem documentação");
    return line % u'.';
}

// The units the sources use that none of the projects' folders holds.
QString unitsNotFoundLine(const HarvestReport& report)
{
    return u"Units usadas fora das pastas do projeto, não lidas ("_s %
           QString::number(report.unitsNotFound.size()) % u")"_s %
           (report.unitsNotFound.isEmpty() ? QString() : u": "_s % report.unitsNotFound.join(u", "_s)) % u'.';
}

} // namespace

namespace BatchMode {

bool wanted(const QStringList& arguments)
{
    // Any option at all: the window takes none, so an option given without
    // its command is answered with the usage text, not with a window.
    for (const QString& a : arguments.mid(1)) {
        if (a.startsWith(u'-') && a.size() > 1)
            return true;
    }
    return false;
}

int run(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    try {
        return runOptions(arguments, out, err);
    } catch (const std::exception& e) {
        // Only a programming error or an exhausted machine gets here.
        writeLine(err, textForUser(e));
        return InternalError;
    }
}

} // namespace BatchMode

namespace {

int runOptions(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    using namespace BatchMode;
    Options options;
    if (const Outcome usage = options.parse(arguments); !usage) {
        writeLine(err, usage.reason());
        return UsageError;
    }
    if (options.wantsHelp() || options.wantsVersion())
        return printHelpOrVersion(options, out, err);

    BatchPrompts prompts(err);
    QuorvelCore core(prompts);
    prepare(core, options);
    for (const QString& file : options.files()) {
        try {
            core.openFile(file);
        } catch (const QuorvelError& e) {
            prompts.showError(e.message());
        }
    }
    if (core.identifiers().rowCount() == 0 && !prompts.failed())
        core.remindOfTheMarkers();
    std::optional<int> undocumented;
    if (options.checks())
        undocumented = reportUndocumented(core, prompts);
    const bool written = writeOutputs(core, options, prompts, out, err);
    if (options.verbose())
        writeLine(err, unitsNotFoundLine(core.harvestReport()));
    writeLine(err, summaryLine(core, prompts.warnings(), undocumented));
    if (!written)
        return WriteError;
    if (prompts.failed())
        return FileError;
    if (options.checks() && (prompts.warnings() > 0 || undocumented.value_or(0) > 0))
        return CheckFindings;
    return prompts.tableFailed() ? DescribeError : Success;
}

} // namespace
