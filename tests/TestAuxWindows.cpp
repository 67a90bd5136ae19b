#include "common/Fonts.h"
#include "gui/HelpWindow.h"
#include "gui/MainWindow.h"
#include "gui/OptionsWindow.h"
#include "settings/IniFile.h"
#include "settings/SettingsLocation.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using R = OptionsState::SampleArea;

QString colorOf(QWidget* w, QPalette::ColorRole role)
{
    return w->palette().color(role).name();
}

class OptionsWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installWindowFonts(); }

    QByteArray fileBytes() const
    {
        QFile file(settings);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScriptedPrompts prompts;
    TestFolder folder;
    QString settings = folder.path(u"Quorvel.ini"_s);
};

} // namespace

TEST_F(OptionsWindowTest, OpensWithTheDefaultsWithoutAFile)
{
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    EXPECT_EQ(window.windowTitle(), u"Opções - Quorvel (v1.1)"_s);
    EXPECT_EQ(window.size(), QSize(356, 269));
    EXPECT_EQ(window.tabs()->count(), 3);
    EXPECT_EQ(window.tabs()->tabText(0), u"Documentação"_s);
    EXPECT_EQ(window.tabs()->currentIndex(), 0);
    EXPECT_FALSE(window.orphansBox()->isChecked());
    EXPECT_EQ(window.orphansBox()->text(), u"Incluir Comentários Órfãos : <//* >"_s);
    EXPECT_EQ(window.generalHelpBox()->text(), u"Incluir \"Ajuda Geral\" : <//? >"_s);
    EXPECT_EQ(window.routinesBox()->text(), u"Incluir Procedures e Funções  : <//@ >"_s);
    EXPECT_TRUE(window.generalHelpBox()->isChecked() && window.mySqlBox()->isChecked() &&
                window.routinesBox()->isChecked());
    EXPECT_EQ(window.applicationEdit()->text(), u""_s);
    EXPECT_EQ(window.folderEdit()->text(), u"HELP"_s);
    EXPECT_EQ(colorOf(window.area(R::clFundoCab), QPalette::Window), u"#ffffff"_s);
    EXPECT_EQ(colorOf(window.area(R::clCab), QPalette::Window), u"#77aadd"_s);
    EXPECT_EQ(colorOf(window.area(R::clCab), QPalette::WindowText), u"#0000ff"_s);
    EXPECT_EQ(window.area(R::clCab)->font().family(), u"Arial"_s);
    EXPECT_EQ(colorOf(window.area(R::clMenu2), QPalette::Window), u"#eeeeee"_s);
    EXPECT_EQ(colorOf(window.area(R::clConteudo), QPalette::WindowText), u"#000000"_s);
    EXPECT_EQ(window.area(R::clConteudo)->text(), u"Esta Procedure é responsável por ..."_s);
    EXPECT_EQ(window.area(R::clFundoCab)->toolTip(), u"Fundo do Cabeçalho"_s);
    EXPECT_TRUE(window.area(R::clMenu1)->toolTip().isEmpty());
    EXPECT_EQ(window.area(R::clMenu1)->property("hint").toString(),
              u"Item Menu (Botão esq: FUNDO; Botão dir: FONTE)"_s);
    EXPECT_EQ(window.area(R::clMenuconteudo2)->geometry(), QRect(187, 55, 60, 19));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

TEST_F(OptionsWindowTest, SavingRightAwayWritesEveryKey)
{
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    QTest::mouseClick(window.Button1(), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    const IniFile ini(settings);
    EXPECT_EQ(ini.readString(u"FormatoHTML", u"clCab", {}), u"77AADD"_s);
    EXPECT_EQ(ini.readString(u"FormatoHTML", u"FontConteudoTitulo", {}), u"Courier"_s);
    EXPECT_EQ(ini.readString(u"HTML", u"Aplicacao", u"x"_s), u""_s);
    EXPECT_EQ(ini.readString(u"opcoes", u"COrfaos", {}), u"0"_s);
    EXPECT_EQ(ini.readString(u"opcoes", u"Codificacao", {}), u"auto"_s);
    EXPECT_EQ(ini.readString(u"opcoes", u"EstiloSite", {}), u"classico"_s);
    EXPECT_EQ(fileBytes().count('='), 31);
}

TEST_F(OptionsWindowTest, AGroupFollowsItsMember)
{
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    window.show();
    SampleFont font;
    font.face = u"Liberation Serif"_s;
    font.points = 11;
    font.colour = rgbColour(200, 0, 0);
    prompts.expectFont(font);
    QTest::mouseClick(window.area(R::clMenu3), Qt::RightButton);
    for (R r : {R::clMenu1, R::clMenu2, R::clMenu3, R::clMenu4}) {
        EXPECT_EQ(window.area(r)->font().family(), u"Liberation Serif"_s);
        EXPECT_EQ(colorOf(window.area(r), QPalette::WindowText), u"#c80000"_s);
    }
    prompts.expectColor(rgbColour(0x12, 0x34, 0x56));
    QTest::mouseClick(window.area(R::clMenuconteudo2), Qt::LeftButton);
    for (R r : {R::clMenuconteudo1, R::clMenuconteudo2, R::clMenuconteudo3})
        EXPECT_EQ(colorOf(window.area(r), QPalette::Window), u"#123456"_s);
    QTest::mouseClick(window.Button1(), Qt::LeftButton);
    const IniFile ini(settings);
    EXPECT_EQ(ini.readString(u"FormatoHTML", u"FontMenu", {}), u"Liberation Serif"_s);
    EXPECT_EQ(ini.readString(u"FormatoHTML", u"clFontMenu", {}), u"C80000"_s);
    EXPECT_EQ(ini.readString(u"FormatoHTML", u"clMenuconteudo", {}), u"123456"_s);
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(OptionsWindowTest, CancelWritesNothing)
{
    folder.write(u"Quorvel.ini"_s, "[HTML]\r\nPasta=AJUDA\r\n");
    const QByteArray before = fileBytes();
    {
        OptionsWindow window(prompts, settings, u"v1.1"_s);
        EXPECT_EQ(window.folderEdit()->text(), u"AJUDA"_s);
        window.folderEdit()->setText(u"OUTRA"_s);
        window.orphansBox()->setChecked(true);
        QTest::mouseClick(window.Button2(), Qt::LeftButton);
        EXPECT_EQ(window.result(), QDialog::Rejected);
    }
    EXPECT_EQ(fileBytes(), before);
    OptionsWindow again(prompts, settings, u"v1.1"_s);
    EXPECT_EQ(again.folderEdit()->text(), u"AJUDA"_s);
}

TEST_F(OptionsWindowTest, ABadColourIsReportedAndTheWindowStillOpens)
{
    folder.write(u"Quorvel.ini"_s, "[HTML]\r\nVersao=2\r\n[FormatoHTML]\r\nclFundoCab=#ffffff\r\n");
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    EXPECT_EQ(prompts.errors, QStringList{u"'$#f' is not a valid integer value"_s});
    EXPECT_EQ(window.windowTitle(), u"Opções"_s);
    EXPECT_EQ(window.versionEdit()->text(), u"2"_s);
    EXPECT_EQ(window.area(R::clCab)->text(), u"Programa v1.1"_s);
}

TEST(HelpWindow, CaptionGainsTheVersionAtTheFirstPaintOnly)
{
    for (int showing = 0; showing < 2; ++showing) {
        HelpWindow window(u"v1.1"_s);
        EXPECT_EQ(window.windowTitle(), u"Ajuda"_s);
        EXPECT_EQ(window.PageControl1()->currentIndex(), 0);
        EXPECT_EQ(window.PageControl1()->tabText(2), u"Sobre o Quorvel"_s);
        window.show();
        window.grab();
        EXPECT_EQ(window.windowTitle(), u"Ajuda - Quorvel (v1.1)"_s);
        window.grab();
        window.update();
        window.grab();
        EXPECT_EQ(window.windowTitle(), u"Ajuda - Quorvel (v1.1)"_s);
        EXPECT_TRUE(window.RichEdit2()->isReadOnly());
        EXPECT_TRUE(window.RichEdit2()->toPlainText().startsWith(u"** MENU PRINCIPAL **"_s));
        EXPECT_TRUE(window.RichEdit2()->toPlainText().contains(
            u"  NOVO : Reinicializa a tabela de identificadores e aciona o botão abrir."_s));
        EXPECT_TRUE(window.RichEdit1()->toPlainText().endsWith(
            u" *os textos do Help foram gerados com o Quorvel v1.1"_s));
    }
}

TEST(AuxWindows, TheMainWindowCreatesThemForEachUse)
{
    installWindowFonts();
    ScriptedPrompts prompts;
    TestFolder folder;
    MainWindow main(prompts);
    main.core().setSettingsFile(folder.path(u"Quorvel.ini"_s));
    QStringList seen;
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen.append(dialog->windowTitle());
            EXPECT_EQ(main.optionsWindow(), dialog);
            dialog->reject();
        });
        main.action(u"Opcoes"_s)->trigger();
        EXPECT_EQ(main.optionsWindow(), nullptr);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->grab();
            seen.append(dialog->windowTitle());
            EXPECT_EQ(main.helpWindow(), dialog);
            dialog->reject();
        });
        main.action(u"Ajuda"_s)->trigger();
        EXPECT_EQ(main.helpWindow(), nullptr);
    }
    EXPECT_EQ(seen, (QStringList{u"Opções - Quorvel (v1.1)"_s, u"Ajuda - Quorvel (v1.1)"_s,
                                 u"Opções - Quorvel (v1.1)"_s, u"Ajuda - Quorvel (v1.1)"_s}));
    EXPECT_FALSE(QFile::exists(folder.path(u"Quorvel.ini"_s)));
}

