-- Talvane database schema
--
-- Tables, stored procedures and withholding types of the TALVANE.gdb
-- database. The database file is created beforehand in SQL dialect 1
-- with WIN1252 as default character set, then this script is run
-- statement by statement. In dialect 1 the DATE type holds a date with
-- its time of day.
--
-- Writing rules of this file, relied upon by the creation tool
--   every statement ends with a semicolon, or with a caret inside the
--   SET TERM block of the stored procedures
--   comments stand on lines of their own
--   no semicolon, caret or apostrophe appears inside a comment, and no
--   semicolon inside a string literal
--
-- The program numbers its rows itself. There are no generators,
-- triggers, default values or foreign keys.


-- ===================================================================
-- Reference data
-- ===================================================================

-- Companies. One row per company, EXERCICE being its current fiscal
-- year as an integer. The declarant code used by the other tables is
-- IDENTIFIANT, CLE, CATEGORIE and ETABSECONDAIRE written one after
-- the other (12 characters).
CREATE TABLE SOCIETE (
  IDENTIFIANT VARCHAR(7) NOT NULL,
  CLE CHAR(1) NOT NULL,
  CATEGORIE CHAR(1) NOT NULL,
  ETABSECONDAIRE CHAR(3) NOT NULL,
  RAISON_SOCIALE VARCHAR(40),
  ACTIVITE VARCHAR(40),
  VILLE VARCHAR(40),
  RUE VARCHAR(72),
  NUMERO VARCHAR(4),
  CODEPOSTAL VARCHAR(4),
  LIENPAIE VARCHAR(150),
  EXERCICE INTEGER,
  ACTIVEON CHAR(1),
  CONSTRAINT PK_SOCIETE PRIMARY KEY (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE)
);

-- Withholding types. Type n is also the label of line n of the
-- recapitulative table, and the creation of annexes routes each type
-- number to an annex column. TAUX is a rate in percent.
CREATE TABLE TYPERETENUE (
  NUMEROTYPE INTEGER NOT NULL,
  TAUX DOUBLE PRECISION,
  DESIGNATION VARCHAR(250),
  CONSTRAINT PK_TYPERETENUE PRIMARY KEY (NUMEROTYPE)
);

-- Third parties (suppliers and other beneficiaries, clients)
CREATE TABLE TIERS (
  CODE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  PHYSIQUEMORALE CHAR(1),
  IDENTIFIANT VARCHAR(13),
  NOMBENEFICIAIRE VARCHAR(40),
  ACTIVITE VARCHAR(40),
  ADRESSE VARCHAR(120),
  CONSTRAINT PK_TIERS PRIMARY KEY (CODE)
);

-- Employees
CREATE TABLE PERSONNEL (
  MATRICULE VARCHAR(6) NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANT VARCHAR(13),
  NOMPRENOM VARCHAR(40),
  EMPLOIOCCUPE VARCHAR(40),
  ADRESSE VARCHAR(120),
  ETATCIVIL CHAR(1),
  ENFANT INTEGER,
  DATEDEBUT DATE,
  DATEFIN DATE,
  CONSTRAINT PK_PERSONNEL PRIMARY KEY (MATRICULE)
);


-- ===================================================================
-- Annexes of the employer declaration
-- Each annex row belongs to one declarant code and one fiscal year
-- (EXERCICE, four digits) and is numbered by NUMEROORDRE within them.
-- ===================================================================

