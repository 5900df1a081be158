#include "data/TDatadeclaration.h"

#include "annexes/AnnexDefinitions.h"
#include "data/DbError.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>

const std::array<AnnexTable, 7> kAnnexTables = {{
    {1, "ANNEXEI", "CODESOCIETE"},
    {2, "ANNEXEII", "IDENTIFIANT"},
    {3, "ANNEXEIII", "IDENTIFIANT"},
    {4, "ANNEXEIV", "IDENTIFIANT"},
    {5, "ANNEXEV", "IDENTIFIANT"},
    {6, "ANNEXEVI", "IDENTIFIANT"},
    {7, "ANNEXEVII", "IDENTIFIANT"},
}};

namespace {

enum Rule : unsigned { CommitAfterPost = 1, CommitAfterDelete = 2 };

// The datasets of the data module: their SQL at start (lines joined), the table and key they write, and
// which saves and deletions are committed at once.
struct DatasetDefinition {
    Dataset TDatadeclaration::*dataset;
    QStringList sql;
    const char *table;
    QStringList key;
    unsigned rules;
};

QStringList annexKey(const char *companyColumn) {
    return {QString::fromLatin1(companyColumn), QStringLiteral("EXERCICE"), QStringLiteral("NUMEROORDRE")};
}

std::vector<DatasetDefinition> definitions() {
    using D = TDatadeclaration;
    const QString annexWhere = QStringLiteral("where IDENTIFIANT=:code and exercice=:exercice");
    auto annexQuery = [](const char *table, const char *where) {
        return QStringList{QStringLiteral("select * from ") + QLatin1String(table), QLatin1String(where),
                           QStringLiteral(" and  exercice=:exercice"),
                           QStringLiteral("order by NUMEROORDRE")};
    };
    const QStringList recapKey{"ORDRE", "ZONE1", "ZONE2", "ZONE3", "ZONE4"};
    return {
        {&D::Isociete,
         {"select * from SOCIETE"},
         "SOCIETE",
         {"IDENTIFIANT", "CLE", "CATEGORIE", "ETABSECONDAIRE"},
         CommitAfterPost},
        {&D::iannexei,
         {"select * from ANNEXEI", "where codesociete=:code and exercice=:exercice"},
         "ANNEXEI",
         annexKey("CODESOCIETE"),
         CommitAfterPost},
        {&D::iannexeii,
         {"select *  from ANNEXEII", annexWhere},
         "ANNEXEII",
         annexKey("IDENTIFIANT"),
         CommitAfterPost},
        {&D::iannexeiii,
         {"select * from ANNEXEIII", annexWhere},
         "ANNEXEIII",
         annexKey("IDENTIFIANT"),
         CommitAfterPost},
        {&D::iannexeiv,
         {"select * from ANNEXEIV", annexWhere},
         "ANNEXEIV",
         annexKey("IDENTIFIANT"),
         CommitAfterPost},
        {&D::iannexev,
         {"select * from ANNEXEV", annexWhere},
         "ANNEXEV",
         annexKey("IDENTIFIANT"),
         CommitAfterPost},
        {&D::IannexeVI,
         {"select * from ANNEXEVI", annexWhere},
         "ANNEXEVI",
         annexKey("IDENTIFIANT"),
         CommitAfterPost},
        {&D::iannexevii,
         {"select * from ANNEXEVIi", annexWhere},
         "ANNEXEVII",
         annexKey("IDENTIFIANT"),
         CommitAfterPost},
        {&D::irequetteannexeI, annexQuery("ANNEXEI", "where codesociete=:codesociete"), nullptr, {}, 0},
        {&D::irequetteannexeii, annexQuery("ANNEXEII", "where identifiant=:codesociete"), nullptr, {}, 0},
        {&D::irequetteannexeIII, annexQuery("ANNEXEIII", "where identifiant=:codesociete"), nullptr, {}, 0},
        {&D::irequetteannexeiV, annexQuery("ANNEXEIV", "where identifiant=:codesociete"), nullptr, {}, 0},
        {&D::IrequetteAnnexeV, annexQuery("ANNEXEV", "where identifiant=:codesociete"), nullptr, {}, 0},
        {&D::irequetteannexeVI, annexQuery("ANNEXEVI", "where identifiant=:codesociete"), nullptr, {}, 0},
        {&D::IrequetteAnnexeVii, {"select * from ANNEXEVIi", annexWhere}, nullptr, {}, 0},
        {&D::Itableaurecap,
         {"select * from TABLEAURECAPITULATIF", "order by ordre"},
         "TABLEAURECAPITULATIF",
         recapKey,
         CommitAfterPost},
        {&D::ityperetenue,
         {"select  * from TYPERETENUE", "order by numerotype"},
         "TYPERETENUE",
         {"NUMEROTYPE"},
         CommitAfterPost},
        {&D::Itiers,
         {"select  * from TIERS", "order by code"},
         "TIERS",
         {"CODE"},
         CommitAfterPost | CommitAfterDelete},
        {&D::ipersonnel, {"select  * from PERSONNEL"}, "PERSONNEL", {"MATRICULE"}, CommitAfterPost},
        {&D::iretenuerecap,
         {"select  * from  RTENUEALASOURCERECAP", "where codesociete=:code and exercice=:exercice",
          "order by numero"},
         "RTENUEALASOURCERECAP",
         {"CODESOCIETE", "EXERCICE", "NUMERO"},
         CommitAfterPost | CommitAfterDelete},
        {&D::iretenuequotidien,
         {"select  * from RTENUEALASOURCE", "where codesociete=:code and exercice=:exercice",
          "and numero=:numero"},
         "RTENUEALASOURCE",
         {"CODESOCIETE", "EXERCICE", "NUMERO", "TYPERETENUE"},
         CommitAfterPost | CommitAfterDelete},
        {&D::iretenueclient,
         {"select  * from RETENUECLIENT", "where codesociete=:code and exercice=:exercice"},
         "RETENUECLIENT",
         {"NUMERO"},
         CommitAfterPost | CommitAfterDelete},
        {&D::iretenuepersonnel,
         {"select  * from RETENUEPERSONNEL", "where CODESOCIETE=:codesociete", " and  exercice=:exercice",
          "order by MATRICULE,mois"},
         "RETENUEPERSONNEL",
         {"CODESOCIETE", "EXERCICE", "MATRICULE", "MOIS"},
         CommitAfterPost | CommitAfterDelete},
        {&D::IRISTOURNE,
         {"select  * from RISTOURNE", "where codesociete=:code and exercice=:exercice"},
         "RISTOURNE",
         {"NUMERO"},
         CommitAfterPost},
        {&D::QueryMaxNumero, {}, nullptr, {}, 0},
    };
}

void zeroIfEmpty(Dataset &ds, std::initializer_list<const char *> columns) {
    for (const char *c : columns)
        if (ds.isNull(QLatin1String(c)))
            ds.setValue(QLatin1String(c), 0.0);
}

void setZero(Dataset &ds, std::initializer_list<const char *> columns) {
    for (const char *c : columns)
        ds.setValue(QLatin1String(c), 0.0);
}

// What a starting value or a completion puts in an empty annex column.
QVariant emptyValue(const AnnexColumn &c) {
    return c.emptyText ? QVariant(QString::fromUtf8(c.emptyText)) : QVariant(0.0);
}

// Difference of two amounts of a row, an empty amount counting as 0.
Dataset::Calculation net(std::initializer_list<const char *> plus,
                         std::initializer_list<const char *> minus) {
    const QStringList p(plus.begin(), plus.end());
    const QStringList m(minus.begin(), minus.end());
    return [p, m](const Dataset &ds, int row) -> QVariant {
        double v = 0;
        for (const QString &c : p)
            v += ds.valueAt(row, c).toDouble();
        for (const QString &c : m)
            v -= ds.valueAt(row, c).toDouble();
        return v;
    };
}

// A zone of the recap table read as a number and divided; empty when the zone holds only blanks.
Dataset::Calculation zoneAmount(const char *zone, double divisor) {
    const QString name = QLatin1String(zone);
    return [name, divisor](const Dataset &ds, int row) -> QVariant {
        const QString text = ds.valueAt(row, name).toString().remove(QLatin1Char(' '));
        if (text.isEmpty())
            return {};
        bool ok = false;
        const double v = text.toDouble(&ok);
        return ok ? QVariant(v / divisor) : QVariant();
    };
}

} // namespace

