#include "common/Fonts.h"
#include "gui/DocumentView.h"
#include "gui/MainWindow.h"
#include "table/IdentifierTable.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestFiles.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { installWindowFonts(); }

    void SetUp() override { window.show(); }

    QStringList column(int field) const
    {
        QStringList out;
        QAbstractItemModel* model = window.grid()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out.append(model->index(r, window.gridColumn(field)).data().toString());
        return out;
    }

    void trigger(const QString& name)
    {
        QAction* action = window.action(name);
        ASSERT_NE(action, nullptr) << name.toStdString();
        action->trigger();
    }

    QString unitsFixture()
    {
        folder.writeSource(u"a.pas"_s, u"unit UA;\n\n\n//? primeiro\n//@ rotina\nprocedure P;\n"_s);
        return folder.writeSource(u"b.pas"_s, u"unit UB;\n//? segundo\n"_s);
    }

    ScriptedPrompts prompts;
    MainWindow window{prompts};
    TestFolder folder;
};

} // namespace

TEST_F(MainWindowTest, CaptionSizeAndFolder)
{
    EXPECT_EQ(window.windowTitle(), u"Quorvel - (v1.1)"_s);
    EXPECT_EQ(window.minimumSize(), QSize(792, 566));
    EXPECT_EQ(window.maximumSize(), QSize(792, 566));
    EXPECT_EQ(window.size(), QSize(792, 566));
    EXPECT_TRUE(window.core().settings().programFolder().endsWith(u'/'));
    EXPECT_EQ(window.font().family(), u"Tahoma"_s);
    EXPECT_EQ(window.font().pixelSize(), 11);
    EXPECT_FALSE(window.documentLines()->isVisible());
    EXPECT_TRUE(window.documentLines()->isReadOnly());
    for (QWidget* hidden : std::initializer_list<QWidget*>{window.traceLog(), window.cellText(),
                                                           window.descriptionGrid(), window.helpBox()})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
}