-- Annex I: salaries, wages, pensions and life annuities, and the
-- social solidarity contribution
CREATE TABLE ANNEXEI (
  CODESOCIETE VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1) NOT NULL,
  IDENTIFIANTBENEFICIAIRE VARCHAR(13) NOT NULL,
  NOMPRENOM VARCHAR(40) NOT NULL,
  EMPLOIOCCUPE VARCHAR(40) NOT NULL,
  ADRESSE VARCHAR(120) NOT NULL,
  ETATCIVIL CHAR(1) NOT NULL,
  ENFANT INTEGER NOT NULL,
  DATEFIN DATE,
  DATEDEBUT DATE,
  REVENUIMPOSABLE DOUBLE PRECISION NOT NULL,
  AVANTAGENATURE DOUBLE PRECISION NOT NULL,
  TOTALREVENU DOUBLE PRECISION NOT NULL,
  REVENUREINVESTI DOUBLE PRECISION NOT NULL,
  RETENUEOPERES DOUBLE PRECISION NOT NULL,
  MONTANTNET DOUBLE PRECISION NOT NULL,
  NBJOURS NUMERIC(9,2) NOT NULL,
  RETENUES20 DOUBLE PRECISION,
  REDEVANCECOMPENSATION DOUBLE PRECISION,
  RETENUECONJONCTURELLE DOUBLE PRECISION,
  CONSTRAINT PK_ANNEXEI PRIMARY KEY (CODESOCIETE, EXERCICE, NUMEROORDRE)
);

-- Annex II: fees, commissions, brokerage, rents, occasional
-- remunerations, hotel rents, attendance fees, real-estate gains and
-- remunerations for performance paid to residents
CREATE TABLE ANNEXEII (
  IDENTIFIANT VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1) NOT NULL,
  IDENTIFIANTBENEFICIAIRE VARCHAR(13) NOT NULL,
  RAISONSOCIALE VARCHAR(40) NOT NULL,
  ACTIVITE VARCHAR(40) NOT NULL,
  ADRESSE VARCHAR(120) NOT NULL,
  TYPEMONTANTSERVIS CHAR(1) NOT NULL,
  MONTANTBRUT DOUBLE PRECISION NOT NULL,
  HONORAIRESERVIS DOUBLE PRECISION NOT NULL,
  JETONSPRESENCES DOUBLE PRECISION NOT NULL,
  REMUNIRATIONS DOUBLE PRECISION NOT NULL,
  PLUSVALUE DOUBLE PRECISION NOT NULL,
  LOYERSHOTELS DOUBLE PRECISION NOT NULL,
  RETENUESOPERES DOUBLE PRECISION NOT NULL,
  NETSERVIS DOUBLE PRECISION NOT NULL,
  RISTOURNES DOUBLE PRECISION NOT NULL,
  PHYSIQUEMORALE CHAR(1) NOT NULL,
  REMUNERATIONARTISTES DOUBLE PRECISION,
  HONORAIREBUREAU DOUBLE PRECISION,
  TYPEMONTSERVISEXPORTATION CHAR(1),
  MONTANTBRUTACTEXPORT DOUBLE PRECISION,
  REDEVANCE_C_G_C DOUBLE PRECISION,
  OPERATEURTELEPHONIQUE CHAR(1),
  ACTIONJETON CHAR(1),
  MONTANTPERFORMANCE DOUBLE PRECISION,
  MONTANTPRIMESCONSEIL DOUBLE PRECISION,
  CONSTRAINT PK_ANNEXEII PRIMARY KEY (IDENTIFIANT, EXERCICE, NUMEROORDRE)
);

-- Annex III: income from movable capital, interest of savings
-- accounts and interest of loans
CREATE TABLE ANNEXEIII (
  IDENTIFIANT VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1) NOT NULL,
  IDENTIFIANTBENEFICIAIRE VARCHAR(13) NOT NULL,
  RAISONSOCIALE VARCHAR(40) NOT NULL,
  ACTIVITE VARCHAR(40) NOT NULL,
  ADRESSE VARCHAR(120) NOT NULL,
  INTERETDESCOMPTES DOUBLE PRECISION NOT NULL,
  INTERETCAPITAUX DOUBLE PRECISION NOT NULL,
  INTERETPRETS DOUBLE PRECISION NOT NULL,
  MONTANTRETENUES DOUBLE PRECISION NOT NULL,
  NETSERVIS DOUBLE PRECISION NOT NULL,
  PHYSIQUEMORALE CHAR(1) NOT NULL,
  RETENUESC_G_C DOUBLE PRECISION,
  CONSTRAINT PK_ANNEXEIII PRIMARY KEY (IDENTIFIANT, EXERCICE, NUMEROORDRE)
);

