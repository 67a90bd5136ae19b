#include "gui/DialogPrompts.h"

#include "gui/ConnectionDialog.h"
#include "gui/OpeningProgress.h"
#include "settings/Colours.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QDialogButtonBox::StandardButton standardButtonOf(Answer answer)
{
    switch (answer) {
    case Answer::Yes:
        return QDialogButtonBox::Yes;
    case Answer::No:
        return QDialogButtonBox::No;
    case Answer::NoToAll:
        return QDialogButtonBox::NoToAll;
    case Answer::YesToAll:
        return QDialogButtonBox::YesToAll;
    case Answer::Ok:
        return QDialogButtonBox::Ok;
    }
    return QDialogButtonBox::Ok;
}

// The standard button's own text, as Qt's translation for the language gives it.
QString standardText(Answer answer)
{
    QDialogButtonBox box;
    return box.addButton(standardButtonOf(answer))->text();
}

// A carriage return inside a dialog text breaks the line.
QString dialogText(const QString& text)
{
    QString out = text;
    out.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    return out;
}

// Qt's font dialog knows no colour; this one adds the font's colour below it,
// as users of the documentation's samples expect to choose both at once.
class FontAndColorDialog : public QDialog
{
public:
    FontAndColorDialog(const SampleFont& initial, QWidget* parent)
        : QDialog(parent), m_color(toQColor(initial.colour))
    {
        setWindowTitle(QApplication::translate("QFontDialog", "Select Font"));
        QFont font(initial.face);
        font.setPointSize(initial.points);
        font.setBold(initial.bold);
        font.setItalic(initial.italic);
        font.setUnderline(initial.underline);
        font.setStrikeOut(initial.strikeOut);
        m_fonts = new QFontDialog(font, this);
        m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        m_fonts->setWindowFlags(Qt::Widget);
        // A family that is not installed (Arial, Courier New on Linux) is
        // shown in the dialog's lists as the nearest installed one; its name
        // and style boxes still say what is stored, and whatever the user
        // leaves as it was shown stays as it was stored.
        m_initial = initial;
        m_shown = m_fonts->currentFont();
        showStoredNames(initial, font);
        // Enter and Escape inside the embedded dialog end this one, instead
        // of hiding the embedded part and leaving an empty window.
        connect(m_fonts, &QDialog::accepted, this, &QDialog::accept);
        connect(m_fonts, &QDialog::rejected, this, &QDialog::reject);
        m_fonts->installEventFilter(this); // its Enter has no default button to press

        auto* colorButton = new QPushButton(QApplication::translate("QColorDialog", "Select Color"), this);
        m_swatch = new QLabel(this);
        m_swatch->setFixedSize(48, 20);
        m_swatch->setFrameShape(QFrame::Box);
        connect(colorButton, &QPushButton::clicked, this, [this] {
            const QColor chosen = QColorDialog::getColor(m_color, this);
            if (chosen.isValid())
                setColor(chosen);
        });
        setColor(m_color);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* colorRow = new QHBoxLayout;
        colorRow->addWidget(m_swatch);
        colorRow->addWidget(colorButton);
        colorRow->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_fonts);
        layout->addLayout(colorRow);
        layout->addWidget(buttons);
    }

    SampleFont chosen() const
    {
        const QFont font = m_fonts->currentFont();
        // Each part keeps its stored value unless the user changed it from
        // what the dialog showed.
        const auto pick = [](auto shown, auto now, auto stored) { return now == shown ? stored : now; };
        SampleFont f;
        f.face = pick(m_shown.family(), font.family(), m_initial.face);
        f.points = pick(m_shown.pointSize(), font.pointSize(), m_initial.points);
        f.bold = pick(m_shown.bold(), font.bold(), m_initial.bold);
        f.italic = pick(m_shown.italic(), font.italic(), m_initial.italic);
        f.underline = pick(m_shown.underline(), font.underline(), m_initial.underline);
        f.strikeOut = pick(m_shown.strikeOut(), font.strikeOut(), m_initial.strikeOut);
        f.colour = fromQColor(m_color);
        return f;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_fonts && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                accept();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    // The embedded dialog's read-only family and style boxes, which the user
    // reads, name the stored family and style, not their stand-ins.
    void showStoredNames(const SampleFont& stored, const QFont& font)
    {
        const QString shownFamily = m_shown.family();
        const QString shownStyle = m_fonts->findChildren<QLineEdit*>().size() > 1
                                       ? m_fonts->findChildren<QLineEdit*>().at(1)->text()
                                       : QString();
        const QString storedStyle = QFontDatabase::styleString(font);
        for (QLineEdit* edit : m_fonts->findChildren<QLineEdit*>()) {
            if (edit->text() == shownFamily && shownFamily != stored.face)
                edit->setText(stored.face);
            else if (!shownStyle.isEmpty() && edit->text() == shownStyle && shownStyle != storedStyle)
                edit->setText(storedStyle);
        }
    }

    void setColor(const QColor& color)
    {
        m_color = color;
        m_swatch->setStyleSheet(u"background: %1;"_s.arg(color.name()));
    }

    SampleFont m_initial;
    QFont m_shown; // the font the dialog showed for the stored one
    QFontDialog* m_fonts = nullptr;
    QLabel* m_swatch = nullptr;
    QColor m_color;
};

} // namespace

