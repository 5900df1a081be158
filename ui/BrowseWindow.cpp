#include "ui/BrowseWindow.h"

#include "data/Dataset.h"
#include "data/DbError.h"
#include "ui/DatasetGrid.h"
#include "ui/EditWindow.h"
#include "ui/Messages.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

QLabel *newTitlePanel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("titlePanel"));
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    label->setFrameShape(QFrame::Panel);
    label->setMargin(6);
    return label;
}

QList<QPushButton *> addButtonRow(QBoxLayout *layout, QWidget *parent, const QStringList &captions) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    QList<QPushButton *> buttons;
    for (const QString &caption : captions) {
        auto *b = new QPushButton(caption, parent);
        b->setAutoDefault(false);
        row->addWidget(b);
        buttons << b;
    }
    layout->addLayout(row);
    return buttons;
}

BrowseWindow::BrowseWindow(Dataset &dataset, const QString &caption, const QString &title,
                           QList<GridColumn> columns, QWidget *parent)
    : QWidget(parent), m_dataset(dataset), m_grid(new DatasetGrid(dataset, std::move(columns), this)),
      m_searchLabel(new QLabel(this)), m_searchBox(newUpperCaseBox(this)), m_buttons(new QHBoxLayout),
      m_menu(new QMenu(this)) {
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(newTitlePanel(title, this));
    layout->addLayout(m_buttons);
    m_buttons->addStretch();
    auto *searchRow = new QHBoxLayout;
    m_searchLabel->setMinimumWidth(120);
    searchRow->addWidget(m_searchLabel);
    searchRow->addWidget(m_searchBox, 1);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid, 1);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_grid->viewport()->mapToGlobal(at)); });
}

BrowseSearch *BrowseWindow::enableSearch(std::map<QString, QString> captions,
                                         BrowseSearch::Statement statement) {
    m_search =
        new BrowseSearch(m_grid, m_searchLabel, m_searchBox, std::move(captions), std::move(statement));
    return m_search;
}

QPushButton *BrowseWindow::addButton(const QString &caption, const QString &hint,
                                     std::function<void()> action) {
    auto *b = new QPushButton(caption, this);
    b->setToolTip(hint);
    b->setAutoDefault(false);
    if (action)
        connect(b, &QPushButton::clicked, this, std::move(action));
    m_buttons->insertWidget(m_buttons->count() - 1, b);
    m_buttonList << b;
    return b;
}

QPushButton *BrowseWindow::button(const QString &caption) const {
    for (QPushButton *b : m_buttonList)
        if (b->text() == caption || b->toolTip() == caption)
            return b;
    return nullptr;
}

void BrowseWindow::addMenuEntry(const QString &caption, std::function<void()> action) {
    QAction *a = m_menu->addAction(caption);
    if (action)
        connect(a, &QAction::triggered, this, std::move(action));
}

void BrowseWindow::addRow(const std::function<QWidget *()> &editWindow) {
    QWidget *window = editWindow();
    try {
        m_dataset.append();
    } catch (const DbError &e) {
        delete window;
        showDbError(this, e);
        return;
    }
    window->show();
}

void BrowseWindow::changeRow(const std::function<QWidget *()> &editWindow) {
    if (!m_dataset.isOpen() || m_dataset.isEmpty())
        return;
    QWidget *window = editWindow();
    try {
        m_dataset.edit();
    } catch (const DbError &e) {
        delete window;
        showDbError(this, e);
        return;
    }
    window->show();
}

void BrowseWindow::deleteRow(const std::function<void()> &afterDelete) {
    if (!m_dataset.isOpen() || m_dataset.isEmpty())
        return;
    if (!confirmDeletion(this))
        return;
    try {
        m_dataset.remove();
        if (afterDelete)
            afterDelete();
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

// An edit window still open goes through its own closing first (saving a confirmed entry, abandoning any
// other), so that no entry is left pending on the shared dataset; one that refuses to close keeps this
// window open too.
void BrowseWindow::closeEvent(QCloseEvent *event) {
    for (EditWindow *edit : findChildren<EditWindow *>())
        if (edit->isVisible() && !edit->close()) {
            event->ignore();
            return;
        }
    closing();
    event->accept();
}

void BrowseWindow::reopenDataset() {
    try {
        m_dataset.reopen();
        m_dataset.first();
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}
