#include "tests/app/MainWindowFixture.h"

#include "data/ActiveCompany.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolBar>
#include <set>

namespace {

// A command as the user sees it, and the window class it opens: null for an entry without action, empty for
// a command with a behaviour of its own.
struct Entry {
    const char *caption;
    const char *window;
};
constexpr const char *kNoAction = nullptr;
constexpr const char *kOwn = "";
constexpr const char *kSeparator = "-";

using Place = std::pair<QString, std::vector<Entry>>;

const std::vector<Place> kRibbon = {
    {"Annexes",
     {{"1", "TFrmAnnexeI"},
      {"2", "TFrmAnnexeII"},
      {"3", "TFrmAnnexeIII"},
      {"4", "TFrmannexeIV"},
      {"5", "TFrmAnnexeV"},
      {"6", "TFrmAnnexevI"},
      {"7", "TFrmAnnexeVII"},
      {"Tableau Récapitulatif", "TFrmTableaurecap"},
      {"Génération Fichiers", "TFrmgenerationdeclaration"}}},
    {"Retenues Quotidiènnes",
     {{"Retenues Frs et Autres", "TFrmsaisie"},
      {"Retenues Impôt Sur Salaires", "TFrmretenuespersonnel"},
      {"Ristournes Commerciales", "Tfrmristourne"},
      {"Retenues effectuées par les Clients", "TFrmsaisieclient"}}},
    {"Traitements et Outils",
     {{"Export Excell", "TFrmexportexcell"},
      {"Créations Annexes à partir des Retenues Quotidiènnes", "TFrmcreationannexes"},
      {"Importation Paie du Personnel", "TFrmimportationpaie"},
      {"Importation Annexe à partir d'autres origines", "TfmImpDlgIBX"},
      {"Création de l'annexe I à partir des retenues sur salaires", kNoAction},
      {"Exécuter Script", kOwn}}},
    {"Paramètres",
     {{"Sociétés", "Tfrmsocietes"},
      {"Types Retenues", "TFrmtyperetenue"},
      {"Tiers", "TFrmtiersgrille"},
      {"Personnel", "TFrmpersonnel"},
      {"Initialisation", "TFrminitialisation"}}},
    {"Génération Fichier",
     {{"Génération Fichier", "TFrmgenerationdeclaration"}, {"Tableau Récapitulatif", "TFrmTableaurecap"}}},
};

const std::vector<Place> kMenus = {
    {"Parametres",
     {{"Initialisation", "TFrminitialisation"},
      {"Sociétés", "Tfrmsocietes"},
      {"Types de Retenues", "TFrmtyperetenue"}}},
    {"Saisie",
     {{"Tableau Récapitulatif", "TFrmTableaurecap"},
      {"Annexe I", "TFrmAnnexeI"},
      {"Annexe II", "TFrmAnnexeII"},
      {"Annexe III", "TFrmAnnexeIII"},
      {"Annexe IV", "TFrmannexeIV"},
      {"Annexe V", "TFrmAnnexeV"},
      {"Annexe VI", "TFrmAnnexevI"},
      {kSeparator, kNoAction},
      {"Saisie Retenues Fournisseurs et Autres", "TFrmsaisie"},
      {"Saisie des Retenues sur Salaires", "TFrmretenuespersonnel"},
      {"Saisie des Ristournes Commerciales", "Tfrmristourne"},
      {"Saisie des Retenues Opérées par Les Clients", "TFrmsaisieclient"},
      {kSeparator, kNoAction},
      {"Identification des Tiers", "TFrmtiersgrille"},
      {"Identification du Personnel", "TFrmpersonnel"},
      {kSeparator, kNoAction},
      {"Création de l'annexe I à partir des retenues sur salaires", kNoAction},
      {"Création des Annexes à partir des Retenues Quotidiennes", "TFrmcreationannexes"},
      {"Importation Annexe I à partir de la paie du personnel", "TFrmimportationpaie"},
      {"Importation Annexe à partir d'autres origines", "TfmImpDlgIBX"}}},
    {"Déclaration",
     {{"Génération des Fichiers  de la Déclaration", "TFrmgenerationdeclaration"},
      {"Vérification des Fichiers", kNoAction},
      {"Talvane", kNoAction}}},
    {"Sortie", {{"Quitter Application", kNoAction}}},
};

// The quick-access bar by hint (or caption), then "Quitter".
const std::vector<Entry> kQuickBar = {
    {"Aller vers Ecran Précédant", kOwn},
    {"Aller vers Ecran Suivant", kOwn},
    {"Ouvrir Exercice", "Tfrmsocietes"},
    {"Calculatrice", kOwn},
    {"Quitter", kOwn},
};

bool isSeparator(const Entry &e) {
    return QString::fromUtf8(e.caption) == QLatin1String(kSeparator);
}

QString menuText(const QAction *a) {
    return a->isSeparator() ? QString::fromLatin1(kSeparator) : a->text();
}

// The window a registered factory made: its object name is its class name.
QString windowClass(const QMdiSubWindow *child) {
    return child->widget()->objectName();
}

} // namespace

