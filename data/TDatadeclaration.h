#pragma once

#include "data/ActiveCompany.h"
#include "data/Configuration.h"
#include "data/Dataset.h"
#include "data/FbConnection.h"
#include "data/StoredProcedure.h"

#include <QObject>
#include <array>
#include <exception>

// Where an annex lives: its dataset, its table and the column holding the declarant code.
struct AnnexTable {
    int number; // 1 to 7
    const char *table;
    const char *companyColumn; // CODESOCIETE in ANNEXEI, IDENTIFIANT elsewhere
};
extern const std::array<AnnexTable, 7> kAnnexTables;

// The data module: the connections, the one shared transaction and every shared dataset, with the rules
// that hold whatever window drives them (numbering of new rows, starting values, completion before a save,
// computed columns, commit after a save or a deletion).
class TDatadeclaration : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kUser = "SYSDBA";
    static constexpr const char *kPassword = "qorvintel";

    explicit TDatadeclaration(QObject *parent = nullptr);
    ~TDatadeclaration() override;

    // Reads the configuration and connects the main database; throws DbError when the connection fails,
    // after keeping the configuration (a later use of a dataset tries to connect again).
    void connectDatabase(const Configuration &configuration);
    void connectDatabase(const QString &databasePath);

    FbConnection italvane;
    FbTransaction IBTransaction1;
    FbConnection ipaie;
    FbTransaction IBTransaction2;

    Dataset Isociete;
    Dataset iannexei, iannexeii, iannexeiii, iannexeiv, iannexev, IannexeVI, iannexevii;
    Dataset irequetteannexeI, irequetteannexeii, irequetteannexeIII, irequetteannexeiV, IrequetteAnnexeV,
        irequetteannexeVI, IrequetteAnnexeVii;
    Dataset Itableaurecap;
    Dataset ityperetenue;
    Dataset Itiers;
    Dataset ipersonnel;
    Dataset iretenuerecap;
    Dataset iretenuequotidien;
    Dataset iretenueclient;
    Dataset iretenuepersonnel;
    Dataset IRISTOURNE;
    Dataset QueryMaxNumero;
    StoredProcedure ieffacerrecap;

    Dataset &annex(int number);            // iannexei .. iannexevii
    Dataset &annexQuery(int number);       // irequetteannexeI .. IrequetteAnnexeVii
    Dataset *dataset(const QString &name); // by name, case-insensitive; null when unknown
    const std::vector<Dataset *> &datasets() const { return m_datasets; }

    // Settings and state held for the whole run.
    QString spreadsheetFolder = Configuration::defaultSpreadsheetFolder();
    bool verificationMessage = false;
    ActiveCompany activeCompany;
    // Company and fiscal year of the open supplier journal window, for numbering its headers.
    QString journalCode;
    QString journalExercice;

    // Numbering rule.
    void InitialiserQueryMax();
    int nextNumber(const QString &statement, const QList<QPair<QString, QVariant>> &params);

    // Makes the work of the shared transaction durable and keeps it open.
    void commit();

    // While one lives, the saves of a long run (a verification, a copy) are made durable once, when it
    // ends (also by an error, so the rows saved before the error stay), instead of one disk flush per row.
    class BatchedCommits {
    public:
        explicit BatchedCommits(TDatadeclaration &dm) : m_dm(dm) { ++m_dm.m_batchedCommits; }
        // A failed commit is reported, unless an error of the run is already on its way.
        ~BatchedCommits() noexcept(false) {
            if (--m_dm.m_batchedCommits != 0)
                return;
            if (std::uncaught_exceptions() == 0) {
                m_dm.commit();
                return;
            }
            try {
                m_dm.commit();
            } catch (...) {
            }
        }
        BatchedCommits(const BatchedCommits &) = delete;
        BatchedCommits &operator=(const BatchedCommits &) = delete;

    private:
        TDatadeclaration &m_dm;
    };
    // A query or statement on the main connection within the shared transaction, for a window of its own.
    std::unique_ptr<Dataset> newQuery(const QString &name);

private:
    void defineDatasets();
    void defineRules();
    std::vector<Dataset *> m_datasets;
    int m_batchedCommits = 0;
};
