#include "tests/app/ReferenceFixture.h"

#include "data/Dataset.h"
#include "exchange/XlsxReader.h"
#include "exchange/windows/TFrmexportexcell.h"
#include "tests/exchange/SpreadsheetFiles.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <tuple>

namespace {

const QString kOtherCompany = QStringLiteral("7654321BM000");

// The reading of a workbook cell against the value the source holds: texts as texts, numbers as numbers,
// dates as dates, nothing for a null.
void expectCell(const QVariant &cell, const QVariant &value) {
    if (value.isNull()) {
        EXPECT_TRUE(cell.isNull()) << cell.toString().toStdString();
    } else if (value.typeId() == QMetaType::QString) {
        EXPECT_EQ(cell.toString(), value.toString());
    } else if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
        EXPECT_EQ(cell.toDate(), value.toDate());
    } else {
        EXPECT_EQ(cell.typeId(), QMetaType::Double);
        EXPECT_DOUBLE_EQ(cell.toDouble(), value.toDouble());
    }
}

class ExportWindowTest : public ReferenceFixture {
protected:
    void SetUp() override {
        registerExportWindow(registry);
        showFrame();
        ASSERT_TRUE(folder.isValid());
    }

    TFrmexportexcell *openWindow() {
        clickRibbon(QStringLiteral("Traitements et Outils"), QStringLiteral("Export Excell"));
        QMdiSubWindow *child = frame->mdiArea()->activeSubWindow();
        return child ? qobject_cast<TFrmexportexcell *>(child->widget()) : nullptr;
    }

    void addAnnexI(int number, const QString &code) {
        exec(QStringLiteral("insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
                            "IDENTIFIANTBENEFICIAIRE, NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, "
                            "REVENUIMPOSABLE, AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, "
                            "MONTANTNET, NBJOURS) values ('%1', '2018', %2, '1', '0000000%2', 'NOM %2', "
                            "'EMPLOI', 'ADRESSE', 'C', 0, 1000, 0, 1000, 0, 100, 900, 300)")
                 .arg(code)
                 .arg(number));
    }

    void addAnnexII(int number, const QString &code, const QString &exercice = QStringLiteral("2018")) {
        exec(QStringLiteral(
                 "insert into ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
                 "IDENTIFIANTBENEFICIAIRE, RAISONSOCIALE, ACTIVITE, ADRESSE, TYPEMONTANTSERVIS, "
                 "MONTANTBRUT, HONORAIRESERVIS, JETONSPRESENCES, REMUNIRATIONS, PLUSVALUE, "
                 "LOYERSHOTELS, RETENUESOPERES, NETSERVIS, RISTOURNES, PHYSIQUEMORALE) values "
                 "('%1', '%2', %3, '1', '%4', 'RAISON %3', 'ACTIVITE', 'ADRESSE', '1', %5, 0, 0, 0, "
                 "0, 0, %6, 0, 0, '1')")
                 .arg(code, exercice)
                 .arg(number)
                 .arg(number, 8, 10, QLatin1Char('0'))
                 .arg(100.25 * number)
                 .arg(15 * number));
    }

    // Twelve Annex II rows of the active company and year, and rows of another company and of another year
    // that are not theirs.
    void addAnnexIIOf12() {
        for (int n = 1; n <= 12; ++n)
            addAnnexII(n, dm.activeCompany.code);
        for (int n = 1; n <= 3; ++n)
            addAnnexII(n, kOtherCompany);
        addAnnexII(1, dm.activeCompany.code, QStringLiteral("2017"));
    }

    // Clicks an entry of "Tables De base".
    static void choose(TFrmexportexcell *w, const QString &entry) {
        QListWidget *list = w->tableList();
        const QList<QListWidgetItem *> items = list->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << entry.toStdString();
        list->scrollToItem(items[0]);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
        ASSERT_EQ(list->currentItem(), items[0]);
    }

    static QStringList rowBoxes(TFrmexportexcell *w) {
        return {w->firstRowBox()->text(), w->lastRowBox()->text(), w->rowsBox()->text()};
    }

