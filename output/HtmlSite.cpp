#include "output/HtmlSite.h"

#include "common/AtomicFile.h"
#include "common/QuorvelError.h"
#include "common/Windows1252.h"
#include "output/PageWriter.h"
#include "settings/IniFile.h"
#include "settings/OptionsState.h"
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

HtmlSite::HtmlSite(HtmlFormat format, DocumentationOptions options, QString contact)
    : m_format(std::move(format)), m_options(options), m_contact(std::move(contact))
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

QString HtmlSite::folderName(const QString& unit)
{
    QString name = unit;
    for (QChar& c : name) {
        // Control characters of both halves (C0, DEL and C1) and every
        // character a path or a link could abuse.
        if (c.category() == QChar::Other_Control || QStringView(u"/\\\"<>&#?%:*|").contains(c))
            c = u'_';
    }
    if (name.isEmpty() || name.count(u'.') == name.size())
        name = QString(std::max<qsizetype>(1, name.size()), u'_');
    return name;
}

QStringList HtmlSite::index(const QString& application) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>"_s % application % u" - Help</title>"_s,
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

QStringList HtmlSite::header(const QString& application, const QString& version) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Cabeçalho</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(HtmlFormatKey::clFundoCab) % u"\">"_s,
        u"    <table border=\"1\" bgcolor=\"#"_s % f(HtmlFormatKey::clCab) %
            u"\" width=\"1265\" height=\"10\" align=\"center\">"_s,
        u"      <tr><td>"_s,
        u"        <font size=\"6\" face=\""_s % f(HtmlFormatKey::FontCab) % u"\" color=\"#"_s %
            f(HtmlFormatKey::clFontCab) % u"\"><p align=\"center\">"_s % application % u' ' % version %
            u"</p></font></td>"_s,
        u"      </tr>"_s,
        u"    </table>"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::footer(const QString& version) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Rodapé</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"font-size: 12; text-align: center; color: #"_s % f(HtmlFormatKey::clFontCab) %
            u"; background-color: #"_s % f(HtmlFormatKey::clFundoCab) % u"\">"_s,
        u"    <p>P&aacute;gina automaticamente gerada pelo Quorvel "_s % version % u" - <a href=\"mailto:"_s %
            m_contact % u"\">"_s % m_contact % u"</a></p>"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::message(const QString& application, const QString& version) const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Ajuda Geral</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"color: #"_s % f(HtmlFormatKey::clFontConteudo) % u"; font-family: "_s %
            f(HtmlFormatKey::FontConteudo) % u"; font-size: 28; background-color: #"_s %
            f(HtmlFormatKey::clFundoConteudo) % u"\">"_s,
        u"    <p align=\"center\">"_s,
        u"    <br />"_s,
        u"    <br />Seja bem vindo &agrave; ajuda do"_s,
        u"    <br />"_s % application % u' ' % version,
        u"    <br /></p>"_s,
        u"    <font style=\"font-size: 22; color: #"_s % f(HtmlFormatKey::clFontConteudo) %
            u"\"><p align=\"center\">"_s,
        u"    <br />Selecione no menu &agrave; esquerda a op&ccedil;&atilde;o desejada"_s,
        u"    <br /></p></font>"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

QStringList HtmlSite::placeholderPage() const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>P&aacute;gina Inexistente</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(HtmlFormatKey::clFundoConteudo) % u";font-family: "_s %
            f(HtmlFormatKey::FontConteudo) % u"; font-size: 22; color: #"_s %
            f(HtmlFormatKey::clFontConteudo) % u"; font-style: italic; font-weight: bold\">"_s,
        u"    <br />"_s,
        u"    <br />"_s,
        u"    <p style=\"text-align: center\">Selecione um dos menus acima para obter ajuda</p>"_s,
        u"    <br />"_s,
        u"    <br />"_s,
        u"  </body>"_s,
        u"</html>"_s,
    };
}

void HtmlSite::entry(QStringList& page, const QString& identifier, const QString& help) const
{
    page.append(u"    <table width=\"1000\" cellspacing=\"1\" cellpadding=\"3\" border=\"1\" bgcolor=\"#"_s %
                f(HtmlFormatKey::clConteudoTitulo) % u"\">"_s);
    page.append(u"      <tr><td style=\"background-color: #"_s % f(HtmlFormatKey::clConteudoTitulo) %
                u"; color: #"_s % f(HtmlFormatKey::clFontConteudoTitulo) % u"; font-family: "_s %
                f(HtmlFormatKey::FontConteudoTitulo) % u"\"><b>"_s % identifier % u"</b></td></tr>"_s);
    page.append(u"      <tr><td style=\"background-color: #"_s % f(HtmlFormatKey::clConteudo) %
                u"; color: #"_s % f(HtmlFormatKey::clFontConteudo) % u"\">"_s);
    for (const QString& line : m_helpLines.split(help))
        page.append(line % u"<br />"_s);
    page.append(u"</td></tr>"_s);
    page.append(u"    </table><br />"_s);
}

