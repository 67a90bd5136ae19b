#include "output/HtmlCommand.h"

#include "common/AtomicFile.h"
#include "common/Folders.h"
#include "common/Program.h"
#include "common/UnitPath.h"
#include "common/UserPrompts.h"
#include "harvest/HarvestReport.h"
#include "output/HtmlSite.h"
#include "output/ModernSite.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"

#include "common/QuorvelError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

HtmlCommand::HtmlCommand(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table,
                         const HarvestReport& report)
    : m_prompts(prompts), m_settings(settings), m_table(table), m_report(report)
{}

namespace {

// The extension of each unit's file, lower-cased, by the name its rows
// have; the latest harvest of a name counts.
QHash<QString, QString> unitExtensions(const HarvestReport& report)
{
    QHash<QString, QString> extensions;
    for (const HarvestReport::UnitFile& unit : report.unitFiles) {
        const QString extension = UnitPath::extension(unit.file).toLower();
        extensions.insert(unit.unit, extension.isEmpty() ? u".pas"_s : extension);
    }
    return extensions;
}

} // namespace

HtmlCommand::SiteIdentity HtmlCommand::siteIdentity() const
{
    const IniFile ini(m_settings.settingsFile());
    return {ini.readString(u"HTML", u"Aplicacao", u"[APLICAÇÃO]"_s),
            ini.readString(u"HTML", u"Versao", u"[VERSÃO]"_s),
            m_settings.siteFolder(ini.readString(u"HTML", u"Pasta", u"HELP"_s))};
}

bool HtmlCommand::runHtml()
{
    const SiteIdentity id = siteIdentity();
    return writeSite(id.application, id.version, id.folder);
}

SiteStyle HtmlCommand::style() const
{
    return m_overrides.style.value_or(
        DocumentationOptions::read(IniFile(m_settings.siteSettingsFile())).siteStyle);
}

QString HtmlCommand::startPage(const QString& folder, SiteStyle style)
{
    return QDir(folder).absoluteFilePath(style == SiteStyle::Modern ? u"index.html"_s : u"index.htm"_s);
}

QString HtmlCommand::modernTitle() const
{
    if (m_overrides.title)
        return *m_overrides.title;
    const QString set = IniFile(m_settings.settingsFile()).readString(u"HTML", u"Aplicacao", QString());
    if (!set.trimmed().isEmpty())
        return set;
    return m_report.project.title.isEmpty() ? u"Documentação"_s : m_report.project.title;
}

QString HtmlCommand::modernVersion() const
{
    if (m_overrides.version)
        return *m_overrides.version;
    const QString set = IniFile(m_settings.settingsFile()).readString(u"HTML", u"Versao", QString());
    return set.trimmed().isEmpty() ? m_report.project.version : set;
}

bool HtmlCommand::writeSite(const QString& application, const QString& version, const QString& folder)
{
    const IniFile ini(m_settings.siteSettingsFile());
    const DocumentationOptions options = DocumentationOptions::read(ini);
    const SiteStyle style = m_overrides.style.value_or(options.siteStyle);
    if (QFileInfo(folder).isDir()) {
        const Answer answer =
            m_prompts.ask(Question{Topic::OverwriteFolder,
                                   u"Já existe a pasta ["_s % folder % u"],\r\rDeseja sobrescrevê-la ?"_s,
                                   {Answer::Yes, Answer::No},
                                   Answer::Yes,
                                   folder,
                                   0,
                                   {}});
        if (answer != Answer::Yes)
            return false;
    }
    const auto progress = [this](int done, int total, const QString& file) {
        m_prompts.reportProgress(done, total, file);
    };
    if (style == SiteStyle::Modern) {
        ModernSite site(HtmlFormat::read(ini), options);
        QHash<QString, QString> files;
        for (const HarvestReport::UnitFile& unit : m_report.unitFiles)
            files.insert(unit.unit, unit.file);
        site.setUnitFiles(files);
        if (!m_settings.portable())
            Folders::make(QFileInfo(folder).absolutePath(), Folders::Levels::WithParents);
        site.write(folder, {modernTitle(), modernVersion()}, m_table, progress);
        return true;
    }
    HtmlSite site(HtmlFormat::read(ini), options, Program::contact());
    site.setUnitExtensions(unitExtensions(m_report));
    // Removes the folder only when it is empty; creates one level only, but
    // for an installed program the documents folder's "Quorvel" too.
    QDir().rmdir(folder);
    Folders::make(folder, m_settings.portable() ? Folders::Levels::Last : Folders::Levels::WithParents);
    site.write(folder, application, version, m_table, progress);
    // The pages were written without waiting for the disk, each replacing its
    // old one atomically; the site is done once all of them are on it.
    AtomicFile::syncFolder(folder);
    return true;
}