TDatadeclaration::TDatadeclaration(QObject *parent)
    : QObject(parent), italvane(QStringLiteral("italvane")),
      IBTransaction1(italvane, QStringLiteral("IBTransaction1")), ipaie(QStringLiteral("ipaie")),
      IBTransaction2(ipaie, QStringLiteral("IBTransaction2")),
      Isociete(QStringLiteral("Isociete"), IBTransaction1),
      iannexei(QStringLiteral("iannexei"), IBTransaction1),
      iannexeii(QStringLiteral("iannexeii"), IBTransaction1),
      iannexeiii(QStringLiteral("iannexeiii"), IBTransaction1),
      iannexeiv(QStringLiteral("iannexeiv"), IBTransaction1),
      iannexev(QStringLiteral("iannexev"), IBTransaction1),
      IannexeVI(QStringLiteral("IannexeVI"), IBTransaction1),
      iannexevii(QStringLiteral("iannexevii"), IBTransaction1),
      irequetteannexeI(QStringLiteral("irequetteannexeI"), IBTransaction1),
      irequetteannexeii(QStringLiteral("irequetteannexeii"), IBTransaction1),
      irequetteannexeIII(QStringLiteral("irequetteannexeIII"), IBTransaction1),
      irequetteannexeiV(QStringLiteral("irequetteannexeiV"), IBTransaction1),
      IrequetteAnnexeV(QStringLiteral("IrequetteAnnexeV"), IBTransaction1),
      irequetteannexeVI(QStringLiteral("irequetteannexeVI"), IBTransaction1),
      IrequetteAnnexeVii(QStringLiteral("IrequetteAnnexeVii"), IBTransaction1),
      Itableaurecap(QStringLiteral("Itableaurecap"), IBTransaction1),
      ityperetenue(QStringLiteral("ityperetenue"), IBTransaction1),
      Itiers(QStringLiteral("Itiers"), IBTransaction1),
      ipersonnel(QStringLiteral("ipersonnel"), IBTransaction1),
      iretenuerecap(QStringLiteral("iretenuerecap"), IBTransaction1),
      iretenuequotidien(QStringLiteral("iretenuequotidien"), IBTransaction1),
      iretenueclient(QStringLiteral("iretenueclient"), IBTransaction1),
      iretenuepersonnel(QStringLiteral("iretenuepersonnel"), IBTransaction1),
      IRISTOURNE(QStringLiteral("IRISTOURNE"), IBTransaction1),
      QueryMaxNumero(QStringLiteral("QueryMaxNumero"), IBTransaction1),
      ieffacerrecap(QStringLiteral("EFFACERRECAP"), IBTransaction1) {
    italvane.setCredentials(QLatin1String(kUser), QLatin1String(kPassword));
    italvane.setDefaultTransaction(&IBTransaction1);
    ipaie.setCredentials(QLatin1String(kUser), QLatin1String(kPassword));
    ipaie.setDefaultTransaction(&IBTransaction2);
    defineDatasets();
    defineRules();
}

