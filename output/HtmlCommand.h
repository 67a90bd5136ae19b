#pragma once

#include <QString>

struct HarvestReport;
class IUserPrompts;
class IdentifierTable;
class SettingsLocation;

// The HTML command: the site's identity and folder from the settings, the
// question before reusing an existing folder, then the site.
class HtmlCommand
{
public:
    // The report tells the files the units were read from.
    HtmlCommand(IUserPrompts& prompts, const SettingsLocation& settings, IdentifierTable& table,
                const HarvestReport& report);

    struct SiteIdentity
    {
        QString application;
        QString version;
        QString folder;
    };
    // The application's name and version and the site's folder (the
    // program's folder + Pasta), as the settings give them.
    SiteIdentity siteIdentity() const;
    // Both return false when the user declined to reuse the folder; they
    // throw QuorvelError when a page cannot be written.
    bool runHtml();
    bool writeSite(const QString& application, const QString& version, const QString& folder);

private:
    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    IdentifierTable& m_table;
    const HarvestReport& m_report;
};
