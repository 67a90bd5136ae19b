#include "gui/OptionsWindow.h"

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

using R = OptionsState::SampleArea;

// Left, top, width, height within the tab page.
constexpr QRect kGeometry[OptionsState::AreaCount] = {
    {3, 3, 336, 37},   {3, 46, 102, 136}, {111, 46, 228, 37}, {111, 89, 228, 93},  {14, 12, 313, 19},
    {14, 64, 81, 19},  {14, 87, 81, 19},  {14, 107, 81, 19},  {14, 127, 81, 19},   {14, 147, 81, 19},
    {125, 55, 60, 19}, {187, 55, 60, 19}, {249, 55, 60, 19},  {125, 105, 202, 19}, {125, 130, 202, 41},
};

} // namespace

void SampleLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        Q_EMIT mouseUp(event->button());
    QLabel::mouseReleaseEvent(event);
}

OptionsWindow::OptionsWindow(IUserPrompts& prompts, QString settingsFile, const QString& programVersion,
                             QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_settingsFile(std::move(settingsFile))
{
    setObjectName(u"frmOpcoesQuorvel"_s);
    setFont(tahoma(11));
    setFixedSize(356, 269);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_tabs = new QTabWidget(this);
    m_tabs->setGeometry(3, 3, 350, 213);
    m_tabs->addTab(makeDocumentationTab(), u"Documentação"_s);
    m_tabs->addTab(makeHtmlTab(), u"Opções HTML"_s);
    m_tabs->addTab(makeFormatTab(), u"Formato HTML"_s);
    // The folder comes first in the keyboard order. Set once the page is in
    // the window: an order set while the page had no window is lost.
    setTabOrder(m_folderEdit, m_applicationEdit);
    setTabOrder(m_applicationEdit, m_versionEdit);
    m_tabs->setCurrentIndex(0);

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

    FormCreate(programVersion);
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::setLocation(const SettingsLocation* local)
{
    m_local = local;
    Q_EMIT m_folderEdit->textChanged(m_folderEdit->text());
}

QWidget* OptionsWindow::makeDocumentationTab()
{
    auto* page = new QWidget;
    page->setObjectName(u"tabDocumentacao"_s);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(12, 10, 12, 10);
    auto* heading = new QLabel(u"Incluir na Documentação"_s, page);
    heading->setObjectName(u"Label1"_s);
    heading->setFont(tahoma(16, true));
    layout->addWidget(heading);
    m_orphansBox = new QCheckBox(u"Incluir Comentários Órfãos : <//* >"_s, page);
    m_generalHelpBox = new QCheckBox(u"Incluir \"Ajuda Geral\" : <//? >"_s, page);
    m_mySqlBox = new QCheckBox(u"Incluir tabelas MySQL : <//# >"_s, page);
    m_routinesBox = new QCheckBox(u"Incluir Procedures e Funções  : <//@ >"_s, page);
    m_orphansBox->setObjectName(u"cbCOrfao"_s);
    m_generalHelpBox->setObjectName(u"cbHelp"_s);
    m_mySqlBox->setObjectName(u"cbMySQL"_s);
    m_routinesBox->setObjectName(u"cbProcFunc"_s);
    for (QCheckBox* box : {m_orphansBox, m_generalHelpBox, m_mySqlBox, m_routinesBox})
        layout->addWidget(box);
    layout->addSpacing(6);
    auto* area = new QLabel(u"Codificação das fontes"_s, page);
    m_encodingBox = new QComboBox(page);
    m_encodingBox->setObjectName(u"cbCodificacao"_s);
    // In the order of the enumeration, each with the value it stands for.
    m_encodingBox->addItem(u"Automática (UTF-8 ou Windows-1252)"_s, static_cast<int>(Encoding::Auto));
    m_encodingBox->addItem(u"Windows-1252"_s, static_cast<int>(Encoding::Windows1252));
    m_encodingBox->addItem(u"UTF-8"_s, static_cast<int>(Encoding::Utf8));
    area->setBuddy(m_encodingBox);
    layout->addWidget(area);
    layout->addWidget(m_encodingBox);
    layout->addStretch();
    return page;
}

QWidget* OptionsWindow::makeHtmlTab()
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
    m_applicationEdit = addEdit(u"ledtAplicacao"_s, u"Nome da Aplicação"_s);
    m_versionEdit = addEdit(u"ledtVersao"_s, u"Versão da Aplicação"_s);
    m_folderEdit = addEdit(u"ledtPasta"_s, u"Pasta p/ criação do Help"_s);
    m_realFolderLabel = new QLabel(page);
    m_realFolderLabel->setObjectName(u"lblPastaReal"_s);
    m_realFolderLabel->setWordWrap(true);
    m_realFolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_realFolderLabel);
    connect(m_folderEdit, &QLineEdit::textChanged, this, [this](const QString& folder) {
        m_realFolderLabel->setText(m_local ? u"O help será criado em %1"_s.arg(m_local->siteFolder(folder))
                                           : QString());
    });
    auto* styleLabel = new QLabel(u"Estilo do site"_s, page);
    m_siteStyleBox = new QComboBox(page);
    m_siteStyleBox->setObjectName(u"cbEstiloSite"_s);
    m_siteStyleBox->addItem(u"Clássico (quadros)"_s, static_cast<int>(SiteStyle::Classic));
    m_siteStyleBox->addItem(u"Moderno (HTML5, busca, modo escuro)"_s, static_cast<int>(SiteStyle::Modern));
    styleLabel->setBuddy(m_siteStyleBox);
    layout->addWidget(styleLabel);
    layout->addWidget(m_siteStyleBox);
    // A small picture of the chosen style's page.
    m_siteStylePreview = new QLabel(page);
    m_siteStylePreview->setObjectName(u"lblEstiloSite"_s);
    layout->addWidget(m_siteStylePreview);
    connect(m_siteStyleBox, &QComboBox::currentIndexChanged, this, [this] { showSiteStylePreview(); });
    layout->addStretch();
    return page;
}

