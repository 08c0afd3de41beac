#pragma once
// A writer of a list's rows, or of a band's, holds the list (the band)
// while it writes: the header row (LISTSC, FASCESC) is locked in the
// transaction the rows are written in, from before the writer's checks
// until its commit. Meanwhile another session can neither delete the
// header nor write its rows; once committed, the header's new version
// tells a session whose view predates these rows that its view would miss
// them. Such a session renews its view in place (its transaction committed
// and started again, the window showing the data again) and runs the
// refused write once more on the renewed view, when what the write read
// before still stands.
//
// Every write of a command, held or not, follows one rule (Scrivi below):
// a statement refused for a row version newer than the view, or held by a
// running transaction (the engine tells them alike), rolls back what the
// write did, renews the view, makes the write's checks again and runs once
// more; refused again right after the renewal, the row is in use.
//
// The commands that hold a list: on the editor's row pages, new, edit,
// new period by date, delete of a row and "Azzera"; on its lists page the
// list's edit and deletion; in the exchange windows every import. The
// commands that hold a band: the band's edit and deletion, new, edit and
// delete of a band row, the priority moves, and the association of a
// customer or supplier with the band.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace db {
class Transaction;
}

namespace velmaro {

// What a hold locks: a header table keyed by ID, and the warning for a
// header another session is writing now.
struct Testata {
  const char* tabella;
  const char* inUso;
};
inline constexpr Testata kTestataListino{
    "LISTSC", "Il listino è in uso da un altro utente: riprovare più tardi"};
inline constexpr Testata kTestataFascia{
    "FASCESC", "La fascia è in uso da un altro utente: riprovare più tardi"};

class PresaTestata {
 public:
  enum class Esito {
    Presa,             // the header is held
    Cancellato,        // the header is gone
    InUso,             // another session holds it now
    Superato,          // another session changed the header, or what the write read
    AltroTipo,         // a list no longer of the kind the command serves
    ControlloFallito,  // one of the command's own checks failed
  };

  // The kinds of list a command serves, by the list's TIPO.
  enum class Genere {
    Qualsiasi,
    Netti,   // TIPO 'N'
    Sconti,  // any other type
  };

  // How a write refused for a view older than another session's write to
  // the header goes on.
  struct Rinnovo {
    // Renews the view of the very transaction the hold is taken in
    // (`scrittura` of Prendi): commits it, starts it again and shows again
    // what the window shows. None: the transaction alone is renewed.
    std::function<void()> rinnova{};
    // Selects of the rows the write's UPDATE or DELETE statements touch, by
    // the same conditions: read before renewing and again under the hold,
    // together with the whole header; the write runs only when both reads
    // give the same rows with the same values.
    std::vector<std::vector<std::string>> letture{};
    // The command's error box for a header or rows changed meanwhile, and
    // for a list of another kind. Required: the header is always compared.
    std::string errore{};
    // The command's own checks, made again under the hold on the renewed
    // view: the warning of the first that fails, which stops the write;
    // "" when all pass.
    std::function<std::string()> controlla{};
    // The kind of list the write serves, checked under the hold at every
    // try, renewed or not.
    Genere genere = Genere::Qualsiasi;
    // The warning for rows of the write that a running transaction holds;
    // "": the header's own (held) or kRecordInUso.
    std::string inUso{};
  };

  // What Prendi gives: the hold, or why there is none (the operator was
  // told). A `rinnova` or `controlla` that throws lets the exception
  // through: what `controlla` found held is given back first (a retaining
  // rollback), and a failed `rinnova` had nothing held or written.
  class Esiti {
   public:
    Esiti(std::unique_ptr<PresaTestata> presa, Esito esito)
        : presa_(std::move(presa)), esito_(esito) {}
    explicit operator bool() const { return presa_ != nullptr; }
    PresaTestata* operator->() const { return presa_.get(); }
    PresaTestata& operator*() const { return *presa_; }
    PresaTestata* get() const { return presa_.get(); }
    // Presa when held; otherwise the reason of the refusal.
    Esito Stato() const { return esito_; }

