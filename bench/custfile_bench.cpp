// The customer price file of a band of three net lists over 10,000
// articles with tiers, in both tier layouts, through the module's generator
// against a bare program on the Firebird API that runs the same statements
// (the same PREPARAPREZZO call, the tier statements prepared once) and
// writes the same bytes. Prints the ratios.
#include <benchmark/benchmark.h>
#include <firebird/Interface.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>
#include <unordered_set>

#include "bare_firebird.h"
#include "db/database.h"
#include "db/engine.h"
#include "db/query.h"
#include "db/transaction.h"
#include "filedump.h"
#include "hostinit.h"
#include "pricelists/filecliente/filecliente.h"
#include "ratio_reporter.h"
#include "sqlrun.h"

namespace {

using namespace Firebird;

constexpr int kArticoli = 10000;
std::string g_cartella, g_archivio;

void CreaDati() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "velmaro-custfile-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) std::abort();
  g_cartella = tmpl + "/";
  std::ostringstream out;
  host::InitHostFolder(g_cartella + "h", host::SqlFolder("/nonexistent"), {}, out);
  g_archivio = host::PathsOf(g_cartella + "h").companyDb;
  db::Database d;
  host::OpenHostDatabase(d, g_archivio);
  InsertRows(d, 17,
             "INSERT INTO CLASSIFICAZIONE1 VALUES (:I, 'C' || :I, 'Classe dell''articolo ' || :I); "
             "INSERT INTO CLASSIFICAZIONE2 VALUES (:I, 'G' || :I, 'Gruppo ' || :I);");
  InsertRows(
      d, kArticoli,
      "A = 'A' || LPAD(I, 6, '0'); "
      "INSERT INTO ANAMAG (CODICE, ESTENSIONE, DESCRIZIONE1, CLASSIFICAZIONE1, "
      "CLASSIFICAZIONE2)"
      " VALUES (:A, '0', 'Articolo n. ' || :I || IIF(MOD(:I, 7) = 0, ' dell''esempio', ''),"
      " 'C' || MOD(:I, 9), 'G' || MOD(:I, 17)); "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (1, :A, '0', 10 + MOD(:I, 90), 0); "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (1, :A, '0', 9.5 + MOD(:I, 90), 10); "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (1, :A, '0', 9 + MOD(:I, 90), 50); "
      "IF (MOD(:I, 2) = 0) THEN BEGIN "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (2, :A, '0', 11.25, 0); "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (2, :A, '0', 10.75, 20); END "
      "IF (MOD(:I, 3) = 0) THEN BEGIN "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (3, :A, '0', 12, 0); "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (3, :A, '0', 11.5, 5); "
      "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, QUANTITASCAGLIONE)"
      " VALUES (3, :A, '0', 10.5, 100); END",
      "DECLARE A VARCHAR(20); ");
  ExecBench(
      d,
      "INSERT INTO LISTSC (ID, NOME, TIPO) SELECT 1, 'Base', 'N' FROM RDB$DATABASE UNION ALL "
      "SELECT 2, 'Rivenditori', 'N' FROM RDB$DATABASE UNION ALL SELECT 3, 'Grossisti', 'N' FROM "
      "RDB$DATABASE");
  ExecBench(d, "INSERT INTO FASCESC (ID, NOME) VALUES (1, 'Fascia')");
  ExecBench(
      d,
      "INSERT INTO FASCESCDT (IDFASCIA, NRIGA, IDLISTINO) SELECT 1, 1, 1 FROM RDB$DATABASE "
      "UNION ALL SELECT 1, 2, 2 FROM RDB$DATABASE UNION ALL SELECT 1, 3, 3 FROM RDB$DATABASE");
}

velmaro::RichiestaFileClienti Richiesta(bool colonnaUnica) {
  velmaro::RichiestaFileClienti r;
  r.Fascia = "1";
  r.Data = "06/15/2026";
  r.ColonnaUnica = colonnaUnica;
  return r;
}

std::string FileModulo(bool u) {
  return g_cartella + (u ? "modulo-unica.csv" : "modulo-multiple.csv");
}
std::string FileNudo(bool u) { return g_cartella + (u ? "nudo-unica.csv" : "nudo-multiple.csv"); }

void BM_Modulo(benchmark::State& state) {
  const bool unica = state.range(0) == 1;
  db::Database d;
  host::OpenHostDatabase(d, g_archivio);
  db::Transaction t(&d);
  t.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  for (auto _ : state) {
    velmaro::GeneratoreFileClienti g(d, t);
    g.Genera(Richiesta(unica), FileModulo(unica), {});
    t.Commit();
  }
}

