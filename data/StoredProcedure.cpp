#include "data/StoredProcedure.h"

#include "data/FbConnection.h"

void StoredProcedure::execute(const QVariantList &arguments) {
    QStringList marks;
    for (qsizetype i = 0; i < arguments.size(); ++i)
        marks << QStringLiteral("?");
    FbStatement statement(m_transaction);
    statement.prepare(QStringLiteral("execute procedure ") + m_procedure +
                      (marks.isEmpty() ? QString() : QLatin1Char(' ') + marks.join(QLatin1Char(','))));
    for (qsizetype i = 0; i < arguments.size(); ++i)
        statement.setParameter(static_cast<int>(i), arguments.at(i));
    statement.execute();
}
