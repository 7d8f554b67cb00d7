// Lets a window take files dragged onto it from a file manager: only local files and
// folders are taken; a drag of anything else is refused without a word.
#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;
class QWidget;

class FileDrop : public QObject
{
    Q_OBJECT
public:
    explicit FileDrop(QWidget& target);

    // The local paths a drag carries, in its order.
    static QStringList localPaths(const QMimeData* data);

signals:
    void dropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
