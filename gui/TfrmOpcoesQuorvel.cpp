#include "gui/TfrmOpcoesQuorvel.h"

#include "settings/SettingsLocation.h"

#include "common/Fonts.h"
#include "common/QuorvelError.h"
#include "common/UserPrompts.h"
#include "settings/IniFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

using R = OpcoesQuorvel::Rotulo;

// Left, top, width, height within the tab page.
constexpr QRect kGeometria[OpcoesQuorvel::RotuloCount] = {
    {3, 3, 336, 37},   {3, 46, 102, 136}, {111, 46, 228, 37}, {111, 89, 228, 93},  {14, 12, 313, 19},
    {14, 64, 81, 19},  {14, 87, 81, 19},  {14, 107, 81, 19},  {14, 127, 81, 19},   {14, 147, 81, 19},
    {125, 55, 60, 19}, {187, 55, 60, 19}, {249, 55, 60, 19},  {125, 105, 202, 19}, {125, 130, 202, 41},
};

} // namespace

void RotuloAmostra::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        Q_EMIT mouseUp(event->button());
    QLabel::mouseReleaseEvent(event);
}

TfrmOpcoesQuorvel::TfrmOpcoesQuorvel(IUserPrompts& prompts, QString arquivoConfiguracao,
                                     const QString& versaoPrograma, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_arquivoConfiguracao(std::move(arquivoConfiguracao))
{
    setObjectName(u"frmOpcoesQuorvel"_s);
    setFont(tahoma(11));
    setFixedSize(356, 269);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_abas = new QTabWidget(this);
    m_abas->setGeometry(3, 3, 350, 213);
    m_abas->addTab(criaAbaDocumentacao(), u"Documentação"_s);
    m_abas->addTab(criaAbaHTML(), u"Opções HTML"_s);
    m_abas->addTab(criaAbaFormato(), u"Formato HTML"_s);
    // The folder comes first in the keyboard order. Set once the page is in
    // the window: an order set while the page had no window is lost.
    setTabOrder(m_ledtPasta, m_ledtAplicacao);
    setTabOrder(m_ledtAplicacao, m_ledtVersao);
    m_abas->setCurrentIndex(0);

    m_Button1 = new QPushButton(u"Salvar e sair"_s, this);
    m_Button1->setObjectName(u"Button1"_s);
    m_Button2 = new QPushButton(u"Cancela Alterações"_s, this);
    m_Button2->setObjectName(u"Button2"_s);
    for (QPushButton* button : {m_Button1, m_Button2}) {
        button->setFont(tahoma(13, true));
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, [this, button] { Button1Click(button); });
    }
    m_Button1->setGeometry(3, 219, 173, 46);
    m_Button2->setGeometry(180, 219, 173, 46);

    FormCreate(versaoPrograma);
}

TfrmOpcoesQuorvel::~TfrmOpcoesQuorvel() = default;

void TfrmOpcoesQuorvel::setLocal(const SettingsLocation* local)
{
    m_local = local;
    Q_EMIT m_ledtPasta->textChanged(m_ledtPasta->text());
}

QWidget* TfrmOpcoesQuorvel::criaAbaDocumentacao()
{
    auto* page = new QWidget;
    page->setObjectName(u"tabDocumentacao"_s);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 10, 12, 10);
    auto* heading = new QLabel(u"Incluir na Documentação"_s, page);
    heading->setObjectName(u"Label1"_s);
    heading->setFont(tahoma(16, true));
    layout->addWidget(heading);
    m_cbCOrfao = new QCheckBox(u"Incluir Comentários Órfãos : <//* >"_s, page);
    m_cbHelp = new QCheckBox(u"Incluir \"Ajuda Geral\" : <//? >"_s, page);
    m_cbMySQL = new QCheckBox(u"Incluir tabelas MySQL : <//# >"_s, page);
    m_cbProcFunc = new QCheckBox(u"Incluir Procedures e Funções  : <//@ >"_s, page);
    m_cbCOrfao->setObjectName(u"cbCOrfao"_s);
    m_cbHelp->setObjectName(u"cbHelp"_s);
    m_cbMySQL->setObjectName(u"cbMySQL"_s);
    m_cbProcFunc->setObjectName(u"cbProcFunc"_s);
    for (QCheckBox* box : {m_cbCOrfao, m_cbHelp, m_cbMySQL, m_cbProcFunc})
        layout->addWidget(box);
    layout->addSpacing(6);
    auto* rotulo = new QLabel(u"Codificação das fontes"_s, page);
    m_cbCodificacao = new QComboBox(page);
    m_cbCodificacao->setObjectName(u"cbCodificacao"_s);
    // In the order of the enumeration, each with the value it stands for.
    m_cbCodificacao->addItem(u"Automática (UTF-8 ou Windows-1252)"_s, static_cast<int>(Codificacao::Auto));
    m_cbCodificacao->addItem(u"Windows-1252"_s, static_cast<int>(Codificacao::Windows1252));
    m_cbCodificacao->addItem(u"UTF-8"_s, static_cast<int>(Codificacao::Utf8));
    rotulo->setBuddy(m_cbCodificacao);
    layout->addWidget(rotulo);
    layout->addWidget(m_cbCodificacao);
    layout->addStretch();
    return page;
}

