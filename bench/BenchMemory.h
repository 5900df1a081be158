#pragma once

#include <QFile>
#include <QList>
#include <sys/resource.h>

// Memory figures of the benchmarks, in megabytes.

inline long peakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

inline long currentRssMb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4096 / (1024 * 1024) : -1;
}
