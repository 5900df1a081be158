#pragma once

#include <QWidget>
#include <memory>
#include <vector>

class Dataset;
class DatasetGrid;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class TDatadeclaration;
struct ImportTarget;

// The import of whole tables from other sources: the table chosen in "Annexe à Importer", emptied on
// request, then filled by the import wizard. The tables are used whole, for every company and fiscal year,
// and rows go in as the file gives them (insert only; none of the data module's rules apply). The tabs
// "Dataset" and "DBGrid" store what is read; "ListView" and "StringGrid" only show it.
class TfmImpDlgIBX : public QWidget {
    Q_OBJECT
public:
    explicit TfmImpDlgIBX(TDatadeclaration &dm, QWidget *parent = nullptr);
    ~TfmImpDlgIBX() override;

    enum Tab { DatasetTab, DBGridTab, ListViewTab, StringGridTab };

    QComboBox *targetList() const { return m_targets; }
    QPushButton *emptyButton() const { return m_empty; }
    QPushButton *importButton() const { return m_import; }
    QTabWidget *tabs() const { return m_tabs; }
    QLabel *summary() const { return m_summary; }
    QTreeWidget *listView() const { return m_list; }
    QTableWidget *stringGrid() const { return m_grid; }
    // The table chosen and its dataset, open; and the grid of the "DBGrid" tab showing it.
    const ImportTarget &target() const;
    Dataset &targetDataset() const;
    DatasetGrid *targetGrid() const;

    // "Effacer les Données de l'Annexe": with "Dataset" or "DBGrid", the table is emptied (no question);
    // with "ListView" or "StringGrid", only what the window shows is cleared.
    void emptyTarget();
    // "Importation des données".
    void importData();

private:
    struct Table;
    void chooseTarget(int index);
    Table &open(int index);
    void showSummary();
    void showRead(const QStringList &fields, const std::vector<QStringList> &rows);

    TDatadeclaration &m_dm;
    std::vector<std::unique_ptr<Table>> m_tables; // one per target, opened when first chosen
    int m_current = 0;
    QComboBox *m_targets;
    QPushButton *m_empty;
    QPushButton *m_import;
    QTabWidget *m_tabs;
    QLabel *m_summary;
    QStackedWidget *m_gridStack;
    QTreeWidget *m_list;
    QTableWidget *m_grid;
};
