#include "output/ModernSite.h"

#include "common/AtomicFile.h"
#include "common/QuorvelError.h"
#include "common/UnitPath.h"
#include "output/HelpMarkup.h"
#include "output/PageWriter.h"
#include "output/SearchScript.h"
#include "table/IdentifierTable.h"
#include "table/RowKinds.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <map>

using namespace Qt::Literals::StringLiterals;
using HelpMarkup::escaped;

namespace {

// The pages at the site's top, whose names no unit page may take.
constexpr QStringView kSitePages[] = {u"index", u"indice", u"busca"};

// One documented thing of a unit, as its page shows it.
struct Entry
{
    const IdentifierRow* row;
    RowKinds::Kind kind;
    QString anchor;
};

struct UnitPage
{
    QString unit;
    QString page; // its file's name
    std::vector<Entry> entries;
};

// A page name from a unit's name: the characters a file name or an address
// keeps as they are, others '_'; never a site page's, never another unit's
// (letter case ignored, as the site may be copied where it does not count).
QString pageName(const QString& unit, QSet<QString>& taken)
{
    QString base;
    for (const QChar c : unit) {
        const bool keep = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                          c == u'_' || c == u'-' || c == u'.';
        base += keep ? c : u'_';
    }
    while (base.startsWith(u'.'))
        base.replace(0, 1, u'_');
    if (base.isEmpty())
        base = u"_"_s;
    QString name = base;
    for (int n = 2;; ++n) {
        const QString lower = name.toLower();
        const bool reserved = std::any_of(std::begin(kSitePages), std::end(kSitePages),
                                          [&](QStringView p) { return p == lower; });
        if (!reserved && !taken.contains(lower))
            break;
        name = base % u'_' % QString::number(n);
    }
    taken.insert(name.toLower());
    return name % u".html"_s;
}

// An anchor from a name: as it stands (TForm1.Soma), but no blank, which
// an id may not hold; a second one of the same name gets "-2", ...
QString anchorFor(const QString& name, QSet<QString>& taken)
{
    QString base = name.simplified().replace(u' ', u'_');
    if (base.isEmpty())
        base = u"item"_s;
    QString anchor = base;
    for (int n = 2; taken.contains(anchor); ++n)
        anchor = base % u'-' % QString::number(n);
    taken.insert(anchor);
    return anchor;
}

// An address to an anchor of a page: the anchor percent-encoded, as an
// address holds only ASCII (the id itself keeps its characters).
QString anchorHref(const QString& page, const QString& anchor)
{
    // Most anchors are Pascal names, which need no encoding at all.
    const bool plain = std::all_of(anchor.cbegin(), anchor.cend(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'_' || c == u'.' || c == u'-';
    });
    if (plain)
        return page % u'#' % anchor;
    return page % u'#' % QString::fromLatin1(QUrl::toPercentEncoding(anchor, "._-~!$&'()*+,;=:@/?"));
}

// A routine's name as its anchor and the index give it: the qualified
// name, or the heading when no name was read.
QString routineName(const IdentifierRow& row)
{
    return row.name.isEmpty() ? row.identifier : row.name;
}

// The first line of a help text, for lists.
QString firstLine(const QString& help)
{
    const qsizetype end = help.indexOf(u"\r\n"_s);
    return end < 0 ? help : help.first(end);
}

// A string as JavaScript reads it: quotes, backslashes, controls and the
// line separators escaped.
void appendJsString(QString& out, QStringView text)
{
    // Runs of plain characters are copied whole.
    const auto special = [](char16_t c) {
        return c == u'"' || c == u'\\' || c < 0x20 || c == 0x2028 || c == 0x2029 || c == u'<';
    };
    out += u'"';
    const char16_t* from = text.utf16();
    const char16_t* end = from + text.size();
    for (const char16_t* run = std::find_if(from, end, special); run != end;
         run = std::find_if(from, end, special)) {
        out.append(QStringView(from, run));
        if (*run == u'"' || *run == u'\\') {
            out += u'\\';
            out += QChar(*run);
        } else {
            out += u"\\u"_s % QString::number(*run, 16).rightJustified(4, u'0');
        }
        from = run + 1;
    }
    out.append(QStringView(from, end));
    out += u'"';
}

// Colours as the settings write them (rrggbb); anything else is not used.
std::optional<QColor> colourOf(const QString& value)
{
    static const QRegularExpression hex(u"^[0-9a-fA-F]{6}$"_s);
    if (!hex.match(value).hasMatch())
        return std::nullopt;
    return QColor(u'#' % value);
}

double luminance(const QColor& c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text colour the settings give when it stands out from its background
// as WCAG AA asks (4.5:1); otherwise near black or near white, whichever
// reads better there.
QString readableOn(const QString& text, const QString& background, const QString& fallbackBackground)
{
    const QColor back = colourOf(background).value_or(QColor(u'#' % fallbackBackground));
    if (const std::optional<QColor> fore = colourOf(text); fore && contrast(*fore, back) >= 4.5)
        return fore->name();
    const QColor dark(u"#1a1a1a"_s);
    const QColor light(u"#f5f5f5"_s);
    return (contrast(dark, back) >= contrast(light, back) ? dark : light).name();
}

QString backgroundOf(const QString& value, const QString& fallback)
{
    return colourOf(value).value_or(QColor(u'#' % fallback)).name();
}

// A font family from the settings, as CSS reads it safely: letters,
// digits, blanks and hyphens only, quoted, before the generic family.
QString fontFamily(const QString& face, QStringView generic)
{
    QString safe;
    for (const QChar c : face) {
        if (c.isLetterOrNumber() || c == u' ' || c == u'-')
            safe += c;
    }
    safe = safe.simplified();
    return safe.isEmpty() ? generic.toString() : u'"' % safe % u"\", "_s % generic;
}

QString kindLabel(RowKinds::Kind kind)
{
    switch (kind) {
    case RowKinds::Kind::Help:
        return u"Ajuda"_s;
    case RowKinds::Kind::Routine:
        return u"Rotina"_s;
    case RowKinds::Kind::Table:
        return u"Tabela"_s;
    case RowKinds::Kind::Orphan:
        return u"Comentário"_s;
    case RowKinds::Kind::Other:
        break;
    }
    return u"Item"_s;
}

// What every page shares around its main content.
class Layout
{
public:
    explicit Layout(const ModernSite::Identity& identity) : m_identity(identity) {}

    QString page(const QString& title, const QString& main) const
    {
        const QString version = m_identity.version.isEmpty() ? QString()
                                                             : u" <span class=\"version\">"_s %
                                                                   escaped(m_identity.version) % u"</span>"_s;
        return u"<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n"
               u"<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"_s %
               escaped(title) %
               u"</title>\n<link rel=\"stylesheet\" href=\"estilo.css\">\n"
               u"<script src=\"busca-indice.js\" defer></script>\n"
               u"<script src=\"busca.js\" defer></script>\n</head>\n<body>\n"
               u"<a class=\"skip\" href=\"#conteudo\">Ir para o conteúdo</a>\n"
               u"<header class=\"site\">\n<p class=\"brand\"><a href=\"index.html\">"_s %
               escaped(m_identity.title) % u"</a>"_s % version %
               u"</p>\n<nav aria-label=\"Site\"><a href=\"index.html\">Unidades</a> "
               u"<a href=\"indice.html\">Índice A–Z</a></nav>\n"
               u"<form class=\"search\" role=\"search\" action=\"busca.html\">\n"
               u"<label for=\"busca\">Buscar</label>\n"
               u"<input type=\"search\" id=\"busca\" name=\"q\" placeholder=\"Nome ou texto (tecla /)\" "
               u"autocomplete=\"off\">\n</form>\n</header>\n<main id=\"conteudo\">\n"_s %
               main % u"</main>\n<footer class=\"site\">"_s % escaped(m_identity.title) %
               (m_identity.version.isEmpty() ? QString() : u' ' % escaped(m_identity.version)) %
               u" · documentação gerada pelo Quorvel</footer>\n</body>\n</html>\n"_s;
    }

private:
    const ModernSite::Identity& m_identity;
};

} // namespace

ModernSite::ModernSite(HtmlFormat format, DocumentationOptions options)
    : m_format(std::move(format)), m_options(options)
{}

QString ModernSite::markerName()
{
    return u".quorvel-site"_s;
}

QString ModernSite::styleSheet() const
{
    const auto f = [this](HtmlFormatKey key) { return m_format[key]; };
    const QString page = backgroundOf(f(HtmlFormatKey::clFundoConteudo), u"ffffff"_s);
    const QString header = backgroundOf(f(HtmlFormatKey::clCab), u"77aadd"_s);
    const QString panel = backgroundOf(f(HtmlFormatKey::clConteudo), u"eeeeee"_s);
    const QString heading = backgroundOf(f(HtmlFormatKey::clConteudoTitulo), u"eeeeee"_s);
    QString css =
        u":root {\n"
        u"  color-scheme: light dark;\n"
        u"  --page: "_s %
        page % u";\n  --text: "_s % readableOn(f(HtmlFormatKey::clFontConteudo), page, u"ffffff"_s) %
        u";\n  --header: "_s % header % u";\n  --header-text: "_s %
        readableOn(f(HtmlFormatKey::clFontCab), header, u"77aadd"_s) % u";\n  --panel: "_s % panel %
        u";\n  --panel-text: "_s % readableOn(f(HtmlFormatKey::clFontConteudo), panel, u"eeeeee"_s) %
        u";\n  --heading: "_s % heading % u";\n  --heading-text: "_s %
        readableOn(f(HtmlFormatKey::clFontConteudoTitulo), heading, u"eeeeee"_s) % u";\n  --link: "_s %
        readableOn(f(HtmlFormatKey::clFontMenu), page, u"ffffff"_s) % u";\n  --font: "_s %
        fontFamily(f(HtmlFormatKey::FontMenu), u"sans-serif") % u";\n  --heading-font: "_s %
        fontFamily(f(HtmlFormatKey::FontCab), u"sans-serif") % u";\n  --code-font: "_s %
        fontFamily(f(HtmlFormatKey::FontConteudo), u"monospace") % u";\n}\n"_s;
    css += QStringLiteral(R"(@media (prefers-color-scheme: dark) {
  :root {
    --page: #15181c; --text: #e6e6e6; --header: #1f2a36; --header-text: #f0f0f0;
    --panel: #20252b; --panel-text: #e6e6e6; --heading: #262c33; --heading-text: #f0f0f0;
    --link: #8cc4ff;
  }
}
* { box-sizing: border-box; }
html { font-size: 100%; }
body { margin: 0; background: var(--page); color: var(--text); font-family: var(--font); line-height: 1.5; }
a { color: var(--link); }
.skip { position: absolute; left: -999px; }
.skip:focus { left: 1rem; top: 1rem; background: var(--page); padding: .5rem; z-index: 10; }
header.site { display: flex; flex-wrap: wrap; align-items: center; gap: .5rem 1.5rem; padding: .75rem 1.25rem;
  background: var(--header); color: var(--header-text); }
header.site a { color: var(--header-text); }
.brand { margin: 0; font-family: var(--heading-font); font-size: 1.25rem; font-weight: bold; }
.version { font-weight: normal; font-size: .95rem; margin-left: .25rem; }
nav a { margin-right: 1rem; }
form.search { position: relative; margin-left: auto; min-width: 15rem; flex: 0 1 24rem; }
form.search label { position: absolute; width: 1px; height: 1px; overflow: hidden; clip: rect(0 0 0 0); }
form.search input { width: 100%; padding: .4rem .6rem; font: inherit; border: 1px solid #767676; border-radius: 4px;
  background: var(--page); color: var(--text); }
.results { position: absolute; left: 0; right: 0; top: 100%; z-index: 5; margin: .25rem 0 0; padding: 0;
  list-style: none; max-height: 70vh; overflow: auto; background: var(--page); color: var(--text);
  border: 1px solid #767676; border-radius: 4px; }
.results li { padding: .35rem .6rem; cursor: pointer; }
.results li[aria-selected="true"], .results li:hover { background: var(--heading); color: var(--heading-text); }
.results .unit, .hits .unit { font-size: .85rem; margin-left: .5rem; }
main { max-width: 60rem; margin: 0 auto; padding: 1rem 1.25rem 3rem; }
h1, h2, h3 { font-family: var(--heading-font); line-height: 1.25; }
h2 { border-bottom: 2px solid var(--heading); padding-bottom: .25rem; margin-top: 2rem; }
section.entry { margin: 1.25rem 0; padding: .75rem 1rem; background: var(--panel); color: var(--panel-text);
  border-radius: 6px; }
section.entry h3 { margin: 0 0 .5rem; font-size: 1.1rem; }
section.entry a { color: inherit; }
pre, code { font-family: var(--code-font); }
pre { overflow-x: auto; white-space: pre-wrap; word-break: break-word; margin: .5rem 0; }
pre.signature { background: var(--page); color: var(--text); padding: .5rem .75rem; border-radius: 4px; }
.p { margin: .5rem 0; }
.meta { font-size: .9rem; margin: .5rem 0 0; }
ul.units { list-style: none; padding: 0; }
ul.units li { margin: .5rem 0; }
.summary { display: block; font-size: .95rem; }
.letters { display: flex; flex-wrap: wrap; gap: .25rem .75rem; padding: 0; list-style: none; }
footer.site { padding: 1rem 1.25rem; font-size: .9rem; text-align: center; }
@media (max-width: 40rem) {
  form.search { margin-left: 0; flex-basis: 100%; }
  main { padding: .75rem; }
}
@media print {
  header.site, footer.site, .skip, form.search { display: none; }
  body { background: #fff; color: #000; }
  section.entry { background: none; border: 1px solid #999; break-inside: avoid; }
  a { color: #000; text-decoration: none; }
}
)");
    return css;
}

std::vector<ModernSite::File> ModernSite::files(const Identity& identity, const IdentifierTable& table) const
{
    std::vector<File> out;
    makeFiles(identity, table, [&out](File file) { out.push_back(std::move(file)); });
    return out;
}

void ModernSite::makeFiles(const Identity& identity, const IdentifierTable& table, const Sink& sink,
                           const Progress& progress) const
{
    // The units, each with its rows of the kinds the options include.
    std::map<QString, UnitPage> byUnit; // by lower-cased name: the list's order
    for (int place = 0; place < table.rowCount(); ++place) {
        const IdentifierRow& row = table.row(place);
        const RowKinds::Kind kind = RowKinds::kindOf(row);
        if (!m_options.includes(kind))
            continue;
        UnitPage& unit = byUnit[row.unit.trimmed().toLower() % u'\x1f' % row.unit];
        unit.unit = row.unit;
        unit.entries.push_back({&row, kind, {}});
    }
    QSet<QString> takenPages;
    HelpMarkup::Links links;
    QSet<QString> ambiguous;
    auto addLink = [&](const QString& name, const QString& href) {
        const QString key = name.trimmed().toLower();
        if (key.isEmpty() || ambiguous.contains(key))
            return;
        if (const auto known = links.constFind(key); known != links.constEnd()) {
            // Overloads link to the first of them; the same name in two
            // units links to neither.
            if (known->section(u'#', 0, 0) != href.section(u'#', 0, 0)) {
                links.remove(key);
                ambiguous.insert(key);
            }
            return;
        }
        links.insert(key, href);
    };
    for (auto& [key, unit] : byUnit) {
        unit.page = pageName(unit.unit.trimmed(), takenPages);
        addLink(unit.unit, unit.page);
        QSet<QString> anchors{u"topo"_s};
        for (Entry& entry : unit.entries) {
            const QString name = entry.kind == RowKinds::Kind::Routine ? routineName(*entry.row)
                                 : entry.kind == RowKinds::Kind::Help  ? u"ajuda-"_s % entry.row->identifier
                                                                       : entry.row->identifier;
            entry.anchor = anchorFor(name, anchors);
            if (entry.kind == RowKinds::Kind::Routine)
                addLink(routineName(*entry.row), anchorHref(unit.page, entry.anchor));
        }
    }

    const Layout layout(identity);
    auto add = [&sink](QString name, const QString& text) { sink({std::move(name), text.toUtf8()}); };

    // The start page: the units, each with the first line of its general help.
    QString list = u"<h1 id=\"topo\">"_s % escaped(identity.title) %
                   (identity.version.isEmpty() ? QString() : u' ' % escaped(identity.version)) %
                   u"</h1>\n<h2>Unidades</h2>\n<ul class=\"units\">\n"_s;
    for (const auto& [key, unit] : byUnit) {
        QString summary;
        for (const Entry& entry : unit.entries) {
            if (entry.kind == RowKinds::Kind::Help) {
                summary = entry.row->identifier;
                break;
            }
        }
        const QString extension = UnitPath::extension(m_unitFiles.value(unit.unit));
        list += u"<li><a href=\""_s % escaped(unit.page) % u"\">"_s % escaped(unit.unit.trimmed()) %
                escaped(extension.isEmpty() ? u".pas"_s : extension.toLower()) % u"</a>"_s %
                (summary.isEmpty() ? QString()
                                   : u"<span class=\"summary\">"_s % escaped(summary) % u"</span>"_s) %
                u"</li>\n"_s;
    }
    list += u"</ul>\n"_s;
    add(u"index.html"_s, layout.page(identity.title, list));

    // A page per unit: its general help, its routines, its tables.
    const int total = static_cast<int>(byUnit.size());
    int done = 0;
    QString searchEntries;
    QString searchUnits;
    int unitIndex = 0;
    for (const auto& [key, unit] : byUnit) {
        if (progress)
            progress(done++, total, unit.page);
        const QString file = m_unitFiles.value(unit.unit);
        QString main = u"<h1 id=\"topo\">"_s % escaped(unit.unit.trimmed()) % u"</h1>\n"_s;
        if (!file.isEmpty())
            main += u"<p class=\"meta\">Arquivo: <code>"_s % escaped(QFileInfo(file).fileName()) %
                    u"</code></p>\n"_s;
        const struct
        {
            RowKinds::Kind kind;
            QStringView title;
        } sections[] = {{RowKinds::Kind::Help, u"Ajuda geral"},
                        {RowKinds::Kind::Routine, u"Procedimentos e funções"},
                        {RowKinds::Kind::Table, u"Tabelas MySQL"},
                        {RowKinds::Kind::Orphan, u"Comentários"}};
        for (const auto& section : sections) {
            QString body;
            for (const Entry& entry : unit.entries) {
                if (entry.kind != section.kind)
                    continue;
                const IdentifierRow& row = *entry.row;
                const bool routine = entry.kind == RowKinds::Kind::Routine;
                const QString title = routine ? routineName(row) : row.identifier;
                body += u"<section class=\"entry\" id=\""_s % escaped(entry.anchor) % u"\">\n<h3>"_s %
                        (routine ? u"<code>"_s % escaped(title) % u"</code>"_s : escaped(title)) %
                        u"</h3>\n"_s;
                if (routine)
                    body +=
                        u"<pre class=\"signature\"><code>"_s % escaped(row.identifier) % u"</code></pre>\n"_s;
                if (entry.kind == RowKinds::Kind::Table) {
                    // The note, then the server's description as the client prints it.
                    const qsizetype split = row.help.indexOf(u"\r\r"_s);
                    body += HelpMarkup::toHtml(split < 0 ? row.help : row.help.first(split), links);
                    if (split >= 0)
                        body += u"<pre class=\"signature\">"_s %
                                escaped(row.help.sliced(split + 2)
                                            .replace(u"\r\n"_s, u"\n"_s)
                                            .replace(u'\r', u'\n')) %
                                u"</pre>\n"_s;
                } else {
                    body +=
                        HelpMarkup::toHtml(row.help, links, routine ? routineName(row).toLower() : QString());
                }
                body += u"<p class=\"meta\">"_s;
                if (!file.isEmpty())
                    body += escaped(QFileInfo(file).fileName()) % u", linha "_s % QString::number(row.line) %
                            u" · "_s;
                body += u"<a href=\"#topo\">Topo</a></p>\n</section>\n"_s;
                // The search index: name, unit, page#anchor, kind, the help's first line.
                searchEntries += u'[';
                appendJsString(searchEntries, title);
                searchEntries += u',' % QString::number(unitIndex) % u',';
                appendJsString(searchEntries, entry.anchor);
                searchEntries += u',';
                appendJsString(searchEntries, kindLabel(entry.kind));
                searchEntries += u',';
                appendJsString(searchEntries, firstLine(row.help).left(120));
                searchEntries += u"],\n"_s;
            }
            if (!body.isEmpty())
                main += u"<h2>"_s % section.title % u"</h2>\n"_s % body;
        }
        add(unit.page, layout.page(unit.unit.trimmed() % u" – "_s % identity.title, main));
        searchUnits += u'[';
        appendJsString(searchUnits, unit.unit.trimmed());
        searchUnits += u',';
        appendJsString(searchUnits, unit.page);
        searchUnits += u"],\n"_s;
        ++unitIndex;
    }

    // The index of every identifier, A to Z.
    struct IndexItem
    {
        QString name;
        QString href;
        QString unit;
        QString kind;
        QString key; // the name lower-cased, for the order
    };
    std::vector<IndexItem> items;
    for (const auto& [key, unit] : byUnit) {
        for (const Entry& entry : unit.entries) {
            const QString name =
                entry.kind == RowKinds::Kind::Routine ? routineName(*entry.row) : entry.row->identifier;
            items.push_back({name, anchorHref(unit.page, entry.anchor), unit.unit.trimmed(),
                             kindLabel(entry.kind), name.toLower()});
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const IndexItem& a, const IndexItem& b) { return a.key < b.key; });
    QString letters;
    QString groups;
    QString current;
    for (const IndexItem& item : items) {
        const QChar first = item.name.trimmed().isEmpty() ? u'#' : item.name.trimmed().at(0).toUpper();
        const QString letter = first.isLetter() ? QString(first) : u"#"_s;
        if (letter != current) {
            if (!current.isEmpty())
                groups += u"</ul>\n"_s;
            current = letter;
            const QString id = letter == u"#" ? u"outros"_s : u"letra-"_s % letter;
            letters += u"<li><a href=\"#"_s % escaped(id) % u"\">"_s % escaped(letter) % u"</a></li>"_s;
            groups += u"<h2 id=\""_s % escaped(id) % u"\">"_s % escaped(letter) % u"</h2>\n<ul>\n"_s;
        }
        groups += u"<li><a href=\""_s % escaped(item.href) % u"\">"_s % escaped(item.name) %
                  u"</a> <span>("_s % escaped(item.kind) % u", "_s % escaped(item.unit) %
                  u")</span></li>\n"_s;
    }
    if (!current.isEmpty())
        groups += u"</ul>\n"_s;
    add(u"indice.html"_s,
        layout.page(u"Índice A–Z – "_s % identity.title,
                    u"<h1 id=\"topo\">Índice A–Z</h1>\n"_s %
                        (letters.isEmpty() ? u"<p>Nenhum identificador documentado.</p>\n"_s
                                           : u"<nav aria-label=\"Letras\"><ul class=\"letters\">"_s %
                                                 letters % u"</ul></nav>\n"_s % groups)));
    add(u"busca.html"_s,
        layout.page(u"Buscar – "_s % identity.title,
                    u"<h1 id=\"topo\">Buscar</h1>\n<div id=\"resultados\" class=\"hits\">\n"
                    u"<p>Digite um nome ou um trecho de texto na caixa de busca. A busca precisa "
                    u"de JavaScript; sem ele, o <a href=\"indice.html\">Índice A–Z</a> lista "
                    u"todos os nomes.</p>\n</div>\n"_s));
    add(u"estilo.css"_s, styleSheet());
    add(u"busca-indice.js"_s, u"window.QUORVEL_SEARCH = {\"units\": [\n"_s % searchUnits %
                                  u"], \"entries\": [\n"_s % searchEntries % u"]};\n"_s);
    sink({u"busca.js"_s, SearchScript::source()});
    add(markerName(), u"Um site gerado pelo Quorvel: a próxima geração substitui esta pasta inteira.\n"_s);
    if (progress)
        progress(total, total, QString());
}

namespace {

void removeFolder(const QString& path)
{
    if (!path.isEmpty() && QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        QDir(path).removeRecursively();
}

} // namespace

void ModernSite::write(const QString& folder, const Identity& identity, const IdentifierTable& table,
                       const Progress& progress) const
{
    const QFileInfo target(folder);
    const QString absolute = target.absoluteFilePath();
    if (target.isSymLink())
        throw QuorvelError(AtomicFile::cannotCreate(folder, AtomicFile::linkReason()));
    if (target.exists()) {
        if (!target.isDir())
            throw QuorvelError(AtomicFile::cannotCreate(folder, u"não é uma pasta"_s));
        const QDir existing(absolute);
        const bool empty =
            existing.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        if (!empty && !existing.exists(markerName()))
            throw QuorvelError(
                folder % u": a pasta já tem arquivos que não são de um site moderno do Quorvel; escolha "
                         u"uma pasta vazia ou nova."_s);
    }
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString fresh = absolute % u".quorvel-novo-"_s % tag;
    const QString old = absolute % u".quorvel-antigo-"_s % tag;
    removeFolder(fresh);
    if (!QDir().mkpath(fresh))
        throw QuorvelError(AtomicFile::cannotCreate(fresh, u"a pasta não pôde ser criada"_s));
    try {
        {
            PageWriter writer({.refuseLinks = true, .syncEach = false});
            makeFiles(
                identity, table,
                [&](File file) { writer.write(fresh % u'/' % file.name, std::move(file.bytes)); }, progress);
            writer.finish();
        }
        AtomicFile::syncFolder(fresh);
        if (target.exists() && !QDir().rename(absolute, old))
            throw QuorvelError(
                AtomicFile::cannotCreate(folder, u"a pasta antiga não pôde ser substituída"_s));
        if (!QDir().rename(fresh, absolute)) {
            QDir().rename(old, absolute);
            throw QuorvelError(
                AtomicFile::cannotCreate(folder, u"a pasta nova não pôde tomar o seu lugar"_s));
        }
    } catch (...) {
        removeFolder(fresh);
        throw;
    }
    removeFolder(old);
}
