#include "reference/Companies.h"

#include "data/Dataset.h"
#include "data/TDatadeclaration.h"

namespace {

QString columnText(const Dataset &d, const char *column) {
    return d.text(QLatin1String(column));
}

QString yearText(const Dataset &d) {
    return QString::number(d.value(QStringLiteral("EXERCICE")).toLongLong());
}

} // namespace

QString declarantCode(const Dataset &s) {
    return columnText(s, "IDENTIFIANT") + columnText(s, "CLE") + columnText(s, "CATEGORIE") +
           columnText(s, "ETABSECONDAIRE");
}

ActiveCompany companyOfRow(const Dataset &s) {
    if (!s.isOpen() || s.currentRow() < 0)
        return {QString(), QStringLiteral("0"), QString(), QStringLiteral(" "), QString()};
    return {declarantCode(s), yearText(s), columnText(s, "RAISON_SOCIALE"),
            columnText(s, "RUE").trimmed() + QLatin1Char(' ') + columnText(s, "VILLE"),
            columnText(s, "ACTIVITE")};
}

bool findMarkedCompany(Dataset &s) {
    s.reopen();
    int marked = -1;
    for (int row = 0; row < s.rowCount(); ++row)
        if (s.valueAt(row, QStringLiteral("ACTIVEON")).toString() == QLatin1String("O"))
            marked = row;
    s.moveTo(marked >= 0 ? marked : s.rowCount() - 1);
    return marked >= 0;
}

bool findActiveCompanyRow(TDatadeclaration &dm) {
    Dataset &s = dm.Isociete;
    s.reopen();
    int match = -1;
    for (int row = 0; row < s.rowCount(); ++row)
        if (s.valueAt(row, QStringLiteral("RAISON_SOCIALE")).toString() == dm.activeCompany.name &&
            QString::number(s.valueAt(row, QStringLiteral("EXERCICE")).toLongLong()) ==
                dm.activeCompany.exercice)
            match = row;
    s.moveTo(match >= 0 ? match : s.rowCount() - 1);
    return match >= 0;
}
