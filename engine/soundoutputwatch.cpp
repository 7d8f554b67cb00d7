#include "engine/soundoutputwatch.h"

#include <QDir>
#include <QFileInfo>

SoundOutputWatch::SoundOutputWatch(std::function<void()> reopen,
                                   std::function<void(const QString&)> tell,
                                   std::function<bool()> serverThere)
    : m_reopen(std::move(reopen)), m_tell(std::move(tell)), m_serverThere(std::move(serverThere))
{
    // A restarted server is back within a second or two; the sound follows as soon.
    m_retry.setInterval(1000);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_serverThere())
            m_reopen();
    });
}

void SoundOutputWatch::setOutput(const QString& output)
{
    if (output != u"null") {
        m_retry.stop();
        // An outage ends with a real output; another one is told again.
        if (!output.isEmpty())
            m_told = false;
        return;
    }
    m_retry.start();
    if (!std::exchange(m_told, true))
        m_tell(tr("No sound device: playing without sound."));
}

bool SoundOutputWatch::serverSocketThere()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return false;
    const QDir dir(runtime);
    return QFileInfo::exists(dir.filePath(QStringLiteral("pulse/native"))) ||
           QFileInfo::exists(dir.filePath(QStringLiteral("pipewire-0")));
}
