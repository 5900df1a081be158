#pragma once

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>
#include <stdexcept>
#include <utility>
#include <vector>

#include "exchange/XlsxWriterLibrary.h"
#include <quazip.h>
#include <quazipfile.h>

// Spreadsheet files written by the tests themselves: .xlsx by libxlsxwriter (loaded as the exporter loads
// it), .ods and raw zips by QuaZip,
// text files as bytes. A cell is null (empty), a QString, a double or a QDate.

namespace testfiles {

using Rows = QList<QVariantList>;
struct Sheet {
    QString name;
    Rows rows;
};

inline void writeXlsx(const QString &path, const std::vector<Sheet> &sheets) {
    const XlsxWriterLibrary &lxw = XlsxWriterLibrary::get();
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook *book = lxw.workbookNew(name.constData(), nullptr);
    if (!book)
        throw std::runtime_error("workbook_new");
    lxw_format *date = lxw.addFormat(book);
    lxw.setNumFormat(date, "dd/mm/yyyy");
    for (const Sheet &s : sheets) {
        const QByteArray sheetName = s.name.toUtf8();
        lxw_worksheet *ws = lxw.addWorksheet(book, sheetName.constData());
        for (int r = 0; r < s.rows.size(); ++r)
            for (int c = 0; c < s.rows[r].size(); ++c) {
                const QVariant &v = s.rows[r][c];
                const auto row = static_cast<lxw_row_t>(r);
                const auto col = static_cast<lxw_col_t>(c);
                if (v.typeId() == QMetaType::QString) {
                    lxw.writeString(ws, row, col, v.toString().toUtf8().constData(), nullptr);
                } else if (v.typeId() == QMetaType::Double) {
                    lxw.writeNumber(ws, row, col, v.toDouble(), nullptr);
                } else if (v.typeId() == QMetaType::QDate) {
                    const QDate d = v.toDate();
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
                    lxw.writeDatetime(ws, row, col, &dt, date);
                }
            }
    }
    if (lxw.close(book) != LXW_NO_ERROR)
        throw std::runtime_error("workbook_close");
}

// A zip of the given parts, the first one stored (the "mimetype" of an OpenDocument file).
inline void writeZip(const QString &path, const std::vector<std::pair<QString, QByteArray>> &parts) {
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        throw std::runtime_error("zip create");
    bool first = true;
    for (const auto &[name, data] : parts) {
        QuaZipFile f(&zip);
        const int method = first ? 0 : Z_DEFLATED;
        if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, method, first ? 0 : 6))
            throw std::runtime_error("zip entry");
        f.write(data);
        f.close();
        first = false;
    }
    zip.close();
}

inline QString escaped(const QString &s) {
    return s.toHtmlEscaped();
}

inline QByteArray odsContent(const std::vector<Sheet> &sheets) {
    QString x = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
        "<office:body><office:spreadsheet>");
    for (const Sheet &s : sheets) {
        x += QStringLiteral("<table:table table:name=\"%1\"><table:table-column "
                            "table:number-columns-repeated=\"30\"/>")
                 .arg(escaped(s.name));
        for (const QVariantList &row : s.rows) {
            x += QStringLiteral("<table:table-row>");
            int blanks = 0;
            auto flushBlanks = [&]() {
                if (blanks > 0)
                    x += QStringLiteral("<table:table-cell table:number-columns-repeated=\"%1\"/>")
                             .arg(blanks);
                blanks = 0;
            };
            for (const QVariant &v : row) {
                if (v.isNull()) {
                    ++blanks;
                    continue;
                }
                flushBlanks();
                if (v.typeId() == QMetaType::Double)
                    x += QStringLiteral("<table:table-cell office:value-type=\"float\" office:value=\"%1\">"
                                        "<text:p>%1</text:p></table:table-cell>")
                             .arg(QString::number(v.toDouble(), 'g', 17));
                else if (v.typeId() == QMetaType::QDate)
                    x += QStringLiteral(
                             "<table:table-cell office:value-type=\"date\" office:date-value=\"%1\">"
                             "<text:p>%2</text:p></table:table-cell>")
                             .arg(v.toDate().toString(Qt::ISODate),
                                  v.toDate().toString(QStringLiteral("dd/MM/yyyy")));
                else
                    x += QStringLiteral("<table:table-cell office:value-type=\"string\"><text:p>%1</text:p>"
                                        "</table:table-cell>")
                             .arg(escaped(v.toString()));
            }
            x += QStringLiteral(
                "<table:table-cell table:number-columns-repeated=\"1000\"/></table:table-row>");
        }
        // What the spreadsheet applications write after the last row.
        x += QStringLiteral("<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell "
                            "table:number-columns-repeated=\"1024\"/></table:table-row></table:table>");
    }
    x += QStringLiteral("</office:spreadsheet></office:body></office:document-content>");
    return x.toUtf8();
}

inline void writeOds(const QString &path, const std::vector<Sheet> &sheets) {
    writeZip(
        path,
        {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
         {QStringLiteral("META-INF/manifest.xml"),
          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
          "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"><manifest:file-entry "
          "manifest:full-path=\"/\" manifest:media-type=\"application/"
          "vnd.oasis.opendocument.spreadsheet\"/><manifest:file-entry manifest:full-path=\"content.xml\" "
          "manifest:media-type=\"text/xml\"/></manifest:manifest>"},
         {QStringLiteral("content.xml"), odsContent(sheets)}});
}

// A sheet as delimited text, dates as dd/MM/yyyy, numbers with '.', texts quoted when they need it.
inline QByteArray delimitedText(const Rows &rows, char delimiter) {
    QByteArray out;
    for (const QVariantList &row : rows) {
        QStringList fields;
        for (const QVariant &v : row) {
            QString t = v.typeId() == QMetaType::QDate    ? v.toDate().toString(QStringLiteral("dd/MM/yyyy"))
                        : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 17)
                                                          : v.toString();
            if (t.contains(QLatin1Char(delimiter)) || t.contains(QLatin1Char('"')) ||
                t.contains(QLatin1Char('\n')))
                t = QLatin1Char('"') + t.replace(QLatin1String("\""), QLatin1String("\"\"")) +
                    QLatin1Char('"');
            fields.append(t);
        }
        out += fields.join(QLatin1Char(delimiter)).toUtf8() + "\r\n";
    }
    return out;
}

inline void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("write");
}

inline QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace testfiles