#include "gui/ConnectionDialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

TEST(ConnectionWindow, EditsTheRowsInPlace)
{
    const QList<ConnectionParameter> rows = {{u"DriverName"_s, u"DBX4MySQL"_s},
                                             {u"HostName"_s, u"servidor"_s},
                                             {u"Database"_s, u"camara"_s},
                                             {u"User_Name"_s, u"docsreader"_s},
                                             {u"Password"_s, u"docsreader"_s}};
    ConnectionDialog window(rows);
    EXPECT_EQ(window.windowTitle(), u"Conexão MySQL"_s);
    EXPECT_EQ(window.size(), QSize(314, 222));
    QTableWidget* grid = window.parameters();
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), u"Parâmetro"_s);
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), u"Valor"_s);
    EXPECT_EQ(grid->rowCount(), 5);
    EXPECT_EQ(window.rows(), rows);
    // The password shows as plain text, and keys and values can be edited.
    EXPECT_EQ(grid->item(4, 1)->text(), u"docsreader"_s);
    EXPECT_TRUE(grid->item(1, 0)->flags().testFlag(Qt::ItemIsEditable));
    grid->item(1, 1)->setText(u"outro:3307"_s);
    grid->item(4, 1)->setText(u"segredo"_s);
    window.show();
    // Enter and Escape press neither button.
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_TRUE(window.isVisible());
    // Tab leaves the grid: the buttons are reached without a mouse.
    QApplication::setActiveWindow(&window);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.Button1());
    // Tab leaves the grid: the buttons are reached without a mouse.
    QApplication::setActiveWindow(&window);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.Button1());
    QTest::mouseClick(window.Button1(), Qt::LeftButton);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.rows()[1].second, u"outro:3307"_s);
    EXPECT_EQ(window.rows()[4].second, u"segredo"_s);
    EXPECT_FALSE(window.Button1()->isDefault() || window.Button2()->isDefault());
}

