#include "exchange/XlsxReader.h"

#include "exchange/ZipPackage.h"

#include <QDateTime>
#include <QDir>
#include <QXmlStreamReader>
#include <cmath>

namespace {

// Built-in number formats that show dates or times.
bool builtinDate(int id) {
    return (id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) ||
           (id >= 50 && id <= 58);
}
bool builtinTime(int id) {
    return (id >= 18 && id <= 21) || (id >= 45 && id <= 47) || id == 32 || id == 33;
}

// What a format code shows, once its quoted texts, escapes and [colour] or [$-locale] parts are set aside.
int classifyFormat(const QString &code) {
    bool date = false, time = false, quoted = false, bracket = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i].toLower();
        if (quoted) {
            quoted = c != QLatin1Char('"');
        } else if (bracket) {
            bracket = c != QLatin1Char(']');
            if (c == QLatin1Char('h') || c == QLatin1Char('s'))
                time = true; // [h]:mm elapsed hours
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char('[')) {
            bracket = true;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char(';')) {
            break; // the positive section decides
        } else if (c == QLatin1Char('y') || c == QLatin1Char('d')) {
            date = true;
        } else if (c == QLatin1Char('h') || c == QLatin1Char('s')) {
            time = true;
        }
    }
    return date ? (time ? 2 : 1) : (time ? 3 : 0);
}

// A cell reference ("BC12") split into its column index and row; false when malformed.
bool parseRef(QStringView ref, int *column, int *row) {
    qsizetype i = 0;
    while (i < ref.size() && ref[i].isLetter())
        ++i;
    if (i == 0 || i == ref.size())
        return false;
    *column = columnIndex(ref.left(i).toString());
    bool ok = false;
    *row = ref.mid(i).toInt(&ok);
    return *column >= 0 && ok && *row >= 1 && *row <= kMaxRows;
}

} // namespace

QDateTime serialToDateTime(double serial, bool date1904) {
    // Serials before 1 March 1900 count the 29 February 1900 that never was.
    const QDate base = date1904 ? QDate(1904, 1, 1) : serial < 61 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    const double days = std::floor(serial);
    const qint64 msecs = std::llround((serial - days) * 86400000.0);
    return QDateTime(base.addDays(static_cast<qint64>(days)), QTime(0, 0), Qt::UTC).addMSecs(msecs);
}

XlsxReader::XlsxReader(const QString &path) : SpreadsheetReader(path) {
    m_zip = std::make_unique<ZipPackage>(path, [this](const QString &what) { fail(what); });
    readWorkbook();
    readSharedStrings();
    readStyles();
}

XlsxReader::~XlsxReader() = default;

void XlsxReader::xmlFail(const QString &part, qint64 line, qint64 column, const QString &error) const {
    fail(QStringLiteral("partie « %1 », ligne %2, colonne %3 : XML invalide (%4).")
             .arg(part)
             .arg(line)
             .arg(column)
             .arg(error));
}

void XlsxReader::readWorkbook() {
    const QString workbook = QStringLiteral("xl/workbook.xml");
    QHash<QString, QString> targets;
    {
        const QString relsPart = QStringLiteral("xl/_rels/workbook.xml.rels");
        QXmlStreamReader xml(m_zip->read(relsPart));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship"))
                targets.insert(xml.attributes().value(QLatin1String("Id")).toString(),
                               xml.attributes().value(QLatin1String("Target")).toString());
        }
        if (xml.hasError())
            xmlFail(relsPart, xml.lineNumber(), xml.columnNumber(), xml.errorString());
    }
    QXmlStreamReader xml(m_zip->read(workbook));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            const auto v = xml.attributes().value(QLatin1String("date1904"));
            m_date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet")) {
            const QXmlStreamAttributes a = xml.attributes();
            QString id;
            for (const QXmlStreamAttribute &attr : a)
                if (attr.name() == QLatin1String("id"))
                    id = attr.value().toString();
            const QString target = targets.value(id);
            if (target.isEmpty())
                fail(QStringLiteral("la feuille « %1 » n'a pas de partie dans l'archive.")
                         .arg(a.value(QLatin1String("name"))));
            m_names.append(a.value(QLatin1String("name")).toString());
            m_parts.append(target.startsWith(QLatin1Char('/'))
                               ? target.mid(1)
                               : QDir::cleanPath(QStringLiteral("xl/") + target));
        }
    }
    if (xml.hasError())
        xmlFail(workbook, xml.lineNumber(), xml.columnNumber(), xml.errorString());
    if (m_names.isEmpty())
        fail(QStringLiteral("le classeur n'a aucune feuille."));
}

void XlsxReader::readSharedStrings() {
    const QString part = QStringLiteral("xl/sharedStrings.xml");
    const QByteArray data = m_zip->read(part, true);
    if (data.isEmpty())
        return;
    QXmlStreamReader xml(data);
    QString current;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("si"))
                current.clear();
            else if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                current += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("si"))
                m_strings.append(current);
            else if (xml.name() == QLatin1String("rPh"))
                --phonetic;
        }
    }
    if (xml.hasError())
        xmlFail(part, xml.lineNumber(), xml.columnNumber(), xml.errorString());
}

