// The desktop's own idle blanking, held off over the session bus: the freedesktop screen-saver
// service where the desktop offers it, the desktop portal where that is what answers (a
// sandbox, or a desktop whose screen-saver service has no inhibit).
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <optional>

class DesktopIdle : public QObject
{
    Q_OBJECT
public:
    explicit DesktopIdle(QDBusConnection bus, QObject* parent = nullptr);
    ~DesktopIdle() override;

    void setInhibited(bool inhibited);
    // Lets go for the program's end, waiting a moment for the bus to take the release (a call
    // merely queued would go down with the program). A hold still being asked for when the
    // program ends goes with its bus connection: the services watch who asked.
    void end();
    // Something on the bus holds the desktop awake for us.
    bool holding() const { return m_cookie.has_value() || !m_request.path().isEmpty(); }

private:
    void askScreenSaver();
    void askPortal();
    // A call to hold came back; whatever the answer, a release asked for meanwhile is made now.
    void answered();
    void letGo(bool wait);

    QDBusConnection m_bus;
    bool m_wanted = false;
    bool m_asking = false;
    // The screen-saver service refused or is missing: the portal from then on.
    bool m_portal = false;
    std::optional<uint> m_cookie;
    QDBusObjectPath m_request;
};
