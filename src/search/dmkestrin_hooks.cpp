// The outside-call hooks of the record search's data module.
#include <exception>
#include <vector>

#include "context/tabxform.h"
#include "platform/encoding.h"
#include "platform/library.h"
#include "search/dmkestrin.h"
#include "ui/application.h"

namespace velmaro {
namespace {

// What completes the three messages of a hook.
struct Soggetto {
  const char* testo;
  bool duePunti;  // a colon before the error's own message
};

struct Esito {
  bool chiamata = false;         // the export ran and returned
  std::int32_t n = 0;            // what it returned
  bool rilascioFallito = false;  // freeing the library raised
};

void Errore(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Error, ui::mbOK); }

// A character buffer of the hook's size holding its initial content and a NUL.
class Buffer {
 public:
  Buffer(int dimensione, const std::string& contenutoAnsi) : dati_(dimensione, '\0') {
    contenutoAnsi.copy(dati_.data(), std::min<size_t>(contenutoAnsi.size(), dimensione - 1));
  }
  char* Dati() { return dati_.data(); }
  // The first n characters: a count of 0 or less is nothing, one beyond the
  // buffer is held to it.
  std::string Testo(std::int32_t n) const {
    if (n <= 0) return std::string();
    const size_t quanti = std::min<size_t>(size_t(n), dati_.size());
    std::string testo(dati_.data(), quanti);
    testo.resize(testo.find('\0') == std::string::npos ? quanti : testo.find('\0'));
    return plat::AnsiToUtf8(testo);
  }

 private:
  std::vector<char> dati_;
};

// A code placed in a buffer must leave room for the NUL.
bool Entra(const std::string& codiceAnsi, int dimensione) {
  return codiceAnsi.size() <= size_t(dimensione - 1);
}

// Loads the library, looks the export up, calls it and frees the library.
template <class F, class C>
Esito ChiamaEsterna(const std::string& dll, const std::string& funzione, const Soggetto& s,
                    C&& chiama) {
  Esito esito;
  plat::Library libreria = plat::Library::Load(dll);
  if (!libreria) {
    Errore("Non trovato il file " + dll);
    return esito;
  }
  F f = libreria.Function<F>(funzione);
  if (!f) {
    Errore("Non trovata funzione " + funzione + " nel file " + dll);
    return esito;
  }
  const std::string accesso = std::string("Errore nell'accesso alla DLL esterna per ") + s.testo;
  try {
    esito.n = chiama(f);
    esito.chiamata = true;
  } catch (const std::exception& e) {
    Errore(accesso + (s.duePunti ? ":" : "") + "\r\r" + e.what());
  } catch (...) {
    Errore(accesso);
  }
  try {
    libreria.Free();
  } catch (...) {
    Errore(std::string("Errore interno nella DLL esterna per ") + s.testo);
    esito.rilascioFallito = true;
  }
  return esito;
}

// A hook of CHIAMATEESTERNE: no row or an empty name ends it silently.
template <class F, class C>
Esito Configurabile(TDataModuleKestrin& dm, int id, const Soggetto& s, C&& chiama) {
  std::string dll, funzione;
  if (!dm.GestisciFunzioneEsterna(id, dll, funzione)) return {};
  return ChiamaEsterna<F>(dll, funzione, s, std::forward<C>(chiama));
}

std::int32_t Utente(const TDataModuleKestrin& dm) { return dm.TabX().GetNumUser(); }

// Hooks whose buffer starts with the code: f(operator, buffer).
std::string CodiceNelBuffer(TDataModuleKestrin& dm, int id, int dimensione,
                            const std::string& codice, const Soggetto& s) {
  const std::string ansi = plat::Utf8ToAnsi(codice);
  if (!Entra(ansi, dimensione)) return std::string();
  Buffer b(dimensione, ansi);
  const Esito e = Configurabile<esterne::Buffer>(
      dm, id, s, [&](esterne::Buffer f) { return f(Utente(dm), b.Dati()); });
  return e.chiamata ? b.Testo(e.n) : std::string();
}

// Decoding hooks: f(operator, code, buffer holding the field's name); an
// empty code calls nothing.
Esito Decodifica(TDataModuleKestrin& dm, int id, const std::string& codice, const Soggetto& s,
                 Buffer& b) {
  if (codice.empty()) return {};
  const std::string ansi = plat::Utf8ToAnsi(codice);
  return Configurabile<esterne::CodiceBuffer>(
      dm, id, s, [&](esterne::CodiceBuffer f) { return f(Utente(dm), ansi.c_str(), b.Dati()); });
}

std::string TestoDecodificato(TDataModuleKestrin& dm, int id, int dimensione, const char* campo,
                              const std::string& codice, const Soggetto& s) {
  Buffer b(dimensione, campo);
  const Esito e = Decodifica(dm, id, codice, s, b);
  return e.chiamata ? b.Testo(e.n) : std::string();
}

std::string ImpostaPConti(TDataModuleKestrin& dm, const std::string& codice,
                          const std::string& testo, const char* lettera) {
  const std::string ansi = plat::Utf8ToAnsi(codice);
  if (!Entra(ansi, 12)) return std::string();
  Buffer b(12, ansi);
  const std::string testoAnsi = plat::Utf8ToAnsi(testo);
  const Esito e = Configurabile<esterne::BufferTestoLettera>(
      dm, dm.IdImpostaPConti, {"l' assegnazione dei conti", false},
      [&](esterne::BufferTestoLettera f) {
        return f(Utente(dm), b.Dati(), testoAnsi.c_str(), lettera);
      });
  return e.chiamata ? b.Testo(e.n) : std::string();
}

bool VerificaDelPConti(TDataModuleKestrin& dm, const std::string& codice, const char* lettera,
                       const char* soggetto) {
  const std::string ansi = plat::Utf8ToAnsi(codice);
  if (!Entra(ansi, 11)) return false;
  Buffer b(11, ansi);
  const Esito e = Configurabile<esterne::BufferLettera>(
      dm, dm.IdVerificaDelPConti, {soggetto, false},
      [&](esterne::BufferLettera f) { return f(Utente(dm), b.Dati(), lettera); });
  return e.chiamata && !e.rilascioFallito && e.n != 0;
}

const char* const VorloPX = "VorloPX.dll";
const Soggetto Scadenze{"la decodifica scadenze", true};

}  // namespace

