#include "exchange/SpreadsheetReader.h"

#include "exchange/CsvReader.h"
#include "exchange/OdsReader.h"
#include "exchange/XlsReader.h"
#include "exchange/XlsxReader.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QTime>
#include <cmath>

std::vector<SheetRow> SpreadsheetReader::preview(int sheet, int rows) {
    std::vector<SheetRow> out;
    if (rows <= 0)
        return out;
    readRows(sheet, [&](const SheetRow &row) {
        out.push_back(row);
        return static_cast<int>(out.size()) < rows;
    });
    return out;
}

std::vector<SheetRow> SpreadsheetReader::readAll(int sheet) {
    std::vector<SheetRow> out;
    readRows(sheet, [&](const SheetRow &row) {
        out.push_back(row);
        return true;
    });
    return out;
}

void SpreadsheetReader::fail(const QString &what) const {
    throw SpreadsheetError(QStringLiteral("Fichier « %1 » : %2").arg(QFileInfo(m_path).fileName(), what));
}

void SpreadsheetReader::checkSheet(int sheet) const {
    const QStringList names = sheets();
    if (sheet < 0 || sheet >= names.size())
        fail(QStringLiteral("la feuille n° %1 n'existe pas (le classeur en a %2).")
                 .arg(sheet + 1)
                 .arg(names.size()));
}

std::unique_ptr<SpreadsheetReader> openSpreadsheet(const QString &path, SpreadsheetFormat format,
                                                   char delimiter) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        throw SpreadsheetError(QStringLiteral("Fichier « %1 » introuvable ou illisible.").arg(path));
    if (format == SpreadsheetFormat::Auto) {
        const QString suffix = info.suffix().toLower();
        if (suffix == QLatin1String("xls"))
            format = SpreadsheetFormat::Xls;
        else if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xlsm"))
            format = SpreadsheetFormat::Xlsx;
        else if (suffix == QLatin1String("ods"))
            format = SpreadsheetFormat::Ods;
        else if (suffix == QLatin1String("csv"))
            format = SpreadsheetFormat::Csv;
        else if (suffix == QLatin1String("txt") || suffix == QLatin1String("tsv") ||
                 suffix == QLatin1String("tab"))
            format = SpreadsheetFormat::Tab;
        else
            throw SpreadsheetError(
                QStringLiteral("Fichier « %1 » : format inconnu (extension « .%2 ») ; les formats lus sont "
                               ".xls, .xlsx, .ods, .csv et le texte séparé par des tabulations (.txt).")
                    .arg(info.fileName(), info.suffix()));
    }
    switch (format) {
    case SpreadsheetFormat::Xls: return std::make_unique<XlsReader>(path);
    case SpreadsheetFormat::Xlsx: return std::make_unique<XlsxReader>(path);
    case SpreadsheetFormat::Ods: return std::make_unique<OdsReader>(path);
    case SpreadsheetFormat::Tab: return std::make_unique<CsvReader>(path, delimiter ? delimiter : '\t');
    case SpreadsheetFormat::Csv:
    case SpreadsheetFormat::Auto: break;
    }
    return std::make_unique<CsvReader>(path, delimiter);
}

QString columnLetters(int column) {
    QString out;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        out.prepend(QLatin1Char(static_cast<char>('A' + (n - 1) % 26)));
    return out;
}

int columnIndex(const QString &letters) {
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int n = 0;
    for (QChar ch : letters) {
        const char c = static_cast<char>(ch.toUpper().unicode());
        if (c < 'A' || c > 'Z')
            return -1;
        n = n * 26 + (c - 'A' + 1);
    }
    return n <= kMaxColumns ? n - 1 : -1;
}

QString cellText(const QVariant &cell) {
    switch (cell.typeId()) {
    case QMetaType::Double: {
        const double d = cell.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 15);
    }
    case QMetaType::QDate: return cell.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: {
        const QDateTime dt = cell.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("dd/MM/yyyy"))
                                        : dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    case QMetaType::QTime: return cell.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool: return cell.toBool() ? QStringLiteral("VRAI") : QStringLiteral("FAUX");
    default: return cell.toString();
    }
}
