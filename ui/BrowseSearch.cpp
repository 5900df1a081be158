#include "ui/BrowseSearch.h"

#include "data/Dataset.h"
#include "data/DbError.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

const char *const BrowseSearch::kColumnColour = "#F4FFFF";
const char *const BrowseSearch::kSortColour = "#C0C0C0";

BrowseSearch::BrowseSearch(DatasetGrid *grid, QLabel *label, QLineEdit *box,
                           std::map<QString, QString> captions, Statement statement)
    : QObject(grid), m_grid(grid), m_label(label), m_box(box), m_captions(std::move(captions)),
      m_statement(std::move(statement)) {
    m_label->clear();
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &BrowseSearch::sortBy);
    connect(m_box, &QLineEdit::textChanged, this, &BrowseSearch::search);
}

BrowseSearch::Statement BrowseSearch::plainTable(const QString &table) {
    return [table](const QString &column, const QString &condition) {
        QString sql = QStringLiteral("select * from ") + table;
        if (!condition.isEmpty())
            sql += QStringLiteral(" Where ") + condition;
        return sql + QStringLiteral(" Order by ") + column;
    };
}

QString BrowseSearch::quoted(const QString &text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

void BrowseSearch::sortBy(int column) {
    DatasetTableModel *model = m_grid->datasetModel();
    if (column < 0 || column >= model->columnCount())
        return;
    model->setColumnColours(QColor(QLatin1String(kColumnColour)), column, QColor(QLatin1String(kSortColour)));
    const GridColumn &c = model->columns().at(column);
    m_label->setText(c.caption);
    run(m_statement(c.field, QString()));
}

void BrowseSearch::search(const QString &text) {
    const auto found = m_captions.find(m_label->text());
    if (found == m_captions.end())
        return;
    const QString &column = found->second;
    const QString condition =
        text.isEmpty() ? QString() : column + QStringLiteral(" LIKE ") + quoted(text + QLatin1Char('%'));
    run(m_statement(column, condition));
}

void BrowseSearch::run(const QString &sql) {
    Dataset &dataset = m_grid->dataset();
    try {
        dataset.close();
        dataset.setSql(sql);
        if (m_binder)
            m_binder(dataset);
        dataset.open();
        dataset.first();
    } catch (const DbError &e) {
        dataset.close();
        showDbError(m_grid, e);
    }
}

namespace {

// Upper-cases whatever reaches the box, typed, pasted or composed, before the box takes it.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

QLineEdit *newUpperCaseBox(QWidget *parent) {
    auto *box = new QLineEdit(parent);
    box->setValidator(new UpperCaseValidator(box));
    return box;
}
