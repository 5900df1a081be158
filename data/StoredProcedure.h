#pragma once

#include "data/FbStatement.h"

#include <QString>
#include <QVariantList>

class FbTransaction;

// An executable stored procedure of the database, run within a transaction and not committed by the call.
class StoredProcedure {
public:
    StoredProcedure(QString procedure, FbTransaction &transaction)
        : m_procedure(std::move(procedure)), m_transaction(transaction) {}
    const QString &procedureName() const { return m_procedure; }
    void execute(const QVariantList &arguments = {});

private:
    QString m_procedure;
    FbTransaction &m_transaction;
};