std::string TDataModuleKestrin::RicercaFornitoEst(const std::string& codice) {
  return CodiceNelBuffer(*this, IdRicercaFornito, 11, codice, {"le ricerche fornitori", false});
}

std::string TDataModuleKestrin::DecodificaRagSocFornitoEst(const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaRagSocFornito, 65, "RagSoc", codice,
                           {"la decodifica ragione sociale fornitori", false});
}

std::string TDataModuleKestrin::RicercaCodIvaEst(const std::string& codice) {
  return CodiceNelBuffer(*this, IdRicercaCodIva, 11, codice, {"le ricerche codici IVA", false});
}

std::string TDataModuleKestrin::DecodificaAliquotaCodIvaEst(const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaCodIva, 11, "Aliquota", codice,
                           {"la decodifica aliquota codici IVA", false});
}

std::string TDataModuleKestrin::DecodificaDescrizioneRidottaCodIvaEst(const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaCodIva, 19, "DescrizioneRidotta", codice,
                           {"la decodifica descrizione ridotta codici IVA", true});
}

std::string TDataModuleKestrin::RicercaPagamentEst(const std::string& codice) {
  return CodiceNelBuffer(*this, IdRicercaPagament, 11, codice, {"le ricerche pagamenti", false});
}

std::string TDataModuleKestrin::DecodificaDescrizionePagamentEst(const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaPagament, 31, "Descrizione", codice,
                           {"la decodifica descrizione pagamenti", true});
}

std::string TDataModuleKestrin::DecodificaPercScontoSulPagamentoPagamentEst(
    const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaPagament, 23, "PercScontoSulPagamento", codice,
                           {"la decodifica percentuale sconto sul pagamento", true});
}

std::string TDataModuleKestrin::RicercaPContiEst(const std::string& codice) {
  return CodiceNelBuffer(*this, IdRicercaPConti, 12, codice, {"le ricerche conti", false});
}

std::string TDataModuleKestrin::DecodificaDescrizionePContiEst(const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaPConti, 31, "Descrizione", codice,
                           {"la decodifica descrizione conti", true});
}