    // Clicks a button and answers what it opens: a file dialog with `file` (its title and filters kept in
    // `dialogs`), a message box with OK. Returns the texts of the message boxes.
    static QStringList click(QAbstractButton *button, const QString &file = {},
                             QStringList *dialogs = nullptr) {
        QStringList messages;
        withModals([&] { QTest::mouseClick(button, Qt::LeftButton); },
                   [&](QWidget *modal) {
                       if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                           messages << box->text();
                           box->accept();
                       } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                           if (dialogs)
                               *dialogs << dialog->windowTitle()
                                        << dialog->nameFilters().join(QLatin1Char('|'))
                                        << dialog->directory().absolutePath() << dialog->defaultSuffix();
                           dialog->selectFile(file);
                           static_cast<QDialog *>(dialog)->accept(); // QFileDialog's own, as OK runs it
                       } else {
                           ADD_FAILURE() << "unexpected window " << modal->metaObject()->className();
                           modal->close();
                       }
                   });
        return messages;
    }

    // Save after export on, to the given file, as the user sets them.
    void saveTo(TFrmexportexcell *w, const QString &file) {
        QCheckBox *save = w->checkBox(QStringLiteral("SaveAfterExport"));
        ASSERT_NE(save, nullptr);
        if (!save->isChecked()) {
            save->setFocus();
            QTest::keyClick(save, Qt::Key_Space);
        }
        typeInto(w->saveFileBox(), file);
        ASSERT_TRUE(w->exporter().saveAfterExport);
        ASSERT_EQ(w->exporter().saveFile, file);
    }

    // The rows of the active company's Annex II, as the database holds them.
    std::vector<QVariantList> annexIIRows() {
        auto query = dm.newQuery(QStringLiteral("expected"));
        query->setSql(QStringLiteral("select * from ANNEXEII where IDENTIFIANT=:code and EXERCICE=:exercice "
                                     "order by NUMEROORDRE"));
        query->setParam(QStringLiteral("code"), dm.activeCompany.code);
        query->setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
        query->open();
        std::vector<QVariantList> rows;
        QVariantList titles;
        for (int f = 0; f < query->fieldCount(); ++f)
            titles << query->fieldName(f);
        rows.push_back(titles);
        for (int r = 0; r < query->rowCount(); ++r) {
            QVariantList row;
            for (int f = 0; f < query->fieldCount(); ++f)
                row << query->valueAt(r, f);
            rows.push_back(row);
        }
        return rows;
    }

    QTemporaryDir folder;
};

TEST_F(ExportWindowTest, OpensFromTheMainWindowOnAnnexIOfTheActiveCompany) {
    addAnnexI(1, dm.activeCompany.code);
    addAnnexI(2, dm.activeCompany.code);
    addAnnexI(1, kOtherCompany);
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Component TGWGExporterXL checker..."));
    ASSERT_NE(w->exporter().source(), nullptr);
    EXPECT_EQ(w->exporter().source()->fieldName(0), QStringLiteral("CODESOCIETE"));
    EXPECT_EQ(w->exporter().source()->rowCount(), 2);
    EXPECT_EQ(w->tableList()->currentItem()->text(), QStringLiteral("Annexe I"));
    EXPECT_EQ(rowBoxes(w), (QStringList{"1", "2", "2"}));
    EXPECT_EQ(w->tableGrid()->model()->rowCount(), 2);
    EXPECT_EQ(w->columnFileBox()->text(), QStringLiteral("Export.ini"));
    EXPECT_EQ(w->titlesFileBox()->text(), QStringLiteral("DATA.TXT"));
}

TEST_F(ExportWindowTest, ChoosingATableCountsTheRowsOfTheCompanyAndYear) {
    addAnnexIIOf12();
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    choose(w, QStringLiteral("Annexe II"));
    EXPECT_EQ(rowBoxes(w), (QStringList{"1", "12", "12"}));
    EXPECT_EQ(w->exporter().lastRow(), 12);
    EXPECT_EQ(w->exporter().rows(), 12);
    ASSERT_NE(w->exporter().source(), nullptr);
    EXPECT_EQ(w->exporter().source()->fieldName(0), QStringLiteral("IDENTIFIANT"));
    EXPECT_EQ(w->tableGrid()->model()->rowCount(), 12);
}

// Typing in a row box, then exporting: the boxes after the typing, and the rows found in the workbook.
struct TypedRowsCase {
    const char *name;
    const char *box;
    const char *typed;
    QStringList boxes; // first row, last row, rows
    std::vector<int> exported;
};

