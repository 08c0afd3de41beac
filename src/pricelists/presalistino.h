#pragma once
// A writer of a list's rows holds the list while it writes: the header row
// of LISTSC is locked in the transaction the rows are written in, from
// before the writer's checks until its commit. Meanwhile another session
// can neither delete the list nor write its rows; once committed, the
// header's new version tells a session whose view predates these rows
// that its view would miss them. Such a session renews its view in place
// (its transaction committed and started again, the window showing the
// list again) and runs the refused write once more on the renewed view,
// when what the write read before still stands. The editor's row pages,
// its list edit and deletion and the exchange windows share it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace db {
class Transaction;
}

namespace velmaro {

class PresaListino {
 public:
  enum class Esito {
    Presa,       // the list is held
    Cancellato,  // the list is gone
    InUso,       // another session holds it now
    Superato,    // another session changed it after this view began
  };

  // How a write refused for a view older than another session's write to
  // the list goes on.
  struct Rinnovo {
    // Renews the view: commits the transaction, starts it again and shows
    // again what the window shows. None: the transaction alone is renewed.
    std::function<void()> rinnova{};
    // Whether the list must still be the one the window showed: its header
    // read again after renewing equal, in every column, to the one read
    // before. A write that takes nothing from the list's old view (an
    // import) runs whatever the header holds now.
    bool stessaTestata = true;
    // Selects of the rows the write's UPDATE or DELETE statements touch, by
    // the same conditions: read before renewing and again under the hold,
    // the write runs only when both reads give the same rows with the same
    // values.
    std::vector<std::vector<std::string>> letture{};
    // The command's error box for a list or rows changed meanwhile.
    std::string errore{};
    // The command's own checks, made again under the hold on the renewed
    // view: the warning of the first that fails, which stops the write;
    // "" when all pass.
    std::function<std::string()> controlla{};
  };

  // For a write that takes nothing from the list's old view (an import):
  // the transaction alone is renewed, and the write runs whatever the
  // header holds now.
  static Rinnovo SoloTransazione() { return {.stessaTestata = false}; }

  // Locks the header of list `idListino` in `scrittura`; the outcome says
  // whether it is held.
  PresaListino(db::Transaction& scrittura, const std::string& idListino);
  // The hold of the list for a write in `scrittura`. A view older than
  // another session's write to the list is renewed as `rinnovo` says and
  // the list held again. Null, after the operator was told why, when the
  // list cannot be held or the write must not run on the renewed view.
  static std::unique_ptr<PresaListino> Prendi(db::Transaction& scrittura,
                                              const std::string& idListino, const Rinnovo& rinnovo);
  // A hold never confirmed is given back with a retaining rollback of what
  // the transaction did since it was taken.
  ~PresaListino();
  PresaListino(const PresaListino&) = delete;
  PresaListino& operator=(const PresaListino&) = delete;

  Esito Stato() const { return esito_; }
  bool Presa() const { return esito_ == Esito::Presa; }
  // The operator's warning for a list not held; "" when held.
  std::string Messaggio() const;
  // Commits (retaining) the rows written under the hold, which ends it.
  void Conferma();
  // Gives the hold back at once: a retaining rollback of what the
  // transaction did since it was taken.
  void Annulla();

 private:
  db::Transaction& scrittura_;
  int id_ = 0;
  Esito esito_ = Esito::Cancellato;
  bool aperta_ = false;
};

}  // namespace velmaro
