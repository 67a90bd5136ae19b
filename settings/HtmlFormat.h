#pragma once

#include <QString>

#include <array>

class IniFile;

// The 22 values of section FormatoHTML: the help site's colours and fonts.
enum class HtmlFormatKey
{
    clFundoCab,
    clFundoMenu,
    clFundoMenuconteudo,
    clFundoConteudo,
    clCab,
    clFontCab,
    FontCab,
    clMenuTitulo,
    clFontMenuTitulo,
    FontMenuTitulo,
    clMenu,
    clFontMenu,
    FontMenu,
    clMenuconteudo,
    clFontMenuconteudo,
    FontMenuconteudo,
    clConteudoTitulo,
    clFontConteudoTitulo,
    FontConteudoTitulo,
    clConteudo,
    clFontConteudo,
    FontConteudo,
    Count
};

// The site's colours and fonts as read from the settings, inserted into the
// pages exactly as read.
class HtmlFormat
{
public:
    // The defaults of every key.
    HtmlFormat();
    static HtmlFormat read(const IniFile& ini);

    const QString& operator[](HtmlFormatKey key) const { return m_values[static_cast<std::size_t>(key)]; }
    void set(HtmlFormatKey key, QString value) { m_values[static_cast<std::size_t>(key)] = std::move(value); }

private:
    std::array<QString, static_cast<std::size_t>(HtmlFormatKey::Count)> m_values;
};
