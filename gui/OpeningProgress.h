#pragma once

#include <QObject>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class QDialog;
class QWidget;

// The progress of a long opening: which file of how many, and Cancelar.
//
// It is not modal: a modal dialog makes the window system's close request for
// the main window (its title bar's ✕) be dropped, and the user could not
// close the window during an opening. Instead, while it is shown, the user's
// input to the main window is held back, so no other command starts, and the
// events the window system sends (a close request among them) still arrive.
//
// Its width is fixed and it stands centred on the main window, so that
// Cancelar stays under the pointer whatever the length of the path, which is
// elided in its middle.
class OpeningProgress : public QObject
{
public:
    explicit OpeningProgress(QWidget* mainWindow);
    ~OpeningProgress() override;
    OpeningProgress(const OpeningProgress&) = delete;
    OpeningProgress& operator=(const OpeningProgress&) = delete;

    void show(int done, int total, const QString& file);
    void hide();
    bool isVisible() const;
    bool cancelled() const { return m_cancelled; }

    QDialog* dialog() const { return m_dialog; }

    static constexpr int kWidth = 480;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_mainWindow;
    QDialog* m_dialog = nullptr;
    QLabel* m_label = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};
