#pragma once

#include <QString>

class DbError;
class QWidget;

// The message boxes of the program, with their French titles.
void showDbError(QWidget *parent, const DbError &error); // the data layer's own message
void showMessage(QWidget *parent, const QString &text);  // an information
bool confirmDeletion(QWidget *parent);                   // "Voulez-vous supprimer ..." Yes/No