namespace {

// How much darker than the background a widget draws: bold text draws more.
qint64 ink(QWidget& widget)
{
    const QImage image = widget.grab().toImage();
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += 255 - qGray(image.pixel(x, y));
    return sum;
}

} // namespace

TEST(ConnectionWindow, BoldTextsLookBold)
{
    installWindowFonts(); // as the program does
    ConnectionDialog window({{u"DriverName"_s, u"DBX4MySQL"_s}});
    window.show();
    auto* heading = window.findChild<QLabel*>(u"Label1"_s);
    ASSERT_NE(heading, nullptr);
    for (QWidget* widget : std::initializer_list<QWidget*>{heading, window.Button1()}) {
        ASSERT_TRUE(widget->font().bold());
        const qint64 bold = ink(*widget);
        QFont regular = widget->font();
        regular.setBold(false);
        widget->setFont(regular);
        const qint64 plain = ink(*widget);
        EXPECT_GT(bold, plain + plain / 8) << widget->objectName().toStdString();
    }
}

TEST_F(OptionsWindowTest, TheHtmlTabTakesTheFolderFirst)
{
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    window.show();
    window.tabs()->setCurrentIndex(1);
    QApplication::setActiveWindow(&window);
    auto* folderEdit = window.findChild<QLineEdit*>(u"ledtPasta"_s);
    ASSERT_NE(folderEdit, nullptr);
    folderEdit->setFocus();
    QStringList order;
    for (int i = 0; i < 3; ++i) {
        order.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order, (QStringList{u"ledtPasta"_s, u"ledtAplicacao"_s, u"ledtVersao"_s}));
}

