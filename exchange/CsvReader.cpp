#include "exchange/CsvReader.h"

#include "data/Win1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <csv.h>

namespace {

// Beyond this a text file is not an accountant's export but a mistake; reading it whole would exhaust memory.
constexpr qint64 kMaxTextFile = 1024LL * 1024 * 1024;

char guessDelimiter(const QByteArray &data) {
    int counts[3] = {0, 0, 0};
    const char candidates[3] = {';', ',', '\t'};
    bool quoted = false;
    for (char c : data) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted)
            for (int i = 0; i < 3; ++i)
                counts[i] += c == candidates[i];
    }
    int best = 0;
    for (int i = 1; i < 3; ++i)
        if (counts[i] > counts[best])
            best = i;
    return counts[best] > 0 ? candidates[best] : ';';
}

int onlyBlank(unsigned char c) {
    return c == CSV_SPACE;
}

} // namespace

CsvReader::CsvReader(const QString &path, char delimiter) : SpreadsheetReader(path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("impossible de l'ouvrir (%1).").arg(file.errorString()));
    if (file.size() > kMaxTextFile)
        fail(QStringLiteral("fichier texte trop volumineux (%1 octets).").arg(file.size()));
    m_data = file.readAll();
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_data.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(m_data); // decoding happens on conversion to QString
    m_utf8 = !decoder.hasError();
    m_delimiter = delimiter ? delimiter : guessDelimiter(m_data);
}

QStringList CsvReader::sheets() const {
    return {QFileInfo(path()).completeBaseName()};
}

namespace {

struct Collector {
    const SpreadsheetReader::RowHandler *handler = nullptr;
    bool utf8 = true;
    int line = 1;        // line of the text being parsed
    int recordStart = 1; // line after the last record ended
    SheetRow row;
    bool stopped = false;
    bool tooWide = false;
};

void onField(void *field, size_t size, void *data) {
    auto *c = static_cast<Collector *>(data);
    if (c->stopped || c->tooWide)
        return;
    if (c->row.cells.isEmpty())
        c->row.number = c->line;
    if (c->row.cells.size() >= kMaxColumns) {
        c->tooWide = true;
        return;
    }
    const auto *bytes = static_cast<const char *>(field);
    const auto n = static_cast<qsizetype>(size);
    const QString text = c->utf8 ? QString::fromUtf8(bytes, n) : win1252::decode(bytes, n);
    c->row.cells.append(text.isEmpty() ? QVariant() : QVariant(text));
}

void onRow(int, void *data) {
    auto *c = static_cast<Collector *>(data);
    if (c->stopped || c->tooWide)
        return;
    bool empty = true;
    for (const QVariant &v : std::as_const(c->row.cells))
        empty = empty && v.isNull();
    if (!empty && !(*c->handler)(c->row))
        c->stopped = true;
    c->row = SheetRow();
    c->recordStart = c->line + 1;
}

} // namespace

void CsvReader::readRows(int sheet, const RowHandler &handler) {
    checkSheet(sheet);
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0)
        fail(QStringLiteral("mémoire insuffisante pour le lire."));
    struct Free {
        csv_parser *p;
        ~Free() { csv_free(p); }
    } freeParser{&parser};
    csv_set_delim(&parser, static_cast<unsigned char>(m_delimiter));
    if (m_delimiter == '\t')
        csv_set_space_func(&parser, onlyBlank);

    Collector collector;
    collector.handler = &handler;
    collector.utf8 = m_utf8;
    const char *data = m_data.constData();
    const qsizetype size = m_data.size();
    qsizetype start = 0;
    // Line by line, so that a fault is placed on its line of the file.
    while (start < size && !collector.stopped) {
        qsizetype end = m_data.indexOf('\n', start);
        end = end < 0 ? size : end + 1;
        const auto length = static_cast<size_t>(end - start);
        const size_t parsed = csv_parse(&parser, data + start, length, onField, onRow, &collector);
        if (collector.tooWide)
            fail(QStringLiteral("ligne %1 : plus de %2 colonnes.").arg(collector.line).arg(kMaxColumns));
        if (parsed != length) {
            if (csv_error(&parser) == CSV_ENOMEM || csv_error(&parser) == CSV_ETOOBIG)
                fail(QStringLiteral("ligne %1 : champ trop long.").arg(collector.line));
            fail(QStringLiteral("ligne %1, caractère %2 : guillemet mal placé (un champ entre guillemets "
                                "doit commencer et finir par un guillemet, et un guillemet à l'intérieur "
                                "s'écrit deux fois).")
                     .arg(collector.line)
                     .arg(parsed + 1));
        }
        ++collector.line;
        start = end;
    }
    if (collector.stopped)
        return;
    if (csv_fini(&parser, onField, onRow, &collector) != 0)
        fail(QStringLiteral("ligne %1 : un guillemet ouvert n'est jamais refermé avant la fin du fichier.")
                 .arg(collector.row.number > 0 ? collector.row.number : collector.recordStart));
    if (collector.tooWide)
        fail(QStringLiteral("dernière ligne : plus de %1 colonnes.").arg(kMaxColumns));
}
