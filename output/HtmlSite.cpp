#include "output/HtmlSite.h"

#include "common/AtomicFile.h"
#include "common/QuorvelError.h"
#include "common/Windows1252.h"
#include "output/PageWriter.h"
#include "settings/IniFile.h"
#include "settings/OpcoesQuorvel.h"
#include "table/IdentifierTable.h"
#include "table/RowKinds.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Nothing is written through a link left inside a reused site folder. The
// command syncs the whole site once at its end, not page by page.
constexpr AtomicFile::Options kPageWrite{.refuseLinks = true, .syncEach = false};

void writePage(PageWriter& writer, const QString& path, const QStringList& lines)
{
    writer.write(path, HtmlSite::bytes(lines));
}

// The pages at the site's top, whose names no unit folder may take.
constexpr QStringView kSitePages[] = {u"index.htm", u"cabecalho.htm", u"rodape.htm", u"mensagem.htm",
                                      u"menu.htm"};

// Creates a unit's folder; one that is a link is refused, as a page is.
void makeUnitFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        throw QuorvelError(AtomicFile::cannotCreate(path, AtomicFile::linkReason()));
    QDir().mkdir(path);
    AtomicFile::removeStaleTemporaries(path);
}

// A line in Windows-1252; a character the code page lacks becomes a numeric
// character reference. Most characters of a page are ASCII, and those are
// their own byte.
void appendEncoded(QByteArray& out, QStringView text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // A run of characters of one byte each, written in place.
        const qsizetype base = out.size();
        out.resize(base + (n - i));
        char* const begin = out.data() + base;
        char* p = begin;
        for (; i < n; ++i) {
            const char16_t c = text[i].unicode();
            if (c < 0x80)
                *p++ = static_cast<char>(c);
            else if (Windows1252::canEncode(c))
                *p++ = Windows1252::encodeChar(c);
            else
                break;
        }
        out.resize(base + (p - begin));
        if (i == n)
            break;
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < n && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(static_cast<char16_t>(code), text[++i].unicode());
        out.append("&#").append(QByteArray::number(static_cast<quint32>(code))).append(';');
        ++i;
    }
}

} // namespace

HtmlSite::HtmlSite(FormatoHTML formato, OpcoesDocumentacao opcoes, QString contato)
    : m_formato(std::move(formato)), m_opcoes(opcoes), m_contato(std::move(contato))
{}

QByteArray HtmlSite::bytes(const QStringList& lines)
{
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    QByteArray out;
    out.reserve(size);
    for (const QString& line : lines) {
        appendEncoded(out, line);
        out.append("\r\n", 2);
    }
    return out;
}

QString HtmlSite::nomePasta(const QString& unit)
{
    QString nome = unit;
    for (QChar& c : nome) {
        // Control characters of both halves (C0, DEL and C1) and every
        // character a path or a link could abuse.
        if (c.category() == QChar::Other_Control || QStringView(u"/\\\"<>&#?%:*|").contains(c))
            c = u'_';
    }
    if (nome.isEmpty() || nome.count(u'.') == nome.size())
        nome = QString(std::max<qsizetype>(1, nome.size()), u'_');
    return nome;
}

