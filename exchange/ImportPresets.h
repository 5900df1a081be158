#pragma once

#include "exchange/ImportSpecification.h"

// The import wizard's starting settings for the tables the program imports into, as one table of data.
struct ImportPreset {
    const char *table;   // TIERS, ANNEXEI .. ANNEXEVII
    const char *file;    // the source file, in the folder of spreadsheet models for the annexes
    bool inModelsFolder; // the file lives in the folder of spreadsheet models ("Modelessexcel")
    int firstRow;        // the annex models hold their titles on row 1
    const char *mapping; // "FIELD letter, ..."; empty when the user maps the columns
};

const std::vector<ImportPreset> &importPresets();
const ImportPreset *importPreset(const QString &table); // null when the table has none

// The preset import settings of a table (unknown tables get the default settings and no file), with the
// annexes' source file in `modelsFolder`.
ImportSpecification presetSpecification(const QString &table, const QString &modelsFolder);
