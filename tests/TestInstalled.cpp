// Installed like a Linux program: a program folder the user may not write
// keeps its settings in the user's configuration folder and its help site
// under the user's documents folder; a portable one keeps both beside it.
#include "app/QuorvelCore.h"
#include "common/QuorvelError.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "table/IdentifierTable.h"
#include "tests/support/Required.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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
    core.setProgramFolder(programFolder.path(QString()) % u'/');
    EXPECT_FALSE(core.settings().portable());
    const QString userFile = user.path(u"casa/.config/Quorvel/Quorvel.ini"_s);
    EXPECT_EQ(core.settingsFile(), userFile);
    EXPECT_EQ(core.settings().siteSettingsFile(), userFile);

    // Settings are written and read there, with the same rules.
    QDir().mkpath(user.path(u"casa/.config/Quorvel"_s));
    IniFile(core.settingsFile()).writeString(u"HTML", u"Pasta", u"AJUDA"_s);
    EXPECT_EQ(core.siteIdentity().folder, user.path(u"casa/Documents/Quorvel/AJUDA"_s));

    // The site goes under the documents folder, its parents made as needed.
    core.identifiers().append(IdentifierRow{u"U"_s, u"Geral"_s, {}, u"Help"_s, u"texto"_s, 1});
    ASSERT_TRUE(core.runHtml());
    EXPECT_TRUE(QFile::exists(user.path(u"casa/Documents/Quorvel/AJUDA/U/ajuda.htm"_s)));
    EXPECT_TRUE(QDir(programFolder.path(QString())).isEmpty());
}

TEST(Installed, AWritableFolderOrASettingsFileBesideItIsPortable)
{
    const UserFolders user;
    TestFolder program;
    ScriptedPrompts prompts;
    QuorvelCore core(prompts);
    core.setProgramFolder(program.path(QString()) % u'/');
    EXPECT_TRUE(core.settings().portable());
    EXPECT_EQ(core.settings().siteSettingsFile(), program.path(u"Quorvel.ini"_s));
    EXPECT_EQ(core.siteIdentity().folder, program.path(u"HELP"_s));

    // A settings file beside a read-only program keeps it portable too.
    SmallFileSystem withFile(64);
    REQUIRE_FOR_TEST(withFile.isMounted(), "mounting a tmpfs needs root");
    QFile(withFile.path(u"Quorvel.ini"_s)).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(withFile.path(QString())).constData(), 0555);
    core.setProgramFolder(withFile.path(QString()) % u'/');
    EXPECT_TRUE(core.settings().portable());
}

// A folder that cannot be created is what the error names, with the reason.
TEST(Installed, AFolderThatCannotBeCreatedIsNamed)
{
    TestFolder folder;
    ScriptedPrompts prompts;
    QuorvelCore core(prompts);
    core.setSettingsFile(folder.path(u"Quorvel.ini"_s));
    folder.write(u"ocupado"_s, "um arquivo, não uma pasta");
    try {
        core.writeSite(u"App"_s, u"1"_s, folder.path(u"ocupado"_s));
        ADD_FAILURE() << "the site was written";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(),
                  u"Cannot create folder \""_s % folder.path(u"ocupado"_s) % u"\". File exists"_s);
    }
}

// On first use an installed program has no configuration folder of its own:
// the first save makes it, parents and all, instead of losing the choices.
TEST(Installed, TheFirstSaveMakesTheConfigurationFolder)
{
    const UserFolders user;
    const QString file = SettingsLocation::userSettingsFile();
    ASSERT_EQ(file, user.path(u"casa/.config/Quorvel/Quorvel.ini"_s));
    ASSERT_FALSE(QFileInfo::exists(user.path(u"casa"_s)));
    IniFile(file).writeString(u"HTML", u"Pasta", u"AJUDA"_s);
    EXPECT_EQ(IniFile(file).readString(u"HTML", u"Pasta", QString()), u"AJUDA"_s);
}

// The XDG rules ignore a relative XDG_CONFIG_HOME; a relative HOME is passed
// over for the account's own folder. Neither follows the current folder.
TEST(Installed, RelativeUserFoldersAreIgnored)
{
    const UserFolders user;
    qputenv("XDG_CONFIG_HOME", "relativa/config");
    EXPECT_EQ(SettingsLocation::userSettingsFile(), user.path(u"casa/.config/Quorvel/Quorvel.ini"_s));
    qputenv("HOME", "casa-relativa");
    const QString file = SettingsLocation::userSettingsFile();
    EXPECT_TRUE(file.startsWith(u'/')) << file.toStdString();
    EXPECT_TRUE(file.endsWith(u"/.config/Quorvel/Quorvel.ini"_s)) << file.toStdString();
    EXPECT_FALSE(file.contains(u"casa-relativa"_s)) << file.toStdString();
}

// The parents of an installed program's site are made one by one; the one
// that cannot be made is the one named, with its own reason.
TEST(Installed, TheFolderThatFailsIsNamedWithItsOwnReason)
{
    SmallFileSystem readOnlyHome(64, true);
    REQUIRE_FOR_TEST(readOnlyHome.isMounted(), "mounting a read-only tmpfs needs root");
    SmallFileSystem programFolder(64, true);
    const UserFolders user;
    qputenv("HOME", QFile::encodeName(readOnlyHome.path(QString())));
    ScriptedPrompts prompts;
    QuorvelCore core(prompts);
    core.setProgramFolder(programFolder.path(QString()) % u'/');
    ASSERT_FALSE(core.settings().portable());
    core.setSettingsFile(user.path(u"Quorvel.ini"_s));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_TRUE(documents.startsWith(readOnlyHome.path(QString()))) << documents.toStdString();
    try {
        core.writeSite(u"App"_s, u"1"_s, core.settings().siteFolder(u"HELP"_s));
        ADD_FAILURE() << "the site was written";
    } catch (const QuorvelError& e) {
        EXPECT_EQ(e.message(), u"Cannot create folder \""_s % documents % u"\". Read-only file system"_s);
    }
}

// A running program whose file is deleted or replaced (an upgrade) still
// knows its folder: a portable copy keeps its settings and its site there.
TEST(Installed, ADeletedProgramFileKeepsItsFolder)
{
    TestFolder folder;
    const QString program = folder.path(u"Quorvel"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVEL_BINARY), program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    folder.write(u"Quorvel.ini"_s, "[HTML]\r\nPasta=SITE\r\n");
    const QString unit = folder.writeSource(u"u.pas"_s, u"unit U;\n//? Ajuda\n//* texto\n"_s);
    // The file is opened, deleted, and run from what is open.
    QProcess process;
    process.setWorkingDirectory(folder.path(u"."_s));
    process.start(u"bash"_s, {u"-c"_s, u"exec 3<\"$1\"; rm \"$1\"; exec /proc/self/fd/3 --html \"$2\""_s,
                              u"bash"_s, program, unit});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(program));
    EXPECT_TRUE(QFileInfo::exists(folder.path(u"SITE/U/ajuda.htm"_s)));
}
