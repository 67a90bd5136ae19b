#include "gui/MainWindow.h"
#include "common/ErrorText.h"
#include "common/Program.h"
#include "common/ProgramFile.h"

#include "common/Fonts.h"

#include "common/QuorvelError.h"
#include "common/UserPrompts.h"
#include "database/TableDescription.h"
#include "gui/DocumentView.h"
#include "gui/GridColumns.h"
#include "gui/HelpWindow.h"
#include "gui/OptionsWindow.h"
#include "gui/ShownOnly.h"
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

QPlainTextEdit* makeHiddenMemo(QWidget* parent, const QString& name, QSize size)
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
    return ProjectFiles::opens(path);
}

} // namespace

MainWindow::MainWindow(IUserPrompts& prompts, QWidget* parent)
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
    layout->addWidget(m_grid, 1);

    m_documentLines = new DocumentView(central);
    m_documentLines->setObjectName(u"reDocumentacao"_s);
    QFont courier(u"Courier New"_s);
    courier.setPixelSize(11);
    m_documentLines->setFont(courier);
    m_documentLines->setFixedHeight(11);
    m_documentLines->setReadOnly(true);
    m_documentLines->hide();
    layout->addWidget(m_documentLines);

    createHiddenViews();
    FormCreate();
    // A close asked for during a command happens once the command is over.
    m_closeLater.setSingleShot(true);
    m_closeLater.setInterval(0);
    connect(&m_closeLater, &QTimer::timeout, this, &QWidget::close);

    if (const QScreen* screen = this->screen())
        move(placement(frameGeometry().size(), screen->availableGeometry()));
}

void MainWindow::showOnScreen()
{
    const QScreen* screen = this->screen();
    showWithin(screen != nullptr ? screen->availableGeometry() : QRect(QPoint(), size()));
}

void MainWindow::showWithin(const QRect& available)
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

QPoint MainWindow::placement(QSize frame, const QRect& available)
{
    // Centred, but never above or left of the available area: a window that
    // is larger than the screen (a scale of 2) keeps its title bar in reach.
    QRect placed(QPoint(), frame);
    placed.moveCenter(available.center());
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    return placed.topLeft();
}

MainWindow::~MainWindow() = default;

void MainWindow::FormCreate()
{
    setWindowTitle(windowTitle() % u" - ("_s % Program::version() % u')');
    m_core.setProgramFolder(ProgramFile::folder());
    m_documentLines->setReadOnly(false);
    m_documentLines->clear();
    m_documentLines->setReadOnly(true);
}

void MainWindow::createActions()
{
    m_toolBar = new CommandBar(u"ToolBar1"_s, this);
    m_toolBar->setObjectName(u"ToolBar1"_s);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setFixedHeight(53);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setStyleSheet(
        u"QToolBar { border: none; padding: 0px 3px; spacing: 0px;"
        u" background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #a6caf0, stop:1 palette(button)); }"
        u"QToolBar::separator { width: 8px; }"
        u"QToolButton { border: none; padding: 1px; font-family: Tahoma; font-size: 11px; }"
        u"QToolButton:hover { background: #a6caf0; }"
        u"QToolButton:pressed { background: #8fb6e0; }"_s);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    struct Command
    {
        const char16_t* name;
        const char16_t* caption;
        const char16_t* icon;
        const char16_t* button;
        void (MainWindow::*handler)();
    };
    const Command commands[] = {
        {u"Novo", u"Novo", u"novo", u"tbtnNovo", &MainWindow::runNew},
        {u"Abrir", u"&Abrir", u"abrir", u"tbtnAbrir", &MainWindow::runOpen},
        {u"Salvar", u"&Salvar", u"salvar", u"tbtnSalvar", &MainWindow::runSave},
        {u"Visualizar", u"&Visualizar", u"visualizar", u"tbtnVisualizar", &MainWindow::toggleDocumentView},
        {nullptr, nullptr, nullptr, u"ToolButton2", nullptr},
        {u"HTML", u"&HTML", u"html", u"tbtnHTML", &MainWindow::runHtml},
        {u"ToolButton1", u"DBGrid2", u"opcoes", u"ToolButton1", &MainWindow::toggleDescriptionGrid},
        {u"ToolButton3", u"Memos", u"opcoes", u"ToolButton3", &MainWindow::toggleDiagnosticMemos},
        {u"Opcoes", u"Opções", u"opcoes", u"tbtnOpcoes", &MainWindow::showOptions},
        {u"Ajuda", u"Ajuda", u"ajuda", u"tbtnAjuda", &MainWindow::showHelp},
    };
    for (const Command& command : commands) {
        if (!command.name) {
            m_toolBar->addSeparator()->setObjectName(QString::fromUtf16(command.button));
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
        m_toolBar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action))) {
            button->setObjectName(QString::fromUtf16(command.button));
            button->setFixedSize(58, 52);
        }
        if (command.name == QStringView(u"Visualizar"))
            m_toolBar->widgetForAction(action)->installEventFilter(this);
        // Two diagnostic buttons stay hidden.
        if (command.name == QStringView(u"ToolButton1") || command.name == QStringView(u"ToolButton3"))
            action->setVisible(false);
    }
}

