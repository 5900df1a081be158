#include "exchange/DatasetImport.h"

#include "data/Dataset.h"
#include "data/TDatadeclaration.h"
#include "exchange/XlsxReader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

bool isIntegerColumn(const ColumnInfo &c) {
    return (c.sqlType == SQL_SHORT || c.sqlType == SQL_LONG || c.sqlType == SQL_INT64) && c.sqlScale == 0;
}

QString separatorName(QChar c) {
    return c == QLatin1Char(' ') ? QStringLiteral("espace") : QStringLiteral("« %1 »").arg(c);
}

double parseNumber(const QString &text, const ValueFormats &f) {
    QString t = text.trimmed();
    if (f.thousandsSeparator == QLatin1Char(' ')) {
        // Spreadsheets group thousands with non-breaking blanks as often as with plain ones.
        t.remove(QLatin1Char(' '));
        t.remove(QChar(0x00A0));
        t.remove(QChar(0x202F));
    } else {
        t.remove(f.thousandsSeparator);
    }
    if (f.decimalSeparator != QLatin1Char('.')) {
        if (t.contains(QLatin1Char('.')))
            t.clear();
        t.replace(f.decimalSeparator, QLatin1Char('.'));
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"));
    bool ok = number.match(t).hasMatch();
    const double d = ok ? t.toDouble(&ok) : 0;
    if (!ok || !std::isfinite(d))
        throw ConversionError(
            QStringLiteral("« %1 » n'est pas un nombre (séparateur décimal %2, séparateur des "
                           "milliers %3)")
                .arg(text, separatorName(f.decimalSeparator), separatorName(f.thousandsSeparator)));
    return d;
}

QDateTime parseDate(const QString &text, const ValueFormats &f) {
    const QString sep = QRegularExpression::escape(QString(f.dateSeparator));
    const QString tsep = QRegularExpression::escape(QString(f.timeSeparator));
    const QRegularExpression re(
        QStringLiteral("^(\\d{1,2})%1(\\d{1,2})%1(\\d+)(?:\\s+(\\d{1,2})%2(\\d{2})(?:%2(\\d{2}))?)?$")
            .arg(sep, tsep));
    const auto m = re.match(text.trimmed());
    const QString expected = QStringLiteral("jj%1mm%1aaaa").arg(f.dateSeparator);
    if (!m.hasMatch() || (f.fourDigitYears && m.captured(3).size() != 4))
        throw ConversionError(QStringLiteral("« %1 » n'est pas une date au format %2").arg(text, expected));
    int year = m.captured(3).toInt();
    if (!f.fourDigitYears && m.captured(3).size() <= 2)
        year += year < 50 ? 2000 : 1900;
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    const QTime time = m.captured(4).isEmpty()
                           ? QTime(0, 0)
                           : QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        throw ConversionError(QStringLiteral("« %1 » n'est pas une date valide").arg(text));
    return QDateTime(date, time, Qt::UTC);
}

QVariant toNumber(const QVariant &cell, const ColumnInfo &column, const ValueFormats &f) {
    double d = 0;
    switch (cell.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong: d = cell.toDouble(); break;
    case QMetaType::Bool: d = cell.toBool() ? 1 : 0; break;
    case QMetaType::QString: d = parseNumber(cell.toString(), f); break;
    default: throw ConversionError(QStringLiteral("« %1 » n'est pas un nombre").arg(cellText(cell)));
    }
    if (!isIntegerColumn(column))
        return d;
    const double limit = column.sqlType == SQL_SHORT  ? 32767.0
                         : column.sqlType == SQL_LONG ? 2147483647.0
                                                      : 9.2e18;
    if (d != std::floor(d))
        throw ConversionError(QStringLiteral("« %1 » n'est pas un nombre entier").arg(cellText(cell)));
    if (std::fabs(d) > limit)
        throw ConversionError(QStringLiteral("« %1 » est trop grand pour ce champ").arg(cellText(cell)));
    return static_cast<qlonglong>(d);
}

QVariant toDate(const QVariant &cell, const ValueFormats &f) {
    switch (cell.typeId()) {
    case QMetaType::QDate: return QDateTime(cell.toDate(), QTime(0, 0), Qt::UTC);
    case QMetaType::QDateTime: return cell;
    case QMetaType::Double: {
        const double serial = cell.toDouble();
        if (serial < 1 || serial > 2958465)
            throw ConversionError(QStringLiteral("« %1 » n'est pas une date").arg(cellText(cell)));
        return serialToDateTime(serial);
    }
    case QMetaType::QString: return parseDate(cell.toString(), f);
    default: throw ConversionError(QStringLiteral("« %1 » n'est pas une date").arg(cellText(cell)));
    }
}

QVariant toTime(const QVariant &cell, const ValueFormats &f) {
    if (cell.typeId() == QMetaType::QTime)
        return cell;
    if (cell.typeId() == QMetaType::QDateTime)
        return cell.toDateTime().time();
    const QString sep = QRegularExpression::escape(QString(f.timeSeparator));
    const auto m = QRegularExpression(QStringLiteral("^(\\d{1,2})%1(\\d{2})(?:%1(\\d{2}))?$").arg(sep))
                       .match(cell.toString().trimmed());
    const QTime t =
        m.hasMatch() ? QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QTime();
    if (!t.isValid())
        throw ConversionError(QStringLiteral("« %1 » n'est pas une heure au format hh%2mm%2ss")
                                  .arg(cellText(cell), QString(f.timeSeparator)));
    return t;
}

} // namespace