TDatadeclaration::~TDatadeclaration() {
    // A row still in entry is discarded; what was saved is committed when the connection closes.
    for (Dataset *ds : m_datasets)
        ds->cancel();
    try {
        italvane.close();
        ipaie.close();
    } catch (const DbError &) {
        // Nothing can be shown any more at the end of the run.
    }
}

void TDatadeclaration::connectDatabase(const Configuration &configuration) {
    spreadsheetFolder = configuration.spreadsheetFolder;
    connectDatabase(configuration.databasePath());
}

void TDatadeclaration::connectDatabase(const QString &databasePath) {
    for (Dataset *ds : m_datasets)
        ds->close();
    italvane.close();
    italvane.setDatabaseName(databasePath);
    IBTransaction1.start();
}

void TDatadeclaration::defineDatasets() {
    for (const DatasetDefinition &d : definitions()) {
        Dataset &ds = this->*(d.dataset);
        ds.setSql(d.sql);
        if (d.table)
            ds.setWriteKey(QLatin1String(d.table), d.key);
        if (d.rules & CommitAfterPost)
            ds.addAfterPostHook([this](Dataset &) {
                if (m_batchedCommits == 0)
                    commit();
            });
        if (d.rules & CommitAfterDelete)
            ds.addAfterDeleteHook([this](Dataset &) { commit(); });
        m_datasets.push_back(&ds);
    }
}

