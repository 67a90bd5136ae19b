#pragma once

#include "settings/OpcoesQuorvel.h"

#include <QDialog>
#include <QLabel>

#include <array>

class IUserPrompts;
class QCheckBox;
class QComboBox;
class QLabel;
class SettingsLocation;
class QLineEdit;
class QPushButton;
class QTabWidget;

// A sample label of the "Formato HTML" tab: it reports which mouse button was
// released over it.
class RotuloAmostra : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void mouseUp(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The options window: edits sections opcoes, HTML and FormatoHTML of the
// program settings file. Loads when created; "Salvar e sair" writes, "Cancela
// Alterações" and the title bar write nothing.
class TfrmOpcoesQuorvel : public QDialog
{
    Q_OBJECT

public:
    TfrmOpcoesQuorvel(IUserPrompts& prompts, QString arquivoConfiguracao, const QString& versaoPrograma,
                      QWidget* parent = nullptr);
    ~TfrmOpcoesQuorvel() override;

    const OpcoesQuorvel& opcoes() const { return m_opcoes; }
    QTabWidget* abas() const { return m_abas; }
    QCheckBox* cbCOrfao() const { return m_cbCOrfao; }
    QCheckBox* cbHelp() const { return m_cbHelp; }
    QCheckBox* cbMySQL() const { return m_cbMySQL; }
    QCheckBox* cbProcFunc() const { return m_cbProcFunc; }
    // Where the help will really be written, when the window knows the
    // program's settings location: beside a portable program, under the
    // user's documents folder for an installed one.
    void setLocal(const SettingsLocation* local);
    QLabel* lblPastaReal() const { return m_lblPastaReal; }
    QComboBox* cbCodificacao() const { return m_cbCodificacao; }
    QLineEdit* ledtAplicacao() const { return m_ledtAplicacao; }
    QLineEdit* ledtVersao() const { return m_ledtVersao; }
    QLineEdit* ledtPasta() const { return m_ledtPasta; }
    QPushButton* Button1() const { return m_Button1; }
    QPushButton* Button2() const { return m_Button2; }
    // cppcheck-suppress CastIntegerToAddressAtReturn ; the array holds pointers
    RotuloAmostra* rotulo(OpcoesQuorvel::Rotulo r) const { return m_rotulos[r]; }

private:
    void FormCreate(const QString& versaoPrograma);
    void clCabMouseUp(OpcoesQuorvel::Rotulo rotulo, Qt::MouseButton button);
    void Button1Click(QPushButton* sender);
    void mostraOpcoes();
    void mostraRotulo(OpcoesQuorvel::Rotulo rotulo);
    QWidget* criaAbaDocumentacao();
    QWidget* criaAbaHTML();
    QWidget* criaAbaFormato();

    IUserPrompts& m_prompts;
    QString m_arquivoConfiguracao;
    OpcoesQuorvel m_opcoes;

    QTabWidget* m_abas = nullptr;
    QCheckBox* m_cbCOrfao = nullptr;
    QCheckBox* m_cbHelp = nullptr;
    QCheckBox* m_cbMySQL = nullptr;
    QCheckBox* m_cbProcFunc = nullptr;
    QComboBox* m_cbCodificacao = nullptr;
    QLabel* m_lblPastaReal = nullptr;
    const SettingsLocation* m_local = nullptr;
    QLineEdit* m_ledtAplicacao = nullptr;
    QLineEdit* m_ledtVersao = nullptr;
    QLineEdit* m_ledtPasta = nullptr;
    QPushButton* m_Button1 = nullptr;
    QPushButton* m_Button2 = nullptr;
    std::array<RotuloAmostra*, OpcoesQuorvel::RotuloCount> m_rotulos{};
};
