#pragma once

#include <QString>

// The two settings of CheminBase.ini, section "CheminBase". A missing file or key leaves the message text
// in place of the folder, so that the error the user then meets carries the hint.
struct Configuration {
    static constexpr const char *kFileName = "../CheminBase.ini"; // beside the working folder's parent
    static constexpr const char *kDatabaseFile = "/TALVANE.gdb";

    QString databaseFolder;    // key "Rep"
    QString spreadsheetFolder; // key "Modelessexcel"

    static QString defaultDatabaseFolder();
    static QString defaultSpreadsheetFolder();

    // Reads the file; values are taken as they stand (no trimming, no check that the folder exists).
    static Configuration read(const QString &path = QString::fromLatin1(kFileName));
    // The database: the folder followed by "/TALVANE.gdb".
    QString databasePath() const { return databaseFolder + QLatin1String(kDatabaseFile); }
};

// Reads one key of a Windows-style INI file; `found` tells whether the file had it.
QString readIniValue(const QString &path, const QString &section, const QString &key, bool *found);