   private:
    std::unique_ptr<PresaTestata> presa_;
    Esito esito_;
  };

  // Locks header `id` of `testata` in `scrittura`; the outcome says
  // whether it is held.
  PresaTestata(const Testata& testata, db::Transaction& scrittura, const std::string& id);
  // The hold of header `id` for a write in `scrittura`. A view older than
  // another session's write to it is renewed as `rinnovo` says and the
  // header held again. No hold, after the operator was told why, when the
  // header cannot be held or the write must not run on the renewed view.
  static Esiti Prendi(const Testata& testata, db::Transaction& scrittura, const std::string& id,
                      const Rinnovo& rinnovo);
  // A hold never confirmed is given back with a retaining rollback of what
  // the transaction did since it was taken.
  ~PresaTestata();
  PresaTestata(const PresaTestata&) = delete;
  PresaTestata& operator=(const PresaTestata&) = delete;

  Esito Stato() const { return esito_; }
  bool Presa() const { return esito_ == Esito::Presa; }
  // The operator's warning for a header not held; "" when held.
  std::string Messaggio() const;
  // Commits (retaining) the rows written under the hold, which ends it.
  void Conferma();
  // Gives the hold back at once: a retaining rollback of what the
  // transaction did since it was taken.
  void Annulla();
  // After a write under the hold met a row version newer than the view:
  // the hold is given back with what the write did, the view renewed as the
  // hold's Rinnovo says, the header held again and the write's checks made
  // again. False, the operator told why, when the write must not run again.
  bool Riprendi();
  // The warning for rows of a held write that a running transaction holds.
  std::string MessaggioInUso() const;

 private:
  friend bool Scrivi(PresaTestata& presa, const std::function<void()>& scrivi);
  // Locks the header; esito_ tells how it went.
  void Blocca();

  const Testata& testata_;
  db::Transaction& scrittura_;
  int id_ = 0;
  Rinnovo rinnovo_{};
  Esito esito_ = Esito::Cancellato;
  bool aperta_ = false;
};

// The warning for rows a write meets held by a running transaction, when
// neither the write nor a hold names its own.
inline constexpr const char* kRecordInUso =
    "Il record è in uso da un altro utente: riprovare più tardi";

// The rule of every write of a command. `scrivi` runs the write's
// statements in the transaction; they are committed together (keep open),
// through `presa` when the header is held. A statement refused for a row
// version newer than the view, or one a running transaction holds, rolls
// back what the write did and renews the view: under a hold as
// PresaTestata::Riprendi does, else by `rinnovo.rinnova` (none: the
// transaction alone), the rows of `rinnovo.letture` read before and after
// and compared, then `rinnovo.controlla`; then the write runs once more.
// Refused again, the row is in use: the warning `rinnovo.inUso` (the
// header's, or kRecordInUso). Rows changed meanwhile, and any other
// failure, show `rinnovo.errore` (under a hold, the hold's). Whatever was
// not committed is rolled back, so nothing half-written waits for the next
// commit, and the view stays renewed. True when written.
bool Scrivi(PresaTestata& presa, const std::function<void()>& scrivi);
bool Scrivi(db::Transaction& scrittura, const std::function<void()>& scrivi,
            const PresaTestata::Rinnovo& rinnovo);

// The hold of one header table: PresaListino a price list (LISTSC),
// PresaFascia a price band (FASCESC).
template <const Testata& T>
class PresaDi : public PresaTestata {
 public:
  PresaDi(db::Transaction& scrittura, const std::string& id) : PresaTestata(T, scrittura, id) {}
  static Esiti Prendi(db::Transaction& scrittura, const std::string& id, const Rinnovo& rinnovo) {
    return PresaTestata::Prendi(T, scrittura, id, rinnovo);
  }
};
using PresaListino = PresaDi<kTestataListino>;
using PresaFascia = PresaDi<kTestataFascia>;

}  // namespace velmaro
