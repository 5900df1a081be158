// Search as you type over 100,000 third parties, in the third parties browse window on the offscreen
// platform: the time from a keystroke in the search box to the grid painted with its first rows, for a
// first letter, a three-letter prefix and the box cleared. Prints median and maximum of each, where the
// time went, and the peak memory. "--index" adds an index on TIERS (NOMBENEFICIAIRE) to the temporary
// database, to compare.
#include "bench/BenchMemory.h"
#include "data/FbConnection.h"
#include "data/FbStatement.h"
#include "data/TDatadeclaration.h"
#include "reference/windows/ReferenceWindows.h"
#include "tests/support/TestDatabase.h"
#include "ui/DatasetGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <random>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kRounds = 7;
// One prefix a round, each with another first letter, so that no round finds the rows of the one before.
constexpr const char *kPrefixes[kRounds] = {"MAR", "BAL", "SAL", "KAR", "HAB", "TAL", "ABD"};

double ms(qint64 nsecs) {
    return static_cast<double>(nsecs) / 1e6;
}

// Third parties as the program meets them: people and companies with upper-case names made of syllables,
// the first syllable choosing among seventeen first letters.
class TiersMaker {
public:
    struct Tiers {
        QString typeIdentifiant, physiqueMorale, identifiant, nom, activite, adresse;
    };

    Tiers make(int code) {
        Tiers t;
        QString family = pick(kFirst) + pick(kMiddle);
        if (m_rng() % 3 == 0)
            family += pick(kMiddle);
        family += pick(kLast);
        const bool company = m_rng() % 5 == 0;
        if (company) {
            t.nom = family + pick(kCompanySuffix);
            t.physiqueMorale = QStringLiteral("2");
        } else {
            t.nom = family + QLatin1Char(' ') + pick(kGiven);
            t.physiqueMorale = QStringLiteral("1");
        }
        t.nom.truncate(40);
        if (company || m_rng() % 4 == 0) {
            // Matricule fiscal: seven digits, a key letter, the VAT code, the category and the branch.
            t.typeIdentifiant = QStringLiteral("1");
            t.identifiant = QStringLiteral("%1%2%3M000")
                                .arg(1000000 + code * 7 % 9000000, 7, 10, QLatin1Char('0'))
                                .arg(QLatin1Char("ABCDEFGHJKLMNPQRSTVWXYZ"[m_rng() % 23]))
                                .arg(QLatin1Char(company ? 'A' : 'P'));
        } else {
            t.typeIdentifiant = QStringLiteral("2");
            t.identifiant = QStringLiteral("%1").arg(code * 37 % 100000000, 8, 10, QLatin1Char('0'));
        }
        t.activite = pick(kActivities);
        t.adresse = QStringLiteral("%1 %2 %3").arg(1 + m_rng() % 250).arg(pick(kStreets), pick(kCities));
        return t;
    }

private:
    template <std::size_t N> QString pick(const char *const (&list)[N]) {
        return QLatin1String(list[m_rng() % N]);
    }

