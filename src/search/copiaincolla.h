#pragma once
// The copy and paste documents handed to Kestrin.dll to duplicate a record
// with its detail rows: typed bindings over an XML document. Each binding
// class stands for one element; a child element is created the first time
// it is read or written, so a document holds exactly what its maker
// touched, in that order. Every binding keeps its document alive.
#include <memory>
#include <string>

namespace pugi {
struct xml_node_struct;
}  // namespace pugi

namespace velmaro {

// One element of a document.
class TXMLNodo {
 public:
  TXMLNodo() = default;
  TXMLNodo(std::shared_ptr<void> documento, pugi::xml_node_struct* nodo)
      : documento_(std::move(documento)), nodo_(nodo) {}
  bool Valido() const { return nodo_ != nullptr; }
  const std::string& NomeElemento() const;
  // The element's XML: no declaration, no indentation, no line breaks, an
  // empty element written with its end tag.
  std::string Xml() const;

 protected:
  // The text of child `nome`, which is created when missing.
  std::string Testo(const char* nome);
  void ImpostaTesto(const char* nome, const std::string& valore);
  std::string Attributo(const char* nome);
  void ImpostaAttributo(const char* nome, const std::string& valore);
  // Child `nome`, created when missing.
  template <class T>
  T Figlio(const char* nome) {
    return T(documento_, CreaFiglio(nome));
  }
  pugi::xml_node_struct* CreaFiglio(const char* nome);

  // The repeated children `nome` of this element.
  int ContaFigli(const char* nome) const;
  pugi::xml_node_struct* FiglioN(const char* nome, int indice) const;  // throws out_of_range
  pugi::xml_node_struct* AggiungiFiglio(const char* nome);
  pugi::xml_node_struct* InserisciFiglio(const char* nome, int indice);  // before the indice-th
  void TogliFigli(const char* nome);

  std::shared_ptr<void> documento_;
  pugi::xml_node_struct* nodo_ = nullptr;