-- Annex IV: amounts paid to persons not resident or not established
-- in Tunisia, and to persons established in tax havens
CREATE TABLE ANNEXEIV (
  IDENTIFIANT VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANTBENEFICIAIRE VARCHAR(13),
  RAISONSOCIALE VARCHAR(40),
  ACTIVITE VARCHAR(40),
  ADRESSE VARCHAR(120),
  TYPEMONTANTSERVIS CHAR(1),
  TAUXMONTANT NUMERIC(9,2),
  MONTANTBRUTS DOUBLE PRECISION,
  TAUXREMUNIRATIONS NUMERIC(9,2),
  REMUNIRATIONS DOUBLE PRECISION,
  TAUXPLUSVALUE NUMERIC(9,2),
  TAUXVALEURMOBILIERE DOUBLE PRECISION,
  REVENUSVELEURMOBILIER DOUBLE PRECISION,
  RETENUS DOUBLE PRECISION,
  NETSERVIS DOUBLE PRECISION,
  RISTOURNES DOUBLE PRECISION,
  PLUSVALUE DOUBLE PRECISION,
  PHYSIQUEMORALE CHAR(1),
  TYPEJETONVALMOBILIERE CHAR(1),
  TAUXPLUSVALUECESSION DOUBLE PRECISION,
  MONTANTPLUSVALUE DOUBLE PRECISION,
  TYPEMONTACTCOM CHAR(1),
  MONTACTNONCOMM DOUBLE PRECISION,
  MONTANPARADIS DOUBLE PRECISION,
  BIENFONCIER CHAR(1),
  ACTIONPART CHAR(1),
  JETONPRESENCE CHAR(1),
  CONSTRAINT PK_ANNEXEIV PRIMARY KEY (IDENTIFIANT, EXERCICE, NUMEROORDRE)
);

-- Annex V: other amounts paid and subject to withholding at source
-- (contracts, VAT withholdings, operations with non-established
-- persons, export operations)
CREATE TABLE ANNEXEV (
  IDENTIFIANT VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1) NOT NULL,
  IDENTIFIANTBENEFICIAIRE VARCHAR(13) NOT NULL,
  RAISONSOCIALE VARCHAR(40) NOT NULL,
  ACTIVITE VARCHAR(40) NOT NULL,
  ADRESSE VARCHAR(120) NOT NULL,
  MARCHES DOUBLE PRECISION NOT NULL,
  RETENUESMARCHES DOUBLE PRECISION NOT NULL,
  ASSIETETVA DOUBLE PRECISION NOT NULL,
  RETENUESURTVA DOUBLE PRECISION NOT NULL,
  MARCHEETRANGER DOUBLE PRECISION NOT NULL,
  RETENUEMARCHEETRANGER DOUBLE PRECISION NOT NULL,
  NETSERVIS DOUBLE PRECISION NOT NULL,
  RISTOURNES DOUBLE PRECISION NOT NULL,
  PHYSIQUEMORALE CHAR(1) NOT NULL,
  RETENUETVANONDOMICILIE DOUBLE PRECISION,
  MONTANTC_G_C DOUBLE PRECISION,
  EXPORT10 DOUBLE PRECISION,
  RETENUEEXPORT10 DOUBLE PRECISION,
  CONSTRAINT PK_ANNEXEV PRIMARY KEY (IDENTIFIANT, EXERCICE, NUMEROORDRE)
);

-- Annex VI: commercial and non-commercial rebates, sales to flat-rate
-- taxpayers, cash receipts, games and lotteries, sales to distributors
CREATE TABLE ANNEXEVI (
  IDENTIFIANT VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANTBENEFICIAIRE VARCHAR(13),
  RAISONSOCIALE VARCHAR(40),
  ACTIVITE VARCHAR(40),
  ADRESSE VARCHAR(120),
  MONTANTRISTOURNES DOUBLE PRECISION,
  PHYSIQUEMORALE CHAR(1),
  MONTANTPPFORFAITAIRE DOUBLE PRECISION,
  AVANCEPPFORFAITAIRE DOUBLE PRECISION,
  MONTESPECEMARCHANDISE DOUBLE PRECISION,
  MONTANTJEUX DOUBLE PRECISION,
  RETENUEJEUX DOUBLE PRECISION,
  MONTANTINF20000 DOUBLE PRECISION,
  RETENUEINF20000 DOUBLE PRECISION,
  CONSTRAINT PK_ANNEXEVI PRIMARY KEY (IDENTIFIANT, EXERCICE, NUMEROORDRE)
);

