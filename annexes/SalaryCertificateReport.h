#pragma once

#include "report/ReportLayout.h"

#include <vector>

struct ActiveCompany;
struct SalaryCertificate;

// The salary withholding certificates as a report: A4 portrait, a page per employee holding the same
// certificate twice, one above the other, separated by a dashed line. The employer is the active company.
report::Report salaryCertificatesReport(const ActiveCompany &company,
                                        const std::vector<SalaryCertificate> &certificates);
