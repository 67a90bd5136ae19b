#pragma once

#include "harvest/CharScan.h"
#include "harvest/DeferredText.h"
#include "harvest/Lexer.h"
#include "harvest/TraceLog.h"

#include "common/UserPrompts.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class ConexaoMySQL;
class IUserPrompts;
class IdentifierTable;
class TabelaDescricao;
class UnitFeed;

// The logic and the shared working state behind the main window. The window
// owns one and translates its events into calls; tests and the batch mode use
// it without any window. The routines that pass data through the working state
// rather than through arguments keep their Portuguese names.
class QuorvelCore
{
public:
    explicit QuorvelCore(IUserPrompts& prompts);
    ~QuorvelCore();
    QuorvelCore(const QuorvelCore&) = delete;
    QuorvelCore& operator=(const QuorvelCore&) = delete;

    // Lexer. `posicao` is 0-based.
    int ProximoToken(const QString& texto, qsizetype& posicao);
    static int IndicePalavraReservada(QStringView palavra);

    // Unit harvester.
    void AbreUnit(const QString& arquivo);
    // The harvest of a unit's bytes, as AbreUnit reads them from `arquivo`.
    void harvestBytes(QByteArrayView bytes, const QString& arquivo);

    // Opening commands of the tool bar. Both throw QuorvelError when a file
    // that exists cannot be read.
    void AbrirExecute();
    void NovoExecute();

    // Project reader: harvests the units a project file names, in order.
    void AbreProjeto(const QString& arquivo);
    // Every literal of a project's text, lower-cased (the unit paths among them).
    QStringList unitsDoProjeto(QByteArrayView bytes);

    // The opening command once a file is chosen: empties the trace, harvests
    // the file and applies the ordering by column order. Throws QuorvelError
    // when a file that exists cannot be read; rows stored before stay.
    void abreArquivo(const QString& arquivo);

    // Identifier table.
    void InsereIdentificador();
    IdentifierTable& cdsUnits() { return *m_cdsUnits; }
    const IdentifierTable& cdsUnits() const { return *m_cdsUnits; }
    // The grid's columns as fields, in display order; the ordering follows it.
    void setOrdemColunas(const QList<int>& columns) { m_ordemColunas = columns; }
    const QList<int>& ordemColunas() const { return m_ordemColunas; }
    // Applies the ordering by column order (a title click, a column drag and
    // the end of every opening).
    void DBGrid1TitleClick();
    // The user dragged a column: `columns` are the grid's fields in their new
    // display order.
    void DBGrid1ColumnMoved(const QList<int>& columns);
    // A click on a cell: its value as text becomes the only line of Memo2.
    void DBGrid1CellClick(int place, int column);
    const QString& Memo2() const { return m_Memo2; }

    // The documentation view: its paragraphs, as the last build left them.
    const QStringList& reDocumentacao() const { return m_reDocumentacao; }
    // Rebuilds the document from the table in its current order, with the
    // inclusion switches of the settings.
    void GeraDocumentacao();
    // Grows with every change of the document, so a view knows when to redraw.
    int revisaoDocumentacao() const { return m_revisaoDocumentacao; }
    // The save dialog, then the document written as Rich Text Format. Returns
    // the file written, empty when cancelled; throws QuorvelError when the
    // file cannot be created.
    std::optional<QString> SalvarExecute();
    // ".rtf" appended unless the name already ends in exactly ".rtf".
    static QString comExtensaoRtf(const QString& nome);

    // Table-comment documentation of a //# block.
    void DocumentaTabela();
    bool DescreveTabela();
    // The connection dialog, and the hand-over of its rows to the connection.
    void ConfiguraDriver();
    void ConfiguraConexao(const QList<ParametroConexao>& parametros);
    // The connection rows as the settings file holds them, with their defaults.
    QList<ParametroConexao> parametrosConexaoSalvos() const;
    ConexaoMySQL& SQLConnection() { return *m_SQLConnection; }
    TabelaDescricao& cdsTable() { return *m_cdsTable; }

    // Answers the table dialogue for the whole run, without asking (batch
    // mode): none stores every table without description; all describes every
    // table with the saved connection rows (and `senha`, when given).
    enum class RespostaTabelas
    {
        Nenhuma,
        Todas
    };
    void respondeTabelas(RespostaTabelas resposta, const std::optional<QString>& senha = std::nullopt);

    // The hidden trace memo. Recording can be switched off where nobody can
    // read it (the batch mode).
    TraceLog& Memo1() { return m_Memo1; }
    void setTraceEnabled(bool enabled) { m_traceEnabled = enabled; }
    // The harvest skims a unit from landmark to landmark. Told to, it reads
    // every token one by one and keeps the trace line by line instead: the
    // plain way, which the tests hold the skimming to.
    void setReadEveryToken(bool every) { m_readEveryToken = every; }

    // The settings files. The program settings file is the program file's path
    // with ".ini"; the HTML generator reads "Quorvel.ini" in the program's
    // folder. An override (the batch mode's --settings) replaces both.
    QString arquivoConfiguracao() const;
    QString arquivoConfiguracaoHTML() const;
    void setArquivoConfiguracao(const QString& arquivo) { m_arquivoConfiguracao = arquivo; }

    // The HTML help site. HTMLExecute reads the identity and folder from the
    // settings and runs GeraHTML, which asks before reusing an existing
    // folder. Both return false when the user declined; they throw
    // QuorvelError when a page cannot be written.
    struct IdentidadeHTML
    {
        QString aplicacao;
        QString versao;
        QString pasta;
    };
    IdentidadeHTML identidadeHTML() const;
    bool HTMLExecute();
    bool GeraHTML(const QString& aplicacao, const QString& versao, const QString& pasta);
    // The makers' contact address, in the site's footer.
    static QString ContatoPrograma();

