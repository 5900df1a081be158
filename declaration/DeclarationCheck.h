#pragma once

#include <QStringList>

// Checks a folder of declaration files without the database, as the administration's pre-check does:
// the framing and length of every record, the record types and their order, the company block of every
// record against the DECEMP_ header, digits wherever a number stands, blanks in the fillers, the E counts
// against the L records, the T totals against the L amounts, the DECEMP_ presence flags against the annex
// files present and the 999 total against the recap lines. One French line per problem, naming the file,
// the record and the positions; empty when the folder passes.
QStringList checkDeclarationFolder(const QString &folder);