    static constexpr const char *kFirst[] = {
        "AB", "AL", "AM", "AY",  "BA", "BE", "BOU", "CHA", "CHE", "DA", "DH", "DRI", "FA", "FE",
        "FR", "GA", "GH", "GUE", "HA", "HE", "HO",  "JA",  "JE",  "JO", "KA", "KH",  "KO", "LA",
        "LE", "LO", "MA", "ME",  "MO", "MU", "NA",  "NE",  "NO",  "OU", "OM", "RA",  "RE", "RI",
        "SA", "SE", "SO", "SL",  "TA", "TE", "TR",  "TOU", "ZA",  "ZE", "ZI"};
    static constexpr const char *kMiddle[] = {"RA", "RI", "LA",  "LI",  "MA",  "MI",  "NA",  "NI", "BA",
                                              "BI", "DA", "DI",  "SA",  "SI",  "TA",  "HA",  "JA", "ZA",
                                              "KA", "FA", "ROU", "LOU", "MOU", "GHA", "CHA", "OU", "A"};
    static constexpr const char *kLast[] = {"",   "I",  "A",   "OUI", "ANI", "ARI",  "EL",
                                            "EM", "ET", "OUD", "AN",  "ECH", "AOUI", "ES"};
    static constexpr const char *kGiven[] = {
        "MOHAMED", "AHMED", "ALI",   "SAMI", "KARIM", "NABIL", "HEDI",   "SLIM",  "MOUNIR",  "RIDHA",
        "FATMA",   "LEILA", "SONIA", "AMEL", "SALMA", "NADIA", "HOUDA",  "IMED",  "WALID",   "HATEM",
        "FETHI",   "LOTFI", "ZIED",  "OLFA", "RYM",   "INES",  "MONCEF", "TAREK", "YASSINE", "SANA"};
    static constexpr const char *kCompanySuffix[] = {" SARL",    " SA",           " SUARL",   " ET FILS",
                                                     " TRADING", " DISTRIBUTION", " SERVICES"};
    static constexpr const char *kActivities[] = {"COMMERCE DE GROS",
                                                  "COMMERCE DE DETAIL",
                                                  "TRANSPORT DE MARCHANDISES",
                                                  "BATIMENT ET TRAVAUX PUBLICS",
                                                  "CONSEIL ET ETUDES",
                                                  "SERVICES INFORMATIQUES",
                                                  "INDUSTRIE TEXTILE",
                                                  "AGRICULTURE",
                                                  "PROFESSION LIBERALE",
                                                  "LOCATION D'IMMEUBLES",
                                                  "RESTAURATION",
                                                  "TOURISME"};
    static constexpr const char *kStreets[] = {
        "RUE DE LA REPUBLIQUE", "AVENUE HABIB BOURGUIBA", "RUE DE MARSEILLE", "AVENUE DE LA LIBERTE",
        "RUE IBN KHALDOUN",     "AVENUE MOHAMED V",       "RUE DE ROME",      "ROUTE DE GABES KM 4",
        "RUE EL JAZIRA",        "AVENUE FARHAT HACHED"};
    static constexpr const char *kCities[] = {"TUNIS",   "SFAX",      "SOUSSE",   "NABEUL",
                                              "BIZERTE", "GABES",     "KAIROUAN", "MONASTIR",
                                              "ARIANA",  "BEN AROUS", "GAFSA"};

    std::mt19937 m_rng{2018};
};

void fill(TDatadeclaration &dm, bool withIndex) {
    FbStatement insert(dm.IBTransaction1);
    insert.prepare(QStringLiteral("insert into TIERS (CODE, TYPEIDENTIFIANT, PHYSIQUEMORALE, IDENTIFIANT, "
                                  "NOMBENEFICIAIRE, ACTIVITE, ADRESSE) values (?,?,?,?,?,?,?)"));
    TiersMaker maker;
    for (int code = 1; code <= kRows; ++code) {
        const TiersMaker::Tiers t = maker.make(code);
        insert.setParameter(0, code);
        insert.setParameter(1, t.typeIdentifiant);
        insert.setParameter(2, t.physiqueMorale);
        insert.setParameter(3, t.identifiant);
        insert.setParameter(4, t.nom);
        insert.setParameter(5, t.activite);
        insert.setParameter(6, t.adresse);
        insert.execute();
    }
    dm.commit();
    if (withIndex) {
        FbStatement index(dm.IBTransaction1);
        index.prepare(QStringLiteral("create index TIERS_NOMBENEFICIAIRE on TIERS (NOMBENEFICIAIRE)"));
        index.execute();
        dm.commit();
    }
}

// When the dataset's signals came during one search, beside its start. The probe connects after the grid
// and its model, so each of its times falls after their work for the same signal.
class SearchProbe {
public:
    SearchProbe(Dataset &dataset, QWidget *viewport) : m_paints(this) {
        QObject::connect(&dataset, &Dataset::reset, &m_context, [this, &dataset] {
            (dataset.isOpen() ? m_opened : m_closed) = m_timer.nsecsElapsed();
        });
        QObject::connect(&dataset, &Dataset::stateChanged, &m_context, [this, &dataset] {
            if (dataset.isOpen())
                m_fetched = m_timer.nsecsElapsed();
        });
        QObject::connect(&dataset, &Dataset::currentChanged, &m_context,
                         [this] { m_followed = m_timer.nsecsElapsed(); });
        viewport->installEventFilter(&m_paints);
    }

    void start() {
        m_closed = m_fetched = m_opened = m_followed = m_firstPaint = -1;
        m_timer.start();
    }
    qint64 now() const { return m_timer.nsecsElapsed(); }
    qint64 closed() const { return m_closed; }
    qint64 fetched() const { return m_fetched; }
    qint64 followed() const { return std::max(m_opened, m_followed); }
    qint64 firstPaint() const { return m_firstPaint; }

private:
    class PaintFilter : public QObject {
    public:
        explicit PaintFilter(SearchProbe *probe) : m_probe(probe) {}
        bool eventFilter(QObject *watched, QEvent *event) override {
            if (event->type() == QEvent::Paint && m_probe->m_firstPaint < 0 && m_probe->m_timer.isValid())
                m_probe->m_firstPaint = m_probe->m_timer.nsecsElapsed();
            return QObject::eventFilter(watched, event);
        }