TEST_F(MainWindowTest, ToolBarInItsOrder)
{
    QStringList shown;
    for (QAction* action : window.toolBar()->actions()) {
        if (action->isSeparator())
            shown.append(u"|"_s);
        else if (action->isVisible())
            shown.append(action->text());
    }
    EXPECT_EQ(shown, (QStringList{u"Novo"_s, u"&Abrir"_s, u"&Salvar"_s, u"&Visualizar"_s, u"|"_s, u"&HTML"_s,
                                  u"Opções"_s, u"Ajuda"_s}));
    for (const QString& hidden : {u"ToolButton1"_s, u"ToolButton3"_s}) {
        ASSERT_NE(window.action(hidden), nullptr);
        EXPECT_FALSE(window.action(hidden)->isVisible());
    }
    for (const QString& name : {u"Novo"_s, u"Abrir"_s, u"HTML"_s, u"Ajuda"_s}) {
        auto* button = qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(window.action(name)));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->size(), QSize(58, 52));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_FALSE(window.action(name)->icon().pixmap(32, 32).isNull()) << name.toStdString();
    }
    // The access letters show underlined on the buttons, and Alt presses them.
    auto* openAction =
        qobject_cast<QToolButton*>(window.toolBar()->widgetForAction(window.action(u"Abrir"_s)));
    EXPECT_EQ(openAction->text(), u"&Abrir"_s);
    EXPECT_EQ(openAction->shortcut(), QKeySequence(u"Alt+A"_s));
    EXPECT_TRUE(window.style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, openAction));
    window.show();
    QApplication::setActiveWindow(&window);
    prompts.expectFile(std::nullopt);
    QTest::keyClick(&window, Qt::Key_A, Qt::AltModifier);
    QTest::qWait(300); // a button pressed by its access letter clicks after a short animation
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(MainWindowTest, GridShowsFiveColumnsInTheirPlaces)
{
    QHeaderView* header = window.grid()->horizontalHeader();
    QStringList titles;
    QList<int> widths;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        titles.append(window.grid()->model()->headerData(logical, Qt::Horizontal).toString());
        widths.append(header->sectionSize(logical));
    }
    EXPECT_EQ(titles, (QStringList{u"Unit"_s, u"Identificador"_s, u"Nome Id."_s, u"Linha"_s, u"Tipo Id."_s}));
    EXPECT_EQ(widths, (QList<int>{136, 283, 165, 57, 104}));
    EXPECT_TRUE(header->sectionsMovable());
    EXPECT_EQ(window.grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(MainWindowTest, OpenNewAndCancelThroughTheToolBar)
{
    const QString b = unitsFixture();
    prompts.expectFile(b);
    trigger(u"Abrir"_s);
    prompts.expectFile(folder.path(u"a.pas"_s));
    trigger(u"Abrir"_s);
    EXPECT_EQ(column(IdentifierTable::IdentifierText),
              (QStringList{u"primeiro"_s, u"procedure P;"_s, u"segundo"_s}));

    prompts.expectFile(std::nullopt);
    trigger(u"Abrir"_s);
    EXPECT_EQ(window.grid()->model()->rowCount(), 3);

    prompts.expectFile(b);
    trigger(u"Novo"_s);
    EXPECT_EQ(column(IdentifierTable::IdentifierText), (QStringList{u"segundo"_s}));

    prompts.expectFile(std::nullopt);
    trigger(u"Novo"_s);
    EXPECT_EQ(window.grid()->model()->rowCount(), 0);
    EXPECT_TRUE(window.documentLines()->toPlainText().isEmpty());

    prompts.expectFile(folder.path(u"nada.pas"_s));
    trigger(u"Abrir"_s);
    EXPECT_EQ(prompts.messages, (QStringList{u"O arquivo indicado não pôde ser aberto."_s}));
    EXPECT_TRUE(prompts.scriptDone());
}

TEST_F(MainWindowTest, DraggingAColumnReordersAndATitleClickChangesNothing)
{
    unitsFixture();
    window.openFiles({folder.path(u"b.pas"_s), folder.path(u"a.pas"_s)});
    EXPECT_EQ(column(IdentifierTable::IdentifierLine), (QStringList{u"4"_s, u"5"_s, u"2"_s}));

    QHeaderView* header = window.grid()->horizontalHeader();
    header->moveSection(header->visualIndex(window.gridColumn(IdentifierTable::IdentifierLine)), 0);
    EXPECT_EQ(window.core().identifiers().ordering(),
              u"linhaIdentificador;unit;identificador;nomeIdentificador;tipoIdentificador"_s);
    EXPECT_EQ(column(IdentifierTable::IdentifierLine), (QStringList{u"2"_s, u"4"_s, u"5"_s}));

    // A click on a title, twice on the same one, neither sorts by it nor reverses.
    const int x = header->sectionViewportPosition(window.gridColumn(IdentifierTable::IdentifierText)) + 10;
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        EXPECT_EQ(column(IdentifierTable::IdentifierLine), (QStringList{u"2"_s, u"4"_s, u"5"_s}));
    }
}

TEST_F(MainWindowTest, ACellClickFillsTheCellText)
{
    window.openFiles({unitsFixture()});
    QTableView* grid = window.grid();
    const QModelIndex cell = grid->model()->index(0, window.gridColumn(IdentifierTable::IdentifierLine));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    EXPECT_EQ(window.cellText()->toPlainText(), u"2"_s);
    // The hidden help box follows the current row.
    const QModelIndex other = grid->model()->index(0, window.gridColumn(IdentifierTable::IdentifierText));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(other).center());
    EXPECT_EQ(window.cellText()->toPlainText(), u"segundo"_s);
}

