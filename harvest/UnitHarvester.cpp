// The unit harvester: walks a unit's tokens and turns its marked comment
// blocks into rows of the identifier table.
#include "harvest/UnitHarvester.h"

#include "common/UserPrompts.h"
#include "harvest/SourceText.h"
#include "harvest/TokenSource.h"
#include "harvest/UnitFeed.h"
#include "table/IdentifierTable.h"
#include "table/RowKinds.h"

using namespace Qt::Literals::StringLiterals;

UnitHarvester::UnitHarvester(IUserPrompts& prompts, IdentifierTable& table, TraceLog& trace)
    : m_prompts(prompts), m_table(table), m_trace(trace)
{}

QString UnitHarvester::mensagemArquivoInexistente()
{
    return u"O arquivo indicado não pôde ser aberto."_s;
}

void UnitHarvester::AbreUnit(const QString& arquivo)
{
    if (!SourceText::fileExists(arquivo)) {
        m_prompts.showMessage(mensagemArquivoInexistente(), arquivo);
        return;
    }
    // The buffers keep their storage from unit to unit.
    SourceText::readFile(arquivo, m_bytes);
    harvestBytes(m_bytes, arquivo);
}

void UnitHarvester::harvestBytes(QByteArrayView bytes, const QString& arquivo)
{
    const SourceText::Leitura leitura = SourceText::fromBytes(bytes, m_texto, m_codificacao);
    harvestWith(nullptr, arquivo, traceKeepsUnitBytes() ? bytes.toByteArray() : QByteArray(), leitura);
}

void UnitHarvester::harvestFromFeed(UnitFeed& feed, const QString& arquivo, QByteArray bytes,
                                    const SourceText::Leitura& leitura)
{
    harvestWith(&feed, arquivo, std::move(bytes), leitura);
}

void UnitHarvester::harvestWith(UnitFeed* feed, const QString& arquivo, QByteArray bytes,
                                const SourceText::Leitura& leitura)
{
    avisaUtf8Invalido(arquivo, leitura);
    // Reading every token leaves a feed's landmarks unread; the feed drops
    // them when it moves to the next unit.
    if (m_readEveryToken) {
        EveryTokenSource everyToken;
        harvestText(arquivo, std::move(bytes), everyToken, leitura.utf8);
    } else {
        SkimmingSource skimming(feed);
        harvestText(arquivo, std::move(bytes), skimming, leitura.utf8);
    }
}

void UnitHarvester::avisaUtf8Invalido(const QString& arquivo, const SourceText::Leitura& leitura)
{
    if (leitura.linhaInvalida == 0)
        return;
    m_prompts.ask(Question{
        Topic::EncodingNotice,
        leitura.utf16 ? u"O arquivo não está em UTF-16 válido; o que não pôde ser lido aparece como \uFFFD."_s
                      : u"O arquivo não está em UTF-8 válido; o que não pôde ser lido aparece como \uFFFD."_s,
        {Answer::Ok},
        Answer::Ok,
        arquivo,
        leitura.linhaInvalida});
}

void UnitHarvester::harvestText(const QString& arquivo, QByteArray bytes, TokenSource& source,
                                bool unicodeLetters)
{
    m_arquivoAtual = arquivo;
    m_lexer.resetCounters();
    LeUnit(source, unicodeLetters);
    // The unit's text is reused for the next unit.
    m_NomeUnit.settle(m_texto);
    m_TipoIdentificadorAtual.settle(m_texto);
    if (traceKeepsUnitBytes())
        m_trace.addUnitTokens(std::move(bytes), m_lastLoopStart, std::move(m_blockSpans), m_codificacao);
    m_lexer.keepLastToken();
}

int UnitHarvester::lerToken()
{
    return m_lexer.ProximoToken(m_texto, m_posicao);
}

bool UnitHarvester::tokenOpensBlock() const
{
    const int code = m_lexer.token().code;
    return Lexer::isMarker(code) || (code == ReservedWord && m_lexer.tokenIs(u"unit"));
}

void UnitHarvester::limpaBloco()
{
    m_IdentificadorAtual.clear();
    m_NomeIdentificadorAtual.clear();
    m_TipoIdentificadorAtual.clear();
    m_HelpAtual.resize(0); // keeps its room
}

void UnitHarvester::adicionaLinhaAjuda()
{
    // Appended in place: the help's buffer keeps its room from block to block.
    const QStringView line = m_lexer.view();
    if (!m_HelpAtual.isEmpty())
        m_HelpAtual.append(m_lexer.token().code == ParagraphMarker ? u"\r\n" : u" ");
    m_HelpAtual.append(line);
}

