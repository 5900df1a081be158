#pragma once

class TDatadeclaration;
struct CompanyRow;

// The Annex I verification of the generation run: every Annex I row of the company and year gets its texts
// blank-padded, its empty amounts set to 0 and its total income recomputed, and is saved, before the files
// are written. Runs on the data module's Annex I dataset,
// opened afresh on the company, without the completion message.
void verifyAnnexI(TDatadeclaration &dm, const CompanyRow &company);