TEST_F(MainWindowTest, AProjectWithUnitsInOtherCaseAndInASubfolder)
{
    folder.writeSource(u"p/UPrincipal.pas"_s, u"unit UPrincipal;\n//? principal\n"_s);
    folder.writeSource(u"p/Fontes/UUtil.PAS"_s, u"unit UUtil;\n//? util\n"_s);
    const QString dpr = folder.writeSource(
        u"p/P.dpr"_s, u"uses\n  UPrincipal in 'UPrincipal.pas',\n  UUtil in 'fontes\\UUtil.pas',\n"
                      u"  UUtil in 'fontes\\UUtil.pas';\n"_s);
    prompts.expectFile(dpr);
    trigger(u"Abrir"_s);
    EXPECT_EQ(column(IdentifierTable::Unit), (QStringList{u"UPrincipal"_s, u"UUtil"_s, u"UUtil"_s}));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(MainWindowTest, StandingAnswersSurviveNew)
{
    const QString file = folder.writeSource(u"o.pas"_s, u"//* órfão\n"_s);
    prompts.expect(Topic::OrphanComment, Answer::Yes);
    prompts.expectFile(file);
    trigger(u"Abrir"_s);
    prompts.expectFile(file);
    trigger(u"Novo"_s);
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(window.grid()->model()->rowCount(), 1);
}

TEST_F(MainWindowTest, AnErrorReachesTheErrorBoxAndTheWindowGoesOn)
{
    folder.writeSource(u"ok.pas"_s, u"//? antes\n"_s);
    ASSERT_TRUE(QFile::link(u"/proc/self/mem"_s, folder.path(u"ruim.pas"_s)));
    const QString dpr = folder.writeSource(u"p.dpr"_s, u"uses A in 'ok.pas', B in 'ruim.pas';\n"_s);
    prompts.expectFile(dpr);
    trigger(u"Abrir"_s);
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(u"ruim.pas"_s));
    EXPECT_EQ(column(IdentifierTable::IdentifierText), (QStringList{u"antes"_s}));

    prompts.expectFile(unitsFixture());
    trigger(u"Abrir"_s);
    EXPECT_EQ(window.grid()->model()->rowCount(), 2);
}

TEST_F(MainWindowTest, DroppedSourceFilesAreOpened)
{
    const QString b = unitsFixture();
    const QString text = folder.writeSource(u"leia.txt"_s, u"//? não\n"_s);
    // Lazarus's units and projects are taken too.
    const QString pp = folder.writeSource(u"c.pp"_s, u"unit UC;\n//? terceiro\n"_s);
    const QString lpi =
        folder.write(u"p.lpi"_s, "<CONFIG><ProjectOptions><Units><Unit><Filename Value=\"d.pas\"/>"
                                 "<IsPartOfProject Value=\"True\"/></Unit></Units></ProjectOptions>"
                                 "</CONFIG>");
    folder.writeSource(u"d.pas"_s, u"unit UD;\n//? quarto\n"_s);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(b), QUrl::fromLocalFile(text), QUrl::fromLocalFile(pp),
                  QUrl::fromLocalFile(lpi)});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_EQ(column(IdentifierTable::IdentifierText),
              (QStringList{u"segundo"_s, u"terceiro"_s, u"quarto"_s}));
}

TEST_F(MainWindowTest, TheHiddenMemosShowTheTraceWhenAsked)
{
    window.openFiles({unitsFixture()});
    window.action(u"ToolButton3"_s)->trigger();
    EXPECT_TRUE(window.traceLog()->isVisible());
    EXPECT_TRUE(window.traceLog()->toPlainText().startsWith(u"PAS ret(0) : \"unit\""_s));
    window.action(u"ToolButton3"_s)->trigger();
    EXPECT_FALSE(window.cellText()->isVisible());
}