-- Annex VII: amounts paid on behalf of others. TYPEMONTANT holds the
-- number of a withholding type.
CREATE TABLE ANNEXEVII (
  IDENTIFIANT VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMEROORDRE INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANTBENEFICIAIRE VARCHAR(13),
  RAISONSOCIALE VARCHAR(40),
  ACTIVITE VARCHAR(40),
  ADRESSE VARCHAR(120),
  MONTANTPAYES DOUBLE PRECISION,
  RETENUALASOURCE DOUBLE PRECISION,
  MONTANTNETSERVIS DOUBLE PRECISION,
  PHYSIQUEMORALE CHAR(1),
  TYPEMONTANT CHAR(2),
  CONSTRAINT PK_ANNEXEVII PRIMARY KEY (IDENTIFIANT, EXERCICE, NUMEROORDRE)
);

-- The numbering of a new annex row reads the highest order number of its company and year; a descending
-- index answers that at once instead of scanning the rows, which an import of thousands of rows repeats.
CREATE DESCENDING INDEX ANNEXEI_NUMERO_DESC ON ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE);
CREATE DESCENDING INDEX ANNEXEII_NUMERO_DESC ON ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE);
CREATE DESCENDING INDEX ANNEXEIII_NUMERO_DESC ON ANNEXEIII (IDENTIFIANT, EXERCICE, NUMEROORDRE);
CREATE DESCENDING INDEX ANNEXEIV_NUMERO_DESC ON ANNEXEIV (IDENTIFIANT, EXERCICE, NUMEROORDRE);
CREATE DESCENDING INDEX ANNEXEV_NUMERO_DESC ON ANNEXEV (IDENTIFIANT, EXERCICE, NUMEROORDRE);
CREATE DESCENDING INDEX ANNEXEVI_NUMERO_DESC ON ANNEXEVI (IDENTIFIANT, EXERCICE, NUMEROORDRE);
CREATE DESCENDING INDEX ANNEXEVII_NUMERO_DESC ON ANNEXEVII (IDENTIFIANT, EXERCICE, NUMEROORDRE);


-- ===================================================================
-- Journals
-- ===================================================================

-- Supplier withholding journal, headers. One row per operation,
-- numbered by NUMERO within the company and fiscal year. CODE is the
-- code of the third party.
CREATE TABLE RTENUEALASOURCERECAP (
  CODESOCIETE VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMERO INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANT VARCHAR(13),
  NOMBENEFICIARE VARCHAR(40),
  ADRESSE VARCHAR(120),
  ACTIVITE CHAR(40),
  MONTANTBRUT DOUBLE PRECISION,
  MONTANTRETENUE DOUBLE PRECISION,
  PHYSIQUEMORALE CHAR(1),
  CODE INTEGER NOT NULL,
  DATEDECLARATION DATE,
  DATERETENUE DATE,
  CONSTRAINT PK_RTENUEALASOURCERECAP PRIMARY KEY (CODESOCIETE, EXERCICE, NUMERO)
);

-- Supplier withholding journal, lines. At most one line per
-- withholding type within a header (same CODESOCIETE, EXERCICE and
-- NUMERO as the header).
CREATE TABLE RTENUEALASOURCE (
  CODESOCIETE VARCHAR(12) NOT NULL,
  EXERCICE VARCHAR(4) NOT NULL,
  NUMERO INTEGER NOT NULL,
  TYPERETENUE INTEGER NOT NULL,
  MONTANTBRUT DOUBLE PRECISION,
  TAUX DOUBLE PRECISION,
  MONTANTRETENUE DOUBLE PRECISION,
  CODE INTEGER NOT NULL,
  DATEDECLARATION DATE,
  DATERETENUE DATE,
  LIBELLERETENUE VARCHAR(250),
  TYPEMONTANTS CHAR(1),
  LISTEFACTURE VARCHAR(150),
  CATEGORIERETENUE CHAR(1),
  TYPERETENUEXPORT CHAR(1),
  TYPEMONTANT CHAR(1),
  TYPEIDENTIFIANT VARCHAR(1),
  IDENTIFIANT VARCHAR(13),
  NOMBENEFICIARE VARCHAR(40),
  ADRESSE VARCHAR(120),
  ACTIVITE VARCHAR(40),
  PHYSIQUEMORALE VARCHAR(1),
  CONSTRAINT PK_RTENUEALASOURCE PRIMARY KEY (CODESOCIETE, EXERCICE, NUMERO, TYPERETENUE)
);

