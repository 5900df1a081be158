#include "exchange/GWGExporterXL.h"

#include "data/Win1252.h"
#include "exchange/XlsxWriterLibrary.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUuid>
#include <algorithm>

namespace {

enum class Kind { Auto, Text, Number, Date };

struct OutColumn {
    int field;
    QString title;
    Kind kind;
};

// A small text file as UTF-8 when it is valid UTF-8, else as Windows-1252.
QStringList readTextLines(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ExportError(QStringLiteral("Fichier « %1 » illisible : %2").arg(path, f.errorString()));
    QByteArray data = f.readAll();
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = win1252::decode(data);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'));
}

// The column file: one field a line, in the order sent, optionally "=Texte", "=Nombre" or "=Date" to choose
// its format; blank lines, "[section]" lines and lines starting with ';' or '#' are ignored.
std::vector<OutColumn> readColumnFile(const QString &path, const ExportSource &source) {
    std::vector<OutColumn> out;
    const QStringList lines = readTextLines(path);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char('[')))
            continue;
        const QString name = line.section(QLatin1Char('='), 0, 0).trimmed();
        const QString kind = line.section(QLatin1Char('='), 1).trimmed().toLower();
        const int field = source.fieldIndex(name);
        if (field < 0)
            throw ExportError(
                QStringLiteral("Fichier de colonnes « %1 », ligne %2 : le champ « %3 » n'existe pas.")
                    .arg(QFileInfo(path).fileName())
                    .arg(i + 1)
                    .arg(name));
        Kind k = Kind::Auto;
        if (kind == QLatin1String("texte") || kind == QLatin1String("text") || kind == QLatin1String("t"))
            k = Kind::Text;
        else if (kind == QLatin1String("nombre") || kind == QLatin1String("number") ||
                 kind == QLatin1String("n"))
            k = Kind::Number;
        else if (kind == QLatin1String("date") || kind == QLatin1String("d"))
            k = Kind::Date;
        else if (!kind.isEmpty())
            throw ExportError(
                QStringLiteral("Fichier de colonnes « %1 », ligne %2 : format « %3 » inconnu (Texte, "
                               "Nombre ou Date).")
                    .arg(QFileInfo(path).fileName())
                    .arg(i + 1)
                    .arg(kind));
        out.push_back({field, source.fieldName(field), k});
    }
    if (out.empty())
        throw ExportError(QStringLiteral("Fichier de colonnes « %1 » : aucun champ à exporter.")
                              .arg(QFileInfo(path).fileName()));
    return out;
}

Kind naturalKind(const ExportSource &source, int field) {
    switch (source.fieldType(field)) {
    case ExportSource::FieldType::Text: return Kind::Text;
    case ExportSource::FieldType::Number: return Kind::Number;
    case ExportSource::FieldType::Date: return Kind::Date;
    case ExportSource::FieldType::Other: break;
    }
    return Kind::Auto;
}

class Workbook {
public:
    explicit Workbook(const QString &path)
        : m_lib(XlsxWriterLibrary::get()), m_path(QFile::encodeName(path)) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // rows go to disk as they are written
        m_tmp = QFile::encodeName(QDir::tempPath());
        options.tmpdir = m_tmp.data();
        m_book = m_lib.workbookNew(m_path.constData(), &options);
        if (!m_book)
            throw ExportError(QStringLiteral("Impossible de créer le classeur « %1 ».").arg(path));
        m_sheet = m_lib.addWorksheet(m_book, nullptr);
        text = m_lib.addFormat(m_book);
        m_lib.setNumFormat(text, "@");
        date = m_lib.addFormat(m_book);
        m_lib.setNumFormat(date, "dd/mm/yyyy");
        dateTime = m_lib.addFormat(m_book);
        m_lib.setNumFormat(dateTime, "dd/mm/yyyy hh:mm:ss");
    }
    ~Workbook() {
        if (m_book)
            m_lib.close(m_book);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;
    lxw_worksheet *sheet() const { return m_sheet; }
    void check(lxw_error error, int row, int column) const {
        if (error != LXW_NO_ERROR)
            throw ExportError(QStringLiteral("Ligne %1, colonne %2 du classeur : %3")
                                  .arg(row + 1)
                                  .arg(column + 1)
                                  .arg(QString::fromUtf8(m_lib.errorText(error))));
    }
    void close() {
        const lxw_error error = m_lib.close(m_book);
        m_book = nullptr;
        if (error != LXW_NO_ERROR)
            throw ExportError(QStringLiteral("Impossible d'écrire le classeur « %1 » : %2")
                                  .arg(QFile::decodeName(m_path), QString::fromUtf8(m_lib.errorText(error))));
    }
    lxw_format *text = nullptr;
    lxw_format *date = nullptr;
    lxw_format *dateTime = nullptr;

    const XlsxWriterLibrary &lib() const { return m_lib; }

private:
    const XlsxWriterLibrary &m_lib;
    QByteArray m_path;
    QByteArray m_tmp;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
};

