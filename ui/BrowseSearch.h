#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class Dataset;
class DatasetGrid;
class QLabel;
class QLineEdit;

// Sorting by a click on a column title and search as you type, shared by every browse window. The search
// column is known only through the search label's text, looked up in the captions the window understands.
class BrowseSearch : public QObject {
    Q_OBJECT
public:
    // The statement for an order column and a search condition (empty for every row).
    using Statement = std::function<QString(const QString &column, const QString &condition)>;

    // `captions` maps the titles the search understands to the column they filter and order by.
    BrowseSearch(DatasetGrid *grid, QLabel *label, QLineEdit *box, std::map<QString, QString> captions,
                 Statement statement);

    // "select * from TABLE[ Where condition] Order by column", the statement of the reference tables.
    static Statement plainTable(const QString &table);
    // Single quotes around the text, each quote inside doubled.
    static QString quoted(const QString &text);

    // Sets the parameters a company-scoped statement needs, just before each opening.
    void setBinder(std::function<void(Dataset &)> binder) { m_binder = std::move(binder); }

    // A click on the title of a grid column.
    void sortBy(int column);
    // A change of the search box's text.
    void search(const QString &text);

    static const char *const kColumnColour; // near-white, every column
    static const char *const kSortColour;   // silver, the sort column

private:
    void run(const QString &sql);

    DatasetGrid *m_grid;
    QLabel *m_label;
    QLineEdit *m_box;
    std::map<QString, QString> m_captions;
    Statement m_statement;
    std::function<void(Dataset &)> m_binder;
};

// An edit field that turns every typed letter into upper case, the search box of the browse windows.
QLineEdit *newUpperCaseBox(QWidget *parent);