// ---- the bare program

// Parameters and columns of one statement through its metadata.
struct Messaggio {
  IMessageMetadata* meta = nullptr;
  std::vector<unsigned char> buf;

  void Prepara(ThrowStatusWrapper& st, IMessageMetadata* m) {
    meta = m;
    buf.assign(m->getMessageLength(&st), 0);
  }
  void Testo(ThrowStatusWrapper& st, unsigned i, const std::string& v) {
    *reinterpret_cast<short*>(&buf[meta->getNullOffset(&st, i)]) = 0;
    unsigned char* p = &buf[meta->getOffset(&st, i)];
    if (meta->getType(&st, i) == SQL_VARYING) {
      const unsigned short n = static_cast<unsigned short>(v.size());
      std::memcpy(p, &n, 2);
      std::memcpy(p + 2, v.data(), n);
      return;
    }
    std::memset(p, ' ', meta->getLength(&st, i));
    std::memcpy(p, v.data(), v.size());
  }
  void Intero(ThrowStatusWrapper& st, unsigned i, std::int32_t v) {
    *reinterpret_cast<short*>(&buf[meta->getNullOffset(&st, i)]) = 0;
    std::memcpy(&buf[meta->getOffset(&st, i)], &v, 4);
  }
  bool Nullo(ThrowStatusWrapper& st, unsigned i) {
    return *reinterpret_cast<short*>(&buf[meta->getNullOffset(&st, i)]) != 0;
  }
  std::string Leggi(ThrowStatusWrapper& st, unsigned i) {
    if (Nullo(st, i)) return {};
    const unsigned char* p = &buf[meta->getOffset(&st, i)];
    switch (meta->getType(&st, i)) {
      case SQL_VARYING: {
        unsigned short n;
        std::memcpy(&n, p, 2);
        return std::string(reinterpret_cast<const char*>(p + 2), n);
      }
      case SQL_LONG: {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        return std::to_string(v);
      }
      default:
        return std::string(reinterpret_cast<const char*>(p), meta->getLength(&st, i));
    }
  }
  double Numero(ThrowStatusWrapper& st, unsigned i) {
    std::int64_t v = 0;
    std::memcpy(&v, &buf[meta->getOffset(&st, i)], 8);
    return double(v) * std::pow(10.0, meta->getScale(&st, i));
  }
};

// The API's statements take "?" where the module's take names.
std::string SostituisciParametri(const std::string& sql) {
  std::string out;
  for (std::size_t i = 0; i < sql.size();) {
    bool trovato = false;
    for (std::string_view nome : {":ARTICOLO", ":ESTENSIONE", ":ID"}) {
      if (sql.compare(i, nome.size(), nome) != 0) continue;
      out += '?';
      i += nome.size();
      trovato = true;
      break;
    }
    if (!trovato) out += sql[i++];
  }
  return out;
}

std::string Pulito(const std::string& v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\'')
      out += '\xB4';
    else if (v[i] == '\r' && i + 1 < v.size() && v[i + 1] == '\n')
      out += ' ', ++i;
    else
      out += v[i];
  }
  return out;
}