void TDatadeclaration::defineRules() {
    using Params = QList<QPair<QString, QVariant>>;
    auto activeCompanyParams = [this] {
        return Params{{QStringLiteral("codesociete"), activeCompany.code},
                      {QStringLiteral("exercice"), activeCompany.exercice}};
    };

    // Annex rows are numbered within the active company and fiscal year.
    for (const AnnexTable &a : kAnnexTables) {
        const QString table = QLatin1String(a.table);
        const QString where = a.number == 1   ? QStringLiteral("codesociete")
                              : a.number == 2 ? QStringLiteral("identifiant")
                                              : QStringLiteral("IDENTIFIANT");
        const QString statement =
            QStringLiteral("select max(%1.NUMEROORDRE) as MaxNumero from %1 Where %2=:codesociete "
                           "and  exercice=:exercice")
                .arg(table, where);
        annex(a.number).addNewRowHook([this, statement, activeCompanyParams](Dataset &ds) {
            ds.setValue(QStringLiteral("NUMEROORDRE"), nextNumber(statement, activeCompanyParams()));
        });
    }

    // Starting values of a new annex row (after its number) and completion before every save.
    for (const AnnexDefinition &a : annexDefinitions()) {
        annex(a.number).addNewRowHook([&a](Dataset &ds) {
            for (const AnnexColumn &c : a.columns)
                if ((c.flags & StartAlways) || ((c.flags & StartZero) && ds.isNull(QLatin1String(c.column))))
                    ds.setValue(QLatin1String(c.column), emptyValue(c));
        });
        annex(a.number).addBeforePostHook([&a](Dataset &ds) {
            for (const AnnexColumn &c : a.columns)
                if ((c.flags & Complete) && ds.isNull(QLatin1String(c.column)))
                    ds.setValue(QLatin1String(c.column), emptyValue(c));
        });
    }

    // Withholding headers: numbered within the company and year of the supplier journal window.
    iretenuerecap.addNewRowHook([this](Dataset &ds) {
        ds.setValue(
            QStringLiteral("NUMERO"),
            nextNumber(QStringLiteral("select max(RTENUEALASOURCERECAP.Numero) as MaxNumero from "
                                      "RTENUEALASOURCERECAP where codesociete=:code and exercice=:exercice"),
                       {{QStringLiteral("code"), journalCode},
                        {QStringLiteral("exercice"), journalExercice.toInt()}}));
        ds.setValue(QStringLiteral("DATERETENUE"), QDateTime(QDate::currentDate(), QTime(0, 0), Qt::UTC));
    });
    iretenuerecap.addCalculatedField(QStringLiteral("MONTANTNET"), net({"MONTANTBRUT"}, {"MONTANTRETENUE"}));

    // Withholding lines take their header's identity.
    iretenuequotidien.addNewRowHook([this](Dataset &ds) {
        for (const char *c : {"CODESOCIETE", "EXERCICE", "NUMERO", "CODE", "DATERETENUE", "DATEDECLARATION"})
            ds.setValue(QLatin1String(c), iretenuerecap.value(QLatin1String(c)));
    });
    iretenuequotidien.addBeforePostHook([](Dataset &ds) {
        zeroIfEmpty(ds, {"TAUX", "MONTANTBRUT", "MONTANTRETENUE"});
        ds.setValue(QStringLiteral("MONTANTRETENUE"),
                    ds.number(QStringLiteral("MONTANTBRUT")) * ds.number(QStringLiteral("TAUX")) / 100);
    });
    iretenuequotidien.addCalculatedField(QStringLiteral("MONTANTNET"),
                                         net({"MONTANTBRUT"}, {"MONTANTRETENUE"}));

    // Client withholdings and rebates: one numbering for all companies and years.
    iretenueclient.addNewRowHook([this](Dataset &ds) {
        ds.setValue(
            QStringLiteral("NUMERO"),
            nextNumber(QStringLiteral("select max(RETENUECLIENT.Numero) as MaxNumero from RETENUECLIENT"),
                       {}));
        zeroIfEmpty(ds, {"TAUX", "MONTANTBRUT", "MONTANTRETENUE"});
    });
    IRISTOURNE.addNewRowHook([this](Dataset &ds) {
        ds.setValue(
            QStringLiteral("NUMERO"),
            nextNumber(QStringLiteral("select max(RISTOURNE.Numero) as MaxNumero from RISTOURNE"), {}));
        zeroIfEmpty(ds, {"MONTANTRISTOURNE"});
        setZero(ds, {"VENTEPERSONNEPHYSIQUE", "AVANCEIMPOTPP"});
    });

    // Monthly salary withholdings.
    iretenuepersonnel.addNewRowHook([](Dataset &ds) {
        setZero(ds, {"REVENUIMPOSABLE", "AVANTAGENATURE", "REVENUREINVESTI", "RETENUE", "RETENUE20",
                     "CONTRIBUTIONSOCIALE"});
    });
    iretenuepersonnel.addBeforePostHook([](Dataset &ds) {
        zeroIfEmpty(ds, {"REVENUIMPOSABLE", "AVANTAGENATURE", "REVENUREINVESTI", "RETENUE", "RETENUE20",
                         "CONTRIBUTIONSOCIALE"});
    });
    iretenuepersonnel.addCalculatedField(
        QStringLiteral("NETSERVIS"),
        net({"REVENUIMPOSABLE", "AVANTAGENATURE"}, {"RETENUE", "CONTRIBUTIONSOCIALE", "RETENUE20"}));

    ityperetenue.addNewRowHook([](Dataset &ds) { ds.setValue(QStringLiteral("TAUX"), 0.0); });

    // The recap table shows the label of the withholding type of its line and its zones as amounts.
    Itableaurecap.addCalculatedField(
        QStringLiteral("libelleretenue"), [this](const Dataset &ds, int row) -> QVariant {
            if (!ityperetenue.isOpen())
                ityperetenue.open();
            if (!ityperetenue.locate(QStringLiteral("NUMEROTYPE"), ds.valueAt(row, QStringLiteral("ORDRE")),
                                     Qt::CaseInsensitive))
                return {};
            return ityperetenue.value(QStringLiteral("DESIGNATION"));
        });
    Itableaurecap.addCalculatedField(QStringLiteral("montantsbrut"), zoneAmount("ZONE2", 1000));
    Itableaurecap.addCalculatedField(QStringLiteral("taux"), zoneAmount("ZONE3", 100));
    Itableaurecap.addCalculatedField(QStringLiteral("retenues"), zoneAmount("ZONE4", 1000));
    Itableaurecap.setDisplayFormat(QStringLiteral("montantsbrut"), QStringLiteral("# ##0.000"));
    Itableaurecap.setDisplayFormat(QStringLiteral("retenues"), QStringLiteral("# ##0.000"));
}

