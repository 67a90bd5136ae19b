#pragma once

#include "settings/SettingsFiles.h"

#include <QString>

#include <optional>

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

    // What the command line says over the settings: the style, and the
    // modern site's title and version.
    struct Overrides
    {
        std::optional<SiteStyle> style;
        std::optional<QString> title;
        std::optional<QString> version;
    };
    void setOverrides(Overrides overrides) { m_overrides = std::move(overrides); }
    // The style the next site is written in, and its start page in `folder`.
    SiteStyle style() const;
    static QString startPage(const QString& folder, SiteStyle style);

private:
    // The modern site's title and version: the command line's, then the
    // settings' when set, then the project's own, never a placeholder.
    QString modernTitle() const;
    QString modernVersion() const;

    IUserPrompts& m_prompts;
    const SettingsLocation& m_settings;
    IdentifierTable& m_table;
    const HarvestReport& m_report;
    Overrides m_overrides;
};
