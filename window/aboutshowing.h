// Showing the about window over the main window, and putting it away when the main window
// takes the focus.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QWidget;
class frmSplash;

class AboutShowing : public QObject
{
    Q_OBJECT
public:
    AboutShowing(QWidget& mainWindow, const QString& title);

    // A focus change this soon after showing is the popup menu's closing handing the focus
    // back, not the user's: it neither puts the about window away nor leaves it unfocused.
    static constexpr qint64 settleMs = 400;

    // Shows it centred on the main window the first time, then where it was left.
    void show();
    void close();
    // The program ends: closes it, and it never shows again.
    void closeForGood();
    // The about window while it is shown.
    frmSplash* splash() const { return m_splash; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_mainWindow;
    QString m_title;
    bool justShown() const;

    QPointer<frmSplash> m_splash;
    QElapsedTimer m_shown;
    bool m_closedForGood = false;
};
