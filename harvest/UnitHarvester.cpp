// The unit harvester: walks a unit's tokens and turns its marked comment
// blocks into rows of the identifier table.
#include "app/QuorvelCore.h"

#include "common/UserPrompts.h"
#include "harvest/SourceText.h"
#include "harvest/UnitFeed.h"

using namespace Qt::Literals::StringLiterals;

int QuorvelCore::ProximoToken(const QString& texto, qsizetype& posicao)
{
    // Keep the text the token is a slice of; a pointer test spares the
    // reference count on every token of the same text.
    if (m_tokenSource.constData() != texto.constData() || m_tokenSource.size() != texto.size())
        m_tokenSource = texto;
    const int code = Lexer::next(texto, posicao, m_LinhaAtual, m_token);
    if (code != EndOfText)
        m_CodigoToken = code;
    return code;
}

int QuorvelCore::IndicePalavraReservada(QStringView palavra)
{
    return Lexer::reservedWordIndex(palavra);
}

QString QuorvelCore::TextoToken() const
{
    return Lexer::text(m_tokenSource, m_token);
}

bool QuorvelCore::tokenIsEof() const
{
    // Besides the end of the text, only an identifier or a comment (marker
    // lines included) can read "eof".
    if (m_token.code == EndOfText)
        return true;
    if (m_token.length != 3 || m_token.halveQuotes)
        return false;
    const QChar* t = m_tokenSource.constData() + m_token.start;
    return t[0] == u'e' && t[1] == u'o' && t[2] == u'f';
}

bool QuorvelCore::tokenIs(QStringView text) const
{
    if (m_token.halveQuotes)
        return Lexer::text(m_tokenSource, m_token) == text;
    return Lexer::view(m_tokenSource, m_token) == text;
}

int QuorvelCore::lerToken()
{
    // The harvest reads its own text, which m_tokenSource already shares.
    const int code = Lexer::next(m_texto, m_posicao, m_LinhaAtual, m_token);
    if (code != EndOfText)
        m_CodigoToken = code;
    return code;
}

int QuorvelCore::leProximoMarco()
{
    // Landmarks before the lexer's position were read by the blocks already.
    while (m_marcoAt == m_marcoEnd || m_marcoAt->start < m_posicao) {
        if (m_marcoAt == m_marcoEnd)
            carregaMarcos();
        else
            ++m_marcoAt;
    }
    const Landmark& marco = *m_marcoAt;
    // Reading the tokens before it one by one would leave the last one's code.
    if (marco.previousCode != NoToken)
        m_CodigoToken = marco.previousCode;
    m_token = Token{marco.code, marco.start, marco.length, false};
    m_posicao = marco.start + marco.length;
    m_LinhaAtual = marco.line;
    if (marco.code != EndOfText)
        m_CodigoToken = marco.code;
    return marco.code;
}

void QuorvelCore::carregaMarcos()
{
    const std::vector<Landmark>* run = &m_marcos;
    if (m_feed != nullptr) {
        run = &m_feed->nextLandmarks();
    } else if (!m_skimDone) {
        // The harvest's own text, skimmed here a run at a time.
        constexpr qsizetype kRunTokens = 4096;
        m_marcos.clear();
        m_skimDone = Lexer::skim(m_texto, m_skim, kRunTokens, m_marcos);
    }
    m_marcoAt = run->data();
    m_marcoEnd = run->data() + run->size();
}

bool QuorvelCore::tokenOpensBlock() const
{
    return Lexer::isMarker(m_token.code) || (m_token.code == ReservedWord && tokenIs(u"unit"));
}

void QuorvelCore::limpaBloco()
{
    m_IdentificadorAtual.clear();
    m_NomeIdentificadorAtual.clear();
    m_TipoIdentificadorAtual.clear();
    m_HelpAtual.clear();
}

