#pragma once
// The File menu's conversions of instrument and foreign files.
namespace tellumo {

void Sheet_Click();
void RES2DINV_Click();
void SAS1000_Click();
void NAbem_Click();
void Syscal_Click();
void Geotrade_Click();
void PASI_Click();
void astier_Click();
void OYO_Click();

}  // namespace tellumo
