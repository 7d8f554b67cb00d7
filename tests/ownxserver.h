// Gives a test program its own Xvfb, managed by a real openbox, started before the
// QApplication and gone when the program ends: window-manager behaviour (system move and
// resize, size hints, frame extents) is then real, and no two tests share a display, even
// under `xvfb-run -a` with tests running in parallel. Tests using it link libxcb (`xcb`).
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

struct OwnXServerOptions
{
    QSize screen{1280, 800};
    int depth = 24;
    bool windowManager = true;
    int startTimeoutMs = 10000;
};

class OwnXServer
{
public:
    explicit OwnXServer(const OwnXServerOptions& options = {})
        : m_previousDisplay(qgetenv("DISPLAY")), m_hadDisplay(qEnvironmentVariableIsSet("DISPLAY")),
          m_previousPlatform(qgetenv("QT_QPA_PLATFORM")),
          m_hadPlatform(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")),
          m_dir(QDir::tempPath() + QStringLiteral("/orvella-ownx-XXXXXX"))
    {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("cannot make a temporary folder: %1").arg(m_dir.errorString());
            return;
        }
        if (!startXvfb(options))
            return;
        if (options.windowManager && !startOpenbox(options.startTimeoutMs))
            return;
        qputenv("DISPLAY", m_display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        m_ok = true;
    }

    ~OwnXServer()
    {
        // The window manager first, so it never sees its display vanish under it.
        stop(m_openbox);
        stop(m_xvfb);
        if (m_ok) {
            restore("DISPLAY", m_hadDisplay, m_previousDisplay);
            restore("QT_QPA_PLATFORM", m_hadPlatform, m_previousPlatform);
        }
    }

    OwnXServer(const OwnXServer&) = delete;
    OwnXServer& operator=(const OwnXServer&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    // ":N", as DISPLAY wants it.
    QString display() const { return m_display; }

    // Runs xdotool against this server; the exit code, or -1 when it could not start or
    // did not end within timeoutMs. Output goes to `output` when given.
    int run(const QStringList& xdotoolArgs, QByteArray* output = nullptr,
            int timeoutMs = 10000) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(output != nullptr ? QProcess::SeparateChannels
                                                        : QProcess::ForwardedChannels);
        process.start(QStringLiteral("xdotool"), xdotoolArgs);
        if (!process.waitForStarted(timeoutMs))
            return -1;
        if (!process.waitForFinished(timeoutMs)) {
            process.kill();
            process.waitForFinished(1000);
            return -1;
        }
        if (output != nullptr)
            *output = process.readAllStandardOutput();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private:
    bool startXvfb(const OwnXServerOptions& options)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (program.isEmpty()) {
            m_error = QStringLiteral("Xvfb is not installed");
            return false;
        }
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            m_error = QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        // Kept above 3 so that moving it onto fd 3 in the child never clobbers itself.
        const int writeEnd = ::fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
        ::close(fds[1]);
        const QString screen = QStringLiteral("%1x%2x%3")
                                   .arg(options.screen.width())
                                   .arg(options.screen.height())
                                   .arg(options.depth);
        // -displayfd makes Xvfb pick a display nobody holds and say which once it accepts
        // clients; -noreset keeps it from resetting whenever its last client leaves.
        m_xvfb =
            spawn(program,
                  {QStringLiteral("-displayfd"), QStringLiteral("3"), QStringLiteral("-screen"),
                   QStringLiteral("0"), screen, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                   QStringLiteral("-noreset")},
                  {}, logPath(QStringLiteral("xvfb.log")), writeEnd);
        ::close(writeEnd);
        if (m_xvfb <= 0) {
            ::close(fds[0]);
            m_error = QStringLiteral("cannot start Xvfb");
            return false;
        }
        const QByteArray number = readLine(fds[0], options.startTimeoutMs);
        ::close(fds[0]);
        bool isNumber = false;
        number.trimmed().toInt(&isNumber);
        if (!isNumber) {
            m_error = QStringLiteral("Xvfb gave no display within %1 ms. Its log:\n%2")
                          .arg(options.startTimeoutMs)
                          .arg(logTail(QStringLiteral("xvfb.log")));
            return false;
        }
        m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        return true;
    }

    bool startOpenbox(int timeoutMs)
    {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (program.isEmpty()) {
            m_error = QStringLiteral("openbox is not installed");
            return false;
        }
        // Own config and cache homes: the packaged defaults apply, never the user's own rc.
        const QString home = m_dir.path();
        QDir(home).mkpath(QStringLiteral("config"));
        QDir(home).mkpath(QStringLiteral("cache"));
        m_openbox = spawn(program, {QStringLiteral("--sm-disable")},
                          {{"DISPLAY", m_display.toLocal8Bit()},
                           {"XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toLocal8Bit()},
                           {"XDG_CACHE_HOME", (home + QStringLiteral("/cache")).toLocal8Bit()}},
                          logPath(QStringLiteral("openbox.log")), -1);
        if (m_openbox <= 0) {
            m_error = QStringLiteral("cannot start openbox");
            return false;
        }
        if (waitForWindowManager(timeoutMs))
            return true;
        const QString what = m_openbox == 0
                                 ? QStringLiteral("openbox ended before managing %1").arg(m_display)
                                 : QStringLiteral("openbox did not manage %1 within %2 ms")
                                       .arg(m_display)
                                       .arg(timeoutMs);
        m_error =
            QStringLiteral("%1. Its log:\n%2").arg(what, logTail(QStringLiteral("openbox.log")));
        return false;
    }

    // Ready once openbox has managed a probe window. The EWMH check window alone is not
    // enough: openbox sets it during start-up and may then sit in its event loop with
    // requests already read but unhandled (a window mapped then stays unmapped for good)
    // until some new event wakes it, so the root is poked with a property change meanwhile.
    bool waitForWindowManager(int timeoutMs)
    {
        const QByteArray name = m_display.toLocal8Bit();
        xcb_connection_t* connection = xcb_connect(name.constData(), nullptr);
        if (xcb_connection_has_error(connection) != 0) {
            xcb_disconnect(connection);
            return false;
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const xcb_atom_t check = internAtom(connection, "_NET_SUPPORTING_WM_CHECK");
        const xcb_atom_t wmState = internAtom(connection, "WM_STATE");
        const xcb_atom_t ping = internAtom(connection, "_ORVELLA_OWNX_PING");
        const xcb_window_t probe = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, probe, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        bool mapped = false;
        bool managed = false;
        uint32_t pokes = 0;
        QElapsedTimer timer;
        timer.start();
        while (!managed && timer.elapsed() < timeoutMs) {
            if (!mapped) {
                // Mapped only once the WM holds the screen, so the map is redirected to it.
                const xcb_window_t named = windowProperty(connection, screen->root, check);
                mapped =
                    named != XCB_WINDOW_NONE && windowProperty(connection, named, check) == named;
                if (mapped)
                    xcb_map_window(connection, probe);
            } else {
                managed = hasProperty(connection, probe, wmState);
                ++pokes;
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, screen->root, ping,
                                    XCB_ATOM_CARDINAL, 32, 1, &pokes);
            }
            xcb_flush(connection);
            if (managed)
                break;
            int status = 0;
            if (::waitpid(m_openbox, &status, WNOHANG) == m_openbox) {
                m_openbox = 0;
                break;
            }
            ::usleep(20 * 1000);
        }
        xcb_destroy_window(connection, probe);
        xcb_delete_property(connection, screen->root, ping);
        xcb_flush(connection);
        xcb_disconnect(connection);
        return managed;
    }

    static bool hasProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1),
            nullptr);
        const bool has = reply != nullptr && reply->type != XCB_ATOM_NONE;
        std::free(reply);
        return has;
    }

    static xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    static xcb_window_t windowProperty(xcb_connection_t* connection, xcb_window_t window,
                                       xcb_atom_t property)
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        xcb_window_t value = XCB_WINDOW_NONE;
        if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
            value = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return value;
    }

    // fork/exec rather than QProcess: no application object exists yet, Xvfb's display
    // number needs an inherited pipe, and the parent-death signal takes the children down
    // even when the test is killed (ctest timeout) or crashes. That signal follows the
    // constructing thread, so the server belongs on the main thread.
    pid_t spawn(const QString& program, const QStringList& args,
                const std::vector<std::pair<QByteArray, QByteArray>>& extraEnv, const QString& log,
                int passFdAs3)
    {
        // Everything the child needs is built here: after fork it only makes system calls.
        std::vector<QByteArray> argStore{QFile::encodeName(program)};
        for (const QString& arg : args)
            argStore.push_back(arg.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& arg : argStore)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        std::vector<QByteArray> envStore;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const QByteArray line(*entry);
            bool replaced = false;
            for (const auto& [key, value] : extraEnv)
                replaced = replaced || line.startsWith(key + '=');
            if (!replaced)
                envStore.push_back(line);
        }
        for (const auto& [key, value] : extraEnv)
            envStore.push_back(key + '=' + value);
        std::vector<char*> envp;
        for (QByteArray& line : envStore)
            envp.push_back(line.data());
        envp.push_back(nullptr);

        const int logFd = ::open(QFile::encodeName(log).constData(),
                                 O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(127);
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::signal(SIGPIPE, SIG_DFL);
            if (nullFd >= 0)
                ::dup2(nullFd, 0);
            if (logFd >= 0) {
                ::dup2(logFd, 1);
                ::dup2(logFd, 2);
            }
            if (passFdAs3 >= 0)
                ::dup2(passFdAs3, 3);
            ::close_range(passFdAs3 >= 0 ? 4 : 3, ~0U, 0);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        if (logFd >= 0)
            ::close(logFd);
        if (nullFd >= 0)
            ::close(nullFd);
        return pid;
    }

    // SIGTERM, a bounded wait, then SIGKILL: never a process left behind, never a hang.
    static void stop(pid_t& pid)
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGTERM);
        QElapsedTimer timer;
        timer.start();
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            if (timer.elapsed() > 3000) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                break;
            }
            ::usleep(10 * 1000);
        }
        pid = 0;
    }

    static QByteArray readLine(int fd, int timeoutMs)
    {
        QByteArray line;
        QElapsedTimer timer;
        timer.start();
        while (!line.contains('\n') && timer.elapsed() < timeoutMs) {
            pollfd poller{fd, POLLIN, 0};
            const int ready = ::poll(&poller, 1, int(qMax<qint64>(1, timeoutMs - timer.elapsed())));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                break;
            char buffer[64];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0) // Xvfb ended without naming a display
                break;
            line.append(buffer, got);
        }
        return line;
    }

    QString logPath(const QString& name) const { return m_dir.filePath(name); }

    QString logTail(const QString& name) const
    {
        QFile file(logPath(name));
        if (!file.open(QIODevice::ReadOnly))
            return QStringLiteral("(no log)");
        const QByteArray all = file.readAll();
        return QString::fromLocal8Bit(all.right(2000));
    }

    static void restore(const char* name, bool had, const QByteArray& value)
    {
        if (had)
            qputenv(name, value);
        else
            qunsetenv(name);
    }

    QByteArray m_previousDisplay;
    bool m_hadDisplay;
    QByteArray m_previousPlatform;
    bool m_hadPlatform;
    QTemporaryDir m_dir;
    pid_t m_xvfb = 0;
    pid_t m_openbox = 0;
    QString m_display;
    QString m_error;
    bool m_ok = false;
};