class MainWindowTest : public MainWindowFixture {
protected:
    void registerWindow(const QString &className) {
        registry.add(className, [className](TFrmmain &) {
            auto *w = new QWidget;
            w->setObjectName(className);
            return w;
        });
    }
    void registerEveryWindow() {
        for (const auto *places : {&kRibbon, &kMenus})
            for (const Place &p : *places)
                for (const Entry &e : p.second)
                    if (e.window && *e.window)
                        registerWindow(QString::fromUtf8(e.window));
    }
    QList<QMdiSubWindow *> children() const { return frame->mdiArea()->subWindowList(); }
};

TEST_F(MainWindowTest, CaptionRibbonMenusAndQuickBar) {
    showFrame();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Talvane 2018"));

    QTabWidget *ribbon = frame->ribbon();
    ASSERT_EQ(ribbon->count(), int(kRibbon.size()));
    EXPECT_EQ(ribbon->currentIndex(), 0);
    for (int i = 0; i < ribbon->count(); ++i) {
        EXPECT_EQ(ribbon->tabText(i), kRibbon[i].first);
        QStringList expected, shown;
        for (const Entry &e : kRibbon[i].second)
            expected << QString::fromUtf8(e.caption);
        for (const QToolButton *b : ribbon->widget(i)->findChildren<QToolButton *>())
            shown << b->text();
        EXPECT_EQ(shown, expected) << kRibbon[i].first.toStdString();
    }

    const QList<QAction *> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), int(kMenus.size()));
    for (int i = 0; i < menus.size(); ++i) {
        EXPECT_EQ(menus[i]->text(), kMenus[i].first);
        QStringList expected, shown;
        for (const Entry &e : kMenus[i].second)
            expected << QString::fromUtf8(e.caption);
        for (const QAction *a : menus[i]->menu()->actions())
            shown << menuText(a);
        EXPECT_EQ(shown, expected) << kMenus[i].first.toStdString();
    }

    for (const Entry &e : kQuickBar)
        EXPECT_NE(frame->findButton(CommandPlace::QuickBar, {}, QString::fromUtf8(e.caption)), nullptr)
            << e.caption;
    EXPECT_EQ(frame->findButton(CommandPlace::QuickBar, {}, QStringLiteral("Ouvrir Exercice"))->text(),
              QStringLiteral("Sociétés"));
    EXPECT_EQ(frame->findButton(CommandPlace::QuickBar, {}, QStringLiteral("Calculatrice"))->text(),
              QStringLiteral("Fermer"));
}

// Nothing is registered: only the commands with a behaviour of their own can be used.
TEST_F(MainWindowTest, CommandsWithoutTheirWindowAreDisabled) {
    showFrame();
    std::set<QString> enabled;
    for (QToolButton *b : frame->ribbon()->findChildren<QToolButton *>())
        if (b->defaultAction() && b->isEnabled())
            enabled.insert(QStringLiteral("ribbon ") + b->text());
    for (const QAction *m : frame->menuBar()->actions())
        for (const QAction *a : m->menu()->actions())
            if (!a->isSeparator() && a->isEnabled())
                enabled.insert(QStringLiteral("menu ") + a->text());
    for (QAction *a : frame->quickBar()->actions())
        if (!a->isSeparator() && a->isEnabled() &&
            qobject_cast<QToolButton *>(frame->quickBar()->widgetForAction(a)))
            enabled.insert(QStringLiteral("bar ") + a->text());
    const std::set<QString> expected{"ribbon Exécuter Script", "bar Aller vers Ecran Précédant",
                                     "bar Aller vers Ecran Suivant", "bar Fermer", "bar Quitter"};
    EXPECT_EQ(enabled, expected);
    EXPECT_TRUE(frame->disabledCommands().contains(QStringLiteral("Annexes > 1")));
    EXPECT_TRUE(frame->disabledCommands().contains(QStringLiteral("Accès rapide > Sociétés")));
    EXPECT_FALSE(
        frame->disabledCommands().contains(QStringLiteral("Traitements et Outils > Exécuter Script")));
}

