// Feeds every reader with damaged copies of good files: truncations, flipped and inserted bytes, and, for
// the zipped formats, damaged XML parts zipped again. Each file must either read or end with a
// SpreadsheetError naming it (dBase tables too, read by DbfTable); any other outcome (another exception, a
// crash) fails the run. The mutations come from a fixed seed, so that a failure is found again by running the
// same count.
//
//   exchange_fuzz [iterations] [xls fixture]

#include "exchange/DbfTable.h"
#include "exchange/SpreadsheetReader.h"
#include "tests/exchange/SpreadsheetFiles.h"

#include <functional>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct Random {
    quint64 state;
    quint32 next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<quint32>(state >> 33);
    }
    qsizetype below(qsizetype n) {
        return n > 0 ? static_cast<qsizetype>(next() % static_cast<quint64>(n)) : 0;
    }
};

QByteArray mutate(QByteArray data, Random &rnd) {
    switch (rnd.below(4)) {
    case 0: // truncation
        return data.left(rnd.below(data.size() + 1));
    case 1: // flipped bytes
        for (int i = 0, n = 1 + static_cast<int>(rnd.below(8)); i < n && !data.isEmpty(); ++i)
            data[rnd.below(data.size())] = static_cast<char>(rnd.next());
        return data;
    case 2: { // a range removed
        const qsizetype at = rnd.below(data.size());
        return data.remove(at, rnd.below(64) + 1);
    }
    default: { // bytes inserted, often markup or quotes
        static const char *const pieces[] = {"<",
                                             ">",
                                             "\"",
                                             "</row>",
                                             "<c r=\"ZZZZ1\">",
                                             "<row r=\"0\">",
                                             "table:number-columns-repeated=\"99999999\" ",
                                             "\r\n",
                                             ";",
                                             "&#0;",
                                             "\xff\xfe",
                                             "<v>1e999</v>",
                                             "t=\"s\"><v>99999</v>"};
        return data.insert(rnd.below(data.size() + 1), pieces[rnd.below(std::size(pieces))]);
    }
    }
}

struct Source {
    QString suffix;
    QByteArray bytes;                                  // the file as it is
    std::vector<std::pair<QString, QByteArray>> parts; // for zips: the parts, to damage one and zip again
};

int failures = 0;

