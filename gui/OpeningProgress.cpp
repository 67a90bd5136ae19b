#include "gui/OpeningProgress.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// What the user does with the mouse, the keyboard or a drop: the input held
// back from the main window while an opening runs.
bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

OpeningProgress::OpeningProgress(QWidget* mainWindow) : m_mainWindow(mainWindow)
{
    m_dialog = new QDialog(mainWindow);
    m_dialog->setObjectName(u"progresso"_s);
    m_dialog->setWindowTitle(QApplication::applicationName());
    m_dialog->setWindowModality(Qt::NonModal);
    m_dialog->setFixedWidth(kWidth);
    auto* layout = new QVBoxLayout(m_dialog);
    m_label = new QLabel(m_dialog);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setFixedWidth(kWidth - layout->contentsMargins().left() - layout->contentsMargins().right());
    m_bar = new QProgressBar(m_dialog);
    m_cancel = new QPushButton(u"Cancelar"_s, m_dialog);
    m_cancel->setObjectName(u"cancelar"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    QObject::connect(m_cancel, &QPushButton::clicked, m_dialog, [this] { m_cancelled = true; });
    // Escape and the dialog's own ✕ ask for the same as Cancelar.
    QObject::connect(m_dialog, &QDialog::rejected, m_dialog, [this] { m_cancelled = true; });
    qApp->installEventFilter(this);
}

OpeningProgress::~OpeningProgress()
{
    qApp->removeEventFilter(this);
    delete m_dialog;
}

void OpeningProgress::show(int done, int total, const QString& file)
{
    m_bar->setMaximum(total);
    m_bar->setValue(done);
    const QString count = u"%1 de %2"_s.arg(done + 1).arg(total);
    const QString path = m_label->fontMetrics().elidedText(file, Qt::ElideMiddle, m_label->width());
    m_label->setText(count % u'\n' % path);
    m_label->setToolTip(file);
    if (!m_dialog->isVisible()) {
        m_dialog->show();
        // Placed once shown, when its frame is known.
        if (m_mainWindow) {
            QRect placed(QPoint(), m_dialog->frameGeometry().size());
            placed.moveCenter(m_mainWindow->frameGeometry().center());
            m_dialog->move(placed.topLeft());
        }
    }
    // Not modal, so nothing else lets the dialog and the window system's
    // requests be handled while the opening runs on this thread.
    QCoreApplication::processEvents();
}

void OpeningProgress::hide()
{
    m_dialog->hide();
}

bool OpeningProgress::isVisible() const
{
    return m_dialog->isVisible();
}

bool OpeningProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_dialog->isVisible() || !isUserInput(event->type()) || !watched->isWidgetType())
        return false;
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    return window != m_dialog && window == m_mainWindow;
}
