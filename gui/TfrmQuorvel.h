#pragma once

#include "app/QuorvelCore.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

class DocumentView;
class IUserPrompts;
class TfrmAjudaQuorvel;
class TfrmOpcoesQuorvel;
class QAction;
class QPlainTextEdit;
class GridColumns;
class QTableView;
class QTextEdit;
class QToolBar;

// The main window: the tool bar with every command, the identifier grid and
// the documentation view. It only translates events into calls on the core
// it owns; every dialog goes through the prompts it is given.
class TfrmQuorvel : public QMainWindow
{
    Q_OBJECT

public:
    // Where a window of `frame` size opens on a screen's available area.
    static QPoint placement(QSize frame, const QRect& available);
    // Shows the window at its fixed size where the screen has room for it,
    // else maximised within the screen's available area.
    void showOnScreen();
    void showWithin(const QRect& available);
    explicit TfrmQuorvel(IUserPrompts& prompts, QWidget* parent = nullptr);
    ~TfrmQuorvel() override;

    QuorvelCore& core() { return m_core; }

    // Opens each file as Abrir would once it is chosen (command line, drops).
    void openFiles(const QStringList& files);

    // Runs a command; an error that ends it reaches the error box, and the
    // window keeps what the command had done.
    void runCommand(const std::function<void()>& command);

    QToolBar* ToolBar1() const { return m_ToolBar1; }
    QTableView* DBGrid1() const { return m_DBGrid1; }
    // The grid's column that shows a field of the table, -1 for a field it
    // does not show.
    int gridColumn(int field) const;
    DocumentView* reDocumentacao() const { return m_reDocumentacao; }
    QPlainTextEdit* Memo1() const { return m_Memo1; }
    QPlainTextEdit* Memo2() const { return m_Memo2; }
    QTableView* DBGrid2() const { return m_DBGrid2; }
    QTextEdit* DBHelp() const { return m_DBHelp; }
    QAction* action(const QString& name) const;
    // The auxiliary window on show, if any; they exist only while shown.
    TfrmOpcoesQuorvel* frmOpcoesQuorvel() const { return m_frmOpcoesQuorvel; }
    TfrmAjudaQuorvel* frmAjudaQuorvel() const { return m_frmAjudaQuorvel; }

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

    void NovoExecute();
    void AbrirExecute();
    void DBGrid1TitleClick();
    void DBGrid1ColumnMoved();
    void DBGrid1CellClick(const QModelIndex& index);
    void SalvarExecute();
    void HTMLExecute();
    void VisualizarExecute();
    // Visualizar's caption marks a new document waiting in the shut view.
    void setDocumentReady(bool ready);
    void tbtnVisualizarMouseUp(Qt::MouseButton button);
    void setDocumentHeight(int height);
    void showDocument();
    void OpcoesExecute();
    void AjudaExecute();
    void ToolButton1Click();
    void ToolButton3Click();
    void showCurrentHelp();
    void refreshMemo1();

    QuorvelCore m_core;
    IUserPrompts& m_prompts;

    QToolBar* m_ToolBar1 = nullptr;
    QTableView* m_DBGrid1 = nullptr;
    GridColumns* m_gridColumns = nullptr;
    DocumentView* m_reDocumentacao = nullptr;
    QPlainTextEdit* m_Memo1 = nullptr;
    QPlainTextEdit* m_Memo2 = nullptr;
    QTableView* m_DBGrid2 = nullptr;
    QTextEdit* m_DBHelp = nullptr;
    int m_revisaoMostrada = 0;
    TfrmOpcoesQuorvel* m_frmOpcoesQuorvel = nullptr;
    TfrmAjudaQuorvel* m_frmAjudaQuorvel = nullptr;
    bool m_commandRunning = false;
    bool m_closeWhenDone = false;
    QTimer m_closeLater;
};