void XlsxReader::readStyles() {
    const QString part = QStringLiteral("xl/styles.xml");
    const QByteArray data = m_zip->read(part, true);
    if (data.isEmpty())
        return;
    QHash<int, int> custom; // numFmtId -> classifyFormat
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == QLatin1String("numFmt")) {
                custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                              classifyFormat(a.value(QLatin1String("formatCode")).toString()));
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                const int kind = custom.contains(id) ? custom.value(id)
                                 : builtinDate(id)   ? 1
                                 : id == 22          ? 2
                                 : builtinTime(id)   ? 3
                                                     : 0;
                m_styles.push_back(static_cast<Kind>(kind));
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    if (xml.hasError())
        xmlFail(part, xml.lineNumber(), xml.columnNumber(), xml.errorString());
}

QVariant XlsxReader::numberCell(const QString &text, int style, const QString &part,
                                const QString &ref) const {
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        fail(QStringLiteral("partie « %1 », cellule %2 : nombre illisible « %3 ».").arg(part, ref, text));
    const Kind kind =
        style >= 0 && style < static_cast<int>(m_styles.size()) ? m_styles[style] : Kind::Number;
    if (kind == Kind::Number || d < 0 || d > 2958465) // 31/12/9999
        return d;
    const QDateTime dt = serialToDateTime(d, m_date1904);
    switch (kind) {
    case Kind::Date: return dt.date();
    case Kind::DateTime: return dt;
    case Kind::Time: return dt.time();
    case Kind::Number: break;
    }
    return d;
}

void XlsxReader::readRows(int sheet, const RowHandler &handler) {
    checkSheet(sheet);
    const QString part = m_parts[sheet];
    QXmlStreamReader xml(m_zip->read(part));
    SheetRow row;
    int lastRow = 0;
    int column = -1;
    auto flush = [&]() {
        bool empty = true;
        for (const QVariant &v : std::as_const(row.cells))
            empty = empty && v.isNull();
        const bool go = empty || handler(row);
        row = SheetRow();
        return go;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
            if (!flush())
                return;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("row")) {
            const auto r = xml.attributes().value(QLatin1String("r"));
            bool ok = true;
            const int number = r.isEmpty() ? lastRow + 1 : r.toInt(&ok);
            if (!ok || number <= lastRow || number > kMaxRows)
                fail(QStringLiteral("partie « %1 », ligne XML %2 : numéro de ligne invalide « %3 ».")
                         .arg(part)
                         .arg(xml.lineNumber())
                         .arg(r));
            row.number = lastRow = number;
            column = -1;
        } else if (xml.name() == QLatin1String("c")) {
            if (row.number == 0)
                fail(QStringLiteral("partie « %1 », ligne XML %2 : cellule hors d'une ligne.")
                         .arg(part)
                         .arg(xml.lineNumber()));
            const QXmlStreamAttributes a = xml.attributes();
            const QString ref = a.value(QLatin1String("r")).toString();
            if (ref.isEmpty()) {
                ++column;
            } else {
                int refRow = 0;
                if (!parseRef(ref, &column, &refRow) || refRow != row.number)
                    fail(QStringLiteral("partie « %1 », ligne %2 : référence de cellule invalide « %3 ».")
                             .arg(part)
                             .arg(row.number)
                             .arg(ref));
            }
            if (column >= kMaxColumns)
                fail(QStringLiteral("partie « %1 », ligne %2 : plus de %3 colonnes.")
                         .arg(part)
                         .arg(row.number)
                         .arg(kMaxColumns));
            const QString type = a.value(QLatin1String("t")).toString();
            const int style = a.value(QLatin1String("s")).toInt();
            const QString where = ref.isEmpty() ? columnLetters(column) + QString::number(row.number) : ref;
            QString value;
            bool hasValue = false;
            // The cell's children: <v>, <f>, <is><t>..</t></is>.
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("v")) {
                    value = xml.readElementText();
                    hasValue = true;
                } else if (xml.name() == QLatin1String("is")) {
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("t")) {
                            value += xml.readElementText();
                        } else if (xml.name() == QLatin1String("r")) {
                            while (xml.readNextStartElement())
                                if (xml.name() == QLatin1String("t"))
                                    value += xml.readElementText();
                                else
                                    xml.skipCurrentElement();
                        } else {
                            xml.skipCurrentElement();
                        }
                    }
                    hasValue = true;
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (xml.hasError())
                break;
            QVariant cell;
            if (hasValue) {
                if (type == QLatin1String("s")) {
                    bool ok = false;
                    const int index = value.toInt(&ok);
                    if (!ok || index < 0 || index >= m_strings.size())
                        fail(QStringLiteral("partie « %1 », cellule %2 : texte partagé n° « %3 » absent.")
                                 .arg(part, where, value));
                    cell = m_strings[index];
                } else if (type == QLatin1String("inlineStr") || type == QLatin1String("str") ||
                           type == QLatin1String("e")) {
                    cell = value;
                } else if (type == QLatin1String("b")) {
                    cell = value.trimmed() == QLatin1String("1");
                } else if (type == QLatin1String("d")) {
                    QDateTime dt = QDateTime::fromString(value, Qt::ISODate);
                    if (!dt.isValid())
                        fail(QStringLiteral("partie « %1 », cellule %2 : date illisible « %3 ».")
                                 .arg(part, where, value));
                    cell = dt.time() == QTime(0, 0) ? QVariant(dt.date()) : QVariant(dt);
                } else if (!value.isEmpty()) {
                    cell = numberCell(value, style, part, where);
                }
                if (cell.typeId() == QMetaType::QString && cell.toString().isEmpty())
                    cell = QVariant();
            }
            if (!cell.isNull()) {
                while (row.cells.size() <= column)
                    row.cells.append(QVariant());
                row.cells[column] = cell;
            }
        }
    }
    if (xml.hasError())
        xmlFail(part, xml.lineNumber(), xml.columnNumber(), xml.errorString());
}