    // Accessors of the main window.
    QString PastaPrograma() const { return m_PastaExecutavel; }
    void setPastaExecutavel(const QString& folder) { m_PastaExecutavel = folder; }
    static QString VersaoPrograma();
    static QString TipoHelp();
    static QString TipoOrfao();
    static QString TipoTabela();

    // Working state, read-only from outside.
    QString TextoToken() const;
    int CodigoToken() const { return m_CodigoToken; }
    int LinhaAtual() const { return m_LinhaAtual; }
    QString NomeUnit() const { return m_NomeUnit.view(m_texto).toString(); }
    const QString& IdentificadorAtual() const { return m_IdentificadorAtual; }
    const QString& NomeIdentificadorAtual() const { return m_NomeIdentificadorAtual; }
    QString TipoIdentificadorAtual() const { return m_TipoIdentificadorAtual.view(m_texto).toString(); }
    const QString& HelpAtual() const { return m_HelpAtual; }
    const QString& NomeTabela() const { return m_NomeTabela; }
    bool IgnorarAvisosOrfaos() const { return m_IgnorarAvisosOrfaos; }
    bool ConexaoConfigurada() const { return m_ConexaoConfigurada; }
    bool SimParaTodas() const { return m_SimParaTodas; }
    bool NaoParaTodas() const { return m_NaoParaTodas; }

    IUserPrompts& prompts() { return m_prompts; }

private:
    // Unit harvester internals; each block returns true when the token that
    // ended it must be acted on as if the loop had just read it.
    void LeUnit();
    QStringList LeProjeto();
    bool LeBlocoOrfao();
    bool LeBlocoRotina();
    bool LeBlocoTabela();
    bool LeBlocoAjuda();
    void LeCabecalhoUnit();
    void LeProcedure();
    void LeFunction();
    void LeCabecalho(bool isFunction);
    // Where a function's return type stands in the text: `afterName` is
    // where the token after its name starts, `follows` the ':' after a
    // qualified name, or -1.
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };
    Span tipoRetorno(qsizetype afterName, qsizetype follows);
    int lerToken(); // ProximoToken over the unit's own text
    // Reads the next landmark (see Lexer::skim) as the current token, passing
    // over the tokens before it as the unit's main loop would.
    int leProximoMarco();
    void carregaMarcos();
    // Harvests m_texto; `bytes`, the file's, go to the trace when it is kept.
    void harvestText(const QString& arquivo, QByteArray bytes);
    // The trace keeps a unit as its bytes, unless it is kept line by line.
    bool traceKeepsUnitBytes() const { return m_traceEnabled && !m_readEveryToken; }
    void adicionaLinhaAjuda();
    void limpaBloco();
    bool tokenIs(QStringView text) const;
    bool tokenIsEof() const;
    bool tokenOpensBlock() const;
    void gravaTabelaSemDescricao();
    void guardaUltimoToken();
    void descreveOuAvisa();
    void avisaTabela(const QString& texto);

    IUserPrompts& m_prompts;
    std::unique_ptr<IdentifierTable> m_cdsUnits;
    std::unique_ptr<ConexaoMySQL> m_SQLConnection;
    std::unique_ptr<TabelaDescricao> m_cdsTable;
    TraceLog m_Memo1;
    bool m_traceEnabled = true;
    bool m_readEveryToken = false;
    qsizetype m_lastLoopStart = 0;                 // of the last token the unit's loop read
    std::vector<TraceLog::BlockSpan> m_blockSpans; // of the tokens its blocks read
    QList<int> m_ordemColunas;
    QString m_Memo2;
    QStringList m_reDocumentacao;
    QString m_nomeArquivoRtf;
    int m_revisaoDocumentacao = 0;

    // The text being read and where the last token stands in it.
    QByteArray m_bytes;
    QString m_texto;
    qsizetype m_posicao = 0;
    QString m_tokenSource;
    Token m_token;
    // The unit's landmarks come a run at a time, from the feed while a project
    // is read, otherwise skimmed here from m_skim.
    UnitFeed* m_feed = nullptr;
    Lexer::SkimState m_skim;
    bool m_skimDone = false;
    std::vector<Landmark> m_marcos;
    const Landmark* m_marcoAt = nullptr;
    const Landmark* m_marcoEnd = nullptr;
    QString m_arquivoAtual;
    // The raw scans of headings, each remembering where it found its character.
    CharScan m_scanSemicolon{u';'};
    CharScan m_scanLineEnd{u'\r'};
    CharScan m_scanOpen{u'('};
    CharScan m_scanClose{u')'};
    CharScan m_scanTypeEnd{u';'}; // from after a parameter list's ')'

    int m_CodigoToken = 0;
    int m_LinhaAtual = 0;
    DeferredText m_NomeUnit;
    QString m_IdentificadorAtual;
    QString m_NomeIdentificadorAtual;
    DeferredText m_TipoIdentificadorAtual;
    QString m_HelpAtual;
    QString m_NomeTabela;
    bool m_IgnorarAvisosOrfaos = false;
    bool m_ConexaoConfigurada = false;
    bool m_SimParaTodas = false;
    bool m_NaoParaTodas = false;
    QString m_PastaExecutavel;
    QString m_arquivoConfiguracao;
};
