// The about window: the program's icon, title, version and the full-screen hint. It goes
// away at the first click (but on the hint), the first key that gives a character, or when
// it loses the focus.
#pragma once

#include <QWidget>

class QLabel;

class frmSplash : public QWidget
{
    Q_OBJECT
public:
    frmSplash(const QString& title, const QString& version, QWidget* parent = nullptr);

    // "Version " and the three numbers, each a plain decimal number.
    static QString versionText(int major, int minor, int revision);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_hint;
};
