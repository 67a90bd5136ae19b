// Installed like a Linux program: a program folder the user may not write
// keeps its settings in the user's configuration folder and its help site
// under the user's documents folder; a portable one keeps both beside it.
#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "settings/IniFile.h"
#include "table/IdentifierTable.h"
#include "tests/support/Required.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The user's folders for one test: its own home and configuration folder.
class UserFolders
{
public:
    UserFolders()
        : m_home(qgetenv("HOME")), m_config(qgetenv("XDG_CONFIG_HOME")),
          m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", QFile::encodeName(m_folder.path(u"casa"_s)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder.path(u"casa/.config"_s)));
    }
    ~UserFolders()
    {
        qputenv("HOME", m_home);
        if (m_hadConfig)
            qputenv("XDG_CONFIG_HOME", m_config);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    UserFolders(const UserFolders&) = delete;
    UserFolders& operator=(const UserFolders&) = delete;
    QString path(const QString& name) const { return m_folder.path(name); }

private:
    TestFolder m_folder;
    QByteArray m_home;
    QByteArray m_config;
    bool m_hadConfig;
};

} // namespace

TEST(Installed, AReadOnlyProgramFolderUsesTheUsersFolders)
{
    SmallFileSystem programFolder(64, true);
    REQUIRE_FOR_TEST(programFolder.isMounted(), "mounting a read-only tmpfs needs root");
    const UserFolders user;
    ScriptedPrompts prompts;
    QuorvelCore core(prompts);
    core.setPastaExecutavel(programFolder.path(QString()) % u'/');
    EXPECT_FALSE(core.settings().portatil());
    const QString userFile = user.path(u"casa/.config/Quorvel/Quorvel.ini"_s);
    EXPECT_EQ(core.arquivoConfiguracao(), userFile);
    EXPECT_EQ(core.arquivoConfiguracaoHTML(), userFile);

    // Settings are written and read there, with the same rules.
    QDir().mkpath(user.path(u"casa/.config/Quorvel"_s));
    IniFile(core.arquivoConfiguracao()).writeString(u"HTML", u"Pasta", u"AJUDA"_s);
    EXPECT_EQ(core.identidadeHTML().pasta, user.path(u"casa/Documents/Quorvel/AJUDA"_s));

    // The site goes under the documents folder, its parents made as needed.
    core.cdsUnits().append(IdentifierRow{u"U"_s, u"Geral"_s, {}, u"Help"_s, u"texto"_s, 1});
    ASSERT_TRUE(core.HTMLExecute());
    EXPECT_TRUE(QFile::exists(user.path(u"casa/Documents/Quorvel/AJUDA/U/ajuda.htm"_s)));
    EXPECT_TRUE(QDir(programFolder.path(QString())).isEmpty());
}

TEST(Installed, AWritableFolderOrASettingsFileBesideItIsPortable)
{
    const UserFolders user;
    TestFolder program;
    ScriptedPrompts prompts;
    QuorvelCore core(prompts);
    core.setPastaExecutavel(program.path(QString()) % u'/');
    EXPECT_TRUE(core.settings().portatil());
    EXPECT_EQ(core.arquivoConfiguracaoHTML(), program.path(u"Quorvel.ini"_s));
    EXPECT_EQ(core.identidadeHTML().pasta, program.path(u"HELP"_s));

    // A settings file beside a read-only program keeps it portable too.
    SmallFileSystem withFile(64);
    REQUIRE_FOR_TEST(withFile.isMounted(), "mounting a tmpfs needs root");
    QFile(withFile.path(u"Quorvel.ini"_s)).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(withFile.path(QString())).constData(), 0555);
    core.setPastaExecutavel(withFile.path(QString()) % u'/');
    EXPECT_TRUE(core.settings().portatil());
}

// A folder that cannot be created is what the error names, with the reason.
TEST(Installed, AFolderThatCannotBeCreatedIsNamed)
{
    TestFolder folder;
    ScriptedPrompts prompts;
    QuorvelCore core(prompts);
    core.setArquivoConfiguracao(folder.path(u"Quorvel.ini"_s));
    folder.write(u"ocupado"_s, "um arquivo, não uma pasta");
    try {
        core.GeraHTML(u"App"_s, u"1"_s, folder.path(u"ocupado"_s));
        ADD_FAILURE() << "the site was written";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(),
                  u"Cannot create folder \""_s % folder.path(u"ocupado"_s) % u"\". File exists"_s);
    }
}