void PrintTo(const TypedRowsCase &c, std::ostream *os) {
    *os << c.name;
}

class ExportWindowRowsTest : public ExportWindowTest, public ::testing::WithParamInterface<TypedRowsCase> {};

TEST_P(ExportWindowRowsTest, WorkbookHoldsTheTitlesAndTheRowsChosen) {
    const TypedRowsCase &c = GetParam();
    addAnnexIIOf12();
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    choose(w, QStringLiteral("Annexe II"));
    QLineEdit *box = QString::fromUtf8(c.box) == QStringLiteral("1ère Ligne de Transfert")  ? w->firstRowBox()
                     : QString::fromUtf8(c.box) == QStringLiteral("Ligne Fin de Transfert") ? w->lastRowBox()
                                                                                            : w->rowsBox();
    typeInto(box, QString::fromLatin1(c.typed));
    EXPECT_EQ(rowBoxes(w), c.boxes);
    EXPECT_EQ(box->text(), QString::fromLatin1(c.typed)); // the typing is left as typed
    const QString file = folder.filePath(QStringLiteral("Export.xls"));
    saveTo(w, file);

    const QStringList messages = click(w->button(QStringLiteral("Export vers Excel")));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(
        w->statusLabel()->text().startsWith(QStringLiteral("Sended Rows : %1 in... ").arg(c.exported.size())))
        << w->statusLabel()->text().toStdString();
    EXPECT_EQ(w->progressBar()->value(), 100);

    const std::vector<QVariantList> expected = annexIIRows();
    const std::vector<SheetRow> sheet = XlsxReader(folder.filePath(QStringLiteral("Export.xlsx"))).readAll(0);
    ASSERT_EQ(sheet.size(), c.exported.size() + 1);
    for (std::size_t r = 0; r < sheet.size(); ++r) {
        const QVariantList &want = expected[r == 0 ? 0 : static_cast<std::size_t>(c.exported[r - 1])];
        EXPECT_LE(sheet[r].cells.size(), want.size()) << r;
        for (int f = 0; f < want.size(); ++f) {
            SCOPED_TRACE(testing::Message()
                         << "line " << r + 1 << ", " << expected[0][f].toString().toStdString());
            expectCell(sheet[r].cells.value(f), want[f]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Typed, ExportWindowRowsTest,
    ::testing::Values(
        TypedRowsCase{
            "FirstRow5", "1ère Ligne de Transfert", "5", {"5", "12", "8"}, {5, 6, 7, 8, 9, 10, 11, 12}},
        TypedRowsCase{"FirstRow11", "1ère Ligne de Transfert", "11", {"11", "12", "2"}, {11, 12}},
        // Beyond the source: the export starts from row 1.
        TypedRowsCase{"FirstRow20", "1ère Ligne de Transfert", "20", {"20", "20", "1"}, {1}},
        TypedRowsCase{
            "Rows10", "Nbr de Ligne à Transférer", "10", {"1", "10", "10"}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        TypedRowsCase{"LastRow3", "Ligne Fin de Transfert", "3", {"1", "3", "3"}, {1, 2, 3}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ExportWindowTest, TextThatIsNotANumberLeavesTheRowsAsTheyAre) {
    addAnnexIIOf12();
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    choose(w, QStringLiteral("Annexe II"));
    for (QLineEdit *box : {w->firstRowBox(), w->lastRowBox(), w->rowsBox()}) {
        const QString before = box->text();
        for (const QString &typed : {QStringLiteral("x"), QStringLiteral("-3"), QStringLiteral(" ")}) {
            typeInto(box, typed);
            EXPECT_EQ(w->exporter().firstRow(), 1);
            EXPECT_EQ(w->exporter().lastRow(), 12);
            EXPECT_EQ(w->exporter().rows(), 12);
        }
        QTest::keyClick(box, Qt::Key_Return); // the typing ends: the box shows the setting again
        EXPECT_EQ(box->text(), before);
    }
}

TEST_F(ExportWindowTest, AFailedExportSaysErrorAndGivesTheWindowBack) {
    addAnnexIIOf12();
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    choose(w, QStringLiteral("Annexe II"));
    saveTo(w, folder.filePath(QStringLiteral("absent/Export.xlsx")));
    const QStringList messages = click(w->button(QStringLiteral("Export vers Excel")));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error...\n"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("n'existe pas"))) << messages[0].toStdString();
    EXPECT_TRUE(w->isEnabled());
    EXPECT_TRUE(w->grid()->isVisible());
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("absent"))));
}

TEST_F(ExportWindowTest, ShowingTheWindowMakesTheMarkedCompanyActive) {
    auto addCompany = [this](const QString &identifier, const QString &name, int exercice, const char *mark) {
        exec(QStringLiteral(
                 "insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, RAISON_SOCIALE, "
                 "ACTIVITE, VILLE, RUE, EXERCICE, ACTIVEON) values ('%1', 'B', 'M', '000', '%2', "
                 "'SERVICES', 'SFAX', 'RUE DE SFAX', %3, '%4')")
                 .arg(identifier, name)
                 .arg(exercice)
                 .arg(QLatin1String(mark)));
    };
    addCompany(QStringLiteral("1111111"), QStringLiteral("NON MARQUEE"), 2017, "N");
    const ActiveCompany before = dm.activeCompany;
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(dm.activeCompany.code, before.code); // no company marked: it stays
    EXPECT_EQ(dm.activeCompany.exercice, before.exercice);

    addCompany(QStringLiteral("7654321"), QStringLiteral("MARQUEE"), 2019, "O");
    addAnnexII(1, kOtherCompany, QStringLiteral("2019"));
    addAnnexII(2, kOtherCompany, QStringLiteral("2019"));
    addAnnexII(1, kOtherCompany, QStringLiteral("2018"));
    choose(w, QStringLiteral("Annexe II"));
    EXPECT_EQ(rowBoxes(w), (QStringList{"1", "1", "1"})); // the active company has none
    QMdiSubWindow *child = frame->mdiArea()->activeSubWindow();
    child->hide();
    child->show();
    // The table chosen is read again for the marked company.
    EXPECT_EQ(rowBoxes(w), (QStringList{"1", "2", "2"}));
    EXPECT_EQ(w->tableGrid()->model()->rowCount(), 2);
    EXPECT_EQ(dm.activeCompany.code, kOtherCompany);
    EXPECT_EQ(dm.activeCompany.exercice, QStringLiteral("2019"));
    EXPECT_EQ(dm.activeCompany.name, QStringLiteral("MARQUEE"));
    EXPECT_TRUE(frame->activeCompanyDisplay()->text().contains(kOtherCompany));
    choose(w, QStringLiteral("Annexe II"));
    EXPECT_EQ(rowBoxes(w), (QStringList{"1", "2", "2"}));
}

TEST_F(ExportWindowTest, FileButtonsChooseTheFilesOfTheExport) {
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    for (const char *name : {"colonnes.ini", "titres.Txt"})
        testfiles::writeBytes(folder.filePath(QString::fromLatin1(name)), "NUMEROORDRE\n");
    const QString app = QCoreApplication::applicationDirPath();
    const struct {
        const char *button;
        const char *file;
        QStringList dialog; // title, filters, folder, default suffix
        QLineEdit *box;
        QString *setting;
        const char *chosen;
    } cases[] = {
        {"Fichier de Sauvegarde",
         "Sortie",
         {"Save as MsExcel files", "MsExcel Files (*.xls)", app, "xls"},
         w->saveFileBox(),
         &w->exporter().saveFile,
         "Sortie.xls"},
        {"Fichier INI",
         "colonnes.ini",
         {"Select INI File...", "INI Files (*.ini)", app, ""},
         w->columnFileBox(),
         &w->exporter().columnFile,
         "colonnes.ini"},
        {"Changer Nom de Fichier",
         "titres.Txt",
         {"Select TXT File...", "TXT Files (*.Txt)", app, ""},
         w->titlesFileBox(),
         &w->exporter().titlesFile,
         "titres.Txt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        QAbstractButton *button = w->button(QString::fromUtf8(c.button));
        ASSERT_NE(button, nullptr);
        QStringList dialogs;
        EXPECT_TRUE(click(button, folder.filePath(QString::fromLatin1(c.file)), &dialogs).isEmpty());
        EXPECT_EQ(dialogs, c.dialog);
        const QString chosen = folder.filePath(QString::fromLatin1(c.chosen));
        EXPECT_EQ(c.box->text(), chosen);
        EXPECT_EQ(*c.setting, chosen);
    }
}

// A dBase III table of two fields and three records, the second deleted.
QByteArray dbfTable() {
    QByteArray out("\x03\x76\x0C\x1F", 4);
    out.append("\x03\0\0\0", 4); // records
    out.append("\x61\0", 2);     // header: 32 + 2 * 32 + 1
    out.append("\x12\0", 2);     // record: 1 + 10 + 7
    out.append(QByteArray(20, '\0'));
    for (const auto &[name, type, length] : {std::tuple{"NOM", 'C', 10}, std::tuple{"MONTANT", 'N', 7}}) {
        QByteArray field(32, '\0');
        field.replace(0, static_cast<qsizetype>(qstrlen(name)), name);
        field[11] = type;
        field[16] = static_cast<char>(length);
        field[17] = type == 'N' ? 2 : 0;
        out.append(field);
    }
    out.append('\x0D');
    for (const auto &[flag, name, amount] :
         {std::tuple{' ',
                     "H\xe9"
                     "di",
                     "12.50"},
          std::tuple{'*', "EFFACE", "1.00"}, std::tuple{' ', "AMEL", "-3.25"}})
        out.append(flag)
            .append(QByteArray(name).leftJustified(10))
            .append(QByteArray(amount).rightJustified(7));
    out.append('\x1A');
    return out;
}

TEST_F(ExportWindowTest, ADbaseTableIsExportedAndAParadoxTableRefused) {
    TFrmexportexcell *w = openWindow();
    ASSERT_NE(w, nullptr);
    const QString dbf = folder.filePath(QStringLiteral("TABLE.DBF"));
    testfiles::writeBytes(dbf, dbfTable());
    QStringList dialogs;
    EXPECT_TRUE(click(w->button(QStringLiteral("Ouvrir une table")), dbf, &dialogs).isEmpty());
    ASSERT_GE(dialogs.size(), 2);
    EXPECT_EQ(dialogs[1], QStringLiteral("Paradox and DBase Tables (*.DBF *.DB)"));
    const std::shared_ptr<ExportSource> table = w->exporter().exportSource();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(w->exporter().source(), nullptr);
    EXPECT_EQ(w->tableList()->currentItem(), nullptr);
    EXPECT_TRUE(w->fileGrid()->isVisible());
    ASSERT_EQ(w->fileGrid()->model()->rowCount(), 2);
    EXPECT_EQ(w->fileGrid()->model()->index(1, 1).data().toString(), QStringLiteral("-3.25"));

    saveTo(w, folder.filePath(QStringLiteral("table.xlsx")));
    EXPECT_TRUE(click(w->button(QStringLiteral("Export vers Excel"))).isEmpty());
    const std::vector<SheetRow> sheet = XlsxReader(folder.filePath(QStringLiteral("table.xlsx"))).readAll(0);
    const std::vector<QVariantList> expected = {{QStringLiteral("NOM"), QStringLiteral("MONTANT")},
                                                {QStringLiteral("Hédi"), 12.5},
                                                {QStringLiteral("AMEL"), -3.25}};
    ASSERT_EQ(sheet.size(), expected.size());
    for (std::size_t r = 0; r < sheet.size(); ++r)
        for (int f = 0; f < 2; ++f)
            expectCell(sheet[r].cells.value(f), expected[r][f]);

    // A Paradox table is refused; the dBase table stays the one exported.
    const QString paradox = folder.filePath(QStringLiteral("TABLE.DB"));
    testfiles::writeBytes(paradox, QByteArray(2048, '\x01'));
    EXPECT_EQ(
        click(w->button(QStringLiteral("Ouvrir une table")), paradox),
        QStringList{QStringLiteral("Fichier « TABLE.DB » : les tables Paradox (.DB) ne peuvent pas être "
                                   "lues : enregistrez la table au format dBase (.DBF).")});
    EXPECT_EQ(w->exporter().exportSource(), table);

    QTest::mouseClick(w->button(QStringLiteral("Fermer la table")), Qt::LeftButton);
    EXPECT_EQ(w->exporter().exportSource(), nullptr);
    EXPECT_EQ(w->fileGrid()->model()->rowCount(), 0);
}

} // namespace
