#include "tests/support/TestDatabase.h"

#include "db/DatabaseCreation.h"

#include <QFile>

QString TestDatabase::serverPrefix() {
    const QByteArray server = qgetenv("TALVANE_TEST_SERVER");
    return server.isEmpty() ? QString() : QString::fromLocal8Bit(server) + QLatin1Char(':');
}

TestDatabase::TestDatabase() : m_dir(QDir::tempPath() + QStringLiteral("/talvane-test-XXXXXX")) {
    // A server running as another user must be able to write the file.
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther |
                                            QFileDevice::ExeOther);
    m_file = m_dir.path() + QStringLiteral("/TALVANE.gdb");
    m_folder = serverPrefix() + m_dir.path();
    m_path = m_folder + QStringLiteral("/TALVANE.gdb");
    createDatabase(m_path);
}
