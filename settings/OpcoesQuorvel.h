#pragma once

#include "common/UserPrompts.h"
#include "settings/Colours.h"
#include "settings/FormatoHTML.h"
#include "settings/SettingsFiles.h"

#include <QString>

#include <array>

class IniFile;

// What the options window edits: the four inclusion switches, the identity
// and folder of the HTML help, and the fifteen sample labels whose background
// colours and fonts stand for the HTML help's colours and fonts.
class OpcoesQuorvel
{
public:
    enum Rotulo
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
        RotuloCount
    };

    struct Amostra
    {
        CorTela fundo = 0;
        FonteAmostra fonte;
        QString texto;
    };

    // The built-in state, before anything is loaded.
    OpcoesQuorvel();

    // Loads the three sections. A colour text that cannot be converted throws
    // its conversion error; the steps after it are then not run.
    void carrega(const IniFile& ini, const QString& versaoPrograma);
    // Writes the three sections in their order. Throws "Unable to write to"
    // when the file cannot be written; keys written before stay.
    void salva(IniFile& ini) const;

    // A mouse-up on a label: the left button chooses its background colour,
    // any other its font; a group follows its member.
    void clCabMouseUp(Rotulo rotulo, bool botaoEsquerdo, IUserPrompts& prompts);

    static QString nome(Rotulo rotulo);
    static QString dica(Rotulo rotulo);
    // Only two labels show their hint.
    static bool mostraDica(Rotulo rotulo) { return rotulo == clFundoCab || rotulo == clCab; }
    static bool ehFundo(Rotulo rotulo) { return rotulo <= clFundoConteudo; }
    // The labels that share a colour and a font with `rotulo`, itself included.
    static QList<Rotulo> grupo(Rotulo rotulo);

    QString titulo;
    OpcoesDocumentacao documentacao;
    QString Aplicacao;
    QString Versao;
    QString Pasta;
    std::array<Amostra, RotuloCount> amostras;
};

// The keys of section FormatoHTML in the order they are written, with their
// defaults and the label each belongs to. The HTML generator reads them too.
struct ChaveFormatoHTML
{
    Formato formato;
    QStringView chave;
    QStringView padrao;
    OpcoesQuorvel::Rotulo rotulo;
};
extern const std::array<ChaveFormatoHTML, 22> kChavesFormatoHTML;
