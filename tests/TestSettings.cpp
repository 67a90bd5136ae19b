#include "common/QuorvelError.h"
#include "settings/Colours.h"
#include "settings/IniFile.h"
#include "settings/OptionsState.h"
#include "settings/SettingsFiles.h"
#include "tests/support/Required.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString copyFixture(const TestFolder& folder, const QString& name)
{
    return folder.write(name, readBytes(fixture(u"settings/"_s % name)));
}

} // namespace

TEST(IniFile, ReadingRules)
{
    const IniFile ini(fixture(u"settings/regras.ini"_s));
    struct Case
    {
        const char16_t* section;
        const char16_t* key;
        QString expected;
    };
    const QString missing = u"<padrão>"_s;
    const Case cases[] = {
        {u"opcoes", u"COrfaos", u"1"_s},                      // names in any case, value trimmed
        {u"OPCOES", u"ajudageral", u"0"_s},                   // a key line may be indented
        {u"HTML", u"Aplicacao", u"Cadastro de Automóveis"_s}, // quotes of a pair go
        {u"HTML", u"Versao", u"2.8"_s},                       // single quotes too, after trimming
        {u"HTML", u"Pasta", u""_s},                           // present but empty: empty, not the default
        {u"HTML", u"Aspas", u"\"meia"_s},                     // a lone quote stays
        {u"HTML", u"Mistura", u"\"x'"_s},                     // quotes that do not match stay
        {u"HTML", u"Igual", u"a=b"_s},                        // the value is after the first '='
        {u"HTML", u"SemIgual", missing},                      // a line without '=' is no key
        {u"HTML", u"Nada", missing},
        {u"FormatoHTML", u"clCab", u"77aadd"_s}, // the first of two keys counts
        {u"ultima", u"lf", u"so"_s},             // lines ended by a lone LF
        {u"Ausente", u"clCab", missing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, missing), c.expected)
            << QString::fromUtf16(c.section).toStdString() << "/" << QString::fromUtf16(c.key).toStdString();

    const IniFile none(u"/nao/existe/Quorvel.ini"_s);
    EXPECT_EQ(none.readString(u"opcoes", u"COrfaos", missing), missing);
}

TEST(IniFile, ValuesAreReadUpTo2047Characters)
{
    TestFolder folder;
    const QString file = folder.write(u"longo.ini"_s, "[s]\r\nk=" + QByteArray(3000, 'x') + "\r\n");
    EXPECT_EQ(IniFile(file).readString(u"s", u"k", {}).size(), 2047);
}

TEST(IniFile, Booleans)
{
    TestFolder folder;
    struct Case
    {
        QByteArray text;
        std::optional<bool> expected; // empty: the reader's default
    };
    const Case cases[] = {
        {"1", true},
        {"0", false},
        {"2", true},
        {"-1", true},
        {"+1", true},
        {"0x10", true},
        {"0X0", false},
        {"$1F", true},
        {"-$1", true},
        {"$0", false},
        {"yes", {}},
        {"", {}},
        {"0x", {}},
        {"$", {}},
        {"1.0", {}},
        {"1 0", {}},
        {"99999999999999999", {}},
    };
    for (const Case& c : cases) {
        const QString file = folder.write(u"b.ini"_s, "[opcoes]\r\nCOrfaos=" + c.text + "\r\n");
        const IniFile ini(file);
        for (bool fallback : {false, true})
            EXPECT_EQ(ini.readBool(u"opcoes", u"COrfaos", fallback), c.expected.value_or(fallback))
                << c.text.toStdString();
    }
}

TEST(IniFile, WritingTouchesOnlyItsOwnLine)
{
    TestFolder folder;
    const QString file = copyFixture(folder, u"regras.ini"_s);
    const QByteArray before = readBytes(file);
    IniFile ini(file);
    ini.writeString(u"HTML", u"VERSAO", u"3.0"_s);
    QByteArray expected = before;
    expected.replace("Versao=  '2.8'  \r\n", "Versao=3.0\r\n");
    EXPECT_EQ(readBytes(file), expected);

    // A new key goes at the end of its section, before the blank lines.
    ini.writeString(u"opcoes", u"ProcFunc", u"0"_s);
    expected.replace("MySQL=yes\r\n\r\n[HTML]", "MySQL=yes\r\nProcFunc=0\r\n\r\n[HTML]");
    EXPECT_EQ(readBytes(file), expected);

    // A new section goes at the end of the file.
    ini.writeBool(u"conexao", u"Nova", true);
    expected += "[conexao]\r\nNova=1\r\n";
    EXPECT_EQ(readBytes(file), expected);

    // The last section's lines keep their lone line feeds.
    ini.writeString(u"ultima", u"lf", u"outro"_s);
    expected.replace("lf=so\n", "lf=outro\n");
    EXPECT_EQ(readBytes(file), expected);
    EXPECT_EQ(IniFile(file).readString(u"ultima", u"lf", {}), u"outro"_s);
}

