// The mouse wheel over the widgets it watches, as whole steps: one trigger of up or down per
// notch. A smooth wheel's small turns add up until they make a notch.
#pragma once

#include <QObject>

class QAction;
class QWidget;

class WheelSteps : public QObject
{
    Q_OBJECT
public:
    WheelSteps(QAction& up, QAction& down, QObject* parent);

    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction& m_up;
    QAction& m_down;
    // Eighths of a degree turned since the last whole notch.
    int m_turned = 0;
};
