#include "settings/OpcoesQuorvel.h"

#include "settings/IniFile.h"

using namespace Qt::Literals::StringLiterals;

namespace {

using R = OpcoesQuorvel::Rotulo;

// Colours of the built-in state.
constexpr CorTela kLegendaInativa = corRgb(191, 205, 219); // the inactive title bar
constexpr CorTela kAzulCeu = corRgb(166, 202, 240);
constexpr CorTela kAzul = corRgb(0, 0, 255);
constexpr CorTela kRoxo = corRgb(128, 0, 128);
constexpr CorTela kTextoJanela = corRgb(0, 0, 0);

struct RotuloInfo
{
    QStringView nome;
    QStringView dica;
    QStringView textoAntes;  // sample text before loading
    QStringView textoDepois; // sample text once loaded
};

constexpr RotuloInfo kRotulos[OpcoesQuorvel::RotuloCount] = {
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

FonteAmostra fonte(const char16_t* face, int pontos, CorTela cor, bool negrito = false,
                   bool sublinhado = false)
{
    FonteAmostra f;
    f.face = QString::fromUtf16(face);
    f.pontos = pontos;
    f.cor = cor;
    f.negrito = negrito;
    f.sublinhado = sublinhado;
    return f;
}

} // namespace

const std::array<ChaveFormatoHTML, 22> kChavesFormatoHTML = {{
    {Formato::clFundoCab, u"clFundoCab", u"ffffff", R::clFundoCab},
    {Formato::clFundoMenu, u"clFundoMenu", u"ffffff", R::clFundoMenu},
    {Formato::clFundoMenuconteudo, u"clFundoMenuconteudo", u"ffffff", R::clFundoMenuconteudo},
    {Formato::clFundoConteudo, u"clFundoConteudo", u"ffffff", R::clFundoConteudo},
    {Formato::clCab, u"clCab", u"77aadd", R::clCab},
    {Formato::clFontCab, u"clFontCab", u"0000ff", R::clCab},
    {Formato::FontCab, u"FontCab", u"Arial", R::clCab},
    {Formato::clMenuTitulo, u"clMenuTitulo", u"77aadd", R::clMenuTitulo},
    {Formato::clFontMenuTitulo, u"clFontMenuTitulo", u"0000ff", R::clMenuTitulo},
    {Formato::FontMenuTitulo, u"FontMenuTitulo", u"Arial", R::clMenuTitulo},
    {Formato::clMenu, u"clMenu", u"eeeeee", R::clMenu1},
    {Formato::clFontMenu, u"clFontMenu", u"0000ff", R::clMenu1},
    {Formato::FontMenu, u"FontMenu", u"Arial", R::clMenu1},
    {Formato::clMenuconteudo, u"clMenuconteudo", u"eeeeee", R::clMenuconteudo1},
    {Formato::clFontMenuconteudo, u"clFontMenuconteudo", u"0000ff", R::clMenuconteudo1},
    {Formato::FontMenuconteudo, u"FontMenuconteudo", u"Arial", R::clMenuconteudo1},
    {Formato::clConteudoTitulo, u"clConteudoTitulo", u"eeeeee", R::clConteudoTitulo},
    {Formato::clFontConteudoTitulo, u"clFontConteudoTitulo", u"000000", R::clConteudoTitulo},
    {Formato::FontConteudoTitulo, u"FontConteudoTitulo", u"Courier", R::clConteudoTitulo},
    {Formato::clConteudo, u"clConteudo", u"eeeeee", R::clConteudo},
    {Formato::clFontConteudo, u"clFontConteudo", u"000000", R::clConteudo},
    {Formato::FontConteudo, u"FontConteudo", u"Courier", R::clConteudo},
}};

OpcoesQuorvel::OpcoesQuorvel() : titulo(u"Opções"_s), Pasta(u"HELP"_s)
{
    for (int r = 0; r < RotuloCount; ++r) {
        Amostra& a = amostras[r];
        a.texto = kRotulos[r].textoAntes.toString();
        a.fundo = ehFundo(Rotulo(r)) ? kLegendaInativa : kAzulCeu;
        a.fonte = fonte(u"Tahoma", 8, kTextoJanela); // the window's own font
    }
    amostras[clCab].fonte = fonte(u"Arial", 12, kAzul, true);
    amostras[clMenuTitulo].fonte = fonte(u"Arial", 10, kAzul, true);
    for (Rotulo r : {clMenu1, clMenu2, clMenu3, clMenu4, clMenuconteudo1, clMenuconteudo2, clMenuconteudo3})
        amostras[r].fonte = fonte(u"Arial", 10, kRoxo, false, true);
    amostras[clConteudoTitulo].fonte = fonte(u"Courier", 10, kTextoJanela, true);
    amostras[clConteudo].fonte = fonte(u"Courier", 10, kTextoJanela);
}

QString OpcoesQuorvel::nome(Rotulo rotulo)
{
    return kRotulos[rotulo].nome.toString();
}

QString OpcoesQuorvel::dica(Rotulo rotulo)
{
    return kRotulos[rotulo].dica.toString();
}

QList<OpcoesQuorvel::Rotulo> OpcoesQuorvel::grupo(Rotulo rotulo)
{
    if (rotulo >= clMenu1 && rotulo <= clMenu4)
        return {clMenu1, clMenu2, clMenu3, clMenu4};
    if (rotulo >= clMenuconteudo1 && rotulo <= clMenuconteudo3)
        return {clMenuconteudo1, clMenuconteudo2, clMenuconteudo3};
    return {rotulo};
}

void OpcoesQuorvel::carrega(const IniFile& ini, const QString& versaoPrograma)
{
    documentacao = OpcoesDocumentacao::read(ini);
    Aplicacao = ini.readString(u"HTML", u"Aplicacao", QString());
    Versao = ini.readString(u"HTML", u"Versao", QString());
    Pasta = ini.readString(u"HTML", u"Pasta", u"HELP"_s);

    for (const ChaveFormatoHTML& k : kChavesFormatoHTML) {
        const QString valor = ini.readString(u"FormatoHTML", k.chave, k.padrao.toString());
        Amostra& a = amostras[k.rotulo];
        if (k.chave.startsWith(u"clFont"))
            a.fonte.cor = HexParaCor(valor);
        else if (k.chave.startsWith(u"cl"))
            a.fundo = HexParaCor(valor);
        else
            a.fonte.face = valor;
        // The other members of a group take the first one's colour and font.
        if (k.chave == u"FontMenu" || k.chave == u"FontMenuconteudo") {
            const QList<Rotulo> membros = grupo(k.rotulo);
            for (Rotulo m : membros.mid(1)) {
                amostras[m].fundo = a.fundo;
                amostras[m].fonte = a.fonte;
            }
        }
    }
    titulo += u" - Quorvel ("_s % versaoPrograma % u')';
    for (int r = 0; r < RotuloCount; ++r)
        amostras[r].texto = kRotulos[r].textoDepois.toString();
}

void OpcoesQuorvel::salva(IniFile& ini) const
{
    IniFile::Batch batch(ini);
    documentacao.write(ini);
    ini.writeString(u"HTML", u"Aplicacao", Aplicacao);
    ini.writeString(u"HTML", u"Versao", Versao);
    ini.writeString(u"HTML", u"Pasta", Pasta);
    for (const ChaveFormatoHTML& k : kChavesFormatoHTML) {
        const Amostra& a = amostras[k.rotulo];
        QString valor;
        if (k.chave.startsWith(u"clFont"))
            valor = CorParaHex(a.fonte.cor);
        else if (k.chave.startsWith(u"cl"))
            valor = CorParaHex(a.fundo);
        else
            valor = a.fonte.face;
        ini.writeString(u"FormatoHTML", k.chave, valor);
    }
    batch.commit();
}

void OpcoesQuorvel::clCabMouseUp(Rotulo rotulo, bool botaoEsquerdo, IUserPrompts& prompts)
{
    if (botaoEsquerdo) {
        const std::optional<CorTela> cor = prompts.chooseColor(amostras[rotulo].fundo);
        if (!cor)
            return;
        for (Rotulo r : grupo(rotulo))
            amostras[r].fundo = *cor;
    } else {
        const std::optional<FonteAmostra> escolhida = prompts.chooseFont(amostras[rotulo].fonte);
        if (!escolhida)
            return;
        for (Rotulo r : grupo(rotulo))
            amostras[r].fonte = *escolhida;
    }
}
