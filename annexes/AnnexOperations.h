#pragma once

class TDatadeclaration;

// The work of an annex browse window on its annex dataset as it is open, kept apart from the window.

// The rows of the active company's previous fiscal year (the year as a number, minus one), read through a
// query of their own, are appended one by one to the annex dataset and saved: every column takes the value
// of the source row's column of the same name, the order number included, then EXERCICE becomes the active
// fiscal year. Rows already in the year stay. A refused save (an order number already taken in the year,
// say) throws DbError at that row with no entry left pending; the rows saved before it stay. Returns the
// rows copied.
int copyPreviousYear(TDatadeclaration &dm, int annex);

// Deletes the rows the annex dataset lists (after a search, only those found), from the first until none is
// left; the deletions become durable with the next commit. A refused deletion throws DbError; the rows
// deleted before it stay deleted. Returns the rows deleted.
int clearListedRows(TDatadeclaration &dm, int annex);
