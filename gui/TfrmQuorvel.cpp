#include "gui/TfrmQuorvel.h"
#include "common/ErrorText.h"
#include "common/Program.h"
#include "common/ProgramFile.h"

#include "common/Fonts.h"

#include "common/QuorvelError.h"
#include "common/UserPrompts.h"
#include "database/DescricaoTabela.h"
#include "gui/DocumentView.h"
#include "gui/GridColumns.h"
#include "gui/ShownOnly.h"
#include "gui/TfrmAjudaQuorvel.h"
#include "gui/TfrmOpcoesQuorvel.h"
#include "harvest/ProjectFiles.h"
#include "table/IdentifierTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

QPlainTextEdit* makeMemo(QWidget* parent, const QString& name, QSize size)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setFont(tahoma(13)); // Tahoma 10 point
    memo->setStyleSheet(u"QPlainTextEdit { background: #bfcddb; color: palette(text); }"_s);
    memo->setPlainText(name);
    memo->setGeometry(QRect(QPoint(16, 64), size));
    memo->hide();
    return memo;
}

bool isSourceFile(const QString& path)
{
    return ProjectFiles::seAbre(path);
}

} // namespace

TfrmQuorvel::TfrmQuorvel(IUserPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_core(prompts), m_prompts(prompts)
{
    setObjectName(u"frmQuorvel"_s);
    setWindowTitle(u"Quorvel"_s);
    setFont(tahoma(11));
    setFixedSize(792, 566); // the client area of an 800 by 600 window
    setAcceptDrops(true);

    installShownOnlyAccessibility();
    auto* central = new MainArea(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    setCentralWidget(central);

    createActions();
    createGrid();
    layout->addWidget(m_DBGrid1, 1);

    m_reDocumentacao = new DocumentView(central);
    m_reDocumentacao->setObjectName(u"reDocumentacao"_s);
    QFont courier(u"Courier New"_s);
    courier.setPixelSize(11);
    m_reDocumentacao->setFont(courier);
    m_reDocumentacao->setFixedHeight(11);
    m_reDocumentacao->setReadOnly(true);
    m_reDocumentacao->hide();
    layout->addWidget(m_reDocumentacao);

    createHiddenViews();
    FormCreate();
    // A close asked for during a command happens once the command is over.
    m_closeLater.setSingleShot(true);
    m_closeLater.setInterval(0);
    connect(&m_closeLater, &QTimer::timeout, this, &QWidget::close);

    if (const QScreen* screen = this->screen())
        move(placement(frameGeometry().size(), screen->availableGeometry()));
}

void TfrmQuorvel::showOnScreen()
{
    const QScreen* screen = this->screen();
    showWithin(screen != nullptr ? screen->availableGeometry() : QRect(QPoint(), size()));
}

void TfrmQuorvel::showWithin(const QRect& available)
{
    // The window manager's title bar and borders are not known before the
    // window is shown: this much room is kept for them.
    constexpr QSize decorations(16, 40);
    if (size().width() + decorations.width() <= available.width() &&
        size().height() + decorations.height() <= available.height()) {
        show();
        return;
    }
    // Too large for the screen (a scale of 2 on a small one): the window
    // takes the available area, its contents as they are at its top left.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setGeometry(available);
    showMaximized();
}

QPoint TfrmQuorvel::placement(QSize frame, const QRect& available)
{
    // Centred, but never above or left of the available area: a window that
    // is larger than the screen (a scale of 2) keeps its title bar in reach.
    QRect placed(QPoint(), frame);
    placed.moveCenter(available.center());
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    return placed.topLeft();
}

TfrmQuorvel::~TfrmQuorvel() = default;

void TfrmQuorvel::FormCreate()
{
    setWindowTitle(windowTitle() % u" - ("_s % Programa::versao() % u')');
    m_core.setPastaExecutavel(ProgramFile::folder());
    m_reDocumentacao->setReadOnly(false);
    m_reDocumentacao->clear();
    m_reDocumentacao->setReadOnly(true);
}

void TfrmQuorvel::createActions()
{
    m_ToolBar1 = new CommandBar(u"ToolBar1"_s, this);
    m_ToolBar1->setObjectName(u"ToolBar1"_s);
    m_ToolBar1->setMovable(false);
    m_ToolBar1->setFloatable(false);
    m_ToolBar1->setIconSize(QSize(32, 32));
    m_ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_ToolBar1->setFixedHeight(53);
    m_ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    m_ToolBar1->setStyleSheet(
        u"QToolBar { border: none; padding: 0px 3px; spacing: 0px;"
        u" background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #a6caf0, stop:1 palette(button)); }"
        u"QToolBar::separator { width: 8px; }"
        u"QToolButton { border: none; padding: 1px; font-family: Tahoma; font-size: 11px; }"
        u"QToolButton:hover { background: #a6caf0; }"
        u"QToolButton:pressed { background: #8fb6e0; }"_s);
    addToolBar(Qt::TopToolBarArea, m_ToolBar1);

    struct Command
    {
        const char16_t* name;
        const char16_t* caption;
        const char16_t* icon;
        const char16_t* button;
        void (TfrmQuorvel::*handler)();
    };
    const Command commands[] = {
        {u"Novo", u"Novo", u"novo", u"tbtnNovo", &TfrmQuorvel::NovoExecute},
        {u"Abrir", u"&Abrir", u"abrir", u"tbtnAbrir", &TfrmQuorvel::AbrirExecute},
        {u"Salvar", u"&Salvar", u"salvar", u"tbtnSalvar", &TfrmQuorvel::SalvarExecute},
        {u"Visualizar", u"&Visualizar", u"visualizar", u"tbtnVisualizar", &TfrmQuorvel::VisualizarExecute},
        {nullptr, nullptr, nullptr, u"ToolButton2", nullptr},
        {u"HTML", u"&HTML", u"html", u"tbtnHTML", &TfrmQuorvel::HTMLExecute},
        {u"ToolButton1", u"DBGrid2", u"opcoes", u"ToolButton1", &TfrmQuorvel::ToolButton1Click},
        {u"ToolButton3", u"Memos", u"opcoes", u"ToolButton3", &TfrmQuorvel::ToolButton3Click},
        {u"Opcoes", u"Opções", u"opcoes", u"tbtnOpcoes", &TfrmQuorvel::OpcoesExecute},
        {u"Ajuda", u"Ajuda", u"ajuda", u"tbtnAjuda", &TfrmQuorvel::AjudaExecute},
    };
    for (const Command& command : commands) {
        if (!command.name) {
            m_ToolBar1->addSeparator()->setObjectName(QString::fromUtf16(command.button));
            continue;
        }
        const QString caption = QString::fromUtf16(command.caption);
        auto* action =
            new QAction(QIcon(u":/icons/"_s % QString::fromUtf16(command.icon) % u".svg"_s), caption, this);
        action->setObjectName(QString::fromUtf16(command.name));
        // The button shows the caption with its access letter underlined, as
        // a menu item does, and Alt with that letter presses it.
        action->setIconText(caption);
        connect(action, &QAction::triggered, this, command.handler);
        m_ToolBar1->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(m_ToolBar1->widgetForAction(action))) {
            button->setObjectName(QString::fromUtf16(command.button));
            button->setFixedSize(58, 52);
        }
        if (command.name == QStringView(u"Visualizar"))
            m_ToolBar1->widgetForAction(action)->installEventFilter(this);
        // Two diagnostic buttons stay hidden.
        if (command.name == QStringView(u"ToolButton1") || command.name == QStringView(u"ToolButton3"))
            action->setVisible(false);
    }
}

QAction* TfrmQuorvel::action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TfrmQuorvel::createGrid()
{
    m_DBGrid1 = new QTableView(this);
    m_DBGrid1->setObjectName(u"DBGrid1"_s);
    // The grid's model holds the columns it shows, in their first order.
    m_gridColumns = new GridColumns(IdentifierTable::initialColumnOrder(), this);
    m_gridColumns->setSourceModel(&m_core.cdsUnits());
    m_DBGrid1->setModel(m_gridColumns);
    m_DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    m_DBGrid1->setSortingEnabled(false);
    m_DBGrid1->setWordWrap(false);
    // No row header to see; it stays in the grid at no width, for a hidden
    // one would still be read out, as hidden widgets are.
    m_DBGrid1->verticalHeader()->setMinimumSectionSize(0);
    m_DBGrid1->verticalHeader()->setFixedWidth(0);
    m_DBGrid1->verticalHeader()->setDefaultSectionSize(17);
    m_DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = m_DBGrid1->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    const int widths[] = {136, 283, 165, 57, 104};
    for (int column = 0; column < m_gridColumns->columnCount(); ++column)
        header->resizeSection(column, widths[column]);
    connect(header, &QHeaderView::sectionClicked, this, &TfrmQuorvel::DBGrid1TitleClick);
    connect(header, &QHeaderView::sectionMoved, this, &TfrmQuorvel::DBGrid1ColumnMoved);
    connect(m_DBGrid1, &QTableView::clicked, this, &TfrmQuorvel::DBGrid1CellClick);
    connect(m_DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_core.cdsUnits().cursor() != current.row())
                    m_core.cdsUnits().setCursor(current.row());
                showCurrentHelp();
            });
    // The grid follows the table's cursor when a walk of the table moves it.
    connect(&m_core.cdsUnits(), &IdentifierTable::cursorMoved, this, [this](int place) {
        if (place >= 0 && m_DBGrid1->currentIndex().row() != place)
            m_DBGrid1->setCurrentIndex(m_gridColumns->index(place, gridColumn(IdentifierTable::Unit)));
    });
}

