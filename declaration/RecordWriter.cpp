#include "declaration/RecordWriter.h"

#include "data/Dataset.h"
#include "declaration/CompanyRow.h"
#include "declaration/DeclarationError.h"

#include <cstring>

namespace {

constexpr int kMaxNumberWidth = 18;

// A whole number written into out, or only checked against the width when out is null.
Fault digits(qint64 value, int width, char *out) {
    if (out)
        return writeDigits(value, width, out);
    if (value < 0)
        return Fault::Negative;
    qint64 limit = 1;
    for (int i = 0; i < width; ++i)
        limit *= 10;
    return value < limit ? Fault::None : Fault::TooManyDigits;
}

} // namespace

std::vector<const Field *> amountFields(const RecordFormat &line) {
    std::vector<const Field *> amounts;
    for (const Field &f : line.fields)
        if (f.source == Source::Column && f.encoding == Encoding::Amount)
            amounts.push_back(&f);
    return amounts;
}

RecordWriter::RecordWriter(const RecordFormat &format, int annex, const Dataset *rows,
                           const RecordFormat *summed)
    : m_format(format), m_rows(rows) {
    const std::vector<const Field *> summedAmounts =
        summed ? amountFields(*summed) : std::vector<const Field *>();
    int slot = 0;
    for (const Field &f : format.fields) {
        Bound b{&f, -1, -1, {}};
        if (f.source == Source::Constant) {
            b.constant = f.name;
            b.constant.replace('#', QByteArray::number(annex));
        } else if (f.source == Source::Column) {
            b.column = rows ? rows->fieldIndex(QLatin1String(f.name)) : -1;
            if (b.column < 0)
                throw DeclarationError(QStringLiteral("La colonne %1 est absente des lignes à écrire.")
                                           .arg(QLatin1String(f.name)));
            if (f.encoding == Encoding::Amount)
                b.slot = slot++;
            const ColumnInfo *info = rows->column(b.column);
            b.rawText = info && info->isText() &&
                        (f.encoding == Encoding::StoredText || f.encoding == Encoding::TrimmedText ||
                         f.encoding == Encoding::WholeNumberText);
        } else if (f.source == Source::Sum) {
            for (std::size_t i = 0; i < summedAmounts.size(); ++i)
                if (std::strcmp(summedAmounts[i]->name, f.name) == 0)
                    b.slot = static_cast<int>(i);
            if (b.slot < 0)
                throw DeclarationError(
                    QStringLiteral("Le total de %1 ne correspond à aucun montant des lignes.")
                        .arg(QLatin1String(f.name)));
        }
        m_fields.push_back(b);
        const bool number = f.encoding == Encoding::Amount || f.encoding == Encoding::Rate ||
                            f.encoding == Encoding::Count || f.encoding == Encoding::WholeNumberText;
        if (number && f.source != Source::Constant)
            m_numbers.push_back(b);
    }
    m_sumSlots = static_cast<std::size_t>(slot);
}

FieldFault RecordWriter::field(const Bound &b, const HeldValues &held, int row, char *out,
                               std::vector<qint64> &sums) const {
    const Field &f = *b.field;
    auto text = [&](const QByteArray &bytes) {
        const auto n = static_cast<std::size_t>(std::min<qsizetype>(bytes.size(), f.width));
        std::memcpy(out, bytes.constData(), n);
        std::memset(out + n, ' ', static_cast<std::size_t>(f.width) - n);
        return FieldFault{};
    };
    switch (f.source) {
    case Source::Constant: return text(b.constant);
    case Source::Declarant: return text(held.declarant);
    case Source::Exercice: return text(held.exercice);
    case Source::DeclarationType: return text(held.declarationType);
    case Source::Presence: return text(held.presence.mid(QByteArray(f.name).toInt() - 1, 1));
    case Source::Company: return text(held.company ? held.company->text(f.name) : QByteArray());
    case Source::Blank: std::memset(out, ' ', static_cast<std::size_t>(f.width)); return {};
    case Source::RowCount: {
        const Fault fault = digits(held.rowCount, f.width, out);
        return fault == Fault::None ? FieldFault{} : FieldFault{&f, fault, held.rowCount};
    }
    case Source::Sum: {
        const qint64 total = sums[static_cast<std::size_t>(b.slot)];
        const Fault fault = digits(total, f.width, out);
        return fault == Fault::None ? FieldFault{} : FieldFault{&f, fault, total / 1000.0};
    }
    case Source::Column: break;
    }
    const QVariant value = b.rawText ? m_rows->bytesAt(row, b.column) : m_rows->valueAt(row, b.column);
    if (f.encoding == Encoding::Amount) {
        qint64 millimes = 0;
        Fault fault = toMillimes(value, &millimes);
        if (fault == Fault::None)
            fault = digits(millimes, f.width, out);
        if (fault != Fault::None)
            return {&f, fault, value};
        sums[static_cast<std::size_t>(b.slot)] += millimes;
        return {};
    }
    char scratch[kMaxNumberWidth];
    const Fault fault = encodeField(f.encoding, value, f.width, out ? out : scratch);
    return fault == Fault::None ? FieldFault{} : FieldFault{&f, fault, value};
}

FieldFault RecordWriter::write(const HeldValues &held, int row, char *out, std::vector<qint64> &sums) const {
    for (const Bound &b : m_fields)
        if (FieldFault fault = field(b, held, row, out + b.field->first - 1, sums))
            return fault;
    return {};
}

FieldFault RecordWriter::check(const HeldValues &held, int row, std::vector<qint64> &sums) const {
    for (const Bound &b : m_numbers)
        if (FieldFault fault = field(b, held, row, nullptr, sums))
            return fault;
    return {};
}
