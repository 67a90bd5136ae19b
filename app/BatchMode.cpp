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
        QString where;
        if (!question.file.isEmpty())
            where = question.file % (question.line > 0 ? u':' % QString::number(question.line) : QString()) %
                    u": "_s;
        writeLine(m_err, where % oneLine(question.text));
        if (question.topic == Topic::TableNotice)
            m_tableFailed = true;
        if (question.topic == Topic::OverwriteFolder)
            return m_overwrite ? Answer::Yes : Answer::No;
        return answerWithoutAButton(question);
    }

    void showMessage(const QString& text, const QString& file) override
    {
        writeLine(m_err, (file.isEmpty() ? QString() : file % u": "_s) % oneLine(text));
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
};

// The command line's options, and what a run was asked to do.
class Options
{
public:
    Options()
    {
        m_parser.setApplicationDescription(u"Quorvel: documentação de programas Object Pascal."_s);
        m_parser.addOptions({m_list, m_order, m_settings, m_describe, m_encoding, m_rtf, m_html, m_output,
                             m_force, m_help, m_version});
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
        if (!m_parser.isSet(m_html) && (m_parser.isSet(m_output) || m_parser.isSet(m_force)))
            return Outcome::failure(u"--output e --force só valem com --html."_s);
        if (m_parser.isSet(m_output) && m_parser.value(m_output).isEmpty())
            return Outcome::failure(u"--output precisa do nome de uma pasta."_s);
        if ((!lists() && !rtf() && !html()) || files().isEmpty())
            return Outcome::failure(
                u"Uso: Quorvel [--list] [--rtf ARQUIVO.rtf] [--html [--output PASTA] [--force]] "
                u"[--order CAMPOS] [--settings ARQUIVO] [--describe none|all] "
                u"[--encoding auto|windows-1252|utf-8] ARQUIVO..."_s);
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
    bool rtf() const { return m_parser.isSet(m_rtf); }
    QString rtfFile() const { return m_parser.value(m_rtf); }
    bool html() const { return m_parser.isSet(m_html); }
    std::optional<QString> output() const
    {
        return m_parser.isSet(m_output) ? std::optional(m_parser.value(m_output)) : std::nullopt;
    }
    bool force() const { return m_parser.isSet(m_force); }
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
            writeLine(err, u"Help gravado em "_s % QDir(id.folder).absoluteFilePath(u"index.htm"_s));
        }
        if (options.lists())
            writeTableJson(core.identifiers(), out);
    } catch (const QuorvelError& e) {
        writeLine(err, e.message());
        return false;
    }
    return flushed(out, err);
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
    if (!writeOutputs(core, options, prompts, out, err))
        return WriteError;
    if (prompts.failed())
        return FileError;
    return prompts.tableFailed() ? DescribeError : Success;
}

} // namespace
