#include "app/BatchMode.h"
#include "app/QuorvelCore.h"
#include "common/Fonts.h"
#include "common/QuorvelError.h"
#include "common/Windows1252.h"
#include "output/HelpLines.h"
#include "output/HtmlSite.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QString page(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"<missing>"_s;
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n")) << path.toStdString();
    return Windows1252::decode(bytes);
}

// Lines as the tests write them, each to be ended by CR LF in the file.
QString lines(std::initializer_list<QString> all)
{
    QString out;
    for (const QString& line : all)
        out += line % u"\r\n"_s;
    return out;
}

const QString kPlaceholder =
    lines({u"<html>"_s, u"  <head>"_s, u"    <title>P&aacute;gina Inexistente</title>"_s, u"  </head>"_s,
           u"  <body style=\"background-color: #ffffff;font-family: Courier; font-size: 22; color: #000000; "
           u"font-style: italic; font-weight: bold\">"_s,
           u"    <br />"_s, u"    <br />"_s,
           u"    <p style=\"text-align: center\">Selecione um dos menus acima para obter ajuda</p>"_s,
           u"    <br />"_s, u"    <br />"_s, u"  </body>"_s, u"</html>"_s});

class HtmlSiteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core.setSettingsFile(folder.path(u"Quorvel.ini"_s));
        core.setProgramFolder(folder.path(QString()) % u'/');
    }

    void add(const QString& unit, const QString& identifier, const QString& kind, const QString& help,
             int line)
    {
        core.identifiers().append(IdentifierRow{unit, identifier, QString(), kind, help, line});
    }

    void everyKind()
    {
        add(u"UPrincipal"_s, u"Ajuda Geral"_s, u"Help"_s, u"Texto com <b>negrito</b> &amp; ação"_s, 1);
        add(u"UPrincipal"_s, u"Linha (2)"_s, u"Coment.Órfão"_s, u"órfão"_s, 2);
        add(u"UPrincipal"_s, u"clientes"_s, u"Tabela MySQL"_s, u"nota\r\rdescrição\r\n"_s, 3);
        add(u"UPrincipal"_s, u"function Soma(a: integer): integer;"_s, u" integer"_s,
            u"Soma dois números.\r\nSegundo parágrafo."_s, 4);
        add(u"UPrincipal"_s, u"procedure Vazia;"_s, QString(), QString(), 5);
        add(u"UPrincipal"_s, u"constructor Create;"_s, QString(), u"Cria a lista."_s, 6);
        add(u"UPrincipal"_s, u"functional"_s, QString(), u"não entra"_s, 7);
        core.setColumnOrder({IdentifierTable::IdentifierLine});
        core.gridTitleClicked();
    }

    QString site(const QString& name) const { return page(folder.path(u"HELP/"_s % name)); }

    ScriptedPrompts prompts;
    QuorvelCore core{prompts};
    TestFolder folder;
};

} // namespace