bool TDataModuleKestrin::VerificaEsistenzaCodicePContiEst(const std::string& codice) {
  Buffer b(11, "Codice");
  const Esito e =
      Decodifica(*this, IdDecodificaPConti, codice, {"la verifica esistenza conti", true}, b);
  // A failure to free the library leaves the answer of the call standing.
  return e.chiamata && e.n >= 1;
}

std::string TDataModuleKestrin::ImpostaPContiCliEst(const std::string& codice,
                                                    const std::string& testo) {
  return ImpostaPConti(*this, codice, testo, "C");
}

std::string TDataModuleKestrin::ImpostaPContiForEst(const std::string& codice,
                                                    const std::string& testo) {
  return ImpostaPConti(*this, codice, testo, "F");
}

std::string TDataModuleKestrin::NormalizzaPContiEst(const std::string& codice) {
  return CodiceNelBuffer(*this, IdNormalizzaPConti, 12, codice,
                         {"la normalizzazione dei conti", false});
}

bool TDataModuleKestrin::VerificaDelPContiCliEst(const std::string& codice) {
  return VerificaDelPConti(*this, codice, "C", "la verifica del conto cliente");
}

bool TDataModuleKestrin::VerificaDelPContiForEst(const std::string& codice) {
  return VerificaDelPConti(*this, codice, "F", "la verifica del conto fornitore");
}

std::string TDataModuleKestrin::RicercaCausaliEst(const std::string& codice) {
  return CodiceNelBuffer(*this, IdRicercaCausali, 11, codice, {"le ricerche causali", false});
}

std::string TDataModuleKestrin::DecodificaDescrizioneCausaliEst(const std::string& codice) {
  return TestoDecodificato(*this, IdDecodificaCausali, 31, "Descrizione", codice,
                           {"la decodifica descrizione causali", true});
}

std::int32_t TDataModuleKestrin::RiceviNumeroRateEst(const std::string& testo1,
                                                     const std::string& testo2) {
  const std::string t1 = plat::Utf8ToAnsi(testo1), t2 = plat::Utf8ToAnsi(testo2);
  const Esito e = ChiamaEsterna<esterne::NumeroRate>(
      VorloPX, "RiceviNumeroRateE", Scadenze,
      [&](esterne::NumeroRate f) { return f(Utente(*this), t1.c_str(), t2.c_str()); });
  return e.chiamata ? e.n : 0;
}

namespace {

std::string Scadenza(TDataModuleKestrin& dm, const char* funzione, const std::string& testo1,
                     const std::string& testo2, std::int32_t numeroRata, int dimensione,
                     const char* iniziale) {
  const std::string t1 = plat::Utf8ToAnsi(testo1), t2 = plat::Utf8ToAnsi(testo2);
  Buffer b(dimensione, iniziale);
  const Esito e =
      ChiamaEsterna<esterne::Scadenza>(VorloPX, funzione, Scadenze, [&](esterne::Scadenza f) {
        return f(Utente(dm), t1.c_str(), t2.c_str(), numeroRata, b.Dati());
      });
  return e.chiamata ? b.Testo(e.n) : std::string();
}

}  // namespace

std::string TDataModuleKestrin::RiceviDataScadenzaEst(const std::string& testo1,
                                                      const std::string& testo2,
                                                      std::int32_t numeroRata) {
  return Scadenza(*this, "RiceviDataScadenzaE", testo1, testo2, numeroRata, 11, "01/01/1900");
}

std::string TDataModuleKestrin::RiceviImportoScadenzaEst(const std::string& testo1,
                                                         const std::string& testo2,
                                                         std::int32_t numeroRata) {
  return Scadenza(*this, "RiceviImportoScadenzaE", testo1, testo2, numeroRata, 14, "0");
}

std::string TDataModuleKestrin::RiceviImportoScadenzeTotEst(const std::string& testo1,
                                                            const std::string& testo2) {
  const std::string t1 = plat::Utf8ToAnsi(testo1), t2 = plat::Utf8ToAnsi(testo2);
  Buffer b(14, "0");
  const Esito e = ChiamaEsterna<esterne::ScadenzeTot>(
      VorloPX, "RiceviImportoTotScadenzeE", Scadenze,
      [&](esterne::ScadenzeTot f) { return f(Utente(*this), t1.c_str(), t2.c_str(), b.Dati()); });
  return e.chiamata ? b.Testo(e.n) : std::string();
}

}  // namespace velmaro
