#include "declaration/DeclarationFiles.h"

#include "data/Dataset.h"
#include "data/Win1252.h"
#include "declaration/DeclarationError.h"
#include "declaration/RecapComputation.h"
#include "declaration/RecordWriter.h"

#include <QDir>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

constexpr qsizetype kChunk = 1 << 20;

HeldValues heldValues(const DeclarationContent &content) {
    HeldValues held;
    held.declarant = win1252::encode(content.company.code);
    held.exercice = content.company.exercice.toLatin1();
    held.declarationType = QByteArray::number(content.declarationType);
    for (const Dataset *annex : content.annexes)
        held.presence += annex && !annex->isEmpty() ? '0' : '1';
    held.company = &content.company;
    return held;
}

QString shownValue(const FieldFault &f) {
    if (f.field->encoding == Encoding::WholeNumberText || f.value.typeId() == QMetaType::QString)
        return QStringLiteral("« %1 »").arg(f.value.toString());
    const double v = f.value.toDouble();
    const int decimals = f.field->encoding == Encoding::Amount ? 3
                         : v == static_cast<double>(qint64(v)) ? 0
                                                               : 2;
    return shownNumber(v, decimals);
}

QString rowFault(int annex, const Dataset &rows, int row, const FieldFault &f) {
    return QStringLiteral("%1, numéro d'ordre %2, colonne %3 (positions %4-%5) : %6 %7.")
        .arg(annexName(annex))
        .arg(rows.valueAt(row, QStringLiteral("NUMEROORDRE")).toInt())
        .arg(QLatin1String(f.field->name))
        .arg(f.field->first)
        .arg(f.field->last())
        .arg(shownValue(f), faultText(f.fault, f.field->width));
}

QString recordFault(int annex, const char *record, const FieldFault &f) {
    const QString what = f.field->source == Source::Sum
                             ? QStringLiteral("le total de la colonne %1").arg(QLatin1String(f.field->name))
                             : QStringLiteral("le nombre de lignes");
    return QStringLiteral("%1, enregistrement %2, %3 (positions %4-%5) : %6 %7.")
        .arg(annexName(annex), QLatin1String(record), what)
        .arg(f.field->first)
        .arg(f.field->last())
        .arg(shownValue(f), faultText(f.fault, f.field->width));
}

// The records of one file, written by chunks to a temporary file of the folder that takes the file's name
// on commit. The chunks go straight to the file descriptor: a short write (a full disk, a size limit) must
// stop the run with the system's reason, where a buffered device may report success.
class FileOutput {
public:
    explicit FileOutput(const QString &path) : m_file(path) {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            fail(m_file.errorString());
        m_buffer.reserve(kChunk + kAnnexRecordWidth + 2);
    }
    char *record(int width) {
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + width + 2);
        m_buffer[at + width] = '\r';
        m_buffer[at + width + 1] = '\n';
        return m_buffer.data() + at;
    }
    void flushIfFull() {
        if (m_buffer.size() >= kChunk)
            flush();
    }
    void finish() { flush(); }
    bool commit() { return m_file.commit(); }
    QString path() const { return m_file.fileName(); }

private:
    [[noreturn]] void fail(const QString &reason) {
        throw DeclarationError(
            QStringLiteral(
                "Le fichier « %1 » n'a pas pu être écrit : %2. Aucun fichier de déclaration n'a été "
                "remplacé.")
                .arg(QDir::toNativeSeparators(m_file.fileName()), reason));
    }
    void flush() {
        const char *data = m_buffer.constData();
        qsizetype left = m_buffer.size();
        while (left > 0) {
            const ssize_t n = ::write(m_file.handle(), data, static_cast<std::size_t>(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : ENOSPC)));
            data += n;
            left -= n;
        }
        m_buffer.clear();
    }
    QSaveFile m_file;
    QByteArray m_buffer;
};

void writeOne(FileOutput &out, const RecordWriter &writer, const HeldValues &held, int row,
              std::vector<qint64> &sums) {
    if (FieldFault f = writer.write(held, row, out.record(writer.width()), sums))
        throw DeclarationError(QStringLiteral("Écriture interrompue : la colonne %1 ne peut pas être écrite.")
                                   .arg(QLatin1String(f.field->name)));
    out.flushIfFull();
}

