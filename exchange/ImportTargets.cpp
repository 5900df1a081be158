#include "exchange/ImportTargets.h"

#include "data/TDatadeclaration.h"

const std::vector<ImportTarget> &importTargets() {
    static const std::vector<ImportTarget> targets = {
        {"AnnexeI", "ANNEXEI", "CODESOCIETE,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEI"},
        {"AnnexeII", "ANNEXEII", "IDENTIFIANT,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEII"},
        {"AnnexeIII", "ANNEXEIII", "IDENTIFIANT,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEIII"},
        {"AnnexeIV", "ANNEXEIV", "IDENTIFIANT,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEIV"},
        {"AnnexeV", "ANNEXEV", "IDENTIFIANT,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEV"},
        {"AnnexeVI", "ANNEXEVI", "IDENTIFIANT,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEVI"},
        {"AnnexeVII", "ANNEXEVII", "IDENTIFIANT,EXERCICE,NUMEROORDRE", "delete FROM ANNEXEVII"},
        {"Tiers", "TIERS", "CODE", "delete FROM TIERS"},
        {"Personnel", "PERSONNEL", "MATRICULE", "delete FROM PERSONNEL"},
        {"Sociétés", "SOCIETE", "IDENTIFIANT,CLE,CATEGORIE,ETABSECONDAIRE", "delete FROM SOCIETE"},
    };
    return targets;
}

std::unique_ptr<Dataset> newTargetDataset(TDatadeclaration &dm, const ImportTarget &target) {
    const QString table = QLatin1String(target.table);
    auto dataset = dm.newQuery(QStringLiteral("import.") + table);
    dataset->setSql(QStringLiteral("select * from ") + table);
    dataset->setWriteKey(table, QString::fromLatin1(target.key).split(QLatin1Char(',')));
    return dataset;
}

void emptyTargetTable(TDatadeclaration &dm, const ImportTarget &target) {
    FbStatement statement(dm.IBTransaction1);
    statement.prepare(QString::fromUtf8(target.emptySql));
    statement.execute();
    dm.IBTransaction1.commit();
}
