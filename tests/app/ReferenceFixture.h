#pragma once

#include "tests/app/MainWindowFixture.h"
#include "ui/DatasetGrid.h"

#include <QHeaderView>
#include <QLineEdit>

// Windows of the reference data over a fresh database, with helpers to drive their grids.
class ReferenceFixture : public MainWindowFixture {
protected:
    void addThirdParty(int code, const QString &name, const QString &type = QStringLiteral("1"),
                       const QString &identifier = QString()) {
        exec(QStringLiteral("insert into TIERS (CODE, TYPEIDENTIFIANT, IDENTIFIANT, NOMBENEFICIAIRE) "
                            "values (%1, '%2', '%3', '%4')")
                 .arg(code)
                 .arg(type, identifier.isEmpty() ? QStringLiteral("ID%1").arg(code) : identifier,
                      QString(name).replace(QLatin1Char('\''), QStringLiteral("''"))));
    }

    // Clicks the title of a grid column.
    static void clickTitle(DatasetGrid *grid, const QString &caption) {
        const int column = grid->datasetModel()->columnOf(caption);
        ASSERT_GE(column, 0) << caption.toStdString();
        QHeaderView *header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    // The texts a grid column shows, top to bottom.
    static QStringList shown(DatasetGrid *grid, const QString &caption) {
        QStringList texts;
        const int column = grid->datasetModel()->columnOf(caption);
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            texts << grid->datasetModel()->displayText(row, column).trimmed();
        return texts;
    }

    // Replaces the text of a line edit as the user does: select all, then type.
    static void typeInto(QWidget *field, const QString &text) {
        field->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->selectAll();
        QTest::keyClicks(field, text);
    }
};
