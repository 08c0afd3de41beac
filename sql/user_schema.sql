-- User database of the host program (user/user.fdb): operators, their
-- parameters per company and the log of the windows the host opened.
-- Created with DEFAULT CHARACTER SET UTF8, page size 4096, dialect 3.
-- TABSCRIPT is not here: the module creates it itself when it is missing.

-- Operators. DITTA is the company the operator is working in; it is also
-- the section of the operator's parameters in TABBRIVANE. BRIVANE keeps a
-- packed copy of those parameters as INI text ("[section]" and "name=value"
-- lines), rewritten after every parameter write.
CREATE TABLE UTENTI (
  CODICE INTEGER NOT NULL,
  NOMEUTENTE VARCHAR(30),
  PWDUTENTE VARCHAR(30),
  DITTA VARCHAR(30),
  PROFILOSICUREZZA INTEGER,
  BRIVANE BLOB SUB_TYPE TEXT,
  CONSTRAINT UTENTI_PK PRIMARY KEY (CODICE)
);

-- Operator parameters. UTENTE holds the operator number as text (the
-- statements compare it with quoted literals); INTESTAZIONE is the section,
-- the company; PROGRESSIVO numbers an operator's rows in order of insertion
-- across all sections. No unique key: two rows may carry the same parameter.
CREATE TABLE TABBRIVANE (
  UTENTE VARCHAR(15) NOT NULL,
  INTESTAZIONE VARCHAR(30),
  PARAMETRO VARCHAR(60),
  VALORE VARCHAR(1024),
  PROGRESSIVO INTEGER
);
CREATE INDEX TABBRIVANE_PARAMETRO ON TABBRIVANE (UTENTE, INTESTAZIONE, PARAMETRO);

-- The host's log of opened windows. Before it calls an export the host writes
-- the row of the opening id; the module writes the new window's handle into
-- it. Both are kept as text, as the module compares and writes them quoted.
CREATE TABLE VORLOLOGFUNZ (
  IDFINESTRA VARCHAR(20) NOT NULL,
  UTENTE INTEGER,
  DITTA VARCHAR(30),
  FUNZIONE VARCHAR(64),
  DATAORA TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
  HANDLEFINESTRA VARCHAR(20),
  CONSTRAINT VORLOLOGFUNZ_PK PRIMARY KEY (IDFINESTRA)
);
