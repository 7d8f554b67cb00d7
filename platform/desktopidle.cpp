#include "platform/desktopidle.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString screenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString screenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString portalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString portalRequest = QStringLiteral("org.freedesktop.portal.Request");

const QString applicationName = QStringLiteral("Orvella");
const QString reason = QStringLiteral("Playing a video");

// The portal's flag for "the session must not go idle".
constexpr uint portalIdle = 8;
// At the end the release only has to leave; a hung service must not hold up the program.
constexpr int endTimeoutMs = 500;

} // namespace

DesktopIdle::DesktopIdle(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus))
{
}

DesktopIdle::~DesktopIdle()
{
    end();
}

void DesktopIdle::end()
{
    m_wanted = false;
    letGo(true);
}

void DesktopIdle::setInhibited(bool inhibited)
{
    m_wanted = inhibited;
    if (m_asking || !m_bus.isConnected())
        return;
    if (!inhibited)
        letGo(false);
    else if (!holding())
        m_portal ? askPortal() : askScreenSaver();
}

void DesktopIdle::askScreenSaver()
{
    m_asking = true;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(screenSaverService, screenSaverPath, screenSaverService,
                                       QStringLiteral("Inhibit"))
        << applicationName << reason;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isError()) {
            m_portal = true;
            askPortal();
            return;
        }
        m_cookie = reply.value();
        answered();
    });
}

void DesktopIdle::askPortal()
{
    m_asking = true;
    const QDBusMessage call =
        QDBusMessage::createMethodCall(portalService, portalPath, portalInhibit,
                                       QStringLiteral("Inhibit"))
        << QString() << portalIdle << QVariantMap{{QStringLiteral("reason"), reason}};
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        // Nobody answers: nothing to hold off on this desktop.
        if (!reply.isError())
            m_request = reply.value();
        answered();
    });
}

void DesktopIdle::answered()
{
    m_asking = false;
    if (!m_wanted)
        letGo(false);
}

void DesktopIdle::letGo(bool wait)
{
    QDBusMessage release;
    if (m_cookie) {
        release = QDBusMessage::createMethodCall(screenSaverService, screenSaverPath,
                                                 screenSaverService, QStringLiteral("UnInhibit"))
                  << *m_cookie;
    } else if (!m_request.path().isEmpty()) {
        release = QDBusMessage::createMethodCall(portalService, m_request.path(), portalRequest,
                                                 QStringLiteral("Close"));
    } else {
        return;
    }
    m_cookie.reset();
    m_request = {};
    if (wait)
        m_bus.call(release, QDBus::Block, endTimeoutMs);
    else
        m_bus.asyncCall(release);
}
