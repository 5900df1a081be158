#pragma once

#include "declaration/FieldEncoding.h"

#include <QString>
#include <vector>

// The record layouts of the declaration files as tables: for every field its position, width, where its
// value comes from and how it is encoded. One record writer (RecordWriter) and the checker of a folder of
// files (DeclarationCheck) read them; a change of the administration's format is an edit of these tables.
enum class Source {
    Constant,        // the text `name`, '#' standing for the annex number
    Declarant,       // the declarant code of the company declared
    Exercice,        // its fiscal year, four digits
    DeclarationType, // "0" spontaneous, "1" regularisation, "2" rectification
    RowCount,        // the number of L records of the file
    Presence,        // the presence flag of the annex numbered `name`: "0" present, "1" absent
    Company,         // the SOCIETE column `name` of the company declared
    Column,          // the column `name` of the row written
    Sum,             // the sum of the amount column `name` over the file's L records
    Blank,
};

struct Field {
    int first; // position of its first character, counted from 1
    int width;
    Source source;
    const char *name;
    Encoding encoding;
    int last() const { return first + width - 1; }
};

struct RecordFormat {
    int width; // 38 or 405 characters, CR LF not counted
    std::vector<Field> fields;
};

// An annex file: its E record, one L record per annex row, its T record.
struct AnnexFormat {
    int annex;
    RecordFormat header, line, totals;
};

const RecordFormat &declarationHeaderFormat(); // the first record of DECEMP_
const RecordFormat &recapRecordFormat();       // one per row of TABLEAURECAPITULATIF
const AnnexFormat &annexFormat(int annex);     // 1 to 7

constexpr int kDeclarationRecordWidth = 38;
constexpr int kAnnexRecordWidth = 405;

// "DECEMP_" and the last two digits of the fiscal year; "ANXEMP_n_" + the two digits + "_1".
QString declarationFileName(const QString &exercice);
QString annexFileName(int annex, const QString &exercice);