int TfrmQuorvel::gridColumn(int field) const
{
    return m_gridColumns->columnOf(field);
}

void TfrmQuorvel::createHiddenViews()
{
    m_Memo1 = makeMemo(centralWidget(), u"Memo1"_s, QSize(753, 209));
    m_Memo2 = makeMemo(centralWidget(), u"Memo2"_s, QSize(753, 202));
    m_Memo2->move(16, 280);

    m_DBGrid2 = new QTableView(centralWidget());
    m_DBGrid2->setObjectName(u"DBGrid2"_s);
    m_DBGrid2->setGeometry(32, 80, 721, 385);
    m_DBGrid2->setModel(&m_core.cdsTable());
    m_DBGrid2->hide();

    // Follows the table's current row; word wrap on, in the window's font.
    m_DBHelp = new QTextEdit(centralWidget());
    m_DBHelp->setObjectName(u"DBHelp"_s);
    m_DBHelp->setGeometry(8, 500, 776, 31);
    m_DBHelp->setReadOnly(true);
    m_DBHelp->setLineWrapMode(QTextEdit::WidgetWidth);
    m_DBHelp->hide();
}

void TfrmQuorvel::runCommand(const std::function<void()>& command)
{
    m_commandRunning = true;
    try {
        command();
    } catch (const std::exception& e) {
        m_prompts.showError(textForUser(e));
    }
    m_commandRunning = false;
    showDocument();
    if (m_Memo1->isVisible())
        refreshMemo1();
    if (m_closeWhenDone) { // the window was closed while the command ran
        m_closeWhenDone = false;
        m_closeLater.start();
    }
}