QStringList HtmlSite::index(const QString& aplicacao) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>"_s % aplicacao % u" - Help</title>"_s,
        u"  </head>"_s,
        u"    <frameset rows=\"10%,*,5%\" frameborder=\"1\" framespacing=\"2\">"_s,
        u"      <frame src=\"cabecalho.htm\" name=\"cabecalho\" noresize scrolling=\"NO\">"_s,
        u"      <frameset COLS=\"17%,*\" frameborder=\"1\" framespacing=\"2\">"_s,
        u"        <frame src=\"menu.htm\" name=\"menu\" scrolling=\"YES\">"_s,
        u"        <frame src=\"mensagem.htm\" name=\"conteudo\" marginwidth=\"2\" marginheight=\"3\" scrolling=\"YES\">"_s,
        u"      </frameset>"_s,
        u"      <frame src=\"rodape.htm\" name=\"rodape\" noresize scrolling=\"NO\">"_s,
        u"    </frameset>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::cabecalho(const QString& aplicacao, const QString& versao) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Cabeçalho</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(Formato::clFundoCab) % u"\">"_s,
        u"    <table border=\"1\" bgcolor=\"#"_s % f(Formato::clCab) %
            u"\" width=\"1265\" height=\"10\" align=\"center\">"_s,
        u"      <tr><td>"_s,
        u"        <font size=\"6\" face=\""_s % f(Formato::FontCab) % u"\" color=\"#"_s %
            f(Formato::clFontCab) % u"\"><p align=\"center\">"_s % aplicacao % u' ' % versao %
            u"</p></font></td>"_s,
        u"      </tr>"_s,
        u"    </table>"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::rodape(const QString& versao) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Rodapé</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"font-size: 12; text-align: center; color: #"_s % f(Formato::clFontCab) %
            u"; background-color: #"_s % f(Formato::clFundoCab) % u"\">"_s,
        u"    <p>P&aacute;gina automaticamente gerada pelo Quorvel "_s % versao % u" - <a href=\"mailto:"_s %
            m_contato % u"\">"_s % m_contato % u"</a></p>"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::mensagem(const QString& aplicacao, const QString& versao) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Ajuda Geral</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"color: #"_s % f(Formato::clFontConteudo) % u"; font-family: "_s %
            f(Formato::FontConteudo) % u"; font-size: 28; background-color: #"_s %
            f(Formato::clFundoConteudo) % u"\">"_s,
        u"    <p align=\"center\">"_s,
        u"    <br />"_s,
        u"    <br />Seja bem vindo &agrave; ajuda do"_s,
        u"    <br />"_s % aplicacao % u' ' % versao,
        u"    <br /></p>"_s,
        u"    <font style=\"font-size: 22; color: #"_s % f(Formato::clFontConteudo) %
            u"\"><p align=\"center\">"_s,
        u"    <br />Selecione no menu &agrave; esquerda a op&ccedil;&atilde;o desejada"_s,
        u"    <br /></p></font>"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::GeraPaginaInexistente() const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>P&aacute;gina Inexistente</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(Formato::clFundoConteudo) % u";font-family: "_s %
            f(Formato::FontConteudo) % u"; font-size: 22; color: #"_s % f(Formato::clFontConteudo) %
            u"; font-style: italic; font-weight: bold\">"_s,
        u"    <br />"_s,
        u"    <br />"_s,
        u"    <p style=\"text-align: center\">Selecione um dos menus acima para obter ajuda</p>"_s,
        u"    <br />"_s,
        u"    <br />"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

void HtmlSite::entrada(QStringList& pagina, const QString& identificador, const QString& help) const
{
    pagina.append(
        u"    <table width=\"1000\" cellspacing=\"1\" cellpadding=\"3\" border=\"1\" bgcolor=\"#"_s %
        f(Formato::clConteudoTitulo) % u"\">"_s);
    pagina.append(u"      <tr><td style=\"background-color: #"_s % f(Formato::clConteudoTitulo) %
                  u"; color: #"_s % f(Formato::clFontConteudoTitulo) % u"; font-family: "_s %
                  f(Formato::FontConteudoTitulo) % u"\"><b>"_s % identificador % u"</b></td></tr>"_s);
    pagina.append(u"      <tr><td style=\"background-color: #"_s % f(Formato::clConteudo) % u"; color: #"_s %
                  f(Formato::clFontConteudo) % u"\">"_s);
    for (const QString& line : m_helpLines.split(help))
        pagina.append(line % u"<br />"_s);
    pagina.append(u"</td></tr>"_s);
    pagina.append(u"    </table><br />"_s);
}

void HtmlSite::write(const QString& pasta, const QString& aplicacao, const QString& versao,
                     IdentifierTable& tabela, const Progresso& progresso) const
{
    AtomicFile::removeStaleTemporaries(pasta);
    PageWriter writer(kPageWrite);
    writePage(writer, pasta % u"/index.htm"_s, index(aplicacao));
    writePage(writer, pasta % u"/cabecalho.htm"_s, cabecalho(aplicacao, versao));
    writePage(writer, pasta % u"/rodape.htm"_s, rodape(versao));
    writePage(writer, pasta % u"/mensagem.htm"_s, mensagem(aplicacao, versao));
    GeraPaginasUnits(writer, pasta, tabela, progresso);
    writer.finish();
}

QString HtmlSite::PastasUnits::of(const QString& unit)
{
    const auto known = m_byUnit.constFind(unit);
    if (known != m_byUnit.constEnd())
        return *known;
    const QString base = nomePasta(unit);
    QString nome = base;
    for (int n = 2; taken(nome); ++n)
        nome = base % u'_' % QString::number(n);
    m_taken.insert(nome.toLower());
    m_byUnit.insert(unit, nome);
    return nome;
}