TEST_F(HtmlSiteTest, SiteWidePagesWithTheDefaults)
{
    EXPECT_TRUE(core.runHtml());
    EXPECT_EQ(
        site(u"index.htm"_s),
        lines({u"<html>"_s, u"  <head>"_s, u"    <title>[APLICAÇÃO] - Help</title>"_s, u"  </head>"_s,
               u"    <frameset rows=\"10%,*,5%\" frameborder=\"1\" framespacing=\"2\">"_s,
               u"      <frame src=\"cabecalho.htm\" name=\"cabecalho\" noresize scrolling=\"NO\">"_s,
               u"      <frameset COLS=\"17%,*\" frameborder=\"1\" framespacing=\"2\">"_s,
               u"        <frame src=\"menu.htm\" name=\"menu\" scrolling=\"YES\">"_s,
               u"        <frame src=\"mensagem.htm\" name=\"conteudo\" marginwidth=\"2\" marginheight=\"3\" "
               u"scrolling=\"YES\">"_s,
               u"      </frameset>"_s,
               u"      <frame src=\"rodape.htm\" name=\"rodape\" noresize scrolling=\"NO\">"_s,
               u"    </frameset>"_s, u"</html>"_s}));
    EXPECT_EQ(
        site(u"cabecalho.htm"_s),
        lines(
            {u"<html>"_s, u"  <head>"_s, u"    <title>Cabeçalho</title>"_s, u"  </head>"_s,
             u"  <body style=\"background-color: #ffffff\">"_s,
             u"    <table border=\"1\" bgcolor=\"#77aadd\" width=\"1265\" height=\"10\" align=\"center\">"_s,
             u"      <tr><td>"_s,
             u"        <font size=\"6\" face=\"Arial\" color=\"#0000ff\"><p align=\"center\">[APLICAÇÃO] "
             u"[VERSÃO]</p></font></td>"_s,
             u"      </tr>"_s, u"    </table>"_s, u"  </body>"_s, u"</html>"_s}));
    EXPECT_EQ(site(u"rodape.htm"_s),
              lines({u"<html>"_s, u"  <head>"_s, u"    <title>Rodapé</title>"_s, u"  </head>"_s,
                     u"  <body style=\"font-size: 12; text-align: center; color: #0000ff; background-color: "
                     u"#ffffff\">"_s,
                     u"    <p>P&aacute;gina automaticamente gerada pelo Quorvel [VERSÃO] - <a "
                     u"href=\"mailto:contato@quorvel.example\">contato@quorvel.example</a></p>"_s,
                     u"  </body>"_s, u"</html>"_s}));
    EXPECT_EQ(
        site(u"mensagem.htm"_s),
        lines({u"<html>"_s, u"  <head>"_s, u"    <title>Ajuda Geral</title>"_s, u"  </head>"_s,
               u"  <body style=\"color: #000000; font-family: Courier; font-size: 28; background-color: "
               u"#ffffff\">"_s,
               u"    <p align=\"center\">"_s, u"    <br />"_s,
               u"    <br />Seja bem vindo &agrave; ajuda do"_s, u"    <br />[APLICAÇÃO] [VERSÃO]"_s,
               u"    <br /></p>"_s,
               u"    <font style=\"font-size: 22; color: #000000\"><p align=\"center\">"_s,
               u"    <br />Selecione no menu &agrave; esquerda a op&ccedil;&atilde;o desejada"_s,
               u"    <br /></p></font>"_s, u"  </body>"_s, u"</html>"_s}));
    // An empty table: the units menu holds its title row only, and no folder.
    EXPECT_EQ(
        site(u"menu.htm"_s),
        lines(
            {u"<html>"_s, u"  <head>"_s, u"    <title>Menu Units</title>"_s, u"  </head>"_s,
             u"  <body style=\"font-family: Arial; color: #0000ff; background-color: #ffffff\">"_s,
             u"    <table width=\"200\" cellspacing=\"1\" cellpadding=\"3\" border=\"1\" bgcolor=\"#77aadd\">"_s,
             u"       <tr><td><p align=\"center\"><b>UNITS</b></p></td></tr>"_s, u"    </table>"_s,
             u"  </body>"_s, u"</html>"_s}));
    EXPECT_EQ(QDir(folder.path(u"HELP"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(HtmlSiteTest, UnitPagesForEveryKindOfRow)
{
    everyKind();
    folder.write(u"Quorvel.ini"_s, "[HTML]\r\nAplicacao=App <&>\r\nVersao=2.0\r\n");
    ASSERT_TRUE(core.runHtml());
    EXPECT_TRUE(site(u"cabecalho.htm"_s).contains(u"<p align=\"center\">App <&> 2.0</p>"_s));
    EXPECT_TRUE(
        site(u"menu.htm"_s)
            .contains(
                u"       <tr><td bgcolor=\"#eeeeee\"><font color=\"#0000ff\" face=\"Arial\"><a "
                u"href=\"UPrincipal/conteudo.htm\" target=\"conteudo\">UPrincipal.pas</a></font></td></tr>\r\n"_s));
    EXPECT_EQ(
        site(u"UPrincipal/conteudo.htm"_s),
        lines(
            {u"<html>"_s, u"  <head>"_s, u"    <title>Conteúdo</title>"_s, u"  </head>"_s,
             u"    <frameset rows=\"20%,*%\" frameborder=\"1\" framespacing=\"2\">"_s,
             u"      <frame name=\"menuitens\" src=\"menuitens.htm\" marginwidth=\"10\" marginheight=\"10\" "
             u"scrolling=\"Auto\" frameborder=\"YES\" noresize>"_s,
             u"      <frame name=\"itens\" src=\"mensagem.htm\" marginwidth=\"10\" marginheight=\"10\" "
             u"scrolling=\"Auto\" frameborder=\"YES\" noresize>"_s,
             u"    </frameset>"_s, u"</html>"_s}));
    auto cell = [](const QString& href, const QString& label) -> QString {
        return u"        <td bgcolor=\"#eeeeee\"><font face=\"Arial\"><a href=\""_s % href %
               u"\" target=\"itens\" style=\"color: #0000ff\"><p align=\"center\">"_s % label %
               u"</p></a></font></td>"_s;
    };
    EXPECT_EQ(
        site(u"UPrincipal/menuitens.htm"_s),
        lines(
            {u"<html>"_s, u"  <head>"_s, u"    <title>Menu Itens</title>"_s, u"  </head>"_s,
             u"  <body style=\"background-color: #ffffff; color: #000000\">"_s,
             u"    <font face=\"Arial\" size=\"3\"><b><p align=\"left\">UPrincipal</p></b></font>"_s,
             u"    <table width=\"10\" cellspacing=\"1\" cellpadding=\"4\" border=\"1\" bgcolor=\"#eeeeee\">"_s,
             u"      <tr>"_s, cell(u"ajuda.htm"_s, u"Ajuda"_s),
             cell(u"procedimentos.htm"_s, u"Procedimentos"_s), cell(u"tabelas.htm"_s, u"Tabelas"_s),
             u"      </tr>"_s, u"    </table>"_s, u"  </body>"_s, u"</html>"_s}));
    auto entry = [](const QString& id, std::initializer_list<QString> help) -> QString {
        QString out = lines({u"    <table width=\"1000\" cellspacing=\"1\" cellpadding=\"3\" border=\"1\" "
                             u"bgcolor=\"#eeeeee\">"_s,
                             u"      <tr><td style=\"background-color: #eeeeee; color: #000000; font-family: "
                             u"Courier\"><b>"_s %
                                 id % u"</b></td></tr>"_s,
                             u"      <tr><td style=\"background-color: #eeeeee; color: #000000\">"_s});
        for (const QString& line : help)
            out += line % u"<br />\r\n"_s;
        return out % lines({u"</td></tr>"_s, u"    </table><br />"_s});
    };
    // Orphan comments stay out while COrfaos is off.
    EXPECT_EQ(site(u"UPrincipal/ajuda.htm"_s),
              lines({u"<html>"_s, u"  <head>"_s, u"    <title>Ajuda Geral</title>"_s, u"  </head>"_s,
                     u"  <body style=\"font-family: Courier; background-color: #ffffff\">"_s}) %
                  entry(u"Ajuda Geral"_s, {u"Texto com <b>negrito</b> &amp; ação"_s}) %
                  lines({u"  </body>"_s, u"</html>"_s}));
    EXPECT_EQ(
        site(u"UPrincipal/procedimentos.htm"_s),
        lines({u"<html>"_s, u"  <head>"_s, u"    <title>Procedimentos</title>"_s, u"  </head>"_s,
               u"  <body style=\"background-color: #ffffff; color: #000000\"><font face=\"Courier\">"_s}) %
            entry(u"function Soma(a: integer): integer;"_s,
                  {u"Soma dois números."_s, u"Segundo parágrafo."_s}) %
            entry(u"procedure Vazia;"_s, {}) % entry(u"constructor Create;"_s, {u"Cria a lista."_s}) %
            lines({u"   </font>"_s, u"  </body>"_s, u"</html>"_s}));
    EXPECT_EQ(site(u"UPrincipal/tabelas.htm"_s),
              lines({u"<html>"_s, u"  <head>"_s, u"    <title>Tabelas MySQL</title>"_s, u"  </head>"_s,
                     u"  <body style=\"background-color: #ffffff\"><font face=\"Courier\">"_s}) %
                  entry(u"clientes"_s, {u"nota"_s, u""_s, u"descrição"_s}) %
                  lines({u"   </font>"_s, u"  </body>"_s, u"</html>"_s}));
    EXPECT_EQ(site(u"UPrincipal/mensagem.htm"_s), kPlaceholder);
    EXPECT_EQ(core.identifiers().cursor(), core.identifiers().rowCount() - 1);
}

TEST_F(HtmlSiteTest, FormattingValuesLandInTheirPlaces)
{
    QByteArray ini = "[FormatoHTML]\r\n";
    int n = 0;
    for (const char* key : {"clFundoCab",
                            "clFundoMenu",
                            "clFundoMenuconteudo",
                            "clFundoConteudo",
                            "clCab",
                            "clFontCab",
                            "FontCab",
                            "clMenuTitulo",
                            "clFontMenuTitulo",
                            "FontMenuTitulo",
                            "clMenu",
                            "clFontMenu",
                            "FontMenu",
                            "clMenuconteudo",
                            "clFontMenuconteudo",
                            "FontMenuconteudo",
                            "clConteudoTitulo",
                            "clFontConteudoTitulo",
                            "FontConteudoTitulo",
                            "clConteudo",
                            "clFontConteudo",
                            "FontConteudo"})
        ini += QByteArray(key) + "=V" + QByteArray::number(n++) + "\r\n";
    folder.write(u"Quorvel.ini"_s, ini);
    add(u"U"_s, u"Ajuda"_s, u"Help"_s, u"x"_s, 1);
    ASSERT_TRUE(core.runHtml());
    EXPECT_TRUE(site(u"cabecalho.htm"_s).contains(u"<body style=\"background-color: #V0\">"_s));
    EXPECT_TRUE(site(u"cabecalho.htm"_s).contains(u"bgcolor=\"#V4\""_s));
    EXPECT_TRUE(site(u"cabecalho.htm"_s).contains(u"face=\"V6\" color=\"#V5\""_s));
    EXPECT_TRUE(site(u"rodape.htm"_s).contains(u"color: #V5; background-color: #V0"_s));
    EXPECT_TRUE(site(u"menu.htm"_s).contains(u"font-family: V9; color: #V8; background-color: #V1"_s));
    EXPECT_TRUE(site(u"menu.htm"_s).contains(u"bgcolor=\"#V7\""_s));
    EXPECT_TRUE(site(u"menu.htm"_s).contains(u"<td bgcolor=\"#V10\"><font color=\"#V11\" face=\"V12\">"_s));
    const QString items = site(u"U/menuitens.htm"_s);
    EXPECT_TRUE(items.contains(u"background-color: #V2; color: #V17"_s));
    EXPECT_TRUE(items.contains(u"<font face=\"V12\" size=\"3\">"_s));
    EXPECT_TRUE(items.contains(u"bgcolor=\"#V10\">\r\n"_s));
    EXPECT_TRUE(
        items.contains(u"<td bgcolor=\"#V13\"><font face=\"V15\"><a href=\"ajuda.htm\" target=\"itens\" "
                       u"style=\"color: #V14\">"_s));
    const QString help = site(u"U/ajuda.htm"_s);
    EXPECT_TRUE(help.contains(u"font-family: V21; background-color: #V3"_s));
    EXPECT_TRUE(help.contains(u"bgcolor=\"#V16\">\r\n"_s));
    EXPECT_TRUE(help.contains(u"background-color: #V16; color: #V17; font-family: V18\"><b>Ajuda</b>"_s));
    EXPECT_TRUE(help.contains(u"background-color: #V19; color: #V20\">"_s));
    EXPECT_TRUE(site(u"mensagem.htm"_s)
                    .contains(u"color: #V20; font-family: V21; font-size: 28; background-color: #V3"_s));
    EXPECT_TRUE(site(u"U/mensagem.htm"_s)
                    .contains(u"background-color: #V3;font-family: V21; font-size: 22; color: #V20"_s));
}

TEST_F(HtmlSiteTest, SwitchesOffOneByOne)
{
    everyKind();
    struct Case
    {
        QByteArray options;
        bool help, proc, table;
    };
    const Case cases[] = {
        {"AjudaGeral=0\r\n", false, true, true},
        {"ProcFunc=0\r\n", true, false, true},
        {"MySQL=0\r\n", true, true, false},
        {"AjudaGeral=0\r\nProcFunc=0\r\nMySQL=0\r\n", false, false, false},
    };
    for (const Case& c : cases) {
        folder.write(u"Quorvel.ini"_s, "[opcoes]\r\n" + c.options);
        if (QDir(folder.path(u"HELP"_s)).exists())
            prompts.expect(Topic::OverwriteFolder, Answer::Yes);
        core.runHtml();
        const QString items = site(u"UPrincipal/menuitens.htm"_s);
        EXPECT_EQ(items.contains(u">Ajuda<"_s), c.help) << c.options.toStdString();
        EXPECT_EQ(items.contains(u">Procedimentos<"_s), c.proc) << c.options.toStdString();
        EXPECT_EQ(items.contains(u">Tabelas<"_s), c.table) << c.options.toStdString();
        EXPECT_EQ(site(u"UPrincipal/ajuda.htm"_s) == kPlaceholder, !c.help);
        EXPECT_EQ(site(u"UPrincipal/procedimentos.htm"_s) == kPlaceholder, !c.proc);
        EXPECT_EQ(site(u"UPrincipal/tabelas.htm"_s) == kPlaceholder, !c.table);
        // A unit all of whose rows are skipped shows the placeholder everywhere.
        EXPECT_EQ(site(u"UPrincipal/conteudo.htm"_s) == kPlaceholder, !(c.help || c.proc || c.table));
        EXPECT_EQ(items == kPlaceholder, !(c.help || c.proc || c.table));
    }

    // Orphan comments, when wanted, are general help.
    folder.write(u"Quorvel.ini"_s, "[opcoes]\r\nCOrfaos=1\r\nAjudaGeral=0\r\n");
    prompts.expect(Topic::OverwriteFolder, Answer::Yes);
    core.runHtml();
    EXPECT_TRUE(site(u"UPrincipal/ajuda.htm"_s).contains(u"<b>Linha (2)</b>"_s));
    EXPECT_FALSE(site(u"UPrincipal/ajuda.htm"_s).contains(u"<b>Ajuda Geral</b>"_s));
}

TEST_F(HtmlSiteTest, AUnitInTwoRunsAndUnsafeUnitNames)
{
    add(u"A"_s, u"Primeira"_s, u"Help"_s, u"1"_s, 1);
    add(u"B"_s, u"Meio"_s, u"Help"_s, u"2"_s, 2);
    add(u"A"_s, u"Segunda"_s, u"Help"_s, u"3"_s, 3);
    add(u""_s, u"Sem unit"_s, u"Help"_s, u"4"_s, 4);
    add(u"..\\..\\fora"_s, u"Fora"_s, u"Help"_s, u"5"_s, 5);
    add(u".."_s, u"Pontos"_s, u"Help"_s, u"6"_s, 6);
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    core.gridTitleClicked();
    ASSERT_TRUE(core.runHtml());
    const QString menu = site(u"menu.htm"_s);
    EXPECT_EQ(menu.count(u"href=\"A/conteudo.htm\""_s), 2);
    EXPECT_TRUE(site(u"A/ajuda.htm"_s).contains(u"<b>Segunda</b>"_s));
    EXPECT_FALSE(site(u"A/ajuda.htm"_s).contains(u"<b>Primeira</b>"_s));
    EXPECT_TRUE(menu.contains(u"href=\"_/conteudo.htm\" target=\"conteudo\">.pas</a>"_s));
    EXPECT_TRUE(
        menu.contains(u"href=\".._.._fora/conteudo.htm\" target=\"conteudo\">..\\..\\fora.pas</a>"_s));
    EXPECT_TRUE(menu.contains(u"href=\"__/conteudo.htm\""_s));
    // The welcome page is not overwritten, and nothing lands outside the site.
    EXPECT_TRUE(site(u"mensagem.htm"_s).contains(u"Seja bem vindo"_s));
    EXPECT_TRUE(QFile::exists(folder.path(u"HELP/.._.._fora/ajuda.htm"_s)));
    EXPECT_EQ(QDir(folder.path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{u"HELP"_s}));
    EXPECT_EQ(HtmlSite::folderName(u"a/b:c*d?e\"f<g>h|i\tj&k#l%m"_s), u"a_b_c_d_e_f_g_h_i_j_k_l_m"_s);
    EXPECT_EQ(HtmlSite::folderName(u"."_s), u"_"_s);
}

TEST_F(HtmlSiteTest, UnitFoldersNeverCollide)
{
    const char16_t* units[] = {u"menu.htm", u"a:b", u"a_b", u"INDEX.HTM", u"a_b_2", u"A_B", u"a:b"};
    int line = 0;
    for (const char16_t* unit : units) {
        ++line;
        add(QString::fromUtf16(unit), u"Ajuda "_s % QString::number(line), u"Help"_s, u"x"_s, line);
    }
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    core.gridTitleClicked();
    ASSERT_TRUE(core.runHtml());
    const QString menu = site(u"menu.htm"_s);
    EXPECT_TRUE(menu.startsWith(u"<html>"_s)); // the site keeps its menu
    const QString folders[] = {u"menu.htm_2"_s, u"a_b"_s,   u"a_b_2"_s, u"INDEX.HTM_2"_s,
                               u"a_b_2_2"_s,    u"A_B_3"_s, u"a_b"_s};
    qsizetype from = 0;
    for (std::size_t i = 0; i < std::size(folders); ++i) {
        const QString link = u"href=\""_s % folders[i] % u"/conteudo.htm\" target=\"conteudo\">"_s %
                             QString::fromUtf16(units[i]) % u".pas</a>"_s;
        const qsizetype at = menu.indexOf(link, from);
        EXPECT_GE(at, 0) << link.toStdString();
        from = std::max(from, at);
    }
    EXPECT_TRUE(site(u"a_b_2/ajuda.htm"_s).contains(u"<b>Ajuda 3</b>"_s));
    EXPECT_TRUE(site(u"a_b/ajuda.htm"_s).contains(u"<b>Ajuda 7</b>"_s)); // a later run of a:b
    // C1 controls, as the undefined bytes of Windows-1252 decode, are controls too.
    EXPECT_EQ(HtmlSite::folderName(u"a\u0081b\u009Fc\u007Fd"_s), u"a_b_c_d"_s);
}

TEST_F(HtmlSiteTest, NothingIsWrittenThroughALinkInsideTheSite)
{
    add(u"U"_s, u"Ajuda"_s, u"Help"_s, u"x"_s, 1);
    add(u"V"_s, u"Ajuda"_s, u"Help"_s, u"y"_s, 2);
    core.setColumnOrder({IdentifierTable::IdentifierLine});
    core.gridTitleClicked();
    const QString outside = folder.path(u"fora"_s);
    QDir().mkpath(outside);
    const QString victim = folder.write(u"fora/alvo.txt"_s, "intacto");
    const struct
    {
        QString link;
        QString target;
    } cases[] = {
        {u"HELP/U"_s, outside},          // a unit folder
        {u"HELP/rodape.htm"_s, victim},  // a site-wide page
        {u"HELP/V/ajuda.htm"_s, victim}, // a unit page
    };
    for (const auto& c : cases) {
        QDir(folder.path(u"HELP"_s)).removeRecursively();
        QDir().mkpath(folder.path(u"HELP/V"_s));
        ASSERT_TRUE(QFile::link(c.target, folder.path(c.link)));
        prompts.expect(Topic::OverwriteFolder, Answer::Yes);
        try {
            core.runHtml();
            ADD_FAILURE() << "wrote through " << c.link.toStdString();
        } catch (const QuorvelError& e) {
            EXPECT_EQ(e.message(),
                      u"Cannot create file \""_s % folder.path(c.link) % u"\". É um link simbólico."_s);
        }
        EXPECT_EQ(QFileInfo(folder.path(c.link)).symLinkTarget(), c.target);
        EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList{u"alvo.txt"_s});
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("intacto"));
    }
}

TEST_F(HtmlSiteTest, LongHelpLinesWrapLikeTheHelpBox)
{
    const HelpLines helpLines;
    const QString longLine = QStringList(QList<QString>(60, u"palavra"_s)).join(u' ');
    const QStringList wrapped = helpLines.split(longLine);
    ASSERT_GT(wrapped.size(), 1);
    EXPECT_EQ(wrapped.join(QString()), longLine);
    for (const QString& line : wrapped)
        EXPECT_TRUE(line.startsWith(u"palavra"_s)) << line.toStdString(); // broken between words
    EXPECT_EQ(helpLines.split(u"a\r\nb\rc\nd\r\n"_s), (QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(helpLines.split(u"a\r\n\r\n"_s), (QStringList{u"a"_s, u""_s}));
    EXPECT_TRUE(helpLines.split(QString()).isEmpty());
    // A word longer than the box is broken too.
    EXPECT_GT(helpLines.split(QString(400, u'x')).size(), 1);
}

TEST_F(HtmlSiteTest, ALineKeptWithoutMeasuringFitsWhenMeasured)
{
    // The widest letters, pairs that kern, and every length around the box's
    // width: whatever the shortcut keeps whole must fit when measured.
    const HelpLines helpLines;
    const QFontMetricsF metrics(tahoma(11));
    int kept = 0;
    for (const QString& unit : {u"W"_s, u"M"_s, u"@"_s, u"AV"_s, u"Wá"_s, u"ÆÐ"_s, u"mW "_s, u"f)"_s}) {
        for (int n = 1; n * unit.size() <= 160; ++n) {
            const QString line = unit.repeated(n);
            if (!helpLines.surelyFits(line))
                continue;
            ++kept;
            EXPECT_LE(metrics.horizontalAdvance(line), HelpLines::kWrapWidth) << line.toStdString();
            EXPECT_EQ(helpLines.split(line), QStringList{line});
        }
    }
    EXPECT_GT(kept, 100);
    EXPECT_TRUE(helpLines.surelyFits(u"Rotina da linha 12. Primeiro parágrafo."));
    EXPECT_FALSE(helpLines.surelyFits(u"Ação ́")); // a combining mark: measured
    EXPECT_FALSE(helpLines.surelyFits(u"漢字"));
}

TEST_F(HtmlSiteTest, AnExistingFolderIsReusedOnlyOnYes)
{
    add(u"U"_s, u"Ajuda"_s, u"Help"_s, u"x"_s, 1);
    QDir().mkpath(folder.path(u"HELP/velha"_s));
    prompts.expect(Topic::OverwriteFolder, Answer::No);
    EXPECT_FALSE(core.runHtml());
    EXPECT_EQ(prompts.questions[0].text,
              u"Já existe a pasta ["_s % folder.path(u"HELP"_s) % u"],\r\rDeseja sobrescrevê-la ?"_s);
    EXPECT_EQ(prompts.questions[0].defaultAnswer, Answer::Yes);
    EXPECT_FALSE(QFile::exists(folder.path(u"HELP/index.htm"_s)));

    prompts.expect(Topic::OverwriteFolder, Answer::Yes);
    EXPECT_TRUE(core.runHtml());
    EXPECT_TRUE(QFile::exists(folder.path(u"HELP/U/ajuda.htm"_s)));
    EXPECT_TRUE(QDir(folder.path(u"HELP/velha"_s)).exists());
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(HtmlSiteTest, AFolderThatCannotBeCreatedEndsTheCommand)
{
    folder.write(u"Quorvel.ini"_s, "[HTML]\r\nPasta=falta/HELP\r\n");
    try {
        core.runHtml();
        ADD_FAILURE() << "the command did not fail";
    } catch (const QuorvelError& e) {
        // The folder that could not be made, and why; not a page inside it.
        EXPECT_EQ(e.message(), u"Cannot create folder \""_s % folder.path(u"falta/HELP"_s) %
                                   u"\". No such file or directory"_s);
    }
    EXPECT_FALSE(QDir(folder.path(u"falta"_s)).exists());
}

TEST_F(HtmlSiteTest, BatchModeNeedsForceToReuseAFolder)
{
    const QString unit = folder.writeSource(u"u.pas"_s, u"unit U;\n//? Geral\n//* texto\n"_s);
    const QString out = folder.path(u"site"_s);
    auto run = [&](bool force) {
        QBuffer o;
        QBuffer e;
        o.open(QIODevice::WriteOnly);
        e.open(QIODevice::WriteOnly);
        QStringList args{u"Quorvel"_s, u"--settings"_s, folder.path(u"Quorvel.ini"_s),
                         u"--html"_s,  u"--output"_s,   out};
        if (force)
            args << u"--force"_s;
        const int status = BatchMode::run(args << unit, o, e);
        return std::pair{status, QString::fromUtf8(e.data())};
    };
    const auto [written, said] = run(false);
    EXPECT_EQ(written, 0);
    EXPECT_TRUE(said.startsWith(u"Help gravado em "_s % out % u"/index.htm\n"_s)) // where the site is
        << said.toStdString();
    EXPECT_TRUE(page(out % u"/U/ajuda.htm"_s).contains(u"texto<br />"_s));
    const auto [status, err] = run(false);
    EXPECT_EQ(status, 4);
    EXPECT_TRUE(
        err.contains(u"A pasta do help já existe: "_s % out % u". Use --force para reaproveitá-la."_s))
        << err.toStdString();
    EXPECT_EQ(run(true).first, 0);
}

// A run killed while it wrote may have left temporary files; a later run
// removes those of processes that are gone, and keeps a running one's.
TEST_F(HtmlSiteTest, TemporaryFilesOfAKilledRunAreRemoved)
{
    add(u"U"_s, u"Ajuda"_s, u"Help"_s, u"x"_s, 1);
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);
    const QByteArray dead = QByteArray::number(gone, 36);
    const QStringList leftovers{u"HELP/.quorvel-"_s % QString::fromLatin1(dead) % u"-0.tmp"_s,
                                u"HELP/U/.quorvel-"_s % QString::fromLatin1(dead) % u"-7.tmp"_s,
                                u"HELP/U/ajuda.htm."_s % QString::fromLatin1(dead) % u"-1.tmp"_s};
    const QStringList kept{u"HELP/U/.quorvel-1-0.tmp"_s, u"HELP/U/notas.tmp"_s, u"HELP/U/a-b.tmp"_s};
    for (const QString& name : leftovers + kept)
        folder.write(name, "meia página");
    prompts.expect(Topic::OverwriteFolder, Answer::Yes);
    ASSERT_TRUE(core.runHtml());
    for (const QString& name : leftovers)
        EXPECT_FALSE(QFileInfo::exists(folder.path(name))) << name.toStdString();
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(folder.path(name))) << name.toStdString();
    EXPECT_TRUE(QFile::exists(folder.path(u"HELP/U/ajuda.htm"_s)));
}

// A unit's name is a name, never markup: wherever a page shows it, it reads
// as written and starts nothing in the reader's browser.
TEST_F(HtmlSiteTest, AUnitNameIsNeverMarkup)
{
    const QString hostile = u"<b onclick=\"x('&')\">"_s; // within the column's 30 characters
    add(hostile, u"Ajuda"_s, u"Help"_s, u"x"_s, 1);
    ASSERT_TRUE(core.runHtml());
    const QString escaped = u"&lt;b onclick=&quot;x('&amp;')&quot;&gt;"_s;
    const QString menu = site(u"menu.htm"_s);
    EXPECT_TRUE(menu.contains(escaped % u".pas</a>"_s)) << menu.toStdString();
    const QStringList folders = QDir(folder.path(u"HELP"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(folders.size(), 1);
    const QString items = site(folders[0] % u"/menuitens.htm"_s);
    EXPECT_TRUE(items.contains(u"<p align=\"left\">"_s % escaped % u"</p>"_s)) << items.toStdString();
    for (const QString& page : {menu, items})
        EXPECT_FALSE(page.contains(u"<b onclick"_s));
}

// The grid and the help box follow the table's cursor: a writer that walked
// it would update both for every row. The site reads the rows and leaves the
// cursor once on the last one.
TEST_F(HtmlSiteTest, TheSiteDoesNotWalkTheCursor)
{
    for (int i = 0; i < 50; ++i)
        add(u"U"_s % QString::number(i % 5), u"Ajuda"_s, u"Help"_s, u"x"_s, i + 1);
    QSignalSpy moves(&core.identifiers(), &IdentifierTable::cursorMoved);
    ASSERT_TRUE(core.runHtml());
    EXPECT_EQ(moves.size(), 1);
    EXPECT_EQ(core.identifiers().cursor(), 49);
}
