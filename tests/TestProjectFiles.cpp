// Today's Pascal projects: UTF-8 sources without a byte-order mark, Lazarus
// and Delphi project files, as those tools write them
// (tests/fixtures/projects/).
#include "app/BatchMode.h"
#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "common/Windows1252.h"
#include "output/RtfWriter.h"
#include "settings/IniFile.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TableRows.h"
#include "tests/support/TestFiles.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class Projects : public ::testing::Test
{
protected:
    void SetUp() override
    {
        core.setSettingsFile(folder.path(u"Quorvel.ini"_s));
        core.setProgramFolder(folder.path(QString()) % u'/');
        core.answerTables(QuorvelCore::TableAnswer::NoTables);
        core.setColumnOrder({IdentifierTable::Unit, IdentifierTable::IdentifierLine});
    }

    // unit|identificador|name|type|help of every row, in table order.
    QStringList rows() const
    {
        QStringList out;
        const IdentifierTable& t = core.identifiers();
        for (int i = 0; i < t.rowCount(); ++i) {
            const IdentifierRow& r = t.row(i);
            out.append(r.unit % u'|' % r.identifier % u'|' % r.name % u'|' % r.type % u'|' % r.help);
        }
        return out;
    }

    ScriptedPrompts prompts;
    QuorvelCore core{prompts};
    TestFolder folder;
};

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kRegistration = u"cadastro|Cadastro de Clientes|Help Cadastro de Clientes|Help|"
                              u"Programa de exemplo: cadastro, consulta e relatório de clientes."_s;
const QString kConversion = u"uPrincipal|function Conversão(Código: integer): string;|Conversão| string|"
                            u"Converte o código do cliente em texto, com a máscara da empresa.\r\n"
                            u"Devolve uma cadeia vazia quando o código é inválido."_s;
const QString kSave = u"uPrincipal|procedure TfrmPrincipal.btnSalvarClick(Sender: TObject);|"
                      u"TfrmPrincipal.btnSalvarClick||Grava as alterações e avisa o usuário."_s;
const QString kData = u"uDados|Acesso aos dados|Help Acesso aos dados|Help|"
                      u"Conexão, transações e consultas do módulo de clientes."_s;
const QString kCustomers = u"uDados|clientes|clientes|Tabela MySQL|"
                           u"Tabela principal: um registro por cliente, com endereço e situação."_s;

} // namespace

