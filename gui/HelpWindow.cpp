#include "gui/HelpWindow.h"

#include "common/Fonts.h"
#include "settings/HelpTexts.h"

#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QTextEdit* makePage(QTabWidget* tabs, const QString& pageName, const QString& title, const QString& editName,
                    const QString& text)
{
    auto* page = new QWidget;
    page->setObjectName(pageName);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(3, 3, 3, 3);
    auto* edit = new QTextEdit(page);
    edit->setObjectName(editName);
    edit->setReadOnly(true);
    edit->setFrameShape(QFrame::NoFrame);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setLineWrapMode(QTextEdit::WidgetWidth);
    edit->setFont(tahoma(13, true));
    edit->setStyleSheet(u"QTextEdit { background: #a6caf0; color: palette(window-text); }"_s);
    edit->setPlainText(text);
    layout->addWidget(edit);
    tabs->addTab(page, title);
    return edit;
}

} // namespace

HelpWindow::HelpWindow(QString programVersion, QWidget* parent)
    : QDialog(parent), m_programVersion(std::move(programVersion))
{
    setObjectName(u"frmAjudaQuorvel"_s);
    setWindowTitle(u"Ajuda"_s);
    setFont(tahoma(11));
    setFixedSize(494, 268);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_PageControl1 = new QTabWidget(this);
    m_PageControl1->setObjectName(u"PageControl1"_s);
    m_PageControl1->setGeometry(3, 3, 488, 262);
    m_RichEdit2 = makePage(m_PageControl1, u"tabFuncionamento"_s, u"Funcionamento"_s, u"RichEdit2"_s,
                           HelpTexts::howItWorks());
    m_RichEdit3 = makePage(m_PageControl1, u"tabRecursosQuorvel"_s, u"Recursos Quorvel"_s, u"RichEdit3"_s,
                           HelpTexts::features());
    m_RichEdit1 =
        makePage(m_PageControl1, u"tabSobre"_s, u"Sobre o Quorvel"_s, u"RichEdit1"_s, HelpTexts::about());
    m_PageControl1->setCurrentIndex(0);
}

void HelpWindow::paintEvent(QPaintEvent* event)
{
    if (!m_painted) {
        m_painted = true;
        setWindowTitle(windowTitle() % u" - Quorvel ("_s % m_programVersion % u')');
    }
    QDialog::paintEvent(event);
}
