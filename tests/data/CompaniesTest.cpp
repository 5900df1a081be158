#include "reference/Companies.h"
#include "tests/support/DataModuleFixture.h"

namespace {

class CompaniesTest : public DataModuleFixture {
protected:
    void addCompany(const char *identifiant, const char *name, int exercice, const char *activeOn) {
        exec(QStringLiteral(
                 "insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, RAISON_SOCIALE, "
                 "EXERCICE, ACTIVEON) values ('%1', 'A', 'M', '000', '%2', %3, '%4')")
                 .arg(QLatin1String(identifiant), QLatin1String(name))
                 .arg(exercice)
                 .arg(QLatin1String(activeOn)));
    }
};

TEST_F(CompaniesTest, MarkedCompanyIsTheLastRowMarked) {
    EXPECT_FALSE(findMarkedCompany(dm.Isociete));
    addCompany("1111111", "A", 2018, "O");
    addCompany("2222222", "B", 2018, "N");
    addCompany("3333333", "C", 2018, "O");
    addCompany("4444444", "D", 2018, "N");
    ASSERT_TRUE(findMarkedCompany(dm.Isociete));
    EXPECT_EQ(declarantCode(dm.Isociete), QStringLiteral("3333333AM000"));
}

TEST_F(CompaniesTest, CompanyRowLookupTakesTheLastMatch) {
    addCompany("1111111", "MEME NOM", 2018, "N");
    addCompany("2222222", "MEME NOM", 2018, "N");
    addCompany("3333333", "MEME NOM", 2019, "N");
    dm.activeCompany.name = QStringLiteral("MEME NOM");
    dm.activeCompany.exercice = QStringLiteral("2018");
    ASSERT_TRUE(findActiveCompanyRow(dm));
    EXPECT_EQ(declarantCode(dm.Isociete), QStringLiteral("2222222AM000"));
    dm.activeCompany.exercice = QStringLiteral("2020");
    EXPECT_FALSE(findActiveCompanyRow(dm));
}

} // namespace
