#include "common/Fonts.h"
#include "gui/DialogPrompts.h"
#include "gui/MainWindow.h"
#include "gui/OpeningProgress.h"
#include "table/IdentifierTable.h"
#include "tests/support/Printers.h"
#include "tests/support/TestFiles.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>

#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

struct SeenBox
{
    QString title;
    QString text;
    QStringList buttons; // left to right, as shown
    bool escapeIsNo = false;
};

// Reads the message box once it is up, then presses the button at `press`.
void answerNextBox(SeenBox& seen, int press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QList<QAbstractButton*> buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
        seen.title = box->windowTitle();
        seen.text = box->text();
        for (QAbstractButton* button : buttons)
            seen.buttons.append(button->text());
        seen.escapeIsNo = box->escapeButton() && box->escapeButton()->text() == u"&Não"_s;
        buttons.at(press)->click();
    });
}

class DialogPromptsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static QTranslator translator;
        ASSERT_TRUE(translator.load(QLocale(QLocale::Portuguese, QLocale::Brazil), u"qtbase"_s, u"_"_s,
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QApplication::installTranslator(&translator);
    }

    DialogPrompts prompts;
};

} // namespace

TEST_F(DialogPromptsTest, TheFourButtonQuestionKeepsItsOrderInPortuguese)
{
    SeenBox seen;
    answerNextBox(seen, 2);
    const Answer answer = prompts.ask(Question{Topic::TableLaterQuestion,
                                               u"primeira\rsegunda"_s,
                                               {Answer::Yes, Answer::No, Answer::NoToAll, Answer::YesToAll},
                                               Answer::Yes,
                                               {},
                                               0,
                                               {}});
    EXPECT_EQ(answer, Answer::NoToAll);
    EXPECT_EQ(seen.text, u"primeira\nsegunda"_s);
    EXPECT_EQ(seen.buttons, (QStringList{u"&Sim"_s, u"&Não"_s, u"Nã&o para tudo"_s, u"Sim par&a tudo"_s}));
    EXPECT_TRUE(seen.escapeIsNo);
}

TEST_F(DialogPromptsTest, TheYesNoQuestionAndThePlainMessage)
{
    SeenBox question;
    answerNextBox(question, 0);
    EXPECT_EQ(prompts.ask(
                  Question{Topic::OrphanComment, u"?"_s, {Answer::Yes, Answer::No}, Answer::Yes, {}, 1, {}}),
              Answer::Yes);
    EXPECT_EQ(question.buttons, (QStringList{u"&Sim"_s, u"&Não"_s}));
    EXPECT_EQ(question.title, u"Informação"_s);

    SeenBox message;
    answerNextBox(message, 0);
    prompts.showMessage(u"O arquivo indicado não pôde ser aberto."_s, {}, {});
    EXPECT_EQ(message.buttons, (QStringList{u"OK"_s}));
    EXPECT_EQ(message.text, u"O arquivo indicado não pôde ser aberto."_s);
    EXPECT_EQ(message.title, QApplication::applicationName());

    SeenBox error;
    answerNextBox(error, 0);
    prompts.showError(u"Cannot read file \"x\"."_s);
    EXPECT_EQ(error.title, u"Erro"_s);
}

// A family that is not installed is kept as stored unless the user picks
// another; Enter and Escape end the whole dialog.
TEST_F(DialogPromptsTest, TheFontDialogKeepsAFamilyThatIsNotInstalled)
{
    const SampleFont stored{u"Família Que Não Existe"_s, 12, false, false, false, false, 0x0000FF};
    const struct
    {
        Qt::Key key;
        bool accepted;
    } cases[] = {{Qt::Key_Return, true}, {Qt::Key_Escape, false}};
    for (const auto& c : cases) {
        bool wasEmptyAfterKey = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            auto* fonts = dialog->findChild<QFontDialog*>();
            ASSERT_NE(fonts, nullptr);
            QWidget* inside = fonts->focusWidget() ? fonts->focusWidget() : fonts;
            QTest::keyClick(inside, c.key);
            wasEmptyAfterKey = dialog->isVisible() && !fonts->isVisible();
            if (dialog->isVisible())
                dialog->close();
        });
        const std::optional<SampleFont> chosen = prompts.chooseFont(stored);
        EXPECT_FALSE(wasEmptyAfterKey);
        ASSERT_EQ(chosen.has_value(), c.accepted);
        if (chosen) {
            EXPECT_EQ(chosen->face, stored.face);
        }
    }
}

