// Pasting the clipboard's text into the data grid, then computing the field
// data from what was pasted. The first byte chooses the array and the tab's
// switches, the second the row the paste starts at; the rest, cut at its NUL
// bytes, is pasted column after column (AB/2, MN/2, ΔV, I, resistivity), each
// part as the clipboard text a double-click pastes.
#include <iterator>

#include "fuzz_support.h"
#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "platform/vb_error.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  const uint8_t switches = size > 0 ? data[0] : 0;
  const int firstRow = size > 1 ? 1 + data[1] % kGridDataRows : 1;
  const QByteArray text = size > 2 ? fuzz::Bytes(data + 2, size - 2) : QByteArray();

  // Bits 0-1: Schlumberger (0 or 3), dipole (1), Wenner (2); bit 2 half
  // array, bit 3 shifting, bit 4 marine floor, bit 5 a water resistivity.
  const int array = (switches & 0x03) % 3;
  Option1 = array == 0 ? kTrue : kFalse;
  Option2 = array == 1 ? kTrue : kFalse;
  Option3 = array == 2 ? kTrue : kFalse;
  ArrayCode = QString::number(array);
  Check10.Value = switches & 0x04 ? 1 : 0;
  HalfArrayFactor = static_cast<int16_t>(Check10.Value + 1);
  lissbox.Value = switches & 0x08 ? 1 : 0;
  ShiftedFlag = lissbox.Value;
  Marine_floor.Value = switches & 0x10 ? 1 : 0;
  Reau.Text = switches & 0x20 ? QStringLiteral("0.2") : QString();
  FileTitle = QStringLiteral("NEW");
  LayOutDataGrid();

  QString clipboard;
  DataTabUi().clipboardText = [&clipboard] { return clipboard; };
  DataTabUi().clearClipboard = [&clipboard] { clipboard.clear(); };

  static const int kColumns[] = {kGridSpacing1, kGridSpacing2, kGridDeltaV, kGridCurrent, kGridRho};
  const QList<QByteArray> parts = text.split('\0');
  for (qsizetype i = 0; i < parts.size() && i < qsizetype(std::size(kColumns)); ++i) {
    BuildGrid().setRow(firstRow);
    BuildGrid().setCol(kColumns[i]);
    clipboard = QString::fromUtf8(parts[i]);
    BuildGrid_DblClick();
  }
  fuzz::CheckSoundingShape();

  vb::Step([] { ComputeFieldData(); });
  fuzz::CheckSoundingShape();
  DataTabUi() = DataTabHooks{};  // the hooks hold the local clipboard
  return 0;
}
