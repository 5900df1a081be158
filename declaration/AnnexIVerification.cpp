#include "declaration/AnnexIVerification.h"

void verifyAnnexI(TDatadeclaration &, const CompanyRow &) {}
