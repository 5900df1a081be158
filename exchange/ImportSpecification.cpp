#include "exchange/ImportSpecification.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

const char *const kFormatNames[] = {"auto", "xls", "xlsx", "ods", "csv", "txt"};

QString oneChar(QChar c) {
    return QString(c);
}

} // namespace

std::vector<ColumnMapping> ImportSpecification::parseMappings(const QString &text) {
    std::vector<ColumnMapping> out;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = item.simplified().split(QLatin1Char(' '));
        if (parts.size() != 2 || columnIndex(parts[1]) < 0)
            throw DbError(QStringLiteral("Correspondance de colonnes illisible : « %1 » (attendu : « CHAMP "
                                         "lettre de colonne »).")
                              .arg(item.trimmed()));
        out.push_back({parts[1].toUpper(), parts[0].toUpper()});
    }
    return out;
}

QString ImportSpecification::mappingText() const {
    QStringList items;
    for (const ColumnMapping &m : mappings)
        items.append(m.field + QLatin1Char(' ') + m.source);
    return items.join(QStringLiteral(", "));
}

const ColumnMapping *ImportSpecification::mappingOf(const QString &field) const {
    for (const ColumnMapping &m : mappings)
        if (m.field.compare(field, Qt::CaseInsensitive) == 0)
            return &m;
    return nullptr;
}

void ImportSpecification::save(const QString &path) const {
    QJsonArray columns;
    for (const ColumnMapping &m : mappings)
        columns.append(QJsonObject{{QStringLiteral("source"), m.source}, {QStringLiteral("field"), m.field}});
    const QJsonObject root{
        {QStringLiteral("file"), file},
        {QStringLiteral("format"), QLatin1String(kFormatNames[static_cast<int>(format)])},
        {QStringLiteral("delimiter"), delimiter ? QString(QLatin1Char(delimiter)) : QString()},
        {QStringLiteral("sheet"), sheet},
        {QStringLiteral("sheetName"), sheetName},
        {QStringLiteral("firstRow"), firstRow},
        {QStringLiteral("lastRow"), lastRow},
        {QStringLiteral("columns"), columns},
        {QStringLiteral("decimalSeparator"), oneChar(formats.decimalSeparator)},
        {QStringLiteral("thousandsSeparator"), oneChar(formats.thousandsSeparator)},
        {QStringLiteral("dateSeparator"), oneChar(formats.dateSeparator)},
        {QStringLiteral("timeSeparator"), oneChar(formats.timeSeparator)},
        {QStringLiteral("fourDigitYears"), formats.fourDigitYears},
    };
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(QJsonDocument(root).toJson()) < 0 || !out.commit())
        throw DbError(QStringLiteral("Impossible d'enregistrer les réglages d'importation « %1 » : %2")
                          .arg(path, out.errorString()));
}

ImportSpecification ImportSpecification::load(const QString &path) {
    const QString name = QFileInfo(path).fileName();
    auto bad = [&](const QString &what) {
        return DbError(QStringLiteral("Spécification d'importation « %1 » : %2").arg(name, what));
    };
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        throw bad(QStringLiteral("impossible de l'ouvrir (%1).").arg(in.errorString()));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        throw bad(QStringLiteral("contenu illisible à l'octet %1 (%2).")
                      .arg(error.offset)
                      .arg(error.errorString()));
    const QJsonObject o = doc.object();
    ImportSpecification s;
    s.file = o.value(QStringLiteral("file")).toString();
    const QString format = o.value(QStringLiteral("format")).toString(QStringLiteral("auto"));
    bool known = false;
    for (int i = 0; i < 6; ++i)
        if (format == QLatin1String(kFormatNames[i])) {
            s.format = static_cast<SpreadsheetFormat>(i);
            known = true;
        }
    if (!known)
        throw bad(QStringLiteral("format « %1 » inconnu.").arg(format));
    const QString delimiter = o.value(QStringLiteral("delimiter")).toString();
    if (delimiter.size() > 1 || (delimiter.size() == 1 && delimiter[0].unicode() > 127))
        throw bad(QStringLiteral("séparateur « %1 » invalide (un seul caractère ASCII).").arg(delimiter));
    s.delimiter = delimiter.isEmpty() ? 0 : static_cast<char>(delimiter[0].unicode());
    s.sheet = o.value(QStringLiteral("sheet")).toInt(0);
    s.sheetName = o.value(QStringLiteral("sheetName")).toString();
    s.firstRow = o.value(QStringLiteral("firstRow")).toInt(1);
    s.lastRow = o.value(QStringLiteral("lastRow")).toInt(0);
    if (s.sheet < 0 || s.firstRow < 1 || s.lastRow < 0)
        throw bad(QStringLiteral("feuille ou lignes invalides."));
    for (const QJsonValue &v : o.value(QStringLiteral("columns")).toArray()) {
        const ColumnMapping m{v[QStringLiteral("source")].toString().toUpper(),
                              v[QStringLiteral("field")].toString().toUpper()};
        if (columnIndex(m.source) < 0 || m.field.isEmpty())
            throw bad(QStringLiteral("correspondance « %1 → %2 » invalide.").arg(m.source, m.field));
        s.mappings.push_back(m);
    }
    auto character = [&](const char *key, QChar fallback) {
        const QString t = o.value(QLatin1String(key)).toString(QString(fallback));
        if (t.size() != 1)
            throw bad(QStringLiteral("« %1 » doit être un seul caractère.").arg(QLatin1String(key)));
        return t[0];
    };
    s.formats.decimalSeparator = character("decimalSeparator", s.formats.decimalSeparator);
    s.formats.thousandsSeparator = character("thousandsSeparator", s.formats.thousandsSeparator);
    s.formats.dateSeparator = character("dateSeparator", s.formats.dateSeparator);
    s.formats.timeSeparator = character("timeSeparator", s.formats.timeSeparator);
    s.formats.fourDigitYears = o.value(QStringLiteral("fourDigitYears")).toBool(true);
    return s;
}