// The units marked part of the project, in their order, from a subfolder;
// the .lpr harvested once, as a unit; a form file and a unit that is not part
// of the project left out; accented comments and identifiers whole.
TEST_F(Projects, ALazarusProjectOfUtf8Units)
{
    core.openFile(fixture(u"projects/lazarus/cadastro.lpi"_s));
    EXPECT_EQ(rows(), (QStringList{kRegistration, kData, kCustomers, kConversion, kSave}));
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messageFiles.join(u' ').toStdString();
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(Projects, BothListFormsOfLazarusProjectsAndPackages)
{
    core.openFile(fixture(u"projects/lazarus/novo.lpi"_s)); // <Unit> elements; uprincipal not part of it
    EXPECT_EQ(rows(), (QStringList{kData, kCustomers}));
    core.identifiers().clear();
    core.openFile(fixture(u"projects/lazarus/componentes.lpk"_s)); // <Item1>, <Item2>, ...
    EXPECT_EQ(rows(), (QStringList{kData, kCustomers, kConversion, kSave}));
    core.identifiers().clear();
    // A package in the current form.
    const QString lpk = folder.write(
        u"novo.lpk"_s, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG><Package Version=\"5\"><Files>"
                       "<Item><Filename Value=\"u.pas\"/></Item><Item><Filename Value=\"U.lfm\"/></Item>"
                       "</Files></Package></CONFIG>\n");
    folder.write(u"u.pas"_s, "//? Só esta\n");
    core.openFile(lpk);
    EXPECT_EQ(identifiersOf(core.identifiers()), QStringList{u"Só esta"_s});
}

// The main source is harvested as a unit and never read again as a project,
// so no unit is harvested twice; paths resolve with '\' and any letter case.
TEST_F(Projects, ADelphiProjectWithItsMainSource)
{
    core.openFile(fixture(u"projects/delphi/Vendas.dproj"_s));
    // The main source's rows are named by its program heading.
    EXPECT_EQ(identifiersOf(core.identifiers()),
              (QStringList{u"Clientes"_s, u"function TotalDoPedido(Numero: integer): currency;"_s,
                           u"Sistema de Vendas"_s}));
    EXPECT_EQ(core.identifiers().row(2).unit, u"Vendas"_s);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messageFiles.join(u' ').toStdString();
    core.identifiers().clear();
    core.openFile(fixture(u"projects/delphi/Pacote.dpk"_s)); // read as a .dpr is
    EXPECT_EQ(identifiersOf(core.identifiers()),
              (QStringList{u"Pacote de componentes da loja"_s,
                           u"function TotalDoPedido(Numero: integer): currency;"_s}));
    EXPECT_EQ(core.identifiers().row(0).unit, u"Pacote"_s);
}

// A Windows-1252 unit whose accented bytes are valid UTF-8 nowhere is read as
// Windows-1252, and forcing either encoding decides it.
TEST_F(Projects, TheEncodingIsDetectedOrForced)
{
    core.openFile(fixture(u"projects/delphi/Antiga.pas"_s));
    EXPECT_EQ(core.identifiers().row(0).help,
              u"Opções de impressão: cabeçalho, rodapé e número de cópias."_s);

    // The same UTF-8 heading forced to Windows-1252: its bytes are two
    // characters each, and the name stops where ASCII does.
    const QString utf8 = folder.write(u"u.pas"_s, "//@ x\nfunction Convers\xC3\xA3o(a: integer): string;\n");
    folder.write(u"Quorvel.ini"_s, "[opcoes]\r\nCodificacao=windows-1252\r\n");
    core.identifiers().clear();
    core.openFile(utf8);
    EXPECT_EQ(core.identifiers().row(0).name, u"Convers"_s);
    EXPECT_EQ(core.identifiers().row(0).identifier, u"function ConversÃ£o(a: integer): string;"_s);

    // Forced to UTF-8, a file that is not says so once, with the line.
    folder.write(u"Quorvel.ini"_s, "[opcoes]\r\nCodificacao=utf-8\r\n");
    core.identifiers().clear();
    prompts.expect(Topic::EncodingNotice, Answer::Ok);
    core.openFile(fixture(u"projects/delphi/Antiga.pas"_s));
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0].line, 3);
    EXPECT_EQ(core.identifiers().row(0).identifier,
              u"Configura\uFFFD\uFFFDo"_s); // two bytes, one U+FFFD each
}

TEST_F(Projects, AMalformedProjectSaysWhereAndHarvestsNothing)
{
    const QString broken = fixture(u"projects/lazarus/quebrado.lpi"_s);
    try {
        core.openFile(broken);
        ADD_FAILURE() << "a malformed project was read";
    } catch (const QuorvelError& e) {
        EXPECT_TRUE(e.message().startsWith(broken % u":8: projeto malformado: "_s))
            << e.message().toStdString();
    }
    EXPECT_EQ(core.identifiers().rowCount(), 0);

    // In batch mode: FILE:LINE: text, exit 2, and the other files still open.
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status =
        BatchMode::run({u"Quorvel"_s, u"--list"_s, u"--settings"_s, folder.path(u"Quorvel.ini"_s), broken,
                        fixture(u"projects/delphi/Antiga.pas"_s)},
                       out, err);
    EXPECT_EQ(status, BatchMode::FileError);
    EXPECT_TRUE(err.data().startsWith((broken % u":8: projeto malformado: "_s).toUtf8()))
        << err.data().toStdString();
    EXPECT_TRUE(out.data().contains("Configura\xC3\xA7\xC3\xA3o"));
}