TEST(IniFile, WritingCreatesTheFileAndNeverSplitsAValue)
{
    TestFolder folder;
    const QString file = folder.path(u"novo.ini"_s);
    IniFile ini(file);
    ini.writeString(u"HTML", u"Aplicacao", u"linha 1\r\nlinha 2\n[opcoes]\rCOrfaos=1"_s);
    ini.writeString(u"HTML", u"Pasta", u"ÁGUA"_s);
    EXPECT_EQ(readBytes(file),
              QByteArray("[HTML]\r\nAplicacao=linha 1  linha 2 [opcoes] COrfaos=1\r\nPasta=\xC1GUA\r\n"));
    const IniFile again(file);
    EXPECT_EQ(again.readString(u"opcoes", u"COrfaos", u"x"_s), u"x"_s);
    EXPECT_EQ(again.readString(u"HTML", u"Pasta", {}), u"ÁGUA"_s);

    // A file without a final line break gets one before the new lines.
    const QString bare = folder.write(u"sem-fim.ini"_s, "[a]\r\nk=v");
    IniFile(bare).writeString(u"a", u"n", u"w"_s);
    EXPECT_EQ(readBytes(bare), QByteArray("[a]\r\nk=v\r\nn=w\r\n"));
}

TEST(IniFile, AFailedWriteNamesTheFileAndKeepsEarlierKeys)
{
    TestFolder folder;
    QDir().mkpath(folder.path(u"cfg"_s));
    const QString file = folder.path(u"cfg/Quorvel.ini"_s);
    IniFile ini(file);
    ini.writeString(u"HTML", u"Aplicacao", u"primeira"_s);
    // The folder goes away and a plain file takes its name: no write can succeed.
    ASSERT_TRUE(QDir().rename(folder.path(u"cfg"_s), folder.path(u"cfg-antes"_s)));
    folder.write(u"cfg"_s, "não é pasta");
    try {
        ini.writeString(u"HTML", u"Versao", u"segunda"_s);
        ADD_FAILURE() << "the write did not fail";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(), u"Unable to write to "_s % file);
    }
    EXPECT_EQ(readBytes(folder.path(u"cfg-antes/Quorvel.ini"_s)),
              QByteArray("[HTML]\r\nAplicacao=primeira\r\n"));
}

TEST(IniFile, ABatchReachesTheDiskOnceAndWholeOrNotAtAll)
{
    TestFolder folder;
    QDir().mkpath(folder.path(u"cfg"_s));
    const QString file = folder.path(u"cfg/Quorvel.ini"_s);
    IniFile ini(file);
    ini.writeString(u"HTML", u"Aplicacao", u"antes"_s);
    const QByteArray before = readBytes(file);
    {
        IniFile::Batch batch(ini);
        ini.writeString(u"HTML", u"Aplicacao", u"nova"_s);
        ini.writeBool(u"opcoes", u"COrfaos", true);
        EXPECT_EQ(readBytes(file), before); // nothing on disk yet
        EXPECT_EQ(ini.readString(u"HTML", u"Aplicacao", QString()), u"nova"_s);
        batch.commit();
    }
    EXPECT_EQ(readBytes(file), QByteArray("[HTML]\r\nAplicacao=nova\r\n[opcoes]\r\nCOrfaos=1\r\n"));

    {
        IniFile::Batch dropped(ini); // never committed: an exception went past it
        ini.writeString(u"HTML", u"Aplicacao", u"perdida"_s);
    }
    EXPECT_EQ(ini.readString(u"HTML", u"Aplicacao", QString()), u"nova"_s);

    // A commit that cannot write leaves the file and the values as before the batch.
    const QByteArray committed = readBytes(file);
    IniFile::Batch failing(ini);
    ini.writeString(u"HTML", u"Versao", u"2"_s);
    ASSERT_TRUE(QDir().rename(folder.path(u"cfg"_s), folder.path(u"cfg-antes"_s)));
    folder.write(u"cfg"_s, "não é pasta");
    EXPECT_THROW(failing.commit(), QuorvelError);
    EXPECT_EQ(ini.readString(u"HTML", u"Versao", u"nenhuma"_s), u"nenhuma"_s);
    EXPECT_EQ(readBytes(folder.path(u"cfg-antes/Quorvel.ini"_s)), committed);
}

