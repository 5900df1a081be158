#include "tests/support/TestDatabase.h"

#include "db/DatabaseCreation.h"

#include <QFile>

QString TestDatabase::serverPrefix() {
    const QByteArray server = qgetenv("TALVANE_TEST_SERVER");
    return server.isEmpty() ? QString() : QString::fromLocal8Bit(server) + QLatin1Char(':');
}

void TestDatabase::openToServer(const QString &folder) {
    using P = QFileDevice;
    QFile::setPermissions(folder, P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadOther | P::WriteOther |
                                      P::ExeOther);
}

TestDatabase::TestDatabase() : m_dir(QDir::tempPath() + QStringLiteral("/talvane-test-XXXXXX")) {
    openToServer(m_dir.path());
    m_file = m_dir.path() + QStringLiteral("/TALVANE.gdb");
    m_folder = serverPrefix() + m_dir.path();
    m_path = m_folder + QStringLiteral("/TALVANE.gdb");
    createDatabase(m_path);
}