// Every window registered: each command opens its own window, the entries without action stay disabled.
TEST_F(MainWindowTest, EachCommandOpensItsWindow) {
    registerEveryWindow();
    showFrame();
    auto check = [&](const Entry &e, const std::function<void()> &click, const std::string &where) {
        const int before = int(children().size());
        click();
        if (e.window && *e.window) {
            ASSERT_EQ(int(children().size()), before + 1) << where;
            EXPECT_EQ(windowClass(children().last()), QString::fromUtf8(e.window)) << where;
            EXPECT_EQ(frame->mdiArea()->activeSubWindow(), children().last()) << where;
        } else {
            EXPECT_EQ(int(children().size()), before) << where;
        }
    };
    for (const Place &p : kRibbon)
        for (const Entry &e : p.second) {
            const QString caption = QString::fromUtf8(e.caption);
            if (e.window && !*e.window)
                continue; // "Exécuter Script", seen with the script panel
            EXPECT_EQ(frame->findButton(CommandPlace::Ribbon, p.first, caption)->isEnabled(),
                      e.window != kNoAction);
            check(
                e, [&] { clickRibbon(p.first, caption); }, e.caption);
        }
    for (const Place &p : kMenus)
        for (const Entry &e : p.second) {
            if (isSeparator(e))
                continue;
            const QString caption = QString::fromUtf8(e.caption);
            EXPECT_EQ(frame->findCommand(CommandPlace::Menu, p.first, caption)->isEnabled(),
                      e.window != kNoAction);
            check(
                e, [&] { clickMenu(p.first, caption); }, e.caption);
        }
    check(
        kQuickBar[2], [&] { clickQuickBar(QStringLiteral("Ouvrir Exercice")); }, "Ouvrir Exercice");
    EXPECT_EQ(frame->disabledCommands().size(), 5)
        << frame->disabledCommands().join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowTest, EveryClickMakesANewWindowThatFreesItselfAndPreviousNextMoveAmongThem) {
    registerWindow(QStringLiteral("TFrmAnnexeI"));
    showFrame();
    const QString previous = QStringLiteral("Aller vers Ecran Précédant");
    const QString next = QStringLiteral("Aller vers Ecran Suivant");

    // With no child window the two buttons do nothing.
    clickQuickBar(previous);
    clickQuickBar(next);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), nullptr);

    clickRibbon(QStringLiteral("Annexes"), QStringLiteral("1"));
    clickRibbon(QStringLiteral("Annexes"), QStringLiteral("1"));
    ASSERT_EQ(children().size(), 2);
    QPointer<QMdiSubWindow> first = children()[0];
    QPointer<QMdiSubWindow> second = children()[1];
    EXPECT_NE(first->widget(), second->widget());
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), second);

    clickQuickBar(next);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), first);
    clickQuickBar(next);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), second);
    clickQuickBar(previous);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), first);

    QPointer<QWidget> content = first->widget();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(content.isNull());
    ASSERT_EQ(children().size(), 1);
    clickQuickBar(previous);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), second);
}

TEST_F(MainWindowTest, ActiveCompanyDisplay) {
    showFrame();
    QLabel *display = frame->activeCompanyDisplay();
    EXPECT_EQ(display->text(), QStringLiteral("Societeactive"));

    frame->setActiveCompany({QStringLiteral("1234567AM000"), QStringLiteral("2018"),
                             QStringLiteral("  SOCIETE X   "), QStringLiteral("RUE 1 TUNIS"),
                             QStringLiteral("COMMERCE")});
    EXPECT_EQ(display->text(), QStringLiteral("SOCIETE X   1234567AM000  Exercice2018"));
    EXPECT_EQ(dm.activeCompany.name, QStringLiteral("  SOCIETE X   "));
    EXPECT_EQ(dm.activeCompany.address, QStringLiteral("RUE 1 TUNIS"));

    // Another window changes the code and year the data module holds; the display waits for a refresh.
    dm.activeCompany.code = QStringLiteral("7654321BN001");
    dm.activeCompany.exercice = QStringLiteral("2019");
    EXPECT_EQ(display->text(), QStringLiteral("SOCIETE X   1234567AM000  Exercice2018"));
    frame->refreshActiveCompanyDisplay();
    EXPECT_EQ(display->text(), QStringLiteral("SOCIETE X   7654321BN001  Exercice2019"));
}

// The calculator is "../Calc.exe" beside the working folder; whether it starts or not, nothing is said.
TEST_F(MainWindowTest, CalculatorStartsFromTheParentOfTheWorkingFolder) {
    showFrame();
    for (const bool present : {false, true}) {
        QTemporaryDir root;
        QDir(root.path()).mkdir(QStringLiteral("work"));
        const QString work = root.path() + QStringLiteral("/work");
        if (present) {
            QFile calc(root.path() + QStringLiteral("/Calc.exe"));
            ASSERT_TRUE(calc.open(QIODevice::WriteOnly));
            calc.write("#!/bin/sh\ntouch \"$PWD/calc-started\"\n");
            calc.close();
            calc.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        const QString previous = QDir::currentPath();
        QDir::setCurrent(work);
        const QStringList boxes = acceptMessageBoxes([&] { clickQuickBar(QStringLiteral("Calculatrice")); });
        QDir::setCurrent(previous);
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
        if (present) {
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return QFile::exists(work + QStringLiteral("/calc-started")); }));
        }
    }
}
