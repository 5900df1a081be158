#pragma once

class TDatadeclaration;
struct CompanyRow;

// The Annex I verification of the generation run: every Annex I row of the company and year gets its texts
// blank-padded, its empty amounts set to 0 and its total income recomputed, and is saved, before the files
// are written. The annex verification plugs in here; until it exists this does nothing (the writers pad
// and cut every text to its width themselves).
void verifyAnnexI(TDatadeclaration &dm, const CompanyRow &company);