-- Withholdings made on the company by its clients. NUMERO runs over
-- the whole table, all companies and fiscal years together.
CREATE TABLE RETENUECLIENT (
  NUMERO INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANT VARCHAR(13),
  NOMBENEFICIARE VARCHAR(40),
  CODESOCIETE VARCHAR(12),
  ADRESSE VARCHAR(120),
  ACTIVITE CHAR(40),
  TYPERETENUE INTEGER,
  MONTANTBRUT DOUBLE PRECISION,
  TAUX DOUBLE PRECISION,
  MONTANTRETENUE DOUBLE PRECISION,
  PHYSIQUEMORALE CHAR(1),
  CODE INTEGER NOT NULL,
  DATEDECLARATION DATE,
  DATERETENUE DATE,
  EXERCICE VARCHAR(4),
  LIBELLERETENUE VARCHAR(250),
  TYPEMONTANTS CHAR(1),
  LISTEFACTURE VARCHAR(150),
  CONSTRAINT PK_RETENUECLIENT PRIMARY KEY (NUMERO)
);

-- Monthly salary withholdings, one row per employee and month
CREATE TABLE RETENUEPERSONNEL (
  CODESOCIETE VARCHAR(12) NOT NULL,
  EXERCICE CHAR(4) NOT NULL,
  MATRICULE VARCHAR(6) NOT NULL,
  MOIS INTEGER NOT NULL,
  NOMPRENOM VARCHAR(40),
  REVENUIMPOSABLE DOUBLE PRECISION,
  AVANTAGENATURE DOUBLE PRECISION,
  REVENUREINVESTI DOUBLE PRECISION,
  RETENUE DOUBLE PRECISION,
  RETENUE20 DOUBLE PRECISION,
  CONTRIBUTIONSOCIALE DOUBLE PRECISION,
  REDEVANCECOMPENSATION DOUBLE PRECISION,
  CONSTRAINT PK_RETENUEPERSONNEL PRIMARY KEY (CODESOCIETE, EXERCICE, MATRICULE, MOIS)
);

-- Commercial rebates and sales. NUMERO runs over the whole table.
CREATE TABLE RISTOURNE (
  NUMERO INTEGER NOT NULL,
  TYPEIDENTIFIANT CHAR(1),
  IDENTIFIANT VARCHAR(13),
  TYPERETENUE INTEGER,
  NOMBENEFICIARE VARCHAR(40),
  ADRESSE VARCHAR(120),
  ACTIVITE CHAR(40),
  MONTANTRISTOURNE DOUBLE PRECISION,
  PHYSIQUEMORALE CHAR(1),
  CODE INTEGER NOT NULL,
  DATERISTOURNE DATE,
  CODESOCIETE VARCHAR(12),
  EXERCICE VARCHAR(4),
  VENTEPERSONNEPHYSIQUE DOUBLE PRECISION,
  AVANCEIMPOTPP DOUBLE PRECISION,
  MONTANTESPECE DOUBLE PRECISION,
  CONSTRAINT PK_RISTOURNE PRIMARY KEY (NUMERO)
);


-- ===================================================================
-- Recapitulative table
-- ===================================================================

-- The computed recapitulative table of the declaration, 38 lines of
-- one company and fiscal year at a time. ZONE1 is the line code,
-- ZONE2 the base and ZONE4 the amount withheld, both as digits in
-- thousandths of a dinar, ZONE3 the rate in hundredths of a percent.
-- No key: a row is identified by its five columns together.
CREATE TABLE TABLEAURECAPITULATIF (
  ORDRE SMALLINT,
  ZONE1 VARCHAR(3),
  ZONE2 VARCHAR(15),
  ZONE3 VARCHAR(5),
  ZONE4 VARCHAR(15)
);

