-- Exceptions database (dati/eccezioni.fdb): special prices agreed with
-- customers, grouped in classes, that the exceptions import turns into
-- price lists and bands. Created with DEFAULT CHARACTER SET UTF8, page size
-- 4096, dialect 3.

CREATE TABLE CLASSECC (
  CODICE VARCHAR(10) NOT NULL,
  DESCRIZIONE VARCHAR(40),
  CONSTRAINT CLASSECC_PK PRIMARY KEY (CODICE)
);

-- One exception: for an article, net prices for up to three quantity tiers
-- (NETTO at quantity 0, NETTO1 from QUANTITA1, NETTO2 from QUANTITA2);
-- for an article or an article category (CATEGORIAART, a CLASSIFICAZIONE1
-- code), up to two discount percentages.
CREATE TABLE ECCEZIONI (
  ID INTEGER NOT NULL,
  CLASSECC VARCHAR(10) NOT NULL,
  ARTICOLO VARCHAR(20),
  CATEGORIAART VARCHAR(20),
  NETTO NUMERIC(15,4),
  NETTO1 NUMERIC(15,4),
  QUANTITA1 NUMERIC(15,3),
  NETTO2 NUMERIC(15,4),
  QUANTITA2 NUMERIC(15,3),
  PERCENTUALESCONTO NUMERIC(9,4),
  PERCENTUALESCONTO2 NUMERIC(9,4),
  CONSTRAINT ECCEZIONI_PK PRIMARY KEY (ID)
);
CREATE INDEX ECCEZIONI_CLASSE ON ECCEZIONI (CLASSECC);

-- The classes each customer belongs to; the last six characters of CODCLI
-- are the customer's code in the company database.
CREATE TABLE CLIECCCLASS (
  CODCLI VARCHAR(20) NOT NULL,
  CLASSECC VARCHAR(10) NOT NULL,
  CONSTRAINT CLIECCCLASS_PK PRIMARY KEY (CODCLI, CLASSECC)
);
