// mpv falls back on its null output when no sound server answers, none at all or one that
// restarts, and keeps it for the rest of the file. This follows the output in use: says once
// an outage that there is no sound, and while it lasts asks mpv each second to open its
// outputs again once a sound server's socket is there (asking without one would only have the
// sound libraries print their failures).
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class SoundOutputWatch : public QObject
{
    Q_OBJECT
public:
    // reopen: asks mpv to open its audio output again. tell: says a text to the user.
    // serverThere: whether a sound server may answer now.
    SoundOutputWatch(std::function<void()> reopen, std::function<void(const QString&)> tell,
                     std::function<bool()> serverThere = &serverSocketThere);

    // mpv's output in use: "null" when no other could be opened, "" while none is open.
    void setOutput(const QString& output);

    // A PulseAudio or PipeWire socket in $XDG_RUNTIME_DIR.
    static bool serverSocketThere();

private:
    std::function<void()> m_reopen;
    std::function<void(const QString&)> m_tell;
    std::function<bool()> m_serverThere;
    QTimer m_retry;
    bool m_told = false;
};