lxw_datetime toLxw(const QDateTime &dt) {
    return {dt.date().year(), dt.date().month(),  dt.date().day(),
            dt.time().hour(), dt.time().minute(), dt.time().second() + dt.time().msec() / 1000.0};
}

QString plainText(const QVariant &v) {
    if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate) {
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(QStringLiteral("dd/MM/yyyy"))
                                        : dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    }
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    if (v.typeId() == QMetaType::Bool) // a dBase logical, as the export window's grid shows it
        return v.toBool() ? QStringLiteral("Oui") : QStringLiteral("Non");
    return v.toString();
}

void writeCell(Workbook &book, int row, int column, const QVariant &v, Kind kind) {
    if (v.isNull())
        return;
    lxw_worksheet *ws = book.sheet();
    const auto r = static_cast<lxw_row_t>(row);
    const auto c = static_cast<lxw_col_t>(column);
    const int type = v.typeId();
    const bool isDate = type == QMetaType::QDateTime || type == QMetaType::QDate;
    const bool isNumber = type == QMetaType::Double || type == QMetaType::Int ||
                          type == QMetaType::LongLong || type == QMetaType::Float || type == QMetaType::Short;
    if (kind == Kind::Text || (kind == Kind::Auto && !isDate && !isNumber)) {
        // A cell holds at most 32767 characters.
        const QByteArray utf8 = plainText(v).left(32767).toUtf8();
        book.check(book.lib().writeString(ws, r, c, utf8.constData(), book.text), row, column);
    } else if (isDate && kind != Kind::Number) {
        const QDateTime dt = v.toDateTime();
        lxw_datetime d = toLxw(dt);
        if (dt.date().year() < 1900) { // before the spreadsheet's calendar
            const QByteArray utf8 = plainText(v).toUtf8();
            book.check(book.lib().writeString(ws, r, c, utf8.constData(), book.text), row, column);
        } else {
            book.check(
                book.lib().writeDatetime(ws, r, c, &d, dt.time() == QTime(0, 0) ? book.date : book.dateTime),
                row, column);
        }
    } else {
        bool ok = isNumber;
        const double d = isNumber ? v.toDouble() : v.toString().trimmed().toDouble(&ok);
        if (ok) {
            book.check(book.lib().writeNumber(ws, r, c, d, nullptr), row, column);
        } else {
            const QByteArray utf8 = plainText(v).left(32767).toUtf8();
            book.check(book.lib().writeString(ws, r, c, utf8.constData(), nullptr), row, column);
        }
    }
}

} // namespace

void GWGExporterXL::setSource(Dataset *source) {
    m_source = source ? std::make_shared<DatasetExportSource>(*source) : nullptr;
    m_dataset = source;
}

void GWGExporterXL::setSource(std::shared_ptr<ExportSource> source) {
    m_source = std::move(source);
    m_dataset = nullptr;
}

void GWGExporterXL::setFirstRow(int row) {
    m_firstRow = std::max(1, row);
    if (m_firstRow > m_lastRow)
        m_lastRow = m_firstRow;
    m_rows = std::clamp(m_lastRow - m_firstRow + 1, 1, kMaxRows);
}

void GWGExporterXL::setLastRow(int row) {
    m_lastRow = std::max(1, row);
    if (m_lastRow < m_firstRow)
        m_firstRow = m_lastRow;
    m_rows = std::clamp(m_lastRow - m_firstRow + 1, 1, kMaxRows);
}

void GWGExporterXL::setRows(int rows) {
    m_rows = std::clamp(rows, 1, kMaxRows);
    m_lastRow = m_firstRow + m_rows - 1;
}

QString GWGExporterXL::savePath() const {
    if (saveFile.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive))
        return saveFile + QLatin1Char('x');
    return saveFile;
}