TEST_F(MainWindowTest, RightClickBuildsTheDocumentAndTheViewSlidesOpen)
{
    window.core().setSettingsFile(folder.path(u"Quorvel.ini"_s));
    window.openFiles({unitsFixture()});
    QWidget* button = window.toolBar()->widgetForAction(window.action(u"Visualizar"_s));
    QTest::mouseClick(button, Qt::RightButton);
    // Built, and the view stays hidden.
    EXPECT_FALSE(window.documentLines()->isVisible());
    EXPECT_EQ(window.documentLines()->toPlainText(), u"Unit UB;\n\nsegundo\n\n"_s);
    EXPECT_EQ(window.grid()->currentIndex().row(), 0);

    window.action(u"Visualizar"_s)->trigger();
    EXPECT_TRUE(window.documentLines()->isVisible());
    EXPECT_EQ(window.documentLines()->height(), 380);
    // It opens at its top, its first line whole.
    EXPECT_EQ(window.documentLines()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window.documentLines()->firstVisibleLine(), 0);
    EXPECT_EQ(window.action(u"Visualizar"_s)->text(), u"  &Ocultar "_s);
    EXPECT_TRUE(window.documentLines()->hasFocus() || !window.isActiveWindow());
    EXPECT_TRUE(window.documentLines()->isReadOnly());

    window.action(u"Visualizar"_s)->trigger();
    EXPECT_FALSE(window.documentLines()->isVisible());
    EXPECT_EQ(window.action(u"Visualizar"_s)->text(), u"&Visualizar"_s);

    // Saving goes through the save dialog; Novo empties the view.
    prompts.expectFile(folder.path(u"doc"_s));
    window.action(u"Salvar"_s)->trigger();
    EXPECT_TRUE(QFile::exists(folder.path(u"doc.rtf"_s)));
    prompts.expectFile(std::nullopt);
    trigger(u"Novo"_s);
    EXPECT_TRUE(window.documentLines()->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, ALongDocumentOpensAtItsTop)
{
    window.core().setSettingsFile(folder.path(u"Quorvel.ini"_s));
    QString source = u"unit Longa;\n"_s;
    for (int i = 0; i < 200; ++i)
        source += u"//? Ajuda %1\n//* texto %1\n"_s.arg(i);
    window.openFiles({folder.writeSource(u"longa.pas"_s, source)});
    QTest::mouseClick(window.toolBar()->widgetForAction(window.action(u"Visualizar"_s)), Qt::RightButton);
    window.show();
    window.action(u"Visualizar"_s)->trigger();
    QTest::qWait(50);
    EXPECT_EQ(window.documentLines()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window.documentLines()->firstVisibleLine(), 0);
}

TEST(MainWindowPlacement, StaysInsideTheScreen)
{
    const struct
    {
        QSize frame;
        QRect available;
        QPoint expected;
    } cases[] = {
        {{800, 600}, {0, 0, 1920, 1080}, {560, 240}},
        {{800, 600}, {0, 0, 640, 360}, {0, 0}},       // scale 2 on a 1280 by 720 screen
        {{800, 600}, {100, 30, 640, 360}, {100, 30}}, // a panel on top and on the left
        {{800, 300}, {0, 0, 640, 720}, {0, 210}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MainWindow::placement(c.frame, c.available), c.expected);
}

// After the site is written, a notice says where it is and offers to open it.
TEST_F(MainWindowTest, TheHtmlCommandSaysWhereTheSiteIs)
{
    window.core().setSettingsFile(folder.path(u"Quorvel.ini"_s));
    window.core().setProgramFolder(folder.path(QString()) % u'/');
    window.openFiles({unitsFixture()});
    prompts.expect(Topic::SiteWritten, Answer::No);
    window.action(u"HTML"_s)->trigger();
    EXPECT_TRUE(prompts.scriptDone());
    ASSERT_FALSE(prompts.questions.isEmpty());
    EXPECT_EQ(prompts.questions.last().text, u"O help foi gerado em\r"_s % folder.path(u"HELP/index.htm"_s) %
                                                 u"\r\rDeseja abri-lo no navegador?"_s);
    EXPECT_TRUE(QFile::exists(folder.path(u"HELP/index.htm"_s)));
    EXPECT_TRUE(prompts.errors.isEmpty());
}

// Built while the view is shut, the document waits: the caption of
// Visualizar says it is ready until the view is opened.
TEST_F(MainWindowTest, TheViewButtonSaysWhenTheDocumentIsReady)
{
    window.core().setSettingsFile(folder.path(u"Quorvel.ini"_s));
    window.openFiles({unitsFixture()});
    QAction* viewAction = window.action(u"Visualizar"_s);
    QTest::mouseClick(window.toolBar()->widgetForAction(viewAction), Qt::RightButton);
    EXPECT_EQ(viewAction->iconText(), u"&Visualizar\u2713"_s);
    viewAction->trigger();
    EXPECT_EQ(viewAction->iconText(), u"&Ocultar"_s);
    viewAction->trigger();
    EXPECT_EQ(viewAction->iconText(), u"&Visualizar"_s);
}

// The mark says a new document with something in it waits: none for an empty
// table, and Novo takes it away with the old document, which the view stops
// showing before the open dialog is up.
TEST(MainWindowDocument, TheReadyMarkAndNewEmptyTheOldDocument)
{
    struct SeeingPrompts : ScriptedPrompts
    {
        std::function<void()> onOpenDialog;
        std::optional<QString> chooseFileToOpen(const QString& title, const QStringList& filters) override
        {
            if (onOpenDialog)
                onOpenDialog();
            return ScriptedPrompts::chooseFileToOpen(title, filters);
        }
    } prompts;
    TestFolder folder;
    MainWindow window(prompts);
    window.core().setSettingsFile(folder.path(u"Quorvel.ini"_s));
    window.show();
    QAction* viewAction = window.action(u"Visualizar"_s);
    QWidget* button = window.toolBar()->widgetForAction(viewAction);
    QTest::mouseClick(button, Qt::RightButton); // an empty table: nothing to mark
    EXPECT_EQ(viewAction->iconText(), u"&Visualizar"_s);

    window.openFiles({folder.writeSource(u"a.pas"_s, u"unit UA;\n//? primeiro\n"_s)});
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_EQ(viewAction->iconText(), u"&Visualizar\u2713"_s);
    viewAction->trigger();
    EXPECT_TRUE(window.documentLines()->toPlainText().contains(u"primeiro"_s));
    QString shownDuringDialog = u"<not asked>"_s;
    prompts.onOpenDialog = [&] { shownDuringDialog = window.documentLines()->toPlainText(); };
    prompts.expectFile(std::nullopt);
    window.action(u"Novo"_s)->trigger();
    EXPECT_EQ(shownDuringDialog, QString());
    viewAction->trigger(); // shut again
    EXPECT_EQ(viewAction->iconText(), u"&Visualizar"_s);

    // Built again, then Novo while the view is shut: the mark goes too.
    window.openFiles({folder.path(u"a.pas"_s)});
    QTest::mouseClick(button, Qt::RightButton);
    ASSERT_EQ(viewAction->iconText(), u"&Visualizar\u2713"_s);
    prompts.expectFile(std::nullopt);
    window.action(u"Novo"_s)->trigger();
    EXPECT_EQ(viewAction->iconText(), u"&Visualizar"_s);
    EXPECT_TRUE(prompts.scriptDone());
}

// Closing the window during an opening cancels it as Cancel would: the rows
// before stay, and the window closes once the opening has stopped.
TEST_F(MainWindowTest, ClosingTheWindowDuringAnOpeningCancelsIt)
{
    folder.writeSource(u"a.pas"_s, u"unit UA;\n//? a\n"_s);
    folder.writeSource(u"b.pas"_s, u"unit UB;\n//? b\n"_s);
    const QString project = folder.writeSource(u"p.dpr"_s, u"uses A in 'a.pas', B in 'b.pas';\n"_s);
    window.show();
    prompts.onProgress = [&] {
        if (prompts.progressFiles.size() == 2)
            window.close(); // the first unit read, the second about to be
    };
    window.openFiles({project, project});
    EXPECT_EQ(column(IdentifierTable::IdentifierText), QStringList{u"a"_s});
    EXPECT_TRUE(window.isVisible());
    QTest::qWait(50);
    EXPECT_FALSE(window.isVisible());
}

TEST(DocumentView, AHugeDocumentIsSharedScrolledAndCopiedWhole)
{
    QStringList lines;
    for (int i = 0; i < 500000; ++i)
        lines.append(u"{\\f0 linha %1}"_s.arg(i));
    DocumentView view;
    view.resize(600, 200);
    view.show();
    view.setLines(lines);
    // The view holds the core's lines themselves, not a copy of them.
    EXPECT_EQ(view.lines().constData(), lines.constData());
    EXPECT_EQ(view.firstVisibleLine(), 0);
    const int inSight = view.verticalScrollBar()->pageStep();
    ASSERT_GT(inSight, 1);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 500000 - inSight);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view.verticalScrollBar()->isVisible());

    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.firstVisibleLine(), inSight);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.firstVisibleLine(), inSight + 1);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.firstVisibleLine(), 500000 - inSight); // the last line ends the last page
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.firstVisibleLine(), 0);

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), lines.join(u'\n'));
    // Drawing and scrolling it made no copy either.
    view.viewport()->grab();
    EXPECT_EQ(view.lines().constData(), lines.constData());

    // A short document has nothing to scroll; clearing leaves an empty view.
    view.setLines({u"uma"_s, u"duas"_s});
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
    EXPECT_EQ(view.toPlainText(), u"uma\nduas"_s);
    view.clear();
    EXPECT_TRUE(view.toPlainText().isEmpty());
}

