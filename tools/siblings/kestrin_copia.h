#pragma once
// The copy and paste of the Kestrin.dll stand-in. The copy document is
// kept in the host folder ("Kestrin/copia-<operator>.xml") between the two
// calls, since the library is unloaded after each; the paste asks the
// operator for the fields its document names, then writes a copy of the
// master row and of its detail rows in one transaction.
#include <cstdint>
#include <string>

namespace siblings {

// Appends one line to the file named by VELMARO_SIBLING_LOG, when set, so
// a script or a test can see each document received.
void Registra(const std::string& riga);

// Both take the documents as UTF-8 and raise std::exception on failure.
void Copia(std::int32_t utente, const std::string& documento);
// Nothing is written when the operator refuses the dialog, nor when any
// step fails.
void Incolla(std::int32_t utente, const std::string& documento);

}  // namespace siblings
