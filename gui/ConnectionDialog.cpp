#include "gui/ConnectionDialog.h"

#include "common/Fonts.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// A cell is edited as soon as it is current, so the dialog opens with an
// editor in the grid; an item view's editor takes Tab to move to the next
// cell. Here Tab, Shift+Tab and Ctrl+Tab end the edit, keeping what was
// typed, and leave the grid, as they leave every other control.
class LeaveOnTabDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor == nullptr || event->type() != QEvent::KeyPress)
            return QStyledItemDelegate::eventFilter(object, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
            return QStyledItemDelegate::eventFilter(object, event);
        QWidget* view = editor->parentWidget() != nullptr ? editor->parentWidget()->parentWidget() : nullptr;
        Q_EMIT commitData(editor);
        Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
        if (view != nullptr) {
            // The view does not move between cells on Tab: it passes the
            // focus on to the next control.
            const bool back = key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
            QKeyEvent tab(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                          back ? Qt::ShiftModifier : Qt::NoModifier);
            QCoreApplication::sendEvent(view, &tab);
        }
        return true;
    }
};

} // namespace

ConnectionDialog::ConnectionDialog(const QList<ConnectionParameter>& rows, QWidget* parent) : QDialog(parent)
{
    setObjectName(u"frmConexao"_s);
    setWindowTitle(u"Conexão MySQL"_s);
    setFont(tahoma(11));
    setFixedSize(314, 222);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(3, 3, 3, 3);
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(panel);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    auto* heading = new QLabel(u"Conexão MySQL"_s, panel);
    heading->setObjectName(u"Label1"_s);
    heading->setFont(tahoma(21, true, true));
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);

    m_parameters = new QTableWidget(static_cast<int>(rows.size()), 2, panel);
    m_parameters->setObjectName(u"Parametros"_s);
    m_parameters->setHorizontalHeaderLabels({u"Parâmetro"_s, u"Valor"_s});
    m_parameters->verticalHeader()->hide();
    m_parameters->verticalHeader()->setDefaultSectionSize(18);
    m_parameters->setColumnWidth(0, 138);
    m_parameters->setColumnWidth(1, 142);
    m_parameters->horizontalHeader()->setStretchLastSection(true);
    m_parameters->setFixedHeight(118);
    m_parameters->setEditTriggers(QAbstractItemView::AllEditTriggers);
    // Tab leaves the grid for the buttons, from a cell being edited too; the
    // arrows move between cells.
    m_parameters->setTabKeyNavigation(false);
    m_parameters->setItemDelegate(new LeaveOnTabDelegate(m_parameters));
    for (int r = 0; r < rows.size(); ++r) {
        m_parameters->setItem(r, 0, new QTableWidgetItem(rows[r].first));
        m_parameters->setItem(r, 1, new QTableWidgetItem(rows[r].second));
    }
    layout->addWidget(m_parameters);

    m_Button1 = new QPushButton(u"Confirmar"_s, panel);
    m_Button1->setObjectName(u"Button1"_s);
    m_Button2 = new QPushButton(u"Cancelar"_s, panel);
    m_Button2->setObjectName(u"Button2"_s);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_Button1, m_Button2}) {
        button->setFont(tahoma(19, true));
        button->setFixedSize(134, 31);
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    buttons->addWidget(m_Button1);
    buttons->addStretch();
    buttons->addWidget(m_Button2);
    layout->addLayout(buttons);
    connect(m_Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_Button2, &QPushButton::clicked, this, &QDialog::reject);
}

QList<ConnectionParameter> ConnectionDialog::rows() const
{
    QList<ConnectionParameter> out;
    for (int r = 0; r < m_parameters->rowCount(); ++r) {
        const QTableWidgetItem* key = m_parameters->item(r, 0);
        const QTableWidgetItem* value = m_parameters->item(r, 1);
        out.append({key ? key->text() : QString(), value ? value->text() : QString()});
    }
    return out;
}

void ConnectionDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
