#pragma once

#include "data/ActiveCompany.h"

class Dataset;
class TDatadeclaration;

// The company a SOCIETE row stands for, and the two ways the program finds a company again.

// IDENTIFIANT, CLE, CATEGORIE and ETABSECONDAIRE of the current row, one after the other, untrimmed.
QString declarantCode(const Dataset &societe);

// The active company built from the current row of a SOCIETE dataset: the declarant code, EXERCICE in
// digits, RAISON_SOCIALE as stored, RUE trimmed + a blank + VILLE, ACTIVITE. With no current row: empty
// texts, the address a single blank and the year "0".
ActiveCompany companyOfRow(const Dataset &societe);

// The marked company: SOCIETE read afresh from the first row to the last, the last row whose ACTIVEON is
// "O" winning. The dataset is left on that row; false (and left on its last row) when no row is marked.
bool findMarkedCompany(Dataset &societe);

// The company row lookup: SOCIETE read afresh, a row matching when its RAISON_SOCIALE equals the active
// company's name and its EXERCICE in digits the active fiscal year; the last match wins and the dataset is
// left on it. False, and the dataset left on its last row, when none matches.
bool findActiveCompanyRow(TDatadeclaration &dm);
