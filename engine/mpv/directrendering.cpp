#include "engine/mpv/directrendering.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace DirectRendering {
namespace {

bool renderNodeUsable()
{
    const QDir dri(QStringLiteral("/dev/dri"));
    // Names matched by hand: a name filter would load Qt's regular expressions for this alone.
    const QStringList nodes = dri.entryList(QDir::System);
    for (const QString& node : nodes) {
        if (node.startsWith(QLatin1String("renderD")) &&
            access(QFile::encodeName(dri.filePath(node)).constData(), R_OK | W_OK) == 0)
            return true;
    }
    return false;
}

bool serverHasExtension(xcb_connection_t* connection, const char* name)
{
    const xcb_query_extension_cookie_t cookie =
        xcb_query_extension(connection, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_query_extension_reply_t* reply = xcb_query_extension_reply(connection, cookie, nullptr);
    const bool present = reply && reply->present;
    std::free(reply);
    return present;
}

} // namespace

bool available()
{
    if (!renderNodeUsable())
        return false;
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return true;
    // Without DRI the X server draws OpenGL for its clients, in software.
    xcb_connection_t* connection = x11->connection();
    return serverHasExtension(connection, "DRI3") || serverHasExtension(connection, "DRI2");
}

} // namespace DirectRendering
