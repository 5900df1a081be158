#include "declaration/RecordFormats.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using E = Encoding;
using S = Source;

Field constant(int first, const char *text) {
    return {first, static_cast<int>(std::strlen(text)), S::Constant, text, E::StoredText};
}
Field held(int first, int width, Source source) {
    return {first, width, source, "", source == S::RowCount ? E::Count : E::StoredText};
}
Field company(int first, int width, const char *column) {
    return {first, width, S::Company, column, E::StoredText};
}
Field stored(int first, int width, const char *column) {
    return {first, width, S::Column, column, E::StoredText};
}
Field trimmed(int first, int width, const char *column) {
    return {first, width, S::Column, column, E::TrimmedText};
}
Field count(int first, int width, const char *column) {
    return {first, width, S::Column, column, E::Count};
}
Field amount(int first, const char *column) {
    return {first, 15, S::Column, column, E::Amount};
}
Field rate(int first, const char *column) {
    return {first, 5, S::Column, column, E::Rate};
}
Field date(int first, const char *column) {
    return {first, 8, S::Column, column, E::Date};
}
Field sum(int first, const char *column) {
    return {first, 15, S::Sum, column, E::Amount};
}
Field blank(int first, int width) {
    return {first, width, S::Blank, "", E::Filler};
}

// Positions 1-18 of every annex record: record type, declarant code, fiscal year.
std::vector<Field> companyBlock(const char *type) {
    return {constant(1, type), held(3, 12, S::Declarant), held(15, 4, S::Exercice)};
}

// Positions 19-238 of the L records of Annexes II to VII.
std::vector<Field> beneficiaryBlock() {
    return {count(19, 6, "NUMEROORDRE"),
            stored(25, 1, "TYPEIDENTIFIANT"),
            stored(26, 13, "IDENTIFIANTBENEFICIAIRE"),
            stored(39, 40, "RAISONSOCIALE"),
            stored(79, 40, "ACTIVITE"),
            trimmed(119, 120, "ADRESSE")};
}

RecordFormat annexRecord(std::vector<Field> head, std::vector<Field> rest) {
    head.insert(head.end(), rest.begin(), rest.end());
    return {kAnnexRecordWidth, std::move(head)};
}

RecordFormat line(std::vector<Field> rest) {
    std::vector<Field> head = companyBlock("L#");
    const std::vector<Field> beneficiary = beneficiaryBlock();
    head.insert(head.end(), beneficiary.begin(), beneficiary.end());
    return annexRecord(std::move(head), std::move(rest));
}

RecordFormat totals(std::vector<Field> rest) {
    return annexRecord(companyBlock("T#"), std::move(rest));
}

RecordFormat header() {
    return annexRecord(companyBlock("E#"),
                       {constant(19, "An#"), held(22, 1, S::DeclarationType), held(23, 6, S::RowCount),
                        company(29, 40, "RAISON_SOCIALE"), company(69, 40, "ACTIVITE"),
                        company(109, 40, "VILLE"), company(149, 72, "RUE"), company(221, 4, "NUMERO"),
                        company(225, 4, "CODEPOSTAL"), blank(229, 177)});
}