TEST_F(OptionsWindowTest, TheHtmlTabShowsTheFolderReallyUsed)
{
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    SettingsLocation local;
    local.setProgramFolder(folder.path(QString()) % u'/');
    window.setLocation(&local);
    EXPECT_EQ(window.realFolderLabel()->text(), u"O help será criado em "_s % folder.path(u"HELP"_s));
    window.folderEdit()->setText(u"AJUDA"_s);
    EXPECT_EQ(window.realFolderLabel()->text(), u"O help será criado em "_s % folder.path(u"AJUDA"_s));
}

// The dialog opens with its first cell being edited; from that moment Tab,
// Shift+Tab and Ctrl+Tab leave the grid, keeping what was typed, as the
// keys arrive from the keyboard at whatever has the focus.
TEST(ConnectionWindow, TabLeavesTheGridFromTheMomentItOpens)
{
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* reaches;
    } cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, "Button1"},
        {Qt::Key_Backtab, Qt::ShiftModifier, "Button2"},
        {Qt::Key_Tab, Qt::ControlModifier, "Button1"},
    };
    for (const auto& c : cases) {
        ConnectionDialog window({{u"DriverName"_s, u"DBX4MySQL"_s}, {u"HostName"_s, u"servidor"_s}});
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QWidget* editing = QApplication::focusWidget();
        ASSERT_NE(editing, nullptr);
        ASSERT_TRUE(window.parameters()->isAncestorOf(editing)) << "the grid has the focus as it opens";
        QTest::keyClicks(editing, u"x"_s);
        QTest::keyClick(editing, c.key, c.modifiers);
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromLatin1(c.reaches))
            << c.reaches << " " << QApplication::focusWidget()->metaObject()->className();
        EXPECT_EQ(window.rows()[0].first, u"x"_s) << "what was typed stays";
        EXPECT_TRUE(window.isVisible());
    }
}

TEST_F(OptionsWindowTest, TheSiteStyleIsChosenOnTheHtmlTab)
{
    folder.write(u"Quorvel.ini"_s, "[opcoes]\r\nEstiloSite=MODERNO\r\n");
    OptionsWindow window(prompts, settings, u"v1.1"_s);
    window.show();
    window.tabs()->setCurrentIndex(1);
    EXPECT_EQ(window.siteStyleBox()->currentText(), u"Moderno (HTML5, busca, modo escuro)"_s);
    EXPECT_EQ(window.siteStylePreview()->accessibleDescription(), u"Estilo moderno"_s);
    EXPECT_TRUE(window.siteStylePreview()->isVisible());
    // Chosen by the keyboard, as a user would.
    window.siteStyleBox()->setFocus();
    QTest::keyClick(window.siteStyleBox(), Qt::Key_Up);
    EXPECT_EQ(window.siteStylePreview()->accessibleDescription(), u"Estilo clássico"_s);
    QTest::mouseClick(window.Button1(), Qt::LeftButton);
    EXPECT_EQ(IniFile(settings).readString(u"opcoes", u"EstiloSite", {}), u"classico"_s);
}
