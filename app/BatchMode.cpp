#include "app/BatchMode.h"

#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "common/UserPrompts.h"
#include "output/RtfWriter.h"
#include "table/IdentifierTable.h"
#include "table/TableJson.h"

#include <QCommandLineParser>
#include <QFileDevice>
#include <QIODevice>
#include <QRegularExpression>

#include <stdexcept>

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
        return question.buttons.contains(Answer::No) ? Answer::No : question.buttons.value(0, Answer::Ok);
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
    std::optional<QList<ParametroConexao>> editConnection(const QList<ParametroConexao>&) override
    {
        return {};
    }
    std::optional<FonteAmostra> chooseFont(const FonteAmostra&) override { return {}; }

    bool failed() const { return m_failed; }

    // --force answers the overwrite question with Yes while it lives.
    class Overwrite
    {
    public:
        Overwrite(BatchPrompts& prompts, bool yes) : m_prompts(prompts) { m_prompts.m_overwrite = yes; }
        ~Overwrite() { m_prompts.m_overwrite = false; }
        Overwrite(const Overwrite&) = delete;
        Overwrite& operator=(const Overwrite&) = delete;

    private:
        BatchPrompts& m_prompts;
    };
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

QList<int> parseOrder(const QString& fields)
{
    IdentifierTable probe;
    probe.setOrdering(fields); // throws for a name that is no grid field
    QList<int> columns;
    for (QStringView name : QStringView(fields).split(u';'))
        columns.append(IdentifierTable::columnOfField(name));
    return columns;
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
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Quorvel: documentação de programas Object Pascal."_s);
    const QCommandLineOption listOption(u"list"_s,
                                        u"Lê os arquivos e escreve a tabela de identificadores em JSON."_s);
    const QCommandLineOption orderOption(
        u"order"_s,
        u"Campos da ordenação, separados por ';' (padrão: %1)."_s.arg(IdentifierTable::initialOrdering()),
        u"campos"_s, IdentifierTable::initialOrdering());
    const QCommandLineOption helpOption({u"h"_s, u"help"_s}, u"Mostra esta ajuda."_s);
    const QCommandLineOption versionOption({u"v"_s, u"version"_s}, u"Mostra a versão."_s);
    const QCommandLineOption settingsOption(
        u"settings"_s, u"Arquivo de configuração a usar em lugar dos que ficam junto ao programa."_s,
        u"arquivo"_s);
    const QCommandLineOption describeOption(
        u"describe"_s,
        u"Tabelas MySQL: none (padrão) guarda os comentários sem descrição; all descreve todas com os "
        u"parâmetros "
        u"da seção conexao (senha em QUORVEL_MYSQL_PASSWORD, se definida)."_s,
        u"none|all"_s, u"none"_s);
    const QCommandLineOption rtfOption(u"rtf"_s, u"Gera a documentação e a grava neste arquivo .rtf."_s,
                                       u"arquivo"_s);
    const QCommandLineOption htmlOption(u"html"_s, u"Gera o help em HTML."_s);
    const QCommandLineOption outputOption(
        u"output"_s, u"Pasta do help (padrão: a pasta do programa + a opção Pasta das configurações)."_s,
        u"pasta"_s);
    const QCommandLineOption forceOption(u"force"_s, u"Reaproveita a pasta do help quando ela já existe."_s);
    parser.addOptions({listOption, orderOption, settingsOption, describeOption, rtfOption, htmlOption,
                       outputOption, forceOption, helpOption, versionOption});
    parser.addPositionalArgument(u"arquivos"_s, u"Projetos (.dpr) ou units (.pas)."_s, u"[arquivo...]"_s);

    if (!parser.parse(arguments)) {
        writeLine(err, parser.errorText());
        return UsageError;
    }
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        const QByteArray text = parser.isSet(helpOption)
                                    ? parser.helpText().toUtf8()
                                    : (u"Quorvel "_s % QuorvelCore::VersaoPrograma() % u'\n').toUtf8();
        if (out.write(text) != text.size()) {
            writeLine(err, u"Não foi possível escrever a saída: "_s % out.errorString());
            return WriteError;
        }
        return flushed(out, err) ? Success : WriteError;
    }
    if (!parser.isSet(htmlOption) && (parser.isSet(outputOption) || parser.isSet(forceOption))) {
        writeLine(err, u"--output e --force só valem com --html."_s);
        return UsageError;
    }
    if (parser.isSet(outputOption) && parser.value(outputOption).isEmpty()) {
        writeLine(err, u"--output precisa do nome de uma pasta."_s);
        return UsageError;
    }
    const QStringList files = parser.positionalArguments();
    if ((!parser.isSet(listOption) && !parser.isSet(rtfOption) && !parser.isSet(htmlOption)) ||
        files.isEmpty()) {
        writeLine(err, u"Uso: Quorvel [--list] [--rtf ARQUIVO.rtf] [--html [--output PASTA] [--force]] "
                       u"[--order CAMPOS] [--settings ARQUIVO] [--describe none|all] ARQUIVO..."_s);
        return UsageError;
    }
    QList<int> order;
    try {
        order = parseOrder(parser.value(orderOption));
    } catch (const std::invalid_argument&) {
        writeLine(err,
                  u"Ordenação inválida: \"%1\". Campos possíveis: %2."_s.arg(
                      parser.value(orderOption), IdentifierTable::initialOrdering().replace(u';', u", "_s)));
        return UsageError;
    }

    const QString describe = parser.value(describeOption);
    if (describe != u"none" && describe != u"all") {
        writeLine(err, u"--describe aceita none ou all."_s);
        return UsageError;
    }

    BatchPrompts prompts(err);
    QuorvelCore core(prompts);
    core.setTraceEnabled(false);
    core.setOrdemColunas(order);
    if (parser.isSet(settingsOption))
        core.setArquivoConfiguracao(parser.value(settingsOption));
    if (describe == u"all") {
        std::optional<QString> password;
        if (qEnvironmentVariableIsSet("QUORVEL_MYSQL_PASSWORD"))
            password = qEnvironmentVariable("QUORVEL_MYSQL_PASSWORD");
        core.respondeTabelas(QuorvelCore::RespostaTabelas::Todas, password);
    } else {
        core.respondeTabelas(QuorvelCore::RespostaTabelas::Nenhuma);
    }
    for (const QString& file : files) {
        try {
            core.abreArquivo(file);
        } catch (const QuorvelError& e) {
            prompts.showError(e.message());
        }
    }
    if (parser.isSet(rtfOption)) {
        try {
            core.GeraDocumentacao();
            RtfWriter::save(core.reDocumentacao(), QuorvelCore::comExtensaoRtf(parser.value(rtfOption)));
        } catch (const QuorvelError& e) {
            writeLine(err, e.message());
            return WriteError;
        }
    }
    if (parser.isSet(htmlOption)) {
        BatchPrompts::Overwrite overwrite(prompts, parser.isSet(forceOption));
        try {
            QuorvelCore::IdentidadeHTML id = core.identidadeHTML();
            if (parser.isSet(outputOption))
                id.pasta = parser.value(outputOption);
            if (!core.GeraHTML(id.aplicacao, id.versao, id.pasta))
                return WriteError;
        } catch (const QuorvelError& e) {
            writeLine(err, e.message());
            return WriteError;
        }
    }
    if (parser.isSet(listOption)) {
        try {
            writeTableJson(core.cdsUnits(), out);
        } catch (const QuorvelError& e) {
            writeLine(err, e.message());
            return WriteError;
        }
    }
    if (!flushed(out, err))
        return WriteError;
    if (prompts.failed())
        return FileError;
    return prompts.tableFailed() ? DescribeError : Success;
}

} // namespace BatchMode