bool HtmlSite::PastasUnits::taken(const QString& nome) const
{
    // Without regard to letter case, as the site may be copied to a file
    // system that has none.
    const QString lower = nome.toLower();
    return m_taken.contains(lower) || std::any_of(std::begin(kSitePages), std::end(kSitePages),
                                                  [&](QStringView page) { return page == lower; });
}

QStringList HtmlSite::menuInicio() const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Menu Units</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"font-family: "_s % f(Formato::FontMenuTitulo) % u"; color: #"_s %
            f(Formato::clFontMenuTitulo) % u"; background-color: #"_s % f(Formato::clFundoMenu) % u"\">"_s,
        u"    <table width=\"200\" cellspacing=\"1\" cellpadding=\"3\" border=\"1\" bgcolor=\"#"_s %
            f(Formato::clMenuTitulo) % u"\">"_s,
        u"       <tr><td><p align=\"center\"><b>UNITS</b></p></td></tr>"_s,
    };
}

QString HtmlSite::itemMenu(const QString& unit, const QString& pastaUnit) const
{
    return u"       <tr><td bgcolor=\"#"_s % f(Formato::clMenu) % u"\"><font color=\"#"_s %
           f(Formato::clFontMenu) % u"\" face=\""_s % f(Formato::FontMenu) % u"\"><a href=\""_s % pastaUnit %
           u"/conteudo.htm\" target=\"conteudo\">"_s % unit.toHtmlEscaped() % u".pas</a></font></td></tr>"_s;
}

HtmlSite::Secoes HtmlSite::secoesDaUnit(IdentifierTable& tabela, const IdentifierTable::UnitRun& run) const
{
    Secoes secoes;
    secoes.ajuda = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Ajuda Geral</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"font-family: "_s % f(Formato::FontConteudo) % u"; background-color: #"_s %
            f(Formato::clFundoConteudo) % u"\">"_s,
    };
    secoes.procedimentos = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Procedimentos</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(Formato::clFundoConteudo) % u"; color: #"_s %
            f(Formato::clFontConteudo) % u"\"><font face=\""_s % f(Formato::FontConteudo) % u"\">"_s,
    };
    secoes.tabelas = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Tabelas MySQL</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(Formato::clFundoConteudo) % u"\"><font face=\""_s %
            f(Formato::FontConteudo) % u"\">"_s,
    };
    for (int linha = run.first; linha < run.end; ++linha) {
        const IdentifierRow& row = tabela.row(linha);
        const RowKinds::Kind kind = RowKinds::kindOf(row);
        if (!m_opcoes.inclui(kind))
            continue;
        switch (kind) {
        case RowKinds::Kind::Help:
        case RowKinds::Kind::Orphan: // orphan comments are general help of their unit
            entrada(secoes.ajuda, row.identificador, row.helpIdentificador);
            secoes.temAjuda = true;
            break;
        case RowKinds::Kind::Table:
            entrada(secoes.tabelas, row.identificador, row.helpIdentificador);
            secoes.temTabelas = true;
            break;
        case RowKinds::Kind::Routine:
            entrada(secoes.procedimentos, row.identificador, row.helpIdentificador);
            secoes.temProcedimentos = true;
            break;
        case RowKinds::Kind::Other:
            break;
        }
    }
    return secoes;
}

QStringList HtmlSite::conteudo() const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Conteúdo</title>"_s,
        u"  </head>"_s,
        u"    <frameset rows=\"20%,*%\" frameborder=\"1\" framespacing=\"2\">"_s,
        u"      <frame name=\"menuitens\" src=\"menuitens.htm\" marginwidth=\"10\" "
        u"marginheight=\"10\" "
        u"scrolling=\"Auto\" frameborder=\"YES\" noresize>"_s,
        u"      <frame name=\"itens\" src=\"mensagem.htm\" marginwidth=\"10\" marginheight=\"10\" "
        u"scrolling=\"Auto\" frameborder=\"YES\" noresize>"_s,
        u"    </frameset>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::menuItens(const QString& unit, const Secoes& secoes) const
{
    QStringList pagina = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Menu Itens</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(Formato::clFundoMenuconteudo) % u"; color: #"_s %
            f(Formato::clFontConteudoTitulo) % u"\">"_s,
        u"    <font face=\""_s % f(Formato::FontMenu) % u"\" size=\"3\"><b><p align=\"left\">"_s %
            unit.toHtmlEscaped() % u"</p></b></font>"_s,
        u"    <table width=\"10\" cellspacing=\"1\" cellpadding=\"4\" border=\"1\" bgcolor=\"#"_s %
            f(Formato::clMenu) % u"\">"_s,
        u"      <tr>"_s,
    };
    const auto celula = [&](QStringView destino, QStringView rotulo) {
        pagina.append(u"        <td bgcolor=\"#"_s % f(Formato::clMenuconteudo) % u"\"><font face=\""_s %
                      f(Formato::FontMenuconteudo) % u"\"><a href=\""_s % destino %
                      u"\" target=\"itens\" style=\"color: #"_s % f(Formato::clFontMenuconteudo) %
                      u"\"><p align=\"center\">"_s % rotulo % u"</p></a></font></td>"_s);
    };
    if (secoes.temAjuda)
        celula(u"ajuda.htm", u"Ajuda");
    if (secoes.temProcedimentos)
        celula(u"procedimentos.htm", u"Procedimentos");
    if (secoes.temTabelas)
        celula(u"tabelas.htm", u"Tabelas");
    pagina << u"      </tr>"_s << u"    </table>"_s << u"  </body>"_s << u"</html>"_s;
    return pagina;
}

