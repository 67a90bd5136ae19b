#include "settings/OptionsState.h"

#include "settings/IniFile.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using R = OptionsState::SampleArea;

// Colours of the built-in state.
constexpr ScreenColour kInactiveCaption = rgbColour(191, 205, 219); // the inactive title bar
constexpr ScreenColour kSkyBlue = rgbColour(166, 202, 240);
constexpr ScreenColour kBlue = rgbColour(0, 0, 255);
constexpr ScreenColour kPurple = rgbColour(128, 0, 128);
constexpr ScreenColour kWindowText = rgbColour(0, 0, 0);

struct AreaInfo
{
    QStringView name;
    QStringView hint;
    QStringView textBefore; // sample text before loading
    QStringView textAfter;  // sample text once loaded
};

constexpr AreaInfo kAreas[OptionsState::AreaCount] = {
    {u"clFundoCab", u"Fundo do Cabeçalho", u"", u""},
    {u"clFundoMenu", u"Fundo do Menu Principal", u"", u""},
    {u"clFundoMenuconteudo", u"Fundo do Menu da Ajuda", u"", u""},
    {u"clFundoConteudo", u"Fundo Ajuda", u"", u""},
    {u"clCab", u"Cabeçalho (Botão esq: FUNDO; Botão dir: FONTE)", u"Programa v1.1", u"Programa v1.0"},
    {u"clMenuTitulo", u"Título Menu (Botão esq: FUNDO; Botão dir: FONTE)", u"UNITS", u"UNITS"},
    {u"clMenu1", u"Item Menu (Botão esq: FUNDO; Botão dir: FONTE)", u"Unit1.pas", u"Unit1.pas"},
    {u"clMenu2", u"Item Menu (Botão esq: FUNDO; Botão dir: FONTE)", u"Unit2.pas", u"Unit2.pas"},
    {u"clMenu3", u"Item Menu (Botão esq: FUNDO; Botão dir: FONTE)", u"Unit3.pas", u"Unit3.pas"},
    {u"clMenu4", u"Item Menu (Botão esq: FUNDO; Botão dir: FONTE)", u"Unit4.pas", u"Unit4.pas"},
    {u"clMenuconteudo1", u"Item Menu Ajuda (Botão esq: FUNDO; Botão dir: FONTE)", u"Ajuda", u"Ajuda"},
    {u"clMenuconteudo2", u"Item Menu Ajuda (Botão esq: FUNDO; Botão dir: FONTE)", u"Proc.", u"Proc."},
    {u"clMenuconteudo3", u"Item Menu Ajuda (Botão esq: FUNDO; Botão dir: FONTE)", u"Tab.", u"Tab."},
    {u"clConteudoTitulo", u"Identificador da Ajuda (Botão esq: FUNDO; Botão dir: FONTE)", u"Proc.1",
     u"Proc.1"},
    {u"clConteudo", u"Ajuda (Botão esq: FUNDO; Botão dir: FONTE)", u"Esta procedure é responsável por...",
     u"Esta Procedure é responsável por ..."},
};

SampleFont font(const char16_t* face, int points, ScreenColour colour, bool bold = false,
                bool underline = false)
{
    SampleFont f;
    f.face = QString::fromUtf16(face);
    f.points = points;
    f.colour = colour;
    f.bold = bold;
    f.underline = underline;
    return f;
}

} // namespace

const std::array<HtmlFormatEntry, 22> kHtmlFormatEntries = {{
    {HtmlFormatKey::clFundoCab, u"clFundoCab", u"ffffff", R::clFundoCab},
    {HtmlFormatKey::clFundoMenu, u"clFundoMenu", u"ffffff", R::clFundoMenu},
    {HtmlFormatKey::clFundoMenuconteudo, u"clFundoMenuconteudo", u"ffffff", R::clFundoMenuconteudo},
    {HtmlFormatKey::clFundoConteudo, u"clFundoConteudo", u"ffffff", R::clFundoConteudo},
    {HtmlFormatKey::clCab, u"clCab", u"77aadd", R::clCab},
    {HtmlFormatKey::clFontCab, u"clFontCab", u"0000ff", R::clCab},
    {HtmlFormatKey::FontCab, u"FontCab", u"Arial", R::clCab},
    {HtmlFormatKey::clMenuTitulo, u"clMenuTitulo", u"77aadd", R::clMenuTitulo},
    {HtmlFormatKey::clFontMenuTitulo, u"clFontMenuTitulo", u"0000ff", R::clMenuTitulo},
    {HtmlFormatKey::FontMenuTitulo, u"FontMenuTitulo", u"Arial", R::clMenuTitulo},
    {HtmlFormatKey::clMenu, u"clMenu", u"eeeeee", R::clMenu1},
    {HtmlFormatKey::clFontMenu, u"clFontMenu", u"0000ff", R::clMenu1},
    {HtmlFormatKey::FontMenu, u"FontMenu", u"Arial", R::clMenu1},
    {HtmlFormatKey::clMenuconteudo, u"clMenuconteudo", u"eeeeee", R::clMenuconteudo1},
    {HtmlFormatKey::clFontMenuconteudo, u"clFontMenuconteudo", u"0000ff", R::clMenuconteudo1},
    {HtmlFormatKey::FontMenuconteudo, u"FontMenuconteudo", u"Arial", R::clMenuconteudo1},
    {HtmlFormatKey::clConteudoTitulo, u"clConteudoTitulo", u"eeeeee", R::clConteudoTitulo},
    {HtmlFormatKey::clFontConteudoTitulo, u"clFontConteudoTitulo", u"000000", R::clConteudoTitulo},
    {HtmlFormatKey::FontConteudoTitulo, u"FontConteudoTitulo", u"Courier", R::clConteudoTitulo},
    {HtmlFormatKey::clConteudo, u"clConteudo", u"eeeeee", R::clConteudo},
    {HtmlFormatKey::clFontConteudo, u"clFontConteudo", u"000000", R::clConteudo},
    {HtmlFormatKey::FontConteudo, u"FontConteudo", u"Courier", R::clConteudo},
}};

