#pragma once

#include "data/TDatadeclaration.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

// A data module connected to a fresh database, with an active company chosen.
class DataModuleFixture : public ::testing::Test {
protected:
    DataModuleFixture() {
        dm.connectDatabase(db.path());
        dm.activeCompany = {QStringLiteral("1234567AM000"), QStringLiteral("2018"),
                            QStringLiteral("SOCIETE TEST"), QStringLiteral("RUE DE TUNIS"),
                            QStringLiteral("COMMERCE")};
    }
    // Runs one statement in the shared transaction and commits it.
    void exec(const QString &sql) {
        auto query = dm.newQuery(QStringLiteral("exec"));
        query->setSql(sql);
        query->open();
        dm.commit();
    }
    // The first column of the first row of a query.
    QVariant scalar(const QString &sql) {
        auto query = dm.newQuery(QStringLiteral("scalar"));
        query->setSql(sql);
        query->open();
        return query->isEmpty() ? QVariant() : query->valueAt(0, 0);
    }

    TestDatabase db;
    TDatadeclaration dm;
};