std::array<AnnexFormat, 7> annexFormats() {
    return {{
        {1, header(),
         annexRecord(companyBlock("L#"), {count(19, 6, "NUMEROORDRE"),
                                          stored(25, 1, "TYPEIDENTIFIANT"),
                                          stored(26, 13, "IDENTIFIANTBENEFICIAIRE"),
                                          stored(39, 40, "NOMPRENOM"),
                                          trimmed(79, 40, "EMPLOIOCCUPE"),
                                          trimmed(119, 120, "ADRESSE"),
                                          stored(239, 1, "ETATCIVIL"),
                                          count(240, 2, "ENFANT"),
                                          date(242, "DATEDEBUT"),
                                          date(250, "DATEFIN"),
                                          count(258, 3, "NBJOURS"),
                                          amount(261, "REVENUIMPOSABLE"),
                                          amount(276, "AVANTAGENATURE"),
                                          amount(291, "TOTALREVENU"),
                                          amount(306, "REVENUREINVESTI"),
                                          amount(321, "RETENUEOPERES"),
                                          amount(336, "RETENUES20"),
                                          amount(351, "RETENUECONJONCTURELLE"),
                                          amount(366, "MONTANTNET"),
                                          blank(381, 25)}),
         totals({blank(19, 242), sum(261, "REVENUIMPOSABLE"), sum(276, "AVANTAGENATURE"),
                 sum(291, "TOTALREVENU"), sum(306, "REVENUREINVESTI"), sum(321, "RETENUEOPERES"),
                 sum(336, "RETENUES20"), sum(351, "RETENUECONJONCTURELLE"), sum(366, "MONTANTNET"),
                 blank(381, 25)})},
        {2, header(),
         line({stored(239, 1, "TYPEMONTANTSERVIS"), amount(240, "MONTANTBRUT"),
               amount(255, "HONORAIRESERVIS"), amount(270, "MONTANTPRIMESCONSEIL"),
               amount(285, "REMUNIRATIONS"), amount(300, "PLUSVALUE"), amount(315, "LOYERSHOTELS"),
               amount(330, "REMUNERATIONARTISTES"), amount(345, "HONORAIREBUREAU"),
               stored(360, 1, "TYPEMONTSERVISEXPORTATION"), amount(361, "MONTANTBRUTACTEXPORT"),
               amount(376, "RETENUESOPERES"), amount(391, "NETSERVIS")}),
         totals({blank(19, 221), sum(240, "MONTANTBRUT"), sum(255, "HONORAIRESERVIS"),
                 sum(270, "MONTANTPRIMESCONSEIL"), sum(285, "REMUNIRATIONS"), sum(300, "PLUSVALUE"),
                 sum(315, "LOYERSHOTELS"), sum(330, "REMUNERATIONARTISTES"), sum(345, "HONORAIREBUREAU"),
                 blank(360, 1), sum(361, "MONTANTBRUTACTEXPORT"), sum(376, "RETENUESOPERES"),
                 sum(391, "NETSERVIS")})},
        {3, header(),
         line({amount(239, "INTERETDESCOMPTES"), amount(254, "INTERETCAPITAUX"), amount(269, "INTERETPRETS"),
               amount(284, "MONTANTRETENUES"), amount(299, "NETSERVIS"), blank(314, 92)}),
         totals({blank(19, 220), sum(239, "INTERETDESCOMPTES"), sum(254, "INTERETCAPITAUX"),
                 sum(269, "INTERETPRETS"), sum(284, "MONTANTRETENUES"), sum(299, "NETSERVIS"),
                 blank(314, 92)})},
        {4, header(),
         line({stored(239, 1, "TYPEMONTANTSERVIS"), rate(240, "TAUXMONTANT"), amount(245, "MONTANTBRUTS"),
               rate(260, "TAUXREMUNIRATIONS"), amount(265, "REMUNIRATIONS"), rate(280, "TAUXPLUSVALUE"),
               amount(285, "PLUSVALUE"), rate(300, "TAUXVALEURMOBILIERE"),
               amount(305, "REVENUSVELEURMOBILIER"), rate(320, "TAUXPLUSVALUECESSION"),
               amount(325, "MONTANTPLUSVALUE"), amount(340, "RETENUS"), stored(355, 1, "TYPEMONTACTCOM"),
               amount(356, "MONTACTNONCOMM"), amount(371, "MONTANPARADIS"), amount(386, "NETSERVIS"),
               blank(401, 5)}),
         totals({blank(19, 221), constant(240, "00000"), sum(245, "MONTANTBRUTS"), constant(260, "00000"),
                 sum(265, "REMUNIRATIONS"), constant(280, "00000"), sum(285, "PLUSVALUE"),
                 constant(300, "00000"), sum(305, "REVENUSVELEURMOBILIER"), blank(320, 5),
                 sum(325, "MONTANTPLUSVALUE"), sum(340, "RETENUS"), blank(355, 1), sum(356, "MONTACTNONCOMM"),
                 sum(371, "MONTANPARADIS"), sum(386, "NETSERVIS"), blank(401, 5)})},
        {5, header(),
         line({amount(239, "EXPORT10"), amount(254, "RETENUEEXPORT10"), amount(269, "MARCHES"),
               amount(284, "RETENUESMARCHES"), amount(299, "ASSIETETVA"), amount(314, "RETENUESURTVA"),
               amount(329, "MARCHEETRANGER"), amount(344, "RETENUEMARCHEETRANGER"), amount(359, "NETSERVIS"),
               blank(374, 32)}),
         totals({blank(19, 220), sum(239, "EXPORT10"), sum(254, "RETENUEEXPORT10"), sum(269, "MARCHES"),
                 sum(284, "RETENUESMARCHES"), sum(299, "ASSIETETVA"), sum(314, "RETENUESURTVA"),
                 sum(329, "MARCHEETRANGER"), sum(344, "RETENUEMARCHEETRANGER"), sum(359, "NETSERVIS"),
                 blank(374, 32)})},
        {6, header(),
         line({amount(239, "MONTANTRISTOURNES"), amount(254, "MONTANTPPFORFAITAIRE"),
               amount(269, "AVANCEPPFORFAITAIRE"), amount(284, "MONTANTJEUX"), amount(299, "RETENUEJEUX"),
               amount(314, "MONTANTINF20000"), amount(329, "RETENUEINF20000"),
               amount(344, "MONTESPECEMARCHANDISE"), blank(359, 47)}),
         totals({blank(19, 220), sum(239, "MONTANTRISTOURNES"), sum(254, "MONTANTPPFORFAITAIRE"),
                 sum(269, "AVANCEPPFORFAITAIRE"), sum(284, "MONTANTJEUX"), sum(299, "RETENUEJEUX"),
                 sum(314, "MONTANTINF20000"), sum(329, "RETENUEINF20000"), sum(344, "MONTESPECEMARCHANDISE"),
                 blank(359, 47)})},
        {7, header(),
         line({{239, 2, S::Column, "TYPEMONTANT", E::WholeNumberText},
               amount(241, "MONTANTPAYES"),
               amount(256, "RETENUALASOURCE"),
               amount(271, "MONTANTNETSERVIS"),
               blank(286, 120)}),
         totals({blank(19, 222), sum(241, "MONTANTPAYES"), sum(256, "RETENUALASOURCE"),
                 sum(271, "MONTANTNETSERVIS"), blank(286, 120)})},
    }};
}

