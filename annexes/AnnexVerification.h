#pragma once

class TDatadeclaration;

// The verification of an annex before its file is written: every row of the annex dataset as it is open
// (the rows a window lists, after a search only those found), from the first to the last, gets its
// identifier, name, activity and address blank-padded to their width, its empty amounts set to 0 (an empty
// Annex I identifier type to "2") and the annex's total recomputed, and is saved. A row the verification
// leaves as it was is not written again. A refused save throws DbError at that row; the rows saved before
// it stay.
struct VerificationResult {
    int rows = 0;  // rows verified
    int saved = 0; // rows that changed and were saved
};
VerificationResult verifyAnnex(TDatadeclaration &dm, int number);

// The text as the verification and the entry windows pad it: without surrounding blanks, then blanks up
// to the width; a text already that wide is kept whole.
class QString;
QString paddedText(const QString &text, int width);
