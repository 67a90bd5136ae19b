#pragma once

#include "harvest/CharScan.h"
#include "harvest/DeferredText.h"
#include "harvest/LexerState.h"
#include "harvest/SourceText.h"
#include "harvest/TableComments.h"
#include "harvest/TextPool.h"
#include "harvest/TraceLog.h"

#include <QByteArray>
#include <QString>

#include <vector>

class IUserPrompts;
class IdentifierTable;
class TokenSource;
class UnitFeed;

// The unit harvester: walks a unit's tokens and turns its marked comment
// blocks into rows of the identifier table. It owns the harvest's working
// state, which keeps the names the windows' users know (NomeUnit, HelpAtual,
// ...); //# blocks go to the table comments it is given.
class UnitHarvester
{
public:
    UnitHarvester(IUserPrompts& prompts, IdentifierTable& table, TraceLog& trace);

    // Without table comments, a //# block is stored without description.
    void setTableComments(ITableComments* comments) { m_tableComments = comments; }
    // Recording can be switched off where nobody can read the trace.
    void setTraceEnabled(bool enabled) { m_traceEnabled = enabled; }
    bool traceEnabled() const { return m_traceEnabled; }
    // The harvest skims a unit from landmark to landmark. Told to, it reads
    // every token one by one and keeps the trace line by line instead.
    void setReadEveryToken(bool every) { m_readEveryToken = every; }
    // How source files are read (the settings' Codificacao, --encoding).
    void setCodificacao(Codificacao codificacao) { m_codificacao = codificacao; }
    Codificacao codificacao() const { return m_codificacao; }
    // The trace keeps a unit as its bytes, unless it is kept line by line.
    bool traceKeepsUnitBytes() const { return m_traceEnabled && !m_readEveryToken; }

    // Opens the file and harvests it; a file that does not exist gets the
    // missing-file message. Throws QuorvelError when it cannot be read.
    void AbreUnit(const QString& arquivo);
    // The harvest of a unit's bytes, as AbreUnit reads them from `arquivo`.
    void harvestBytes(QByteArrayView bytes, const QString& arquivo);
    // The harvest of a project's unit whose text and landmarks the feed has
    // ready; `bytes` are the file's, for the trace, when it keeps them.
    void harvestFromFeed(UnitFeed& feed, const QString& arquivo, QByteArray bytes,
                         const SourceText::Leitura& leitura);
    // The text the feed gives the next unit into.
    QString& textForFeed() { return m_texto; }

    // The lexer state, which the project reader shares.
    LexerState& lexer() { return m_lexer; }
    const LexerState& lexer() const { return m_lexer; }

    // Working state, as the last harvest left it.
    QString NomeUnit() const { return m_NomeUnit.view(m_texto).toString(); }
    const QString& IdentificadorAtual() const { return m_IdentificadorAtual; }
    const QString& NomeIdentificadorAtual() const { return m_NomeIdentificadorAtual; }
    QString TipoIdentificadorAtual() const { return m_TipoIdentificadorAtual.view(m_texto).toString(); }
    const QString& HelpAtual() const { return m_HelpAtual; }
    const QString& NomeTabela() const { return m_NomeTabela; }
    bool IgnorarAvisosOrfaos() const { return m_IgnorarAvisosOrfaos; }

    // The message for a file that does not exist.
    static QString mensagemArquivoInexistente();

private:
    // With a feed, the skimming takes its landmarks; without, it skims here.
    void harvestWith(UnitFeed* feed, const QString& arquivo, QByteArray bytes,
                     const SourceText::Leitura& leitura);
    // Says once per file that a text forced to UTF-8 was not.
    void avisaUtf8Invalido(const QString& arquivo, const SourceText::Leitura& leitura);
    void harvestText(const QString& arquivo, QByteArray bytes, TokenSource& source, bool unicodeLetters);
    // Each block returns true when the token that ended it must be acted on
    // as if the loop had just read it.
    void LeUnit(TokenSource& source, bool unicodeLetters);
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
    int lerToken(); // the next token of the unit's own text, inside a block
    void adicionaLinhaAjuda();
    void limpaBloco();
    bool tokenOpensBlock() const;
    void InsereIdentificador();
    void DocumentaTabela();

    IUserPrompts& m_prompts;
    IdentifierTable& m_table;
    TraceLog& m_trace;
    ITableComments* m_tableComments = nullptr;
    bool m_traceEnabled = true;
    bool m_readEveryToken = false;
    Codificacao m_codificacao = Codificacao::Auto;

    // The unit's text, its bytes as read, and where the lexer stands in it.
    QByteArray m_bytes;
    QString m_texto;
    qsizetype m_posicao = 0;
    LexerState m_lexer;
    QString m_arquivoAtual;
    qsizetype m_lastLoopStart = 0;                 // of the last token the unit's loop read
    std::vector<TraceLog::BlockSpan> m_blockSpans; // of the tokens its blocks read
    // The raw scans of headings, each remembering where it found its character.
    CharScan m_scanSemicolon{u';'};
    CharScan m_scanLineEnd{u'\r'};
    CharScan m_scanOpen{u'('};
    CharScan m_scanClose{u')'};
    CharScan m_scanTypeEnd{u';'}; // from after a parameter list's ')'

    DeferredText m_NomeUnit;
    QString m_IdentificadorAtual;
    QString m_NomeIdentificadorAtual;
    DeferredText m_TipoIdentificadorAtual;
    QString m_HelpAtual;
    QString m_NomeTabela;
    TextPool m_pool; // the rows' repeated texts
    bool m_IgnorarAvisosOrfaos = false;
};