namespace {

// A small document in a view shown and focused, as the window has it.
struct ShownDocument
{
    ShownDocument()
    {
        QFont courier(u"Courier New"_s);
        courier.setPixelSize(11);
        view.setFont(courier);
        view.resize(400, 200);
        view.setLines(lines);
        view.show();
        QApplication::setActiveWindow(&view);
        view.setFocus();
    }
    QPoint pointOf(int line, int column) const
    {
        const QRect r = view.characterRect({line, column});
        return QPoint(r.left() + 1, r.center().y());
    }
    QStringList lines{u"Unit UA;"_s, u""_s, u"procedure Soma(a: integer);"_s, u"Soma dois números."_s};
    DocumentView view;
};

} // namespace

// A drag of the mouse selects, Ctrl+C copies what is selected and nothing
// else, and Shift with the keys extends the selection as in a text view.
TEST(DocumentView, SelectionByMouseAndKeyboard)
{
    ShownDocument shown;
    DocumentView& view = shown.view;
    QGuiApplication::clipboard()->setText(u"antes"_s);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier); // nothing selected: nothing copied
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"antes"_s);

    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, shown.pointOf(2, 10));
    QMouseEvent drag(QEvent::MouseMove, shown.pointOf(3, 4),
                     view.viewport()->mapToGlobal(shown.pointOf(3, 4)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drag);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, shown.pointOf(3, 4));
    EXPECT_EQ(view.selectedText(), u"Soma(a: integer);\nSoma"_s);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Soma(a: integer);\nSoma"_s);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, shown.pointOf(0, 0));
    EXPECT_FALSE(view.hasSelection());
    QTest::keyClick(&view, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), u"Unit UA;"_s);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), u"Unit UA;\n\nprocedu"_s); // down the empty line, back to column 8, left
    QTest::keyClick(&view, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(view.selectedText(), u"Unit UA;\n\nprocedure Soma(a: integer);\nSoma do"_s);
    QTest::keyClick(&view, Qt::Key_Right); // a plain key ends the selection
    EXPECT_FALSE(view.hasSelection());
}

