#pragma once

#include "app/QuorvelCore.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

class DocumentView;
class IUserPrompts;
class HelpWindow;
class OptionsWindow;
class QAction;
class QPlainTextEdit;
class GridColumns;
class QTableView;
class QTextEdit;
class QToolBar;

// The main window: the tool bar with every command, the identifier grid and
// the documentation view. It only translates events into calls on the core
// it owns; every dialog goes through the prompts it is given.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Where a window of `frame` size opens on a screen's available area.
    static QPoint placement(QSize frame, const QRect& available);
    // Shows the window at its fixed size where the screen has room for it,
    // else maximised within the screen's available area.
    void showOnScreen();
    void showWithin(const QRect& available);
    explicit MainWindow(IUserPrompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    QuorvelCore& core() { return m_core; }

    // Opens each file as Abrir would once it is chosen (command line, drops).
    void openFiles(const QStringList& files);

    // Runs a command; an error that ends it reaches the error box, and the
    // window keeps what the command had done.
    void runCommand(const std::function<void()>& command);

    QToolBar* toolBar() const { return m_toolBar; }
    QTableView* grid() const { return m_grid; }
    // The grid's column that shows a field of the table, -1 for a field it
    // does not show.
    int gridColumn(int field) const;
    DocumentView* documentLines() const { return m_documentLines; }
    QPlainTextEdit* traceLog() const { return m_traceLog; }
    QPlainTextEdit* cellText() const { return m_cellText; }
    QTableView* descriptionGrid() const { return m_descriptionGrid; }
    QTextEdit* helpBox() const { return m_helpBox; }
    QAction* action(const QString& name) const;
    // The auxiliary window on show, if any; they exist only while shown.
    OptionsWindow* optionsWindow() const { return m_optionsWindow; }
    HelpWindow* helpWindow() const { return m_helpWindow; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void createActions();
    void createGrid();
    void createHiddenViews();

    void runNew();
    void runOpen();
    void gridTitleClicked();
    void gridColumnMoved();
    void gridCellClicked(const QModelIndex& index);
    void runSave();
    void runHtml();
    void toggleDocumentView();
    // Visualizar's caption marks a new document waiting in the shut view.
    void setDocumentReady(bool ready);
    void documentButtonReleased(Qt::MouseButton button);
    void setDocumentHeight(int height);
    void showDocument();
    void showOptions();
    void showHelp();
    void toggleDescriptionGrid();
    void toggleDiagnosticMemos();
    void showCurrentHelp();
    void refreshTraceMemo();

    QuorvelCore m_core;
    IUserPrompts& m_prompts;

    QToolBar* m_toolBar = nullptr;
    QTableView* m_grid = nullptr;
    GridColumns* m_gridColumns = nullptr;
    DocumentView* m_documentLines = nullptr;
    QPlainTextEdit* m_traceLog = nullptr;
    QPlainTextEdit* m_cellText = nullptr;
    QTableView* m_descriptionGrid = nullptr;
    QTextEdit* m_helpBox = nullptr;
    int m_shownRevision = 0;
    OptionsWindow* m_optionsWindow = nullptr;
    HelpWindow* m_helpWindow = nullptr;
    bool m_commandRunning = false;
    bool m_closeWhenDone = false;
    QTimer m_closeLater;
};
