#pragma once

#include "settings/OptionsState.h"

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
class SampleLabel : public QLabel
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
class OptionsWindow : public QDialog
{
    Q_OBJECT

public:
    OptionsWindow(IUserPrompts& prompts, QString settingsFile, const QString& programVersion,
                  QWidget* parent = nullptr);
    ~OptionsWindow() override;

    const OptionsState& options() const { return m_options; }
    QTabWidget* tabs() const { return m_tabs; }
    QCheckBox* orphansBox() const { return m_orphansBox; }
    QCheckBox* generalHelpBox() const { return m_generalHelpBox; }
    QCheckBox* mySqlBox() const { return m_mySqlBox; }
    QCheckBox* routinesBox() const { return m_routinesBox; }
    // Where the help will really be written, when the window knows the
    // program's settings location: beside a portable program, under the
    // user's documents folder for an installed one.
    void setLocation(const SettingsLocation* local);
    QLabel* realFolderLabel() const { return m_realFolderLabel; }
    QComboBox* encodingBox() const { return m_encodingBox; }
    QComboBox* siteStyleBox() const { return m_siteStyleBox; }
    QLabel* siteStylePreview() const { return m_siteStylePreview; }
    QLineEdit* applicationEdit() const { return m_applicationEdit; }
    QLineEdit* versionEdit() const { return m_versionEdit; }
    QLineEdit* folderEdit() const { return m_folderEdit; }
    QPushButton* Button1() const { return m_Button1; }
    QPushButton* Button2() const { return m_Button2; }
    // cppcheck-suppress CastIntegerToAddressAtReturn ; the array holds pointers
    SampleLabel* area(OptionsState::SampleArea r) const { return m_areaLabels[r]; }

private:
    void FormCreate(const QString& programVersion);
    void labelClicked(OptionsState::SampleArea area, Qt::MouseButton button);
    void Button1Click(QPushButton* sender);
    void showOptionsState();
    void showArea(OptionsState::SampleArea area);
    QWidget* makeDocumentationTab();
    QWidget* makeHtmlTab();
    void showSiteStylePreview();
    QWidget* makeFormatTab();

    IUserPrompts& m_prompts;
    QString m_settingsFile;
    OptionsState m_options;

    QTabWidget* m_tabs = nullptr;
    QCheckBox* m_orphansBox = nullptr;
    QCheckBox* m_generalHelpBox = nullptr;
    QCheckBox* m_mySqlBox = nullptr;
    QCheckBox* m_routinesBox = nullptr;
    QComboBox* m_encodingBox = nullptr;
    QComboBox* m_siteStyleBox = nullptr;
    QLabel* m_siteStylePreview = nullptr;
    QLabel* m_realFolderLabel = nullptr;
    const SettingsLocation* m_local = nullptr;
    QLineEdit* m_applicationEdit = nullptr;
    QLineEdit* m_versionEdit = nullptr;
    QLineEdit* m_folderEdit = nullptr;
    QPushButton* m_Button1 = nullptr;
    QPushButton* m_Button2 = nullptr;
    std::array<SampleLabel*, OptionsState::AreaCount> m_areaLabels{};
};