    private:
        SearchProbe *m_probe;
    };

    QObject m_context;
    PaintFilter m_paints;
    QElapsedTimer m_timer;
    qint64 m_closed = -1, m_fetched = -1, m_opened = -1, m_followed = -1, m_firstPaint = -1;
};

// The figures of one search: its total, and its phases in the order they run.
struct Search {
    double total = 0;
    double close = 0;    // key handling, closing the dataset, the grid emptied
    double database = 0; // new statement prepared, executed, every row fetched into the dataset
    double grid = 0;     // model reset, current row selected and scrolled to
    double keyRest = 0;  // the rest of the key click
    double events = 0;   // pending events: layout, update requests, painting
    double repaint = 0;  // the grid painted once more, alone
    double firstPaint = 0;
    int rows = 0;
};

class Series {
public:
    Series(const char *name, bool withTarget) : m_name(name), m_withTarget(withTarget) {}
    void add(const Search &s) { m_searches.push_back(s); }

    void printTotals() const {
        std::printf("%-30s median %7.1f ms   max %7.1f ms   rows found %d to %d%s\n", m_name,
                    median(&Search::total), maximum(&Search::total), minRows(), maxRows(),
                    m_withTarget ? "   (target < 100 ms)" : "");
    }

    void printPhases() const {
        std::printf("%-30s close %6.1f  database %6.1f  model+grid %6.1f  key rest %5.1f  events %6.1f  "
                    "repaint %6.1f  first paint at %6.1f\n",
                    m_name, median(&Search::close), median(&Search::database), median(&Search::grid),
                    median(&Search::keyRest), median(&Search::events), median(&Search::repaint),
                    median(&Search::firstPaint));
    }

    bool allFound(int atLeast) const { return minRows() >= atLeast; }

private:
    std::vector<double> values(double Search::*field) const {
        std::vector<double> v;
        for (const Search &s : m_searches)
            v.push_back(s.*field);
        std::sort(v.begin(), v.end());
        return v;
    }
    double median(double Search::*field) const {
        const std::vector<double> v = values(field);
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double maximum(double Search::*field) const {
        const std::vector<double> v = values(field);
        return v.empty() ? 0 : v.back();
    }
    int minRows() const {
        int n = kRows;
        for (const Search &s : m_searches)
            n = std::min(n, s.rows);
        return n;
    }
    int maxRows() const {
        int n = 0;
        for (const Search &s : m_searches)
            n = std::max(n, s.rows);
        return n;
    }

    const char *m_name;
    bool m_withTarget;
    std::vector<Search> m_searches;
};

// One keystroke in the search box, up to the grid painted with its first rows.
Search timedKey(TFrmtiersgrille &window, SearchProbe &probe, Qt::Key key, char text) {
    QLineEdit *box = window.searchBox();
    QWidget *viewport = window.grid()->viewport();
    probe.start();
    if (text)
        QTest::keyClick(box, text);
    else
        QTest::keyClick(box, key);
    const qint64 keyDone = probe.now();
    QCoreApplication::processEvents();
    const qint64 eventsDone = probe.now();
    viewport->repaint();
    const qint64 painted = probe.now();

    Search s;
    s.total = ms(painted);
    s.close = ms(probe.closed());
    s.database = ms(probe.fetched() - probe.closed());
    s.grid = ms(probe.followed() - probe.fetched());
    s.keyRest = ms(keyDone - probe.followed());
    s.events = ms(eventsDone - keyDone);
    s.repaint = ms(painted - eventsDone);
    s.firstPaint = ms(probe.firstPaint());
    s.rows = window.grid()->model()->rowCount();
    return s;
}

// The statement of a search by name alone, outside the window: prepare, then execute and fetch every row.
void printStatementSplit(TDatadeclaration &dm) {
    const auto statementOf = [](const QString &prefix) {
        QString sql = QStringLiteral("select * from TIERS");
        if (!prefix.isEmpty())
            sql += QStringLiteral(" Where NOMBENEFICIAIRE LIKE '%1%'").arg(prefix);
        return sql + QStringLiteral(" Order by NOMBENEFICIAIRE");
    };
    struct Case {
        const char *name;
        int length; // of the prefix; 0 for no condition
    };
    for (const Case &c : {Case{"first letter:", 1}, Case{"three letters:", 3}, Case{"every row:", 0}}) {
        std::vector<double> prepare, firstRow, fetch;
        int rows = 0;
        for (const char *prefix : kPrefixes) {
            FbStatement statement(dm.IBTransaction1);
            QElapsedTimer t;
            t.start();
            statement.prepare(statementOf(QString::fromLatin1(prefix, c.length)));
            prepare.push_back(ms(t.nsecsElapsed()));
            t.restart();
            statement.execute();
            std::vector<char> record(static_cast<std::size_t>(statement.layout().recordSize()));
            rows = 0;
            while (statement.fetch(record.data())) {
                if (rows++ == 0)
                    firstRow.push_back(ms(t.nsecsElapsed()));
            }
            fetch.push_back(ms(t.nsecsElapsed()));
            statement.closeCursor();
        }
        const auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v.empty() ? 0.0 : v[v.size() / 2];
        };
        std::printf("%-30s prepare %5.1f   execute to first row %6.1f   to last row %6.1f   (%d rows)\n",
                    c.name, median(prepare), median(firstRow), median(fetch), rows);
    }
}

} // namespace