void HtmlSite::write(const QString& folder, const QString& application, const QString& version,
                     IdentifierTable& table, const Progress& progress) const
{
    AtomicFile::removeStaleTemporaries(folder);
    PageWriter writer(kPageWrite);
    writePage(writer, folder % u"/index.htm"_s, index(application));
    writePage(writer, folder % u"/cabecalho.htm"_s, header(application, version));
    writePage(writer, folder % u"/rodape.htm"_s, footer(version));
    writePage(writer, folder % u"/mensagem.htm"_s, message(application, version));
    writeUnitPages(writer, folder, table, progress);
    writer.finish();
}

QString HtmlSite::UnitFolders::of(const QString& unit)
{
    const auto known = m_byUnit.constFind(unit);
    if (known != m_byUnit.constEnd())
        return *known;
    const QString base = folderName(unit);
    QString name = base;
    for (int n = 2; taken(name); ++n)
        name = base % u'_' % QString::number(n);
    m_taken.insert(name.toLower());
    m_byUnit.insert(unit, name);
    return name;
}

bool HtmlSite::UnitFolders::taken(const QString& name) const
{
    // Without regard to letter case, as the site may be copied to a file
    // system that has none.
    const QString lower = name.toLower();
    return m_taken.contains(lower) || std::any_of(std::begin(kSitePages), std::end(kSitePages),
                                                  [&](QStringView page) { return page == lower; });
}

QStringList HtmlSite::menuStart() const
{
    return {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Menu Units</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"font-family: "_s % f(HtmlFormatKey::FontMenuTitulo) % u"; color: #"_s %
            f(HtmlFormatKey::clFontMenuTitulo) % u"; background-color: #"_s % f(HtmlFormatKey::clFundoMenu) %
            u"\">"_s,
        u"    <table width=\"200\" cellspacing=\"1\" cellpadding=\"3\" border=\"1\" bgcolor=\"#"_s %
            f(HtmlFormatKey::clMenuTitulo) % u"\">"_s,
        u"       <tr><td><p align=\"center\"><b>UNITS</b></p></td></tr>"_s,
    };
}

QString HtmlSite::menuItem(const QString& unit, const QString& unitFolder) const
{
    return u"       <tr><td bgcolor=\"#"_s % f(HtmlFormatKey::clMenu) % u"\"><font color=\"#"_s %
           f(HtmlFormatKey::clFontMenu) % u"\" face=\""_s % f(HtmlFormatKey::FontMenu) % u"\"><a href=\""_s %
           unitFolder % u"/conteudo.htm\" target=\"conteudo\">"_s % unit.toHtmlEscaped() %
           m_unitExtensions.value(unit, u".pas"_s).toHtmlEscaped() % u"</a></font></td></tr>"_s;
}

HtmlSite::Sections HtmlSite::unitSections(IdentifierTable& table, const IdentifierTable::UnitRun& run) const
{
    Sections sections;
    sections.help = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Ajuda Geral</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"font-family: "_s % f(HtmlFormatKey::FontConteudo) % u"; background-color: #"_s %
            f(HtmlFormatKey::clFundoConteudo) % u"\">"_s,
    };
    sections.routines = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Procedimentos</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(HtmlFormatKey::clFundoConteudo) % u"; color: #"_s %
            f(HtmlFormatKey::clFontConteudo) % u"\"><font face=\""_s % f(HtmlFormatKey::FontConteudo) %
            u"\">"_s,
    };
    sections.tables = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Tabelas MySQL</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(HtmlFormatKey::clFundoConteudo) % u"\"><font face=\""_s %
            f(HtmlFormatKey::FontConteudo) % u"\">"_s,
    };
    for (int line = run.first; line < run.end; ++line) {
        const IdentifierRow& row = table.row(line);
        const RowKinds::Kind kind = RowKinds::kindOf(row);
        if (!m_options.includes(kind))
            continue;
        switch (kind) {
        case RowKinds::Kind::Help:
        case RowKinds::Kind::Orphan: // orphan comments are general help of their unit
            entry(sections.help, row.identifier, row.help);
            sections.hasHelp = true;
            break;
        case RowKinds::Kind::Table:
            entry(sections.tables, row.identifier, row.help);
            sections.hasTables = true;
            break;
        case RowKinds::Kind::Routine:
            entry(sections.routines, row.identifier, row.help);
            sections.hasRoutines = true;
            break;
        case RowKinds::Kind::Other:
            break;
        }
    }
    return sections;
}

QStringList HtmlSite::contents() const
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

