#pragma once

#include "ui/DatasetTableModel.h"

#include <QDialog>
#include <functional>

class BrowseSearch;
class Dataset;
class DatasetGrid;
class QDateEdit;
class QLabel;
class QLineEdit;
class TDatadeclaration;

// A selection dialog: a title panel and a grid over a shared dataset, whose statement the dialog sets when
// it opens. It returns nothing itself: the chosen row is the dataset's current row when it closes. A
// double click on a row closes it.
class SelectionDialog : public QDialog {
    Q_OBJECT
public:
    struct Definition {
        const char *caption;
        const char *title;
        const char *statement;
        QList<GridColumn> columns;
        std::map<QString, QString> searchCaptions; // empty: no search box nor title sorting
        const char *table;                         // the table sorted and searched
    };

    SelectionDialog(Dataset &dataset, const Definition &definition, QWidget *parent = nullptr);

    DatasetGrid *grid() const { return m_grid; }
    QLabel *searchLabel() const { return m_searchLabel; }
    QLineEdit *searchBox() const { return m_searchBox; }

private:
    DatasetGrid *m_grid;
    QLabel *m_searchLabel = nullptr;
    QLineEdit *m_searchBox = nullptr;
};

class TFrmtiersselect : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmtiersselect(TDatadeclaration &dm, QWidget *parent = nullptr);
};

class TFrmtyperetenueselect : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmtyperetenueselect(TDatadeclaration &dm, QWidget *parent = nullptr);
};

class TFrmPERSONNELselect : public SelectionDialog {
    Q_OBJECT
public:
    explicit TFrmPERSONNELselect(TDatadeclaration &dm, QWidget *parent = nullptr);
};

// Shows a dialog modally and frees it when closed.
void runSelectionDialog(SelectionDialog *dialog);

// The lookup-or-pick of a code field: the reference dataset is read again; a row whose key column equals
// the code (surrounding blanks removed, case ignored) becomes its current row; when the code is empty or
// not found, `pick` shows the selection dialog. Either way the caller then copies from the current row.
// Returns false only when the reference dataset holds no row to copy.
bool lookupOrPick(Dataset &reference, const QString &keyColumn, const QString &code,
                  const std::function<void()> &pick);

// The date-range dialog: "Du:" and "Au :", both today when shown, "OK" and "Annuler".
class TFrmSelDateDuAu : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSelDateDuAu(QWidget *parent = nullptr);
    QDate du() const;
    QDate au() const;
    QDateEdit *duEdit() const { return m_du; }
    QDateEdit *auEdit() const { return m_au; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QDateEdit *m_du;
    QDateEdit *m_au;
};
