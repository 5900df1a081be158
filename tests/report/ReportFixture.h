#pragma once

#include "tests/report/PdfReader.h"
#include "tests/support/DataModuleFixture.h"

#include <QMap>
#include <QTemporaryDir>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

// A data module on a fresh database holding the active company's row (1234567 A M 000, "SOCIETE TEST",
// 2018), a way to fill annex rows, and a folder for the PDF files.
class ReportFixture : public DataModuleFixture {
protected:
    ReportFixture() {
        exec(QStringLiteral(
            "insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, RAISON_SOCIALE, "
            "ACTIVITE, VILLE, RUE, NUMERO, CODEPOSTAL, EXERCICE, ACTIVEON) values ('1234567', "
            "'A', 'M', '000', 'SOCIETE TEST', 'COMMERCE', '  TUNIS  ', 'RUE DE MARSEILLE', "
            "'12', '1000', 2018, 'O')"));
    }

    // A row of annex 1 to 7 for the active company and year: every required column has a default (0 for a
    // number, "1" for a text), replaced by `values`, SQL literals by column name.
    void insertAnnexRow(int annex, int numero, QMap<QString, QString> values = {}) {
        const AnnexTable &table = kAnnexTables.at(static_cast<std::size_t>(annex - 1));
        auto required = dm.newQuery(QStringLiteral("required"));
        required->setSql(
            QStringLiteral(
                "select rf.RDB$FIELD_NAME, f.RDB$FIELD_TYPE from RDB$RELATION_FIELDS rf join RDB$FIELDS f on "
                "f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE where rf.RDB$RELATION_NAME = '%1' and "
                "rf.RDB$NULL_FLAG = 1")
                .arg(QLatin1String(table.table)));
        required->open();
        for (int row = 0; row < required->rowCount(); ++row) {
            const QString column = required->valueAt(row, 0).toString().trimmed();
            const int type = required->valueAt(row, 1).toInt();
            const bool text = type == 14 || type == 37; // CHAR, VARCHAR
            if (!values.contains(column))
                values.insert(column, text ? QStringLiteral("'1'") : QStringLiteral("0"));
        }
        values.insert(QLatin1String(table.companyColumn), QStringLiteral("'1234567AM000'"));
        values.insert(QStringLiteral("EXERCICE"), QStringLiteral("'2018'"));
        values.insert(QStringLiteral("NUMEROORDRE"), QString::number(numero));
        exec(QStringLiteral("insert into %1 (%2) values (%3)")
                 .arg(QLatin1String(table.table), values.keys().join(QStringLiteral(", ")),
                      values.values().join(QStringLiteral(", "))));
    }

    QString pdfPath(const QString &name) const { return out.filePath(name + QStringLiteral(".pdf")); }

    QTemporaryDir out;
};
