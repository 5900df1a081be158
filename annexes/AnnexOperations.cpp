#include "annexes/AnnexOperations.h"

#include "annexes/AnnexDefinitions.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"

int copyPreviousYear(TDatadeclaration &dm, int annex) {
    const AnnexDefinition &a = annexDefinition(annex);
    Dataset &target = dm.annex(annex);
    bool isYear = false;
    const QString exercice = dm.activeCompany.exercice.trimmed();
    const int year = exercice.toInt(&isYear);
    if (!isYear)
        throw DbError(QStringLiteral("L'exercice de la société active (« %1 ») n'est pas une année : "
                                     "l'année précédente ne peut pas être copiée.")
                          .arg(dm.activeCompany.exercice));

    auto source = dm.newQuery(QStringLiteral("anneeprecedente"));
    source->setSql(
        QStringList{QStringLiteral("select * from ") + QLatin1String(a.table),
                    QStringLiteral("where %1=:code and exercice=:exercice")
                        .arg(annex == 1 ? QStringLiteral("codesociete") : QStringLiteral("IDENTIFIANT"))});
    source->setParam(QStringLiteral("code"), dm.activeCompany.code);
    source->setParam(QStringLiteral("exercice"), QString::number(year - 1));
    source->open();

    const TDatadeclaration::BatchedCommits batch(dm);
    int copied = 0;
    for (int row = 0; row < source->rowCount(); ++row) {
        target.append();
        try {
            for (int f = 0; f < target.fieldCount(); ++f) {
                if (!target.column(f))
                    continue; // calculated
                const QString name = target.fieldName(f);
                const int from = source->fieldIndex(name);
                if (from >= 0)
                    target.setValue(name, source->valueAt(row, from));
            }
            target.setValue(QStringLiteral("EXERCICE"), exercice);
            target.post();
        } catch (const DbError &e) {
            // The refused row goes; the message says where the copy stopped, then the database's reason.
            target.cancel();
            throw DbError(
                QStringLiteral("La copie de l'année %1 s'est arrêtée au N°Ordre %2, qui n'a pas pu être "
                               "enregistré en %3 (lignes copiées avant : %4).\n%5")
                    .arg(QString::number(year - 1),
                         source->valueAt(row, QStringLiteral("NUMEROORDRE")).toString(), exercice,
                         QString::number(copied), e.message()),
                e.sqlCode());
        } catch (...) {
            target.cancel();
            throw;
        }
        ++copied;
    }
    return copied;
}

int clearListedRows(TDatadeclaration &dm, int annex) {
    Dataset &ds = dm.annex(annex);
    int deleted = 0;
    if (!ds.isOpen())
        return deleted;
    ds.post(); // an entry in progress is saved first, as moving off it would
    while (!ds.isEmpty()) {
        ds.first();
        ds.remove();
        ++deleted;
    }
    return deleted;
}