TEST(IniFile, AWriteThatRunsOutOfSpaceLeavesTheOldFileWhole)
{
    SmallFileSystem disk(64);
    REQUIRE_FOR_TEST(disk.isMounted(), "mounting a small tmpfs needs root");
    const QString file = disk.path(u"Quorvel.ini"_s);
    const QByteArray old = "[HTML]\r\nAplicacao=" + QByteArray(40 * 1024, 'a') + "\r\n";
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(old), old.size());
    }
    IniFile ini(file);
    // The new copy cannot fit beside the old one.
    EXPECT_THROW(ini.writeString(u"HTML", u"Versao", u"1"_s), QuorvelError);
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(QDir(disk.path(QString())).entryList(QDir::Files), QStringList{u"Quorvel.ini"_s});
}

TEST(SettingsFiles, NamingRules)
{
    EXPECT_EQ(SettingsFiles::programSettingsPath(u"/opt/q/Quorvel"_s), u"/opt/q/Quorvel.ini"_s);
    EXPECT_EQ(SettingsFiles::programSettingsPath(u"/opt/q.d/Quorvel"_s), u"/opt/q.d/Quorvel.ini"_s);
    EXPECT_EQ(SettingsFiles::programSettingsPath(u"/opt/q/Quorvel.exe"_s), u"/opt/q/Quorvel.ini"_s);
    EXPECT_EQ(SettingsFiles::programSettingsPath(u"/opt/q/Doc.Tool.bin"_s), u"/opt/q/Doc.Tool.ini"_s);
    EXPECT_EQ(SettingsFiles::fixedSettingsPath(u"/opt/q/"_s), u"/opt/q/Quorvel.ini"_s);
}

TEST(Colours, ConversionsBothWays)
{
    const ScreenColour colour = hexToColour(u"77aadd"_s);
    EXPECT_EQ(redOf(colour), 119);
    EXPECT_EQ(greenOf(colour), 170);
    EXPECT_EQ(blueOf(colour), 221);
    EXPECT_EQ(colour >> 24, 0u);
    EXPECT_EQ(colourToHex(colour), u"77AADD"_s);
    EXPECT_EQ(colourToHex(rgbColour(0, 10, 255) | 0xFF000000u), u"000AFF"_s);
    EXPECT_EQ(hexToColour(u"77AADDxyz"_s), colour);
    EXPECT_EQ(blueOf(hexToColour(u"77aad"_s)), 13);

    struct Bad
    {
        QString text;
        QString message;
    };
    const Bad bad[] = {
        {u"77aa"_s, u"'$' is not a valid integer value"_s},
        {u"#77aadd"_s, u"'$#7' is not a valid integer value"_s},
        {u"7g0000"_s, u"'$7g' is not a valid integer value"_s},
        {u"00 000"_s, u"'$ 0' is not a valid integer value"_s},
        {u""_s, u"'$' is not a valid integer value"_s},
    };
    for (const Bad& b : bad) {
        try {
            hexToColour(b.text);
            ADD_FAILURE() << b.text.toStdString() << " converted";
        } catch (const QuorvelError& e) {
            EXPECT_EQ(e.message(), b.message);
        }
    }
}

