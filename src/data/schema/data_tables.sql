/* The data database "AAA": books, users, loans, reservations, code lists and
   the settings rows shared by every desk. This program never creates these
   tables itself; the administration tool and the tests run this script in an
   empty data folder. */

CREATE TABLE "Book" (
  BOOK_ID INTEGER,
  tourokubi DATE,
  syomei1 CHARACTER(60),
  syomei2 CHARACTER(60),
  syomei3 CHARACTER(60),
  cyosya1 CHARACTER(30),
  cyosya2 CHARACTER(30),
  cyosya3 CHARACTER(30),
  cyosya4 CHARACTER(30),
  syuppansya CHARACTER(30),
  syuppannen CHARACTER(14),
  ookisa CHARACTER(15),
  pageSuu CHARACTER(10),
  kakaku MONEY,
  seikyu CHARACTER(14),
  biko CHARACTER(10),
  kenmei1 MEMO,
  NDC_ID FLOAT,
  HKN_ID INTEGER,
  ZAIGEN_ID INTEGER,
  UKEIRE_ID INTEGER,
  kashidashiF BOOLEAN,
  yoyakuF BOOLEAN,
  kintaiF BOOLEAN,
  heikaF BOOLEAN,
  tenkenF BOOLEAN,
  haikiF BOOLEAN,
  key1 CHARACTER(30),
  key2 CHARACTER(30),
  ISBN CHARACTER(15),
  yobi1_ID INTEGER,
  yobi2_ID INTEGER,
  yobi3_ID INTEGER,
  yobi4_ID INTEGER,
  yobi5_ID INTEGER,
  haiki_date DATE,
  URL CHARACTER(100),
  sakujoF BOOLEAN,
  PRIMARY KEY (BOOK_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);
CREATE INDEX key1 ON "Book" (key1);
CREATE INDEX key2 ON "Book" (key2);
CREATE INDEX ISBN ON "Book" (ISBN);

CREATE TABLE "Name" (
  NAME_ID CHARACTER(6),
  seito_No CHARACTER(5),
  sex SMALLINT,
  NAME CHARACTER(20),
  mihenkyakuSU SMALLINT,
  Seito_NO2 CHARACTER(5),
  PostNo CHARACTER(10),
  Adress CHARACTER(40),
  Tel CHARACTER(15),
  syozoku_ID INTEGER,
  PRIMARY KEY (NAME_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);
/* The index is declared with full key compression; the dialect's CREATE INDEX
   takes no compression clause, and compression changes no result. */
CREATE INDEX seito_No ON "Name" (seito_No);

/* The loan register keeps its rows in insertion order: no primary key. */
CREATE TABLE "kashibo" (
  BOOK_ID INTEGER,
  NAME_ID CHARACTER(6),
  henkyakuyotei DATE,
  kashidashiF CHARACTER(1),
  seitoNo CHARACTER(5),
  kashidashibi DATE,
  henkyakubi DATE,
  ISBN_ID CHARACTER(15),
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);
CREATE INDEX Book_ID ON "kashibo" (BOOK_ID);
CREATE INDEX Name_ID ON "kashibo" (NAME_ID);
CREATE INDEX ISBN_ID ON "kashibo" (ISBN_ID);
CREATE INDEX kashidashibi ON "kashibo" (kashidashibi);

CREATE TABLE "yoyaku" (
  Book_ID INTEGER,
  yoyaku_No INTEGER,
  Name_ID CHARACTER(6),
  Seito_No CHARACTER(5),
  Name CHARACTER(20),
  yoyakubi DATE,
  ISBN_ID CHARACTER(15),
  yoyakuDTime TIMESTAMP,
  Memo Character(40),
  PRIMARY KEY (Book_ID, yoyaku_No) COMPRESS NONE,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

CREATE TABLE "NDC" (
  NDC_ID FLOAT,
  NDC CHARACTER(24),
  PRIMARY KEY (NDC_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

CREATE TABLE "HKN" (
  HKN_ID INTEGER,
  HKN CHARACTER(24),
  PRIMARY KEY (HKN_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

CREATE TABLE "ZAIGEN" (
  ZAIGEN_ID INTEGER,
  ZAIGEN CHARACTER(20),
  PRIMARY KEY (ZAIGEN_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

CREATE TABLE "UKEIRE" (
  UKEIRE_ID INTEGER,
  UKEIRE CHARACTER(20),
  PRIMARY KEY (UKEIRE_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

CREATE TABLE "SYOZOKU" (
  SYOZOKU_ID INTEGER,
  SYOZOKU CHARACTER(20),
  PRIMARY KEY (SYOZOKU_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

/* General settings rows shared by every desk; row 2 holds the new-book days
   and the ISBN lending mode, row 10 the user number mode. */
CREATE TABLE "Reg" (
  ID AUTOINC,
  A1 CHARACTER(10),
  A2 CHARACTER(10),
  A3 CHARACTER(10),
  A4 CHARACTER(10),
  N1 INTEGER,
  N2 INTEGER,
  N3 INTEGER,
  N4 INTEGER,
  B1 CHARACTER(100),
  B2 CHARACTER(100),
  B3 CHARACTER(100),
  B4 CHARACTER(100),
  PRIMARY KEY (ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
)