 private:
  mutable std::string nome_;
};

// A collection of repeated children of one name, of binding class T.
template <class T>
class TXMLLista : public TXMLNodo {
 public:
  using TXMLNodo::TXMLNodo;
  int Count() const { return ContaFigli(T::kNome); }
  T Item(int i) const { return T(documento_, FiglioN(T::kNome, i)); }
  T Add() { return T(documento_, AggiungiFiglio(T::kNome)); }
  T Insert(int i) { return T(documento_, InserisciFiglio(T::kNome, i)); }
  void Clear() { TogliFigli(T::kNome); }
};

// Name, type and value of a field: the key, master and detail fields.
class TXMLCampoNTV : public TXMLNodo {
 public:
  using TXMLNodo::TXMLNodo;
  std::string Nome() { return Testo("Nome"); }
  void SetNome(const std::string& v) { ImpostaTesto("Nome", v); }
  std::string Tipo() { return Testo("Tipo"); }
  void SetTipo(const std::string& v) { ImpostaTesto("Tipo", v); }
  std::string Valore() { return Testo("Valore"); }
  void SetValore(const std::string& v) { ImpostaTesto("Valore", v); }
};

class TXMLCampoChiaveType : public TXMLCampoNTV {
 public:
  static constexpr const char* kNome = "CampoChiave";
  using TXMLCampoNTV::TXMLCampoNTV;
};
class TXMLChiavePrimariaType : public TXMLLista<TXMLCampoChiaveType> {
 public:
  using TXMLLista::TXMLLista;
};

class TXMLCampoMasterType : public TXMLCampoNTV {
 public:
  static constexpr const char* kNome = "CampoMaster";
  using TXMLCampoNTV::TXMLCampoNTV;
};
class TXMLCampiMasterType : public TXMLLista<TXMLCampoMasterType> {
 public:
  using TXMLLista::TXMLLista;
};

class TXMLCampoDettagliType : public TXMLCampoNTV {
 public:
  static constexpr const char* kNome = "CampoDettagli";
  using TXMLCampoNTV::TXMLCampoNTV;
};
// The fields of one detail row, repeated directly inside CampiDettagli.
class TXMLCampoDettagliTypeList : public TXMLLista<TXMLCampoDettagliType> {
 public:
  using TXMLLista::TXMLLista;
};

// One detail row: its number and its fields.
class TXMLCampiDettagliType : public TXMLNodo {
 public:
  static constexpr const char* kNome = "CampiDettagli";
  using TXMLNodo::TXMLNodo;
  int Riga();  // 0 when empty or no number
  void SetRiga(int v);
  TXMLCampoDettagliTypeList CampoDettagli() { return TXMLCampoDettagliTypeList(documento_, nodo_); }
};
// The detail rows, repeated directly inside TabellaDettagli.
class TXMLCampiDettagliTypeList : public TXMLLista<TXMLCampiDettagliType> {
 public:
  using TXMLLista::TXMLLista;
};

class TXMLCampoCollegamentoType : public TXMLNodo {
 public:
  static constexpr const char* kNome = "CampoCollegamento";
  using TXMLNodo::TXMLNodo;
  std::string TabMaster() { return Testo("TabMaster"); }
  void SetTabMaster(const std::string& v) { ImpostaTesto("TabMaster", v); }
  std::string TabDettagli() { return Testo("TabDettagli"); }
  void SetTabDettagli(const std::string& v) { ImpostaTesto("TabDettagli", v); }
};
class TXMLCampiCollegamentoType : public TXMLLista<TXMLCampoCollegamentoType> {
 public:
  using TXMLLista::TXMLLista;
};

class TXMLTabellaDettagliType : public TXMLNodo {
 public:
  static constexpr const char* kNome = "TabellaDettagli";
  using TXMLNodo::TXMLNodo;
  std::string Nome() { return Testo("Nome"); }
  void SetNome(const std::string& v) { ImpostaTesto("Nome", v); }
  TXMLCampiCollegamentoType CampiCollegamento() {
    return Figlio<TXMLCampiCollegamentoType>("CampiCollegamento");
  }
  TXMLCampiDettagliTypeList CampiDettagli() { return TXMLCampiDettagliTypeList(documento_, nodo_); }
};
class TXMLTabelleDettagliType : public TXMLLista<TXMLTabellaDettagliType> {
 public:
  using TXMLLista::TXMLLista;
};

// The copy document: which master row of which table, with which details.
class TXMLCopiaType : public TXMLNodo {
 public:
  using TXMLNodo::TXMLNodo;
  std::string Data() { return Attributo("data"); }
  void SetData(const std::string& v) { ImpostaAttributo("data", v); }
  std::string Ora() { return Attributo("ora"); }
  void SetOra(const std::string& v) { ImpostaAttributo("ora", v); }
  std::string Ditta() { return Testo("Ditta"); }
  void SetDitta(const std::string& v) { ImpostaTesto("Ditta", v); }
  std::string TabellaMaster() { return Testo("TabellaMaster"); }
  void SetTabellaMaster(const std::string& v) { ImpostaTesto("TabellaMaster", v); }
  TXMLTabelleDettagliType TabelleDettagli() {
    return Figlio<TXMLTabelleDettagliType>("TabelleDettagli");
  }
  TXMLChiavePrimariaType ChiavePrimaria() {
    return Figlio<TXMLChiavePrimariaType>("ChiavePrimaria");
  }
  TXMLCampiMasterType CampiMaster() { return Figlio<TXMLCampiMasterType>("CampiMaster"); }
};

class TXMLCampoPersIType : public TXMLNodo {
 public:
  static constexpr const char* kNome = "CampoPersI";
  using TXMLNodo::TXMLNodo;
  std::string CampoI() { return Testo("CampoI"); }
  void SetCampoI(const std::string& v) { ImpostaTesto("CampoI", v); }
  std::string EtichettaI() { return Testo("EtichettaI"); }
  void SetEtichettaI(const std::string& v) { ImpostaTesto("EtichettaI", v); }
  std::string RiportoI() { return Testo("RiportoI"); }
  void SetRiportoI(const std::string& v) { ImpostaTesto("RiportoI", v); }
};
class TXMLCampiPersIType : public TXMLLista<TXMLCampoPersIType> {
 public:
  using TXMLLista::TXMLLista;
};

// The paste document: into which master table, and which master fields
// the operator gives new values for.
class TXMLIncollaType : public TXMLNodo {
 public:
  using TXMLNodo::TXMLNodo;
  std::string TabellaMasterI() { return Testo("TabellaMasterI"); }
  void SetTabellaMasterI(const std::string& v) { ImpostaTesto("TabellaMasterI", v); }
  std::string GeneratoreI() { return Testo("GeneratoreI"); }
  void SetGeneratoreI(const std::string& v) { ImpostaTesto("GeneratoreI", v); }
  TXMLCampiPersIType CampiPersI() { return Figlio<TXMLCampiPersIType>("CampiPersI"); }
};

// New documents (version "1.0"), given as their root bindings.
TXMLCopiaType GetCopia();
TXMLIncollaType GetIncolla();
// A received document (UTF-8 text); throws std::runtime_error with the
// parser's message when it is not well-formed or its root is another.
TXMLCopiaType LeggiCopia(const std::string& testo);
TXMLIncollaType LeggiIncolla(const std::string& testo);

}  // namespace velmaro
