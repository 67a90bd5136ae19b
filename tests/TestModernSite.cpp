// The modern site: help texts that stay text, anchors and links that
// resolve, a title that is never a placeholder, and a folder replaced whole
// or not at all.
#include "app/BatchMode.h"
#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "output/HelpMarkup.h"
#include "output/ModernSite.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

TEST(HelpMarkup, CommentTextStaysTextButForSimpleTags)
{
    struct Case
    {
        QString help;
        QString html;
    };
    const Case cases[] = {
        {u"Uma TList<Integer> vazia."_s, u"<div class=\"p\">Uma TList&lt;Integer&gt; vazia.</div>\n"_s},
        {u"<script>alert(1)</script>"_s, u"<div class=\"p\">&lt;script&gt;alert(1)&lt;/script&gt;</div>\n"_s},
        {u"<B>negrito</b> e <code>x < y</code>"_s,
         u"<div class=\"p\"><b>negrito</b> e <code>x &lt; y</code></div>\n"_s},
        {u"<a href=\"https://freepascal.org\">FPC</a>"_s,
         u"<div class=\"p\"><a href=\"https://freepascal.org\">FPC</a></div>\n"_s},
        {u"<a href='outra.html#x'>x</a>"_s, u"<div class=\"p\"><a href=\"outra.html#x\">x</a></div>\n"_s},
        {u"<a href=\"javascript:alert(1)\">x</a>"_s,
         u"<div class=\"p\">&lt;a href=&quot;javascript:alert(1)&quot;&gt;x&lt;/a&gt;</div>\n"_s},
        {u"<a href=\"//outro.site/x\">x</a>"_s,
         u"<div class=\"p\">&lt;a href=&quot;//outro.site/x&quot;&gt;x&lt;/a&gt;</div>\n"_s},
        {u"<b onclick=\"x()\">b</b>"_s,
         u"<div class=\"p\">&lt;b onclick=&quot;x()&quot;&gt;b&lt;/b&gt;</div>\n"_s},
        // Tags left open are closed with their paragraph; a stray end shows.
        {u"<i>aberto\r\n</b>solto"_s,
         u"<div class=\"p\"><i>aberto</i></div>\n<div class=\"p\">&lt;/b&gt;solto</div>\n"_s},
        {u"<ul><li>um<li>dois</ul>"_s, u"<div class=\"p\"><ul><li>um<li>dois</li></li></ul></div>\n"_s},
        {u"<li>fora de lista</li>"_s, u"<div class=\"p\">&lt;li&gt;fora de lista&lt;/li&gt;</div>\n"_s},
        {u"um<p>dois</p>"_s, u"<div class=\"p\">um</div>\n<div class=\"p\">dois</div>\n"_s},
        {u"\"aspas\" & 'apóstrofos'"_s,
         u"<div class=\"p\">&quot;aspas&quot; &amp; &#39;apóstrofos&#39;</div>\n"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HelpMarkup::toHtml(c.help), c.html) << c.help.toStdString();
}

TEST(HelpMarkup, DocumentedNamesLinkAsWholeWordsInAnyCase)
{
    const HelpMarkup::Links links{{u"soma"_s, u"UCalc.html#Soma"_s},
                                  {u"tform1.create"_s, u"UForm.html#TForm1.Create"_s},
                                  {u"ucalc"_s, u"UCalc.html"_s}};
    EXPECT_EQ(
        HelpMarkup::toHtml(u"Usa SOMA, não Somatório; veja TForm1.Create e UCalc."_s, links, u"ucalc"_s),
        u"<div class=\"p\">Usa <a href=\"UCalc.html#Soma\">SOMA</a>, não Somatório; veja "
        u"<a href=\"UForm.html#TForm1.Create\">TForm1.Create</a> e UCalc.</div>\n"_s);
    // Not inside code or a link of the comment's own.
    EXPECT_EQ(HelpMarkup::toHtml(u"<code>Soma</code>"_s, links),
              u"<div class=\"p\"><code>Soma</code></div>\n"_s);
}

namespace {

class ModernSiteTest : public ::testing::Test
{
protected:
    void SetUp() override { table.setColumnOrder({IdentifierTable::Unit, IdentifierTable::IdentifierLine}); }

    void add(const QString& unit, const QString& identifier, const QString& name, const QString& type,
             const QString& help, int line)
    {
        table.append(IdentifierRow{unit, identifier, name, type, help, line});
        table.applyColumnOrder();
    }

    QString file(const std::vector<ModernSite::File>& files, const QString& name) const
    {
        for (const ModernSite::File& f : files) {
            if (f.name == name)
                return QString::fromUtf8(f.bytes);
        }
        ADD_FAILURE() << "no file " << name.toStdString();
        return {};
    }

    IdentifierTable table;
    ModernSite site{HtmlFormat(), DocumentationOptions()};
};

} // namespace

TEST_F(ModernSiteTest, DeepLinksCrossLinksAndTheSearchIndex)
{
    add(u"UCalc"_s, u"Calculadora"_s, u"Help Calculadora"_s, u"Help"_s,
        u"Contas simples.\r\nVeja TForm1.Soma."_s, 1);
    add(u"UCalc"_s, u"function TForm1.Soma(a, b: Integer): Integer;"_s, u"TForm1.Soma"_s, u" Integer"_s,
        u"Soma <b>dois</b> números; TList<Integer> não é marcação."_s, 9);
    add(u"UCalc"_s, u"function TForm1.Soma(a: Double): Double; overload;"_s, u"TForm1.Soma"_s, u" Double"_s,
        u"A mesma, em ponto flutuante."_s, 12);
    add(u"index"_s, u"procedure Pagina;"_s, u"Pagina"_s, QString(), u"Usa TForm1.Soma e UCalc."_s, 3);
    site.setUnitFiles({{u"UCalc"_s, u"/src/ucalc.pas"_s}});
    const auto files = site.files({u"Calculadora"_s, u"2.1"_s}, table);

    const QString unit = file(files, u"UCalc.html"_s);
    EXPECT_TRUE(unit.contains(u"<section class=\"entry\" id=\"TForm1.Soma\">"_s));
    EXPECT_TRUE(unit.contains(u"<section class=\"entry\" id=\"TForm1.Soma-2\">"_s));
    EXPECT_TRUE(
        unit.contains(u"<pre class=\"signature\"><code>function TForm1.Soma(a, b: Integer): Integer;"_s));
    EXPECT_TRUE(unit.contains(u"ucalc.pas, linha 9 · <a href=\"#topo\">Topo</a>"_s));
    EXPECT_TRUE(unit.contains(u"TList&lt;Integer&gt; não é marcação"_s));
    EXPECT_TRUE(unit.contains(u"<b>dois</b>"_s));
    // A unit named like a site page gets a page of its own, and links resolve.
    const QString other = file(files, u"index_2.html"_s);
    EXPECT_TRUE(other.contains(u"Usa <a href=\"UCalc.html#TForm1.Soma\">TForm1.Soma</a> e "
                               u"<a href=\"UCalc.html\">UCalc</a>."_s));
    const QString start = file(files, u"index.html"_s);
    EXPECT_TRUE(start.contains(u"<title>Calculadora</title>"_s));
    EXPECT_TRUE(start.contains(u"<span class=\"version\">2.1</span>"_s));
    EXPECT_TRUE(
        start.contains(u"<a href=\"UCalc.html\">UCalc.pas</a><span class=\"summary\">Calculadora</span>"_s));
    EXPECT_TRUE(start.contains(u"<meta charset=\"utf-8\">"_s));
    EXPECT_FALSE(start.contains(u"[APLICAÇÃO]"_s));
    const QString index = file(files, u"indice.html"_s);
    EXPECT_TRUE(index.contains(u"<a href=\"UCalc.html#TForm1.Soma-2\">TForm1.Soma</a>"_s));
    EXPECT_TRUE(index.contains(u"<h2 id=\"letra-P\">P</h2>"_s));
    const QString search = file(files, u"busca-indice.js"_s);
    EXPECT_TRUE(search.contains(
        u"[\"TForm1.Soma\",1,\"TForm1.Soma-2\",\"Rotina\",\"A mesma, em ponto flutuante.\"]"_s))
        << search.toStdString();
    // Nothing from outside the site.
    for (const ModernSite::File& f : files) {
        EXPECT_FALSE(f.bytes.contains("http://")) << f.name.toStdString();
        EXPECT_FALSE(f.bytes.contains("src=\"//")) << f.name.toStdString();
    }
}

TEST_F(ModernSiteTest, TheFolderIsReplacedWholeOrNotAtAll)
{
    TestFolder folder;
    const QString out = folder.path(u"site"_s);
    add(u"Velha"_s, u"procedure A;"_s, u"A"_s, QString(), u"a"_s, 1);
    site.write(out, {u"T"_s, {}}, table);
    EXPECT_TRUE(QFile::exists(out % u"/Velha.html"_s));
    table.clear();
    add(u"Nova"_s, u"procedure B;"_s, u"B"_s, QString(), u"b"_s, 1);
    site.write(out, {u"T"_s, {}}, table);
    EXPECT_TRUE(QFile::exists(out % u"/Nova.html"_s));
    EXPECT_FALSE(QFile::exists(out % u"/Velha.html"_s)); // the unit that is gone
    EXPECT_EQ(QDir(folder.path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{u"site"_s}); // nothing left beside it

    // A folder of other files is never replaced.
    const QString mine = folder.path(u"meus-arquivos"_s);
    folder.write(u"meus-arquivos/tese.odt"_s, "x");
    EXPECT_THROW(site.write(mine, {u"T"_s, {}}, table), QuorvelError);
    EXPECT_TRUE(QFile::exists(mine % u"/tese.odt"_s));

    // A run that cannot write leaves the previous site as it was: here the
    // new folder's place is taken by a file.
    folder.write(u"site.quorvel-novo-"_s % QString::number(::getpid()), "ocupado");
    EXPECT_THROW(site.write(out, {u"T"_s, {}}, table), QuorvelError);
    EXPECT_TRUE(QFile::exists(out % u"/Nova.html"_s));
    EXPECT_TRUE(QFile::exists(out % u"/index.html"_s));
}

namespace {

struct BatchRun
{
    int status;
    QString err;
};

BatchRun batch(const QStringList& args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status = BatchMode::run(QStringList{u"Quorvel"_s} + args, out, err);
    return {status, QString::fromUtf8(err.data())};
}

QString read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(ModernSiteBatch, StyleTitleAndVersionFromTheCommandLineTheSettingsOrTheProject)
{
    TestFolder folder;
    const QString settings = folder.path(u"Quorvel.ini"_s);
    const QString project = fixture(u"projects/lazarus/cadastro.lpi"_s);
    const QString site = folder.path(u"site"_s);
    const BatchRun bad = batch({u"--html"_s, u"--site-style"_s, u"fancy"_s, project});
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(bad.err.contains(u"--site-style aceita classic ou modern."_s));

    // The project's own title (its .lpi <Title>), no placeholder.
    BatchRun run = batch({u"--settings"_s, settings, u"--html"_s, u"--site-style"_s, u"modern"_s,
                          u"--output"_s, site, project});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(u"Help gravado em "_s % site % u"/index.html\n"_s))
        << run.err.toStdString();
    EXPECT_FALSE(read(site % u"/index.html"_s).contains(u"[APLICA"_s));
    EXPECT_FALSE(QFile::exists(site % u"/index.htm"_s));

    // The command line over everything.
    run = batch({u"--settings"_s, settings, u"--html"_s, u"--force"_s, u"--site-style"_s, u"modern"_s,
                 u"--site-title"_s, u"Meu <Projeto>"_s, u"--site-version"_s, u"3.0"_s, u"--output"_s, site,
                 project});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(read(site % u"/index.html"_s).contains(u"<title>Meu &lt;Projeto&gt;</title>"_s));
    EXPECT_TRUE(read(site % u"/index.html"_s).contains(u"<span class=\"version\">3.0</span>"_s));

    // The settings' style, and their title when it is set.
    folder.write(u"Quorvel.ini"_s,
                 "[opcoes]\r\nEstiloSite=Moderno\r\n[HTML]\r\nAplicacao=Cadastro Geral\r\n");
    const QString other = folder.path(u"outro"_s);
    run = batch({u"--settings"_s, settings, u"--html"_s, u"--output"_s, other, project});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(read(other % u"/index.html"_s).contains(u"<title>Cadastro Geral</title>"_s));
    // --site-style classic wins over the file.
    const QString classic = folder.path(u"classico"_s);
    run = batch({u"--settings"_s, settings, u"--html"_s, u"--site-style"_s, u"classic"_s, u"--output"_s,
                 classic, project});
    EXPECT_TRUE(QFile::exists(classic % u"/index.htm"_s));
    EXPECT_FALSE(QFile::exists(classic % u"/index.html"_s));
}