int main(int argc, char **argv) {
    const bool withIndex = argc > 1 && qstrcmp(argv[argc - 1], "--index") == 0;
    if (argc >= 3 && qstrcmp(argv[1], "fill") == 0) {
        // Run as a separate process, so that the peak memory below is the window's alone.
        QCoreApplication app(argc, argv);
        TDatadeclaration dm;
        dm.connectDatabase(QString::fromLocal8Bit(argv[2]));
        fill(dm, withIndex);
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TestDatabase db;
    QElapsedTimer t;
    t.start();
    QStringList fillArguments = {QStringLiteral("fill"), db.path()};
    if (withIndex)
        fillArguments << QStringLiteral("--index");
    if (QProcess::execute(QCoreApplication::applicationFilePath(), fillArguments) != 0) {
        std::fprintf(stderr, "filling the database failed\n");
        return 1;
    }
    const double fillMs = ms(t.nsecsElapsed());

    const long rssBefore = currentRssMb();
    TDatadeclaration dm;
    dm.connectDatabase(db.path());

    t.restart();
    TFrmtiersgrille window(dm);
    window.resize(1000, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    window.grid()->viewport()->repaint();
    const double windowMs = ms(t.nsecsElapsed());
    const int windowRows = window.grid()->model()->rowCount();

    // A click on the title "Nom Tiers": the search goes by name.
    QHeaderView *header = window.grid()->horizontalHeader();
    const int nameColumn = window.grid()->datasetModel()->columnOf(QStringLiteral("Nom Tiers"));
    const QPoint title(header->sectionViewportPosition(nameColumn) + header->sectionSize(nameColumn) / 2,
                       header->height() / 2);
    t.restart();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    QCoreApplication::processEvents();
    window.grid()->viewport()->repaint();
    const double sortMs = ms(t.nsecsElapsed());
    if (window.searchLabel()->text() != QStringLiteral("Nom Tiers")) {
        std::fprintf(stderr, "the click on the title did not choose the search by name\n");
        return 1;
    }

    SearchProbe probe(window.dataset(), window.grid()->viewport());
    Series firstLetter("search, first letter:", true);
    Series threeLetters("search, three letters:", true);
    Series cleared("search box cleared:", false);
    window.searchBox()->setFocus();
    for (const char *prefix : kPrefixes) {
        firstLetter.add(timedKey(window, probe, Qt::Key_unknown, prefix[0]));
        QTest::keyClick(window.searchBox(), prefix[1]);
        QCoreApplication::processEvents();
        threeLetters.add(timedKey(window, probe, Qt::Key_unknown, prefix[2]));
        window.searchBox()->selectAll();
        cleared.add(timedKey(window, probe, Qt::Key_Backspace, 0));
    }
    const long rssAfter = currentRssMb();
    const long peak = peakRssMb();

    std::printf("%s TIERS rows%s; filled in %.0f ms\n", QByteArray::number(kRows).constData(),
                withIndex ? ", with an index on NOMBENEFICIAIRE" : "", fillMs);
    std::printf("window shown with %d rows by code: %.1f ms; click on \"Nom Tiers\": %.1f ms\n", windowRows,
                windowMs, sortMs);
    firstLetter.printTotals();
    threeLetters.printTotals();
    cleared.printTotals();
    std::printf("where the time went, medians in ms:\n");
    firstLetter.printPhases();
    threeLetters.printPhases();
    cleared.printPhases();
    std::printf("the statements alone, medians in ms:\n");
    printStatementSplit(dm);
    std::printf("memory: %ld MB resident before the window, %ld MB after the searches, peak %ld MB\n",
                rssBefore, rssAfter, peak);
    if (!firstLetter.allFound(1) || !threeLetters.allFound(1) || !cleared.allFound(kRows)) {
        std::fprintf(stderr, "a search showed fewer rows than expected\n");
        return 1;
    }
    return 0;
}
