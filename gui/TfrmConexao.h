#pragma once

#include "common/UserPrompts.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

// The "Conexão MySQL" dialog: a name/value editor of the five connection
// rows (keys and values editable, no rows added or removed, the password in
// plain text), "Confirmar" and "Cancelar".
class TfrmConexao : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmConexao(const QList<ParametroConexao>& rows, QWidget* parent = nullptr);

    QList<ParametroConexao> rows() const;
    QTableWidget* Parametros() const { return m_Parametros; }
    QPushButton* Button1() const { return m_Button1; }
    QPushButton* Button2() const { return m_Button2; }

protected:
    // Neither button is the default or the cancel button: Enter and Escape
    // press nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTableWidget* m_Parametros = nullptr;
    QPushButton* m_Button1 = nullptr;
    QPushButton* m_Button2 = nullptr;
};
