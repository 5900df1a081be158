#pragma once

#include "db/DatabaseCreation.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

// A new database in `dir`, filled by this same program run as "PROGRAM fill PATH" in a process of its own,
// so that the memory of the filling does not count in the figures. Empty when the filling failed.
inline QString newFilledDatabase(const QTemporaryDir &dir) {
    const QString path = dir.path() + QStringLiteral("/TALVANE.gdb");
    createDatabase(path);
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("fill"), path}) != 0) {
        std::fprintf(stderr, "filling the database failed\n");
        return {};
    }
    return path;
}