OptionsState::OptionsState() : title(u"Opções"_s), Folder(u"HELP"_s)
{
    for (int r = 0; r < AreaCount; ++r) {
        Sample& a = samples[r];
        a.text = kAreas[r].textBefore.toString();
        a.background = isBackground(SampleArea(r)) ? kInactiveCaption : kSkyBlue;
        a.font = font(u"Tahoma", 8, kWindowText); // the window's own font
    }
    samples[clCab].font = font(u"Arial", 12, kBlue, true);
    samples[clMenuTitulo].font = font(u"Arial", 10, kBlue, true);
    for (SampleArea r :
         {clMenu1, clMenu2, clMenu3, clMenu4, clMenuconteudo1, clMenuconteudo2, clMenuconteudo3})
        samples[r].font = font(u"Arial", 10, kPurple, false, true);
    samples[clConteudoTitulo].font = font(u"Courier", 10, kWindowText, true);
    samples[clConteudo].font = font(u"Courier", 10, kWindowText);
}

QString OptionsState::name(SampleArea area)
{
    return kAreas[area].name.toString();
}

QString OptionsState::hint(SampleArea area)
{
    return kAreas[area].hint.toString();
}

QList<OptionsState::SampleArea> OptionsState::group(SampleArea area)
{
    if (area >= clMenu1 && area <= clMenu4)
        return {clMenu1, clMenu2, clMenu3, clMenu4};
    if (area >= clMenuconteudo1 && area <= clMenuconteudo3)
        return {clMenuconteudo1, clMenuconteudo2, clMenuconteudo3};
    return {area};
}

void OptionsState::load(const IniFile& ini, const QString& programVersion)
{
    documentation = DocumentationOptions::read(ini);
    Application = ini.readString(u"HTML", u"Aplicacao", QString());
    Version = ini.readString(u"HTML", u"Versao", QString());
    Folder = ini.readString(u"HTML", u"Pasta", u"HELP"_s);

    for (const HtmlFormatEntry& k : kHtmlFormatEntries) {
        const QString value = ini.readString(u"FormatoHTML", k.key, k.fallback.toString());
        Sample& a = samples[k.area];
        if (k.key.startsWith(u"clFont"))
            a.font.colour = hexToColour(value);
        else if (k.key.startsWith(u"cl"))
            a.background = hexToColour(value);
        else
            a.font.face = value;
        // The other members of a group take the first one's colour and font.
        if (k.key == u"FontMenu" || k.key == u"FontMenuconteudo") {
            const QList<SampleArea> members = group(k.area);
            for (SampleArea m : members.mid(1)) {
                samples[m].background = a.background;
                samples[m].font = a.font;
            }
        }
    }
    title += u" - Quorvel ("_s % programVersion % u')';
    for (int r = 0; r < AreaCount; ++r)
        samples[r].text = kAreas[r].textAfter.toString();
}

void OptionsState::save(IniFile& ini) const
{
    IniFile::Batch batch(ini);
    documentation.write(ini);
    ini.writeString(u"HTML", u"Aplicacao", Application);
    ini.writeString(u"HTML", u"Versao", Version);
    ini.writeString(u"HTML", u"Pasta", Folder);
    for (const HtmlFormatEntry& k : kHtmlFormatEntries) {
        const Sample& a = samples[k.area];
        QString value;
        if (k.key.startsWith(u"clFont"))
            value = colourToHex(a.font.colour);
        else if (k.key.startsWith(u"cl"))
            value = colourToHex(a.background);
        else
            value = a.font.face;
        ini.writeString(u"FormatoHTML", k.key, value);
    }
    batch.commit();
}

void OptionsState::labelClicked(SampleArea area, bool leftButton, IUserPrompts& prompts)
{
    if (leftButton) {
        const std::optional<ScreenColour> colour = prompts.chooseColor(samples[area].background);
        if (!colour)
            return;
        for (SampleArea r : group(area))
            samples[r].background = *colour;
    } else {
        const std::optional<SampleFont> chosen = prompts.chooseFont(samples[area].font);
        if (!chosen)
            return;
        for (SampleArea r : group(area))
            samples[r].font = *chosen;
    }
}
