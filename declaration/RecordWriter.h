#pragma once

#include "declaration/RecordFormats.h"

#include <QByteArray>
#include <vector>

class Dataset;
struct CompanyRow;

// The values a record takes from the run rather than from a row.
struct HeldValues {
    QByteArray declarant;
    QByteArray exercice;
    QByteArray declarationType;
    QByteArray presence; // seven flags, Annex I first
    qint64 rowCount = 0;
    const CompanyRow *company = nullptr;
};

// A field that could not be encoded, and why.
struct FieldFault {
    const Field *field = nullptr;
    Fault fault = Fault::None;
    QVariant value;
    explicit operator bool() const { return field != nullptr; }
};

// Writes the records of one format, reading the columns of a dataset's rows by the positions found once.
// A record of L format adds the millimes of its amount fields into `sums` (one slot per amount field, in
// the order of the format); a T record writes a Sum field from the slot of the L format's column, so that
// every total is the exact sum of the amounts written above it.
class RecordWriter {
public:
    // `rows` is the dataset whose columns the format reads (null when it reads none); `summed` is the L
    // format whose sums a T format writes. Throws DeclarationError when a column is missing.
    // `annex` replaces '#' in the format's constants.
    RecordWriter(const RecordFormat &format, int annex, const Dataset *rows,
                 const RecordFormat *summed = nullptr);

    int width() const { return m_format.width; }
    std::size_t sumSlots() const { return m_sumSlots; }

    // Fills out[0 .. width-1] from `row`; stops at the first field that cannot be encoded.
    FieldFault write(const HeldValues &held, int row, char *out, std::vector<qint64> &sums) const;
    // The same for the fields that can fail (numbers) only, without writing anything.
    FieldFault check(const HeldValues &held, int row, std::vector<qint64> &sums) const;

private:
    struct Bound {
        const Field *field;
        int column; // in `rows`, or -1
        int slot;   // sum slot, or -1
        QByteArray constant;
        bool rawText = false; // a text column copied as its stored bytes, never decoded
    };
    FieldFault field(const Bound &b, const HeldValues &held, int row, char *out,
                     std::vector<qint64> &sums) const;

    const RecordFormat &m_format;
    const Dataset *m_rows;
    std::vector<Bound> m_fields;
    std::vector<Bound> m_numbers; // the fields that can fail
    std::size_t m_sumSlots = 0;
};

// Amount fields of an L format in order: their index is their sum slot.
std::vector<const Field *> amountFields(const RecordFormat &line);
