#include "gui/DialogPrompts.h"
#include "tests/support/Printers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTranslator>

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
                                               0});
    EXPECT_EQ(answer, Answer::NoToAll);
    EXPECT_EQ(seen.text, u"primeira\nsegunda"_s);
    EXPECT_EQ(seen.buttons, (QStringList{u"&Sim"_s, u"&Não"_s, u"Nã&o para tudo"_s, u"Sim par&a tudo"_s}));
    EXPECT_TRUE(seen.escapeIsNo);
}

TEST_F(DialogPromptsTest, TheYesNoQuestionAndThePlainMessage)
{
    SeenBox question;
    answerNextBox(question, 0);
    EXPECT_EQ(
        prompts.ask(Question{Topic::OrphanComment, u"?"_s, {Answer::Yes, Answer::No}, Answer::Yes, {}, 1}),
        Answer::Yes);
    EXPECT_EQ(question.buttons, (QStringList{u"&Sim"_s, u"&Não"_s}));
    EXPECT_EQ(question.title, u"Informação"_s);

    SeenBox message;
    answerNextBox(message, 0);
    prompts.showMessage(u"O arquivo indicado não pôde ser aberto."_s, {});
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
    const FonteAmostra stored{u"Família Que Não Existe"_s, 12, false, false, false, false, 0x0000FF};
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
        const std::optional<FonteAmostra> chosen = prompts.chooseFont(stored);
        EXPECT_FALSE(wasEmptyAfterKey);
        ASSERT_EQ(chosen.has_value(), c.accepted);
        if (chosen) {
            EXPECT_EQ(chosen->face, stored.face);
        }
    }
}
