#include "ui/Messages.h"

#include "data/DbError.h"

#include <QMessageBox>

void showDbError(QWidget *parent, const DbError &error) {
    QMessageBox::critical(parent, QStringLiteral("Talvane"), error.message());
}

void showMessage(QWidget *parent, const QString &text) {
    QMessageBox::information(parent, QStringLiteral("Talvane"), text);
}

bool confirmDeletion(QWidget *parent) {
    return QMessageBox::question(parent, QStringLiteral("Confirmation"),
                                 QStringLiteral("Voulez-vous supprimer l'enregistrement en cours ?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}
