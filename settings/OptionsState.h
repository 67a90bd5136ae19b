#pragma once

#include "common/UserPrompts.h"
#include "settings/Colours.h"
#include "settings/HtmlFormat.h"
#include "settings/SettingsFiles.h"

#include <QString>

#include <array>

class IniFile;

// What the options window edits: the four inclusion switches, the identity
// and folder of the HTML help, and the fifteen sample labels whose background
// colours and fonts stand for the HTML help's colours and fonts.
class OptionsState
{
public:
    enum SampleArea
    {
        clFundoCab,
        clFundoMenu,
        clFundoMenuconteudo,
        clFundoConteudo,
        clCab,
        clMenuTitulo,
        clMenu1,
        clMenu2,
        clMenu3,
        clMenu4,
        clMenuconteudo1,
        clMenuconteudo2,
        clMenuconteudo3,
        clConteudoTitulo,
        clConteudo,
        AreaCount
    };

    struct Sample
    {
        ScreenColour background = 0;
        SampleFont font;
        QString text;
    };

    // The built-in state, before anything is loaded.
    OptionsState();

    // Loads the three sections. A colour text that cannot be converted throws
    // its conversion error; the steps after it are then not run.
    void load(const IniFile& ini, const QString& programVersion);
    // Writes the three sections in their order. Throws "Unable to write to"
    // when the file cannot be written; keys written before stay.
    void save(IniFile& ini) const;

    // A mouse-up on a label: the left button chooses its background colour,
    // any other its font; a group follows its member.
    void labelClicked(SampleArea area, bool leftButton, IUserPrompts& prompts);

    static QString name(SampleArea area);
    static QString hint(SampleArea area);
    // Only two labels show their hint.
    static bool showsHint(SampleArea area) { return area == clFundoCab || area == clCab; }
    static bool isBackground(SampleArea area) { return area <= clFundoConteudo; }
    // The labels that share a colour and a font with `area`, itself included.
    static QList<SampleArea> group(SampleArea area);

    QString title;
    DocumentationOptions documentation;
    QString Application;
    QString Version;
    QString Folder;
    std::array<Sample, AreaCount> samples;
};

// The keys of section FormatoHTML in the order they are written, with their
// defaults and the label each belongs to. The HTML generator reads them too.
struct HtmlFormatEntry
{
    HtmlFormatKey format;
    QStringView key;
    QStringView fallback;
    OptionsState::SampleArea area;
};
extern const std::array<HtmlFormatEntry, 22> kHtmlFormatEntries;
