#pragma once
// An operator whose company database holds the price-list tables, an
// exceptions database beside it, and the window of the import made on
// them outside the launch road; the environment frees the window, then
// its module and context.
#include <memory>
#include <string>
#include <vector>

#include "common/fixture.h"
#include "context/datamodule.h"
#include "context/launch.h"
#include "context/tabxform.h"
#include "pricelists/eccezioni/importecc.h"
#include "ui/make.h"

namespace velmaro::testing {

struct AmbienteEccezioni : HostFolder {
  std::string Eccezioni() const { return Folder() + "ecc/eccezioni.fdb"; }

  AmbienteEccezioni() {
    CreateUserDatabase();
    AddUser(1, "Rossi", "", "Ditta Uno");
    CreateCompanyDatabase();
    AddParameter(1, "Ditta Uno", "Archivio", CompanyDatabasePath(), 1);
    ExecAll(
        CompanyDatabasePath(),
        {"CREATE TABLE LISTSC (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(60), LISTSCRIF "
         "INTEGER,"
         " CAMPOSEL1 VARCHAR(30), CLASSIFICAZIONE1 VARCHAR(30), TIPO CHAR(1))",
         "CREATE TABLE LISTSCDTNET (IDLISTSC INTEGER, CODICEARTICOLO VARCHAR(20), ESTCODICE "
         "VARCHAR(10),"
         " PREZZO NUMERIC(15,4), DATAINIZIOVALIDITA DATE, QUANTITASCAGLIONE NUMERIC(15,3))",
         "CREATE TABLE LISTSCDTSCO (IDLISTSC INTEGER, DESCRIZIONE VARCHAR(60), DATAINIZIOVALIDITA "
         "DATE,"
         " QUANTITASCAGLIONE NUMERIC(15,3), SCONTO1 NUMERIC(9,4), SCONTO2 NUMERIC(9,4),"
         " VALORESEL1 VARCHAR(30))",
         "CREATE TABLE FASCESC (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(60),"
         " CLASSIFICAZIONE1 VARCHAR(30))",
         "CREATE TABLE FASCESCDT (IDFASCIA INTEGER, NRIGA INTEGER, IDLISTINO INTEGER)",
         "CREATE TABLE TIPIPR (CODICE INTEGER NOT NULL PRIMARY KEY, DESCRIZIONE VARCHAR(20))",
         "CREATE TABLE CLIENTI (CODICE VARCHAR(10) NOT NULL PRIMARY KEY, TIPOPREZZO VARCHAR(10))",
         "INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (1, 'Base', 'N')"});
    CreateDatabase(Eccezioni());
    ExecAll(
        Eccezioni(),
        {"CREATE TABLE CLASSECC (CODICE VARCHAR(10) NOT NULL PRIMARY KEY, DESCRIZIONE VARCHAR(40))",
         "CREATE TABLE ECCEZIONI (ID INTEGER NOT NULL PRIMARY KEY, CLASSECC VARCHAR(10),"
         " ARTICOLO VARCHAR(20), CATEGORIAART VARCHAR(20), NETTO NUMERIC(15,4), NETTO1 "
         "NUMERIC(15,4),"
         " QUANTITA1 NUMERIC(15,3), NETTO2 NUMERIC(15,4), QUANTITA2 NUMERIC(15,3),"
         " PERCENTUALESCONTO NUMERIC(9,4), PERCENTUALESCONTO2 NUMERIC(9,4))",
         "CREATE TABLE CLIECCCLASS (CODCLI VARCHAR(20) NOT NULL, CLASSECC VARCHAR(10) NOT NULL)"});
    ImpostaDatabaseEccezioni(Eccezioni());
  }

  void ImpostaDatabaseEccezioni(const std::string& nome) {
    ExecAll(CompanyDatabasePath(),
            {"DELETE FROM TABX WHERE NOME='ImpDirEccDB'",
             "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES (GEN_ID(CODICETABXCOUNTER, 1), "
             "'ImpDirEccDB', " +
                 Quote(nome) + ")"});
  }

  // The window before the objects it works with.
  ~AmbienteEccezioni() {
    if (finestra_) ui::Free(finestra_);
  }

  // A window of class F (the import unless told) on the objects the launch
  // road gives the operator; one per environment.
  template <class F = TImportEccForm>
  F& Finestra() {
    oggetti_ = std::make_unique<OggettiChiamata>(1);
    auto* f = new F(&ui::App(), oggetti_->DataModule());
    finestra_ = f;
    return *f;
  }

 private:
  std::unique_ptr<OggettiChiamata> oggetti_;
  ui::Form* finestra_ = nullptr;
};

}  // namespace velmaro::testing