void HtmlSite::escrevePaginasUnit(PageWriter& writer, const QString& pastaUnit, const QString& unit,
                                  Secoes secoes) const
{
    const QStringList inexistente = GeraPaginaInexistente();
    // A unit without any section: both its frame pages are the placeholder.
    const bool algumaSecao = secoes.temAjuda || secoes.temProcedimentos || secoes.temTabelas;
    writePage(writer, pastaUnit % u"/conteudo.htm"_s, algumaSecao ? conteudo() : inexistente);
    writePage(writer, pastaUnit % u"/menuitens.htm"_s, algumaSecao ? menuItens(unit, secoes) : inexistente);
    // A section the unit lacks is the placeholder; the others close their page.
    const auto fecha = [&](QStringList& pagina, bool tem, bool comFonte) {
        if (!tem) {
            pagina = inexistente;
            return;
        }
        if (comFonte)
            pagina.append(u"   </font>"_s);
        pagina << u"  </body>"_s << u"</html>"_s;
    };
    fecha(secoes.ajuda, secoes.temAjuda, false);
    fecha(secoes.tabelas, secoes.temTabelas, true);
    fecha(secoes.procedimentos, secoes.temProcedimentos, true);
    writePage(writer, pastaUnit % u"/procedimentos.htm"_s, secoes.procedimentos);
    writePage(writer, pastaUnit % u"/tabelas.htm"_s, secoes.tabelas);
    writePage(writer, pastaUnit % u"/ajuda.htm"_s, secoes.ajuda);
    writePage(writer, pastaUnit % u"/mensagem.htm"_s, inexistente);
}

void HtmlSite::GeraPaginasUnits(PageWriter& writer, const QString& pasta, IdentifierTable& tabela,
                                const Progresso& progresso) const
{
    QStringList menu = menuInicio();
    PastasUnits pastas;
    const std::vector<IdentifierTable::UnitRun> runs = tabela.unitRuns();
    // A unit that comes back in a later run gets its folder's pages from that
    // run, which replaces them whole: the pages of its earlier runs would be
    // written only to be replaced, so only its last run writes them.
    QHash<QString, size_t> lastRun;
    for (size_t i = 0; i < runs.size(); ++i)
        lastRun.insert(runs[i].unit, i);
    for (size_t i = 0; i < runs.size(); ++i) {
        const IdentifierTable::UnitRun& run = runs[i];
        const QString nomePastaUnit = pastas.of(run.unit);
        const QString pastaUnit = pasta % u'/' % nomePastaUnit;
        if (progresso)
            progresso(run.first, tabela.rowCount(), pastaUnit);
        makeUnitFolder(pastaUnit);
        menu.append(itemMenu(run.unit, nomePastaUnit));
        if (lastRun.value(run.unit) == i)
            escrevePaginasUnit(writer, pastaUnit, run.unit, secoesDaUnit(tabela, run));
    }
    menu << u"    </table>"_s << u"  </body>"_s << u"</html>"_s;
    writePage(writer, pasta % u"/menu.htm"_s, menu);
    // The rows are read from the table, not through its cursor, which the
    // grid and the help box follow: moved row by row, they would be updated
    // a hundred thousand times. The walk leaves it on the last row.
    if (tabela.rowCount() > 0)
        tabela.setCursor(tabela.rowCount() - 1);
    if (progresso)
        progresso(tabela.rowCount(), tabela.rowCount(), QString());
}
