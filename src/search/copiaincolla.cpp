#include "search/copiaincolla.h"

#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

#include "platform/format.h"

namespace velmaro {

namespace {

pugi::xml_node Nodo(pugi::xml_node_struct* n) { return pugi::xml_node(n); }

pugi::xml_node CreaSeManca(pugi::xml_node padre, const char* nome) {
  pugi::xml_node figlio = padre.child(nome);
  return figlio ? figlio : padre.append_child(nome);
}

// A document of version "1.0" with its root: the declaration is kept in
// the document, the text handed over is the root's alone.
std::pair<std::shared_ptr<void>, pugi::xml_node_struct*> NuovoDocumento(const char* radice) {
  auto doc = std::shared_ptr<pugi::xml_document>(new pugi::xml_document);
  pugi::xml_node decl = doc->append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  pugi::xml_node root = doc->append_child(radice);
  return {doc, root.internal_object()};
}

std::pair<std::shared_ptr<void>, pugi::xml_node_struct*> Leggi(const std::string& testo,
                                                               const char* radice) {
  auto doc = std::shared_ptr<pugi::xml_document>(new pugi::xml_document);
  const pugi::xml_parse_result r =
      doc->load_buffer(testo.data(), testo.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!r) throw std::runtime_error(std::string("Documento XML non valido: ") + r.description());
  pugi::xml_node root = doc->document_element();
  if (std::string(root.name()) != radice)
    throw std::runtime_error(std::string("Documento XML non valido: radice diversa da ") + radice);
  return {doc, root.internal_object()};
}

}  // namespace

const std::string& TXMLNodo::NomeElemento() const {
  nome_ = Nodo(nodo_).name();
  return nome_;
}

std::string TXMLNodo::Xml() const {
  std::ostringstream out;
  Nodo(nodo_).print(
      out, "", pugi::format_raw | pugi::format_no_declaration | pugi::format_no_empty_element_tags,
      pugi::encoding_utf8);
  return out.str();
}

pugi::xml_node_struct* TXMLNodo::CreaFiglio(const char* nome) {
  return CreaSeManca(Nodo(nodo_), nome).internal_object();
}

std::string TXMLNodo::Testo(const char* nome) {
  return CreaSeManca(Nodo(nodo_), nome).text().get();
}

void TXMLNodo::ImpostaTesto(const char* nome, const std::string& valore) {
  CreaSeManca(Nodo(nodo_), nome).text().set(valore.c_str());
}

std::string TXMLNodo::Attributo(const char* nome) {
  pugi::xml_node n = Nodo(nodo_);
  pugi::xml_attribute a = n.attribute(nome);
  if (!a) a = n.append_attribute(nome);
  return a.value();
}

void TXMLNodo::ImpostaAttributo(const char* nome, const std::string& valore) {
  pugi::xml_node n = Nodo(nodo_);
  pugi::xml_attribute a = n.attribute(nome);
  if (!a) a = n.append_attribute(nome);
  a.set_value(valore.c_str());
}

int TXMLNodo::ContaFigli(const char* nome) const {
  int n = 0;
  for (pugi::xml_node c = Nodo(nodo_).child(nome); c; c = c.next_sibling(nome)) ++n;
  return n;
}

pugi::xml_node_struct* TXMLNodo::FiglioN(const char* nome, int indice) const {
  int i = 0;
  for (pugi::xml_node c = Nodo(nodo_).child(nome); c; c = c.next_sibling(nome), ++i)
    if (i == indice) return c.internal_object();
  throw std::out_of_range(std::string("Indice fuori dai limiti: ") + nome + " " +
                          plat::IntToStr(indice));
}

// After the last child of that name, so the repeated children stay together.
pugi::xml_node_struct* TXMLNodo::AggiungiFiglio(const char* nome) {
  pugi::xml_node padre = Nodo(nodo_);
  pugi::xml_node ultimo;
  for (pugi::xml_node c = padre.child(nome); c; c = c.next_sibling(nome)) ultimo = c;
  return (ultimo ? padre.insert_child_after(nome, ultimo) : padre.append_child(nome))
      .internal_object();
}

pugi::xml_node_struct* TXMLNodo::InserisciFiglio(const char* nome, int indice) {
  if (indice >= ContaFigli(nome)) return AggiungiFiglio(nome);
  pugi::xml_node prima = Nodo(FiglioN(nome, indice < 0 ? 0 : indice));
  return Nodo(nodo_).insert_child_before(nome, prima).internal_object();
}

void TXMLNodo::TogliFigli(const char* nome) {
  pugi::xml_node padre = Nodo(nodo_);
  while (pugi::xml_node c = padre.child(nome)) padre.remove_child(c);
}

void TXMLCampiDettagliType::SetRiga(int v) { ImpostaTesto("Riga", plat::IntToStr(v)); }

int TXMLCampiDettagliType::Riga() {
  int v = 0;
  return plat::TryStrToInt(Testo("Riga"), v) ? v : 0;
}

TXMLCopiaType GetCopia() {
  auto [doc, root] = NuovoDocumento("Copia");
  return TXMLCopiaType(doc, root);
}

TXMLIncollaType GetIncolla() {
  auto [doc, root] = NuovoDocumento("Incolla");
  return TXMLIncollaType(doc, root);
}

TXMLCopiaType LeggiCopia(const std::string& testo) {
  auto [doc, root] = Leggi(testo, "Copia");
  return TXMLCopiaType(doc, root);
}

TXMLIncollaType LeggiIncolla(const std::string& testo) {
  auto [doc, root] = Leggi(testo, "Incolla");
  return TXMLIncollaType(doc, root);
}

}  // namespace velmaro