// Runs `read` on a damaged file: it must end normally or with a SpreadsheetError naming the file.
void expectReadOrNamedError(const QString &path, const std::function<void()> &read) {
    try {
        read();
    } catch (const SpreadsheetError &e) {
        if (!e.message().contains(QFileInfo(path).fileName())) {
            std::fprintf(stderr, "%s: message without the file name: %s\n", qPrintable(path),
                         qPrintable(e.message()));
            ++failures;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s: unexpected exception: %s\n", qPrintable(path), e.what());
        ++failures;
    }
}

void feed(const QString &path) {
    expectReadOrNamedError(path, [&] {
        const auto reader = openSpreadsheet(path);
        for (int sheet = 0; sheet < reader->sheets().size(); ++sheet)
            reader->readRows(sheet, [](const SheetRow &row) {
                for (const QVariant &cell : row.cells)
                    (void)cellText(cell);
                return true;
            });
    });
}

// A dBase table must read, every value included.
void feedDbf(const QString &path) {
    expectReadOrNamedError(path, [&] {
        const DbfTable table(path);
        for (int r = 0; r < table.rowCount(); ++r)
            for (int f = 0; f < table.fieldCount(); ++f)
                (void)table.value(r, f);
    });
}

// A dBase III table: a text, a number, a date and a logical field, two records.
QByteArray dbfBase() {
    QByteArray out("\x03\x76\x0C\x1F\x02\0\0\0\xA1\0\x1D\0", 12); // header 32 + 4 * 32 + 1, record 29
    out.append(QByteArray(20, '\0'));
    const std::pair<const char *, const char *> fields[] = {
        {"NOM", "C\x0A"}, {"MONTANT", "N\x09"}, {"DATEOP", "D\x08"}, {"PAYE", "L\x01"}};
    for (const auto &[name, type] : fields) {
        QByteArray descriptor(32, '\0');
        descriptor.replace(0, static_cast<qsizetype>(qstrlen(name)), name);
        descriptor[11] = type[0];
        descriptor[16] = type[1];
        out.append(descriptor);
    }
    out.append("\x0D H\xe9"
               "di       1234.50020181231T*EFFACE        0.00019990101F");
    return out.append('\x1A');
}

std::vector<std::pair<QString, QByteArray>> xlsxParts(const QString &path) {
    std::vector<std::pair<QString, QByteArray>> parts;
    QuaZip zip(path);
    zip.open(QuaZip::mdUnzip);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile f(&zip);
        f.open(QIODevice::ReadOnly);
        parts.emplace_back(zip.getCurrentFileName(), f.readAll());
    }
    return parts;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 200;
    const QString xlsFixture =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(EXCHANGE_FIXTURES "/annexes.xls");
    QTemporaryDir dir;

    const testfiles::Rows rows = {
        {QStringLiteral("Nom"), QStringLiteral("Montant"), QStringLiteral("Date")},
        {QStringLiteral("Hédi \"A\"; B"), 1234.5, QDate(2018, 12, 31)},
        {QStringLiteral("Amel"), QVariant(), QDate(2019, 1, 2)},
    };
    std::vector<Source> sources;
    const QString xlsx = dir.filePath(QStringLiteral("base.xlsx"));
    testfiles::writeXlsx(xlsx, {{QStringLiteral("F1"), rows}, {QStringLiteral("F2"), rows}});
    sources.push_back({QStringLiteral("xlsx"), testfiles::readBytes(xlsx), xlsxParts(xlsx)});
    const QString ods = dir.filePath(QStringLiteral("base.ods"));
    testfiles::writeOds(ods, {{QStringLiteral("F1"), rows}});
    sources.push_back({QStringLiteral("ods"), testfiles::readBytes(ods), xlsxParts(ods)});
    sources.push_back({QStringLiteral("csv"), testfiles::delimitedText(rows, ';'), {}});
    sources.push_back({QStringLiteral("txt"), testfiles::delimitedText(rows, '\t'), {}});
    sources.push_back({QStringLiteral("xls"), testfiles::readBytes(xlsFixture), {}});
    if (sources.back().bytes.isEmpty()) {
        std::fprintf(stderr, "missing %s\n", qPrintable(xlsFixture));
        return 2;
    }

    Random rnd{20180101};
    for (int i = 0; i < iterations; ++i) {
        for (const Source &s : sources) {
            const QString path = dir.filePath(QStringLiteral("f%1.%2").arg(i).arg(s.suffix));
            if (!s.parts.empty() && rnd.below(2) == 0) {
                auto parts = s.parts;
                auto &victim =
                    parts[static_cast<std::size_t>(rnd.below(static_cast<qsizetype>(parts.size())))];
                victim.second = mutate(victim.second, rnd);
                testfiles::writeZip(path, parts);
            } else {
                testfiles::writeBytes(path, mutate(s.bytes, rnd));
            }
            feed(path);
            QFile::remove(path);
        }
    }
    // dBase tables, with mutations of their own so that the rounds above stay as they were.
    const QByteArray dbf = dbfBase();
    {
        const QString path = dir.filePath(QStringLiteral("base.dbf"));
        testfiles::writeBytes(path, dbf);
        if (DbfTable(path).rowCount() != 1) { // the table to damage reads, its deleted record left out
            std::fprintf(stderr, "the dBase base table does not read as written\n");
            return 2;
        }
    }
    Random dbfRnd{19990101};
    for (int i = 0; i < iterations; ++i) {
        const QString path = dir.filePath(QStringLiteral("f%1.dbf").arg(i));
        testfiles::writeBytes(path, mutate(dbf, dbfRnd));
        feedDbf(path);
        QFile::remove(path);
    }
    std::printf("%d iterations over %zu formats and dBase tables, %d failure(s)\n", iterations,
                sources.size(), failures);
    return failures == 0 ? 0 : 1;
}