QStringList HtmlSite::menuItems(const QString& unit, const Sections& sections) const
{
    QStringList page = {
        u"<html>"_s,
        u"  <head>"_s,
        u"    <title>Menu Itens</title>"_s,
        u"  </head>"_s,
        u"  <body style=\"background-color: #"_s % f(HtmlFormatKey::clFundoMenuconteudo) % u"; color: #"_s %
            f(HtmlFormatKey::clFontConteudoTitulo) % u"\">"_s,
        u"    <font face=\""_s % f(HtmlFormatKey::FontMenu) % u"\" size=\"3\"><b><p align=\"left\">"_s %
            unit.toHtmlEscaped() % u"</p></b></font>"_s,
        u"    <table width=\"10\" cellspacing=\"1\" cellpadding=\"4\" border=\"1\" bgcolor=\"#"_s %
            f(HtmlFormatKey::clMenu) % u"\">"_s,
        u"      <tr>"_s,
    };
    const auto cell = [&](QStringView target, QStringView area) {
        page.append(u"        <td bgcolor=\"#"_s % f(HtmlFormatKey::clMenuconteudo) % u"\"><font face=\""_s %
                    f(HtmlFormatKey::FontMenuconteudo) % u"\"><a href=\""_s % target %
                    u"\" target=\"itens\" style=\"color: #"_s % f(HtmlFormatKey::clFontMenuconteudo) %
                    u"\"><p align=\"center\">"_s % area % u"</p></a></font></td>"_s);
    };
    if (sections.hasHelp)
        cell(u"ajuda.htm", u"Ajuda");
    if (sections.hasRoutines)
        cell(u"procedimentos.htm", u"Procedimentos");
    if (sections.hasTables)
        cell(u"tabelas.htm", u"Tabelas");
    page << u"      </tr>"_s << u"    </table>"_s << u"  </body>"_s << u"</html>"_s;
    return page;
}

void HtmlSite::writeUnitFolderPages(PageWriter& writer, const QString& unitFolder, const QString& unit,
                                    Sections sections) const
{
    const QStringList placeholder = placeholderPage();
    // A unit without any section: both its frame pages are the placeholder.
    const bool anySection = sections.hasHelp || sections.hasRoutines || sections.hasTables;
    writePage(writer, unitFolder % u"/conteudo.htm"_s, anySection ? contents() : placeholder);
    writePage(writer, unitFolder % u"/menuitens.htm"_s, anySection ? menuItems(unit, sections) : placeholder);
    // A section the unit lacks is the placeholder; the others close their page.
    const auto closePage = [&](QStringList& page, bool has, bool withFont) {
        if (!has) {
            page = placeholder;
            return;
        }
        if (withFont)
            page.append(u"   </font>"_s);
        page << u"  </body>"_s << u"</html>"_s;
    };
    closePage(sections.help, sections.hasHelp, false);
    closePage(sections.tables, sections.hasTables, true);
    closePage(sections.routines, sections.hasRoutines, true);
    writePage(writer, unitFolder % u"/procedimentos.htm"_s, sections.routines);
    writePage(writer, unitFolder % u"/tabelas.htm"_s, sections.tables);
    writePage(writer, unitFolder % u"/ajuda.htm"_s, sections.help);
    writePage(writer, unitFolder % u"/mensagem.htm"_s, placeholder);
}

void HtmlSite::writeUnitPages(PageWriter& writer, const QString& folder, IdentifierTable& table,
                              const Progress& progress) const
{
    QStringList menu = menuStart();
    UnitFolders folders;
    const std::vector<IdentifierTable::UnitRun> runs = table.unitRuns();
    // A unit that comes back in a later run gets its folder's pages from that
    // run, which replaces them whole: the pages of its earlier runs would be
    // written only to be replaced, so only its last run writes them.
    QHash<QString, size_t> lastRun;
    for (size_t i = 0; i < runs.size(); ++i)
        lastRun.insert(runs[i].unit, i);
    for (size_t i = 0; i < runs.size(); ++i) {
        const IdentifierTable::UnitRun& run = runs[i];
        const QString unitFolderName = folders.of(run.unit);
        const QString unitFolder = folder % u'/' % unitFolderName;
        if (progress)
            progress(run.first, table.rowCount(), unitFolder);
        makeUnitFolder(unitFolder);
        menu.append(menuItem(run.unit, unitFolderName));
        if (lastRun.value(run.unit) == i)
            writeUnitFolderPages(writer, unitFolder, run.unit, unitSections(table, run));
    }
    menu << u"    </table>"_s << u"  </body>"_s << u"</html>"_s;
    writePage(writer, folder % u"/menu.htm"_s, menu);
    // The rows are read from the table, not through its cursor, which the
    // grid and the help box follow: moved row by row, they would be updated
    // a hundred thousand times. The walk leaves it on the last row.
    if (table.rowCount() > 0)
        table.setCursor(table.rowCount() - 1);
    if (progress)
        progress(table.rowCount(), table.rowCount(), QString());
}