QAction* MainWindow::action(const QString& name) const
{
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void MainWindow::createGrid()
{
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"DBGrid1"_s);
    // The grid's model holds the columns it shows, in their first order.
    m_gridColumns = new GridColumns(IdentifierTable::initialColumnOrder(), this);
    m_gridColumns->setSourceModel(&m_core.identifiers());
    m_grid->setModel(m_gridColumns);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSortingEnabled(false);
    m_grid->setWordWrap(false);
    // No row header to see; it stays in the grid at no width, for a hidden
    // one would still be read out, as hidden widgets are.
    m_grid->verticalHeader()->setMinimumSectionSize(0);
    m_grid->verticalHeader()->setFixedWidth(0);
    m_grid->verticalHeader()->setDefaultSectionSize(17);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    const int widths[] = {136, 283, 165, 57, 104};
    for (int column = 0; column < m_gridColumns->columnCount(); ++column)
        header->resizeSection(column, widths[column]);
    connect(header, &QHeaderView::sectionClicked, this, &MainWindow::gridTitleClicked);
    connect(header, &QHeaderView::sectionMoved, this, &MainWindow::gridColumnMoved);
    connect(m_grid, &QTableView::clicked, this, &MainWindow::gridCellClicked);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_core.identifiers().cursor() != current.row())
                    m_core.identifiers().setCursor(current.row());
                showCurrentHelp();
            });
    // The grid follows the table's cursor when a walk of the table moves it.
    connect(&m_core.identifiers(), &IdentifierTable::cursorMoved, this, [this](int place) {
        if (place >= 0 && m_grid->currentIndex().row() != place)
            m_grid->setCurrentIndex(m_gridColumns->index(place, gridColumn(IdentifierTable::Unit)));
    });
}

int MainWindow::gridColumn(int field) const
{
    return m_gridColumns->columnOf(field);
}

void MainWindow::createHiddenViews()
{
    m_traceLog = makeHiddenMemo(centralWidget(), u"Memo1"_s, QSize(753, 209));
    m_cellText = makeHiddenMemo(centralWidget(), u"Memo2"_s, QSize(753, 202));
    m_cellText->move(16, 280);

    m_descriptionGrid = new QTableView(centralWidget());
    m_descriptionGrid->setObjectName(u"DBGrid2"_s);
    m_descriptionGrid->setGeometry(32, 80, 721, 385);
    m_descriptionGrid->setModel(&m_core.tableDescription());
    m_descriptionGrid->hide();

    // Follows the table's current row; word wrap on, in the window's font.
    m_helpBox = new QTextEdit(centralWidget());
    m_helpBox->setObjectName(u"DBHelp"_s);
    m_helpBox->setGeometry(8, 500, 776, 31);
    m_helpBox->setReadOnly(true);
    m_helpBox->setLineWrapMode(QTextEdit::WidgetWidth);
    m_helpBox->hide();
}

