#pragma once
// A writer of a list's rows holds the list while it writes: the header row
// of LISTSC is locked in the transaction the rows are written in, from
// before the writer's checks until its commit. Meanwhile another session
// can neither delete the list nor write its rows; once committed, the
// header's new version makes a session whose view predates these rows
// refuse to delete or write the list, since its view would miss them.
// The editor's row pages, its list deletion and the exchange windows
// share it.
#include <memory>
#include <string>

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

  // Locks the header of list `idListino` in `scrittura`; the outcome says
  // whether it is held.
  PresaListino(db::Transaction& scrittura, const std::string& idListino);
  // The hold of the list; null, after a warning box with the reason, when
  // the list cannot be held.
  static std::unique_ptr<PresaListino> Prendi(db::Transaction& scrittura,
                                              const std::string& idListino);
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
  Esito esito_ = Esito::Cancellato;
  bool aperta_ = false;
};

}  // namespace velmaro
