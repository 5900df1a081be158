#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh database made by the schema script in a temporary folder, removed at the end of the test.
// When TALVANE_TEST_SERVER is set (for instance "127.0.0.1/3051"), the file is created and opened through
// that Firebird server instead of the embedded engine.
class TestDatabase {
public:
    TestDatabase();
    const QString &folder() const { return m_folder; } // what "Rep" would hold
    const QString &path() const { return m_path; }     // folder + "/TALVANE.gdb"
    const QString &filePath() const { return m_file; } // the file on this machine
    static QString serverPrefix();                     // "host/port:" or empty
    // Lets a server running as another user write in the folder.
    static void openToServer(const QString &folder);

private:
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_path;
    QString m_file;
};