void TfrmQuorvel::closeEvent(QCloseEvent* event)
{
    // Closed during an opening: the opening stops as a Cancel stops it, and
    // the window closes once it has.
    if (m_commandRunning) {
        m_prompts.requestCancel();
        m_closeWhenDone = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TfrmQuorvel::showDocument()
{
    if (m_revisaoMostrada == m_core.revisaoDocumentacao())
        return;
    m_revisaoMostrada = m_core.revisaoDocumentacao();
    m_reDocumentacao->setReadOnly(false);
    m_reDocumentacao->setLines(m_core.reDocumentacao());
    m_reDocumentacao->setReadOnly(true);
}

void TfrmQuorvel::openFiles(const QStringList& files)
{
    // A Cancel ends the whole command: the files after it are not opened.
    for (const QString& file : files) {
        runCommand([&] { m_core.abreArquivo(file); });
        if (m_core.aberturaCancelada())
            break;
    }
}

void TfrmQuorvel::NovoExecute()
{
    runCommand([this] {
        m_core.NovoExecute([this] {
            showDocument();
            setDocumentReady(false);
        });
    });
}

void TfrmQuorvel::AbrirExecute()
{
    runCommand([this] { m_core.AbrirExecute(); });
}

void TfrmQuorvel::DBGrid1TitleClick()
{
    runCommand([this] { m_core.DBGrid1TitleClick(); });
}

void TfrmQuorvel::DBGrid1ColumnMoved()
{
    QHeaderView* header = m_DBGrid1->horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        columns.append(m_gridColumns->sourceColumn(header->logicalIndex(visual)));
    }
    runCommand([&] { m_core.DBGrid1ColumnMoved(columns); });
}

void TfrmQuorvel::DBGrid1CellClick(const QModelIndex& index)
{
    m_core.DBGrid1CellClick(index.row(), m_gridColumns->sourceColumn(index.column()));
    m_Memo2->setPlainText(m_core.Memo2());
}

void TfrmQuorvel::showCurrentHelp()
{
    const QModelIndex current = m_DBGrid1->currentIndex();
    m_DBHelp->setPlainText(current.isValid() ? m_core.cdsUnits().row(current.row()).helpIdentificador
                                             : QString());
}

namespace {

// Keeps a pointer to a modal window while it is shown, and clears it however
// the modal loop ends.
template <typename Window> class Showing
{
public:
    Showing(Window*& slot, Window& window) : m_slot(slot) { m_slot = &window; }
    ~Showing() { m_slot = nullptr; }
    Showing(const Showing&) = delete;
    Showing& operator=(const Showing&) = delete;

private:
    Window*& m_slot;
};

} // namespace

void TfrmQuorvel::OpcoesExecute()
{
    runCommand([this] {
        TfrmOpcoesQuorvel window(m_prompts, m_core.arquivoConfiguracao(), Programa::versao(), this);
        window.setLocal(&m_core.settings());
        const Showing showing(m_frmOpcoesQuorvel, window);
        window.exec();
    });
}

void TfrmQuorvel::AjudaExecute()
{
    runCommand([this] {
        TfrmAjudaQuorvel window(Programa::versao(), this);
        const Showing showing(m_frmAjudaQuorvel, window);
        window.exec();
    });
}

void TfrmQuorvel::HTMLExecute()
{
    runCommand([this] {
        if (!m_core.HTMLExecute())
            return;
        // Where the site is, and the way to it: its first page in the browser.
        const QString index = QDir(m_core.identidadeHTML().pasta).absoluteFilePath(u"index.htm"_s);
        const Answer resposta = m_prompts.ask(
            Question{Topic::SiteWritten,
                     u"O help foi gerado em\r"_s % index % u"\r\rDeseja abri-lo no navegador?"_s,
                     {Answer::Yes, Answer::No},
                     Answer::Yes,
                     {},
                     0});
        if (resposta == Answer::Yes)
            QDesktopServices::openUrl(QUrl::fromLocalFile(index));
    });
}

void TfrmQuorvel::SalvarExecute()
{
    runCommand([this] { m_core.SalvarExecute(); });
}

bool TfrmQuorvel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        tbtnVisualizarMouseUp(static_cast<QMouseEvent*>(event)->button());
    return QMainWindow::eventFilter(watched, event);
}