void UnitHarvester::InsereIdentificador()
{
    // Only the parts the table keeps of texts a raw scan took are copied. A
    // table that is not open and idle drops the row silently.
    // The unit's name and the kind come from the pool; the help is copied at
    // its size, so that the buffer it was built in serves the next block.
    const auto kept = [this](const DeferredText& text, int column) {
        return m_pool.shared(IdentifierTable::keptPart(text.view(m_texto), column));
    };
    m_table.append(IdentifierRow{kept(m_NomeUnit, IdentifierTable::Unit), m_IdentificadorAtual,
                                 m_NomeIdentificadorAtual,
                                 kept(m_TipoIdentificadorAtual, IdentifierTable::TipoIdentificador),
                                 QString(m_HelpAtual.constData(), m_HelpAtual.size()), m_lexer.LinhaAtual()});
}

void UnitHarvester::DocumentaTabela()
{
    const BlocoTabela bloco{m_NomeTabela, m_HelpAtual, m_arquivoAtual, m_lexer.LinhaAtual()};
    // Without a dialogue, the comment is stored as it stands.
    const LinhaTabela linha =
        m_tableComments ? m_tableComments->DocumentaTabela(bloco)
                        : LinhaTabela{m_NomeTabela, m_NomeTabela, RowKinds::TipoTabela(), m_HelpAtual};
    m_IdentificadorAtual = linha.identificador;
    m_NomeIdentificadorAtual = linha.nomeIdentificador;
    m_TipoIdentificadorAtual = linha.tipoIdentificador;
    m_HelpAtual = linha.help;
    InsereIdentificador();
}

void UnitHarvester::LeUnit(TokenSource& source, bool unicodeLetters)
{
    m_NomeUnit.clear();
    m_posicao = 0;
    m_lexer.startText(m_texto, unicodeLetters);
    source.begin(m_texto, unicodeLetters);
    for (CharScan* scan : {&m_scanSemicolon, &m_scanLineEnd, &m_scanOpen, &m_scanClose, &m_scanTypeEnd})
        scan->reset(m_texto);
    m_lexer.setNoToken();
    m_lastLoopStart = 0;
    m_blockSpans.clear();
    while (!m_lexer.tokenIsEof()) {
        // The loop acts on landmarks alone: a skimming source passes over
        // every other token unread.
        Token token;
        const int previous = source.next(m_posicao, m_lexer.linha(), token);
        m_lexer.takeToken(m_texto, token, previous);
        m_lastLoopStart = token.start;
        if (m_traceEnabled && source.readsEveryToken()) {
            if (token.halveQuotes)
                m_trace.addToken(TraceLog::Source::Unit, token.code, m_lexer.TextoToken());
            else
                m_trace.addToken(TraceLog::Source::Unit, token.code, m_lexer.view());
        }
        // A block ends at the first token that does not continue it; when that
        // token opens a block or names the unit, it is acted on in turn.
        bool again = true;
        while (again) {
            const int code = m_lexer.token().code;
            if (Lexer::isMarker(code))
                limpaBloco(); // each block starts from empty fields
            switch (code) {
            case ParagraphMarker:
            case ContinuationMarker:
                again = LeBlocoOrfao();
                break;
            case RoutineMarker:
                again = LeBlocoRotina();
                break;
            case TableMarker:
                again = LeBlocoTabela();
                break;
            case HelpMarker:
                again = LeBlocoAjuda();
                break;
            case ReservedWord:
                if (m_lexer.tokenIs(u"unit"))
                    LeCabecalhoUnit();
                again = false;
                break;
            default:
                again = false;
                break;
            }
        }
        if (m_lexer.token().start != m_lastLoopStart) // the tokens the blocks read are not the loop's
            m_blockSpans.push_back({m_lastLoopStart, m_lexer.token().start});
    }
}

bool UnitHarvester::LeBlocoOrfao()
{
    if (!m_IgnorarAvisosOrfaos) {
        const int line = m_lexer.LinhaAtual() + 1;
        Question question{Topic::OrphanComment,
                          u"Foi encontrado um comentário para documentação\r"
                          u"sem uma identificação de tipo na linha ("_s %
                              QString::number(line) %
                              u")\r\rIgnorar avisos de comentários não identificados?"_s,
                          {Answer::Yes, Answer::No},
                          Answer::Yes,
                          m_arquivoAtual,
                          line};
        if (m_prompts.ask(question) == Answer::Yes)
            m_IgnorarAvisosOrfaos = true;
    }
    while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker) {
        adicionaLinhaAjuda();
        lerToken();
    }
    m_IdentificadorAtual = u"Linha ("_s % QString::number(m_lexer.LinhaAtual()) % u')';
    m_NomeIdentificadorAtual = u"Comentário órfão"_s;
    m_TipoIdentificadorAtual = RowKinds::TipoOrfao();
    InsereIdentificador();
    return tokenOpensBlock();
}

bool UnitHarvester::LeBlocoRotina()
{
    while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker ||
           m_lexer.token().code == RoutineMarker) {
        adicionaLinhaAjuda();
        lerToken();
    }
    bool heading = false;
    if (m_lexer.token().code == ReservedWord && m_lexer.tokenIs(u"procedure")) {
        LeProcedure();
        heading = true;
    } else if (m_lexer.token().code == ReservedWord && m_lexer.tokenIs(u"function")) {
        LeFunction();
        heading = true;
    }
    InsereIdentificador();
    return !heading && tokenOpensBlock();
}