void FileNudoUnaVolta(IAttachment* att, ThrowStatusWrapper& st, bool unica) {
  const velmaro::RichiestaFileClienti r = Richiesta(unica);
  ITransaction* tra = att->startTransaction(&st, 0, nullptr);
  IStatement* lis = att->prepare(
      &st, tra, 0, SostituisciParametri(velmaro::StatementListiniScaglioni(r.Fascia)).c_str(), 3,
      IStatement::PREPARE_PREFETCH_METADATA);
  IStatement* sca =
      att->prepare(&st, tra, 0, SostituisciParametri(velmaro::StatementScaglioni(r.Data)).c_str(),
                   3, IStatement::PREPARE_PREFETCH_METADATA);
  Messaggio lisIn, lisOut, scaIn, scaOut, princOut;
  lisIn.Prepara(st, lis->getInputMetadata(&st));
  lisOut.Prepara(st, lis->getOutputMetadata(&st));
  scaIn.Prepara(st, sca->getInputMetadata(&st));
  scaOut.Prepara(st, sca->getOutputMetadata(&st));

  std::ofstream file(FileNudo(unica), std::ios::binary | std::ios::trunc);
  {
    IStatement* c = att->prepare(&st, tra, 0, "SELECT COUNT(*) C FROM ANAMAG WHERE 1=1", 3, 0);
    Messaggio m;
    m.Prepara(st, c->getOutputMetadata(&st));
    IResultSet* rs = c->openCursor(&st, tra, nullptr, nullptr, m.meta, 0);
    rs->fetchNext(&st, m.buf.data());
    benchmark::DoNotOptimize(m.buf);
    rs->close(&st);
    m.meta->release();
    c->free(&st);
  }
  file << velmaro::IntestazioneFileClienti(unica) << "\r\n";
  IStatement* princ = att->prepare(&st, tra, 0, velmaro::StatementPrincipale(r).c_str(), 3,
                                   IStatement::PREPARE_PREFETCH_METADATA);
  princOut.Prepara(st, princ->getOutputMetadata(&st));
  IResultSet* rp = princ->openCursor(&st, tra, nullptr, nullptr, princOut.meta, 0);
  std::string riga, testo;
  std::vector<std::int32_t> liste;
  std::vector<std::pair<std::int64_t, std::string>> righe;
  while (rp->fetchNext(&st, princOut.buf.data()) == IStatus::RESULT_OK) {
    riga.clear();
    for (unsigned i = 0; i < 10; ++i) riga += Pulito(princOut.Leggi(st, i)) + ";";
    const std::string articolo = princOut.Leggi(st, 0);
    lisIn.Testo(st, 0, articolo);
    lisIn.Testo(st, 1, "0");
    IResultSet* rl = lis->openCursor(&st, tra, lisIn.meta, lisIn.buf.data(), lisOut.meta, 0);
    liste.clear();
    while (rl->fetchNext(&st, lisOut.buf.data()) == IStatus::RESULT_OK)
      liste.push_back(std::stoi(lisOut.Leggi(st, 0)));
    rl->close(&st);
    testo.clear();
    for (std::int32_t id : liste) {
      scaIn.Testo(st, 0, articolo);
      scaIn.Testo(st, 1, "0");
      scaIn.Intero(st, 2, id);
      IResultSet* rs = sca->openCursor(&st, tra, scaIn.meta, scaIn.buf.data(), scaOut.meta, 0);
      righe.clear();
      while (rs->fetchNext(&st, scaOut.buf.data()) == IStatus::RESULT_OK)
        righe.emplace_back(std::llround(scaOut.Numero(st, 2)), scaOut.Leggi(st, 1));
      rs->close(&st);
      for (std::size_t i = 0; i < righe.size(); ++i) {
        const bool ultimo = i + 1 == righe.size();
        const std::int64_t q = righe[i].first, fine = ultimo ? 0 : righe[i + 1].first - 1;
        if (ultimo ? q <= 0 : (q <= 0 && fine <= 0)) continue;
        if (!unica)
          testo += std::to_string(q) + ";" + righe[i].second + ";";
        else
          testo += std::to_string(q) + "-" + (ultimo ? std::string("999") : std::to_string(fine)) +
                   " " + righe[i].second + "\r\n";
      }
    }
    if (!testo.empty() && !unica) testo.pop_back();
    if (!testo.empty() && unica) testo = "\"" + testo.substr(0, testo.size() - 2) + "\"";
    file << riga << testo << ";\r\n";
  }
  rp->close(&st);
  for (Messaggio* m : {&lisIn, &lisOut, &scaIn, &scaOut, &princOut}) m->meta->release();
  princ->free(&st);
  lis->free(&st);
  sca->free(&st);
  tra->commit(&st);
}

void BM_Nudo(benchmark::State& state) {
  const bool unica = state.range(0) == 1;
  BareAttachment bare(g_archivio);
  for (auto _ : state) FileNudoUnaVolta(bare.att, bare.st, unica);
}

BENCHMARK(BM_Nudo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Modulo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  db::ConfigureEngine(db::DefaultEngineConfigDir());
  CreaDati();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (int u = 0; u < 2; ++u) {
    const char* modo = u ? "single column" : "multiple columns";
    const double nudo = reporter.times["BM_Nudo/" + std::to_string(u) + "/iterations:3"];
    const double modulo = reporter.times["BM_Modulo/" + std::to_string(u) + "/iterations:3"];
    const std::string a = host::ReadWholeFile(FileModulo(u)), b = host::ReadWholeFile(FileNudo(u));
    if (a.empty() || a != b) std::cout << modo << ": the two files differ\n";
    if (nudo > 0 && modulo > 0)
      std::cout << "customer price file, " << modo << ": module / bare = " << modulo / nudo << "\n";
  }
  std::filesystem::remove_all(g_cartella);
  return 0;
}