// The accents reach the document and the site as the characters they are.
TEST_F(Projects, AccentsOfUtf8UnitsInTheDocumentAndTheSite)
{
    core.openFile(fixture(u"projects/lazarus/cadastro.lpi"_s));
    core.buildDocument();
    EXPECT_TRUE(core.documentLines().contains(u"function Conversão(Código: integer): string;"_s));
    EXPECT_TRUE(RtfWriter::toRtf(core.documentLines()).contains("Convers\\'e3o(C\\'f3digo"));
    ASSERT_TRUE(core.runHtml());
    const QString page = Windows1252::decode(readBytes(folder.path(u"HELP/uPrincipal/procedimentos.htm"_s)));
    EXPECT_TRUE(page.contains(u"<b>function Conversão(Código: integer): string;</b>"_s))
        << page.toStdString();
}

// A settings file a modern editor saved with the UTF-8 mark is read and
// written as UTF-8, keeping the mark: one section, not two.
TEST(SettingsFile, TheUtf8MarkIsReadAndKept)
{
    TestFolder folder;
    const QString path =
        folder.write(u"Quorvel.ini"_s, "\xEF\xBB\xBF[HTML]\r\nAplicacao=Cadastro de Im\xC3\xB3veis\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readString(u"HTML", u"Aplicacao", {}), u"Cadastro de Imóveis"_s);
    ini.writeString(u"HTML", u"Versao", u"2.0 — ação"_s);
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF[HTML]\r\n")) << bytes.toStdString();
    EXPECT_EQ(bytes.count("[HTML]"), 1);
    EXPECT_TRUE(bytes.contains("Versao=2.0 \xE2\x80\x94 a\xC3\xA7\xC3\xA3o\r\n"));
    EXPECT_EQ(IniFile(path).readString(u"HTML", u"Versao", {}), u"2.0 — ação"_s);
}

// Project files written to hurt: a DTD (whose entities expand a small file
// into gigabytes) is refused where it stands, a byte that is no UTF-8 is
// named at its own line, and a project that names no file says so; each
// ends with exit 2, in bounded time and memory.
TEST_F(Projects, HostileProjectFilesAreMalformed)
{
    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE CONFIG [\n<!ENTITY a \"" + QByteArray(4000, 'a') +
                        "\">\n]>\n<CONFIG><ProjectOptions><Units>";
    for (int i = 0; i < 30000; ++i)
        laughs += "<Unit><Filename Value=\"&a;\"/><IsPartOfProject Value=\"True\"/></Unit>";
    laughs += "</Units></ProjectOptions></CONFIG>\n";
    const struct
    {
        QString name;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {u"risos.lpi"_s, laughs, u":4: projeto malformado: um arquivo de projeto não tem DTD"_s},
        {u"byte.lpi"_s,
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CONFIG>\n  <ProjectOptions>\n    <Title "
         "Value=\"ok\"/>\n    <Title Value=\"caf\xE9\"/>\n  </ProjectOptions>\n</CONFIG>\n",
         u":5: projeto malformado: "_s},
        {u"vazio.dproj"_s,
         "<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\n  <PropertyGroup>\n"
         "    <MainSource></MainSource>\n  </PropertyGroup>\n</Project>\n",
         u": o projeto não indica nenhum arquivo de código que possa ser lido."_s},
    };
    for (const auto& c : cases) {
        const QString file = folder.write(c.name, c.bytes);
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int status = BatchMode::run(
            {u"Quorvel"_s, u"--list"_s, u"--settings"_s, folder.path(u"Quorvel.ini"_s), file}, out, err);
        EXPECT_EQ(status, BatchMode::FileError) << c.name.toStdString();
        EXPECT_TRUE(QString::fromUtf8(err.data()).startsWith(file % c.message)) << err.data().toStdString();
    }
}