void QuorvelCore::adicionaLinhaAjuda()
{
    const QStringView line = Lexer::view(m_tokenSource, m_token);
    if (m_HelpAtual.isEmpty())
        m_HelpAtual = line.toString();
    else if (m_token.code == ParagraphMarker)
        m_HelpAtual += u"\r\n"_s % line;
    else
        m_HelpAtual += u' ' % line;
}

void QuorvelCore::AbreUnit(const QString& arquivo)
{
    if (!SourceText::fileExists(arquivo)) {
        m_prompts.showMessage(u"O arquivo indicado não pôde ser aberto."_s, arquivo);
        return;
    }
    // The buffers keep their storage from unit to unit.
    SourceText::readFile(arquivo, m_bytes);
    harvestBytes(m_bytes, arquivo);
}

void QuorvelCore::harvestBytes(QByteArrayView bytes, const QString& arquivo)
{
    m_tokenSource.clear();
    SourceText::fromBytes(bytes, m_texto);
    m_feed = nullptr;
    harvestText(arquivo, traceKeepsUnitBytes() ? bytes.toByteArray() : QByteArray());
}

void QuorvelCore::harvestText(const QString& arquivo, QByteArray bytes)
{
    m_arquivoAtual = arquivo;
    m_LinhaAtual = 0;
    m_CodigoToken = 0;
    m_skim = Lexer::SkimState();
    m_skimDone = false;
    m_marcos.clear();
    m_marcoAt = m_marcoEnd = nullptr;
    LeUnit();
    // The unit's text is reused for the next unit.
    m_NomeUnit.settle(m_texto);
    m_TipoIdentificadorAtual.settle(m_texto);
    if (traceKeepsUnitBytes())
        m_Memo1.addUnitTokens(std::move(bytes), m_lastLoopStart, std::move(m_blockSpans));
    guardaUltimoToken();
}

void QuorvelCore::guardaUltimoToken()
{
    // The last token keeps its text on its own, so the unit's text can be
    // reused for the next unit without a copy.
    const QString texto = TextoToken();
    m_tokenSource = texto;
    m_token.start = 0;
    m_token.length = m_token.code == EndOfText ? 0 : texto.size();
    m_token.halveQuotes = false;
}

void QuorvelCore::LeUnit()
{
    m_NomeUnit.clear();
    m_posicao = 0;
    m_tokenSource = m_texto;
    for (CharScan* scan : {&m_scanSemicolon, &m_scanLineEnd, &m_scanOpen, &m_scanClose, &m_scanTypeEnd})
        scan->reset(m_texto);
    m_token = Token{Invalid, 0, 0, false}; // any text but "eof" starts the loop
    m_lastLoopStart = 0;
    m_blockSpans.clear();
    while (!tokenIsEof()) {
        // The loop acts on landmarks alone: it skims from one to the next,
        // unless it is told to read every token.
        const int code = m_readEveryToken ? lerToken() : leProximoMarco();
        m_lastLoopStart = m_token.start;
        if (m_traceEnabled && m_readEveryToken) {
            if (m_token.halveQuotes)
                m_Memo1.addToken(TraceLog::Source::Unit, code, TextoToken());
            else
                m_Memo1.addToken(TraceLog::Source::Unit, code, Lexer::view(m_tokenSource, m_token));
        }
        // A block ends at the first token that does not continue it; when that
        // token opens a block or names the unit, it is acted on in turn.
        bool again = true;
        while (again) {
            if (Lexer::isMarker(m_token.code))
                limpaBloco(); // each block starts from empty fields
            switch (m_token.code) {
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
                if (tokenIs(u"unit"))
                    LeCabecalhoUnit();
                again = false;
                break;
            default:
                again = false;
                break;
            }
        }
        if (m_token.start != m_lastLoopStart) // the tokens the blocks read are not the loop's
            m_blockSpans.push_back({m_lastLoopStart, m_token.start});
    }
}