class DialogPrompts::PauseProgress
{
public:
    explicit PauseProgress(DialogPrompts& prompts) : m_prompts(prompts)
    {
        if (m_prompts.m_progress && m_prompts.m_progress->isVisible()) {
            m_prompts.m_progress->dialog()->hide();
            m_wasVisible = true;
        }
    }
    ~PauseProgress()
    {
        if (m_wasVisible && m_prompts.m_progress)
            m_prompts.m_progress->dialog()->show();
        m_prompts.m_sinceLastAnswer.restart();
    }
    PauseProgress(const PauseProgress&) = delete;
    PauseProgress& operator=(const PauseProgress&) = delete;

private:
    DialogPrompts& m_prompts;
    bool m_wasVisible = false;
};

DialogPrompts::DialogPrompts() = default;
DialogPrompts::~DialogPrompts() = default;

Answer DialogPrompts::ask(const Question& question)
{
    const PauseProgress pause(*this);
    // The standard titles in the program's language, which Qt's own
    // translations do not carry.
    QMessageBox box(QMessageBox::Information, u"Informação"_s, dialogText(question.text),
                    QMessageBox::NoButton, m_parent);
    // One role for all, so the buttons stand in the order given, not in the
    // order a platform's button layout would choose.
    QList<QPair<QAbstractButton*, Answer>> buttons;
    for (Answer answer : question.buttons) {
        QPushButton* button = box.addButton(standardText(answer), QMessageBox::ActionRole);
        buttons.append({button, answer});
        if (answer == question.defaultAnswer)
            box.setDefaultButton(button);
        if (answer == answerWithoutAButton(question))
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto& [button, answer] : buttons) {
        if (box.clickedButton() == button)
            return answer;
    }
    return answerWithoutAButton(question);
}

void DialogPrompts::showMessage(const QString& text, const QString& file, const SourceWarning& warning)
{
    Q_UNUSED(file);
    Q_UNUSED(warning);
    const PauseProgress pause(*this);
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), dialogText(text), QMessageBox::Ok,
                    m_parent);
    box.exec();
}

void DialogPrompts::showError(const QString& text)
{
    const PauseProgress pause(*this);
    QMessageBox box(QMessageBox::Critical, u"Erro"_s, dialogText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

std::optional<QString> DialogPrompts::chooseFileToOpen(const QString& title, const QStringList& filters)
{
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a typed name need not exist
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> DialogPrompts::chooseFileToSave(const QString& title, const QStringList& filters,
                                                       const QString& suggested)
{
    QFileDialog dialog(m_parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is replaced without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filters);
    if (!suggested.isEmpty())
        dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void DialogPrompts::reportProgress(int done, int total, const QString& file)
{
    if (file.isEmpty() || done >= total) {
        m_progress.reset();
        m_cancelRequested = false;
        return;
    }
    if (done == 0)
        m_sinceLastAnswer.start();
    // Shown only when the opening runs longer than half a second.
    if (!m_progress && m_sinceLastAnswer.elapsed() < m_progressDelay)
        return;
    if (!m_progress)
        m_progress = std::make_unique<OpeningProgress>(m_parent);
    m_progress->show(done, total, file);
}

bool DialogPrompts::cancelRequested()
{
    return m_cancelRequested || (m_progress && m_progress->cancelled());
}

void DialogPrompts::requestCancel()
{
    m_cancelRequested = true;
}

std::optional<quint32> DialogPrompts::chooseColor(quint32 initial)
{
    const PauseProgress pause(*this);
    const QColor chosen = QColorDialog::getColor(toQColor(initial), m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQColor(chosen);
}

std::optional<SampleFont> DialogPrompts::chooseFont(const SampleFont& initial)
{
    FontAndColorDialog dialog(initial, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

std::optional<QList<ConnectionParameter>>
DialogPrompts::editConnection(const QList<ConnectionParameter>& rows)
{
    const PauseProgress pause(*this);
    ConnectionDialog dialog(rows, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.rows();
}
