#include "exchange/OdsReader.h"

#include "exchange/ZipPackage.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace {

const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kContent = QStringLiteral("content.xml");

bool is(const QXmlStreamReader &xml, const QString &ns, const char *name) {
    return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

int repeatOf(const QXmlStreamAttributes &a, const char *name) {
    const auto v = a.value(kTable, QLatin1String(name));
    if (v.isEmpty())
        return 1;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok && n > 0 ? n : -1;
}

// The text of the cell the reader stands on, read up to the cell's end: paragraphs joined by line breaks.
QString cellText(QXmlStreamReader &xml) {
    QString out;
    int paragraphs = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (is(xml, kOffice, "annotation")) {
                xml.skipCurrentElement();
                --depth;
            } else if (is(xml, kText, "p") && depth == 2) {
                if (paragraphs++ > 0)
                    out += QLatin1Char('\n');
            } else if (is(xml, kText, "s")) {
                const int n = xml.attributes().value(kText, QLatin1String("c")).toInt();
                out += QString(std::clamp(n, 1, 1000), QLatin1Char(' '));
            } else if (is(xml, kText, "tab")) {
                out += QLatin1Char('\t');
            } else if (is(xml, kText, "line-break")) {
                out += QLatin1Char('\n');
            }
        } else if (xml.isEndElement()) {
            --depth;
        } else if (xml.isCharacters() && paragraphs > 0) {
            out += xml.text();
        }
    }
    return out;
}

} // namespace

OdsReader::OdsReader(const QString &path) : SpreadsheetReader(path) {
    ZipPackage zip(path, [this](const QString &what) { fail(what); });
    m_content = zip.read(kContent);
    QXmlStreamReader xml(m_content);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && is(xml, kTable, "table"))
            m_names.append(xml.attributes().value(kTable, QLatin1String("name")).toString());
    }
    if (xml.hasError())
        xmlFail(xml.lineNumber(), xml.columnNumber(), xml.errorString());
    if (m_names.isEmpty())
        fail(QStringLiteral("le classeur n'a aucune feuille."));
}

void OdsReader::xmlFail(qint64 line, qint64 column, const QString &error) const {
    fail(QStringLiteral("partie « content.xml », ligne %1, colonne %2 : XML invalide (%3).")
             .arg(line)
             .arg(column)
             .arg(error));
}

void OdsReader::readRows(int sheet, const RowHandler &handler) {
    checkSheet(sheet);
    QXmlStreamReader xml(m_content);
    int table = -1;
    bool inside = false;
    int rowNumber = 1; // of the next row
    int rowRepeat = 1;
    SheetRow row;
    int column = 0;
    auto where = [&]() {
        return QStringLiteral("ligne %1, colonne %2").arg(rowNumber).arg(columnLetters(column));
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && is(xml, kTable, "table")) {
            inside = ++table == sheet;
            continue;
        }
        if (!inside)
            continue;
        if (xml.isEndElement() && is(xml, kTable, "table"))
            return;
        if (xml.isStartElement() && is(xml, kTable, "table-row")) {
            rowRepeat = repeatOf(xml.attributes(), "number-rows-repeated");
            if (rowRepeat < 0)
                fail(QStringLiteral("ligne %1 : répétition de lignes invalide.").arg(rowNumber));
            row = SheetRow();
            column = 0;
        } else if (xml.isEndElement() && is(xml, kTable, "table-row")) {
            bool empty = true;
            for (const QVariant &v : std::as_const(row.cells))
                empty = empty && v.isNull();
            if (!empty) {
                for (int i = 0; i < rowRepeat; ++i) {
                    if (rowNumber > kMaxRows)
                        fail(QStringLiteral("plus de %1 lignes.").arg(kMaxRows));
                    row.number = rowNumber++;
                    if (!handler(row))
                        return;
                }
            } else {
                rowNumber = static_cast<int>(std::min<qint64>(qint64(rowNumber) + rowRepeat, kMaxRows + 1LL));
            }
        } else if (xml.isStartElement() &&
                   (is(xml, kTable, "table-cell") || is(xml, kTable, "covered-table-cell"))) {
            const QXmlStreamAttributes a = xml.attributes();
            const int repeat = repeatOf(a, "number-columns-repeated");
            if (repeat < 0)
                fail(where() + QStringLiteral(" : répétition de cellules invalide."));
            const QString type = a.value(kOffice, QLatin1String("value-type")).toString();
            const QString text = cellText(xml);
            QVariant cell;
            if (type == QLatin1String("float") || type == QLatin1String("percentage") ||
                type == QLatin1String("currency")) {
                bool ok = false;
                const double d = a.value(kOffice, QLatin1String("value")).toDouble(&ok);
                if (!ok || !std::isfinite(d))
                    fail(where() + QStringLiteral(" : nombre illisible « %1 ».")
                                       .arg(a.value(kOffice, QLatin1String("value"))));
                cell = d;
            } else if (type == QLatin1String("date")) {
                const QString v = a.value(kOffice, QLatin1String("date-value")).toString();
                const QDateTime dt = QDateTime::fromString(v, Qt::ISODate);
                const QDate d = QDate::fromString(v, Qt::ISODate);
                if (d.isValid())
                    cell = d;
                else if (dt.isValid())
                    cell = dt;
                else
                    fail(where() + QStringLiteral(" : date illisible « %1 ».").arg(v));
            } else if (type == QLatin1String("time")) {
                // PT10H30M00S
                static const QRegularExpression duration(
                    QStringLiteral("^PT(\\d+)H(\\d+)M(\\d+)(?:[.,](\\d+))?S$"));
                const QString v = a.value(kOffice, QLatin1String("time-value")).toString();
                const auto m = duration.match(v);
                if (!m.hasMatch())
                    fail(where() + QStringLiteral(" : heure illisible « %1 ».").arg(v));
                cell =
                    QTime(m.captured(1).toInt() % 24, m.captured(2).toInt() % 60, m.captured(3).toInt() % 60);
            } else if (type == QLatin1String("boolean")) {
                cell = a.value(kOffice, QLatin1String("boolean-value")) == QLatin1String("true");
            } else if (!text.isEmpty()) {
                cell = text;
            }
            if (!cell.isNull()) {
                if (qint64(column) + repeat > kMaxColumns)
                    fail(where() + QStringLiteral(" : plus de %1 colonnes.").arg(kMaxColumns));
                while (row.cells.size() < column)
                    row.cells.append(QVariant());
                for (int i = 0; i < repeat; ++i)
                    row.cells.append(cell);
            }
            column = static_cast<int>(std::min<qint64>(qint64(column) + repeat, kMaxColumns));
        }
    }
    if (xml.hasError())
        xmlFail(xml.lineNumber(), xml.columnNumber(), xml.errorString());
}
