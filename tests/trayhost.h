// Runs trayer, a real XEmbed system tray, on a test's own X server (ownxserver.h), so that a
// QSystemTrayIcon docks into a real host: up once trayer has announced itself and Qt sees it,
// gone at destruction. Icons are the mapped windows of other clients inside trayer's windows,
// in root coordinates, where xdotool must click (every Qt top-level carries _XEMBED_INFO, so
// that property tells nothing). Tests link `xcb`.
#pragma once

#include "ownxserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QSystemTrayIcon>
#include <QtTest/QTest>
#include <csignal>
#include <cstdlib>
#include <sys/prctl.h>
#include <xcb/xcb.h>

// Qt docks into a StatusNotifierItem host instead whenever the session bus has one (any desktop
// the tests run on) and picks its way on the first tray call, so the bus is hidden before main().
inline const bool trayHostHidesSessionBus =
    qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArrayLiteral("unix:path=/dev/null"));

class TrayHost
{
public:
    explicit TrayHost(const QString& display, int timeoutMs = 10000)
        : m_x(xcb_connect(display.toLocal8Bit().constData(), nullptr))
    {
        if (xcb_connection_has_error(m_x) != 0) {
            m_error = QStringLiteral("cannot connect to %1").arg(display);
            return;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_x)).data->root;
        m_clientBits = ~xcb_get_setup(m_x)->resource_id_mask; // the bits naming a window's client
        const auto atom = [this](const char* name) {
            auto* reply = xcb_intern_atom_reply(
                m_x, xcb_intern_atom(m_x, 0, uint16_t(qstrlen(name)), name), nullptr);
            const xcb_atom_t value = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
            std::free(reply);
            return value;
        };
        const xcb_atom_t selection = atom("_NET_SYSTEM_TRAY_S0"), manager = atom("MANAGER");
        uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY; // trayer announces itself to the root
        xcb_change_window_attributes(m_x, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_x);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        m_trayer.setProcessEnvironment(environment);
        m_trayer.setProcessChannelMode(QProcess::ForwardedErrorChannel); // its warnings show
        m_trayer.setStandardOutputFile(QProcess::nullDevice());
        // Gone with the test even when it is killed; the signal follows the starting thread.
        m_trayer.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_trayer.start(QStringLiteral("trayer"),
                       QStringLiteral("--edge top --align right --widthtype request --height 24 "
                                      "--transparent false --SetDockType true")
                           .split(QLatin1Char(' ')));
        // No Qt events meanwhile: unless Qt looks the tray up before it reads the announcement,
        // and reads that while trayer lives, it believes in the tray after trayer is gone.
        QElapsedTimer timer;
        timer.start();
        while (m_tray == XCB_WINDOW_NONE && m_trayer.waitForStarted(timeoutMs) &&
               !m_trayer.waitForFinished(20) && timer.elapsed() < timeoutMs) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_x)) {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                    message->type == manager && message->data.data32[1] == selection)
                    m_tray = message->data.data32[2]; // the selection's new owner
                std::free(event);
            }
        }
        mask = 0;
        xcb_change_window_attributes(m_x, m_root, XCB_CW_EVENT_MASK, &mask);
        if (m_tray == XCB_WINDOW_NONE || !QSystemTrayIcon::isSystemTrayAvailable())
            m_error = QStringLiteral("no tray for Qt after %1 ms: %2")
                          .arg(timer.elapsed())
                          .arg(m_trayer.errorString());
        QTest::qWait(100);
    }

    // Bounded; also until Qt has seen the tray go, so that the next test starts clean.
    ~TrayHost()
    {
        m_trayer.terminate();
        if (!m_trayer.waitForFinished(3000))
            m_trayer.kill(); // QProcess's destructor then reaps it
        xcb_disconnect(m_x);
        QElapsedTimer timer;
        timer.start();
        while (QSystemTrayIcon::isSystemTrayAvailable() && timer.elapsed() < 3000)
            QTest::qWait(10);
    }

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

    // The icons shown now, in root coordinates, in the order they docked (each new one leftmost).
    QList<QRect> icons() const
    {
        QList<QRect> found;
        if (m_tray != XCB_WINDOW_NONE)
            collect(m_root, found);
        return found;
    }

    // Bounded wait for exactly `count` icons, unmoved over five polls: trayer resizes and moves
    // its panel after each dock, so a first sighting may not be where an icon settles.
    QList<QRect> waitForIcons(qsizetype count, int timeoutMs = 10000) const
    {
        QElapsedTimer timer;
        timer.start();
        QList<QRect> last = icons();
        for (int same = 0; same < 5 && timer.elapsed() < timeoutMs;) {
            QTest::qWait(20);
            const QList<QRect> now = icons();
            same = now.size() == count && now == last ? same + 1 : 0;
            last = now;
        }
        return last;
    }

    // A click on the one icon, apart from the one before, so that the two are not a double
    // click.
    void clickIcon(int button) const
    {
        const QList<QRect> found = waitForIcons(1);
        QCOMPARE(found.size(), 1);
        const QPoint c = found.first().center();
        QCOMPARE(ownX().run({"mousemove", QString::number(c.x()), QString::number(c.y()), "click",
                             QString::number(button)}),
                 0);
        QTest::qWait(QApplication::doubleClickInterval() + 100);
    }

private:
    void collect(xcb_window_t window, QList<QRect>& found) const
    {
        const auto trayers = [this](xcb_window_t w) {
            return (w & m_clientBits) == (m_tray & m_clientBits);
        };
        auto* tree = xcb_query_tree_reply(m_x, xcb_query_tree(m_x, window), nullptr);
        for (int i = 0; tree != nullptr && i < xcb_query_tree_children_length(tree); ++i) {
            const xcb_window_t child = xcb_query_tree_children(tree)[i];
            if (!trayers(window) || trayers(child)) {
                collect(child, found);
                continue;
            }
            // Another client's window in one of trayer's: an icon, when shown.
            auto* state = xcb_get_window_attributes_reply(
                m_x, xcb_get_window_attributes(m_x, child), nullptr);
            auto* size = xcb_get_geometry_reply(m_x, xcb_get_geometry(m_x, child), nullptr);
            auto* at = xcb_translate_coordinates_reply(
                m_x, xcb_translate_coordinates(m_x, child, m_root, 0, 0), nullptr);
            if (state != nullptr && state->map_state == XCB_MAP_STATE_VIEWABLE && size != nullptr &&
                at != nullptr)
                found.append(QRect(at->dst_x, at->dst_y, size->width, size->height));
            std::free(state);
            std::free(size);
            std::free(at);
        }
        std::free(tree);
    }

    xcb_connection_t* m_x;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    uint32_t m_clientBits = 0;
    xcb_window_t m_tray = XCB_WINDOW_NONE;
    QProcess m_trayer;
    QString m_error;
};