void TfrmQuorvel::tbtnVisualizarMouseUp(Qt::MouseButton button)
{
    // The right button builds the document; the view stays as it is. An
    // open view shows the new document; a shut one's caption says it is ready.
    if (button != Qt::RightButton)
        return;
    const int before = m_core.revisaoDocumentacao();
    runCommand([this] { m_core.GeraDocumentacao(); });
    // Only a new document with something in it is worth the mark.
    const bool built = m_core.revisaoDocumentacao() != before && !m_core.reDocumentacao().isEmpty();
    setDocumentReady(built && !m_reDocumentacao->isVisible());
}

void TfrmQuorvel::setDocumentReady(bool ready)
{
    if (m_reDocumentacao->isVisible())
        return; // the caption says Ocultar
    action(u"Visualizar"_s)->setIconText(ready ? u"&Visualizar\u2713"_s : u"&Visualizar"_s);
}

void TfrmQuorvel::setDocumentHeight(int height)
{
    m_reDocumentacao->setFixedHeight(height);
    centralWidget()->layout()->activate();
    centralWidget()->repaint();
}

void TfrmQuorvel::VisualizarExecute()
{
    // 37 steps of 10 pixels, 10 ms each; no other input is handled meanwhile.
    QAction* visualizar = action(u"Visualizar"_s);
    if (!m_reDocumentacao->isVisible()) {
        m_reDocumentacao->setVisible(true);
        for (int height = 20; height <= 380; height += 10) {
            setDocumentHeight(height);
            QThread::msleep(10);
        }
        visualizar->setText(u"  &Ocultar "_s);
        visualizar->setIconText(u"&Ocultar"_s);
        m_reDocumentacao->setFocus();
        // While the view was a few pixels high it scrolled to keep its cursor
        // in sight; it opens at its top, the first line whole.
        m_reDocumentacao->verticalScrollBar()->setValue(0);
    } else {
        for (int height = 370; height >= 10; height -= 10) {
            setDocumentHeight(height);
            QThread::msleep(10);
        }
        visualizar->setText(u"&Visualizar"_s);
        visualizar->setIconText(u"&Visualizar"_s);
        m_reDocumentacao->setVisible(false);
    }
}

void TfrmQuorvel::ToolButton1Click()
{
    m_DBGrid2->setVisible(!m_DBGrid2->isVisible());
}

void TfrmQuorvel::ToolButton3Click()
{
    m_Memo1->setVisible(!m_Memo1->isVisible());
    m_Memo2->setVisible(!m_Memo2->isVisible());
    if (m_Memo1->isVisible())
        refreshMemo1();
}

void TfrmQuorvel::refreshMemo1()
{
    // The trace becomes text only when somebody looks at it.
    m_Memo1->setPlainText(m_core.Memo1().text());
}

void TfrmQuorvel::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && isSourceFile(url.toLocalFile())) {
            event->acceptProposedAction();
            return;
        }
    }
}

void TfrmQuorvel::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && isSourceFile(url.toLocalFile()))
            files.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    openFiles(files);
}