COMMIT;


-- ===================================================================
-- Stored procedures
-- ===================================================================
--
-- EFFACERRECAP   empties the recapitulative table before it is
--                computed again.
-- APUREMENT      selectable, called with a fiscal year as text. Deletes
--                from the annexes and the journals every row whose
--                EXERCICE is another fiscal year. Rows without a fiscal
--                year, the companies and the reference tables are kept.
--                Returns one row, NBLIGNES, the number of rows deleted.
-- INITIALISATION erases all the data entered (annexes, journals and the
--                recapitulative table) and keeps the reference data
--                (companies, withholding types, third parties and
--                employees).

SET TERM ^ ;

CREATE PROCEDURE EFFACERRECAP
AS
BEGIN
  DELETE FROM TABLEAURECAPITULATIF;
END^

CREATE PROCEDURE APUREMENT (EXERCICE VARCHAR(4))
RETURNS (NBLIGNES INTEGER)
AS
BEGIN
  NBLIGNES = 0;
  DELETE FROM ANNEXEI WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM ANNEXEII WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM ANNEXEIII WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM ANNEXEIV WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM ANNEXEV WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM ANNEXEVI WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM ANNEXEVII WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM RTENUEALASOURCERECAP WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM RTENUEALASOURCE WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM RETENUECLIENT WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM RETENUEPERSONNEL WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  DELETE FROM RISTOURNE WHERE EXERCICE <> :EXERCICE;
  NBLIGNES = NBLIGNES + ROW_COUNT;
  SUSPEND;
END^

CREATE PROCEDURE INITIALISATION
AS
BEGIN
  DELETE FROM ANNEXEI;
  DELETE FROM ANNEXEII;
  DELETE FROM ANNEXEIII;
  DELETE FROM ANNEXEIV;
  DELETE FROM ANNEXEV;
  DELETE FROM ANNEXEVI;
  DELETE FROM ANNEXEVII;
  DELETE FROM RTENUEALASOURCERECAP;
  DELETE FROM RTENUEALASOURCE;
  DELETE FROM RETENUECLIENT;
  DELETE FROM RETENUEPERSONNEL;
  DELETE FROM RISTOURNE;
  DELETE FROM TABLEAURECAPITULATIF;
END^

SET TERM ; ^

COMMIT;


-- ===================================================================
-- Withholding types
-- ===================================================================
--
-- Type n labels line n of the recapitulative table, in the order of
-- the declaration form. TAUX is the legal rate of that line in
-- percent. The line of the social solidarity contribution (300) and
-- the total line (999) carry no rate.