bool UnitHarvester::LeBlocoTabela()
{
    m_NomeTabela = m_lexer.TextoToken();
    lerToken();
    while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker ||
           m_lexer.token().code == TableMarker) {
        adicionaLinhaAjuda();
        lerToken();
    }
    DocumentaTabela();
    return tokenOpensBlock();
}

bool UnitHarvester::LeBlocoAjuda()
{
    while (m_lexer.token().code == HelpMarker) {
        const QString line = m_lexer.TextoToken();
        m_IdentificadorAtual = line;
        m_NomeIdentificadorAtual = u"Help "_s % line;
        m_TipoIdentificadorAtual = RowKinds::TipoHelp();
        m_HelpAtual.resize(0);
        lerToken();
        while (m_lexer.token().code == ParagraphMarker || m_lexer.token().code == ContinuationMarker) {
            adicionaLinhaAjuda();
            lerToken();
        }
        InsereIdentificador();
    }
    return tokenOpensBlock();
}

void UnitHarvester::LeCabecalhoUnit()
{
    // From the second character after the word up to the next ';', or to the
    // end of the text; the lexer position does not move.
    const qsizetype start = std::min(m_posicao + 1, m_texto.size());
    const qsizetype end = std::max(start, m_scanSemicolon.find(start));
    m_NomeUnit.setSlice(start, end - start);
}

void UnitHarvester::LeProcedure()
{
    LeCabecalho(false);
}

void UnitHarvester::LeFunction()
{
    LeCabecalho(true);
}

void UnitHarvester::LeCabecalho(bool isFunction)
{
    // A view: indexing the shared text itself would copy it.
    const QStringView texto(m_texto);
    const qsizetype n = texto.size();

    // The heading's line from the keyword to its end, verbatim.
    const qsizetype lineEnd = m_scanLineEnd.find(m_posicao);
    m_IdentificadorAtual = m_lexer.TextoToken() % texto.sliced(m_posicao, lineEnd - m_posicao);

    lerToken();
    m_NomeIdentificadorAtual = m_lexer.TextoToken();

    // What follows the name: `follows` stands at the ':' of a function
    // without a parameter list, when there is one.
    lerToken();
    const qsizetype afterName = m_lexer.token().start;
    qsizetype follows = -1;
    if (m_lexer.tokenIs(u".")) {
        // A qualified name (TForm1.Button1Click) is taken whole, up to its
        // parameter list, its ':' or its ';', over line breaks if it must.
        m_NomeIdentificadorAtual += u'.';
        for (;;) {
            qsizetype p = m_posicao;
            while (p < n && (texto[p] == u' ' || texto[p] == u'\r' || texto[p] == u'\n'))
                ++p;
            if (p >= n)
                break;
            const char16_t c = texto[p].unicode();
            if (c == u'(' || c == u':' || c == u';') {
                follows = p;
                break;
            }
            lerToken();
            m_NomeIdentificadorAtual += m_lexer.TextoToken();
        }
    } else if (m_lexer.token().code == Separator) {
        follows = m_lexer.token().start;
    }
    // The block began with an empty type, which the return type replaces.
    if (isFunction) {
        const Span tipo = tipoRetorno(afterName, follows);
        m_TipoIdentificadorAtual.setSlice(tipo.start, tipo.length);
    }
}

UnitHarvester::Span UnitHarvester::tipoRetorno(qsizetype afterName, qsizetype follows)
{
    const QStringView texto(m_texto);
    const qsizetype n = texto.size();
    // A heading with a parenthesis before its first ';' has a parameter list,
    // whatever stands between the name and it ({comment}, <T>, a letter the
    // lexer cuts): the type stands after the list's ')' and the character
    // after it (normally the ':'), up to the ';'.
    const qsizetype semicolon = m_scanSemicolon.find(afterName);
    if (m_scanOpen.find(afterName) < semicolon || m_scanClose.find(afterName) < semicolon) {
        const qsizetype close = m_scanClose.find(m_posicao);
        const qsizetype typeStart = std::min(close + 2, n);
        const qsizetype typeEnd = std::max(typeStart, m_scanTypeEnd.find(typeStart));
        return {typeStart, typeEnd - typeStart};
    }
    // Without one, the type follows the ':' after the name, up to the ';' or
    // the end of that line.
    if (follows < 0 || follows >= n || texto[follows] != u':')
        return {};
    const qsizetype typeStart = follows + 1;
    QStringView rest = texto.sliced(typeStart);
    const qsizetype lineBreak = rest.indexOf(u'\r');
    if (lineBreak >= 0)
        rest.truncate(lineBreak);
    const qsizetype end = rest.indexOf(u';');
    return {typeStart, end < 0 ? rest.size() : end};
}
