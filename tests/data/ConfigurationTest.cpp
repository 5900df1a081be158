#include "data/Configuration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString writeIni(const QTemporaryDir &dir, const QByteArray &content) {
    const QString path = dir.path() + QStringLiteral("/CheminBase.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

} // namespace

TEST(Configuration, KeysAndDefaults) {
    struct Case {
        QByteArray ini;
        QString database;
        QString spreadsheets;
    } cases[] = {
        {"[CheminBase]\r\nRep=/srv/talvane\r\nModelessexcel=/srv/modeles\r\n", "/srv/talvane/TALVANE.gdb",
         "/srv/modeles"},
        // A final separator gives a doubled one, passed on as it is.
        {"[CheminBase]\nRep=/srv/talvane/\n", "/srv/talvane//TALVANE.gdb", "Répertoire excel non défini!"},
        // Values are taken as they stand, blanks included.
        {"[CheminBase]\nRep= /srv/a b \n", " /srv/a b /TALVANE.gdb", "Répertoire excel non défini!"},
        {"[Autre]\nRep=/x\n", "Vérifier le chemin de la base!/TALVANE.gdb", "Répertoire excel non défini!"},
        {"[cheminbase]\nrep=server:/data\n", "server:/data/TALVANE.gdb", "Répertoire excel non défini!"},
        // Written by a Windows editor, in its ANSI code page.
        {"[CheminBase]\nModelessexcel=C:\\Mod\xE8les\n", "Vérifier le chemin de la base!/TALVANE.gdb",
         "C:\\Modèles"},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const Configuration conf = Configuration::read(writeIni(dir, c.ini));
        EXPECT_EQ(conf.databasePath(), c.database) << c.ini.constData();
        EXPECT_EQ(conf.spreadsheetFolder, c.spreadsheets) << c.ini.constData();
    }
}

TEST(Configuration, LookedUpInTheParentOfTheWorkingFolder) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("work"));
    writeIni(dir, "[CheminBase]\nRep=/parent\n");
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path() + QStringLiteral("/work"));
    const Configuration conf = Configuration::read();
    QDir::setCurrent(previous);
    EXPECT_EQ(conf.databasePath(), QStringLiteral("/parent/TALVANE.gdb"));
}

TEST(Configuration, MissingFileGivesTheMessageTexts) {
    QTemporaryDir dir;
    const Configuration conf = Configuration::read(dir.path() + QStringLiteral("/absent.ini"));
    EXPECT_EQ(conf.databasePath(), QStringLiteral("Vérifier le chemin de la base!/TALVANE.gdb"));
    EXPECT_EQ(conf.spreadsheetFolder, QStringLiteral("Répertoire excel non défini!"));
}