Dataset &TDatadeclaration::annex(int number) {
    Dataset *const all[] = {&iannexei, &iannexeii, &iannexeiii, &iannexeiv,
                            &iannexev, &IannexeVI, &iannexevii};
    return *all[std::clamp(number, 1, 7) - 1];
}

Dataset &TDatadeclaration::annexQuery(int number) {
    Dataset *const all[] = {&irequetteannexeI, &irequetteannexeii, &irequetteannexeIII, &irequetteannexeiV,
                            &IrequetteAnnexeV, &irequetteannexeVI, &IrequetteAnnexeVii};
    return *all[std::clamp(number, 1, 7) - 1];
}

Dataset *TDatadeclaration::dataset(const QString &name) {
    for (Dataset *ds : m_datasets)
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0)
            return ds;
    return nullptr;
}

void TDatadeclaration::InitialiserQueryMax() {
    QueryMaxNumero.close();
    QueryMaxNumero.clearSql();
}

int TDatadeclaration::nextNumber(const QString &statement, const QList<QPair<QString, QVariant>> &params) {
    InitialiserQueryMax();
    QueryMaxNumero.setSql(statement);
    for (const auto &p : params)
        QueryMaxNumero.setParam(p.first, p.second);
    QueryMaxNumero.open();
    const QString max = QueryMaxNumero.text(QStringLiteral("MaxNumero"));
    return max.isEmpty() ? 1 : max.toInt() + 1;
}

void TDatadeclaration::commit() {
    IBTransaction1.commitRetaining();
}

std::unique_ptr<Dataset> TDatadeclaration::newQuery(const QString &name) {
    return std::make_unique<Dataset>(name, IBTransaction1);
}
