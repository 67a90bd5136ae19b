#pragma once

#include <QDialog>

class QTabWidget;
class QTextEdit;

// The help window: three read-only pages of fixed text. Its caption gains the
// program's name and version when it is first painted.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    HelpWindow(QString programVersion, QWidget* parent = nullptr);

    QTabWidget* PageControl1() const { return m_PageControl1; }
    QTextEdit* RichEdit1() const { return m_RichEdit1; }
    QTextEdit* RichEdit2() const { return m_RichEdit2; }
    QTextEdit* RichEdit3() const { return m_RichEdit3; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_programVersion;
    bool m_painted = false;
    QTabWidget* m_PageControl1 = nullptr;
    QTextEdit* m_RichEdit1 = nullptr;
    QTextEdit* m_RichEdit2 = nullptr;
    QTextEdit* m_RichEdit3 = nullptr;
};
