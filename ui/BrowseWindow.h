#pragma once

#include "ui/BrowseSearch.h"
#include "ui/DatasetTableModel.h"

#include <QWidget>
#include <functional>
#include <map>

class Dataset;
class DatasetGrid;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// The title panel of a window or dialog ("<<<  Liste des Tiers >>>").
QLabel *newTitlePanel(const QString &text, QWidget *parent);
// A row of buttons aligned right, added to `layout`; the buttons in the order of their captions.
QList<QPushButton *> addButtonRow(class QBoxLayout *layout, QWidget *parent, const QStringList &captions);

// A browse window: a title panel, a row of buttons, the search label and box, and a grid over a shared
// dataset. The windows of the program fill in their buttons, statements and edit windows.
class BrowseWindow : public QWidget {
    Q_OBJECT
public:
    BrowseWindow(Dataset &dataset, const QString &caption, const QString &title, QList<GridColumn> columns,
                 QWidget *parent = nullptr);

    Dataset &dataset() const { return m_dataset; }
    DatasetGrid *grid() const { return m_grid; }
    QLabel *searchLabel() const { return m_searchLabel; }
    QLineEdit *searchBox() const { return m_searchBox; }
    BrowseSearch *search() const { return m_search; }
    QMenu *contextMenu() const { return m_menu; }

    // Title click sorting and search as you type, with the captions the search understands.
    BrowseSearch *enableSearch(std::map<QString, QString> captions, BrowseSearch::Statement statement);

    // A button of the button row; `action` may be empty (a button without action).
    QPushButton *addButton(const QString &caption, const QString &hint, std::function<void()> action);
    QPushButton *button(const QString &caption) const; // by caption or hint
    void addMenuEntry(const QString &caption, std::function<void()> action);

    // The usual actions: a new row or the current row in entry, then the edit window shown; the current row
    // deleted after "Voulez-vous supprimer l'enregistrement en cours ?". Errors show the data layer's
    // message.
    void addRow(const std::function<QWidget *()> &editWindow);
    void changeRow(const std::function<QWidget *()> &editWindow);
    void deleteRow(const std::function<void()> &afterDelete = {});

    // Closes the dataset and opens it again with its statement, on its first row.
    void reopenDataset();

protected:
    // The window's own work when it closes, after its edit windows have closed.
    virtual void closing() {}
    void closeEvent(QCloseEvent *event) override;

private:
    Dataset &m_dataset;
    DatasetGrid *m_grid;
    QLabel *m_searchLabel;
    QLineEdit *m_searchBox;
    QHBoxLayout *m_buttons;
    QMenu *m_menu;
    BrowseSearch *m_search = nullptr;
    QList<QPushButton *> m_buttonList;
};
