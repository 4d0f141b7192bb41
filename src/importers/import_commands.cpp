#include "importers/import_commands.h"

namespace tellumo {

// Each conversion will turn an instrument or foreign file into a sounding
// file of the current format.
void Sheet_Click() {
  // Will convert a sheet of several soundings.
}
void RES2DINV_Click() {
  // Will convert a RES2DINV file, with Wenner selected while it runs.
}
void SAS1000_Click() {
  // Will convert a SAS1000 file.
}
void NAbem_Click() {
  // Will convert an ABEM file.
}
void Syscal_Click() {
  // Will convert a Syscal file.
}
void Geotrade_Click() {
  // Will convert a Geotrade file.
}
void PASI_Click() {
  // Will convert a PASI file.
}
void astier_Click() {
  // Will convert an Astier file.
}
void OYO_Click() {
  // Will convert an OYO file.
}

}  // namespace tellumo
