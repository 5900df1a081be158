#pragma once

#include "tests/app/MainWindowFixture.h"
#include "ui/DatasetGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
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

    // Replaces the text of a line edit as the user does: select all, then type, accented letters included.
    static void typeInto(QWidget *field, const QString &text) {
        field->setFocus();
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->selectAll();
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(field, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
                QCoreApplication::sendEvent(field, &press);
                QCoreApplication::sendEvent(field, &release);
            }
        }
    }
};