// A stored family that is not installed, bold and italic: the dialog names
// them as stored, and OK without a change gives back exactly what was stored.
TEST_F(DialogPromptsTest, TheFontDialogShowsAndKeepsTheStoredFamilyAndStyle)
{
    const SampleFont stored{u"Arial Que Não Existe"_s, 12, true, true, false, false, 0x00FF00};
    QStringList shown;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* fonts = dialog->findChild<QFontDialog*>();
        ASSERT_NE(fonts, nullptr);
        for (const QLineEdit* edit : fonts->findChildren<QLineEdit*>())
            shown.append(edit->text());
        auto* ok = dialog->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_NE(ok, nullptr);
        ok->button(QDialogButtonBox::Ok)->click();
    });
    const std::optional<SampleFont> chosen = prompts.chooseFont(stored);
    EXPECT_TRUE(shown.contains(stored.face)) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown.contains(u"Negrito Itálico"_s)) << shown.join(u'|').toStdString();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, stored);
}

namespace {

// A project of `units` small units, each with one help row.
QString projectOf(const TestFolder& folder, int units)
{
    QString uses = u"uses "_s;
    for (int i = 0; i < units; ++i) {
        folder.writeSource(u"u%1.pas"_s.arg(i), u"unit U%1;\n//? ajuda %1\n"_s.arg(i));
        uses += u"U%1 in 'u%1.pas'%2"_s.arg(i).arg(i + 1 < units ? u',' : u';');
    }
    return folder.writeSource(u"p.dpr"_s, uses % u'\n');
}

} // namespace

// The close request arrives as the window manager sends it (the title bar's
// ✕), not as a call to close(): while the progress shows, it cancels the
// opening, and the window closes once the opening has stopped.
TEST_F(DialogPromptsTest, TheWindowManagersCloseDuringAnOpeningCancelsItAndCloses)
{
    installWindowFonts();
    TestFolder folder;
    const QString project = projectOf(folder, 40);
    DialogPrompts dialogs;
    dialogs.setProgressDelay(0);
    MainWindow window(dialogs);
    dialogs.setParentWidget(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int fixedWidth = 0;
    bool centred = false;
    bool inputHeldBack = false;
    // Sent once the progress shows its second unit, at its chance to handle
    // events.
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const OpeningProgress* progress = dialogs.progress();
        if (progress == nullptr || !progress->dialog()->findChild<QLabel*>()->text().startsWith(u"2 de"_s))
            return;
        watch.stop();
        const QDialog* dialog = progress->dialog();
        fixedWidth = dialog->width();
        centred = (dialog->frameGeometry().center() - window.frameGeometry().center()).manhattanLength() < 4;
        if (!centred)
            ADD_FAILURE() << dialog->frameGeometry().x() << "," << dialog->frameGeometry().y() << " "
                          << dialog->frameGeometry().width() << "x" << dialog->frameGeometry().height()
                          << " in " << window.frameGeometry().x() << "," << window.frameGeometry().y();
        // The user's input to the window waits: a right click on Visualizar
        // would build the document in the middle of the opening.
        const int revision = window.core().documentRevision();
        QTest::mouseClick(window.toolBar()->widgetForAction(window.action(u"Visualizar"_s)), Qt::RightButton);
        inputHeldBack = window.core().documentRevision() == revision;
        QWindowSystemInterface::handleCloseEvent(window.windowHandle());
    });
    watch.start();
    window.openFiles({project});
    const int rows = window.core().identifiers().rowCount();
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, 40); // cancelled: the units after the close were not read
    EXPECT_EQ(fixedWidth, OpeningProgress::kWidth);
    EXPECT_TRUE(centred);
    EXPECT_TRUE(inputHeldBack);
    QTest::qWait(50);
    EXPECT_FALSE(window.isVisible());
}

// The path is elided in its middle and the width never follows it, so that
// Cancelar stays where the pointer is.
TEST_F(DialogPromptsTest, TheProgressKeepsItsWidthWhateverThePath)
{
    OpeningProgress progress(nullptr);
    QStringList widths;
    for (const QString& file : QStringList{u"/a.pas"_s, u"/"_s % QString(400, u'x') % u"/fim.pas"_s}) {
        progress.show(0, 2, file);
        const auto* label = progress.dialog()->findChild<QLabel*>();
        ASSERT_NE(label, nullptr);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text().section(u'\n', 1)), label->width());
        widths.append(QString::number(progress.dialog()->width()));
    }
    EXPECT_EQ(widths, (QStringList{QString::number(OpeningProgress::kWidth),
                                   QString::number(OpeningProgress::kWidth)}));
    // Cancelar, Escape and the dialog's ✕ all ask to cancel.
    QTest::keyClick(progress.dialog(), Qt::Key_Escape);
    EXPECT_TRUE(progress.cancelled());
}