namespace OwnXServerDetail {
inline OwnXServer*& current()
{
    static OwnXServer* server = nullptr;
    return server;
}
} // namespace OwnXServerDetail

// The server that ORVELLA_QTEST_MAIN_WITH_OWN_X started for this test program.
inline OwnXServer& ownX()
{
    Q_ASSERT(OwnXServerDetail::current() != nullptr);
    return *OwnXServerDetail::current();
}

// QTEST_MAIN, with the test's own X server and window manager up before the QApplication
// and torn down after it. Options may follow the class as designated initialisers, e.g.
// ORVELLA_QTEST_MAIN_WITH_OWN_X(TestMove, .screen = QSize(800, 600)).
#define ORVELLA_QTEST_MAIN_WITH_OWN_X(TestObject, ...)                                             \
    int main(int argc, char* argv[])                                                               \
    {                                                                                              \
        OwnXServer ownXServer(OwnXServerOptions{__VA_ARGS__});                                     \
        if (!ownXServer.ok()) {                                                                    \
            std::fprintf(stderr,                                                                   \
                         "FAIL!  : " #TestObject " could not start its own X server: %s\n",        \
                         qPrintable(ownXServer.error()));                                          \
            return 1;                                                                              \
        }                                                                                          \
        OwnXServerDetail::current() = &ownXServer;                                                 \
        int result = 0;                                                                            \
        {                                                                                          \
            QApplication app(argc, argv);                                                          \
            app.setAttribute(Qt::AA_Use96Dpi, true);                                               \
            TestObject tc;                                                                         \
            QTEST_SET_MAIN_SOURCE_PATH                                                             \
            result = QTest::qExec(&tc, argc, argv);                                                \
        }                                                                                          \
        OwnXServerDetail::current() = nullptr;                                                     \
        return result;                                                                             \
    }