void writeDeclaration(FileOutput &out, const DeclarationContent &content, const HeldValues &held) {
    std::vector<qint64> none;
    writeOne(out, RecordWriter(declarationHeaderFormat(), 0, nullptr), held, -1, none);
    const RecordWriter recap(recapRecordFormat(), 0, content.recap);
    for (int row = 0; row < content.recap->rowCount(); ++row)
        writeOne(out, recap, held, row, none);
}

void writeAnnex(FileOutput &out, int annex, const Dataset &rows, HeldValues held) {
    const AnnexFormat &format = annexFormat(annex);
    held.rowCount = rows.rowCount();
    const RecordWriter line(format.line, annex, &rows);
    std::vector<qint64> sums(line.sumSlots(), 0);
    writeOne(out, RecordWriter(format.header, annex, nullptr), held, -1, sums);
    for (int row = 0; row < rows.rowCount(); ++row)
        writeOne(out, line, held, row, sums);
    writeOne(out, RecordWriter(format.totals, annex, nullptr, &format.line), held, -1, sums);
}

} // namespace

QStringList checkBeforeWriting(const DeclarationContent &content) {
    QStringList faults;
    if (!content.company.hasFourDigitYear())
        faults << QStringLiteral("L'exercice « %1 » de la société %2 n'est pas une année de quatre chiffres.")
                      .arg(content.company.exercice, content.company.code);
    if (content.declarationType < 0 || content.declarationType > 2)
        faults << QStringLiteral("Le type de déclaration doit être 0 (Spontané), 1 (Régularisation) ou 2 "
                                 "(Redressement).");
    if (content.recap) {
        try {
            checkRecapForWriting(recapRecords(*content.recap));
        } catch (const DeclarationError &e) {
            faults << e.message();
        }
    }
    HeldValues held = heldValues(content);
    for (int annex = 1; annex <= 7; ++annex) {
        const Dataset *rows = content.annexes[static_cast<std::size_t>(annex - 1)];
        if (!rows || rows->isEmpty())
            continue;
        const AnnexFormat &format = annexFormat(annex);
        held.rowCount = rows->rowCount();
        const RecordWriter line(format.line, annex, rows);
        std::vector<qint64> sums(line.sumSlots(), 0);
        if (FieldFault f = RecordWriter(format.header, annex, nullptr).check(held, -1, sums))
            faults << recordFault(annex, "E", f);
        for (int row = 0; row < rows->rowCount(); ++row)
            if (FieldFault f = line.check(held, row, sums))
                faults << rowFault(annex, *rows, row, f);
        if (FieldFault f = RecordWriter(format.totals, annex, nullptr, &format.line).check(held, -1, sums))
            faults << recordFault(annex, "T", f);
    }
    return faults;
}

QStringList writeDeclarationFiles(const DeclarationContent &content, const QString &folder) {
    const QDir dir(folder);
    const HeldValues held = heldValues(content);
    std::vector<std::unique_ptr<FileOutput>> files;
    files.push_back(
        std::make_unique<FileOutput>(dir.filePath(declarationFileName(content.company.exercice))));
    writeDeclaration(*files.back(), content, held);
    files.back()->finish();
    for (int annex = 1; annex <= 7; ++annex) {
        const Dataset *rows = content.annexes[static_cast<std::size_t>(annex - 1)];
        if (!rows || rows->isEmpty())
            continue;
        files.push_back(
            std::make_unique<FileOutput>(dir.filePath(annexFileName(annex, content.company.exercice))));
        writeAnnex(*files.back(), annex, *rows, held);
        files.back()->finish();
    }
    QStringList written;
    for (const auto &file : files) {
        if (!file->commit()) {
            QString message = QStringLiteral("Le fichier « %1 » n'a pas pu être mis en place.")
                                  .arg(QDir::toNativeSeparators(file->path()));
            if (!written.isEmpty())
                message +=
                    QStringLiteral(" Ont déjà été remplacés : %1.").arg(written.join(QStringLiteral(", ")));
            throw DeclarationError(message);
        }
        written << file->path();
    }
    return written;
}