TEST(OptionsState, DefaultsWithoutAFileAndSavingRightAway)
{
    TestFolder folder;
    OptionsState options;
    EXPECT_EQ(options.samples[OptionsState::clCab].text, u"Programa v1.1"_s);
    const QString file = folder.path(u"Quorvel.ini"_s);
    options.load(IniFile(file), u"v1.1"_s);
    EXPECT_EQ(options.title, u"Opções - Quorvel (v1.1)"_s);
    EXPECT_FALSE(options.documentation.Orphans);
    EXPECT_TRUE(options.documentation.GeneralHelp && options.documentation.MySQL &&
                options.documentation.ProcFunc);
    EXPECT_EQ(options.Folder, u"HELP"_s);
    EXPECT_EQ(options.samples[OptionsState::clCab].text, u"Programa v1.0"_s);
    EXPECT_EQ(options.samples[OptionsState::clMenu3].background, rgbColour(0xee, 0xee, 0xee));
    EXPECT_EQ(options.samples[OptionsState::clMenu3].font.face, u"Arial"_s);
    EXPECT_EQ(options.samples[OptionsState::clConteudo].font.face, u"Courier"_s);
    EXPECT_EQ(options.samples[OptionsState::clFundoMenu].background, rgbColour(255, 255, 255));

    IniFile ini(file);
    options.save(ini);
    const QByteArray written = readBytes(file);
    EXPECT_TRUE(written.startsWith(
        "[opcoes]\r\nCOrfaos=0\r\nAjudaGeral=1\r\nMySQL=1\r\nProcFunc=1\r\n"
        "Codificacao=auto\r\nEstiloSite=classico\r\n[HTML]\r\nAplicacao=\r\nVersao=\r\nPasta=HELP\r\n"
        "[FormatoHTML]\r\n"
        "clFundoCab=FFFFFF\r\n"));
    EXPECT_TRUE(written.contains("\r\nclCab=77AADD\r\nclFontCab=0000FF\r\nFontCab=Arial\r\n"));
    EXPECT_TRUE(written.endsWith("clConteudo=EEEEEE\r\nclFontConteudo=000000\r\nFontConteudo=Courier\r\n"));
    EXPECT_EQ(written.count("\r\n"), 3 + 6 + 3 + 22); // three headers and 31 keys
}

TEST(OptionsState, GroupsFollowTheirMember)
{
    ScriptedPrompts prompts;
    OptionsState options;
    SampleFont font;
    font.face = u"Verdana"_s;
    font.points = 14;
    font.italic = true;
    font.colour = rgbColour(1, 2, 3);
    prompts.expectFont(font);
    options.labelClicked(OptionsState::clMenu3, false, prompts);
    for (auto r :
         {OptionsState::clMenu1, OptionsState::clMenu2, OptionsState::clMenu3, OptionsState::clMenu4})
        EXPECT_EQ(options.samples[r].font, font);
    EXPECT_EQ(prompts.fontPresets.first().face, u"Arial"_s);

    prompts.expectColor(rgbColour(9, 8, 7));
    options.labelClicked(OptionsState::clMenuconteudo2, true, prompts);
    for (auto r :
         {OptionsState::clMenuconteudo1, OptionsState::clMenuconteudo2, OptionsState::clMenuconteudo3})
        EXPECT_EQ(options.samples[r].background, rgbColour(9, 8, 7));

    const ScreenColour menuBefore = options.samples[OptionsState::clMenu1].background;
    prompts.expectColor(rgbColour(1, 1, 1));
    options.labelClicked(OptionsState::clMenuTitulo, true, prompts);
    EXPECT_EQ(options.samples[OptionsState::clMenuTitulo].background, rgbColour(1, 1, 1));
    EXPECT_EQ(options.samples[OptionsState::clMenu1].background, menuBefore);

    // Cancelling a chooser changes nothing.
    const auto before = options.samples;
    prompts.expectColor(std::nullopt);
    options.labelClicked(OptionsState::clCab, true, prompts);
    prompts.expectFont(std::nullopt);
    options.labelClicked(OptionsState::clCab, false, prompts);
    for (int r = 0; r < OptionsState::AreaCount; ++r) {
        EXPECT_EQ(options.samples[r].background, before[r].background);
        EXPECT_EQ(options.samples[r].font, before[r].font);
    }
    EXPECT_TRUE(prompts.scriptDone());
}

TEST(OptionsState, ABadColourStopsTheLoadingThere)
{
    TestFolder folder;
    const QString file =
        folder.write(u"ruim.ini"_s, "[HTML]\r\nAplicacao=App\r\n[FormatoHTML]\r\nclFundoCab=123456\r\n"
                                    "clFundoMenu=#ffffff\r\nclCab=000000\r\n");
    OptionsState options;
    try {
        options.load(IniFile(file), u"v1.1"_s);
        ADD_FAILURE() << "the bad colour was accepted";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(), u"'$#f' is not a valid integer value"_s);
    }
    EXPECT_EQ(options.Application, u"App"_s);
    EXPECT_EQ(options.samples[OptionsState::clFundoCab].background, hexToColour(u"123456"_s));
    EXPECT_EQ(options.samples[OptionsState::clCab].background,
              OptionsState().samples[OptionsState::clCab].background);
    EXPECT_EQ(options.title, u"Opções"_s);
    EXPECT_EQ(options.samples[OptionsState::clCab].text, u"Programa v1.1"_s);
}