bool QuorvelCore::LeBlocoOrfao()
{
    if (!m_IgnorarAvisosOrfaos) {
        const int line = m_LinhaAtual + 1;
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
    while (m_token.code == ParagraphMarker || m_token.code == ContinuationMarker) {
        adicionaLinhaAjuda();
        lerToken();
    }
    m_IdentificadorAtual = u"Linha ("_s % QString::number(m_LinhaAtual) % u')';
    m_NomeIdentificadorAtual = u"Comentário órfão"_s;
    m_TipoIdentificadorAtual = TipoOrfao();
    InsereIdentificador();
    return tokenOpensBlock();
}

bool QuorvelCore::LeBlocoRotina()
{
    while (m_token.code == ParagraphMarker || m_token.code == ContinuationMarker ||
           m_token.code == RoutineMarker) {
        adicionaLinhaAjuda();
        lerToken();
    }
    bool heading = false;
    if (m_token.code == ReservedWord && tokenIs(u"procedure")) {
        LeProcedure();
        heading = true;
    } else if (m_token.code == ReservedWord && tokenIs(u"function")) {
        LeFunction();
        heading = true;
    }
    InsereIdentificador();
    return !heading && tokenOpensBlock();
}

bool QuorvelCore::LeBlocoTabela()
{
    m_NomeTabela = TextoToken();
    lerToken();
    while (m_token.code == ParagraphMarker || m_token.code == ContinuationMarker ||
           m_token.code == TableMarker) {
        adicionaLinhaAjuda();
        lerToken();
    }
    DocumentaTabela();
    return tokenOpensBlock();
}

bool QuorvelCore::LeBlocoAjuda()
{
    while (m_token.code == HelpMarker) {
        const QString line = TextoToken();
        m_IdentificadorAtual = line;
        m_NomeIdentificadorAtual = u"Help "_s % line;
        m_TipoIdentificadorAtual = TipoHelp();
        m_HelpAtual.clear();
        lerToken();
        while (m_token.code == ParagraphMarker || m_token.code == ContinuationMarker) {
            adicionaLinhaAjuda();
            lerToken();
        }
        InsereIdentificador();
    }
    return tokenOpensBlock();
}

void QuorvelCore::LeCabecalhoUnit()
{
    // From the second character after the word up to the next ';', or to the
    // end of the text; the lexer position does not move.
    const qsizetype start = std::min(m_posicao + 1, m_texto.size());
    const qsizetype end = std::max(start, m_scanSemicolon.find(start));
    m_NomeUnit.setSlice(start, end - start);
}

void QuorvelCore::LeProcedure()
{
    LeCabecalho(false);
}

void QuorvelCore::LeFunction()
{
    LeCabecalho(true);
}

void QuorvelCore::LeCabecalho(bool isFunction)
{
    // A view: indexing the shared text itself would copy it.
    const QStringView texto(m_texto);
    const qsizetype n = texto.size();

    // The heading's line from the keyword to its end, verbatim.
    const qsizetype lineEnd = m_scanLineEnd.find(m_posicao);
    m_IdentificadorAtual = TextoToken() % texto.sliced(m_posicao, lineEnd - m_posicao);

    lerToken();
    m_NomeIdentificadorAtual = TextoToken();

    // What follows the name: `follows` stands at the ':' of a function
    // without a parameter list, when there is one.
    lerToken();
    const qsizetype afterName = m_token.start;
    qsizetype follows = -1;
    if (tokenIs(u".")) {
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
            m_NomeIdentificadorAtual += TextoToken();
        }
    } else if (m_token.code == Separator) {
        follows = m_token.start;
    }
    // The block began with an empty type, which the return type replaces.
    if (isFunction) {
        const Span tipo = tipoRetorno(afterName, follows);
        m_TipoIdentificadorAtual.setSlice(tipo.start, tipo.length);
    }
}

QuorvelCore::Span QuorvelCore::tipoRetorno(qsizetype afterName, qsizetype follows)
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