QString GWGExporterXL::statusText(int rowsSent, qint64 elapsedMs) {
    const qint64 minutes = elapsedMs / 60000;
    const qint64 seconds = elapsedMs / 1000 % 60;
    const qint64 millis = elapsedMs % 1000;
    return QStringLiteral("Sended Rows : %1 in... %2:%3.%4")
        .arg(rowsSent)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'))
        .arg(millis, 3, 10, QLatin1Char('0'));
}

QString GWGExporterXL::exportRows(const ProgressHandler &progress) {
    QElapsedTimer timer;
    timer.start();
    if (!m_source || !m_source->isOpen())
        throw ExportError(QStringLiteral("Aucune table ouverte à exporter."));
    const ExportSource &source = *m_source;
    if (saveAfterExport && saveFile.trimmed().isEmpty())
        throw ExportError(QStringLiteral("Aucun fichier de sauvegarde n'est indiqué."));

    // The row settings against the source as it is now.
    const int count = source.rowCount();
    if (m_firstRow > count)
        m_firstRow = 1;
    if (m_rows > count)
        m_rows = std::max(count, 1);
    if (m_lastRow > count)
        m_lastRow = std::max(count, 1);
    const int first = m_firstRow - 1;
    const int sent = count == 0 ? 0 : std::min(m_rows, count - first);

    std::vector<OutColumn> columns;
    if (!columnFile.isEmpty() && QFileInfo(columnFile).isFile()) {
        columns = readColumnFile(columnFile, source);
    } else {
        for (int f = 0; f < source.fieldCount(); ++f)
            columns.push_back({f, source.fieldName(f), Kind::Auto});
    }
    for (OutColumn &c : columns)
        if (c.kind == Kind::Auto)
            c.kind = naturalKind(source, c.field);
    if (!titlesFile.isEmpty() && QFileInfo(titlesFile).isFile()) {
        const QStringList titles = readTextLines(titlesFile).value(0).split(QLatin1Char('\t'));
        for (std::size_t i = 0; i < columns.size() && i < static_cast<std::size_t>(titles.size()); ++i)
            if (!titles[static_cast<qsizetype>(i)].trimmed().isEmpty())
                columns[i].title = titles[static_cast<qsizetype>(i)].trimmed();
    }

    const QString target = saveAfterExport
                               ? savePath()
                               : QDir(QDir::tempPath())
                                     .filePath(QStringLiteral("Export-%1.xlsx")
                                                   .arg(QUuid::createUuid().toString(QUuid::Id128).left(12)));
    // Written beside the target and put in its place only when complete: a failed export leaves an earlier
    // workbook of that name as it was.
    if (!QFileInfo(target).absoluteDir().exists())
        throw ExportError(QStringLiteral("Le dossier du fichier « %1 » n'existe pas.").arg(target));
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    try {
        Workbook book(partial);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto c = static_cast<lxw_col_t>(i);
            const double width = std::clamp<double>(
                std::max<double>(columns[i].title.size(), source.displayWidth(columns[i].field)), 8, 60);
            book.check(book.lib().setColumn(book.sheet(), c, c, width,
                                            columns[i].kind == Kind::Text ? book.text : nullptr),
                       0, static_cast<int>(i));
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QByteArray title = columns[i].title.toUtf8();
            book.check(book.lib().writeString(book.sheet(), 0, static_cast<lxw_col_t>(i), title.constData(),
                                              nullptr),
                       0, static_cast<int>(i));
        }
        const int step = std::max(1, sent / 100);
        for (int r = 0; r < sent; ++r) {
            for (std::size_t i = 0; i < columns.size(); ++i)
                writeCell(book, r + 1, static_cast<int>(i), source.value(first + r, columns[i].field),
                          columns[i].kind);
            if (progress && ((r + 1) % step == 0 || r + 1 == sent))
                progress({sent ? (r + 1) * 100 / sent : 100, timer.elapsed(), r + 1});
        }
        book.close();
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (QFile::exists(target) && !QFile::remove(target)) {
        QFile::remove(partial);
        throw ExportError(
            QStringLiteral("Le fichier « %1 » est en cours d'utilisation ou protégé : le classeur n'a "
                           "pas pu le remplacer.")
                .arg(target));
    }
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        throw ExportError(QStringLiteral("Impossible d'enregistrer le classeur « %1 ».").arg(target));
    }
    if (progress && sent == 0)
        progress({100, timer.elapsed(), 0});
    return target;
}
