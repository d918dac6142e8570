/* The settings database "WWW" in the program folder, one per desk folder.
   Run at every start: a table that exists already is left as it is. */

/* Scratch table for looked-up titles; nothing reads or writes it. */
CREATE TABLE IF NOT EXISTS "wk" (
  syomei Char(100),
  cyosya Char(100),
  publisher Char(100),
  URL Char(100),
  ISBN Char(100)
);

/* The desk's settings: exactly one row, no primary key. */
CREATE TABLE IF NOT EXISTS "Head" (
  meisyou CHARACTER(100),
  daihyou CHARACTER(20),
  PostNo CHARACTER(15),
  jyusyo CHARACTER(100),
  tel CHARACTER(15),
  PM1 INTEGER,
  PM2 INTEGER,
  PM3 INTEGER,
  PM4 INTEGER,
  PM5 INTEGER,
  nendo INTEGER,
  PathName1 CHARACTER(100),
  PathName2 CHARACTER(100),
  date1 DATE,
  date2 DATE,
  kashisuu INTEGER,
  seito_No1 CHARACTER(5),
  seito_No2 CHARACTER(5),
  UserName CHARACTER(20),
  UserPW CHARACTER(20),
  HostName CHARACTER(20),
  portNo INTEGER,
  DataBaseName CHARACTER(20),
  PM8 INTEGER,
  PM9 INTEGER,
  PM10 INTEGER,
  PathName3 CHARACTER(60),
  PathName4 CHARACTER(60),
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

/* Per-desk settings rows; row 50 holds the desk options. */
CREATE TABLE IF NOT EXISTS "Regist" (
  ID INTEGER,
  S1 VARCHAR(50),
  S2 VARCHAR(50),
  S3 VARCHAR(50),
  S4 VARCHAR(50),
  S5 VARCHAR(50),
  S6 VARCHAR(50),
  S7 VARCHAR(50),
  S8 VARCHAR(50),
  S9 VARCHAR(50),
  S10 VARCHAR(50),
  P1 INTEGER,
  P2 INTEGER,
  P3 INTEGER,
  P4 INTEGER,
  P5 INTEGER,
  P6 INTEGER,
  P7 INTEGER,
  P8 INTEGER,
  P9 INTEGER,
  P10 INTEGER,
  F1 FLOAT,
  F2 FLOAT,
  F3 FLOAT,
  F4 FLOAT,
  F5 FLOAT,
  F6 FLOAT,
  F7 FLOAT,
  F8 FLOAT,
  F9 FLOAT,
  F10 FLOAT,
  D1 DATE,
  D2 DATE,
  D3 DATE,
  D4 DATE,
  D5 DATE,
  D6 DATE,
  D7 DATE,
  D8 DATE,
  D9 DATE,
  D10 DATE,
  PRIMARY KEY (ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
);

/* The pick list: the books picked for the current borrower before lending. */
CREATE TABLE IF NOT EXISTS "WK01" (
  BOOK_ID INTEGER,
  syomei CHARACTER(30),
  PRIMARY KEY (BOOK_ID) COMPRESS FULL,
  LANGUAGE "ANSI Standard" SORT "Default Order" USER MAJOR VERSION 1
)