-- Line 010
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (1, 0, 'Traitements, salaires, pensions et rentes viagères (retenue selon le régime commun)');
-- Line 170
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (2, 0, 'Traitements, salaires, pensions et rentes viagères (retenue au taux de 20 %)');
-- Line 300
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (3, 0, 'Contribution sociale de solidarité sur les traitements, salaires, pensions et rentes viagères');
-- Line 021
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (4, 15, 'Honoraires, commissions, courtages, loyers et rémunérations des activités non commerciales servis aux personnes résidentes et établies en Tunisie');
-- Line 023
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (5, 15, 'Honoraires, commissions, courtages, loyers et rémunérations des activités non commerciales servis aux personnes non résidentes ou non établies en Tunisie');
-- Line 025
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (6, 2.5, 'Honoraires, commissions, courtages, loyers et rémunérations des activités non commerciales provenant des opérations d''exportation');
-- Line 030
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (7, 5, 'Honoraires servis aux sociétés et aux personnes physiques soumises au régime réel, et rémunérations servies aux artistes et créateurs');
-- Line 180
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (8, 2.5, 'Honoraires servis aux bureaux d''études exportateurs');
-- Line 040
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (9, 5, 'Loyers des hôtels servis aux sociétés et aux personnes physiques soumises au régime réel');
-- Line 260
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (10, 15, 'Rémunérations servies en contrepartie de la performance dans la prestation de services');
-- Line 060
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (11, 20, 'Intérêts des comptes spéciaux d''épargne ouverts auprès des banques et de la CENT');
-- Line 071
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (12, 20, 'Intérêts des autres capitaux mobiliers servis aux personnes résidentes');
-- Line 073
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (13, 20, 'Intérêts des autres capitaux mobiliers servis aux personnes non domiciliées ni établies en Tunisie');
-- Line 080
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (14, 15, 'Revenus des valeurs mobilières servis aux personnes non résidentes (hors actions et parts sociales)');
-- Line 241
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (15, 10, 'Revenus des actions et parts sociales servis aux personnes résidentes');
-- Line 242
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (16, 10, 'Revenus des actions et parts sociales servis aux personnes non résidentes');
-- Line 091
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (17, 20, 'Jetons de présence, rémunérations et primes des membres des conseils, des comités et des commissions servis aux personnes résidentes');
-- Line 093
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (18, 20, 'Jetons de présence servis aux personnes non résidentes');
-- Line 100
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (19, 15, 'Rémunérations servies aux salariés et aux non-salariés au titre de travaux occasionnels en dehors de leur activité principale');
-- Line 110
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (20, 10, 'Intérêts des prêts payés aux établissements bancaires non établis en Tunisie');
-- Line 121
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (21, 2.5, 'Plus-value immobilière (prix de l''immeuble déclaré dans l''acte) réalisée par les personnes résidentes');
-- Line 122
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (22, 2.5, 'Plus-value immobilière réalisée par les personnes non résidentes');
-- Line 123
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (23, 15, 'Plus-value immobilière réalisée par les personnes non résidentes sur les biens fonciers');
-- Line 131
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (24, 0.5, 'Montants égaux ou supérieurs à 1000 dinars, TVA comprise, payés au titre des opérations d''exportation et des ventes des entreprises soumises à l''impôt au taux de 10 %');
-- Line 132
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (25, 1.5, 'Montants égaux ou supérieurs à 1000 dinars, TVA comprise, payés au titre des autres opérations (marchés)');
-- Line 140
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (26, 25, 'Retenue au titre de la TVA sur les montants égaux ou supérieurs à 1000 dinars, TVA comprise, payés par les entreprises et établissements publics');
-- Line 150
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (27, 100, 'Retenue au titre de la TVA sur les montants payés pour les opérations réalisées avec les personnes n''ayant pas d''établissement en Tunisie');
-- Line 160
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (28, 0, 'Honoraires servis aux personnes non résidentes au titre d''une période ne dépassant pas 6 mois');
-- Line 270
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (29, 15, 'Montants servis aux personnes non résidentes établies en Tunisie qui n''ont pas déposé la déclaration d''existence avant d''entamer leur activité');
-- Line 200
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (30, 1, 'Avance sur les ventes aux personnes physiques soumises à l''impôt sur le revenu selon le régime forfaitaire');
-- Line 191
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (31, 10, 'Plus-value de cession des actions, des parts sociales ou des parts de fonds réalisée par les personnes physiques non résidentes');
-- Line 192
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (32, 25, 'Plus-value de cession des actions, des parts sociales ou des parts de fonds réalisée par les personnes morales non résidentes');
-- Line 051
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (33, 15, 'Autres revenus servis aux personnes non résidentes ou non établies en Tunisie');
-- Line 220
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (34, 25, 'Rémunérations ou revenus servis aux personnes résidentes ou établies dans un paradis fiscal');
-- Line 250
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (35, 1.5, 'Commissions servies aux distributeurs des opérateurs téléphoniques');
-- Line 280
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (36, 25, 'Revenus des jeux de pari, de hasard et de loterie');
-- Line 290
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (37, 3, 'Ventes des entreprises industrielles et de commerce aux distributeurs ne dépassant pas 20 000 dinars par an');
-- Line 999
INSERT INTO TYPERETENUE (NUMEROTYPE, TAUX, DESIGNATION) VALUES (38, 0, 'Total des retenues à la source');

COMMIT;