// The right button's menu: Copiar for a selection, Selecionar tudo always.
TEST(DocumentView, TheContextMenuCopiesAndSelectsAll)
{
    ShownDocument shown;
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            seen.append(action->text() % (action->isEnabled() ? u"" : u" (off)"));
        menu->actions().at(1)->trigger();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, shown.pointOf(0, 0),
                            shown.view.viewport()->mapToGlobal(shown.pointOf(0, 0)));
    QApplication::sendEvent(shown.view.viewport(), &event);
    EXPECT_EQ(seen, (QStringList{u"&Copiar (off)"_s, u"Selecionar &tudo"_s}));
    EXPECT_EQ(shown.view.selectedText(), shown.lines.join(u'\n'));
}

// Focused, the view shows it with a frame and its caret.
TEST(DocumentView, FocusShows)
{
    ShownDocument shown;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.view));
    ASSERT_TRUE(shown.view.hasFocus());
    const QImage focused = shown.view.viewport()->grab().toImage();
    shown.view.clearFocus();
    const QImage unfocused = shown.view.viewport()->grab().toImage();
    EXPECT_NE(focused, unfocused);
}

// A screen reader finds a named, read-only text and reads its lines through
// the text interface, as it reads a text editor's; the core's lines are
// still not copied.
TEST(DocumentView, AScreenReaderReadsItsLines)
{
    ShownDocument shown;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&shown.view);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_EQ(accessible->text(QAccessible::Name), u"Documentação"_s);
    EXPECT_TRUE(accessible->state().readOnly);
    EXPECT_TRUE(accessible->state().multiLine);
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    const QString whole = shown.lines.join(u'\n');
    EXPECT_EQ(text->characterCount(), whole.size());
    EXPECT_EQ(text->text(0, text->characterCount()), whole);
    int start = 0;
    int end = 0;
    const int inThirdLine = static_cast<int>(whole.indexOf(u"Soma("_s));
    EXPECT_EQ(text->textAtOffset(inThirdLine, QAccessible::LineBoundary, &start, &end),
              u"procedure Soma(a: integer);\n"_s);
    EXPECT_EQ(whole.mid(start, end - start), u"procedure Soma(a: integer);\n"_s);
    EXPECT_EQ(text->textAfterOffset(inThirdLine, QAccessible::LineBoundary, &start, &end),
              u"Soma dois números."_s);
    EXPECT_EQ(text->textAtOffset(inThirdLine, QAccessible::WordBoundary, &start, &end), u"Soma"_s);
    // The reader moves the caret and selects; the view follows.
    text->setSelection(0, inThirdLine, inThirdLine + 4);
    EXPECT_EQ(shown.view.selectedText(), u"Soma"_s);
    EXPECT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(inThirdLine, inThirdLine + 4));
    EXPECT_EQ(text->offsetAtPoint(shown.view.viewport()->mapToGlobal(shown.pointOf(3, 5))),
              shown.view.offsetOf({3, 5}));
    EXPECT_EQ(shown.view.lines().constData(), shown.lines.constData());
}

