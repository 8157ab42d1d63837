#pragma once

// Process figures the benchmarks print: memory from /proc and CPU time.
#include <QByteArray>
#include <QFile>

#include <ctime>

// A "VmRSS:" / "VmHWM:" figure of /proc/self/status, in kB (0 when unreadable).
inline qint64 procStatusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// Starts a new peak (VmHWM) from the current resident size.
inline void resetPeakRss()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// CPU time in ms of this thread or of the whole process: steadier than wall time on a shared
// machine.
inline double cpuMs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}
