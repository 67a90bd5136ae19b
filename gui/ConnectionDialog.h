#pragma once

#include "common/UserPrompts.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

// The "Conexão MySQL" dialog: a name/value editor of the five connection
// rows (keys and values editable, no rows added or removed, the password in
// plain text), "Confirmar" and "Cancelar".
class ConnectionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectionDialog(const QList<ConnectionParameter>& rows, QWidget* parent = nullptr);

    QList<ConnectionParameter> rows() const;
    QTableWidget* parameters() const { return m_parameters; }
    QPushButton* Button1() const { return m_Button1; }
    QPushButton* Button2() const { return m_Button2; }

protected:
    // Neither button is the default or the cancel button: Enter and Escape
    // press nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTableWidget* m_parameters = nullptr;
    QPushButton* m_Button1 = nullptr;
    QPushButton* m_Button2 = nullptr;
};