void OptionsWindow::showSiteStylePreview()
{
    // One line, as the tab's height leaves room for: what the chosen style's
    // pages look like.
    const bool modern = m_siteStyleBox->currentData().toInt() == static_cast<int>(SiteStyle::Modern);
    m_siteStylePreview->setText(modern ? u"Páginas em uma coluna, com busca; modo escuro e celular."_s
                                       : u"Quadros: cabeçalho, menu de units e conteúdo."_s);
    m_siteStylePreview->setAccessibleDescription(modern ? u"Estilo moderno"_s : u"Estilo clássico"_s);
}

QWidget* OptionsWindow::makeFormatTab()
{
    auto* page = new QWidget;
    page->setObjectName(u"tabFormatoHTML"_s);
    // The background areas first, so the samples lie on top of them.
    for (int r = 0; r < OptionsState::AreaCount; ++r) {
        const auto area = R(r);
        auto* label = new SampleLabel(page);
        label->setObjectName(OptionsState::name(area));
        label->setGeometry(kGeometry[r]);
        label->setAutoFillBackground(true);
        // Every label holds its hint; only two show it.
        label->setProperty("hint", OptionsState::hint(area));
        if (OptionsState::showsHint(area))
            label->setToolTip(OptionsState::hint(area));
        if (area == R::clConteudo) {
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else if (area == R::clConteudoTitulo) {
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        } else {
            label->setAlignment(Qt::AlignCenter);
        }
        connect(label, &SampleLabel::mouseUp, this,
                [this, area](Qt::MouseButton button) { labelClicked(area, button); });
        m_areaLabels[r] = label;
    }
    return page;
}

void OptionsWindow::FormCreate(const QString& programVersion)
{
    try {
        m_options.load(IniFile(m_settingsFile), programVersion);
    } catch (const QuorvelError& e) {
        // The window opens all the same, with what was loaded before the error.
        m_prompts.showError(e.message());
    }
    showOptionsState();
}

void OptionsWindow::showOptionsState()
{
    setWindowTitle(m_options.title);
    m_orphansBox->setChecked(m_options.documentation.Orphans);
    m_generalHelpBox->setChecked(m_options.documentation.GeneralHelp);
    m_mySqlBox->setChecked(m_options.documentation.MySQL);
    m_routinesBox->setChecked(m_options.documentation.ProcFunc);
    m_encodingBox->setCurrentIndex(
        m_encodingBox->findData(static_cast<int>(m_options.documentation.encoding)));
    m_applicationEdit->setText(m_options.Application);
    m_versionEdit->setText(m_options.Version);
    m_folderEdit->setText(m_options.Folder);
    m_siteStyleBox->setCurrentIndex(
        m_siteStyleBox->findData(static_cast<int>(m_options.documentation.siteStyle)));
    showSiteStylePreview();
    for (int r = 0; r < OptionsState::AreaCount; ++r)
        showArea(R(r));
}

void OptionsWindow::showArea(OptionsState::SampleArea area)
{
    const OptionsState::Sample& sample = m_options.samples[area];
    SampleLabel* label = m_areaLabels[area];
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, toQColor(sample.background));
    palette.setColor(QPalette::WindowText, toQColor(sample.font.colour));
    label->setPalette(palette);
    QFont font(sample.font.face);
    font.setPointSize(sample.font.points);
    font.setBold(sample.font.bold);
    font.setItalic(sample.font.italic);
    font.setUnderline(sample.font.underline);
    font.setStrikeOut(sample.font.strikeOut);
    label->setFont(font);
    label->setText(sample.text);
}

void OptionsWindow::labelClicked(OptionsState::SampleArea area, Qt::MouseButton button)
{
    m_options.labelClicked(area, button == Qt::LeftButton, m_prompts);
    for (OptionsState::SampleArea r : OptionsState::group(area))
        showArea(r);
}

void OptionsWindow::Button1Click(QPushButton* sender)
{
    if (sender != m_Button1) {
        reject();
        return;
    }
    m_options.documentation.Orphans = m_orphansBox->isChecked();
    m_options.documentation.GeneralHelp = m_generalHelpBox->isChecked();
    m_options.documentation.MySQL = m_mySqlBox->isChecked();
    m_options.documentation.ProcFunc = m_routinesBox->isChecked();
    m_options.documentation.encoding = static_cast<Encoding>(m_encodingBox->currentData().toInt());
    m_options.documentation.siteStyle = static_cast<SiteStyle>(m_siteStyleBox->currentData().toInt());
    m_options.Application = m_applicationEdit->text();
    m_options.Version = m_versionEdit->text();
    m_options.Folder = m_folderEdit->text();
    try {
        IniFile ini(m_settingsFile);
        m_options.save(ini);
    } catch (const QuorvelError& e) {
        // The file stays as it was; the window closes all the same.
        m_prompts.showError(e.message());
    }
    accept();
}
