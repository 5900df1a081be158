#pragma once

#include <QString>
#include <QStringList>

// Splits an SQL script into statements: a statement ends with the current terminator (";", or the one a
// "SET TERM" line chooses) outside quoted texts and comments. "SET TERM" and "COMMIT" are not returned:
// the creation commits after every statement.
QStringList splitSqlScript(const QString &script);

// The schema script built into the program: every table, key, stored procedure and the withholding types.
QString schemaScript();

// Creates a new database file from the schema script. Refuses a file that already exists; a creation
// that fails half-way removes what it made. Throws DbError with a French message.
void createDatabase(const QString &path);