QWidget* TfrmOpcoesQuorvel::criaAbaHTML()
{
    auto* page = new QWidget;
    page->setObjectName(u"tabHTML"_s);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(2);
    auto addEdit = [&](const QString& name, const QString& caption) {
        auto* label = new QLabel(caption, page);
        auto* edit = new QLineEdit(page);
        edit->setObjectName(name);
        label->setBuddy(edit);
        layout->addWidget(label);
        layout->addWidget(edit);
        layout->addSpacing(6);
        return edit;
    };
    m_ledtAplicacao = addEdit(u"ledtAplicacao"_s, u"Nome da Aplicação"_s);
    m_ledtVersao = addEdit(u"ledtVersao"_s, u"Versão da Aplicação"_s);
    m_ledtPasta = addEdit(u"ledtPasta"_s, u"Pasta p/ criação do Help"_s);
    m_lblPastaReal = new QLabel(page);
    m_lblPastaReal->setObjectName(u"lblPastaReal"_s);
    m_lblPastaReal->setWordWrap(true);
    m_lblPastaReal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_lblPastaReal);
    connect(m_ledtPasta, &QLineEdit::textChanged, this, [this](const QString& pasta) {
        m_lblPastaReal->setText(m_local ? u"O help será criado em %1"_s.arg(m_local->pastaDoHelp(pasta))
                                        : QString());
    });
    layout->addStretch();
    return page;
}

QWidget* TfrmOpcoesQuorvel::criaAbaFormato()
{
    auto* page = new QWidget;
    page->setObjectName(u"tabFormatoHTML"_s);
    // The background areas first, so the samples lie on top of them.
    for (int r = 0; r < OpcoesQuorvel::RotuloCount; ++r) {
        const auto rotulo = R(r);
        auto* label = new RotuloAmostra(page);
        label->setObjectName(OpcoesQuorvel::nome(rotulo));
        label->setGeometry(kGeometria[r]);
        label->setAutoFillBackground(true);
        // Every label holds its hint; only two show it.
        label->setProperty("hint", OpcoesQuorvel::dica(rotulo));
        if (OpcoesQuorvel::mostraDica(rotulo))
            label->setToolTip(OpcoesQuorvel::dica(rotulo));
        if (rotulo == R::clConteudo) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else if (rotulo == R::clConteudoTitulo) {
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        } else {
            label->setAlignment(Qt::AlignCenter);
        }
        connect(label, &RotuloAmostra::mouseUp, this,
                [this, rotulo](Qt::MouseButton button) { clCabMouseUp(rotulo, button); });
        m_rotulos[r] = label;
    }
    return page;
}

void TfrmOpcoesQuorvel::FormCreate(const QString& versaoPrograma)
{
    try {
        m_opcoes.carrega(IniFile(m_arquivoConfiguracao), versaoPrograma);
    } catch (const QuorvelError& e) {
        // The window opens all the same, with what was loaded before the error.
        m_prompts.showError(e.message());
    }
    mostraOpcoes();
}

void TfrmOpcoesQuorvel::mostraOpcoes()
{
    setWindowTitle(m_opcoes.titulo);
    m_cbCOrfao->setChecked(m_opcoes.documentacao.COrfaos);
    m_cbHelp->setChecked(m_opcoes.documentacao.AjudaGeral);
    m_cbMySQL->setChecked(m_opcoes.documentacao.MySQL);
    m_cbProcFunc->setChecked(m_opcoes.documentacao.ProcFunc);
    m_cbCodificacao->setCurrentIndex(
        m_cbCodificacao->findData(static_cast<int>(m_opcoes.documentacao.codificacao)));
    m_ledtAplicacao->setText(m_opcoes.Aplicacao);
    m_ledtVersao->setText(m_opcoes.Versao);
    m_ledtPasta->setText(m_opcoes.Pasta);
    for (int r = 0; r < OpcoesQuorvel::RotuloCount; ++r)
        mostraRotulo(R(r));
}

void TfrmOpcoesQuorvel::mostraRotulo(OpcoesQuorvel::Rotulo rotulo)
{
    const OpcoesQuorvel::Amostra& amostra = m_opcoes.amostras[rotulo];
    RotuloAmostra* label = m_rotulos[rotulo];
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, toQColor(amostra.fundo));
    palette.setColor(QPalette::WindowText, toQColor(amostra.fonte.cor));
    label->setPalette(palette);
    QFont font(amostra.fonte.face);
    font.setPointSize(amostra.fonte.pontos);
    font.setBold(amostra.fonte.negrito);
    font.setItalic(amostra.fonte.italico);
    font.setUnderline(amostra.fonte.sublinhado);
    font.setStrikeOut(amostra.fonte.riscado);
    label->setFont(font);
    label->setText(amostra.texto);
}

void TfrmOpcoesQuorvel::clCabMouseUp(OpcoesQuorvel::Rotulo rotulo, Qt::MouseButton button)
{
    m_opcoes.clCabMouseUp(rotulo, button == Qt::LeftButton, m_prompts);
    for (OpcoesQuorvel::Rotulo r : OpcoesQuorvel::grupo(rotulo))
        mostraRotulo(r);
}

void TfrmOpcoesQuorvel::Button1Click(QPushButton* sender)
{
    if (sender != m_Button1) {
        reject();
        return;
    }
    m_opcoes.documentacao.COrfaos = m_cbCOrfao->isChecked();
    m_opcoes.documentacao.AjudaGeral = m_cbHelp->isChecked();
    m_opcoes.documentacao.MySQL = m_cbMySQL->isChecked();
    m_opcoes.documentacao.ProcFunc = m_cbProcFunc->isChecked();
    m_opcoes.documentacao.codificacao = static_cast<Codificacao>(m_cbCodificacao->currentData().toInt());
    m_opcoes.Aplicacao = m_ledtAplicacao->text();
    m_opcoes.Versao = m_ledtVersao->text();
    m_opcoes.Pasta = m_ledtPasta->text();
    try {
        IniFile ini(m_arquivoConfiguracao);
        m_opcoes.salva(ini);
    } catch (const QuorvelError& e) {
        // The file stays as it was; the window closes all the same.
        m_prompts.showError(e.message());
    }
    accept();
}
