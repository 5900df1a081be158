#include "data/Configuration.h"

#include "data/Win1252.h"

#include <QFile>
#include <QStringDecoder>

QString Configuration::defaultDatabaseFolder() {
    return QStringLiteral("Vérifier le chemin de la base!");
}
QString Configuration::defaultSpreadsheetFolder() {
    return QStringLiteral("Répertoire excel non défini!");
}

QString readIniValue(const QString &path, const QString &section, const QString &key, bool *found) {
    *found = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    // Written on Linux the file is UTF-8; one brought from Windows is in its ANSI code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(content);
    if (utf8.hasError())
        text = win1252::decode(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    bool inSection = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype end = trimmed.indexOf(QLatin1Char(']'));
            inSection = trimmed.mid(1, end - 1).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || trimmed.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            *found = true;
            return line.mid(eq + 1);
        }
    }
    return {};
}

Configuration Configuration::read(const QString &path) {
    Configuration c;
    bool found = false;
    c.databaseFolder = readIniValue(path, QStringLiteral("CheminBase"), QStringLiteral("Rep"), &found);
    if (!found)
        c.databaseFolder = defaultDatabaseFolder();
    c.spreadsheetFolder =
        readIniValue(path, QStringLiteral("CheminBase"), QStringLiteral("Modelessexcel"), &found);
    if (!found)
        c.spreadsheetFolder = defaultSpreadsheetFolder();
    return c;
}