namespace {

// Every element a screen reader finds under `node`, as it walks the tree.
void walkAccessible(QAccessibleInterface* node, QList<QAccessibleInterface*>& out, int depth = 0)
{
    if (node == nullptr || depth > 12)
        return;
    out.append(node);
    for (int i = 0; i < node->childCount(); ++i)
        walkAccessible(node->child(i), out, depth + 1);
}

} // namespace

// What the user cannot see, a screen reader does not read: the hidden memos
// and views, and the grid's hidden columns.
TEST_F(MainWindowTest, AScreenReaderFindsOnlyWhatIsShown)
{
    window.openFiles({unitsFixture()});
    QList<QAccessibleInterface*> found;
    walkAccessible(QAccessible::queryAccessibleInterface(&window), found);
    QStringList hidden;
    for (QAccessibleInterface* node : found) {
        if (node->state().invisible)
            hidden.append(node->text(QAccessible::Name) % u" (" %
                          (node->object() ? node->object()->objectName() : QString()) % u')');
    }
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(u", "_s).toStdString();

    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(window.grid());
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->tableInterface(), nullptr);
    QStringList headers;
    for (int c = 0; c < grid->tableInterface()->columnCount(); ++c)
        headers.append(grid->tableInterface()->columnDescription(c));
    const QAbstractItemModel* model = window.grid()->model();
    QStringList shown;
    for (int visual = 0; visual < window.grid()->horizontalHeader()->count(); ++visual) {
        const int logical = window.grid()->horizontalHeader()->logicalIndex(visual);
        if (!window.grid()->isColumnHidden(logical))
            shown.append(model->headerData(logical, Qt::Horizontal).toString());
    }
    EXPECT_EQ(headers, shown);
}

// At a scale of 2 a 1920 by 1080 screen offers 960 by 510 logical pixels:
// the fixed-size window would run past the bottom, so it starts maximised
// within the available area; on a screen with room it keeps its size.
TEST(MainWindowOnScreen, TooLargeForTheScreenItStartsMaximised)
{
    ScriptedPrompts prompts;
    MainWindow small(prompts);
    small.showWithin(QRect(0, 0, 960, 510));
    EXPECT_TRUE(small.isMaximized());
    EXPECT_LE(small.height(), 510);
    EXPECT_LE(small.width(), 960);

    MainWindow large(prompts);
    large.showWithin(QRect(0, 0, 1920, 1040));
    EXPECT_FALSE(large.isMaximized());
    EXPECT_EQ(large.size(), QSize(792, 566));
}

// The window says the same in its notice, after an opening that finds no
// marked comment at all, and not after one that finds some.
TEST_F(MainWindowTest, AnOpeningThatFindsNothingRemindsOfTheMarkers)
{
    const QString plain = folder.writeSource(u"plain.pas"_s, u"unit Plain;\nx := 1;\n"_s);
    prompts.expect(Topic::NothingMarked, Answer::Ok);
    window.openFiles({plain});
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_EQ(prompts.questions[0].topic, Topic::NothingMarked);
    EXPECT_EQ(prompts.questions[0].buttons, QList<Answer>{Answer::Ok});
    prompts.expectFile(plain);
    prompts.expect(Topic::NothingMarked, Answer::Ok);
    trigger(u"Abrir"_s);
    EXPECT_EQ(prompts.questions.size(), 2);
    window.openFiles({plain, unitsFixture()}); // some found: no notice
    EXPECT_EQ(prompts.questions.size(), 2);
    EXPECT_TRUE(prompts.scriptDone());
}