QString shortYear(const QString &exercice) {
    return exercice.mid(2, 2);
}

} // namespace

const RecordFormat &declarationHeaderFormat() {
    static const RecordFormat format{kDeclarationRecordWidth,
                                     {constant(1, "000"),
                                      held(4, 12, S::Declarant),
                                      held(16, 4, S::Exercice),
                                      {20, 1, S::Presence, "1", E::StoredText},
                                      {21, 1, S::Presence, "2", E::StoredText},
                                      {22, 1, S::Presence, "3", E::StoredText},
                                      {23, 1, S::Presence, "4", E::StoredText},
                                      {24, 1, S::Presence, "5", E::StoredText},
                                      {25, 1, S::Presence, "6", E::StoredText},
                                      {26, 1, S::Presence, "7", E::StoredText},
                                      blank(27, 12)}};
    return format;
}

const RecordFormat &recapRecordFormat() {
    static const RecordFormat format{
        kDeclarationRecordWidth,
        {stored(1, 3, "ZONE1"), stored(4, 15, "ZONE2"), stored(19, 5, "ZONE3"), stored(24, 15, "ZONE4")}};
    return format;
}

const AnnexFormat &annexFormat(int annex) {
    static const std::array<AnnexFormat, 7> formats = annexFormats();
    return formats[static_cast<std::size_t>(std::clamp(annex, 1, 7) - 1)];
}

QString declarationFileName(const QString &exercice) {
    return QStringLiteral("DECEMP_") + shortYear(exercice);
}

QString annexFileName(int annex, const QString &exercice) {
    return QStringLiteral("ANXEMP_%1_%2_1").arg(annex).arg(shortYear(exercice));
}