void MainWindow::runCommand(const std::function<void()>& command)
{
    m_commandRunning = true;
    try {
        command();
    } catch (const std::exception& e) {
        m_prompts.showError(textForUser(e));
    }
    m_commandRunning = false;
    showDocument();
    if (m_traceLog->isVisible())
        refreshTraceMemo();
    if (m_closeWhenDone) { // the window was closed while the command ran
        m_closeWhenDone = false;
        m_closeLater.start();
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
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

void MainWindow::showDocument()
{
    if (m_shownRevision == m_core.documentRevision())
        return;
    m_shownRevision = m_core.documentRevision();
    m_documentLines->setReadOnly(false);
    m_documentLines->setLines(m_core.documentLines());
    m_documentLines->setReadOnly(true);
}

void MainWindow::openFiles(const QStringList& files)
{
    // A Cancel ends the whole command: the files after it are not opened.
    int found = 0;
    bool read = false;
    for (const QString& file : files) {
        runCommand([&] {
            m_core.openFile(file);
            read = read || m_core.rowsFound() >= 0;
            found += std::max(0, m_core.rowsFound());
        });
        if (m_core.openingCancelled())
            return;
    }
    if (read && found == 0)
        m_core.remindOfTheMarkers();
}

void MainWindow::runNew()
{
    runCommand([this] {
        const bool opened = m_core.runNew([this] {
            showDocument();
            setDocumentReady(false);
        });
        if (opened && m_core.rowsFound() == 0 && !m_core.openingCancelled())
            m_core.remindOfTheMarkers();
    });
}

void MainWindow::runOpen()
{
    runCommand([this] {
        if (m_core.runOpen() && m_core.rowsFound() == 0 && !m_core.openingCancelled())
            m_core.remindOfTheMarkers();
    });
}

void MainWindow::gridTitleClicked()
{
    runCommand([this] { m_core.gridTitleClicked(); });
}

void MainWindow::gridColumnMoved()
{
    QHeaderView* header = m_grid->horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        columns.append(m_gridColumns->sourceColumn(header->logicalIndex(visual)));
    }
    runCommand([&] { m_core.gridColumnMoved(columns); });
}

void MainWindow::gridCellClicked(const QModelIndex& index)
{
    m_core.gridCellClicked(index.row(), m_gridColumns->sourceColumn(index.column()));
    m_cellText->setPlainText(m_core.cellText());
}

void MainWindow::showCurrentHelp()
{
    const QModelIndex current = m_grid->currentIndex();
    m_helpBox->setPlainText(current.isValid() ? m_core.identifiers().row(current.row()).help : QString());
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

void MainWindow::showOptions()
{
    runCommand([this] {
        OptionsWindow window(m_prompts, m_core.settingsFile(), Program::version(), this);
        window.setLocation(&m_core.settings());
        const Showing showing(m_optionsWindow, window);
        window.exec();
    });
}

void MainWindow::showHelp()
{
    runCommand([this] {
        HelpWindow window(Program::version(), this);
        const Showing showing(m_helpWindow, window);
        window.exec();
    });
}

void MainWindow::runHtml()
{
    runCommand([this] {
        if (!m_core.runHtml())
            return;
        // Where the site is, and the way to it: its first page in the browser.
        const QString index = m_core.siteStartPage(m_core.siteIdentity().folder);
        const Answer answer = m_prompts.ask(
            Question{Topic::SiteWritten,
                     u"O help foi gerado em\r"_s % index % u"\r\rDeseja abri-lo no navegador?"_s,
                     {Answer::Yes, Answer::No},
                     Answer::Yes,
                     {},
                     0,
                     {}});
        if (answer == Answer::Yes)
            QDesktopServices::openUrl(QUrl::fromLocalFile(index));
    });
}

void MainWindow::runSave()
{
    runCommand([this] { m_core.runSave(); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        documentButtonReleased(static_cast<QMouseEvent*>(event)->button());
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::documentButtonReleased(Qt::MouseButton button)
{
    // The right button builds the document; the view stays as it is. An
    // open view shows the new document; a shut one's caption says it is ready.
    if (button != Qt::RightButton)
        return;
    const int before = m_core.documentRevision();
    runCommand([this] { m_core.buildDocument(); });
    // Only a new document with something in it is worth the mark.
    const bool built = m_core.documentRevision() != before && !m_core.documentLines().isEmpty();
    setDocumentReady(built && !m_documentLines->isVisible());
}

void MainWindow::setDocumentReady(bool ready)
{
    if (m_documentLines->isVisible())
        return; // the caption says Ocultar
    action(u"Visualizar"_s)->setIconText(ready ? u"&Visualizar\u2713"_s : u"&Visualizar"_s);
}

void MainWindow::setDocumentHeight(int height)
{
    m_documentLines->setFixedHeight(height);
    centralWidget()->layout()->activate();
    centralWidget()->repaint();
}

void MainWindow::toggleDocumentView()
{
    // 37 steps of 10 pixels, 10 ms each; no other input is handled meanwhile.
    QAction* viewAction = action(u"Visualizar"_s);
    if (!m_documentLines->isVisible()) {
        m_documentLines->setVisible(true);
        for (int height = 20; height <= 380; height += 10) {
            setDocumentHeight(height);
            QThread::msleep(10);
        }
        viewAction->setText(u"  &Ocultar "_s);
        viewAction->setIconText(u"&Ocultar"_s);
        m_documentLines->setFocus();
        // While the view was a few pixels high it scrolled to keep its cursor
        // in sight; it opens at its top, the first line whole.
        m_documentLines->verticalScrollBar()->setValue(0);
    } else {
        for (int height = 370; height >= 10; height -= 10) {
            setDocumentHeight(height);
            QThread::msleep(10);
        }
        viewAction->setText(u"&Visualizar"_s);
        viewAction->setIconText(u"&Visualizar"_s);
        m_documentLines->setVisible(false);
    }
}

void MainWindow::toggleDescriptionGrid()
{
    m_descriptionGrid->setVisible(!m_descriptionGrid->isVisible());
}

void MainWindow::toggleDiagnosticMemos()
{
    m_traceLog->setVisible(!m_traceLog->isVisible());
    m_cellText->setVisible(!m_cellText->isVisible());
    if (m_traceLog->isVisible())
        refreshTraceMemo();
}

void MainWindow::refreshTraceMemo()
{
    // The trace becomes text only when somebody looks at it.
    m_traceLog->setPlainText(m_core.traceLog().text());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && isSourceFile(url.toLocalFile())) {
            event->acceptProposedAction();
            return;
        }
    }
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && isSourceFile(url.toLocalFile()))
            files.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    openFiles(files);
}
