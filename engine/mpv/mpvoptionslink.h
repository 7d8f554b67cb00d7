// Between the engine's options dialog and mpv: fills the dialog from what mpv reports, again
// whenever the tracks or devices change while it is open, and hands each change to mpv at once.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class EngineOptionsDialog;
class MpvClient;
class MpvEvents;
struct MpvFile;
class QWidget;

class MpvOptionsLink : public QObject
{
    Q_OBJECT
public:
    // All three must outlive the link. outputs: the audio outputs mpv tries, in order.
    // addSubtitle: the engine's, for "Load subtitle file…".
    MpvOptionsLink(MpvClient& client, MpvEvents& events, const MpvFile& file, QStringList outputs,
                   std::function<void(const QString& path)> addSubtitle);
    ~MpvOptionsLink() override;

    // Shows the dialog over the centre of the window area, made at the first call.
    void show(const QRect& over);
    void close();
    // Shows mpv's values again if the dialog is open (another file opened, say).
    void update();
    // Null until first shown.
    EngineOptionsDialog* dialog() const { return m_dialog.get(); }

signals:
    // The mute box: the engine asks the volume's owner, which mutes.
    void muteChosen(bool mute);

private:
    void refresh();

    MpvClient& m_client;
    MpvEvents& m_events;
    const MpvFile& m_file;
    QStringList m_outputs;
    std::function<void(const QString& path)> m_addSubtitle;
    std::unique_ptr<EngineOptionsDialog> m_dialog;
};
