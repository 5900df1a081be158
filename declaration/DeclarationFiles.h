#pragma once

#include "declaration/CompanyRow.h"

#include <QStringList>
#include <array>

class Dataset;

// What the declaration files are written from: the company declared, the declaration type, the seven
// annex queries opened on its code and year, and TABLEAURECAPITULATIF read ordered by ORDRE.
struct DeclarationContent {
    CompanyRow company;
    int declarationType = 0; // 0 "Spontané", 1 "Régularisation", 2 "Redressement"
    std::array<const Dataset *, 7> annexes{};
    const Dataset *recap = nullptr;
};

// Every fault that would make a record longer, shorter or wrong, one French message each naming the annex,
// the order number and the column (or the recap line); empty when the files can be written.
QStringList checkBeforeWriting(const DeclarationContent &content);

// Writes DECEMP_ and one file per annex holding rows into the folder, each to a temporary name first: the
// files take their final names only once all of them are complete. Returns the paths written, DECEMP_
// first. Throws DeclarationError naming the file and the system's reason; no file of the folder is then
// replaced (unless renaming itself fails part way, which the message says).
QStringList writeDeclarationFiles(const DeclarationContent &content, const QString &folder);
