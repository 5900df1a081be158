#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class Dataset;
class TDatadeclaration;

// The tables that the import window fills from files, as one table of data: the choice shown, the table,
// its key and the statement that empties it. Tables are used whole, for every company and fiscal year.
struct ImportTarget {
    const char *choice;   // "AnnexeI", "Tiers", ...
    const char *table;    // ANNEXEI, TIERS, ...
    const char *key;      // the primary key columns, comma-separated
    const char *emptySql; // "delete FROM ANNEXEI"
};

const std::vector<ImportTarget> &importTargets();

// A dataset of its own over the whole table, insert-only in spirit: none of the data module's rules
// (numbering, starting values, completion) hang on it, only the database's constraints apply.
std::unique_ptr<Dataset> newTargetDataset(TDatadeclaration &dm, const ImportTarget &target);

// Runs the emptying statement of the table, then commits the shared transaction in full. Throws DbError
// with the database's message; nothing is committed then.
void emptyTargetTable(TDatadeclaration &dm, const ImportTarget &target);