QVariant convertCell(const QVariant &cell, const ColumnInfo &column, const ValueFormats &formats) {
    if (cell.isNull() || (cell.typeId() == QMetaType::QString && cell.toString().isEmpty()))
        return {};
    if (column.isText())
        return cell.typeId() == QMetaType::QString ? cell : QVariant(cellText(cell));
    if (column.isNumeric())
        return toNumber(cell, column, formats);
    switch (column.sqlType) {
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE: return toDate(cell, formats);
    case SQL_TYPE_TIME: return toTime(cell, formats);
    case SQL_BOOLEAN: return toNumber(cell, column, formats).toDouble() != 0;
    default: throw ConversionError(QStringLiteral("ce champ ne peut pas être importé"));
    }
}

namespace {

struct Target {
    int column; // in the file
    QString letters;
    QString field;
    const ColumnInfo *info;
};

int sheetIndex(const ImportSpecification &spec, const SpreadsheetReader &reader) {
    const QStringList sheets = reader.sheets();
    if (!spec.sheetName.isEmpty()) {
        const int byName = static_cast<int>(sheets.indexOf(spec.sheetName));
        if (byName >= 0)
            return byName;
    }
    return spec.sheet;
}

} // namespace

ImportResult runImport(const ImportSpecification &spec, Dataset &target, TDatadeclaration *dm,
                       const ImportProgress &progress) {
    ImportResult result;
    const QString fileName = QFileInfo(spec.file).fileName();
    auto stop = [&](int row, const QString &letters, const QString &field, const QString &reason) {
        result.failedRow = row;
        result.failedColumn = letters;
        result.failedField = field;
        result.reason = reason;
        const QString where =
            row == 0            ? QString()
            : letters.isEmpty() ? QStringLiteral("Ligne %1 : ").arg(row)
                                : QStringLiteral("Ligne %1, colonne %2 (%3) : ").arg(row).arg(letters, field);
        result.message =
            QStringLiteral("Importation arrêtée (fichier « %1 »). %2%3.").arg(fileName, where, reason);
        if (row > 0)
            result.message +=
                QStringLiteral("\n%1 ligne(s) importée(s) et enregistrée(s) avant elle ; la ligne %2 "
                               "n'a pas été enregistrée. Corrigez-la, puis importez le reste du "
                               "fichier à partir de la ligne %2.")
                    .arg(result.imported)
                    .arg(row);
        return result;
    };

    // What can be checked before the first row: the target, the mapping, the file.
    if (!target.isOpen() || !target.isWritable())
        return stop(
            0, {}, {},
            QStringLiteral("la table de destination %1 n'est pas ouverte en écriture").arg(target.name()));
    if (target.isEditing())
        return stop(0, {}, {},
                    QStringLiteral("une saisie est en cours dans %1 ; terminez-la avant d'importer")
                        .arg(target.name()));
    if (spec.mappings.empty())
        return stop(0, {}, {}, QStringLiteral("aucune colonne du fichier n'est associée à un champ"));
    std::vector<Target> targets;
    for (const ColumnMapping &m : spec.mappings) {
        const int column = columnIndex(m.source);
        const int field = target.layout().indexOf(m.field);
        if (column < 0)
            return stop(0, {}, {}, QStringLiteral("colonne « %1 » invalide").arg(m.source));
        if (field < 0)
            return stop(0, {}, {},
                        QStringLiteral("le champ %1 n'existe pas dans %2").arg(m.field, target.name()));
        for (const Target &t : targets)
            if (t.field.compare(m.field, Qt::CaseInsensitive) == 0)
                return stop(0, {}, {},
                            QStringLiteral("le champ %1 est associé à deux colonnes").arg(m.field));
        targets.push_back({column, columnLetters(column), target.layout().column(field).name,
                           &target.layout().column(field)});
    }
    std::vector<SheetRow> rows;
    try {
        auto reader = openSpreadsheet(spec.file, spec.format, spec.delimiter);
        const int sheet = sheetIndex(spec, *reader);
        reader->readRows(sheet, [&](const SheetRow &row) {
            if (spec.lastRow > 0 && row.number > spec.lastRow)
                return false;
            if (row.number >= spec.firstRow)
                rows.push_back(row);
            return true;
        });
    } catch (const DbError &e) {
        result.message = e.message();
        result.reason = e.message();
        return result;
    }

    const int total = static_cast<int>(rows.size());
    auto importRows = [&]() -> ImportResult {
        for (const SheetRow &row : rows) {
            ++result.read;
            bool empty = true;
            for (const Target &t : targets)
                empty = empty && row.cells.value(t.column).isNull();
            if (!empty) {
                try {
                    target.append();
                } catch (const DbError &e) {
                    return stop(row.number, {}, {},
                                QStringLiteral("nouvelle ligne impossible : %1").arg(e.message()));
                }
                for (const Target &t : targets) {
                    try {
                        target.setValue(t.field,
                                        convertCell(row.cells.value(t.column), *t.info, spec.formats));
                    } catch (const DbError &e) {
                        target.cancel();
                        return stop(row.number, t.letters, t.field, e.message());
                    }
                }
                try {
                    target.post();
                } catch (const DbError &e) {
                    // The refused row is taken back whole: nothing of it stays in the dataset or the base.
                    target.cancel();
                    return stop(row.number, {}, {},
                                QStringLiteral("la ligne a été refusée : %1").arg(e.message()));
                }
                ++result.imported;
            }
            if (progress && !progress(result.read, total)) {
                result.cancelled = true;
                result.message = QStringLiteral("Importation interrompue à la ligne %1 du fichier « %2 » : "
                                                "%3 ligne(s) importée(s) et enregistrée(s).")
                                     .arg(row.number)
                                     .arg(fileName)
                                     .arg(result.imported);
                return result;
            }
        }
        result.complete = true;
        result.message =
            QStringLiteral("%1 ligne(s) importée(s) depuis « %2 ».").arg(result.imported).arg(fileName);
        return result;
    };
    if (!dm)
        return importRows();
    try {
        // The rows saved are made durable when the batch ends, also when the import stopped on a row.
        TDatadeclaration::BatchedCommits batch(*dm);
        result = importRows();
    } catch (const DbError &e) {
        result.complete = false;
        result.message =
            QStringLiteral("Importation (fichier « %1 ») : l'enregistrement définitif des lignes a "
                           "échoué : %2")
                .arg(fileName, e.message());
        result.reason = e.message();
    }
    return result;
}
