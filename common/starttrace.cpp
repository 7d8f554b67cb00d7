#include "common/starttrace.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <unistd.h>

namespace StartTrace {
namespace {

// The process's start as the kernel records it (clock ticks since boot), so that loading the
// libraries before main counts too.
double processStartMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which may hold spaces, start behind its ')'.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int startTimeField = 22 - 3;
    if (fields.size() <= startTimeField)
        return -1;
    return fields[startTimeField].toDouble() * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The resident size now and its high-water mark, in kB, as the kernel keeps them.
QByteArray residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    QByteArray rss, hwm;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            rss = line.mid(6).trimmed();
        else if (line.startsWith("VmHWM:"))
            hwm = line.mid(6).trimmed();
    }
    return "rss " + rss + ", peak " + hwm;
}

double nowSinceBootMs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

} // namespace

bool enabled()
{
    static const bool asked = !qEnvironmentVariableIsEmpty("ORVELLA_TRACE");
    return asked;
}

void mark(const char* moment)
{
    if (!enabled())
        return;
    static std::mutex lock;
    static QList<QByteArray> seen;
    static const double start = processStartMs();
    const std::lock_guard guard(lock);
    if (seen.contains(moment))
        return;
    seen.append(moment);
    std::fprintf(stderr, "orvella trace: %6.0f %s (%s)\n", nowSinceBootMs() - start, moment,
                 residentKb().constData());
}

} // namespace StartTrace
