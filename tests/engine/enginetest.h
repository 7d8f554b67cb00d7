// Small helpers shared by the engine tests: clip paths and the engine's numbers by name.
#pragma once

#include "engine/mpvengine.h"

#include <QByteArrayList>
#include <QString>
#include <dlfcn.h>
#include <link.h>

namespace enginetest {

inline QString clip(const char* name)
{
    return QStringLiteral(ORVELLA_MEDIA_DIR "/") + QLatin1String(name);
}

// Generous: the tests run with sanitizers, two at a time, on software OpenGL.
constexpr int kTimeoutMs = 15000;

// Mesa unloads its OpenGL driver when Qt closes the X display at exit. LeakSanitizer looks
// for leaks after that, no longer sees the driver's globals, and reports the blocks they
// still hold, from a module it cannot name. Call once a driver is loaded to keep it until
// the process ends.
inline void keepOpenGlDriverLoaded()
{
    QByteArrayList drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) {
            const QByteArray name(info->dlpi_name);
            if (name.contains("/dri/") && name.endsWith("_dri.so"))
                static_cast<QByteArrayList*>(found)->append(name);
            return 0;
        },
        &drivers);
    for (const QByteArray& driver : drivers)
        dlopen(driver.constData(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace enginetest
