#pragma once
// What a format's parser makes of a foreign file, without touching the
// current sounding: the points as the sounding's field table takes them, an
// optional layer model, the texts, the array the file names, and the
// problems met. Parsers take bytes and return this; only the import frame
// (import_frame.h) moves it into the shared sounding, plots, asks and saves.
#include <QString>
#include <QStringList>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/vb.h"

namespace tellumo {

struct ImportedSounding {
  // One row per point, FieldData columns 1 to 6: first spacing, apparent
  // resistivity, second spacing, deltaV, K, I. The cells keep the kind (single or
  // double) the format's arithmetic gives them, as the sounding file writes
  // each kind in its own form.
  std::vector<std::array<vb::Cell, 6>> points;
  // Layers 1 to 20 when the file carries a model: LayerModel columns 1 to 3
  // (resistivity, thickness, depth of top) as the format gives them.
  std::vector<std::array<vb::Cell, 3>> layers;
  // The texts the file gives (empty otherwise: an imported sounding starts
  // with no texts of the sounding open before).
  QString comment, instrument, title, x, y, z, azimuth;
  // "0" Schlumberger, "1" dipole, "2" Wenner, when the file says which.
  std::optional<QString> arrayCode;
  // Largest first spacing as the frame sets MaxSpacing from it (0: from the
  // points).
  int16_t maxSpacing = 0;
};

// What parsing a file came to.
struct ImportResult {
  enum class Outcome {
    Read,          // the whole file was read
    ReadingError,  // a reading error: `sounding` holds the points read before it
    Refused,       // the file is not taken (a wrong mode, a count not a number...)
  };
  Outcome outcome = Outcome::Read;
  ImportedSounding sounding;
  // Line (from 1) where a reading error or a refusal was met; 0 when none.
  int line = 0;
  // Messages for the user, in the current language, in the order met (a
  // refusal's reason, "only the first 51 points", a warning about the
  // array word...). The frame shows them.
  QStringList messages;
};

// The decade exponent of the largest spacing, as the readers give MaxSpacing
// (1 m gives 0; the next computation widens it to the points again).
inline int16_t SpacingDecade(int16_t largest) {
  return vb::CInt(0.4343 * std::log(static_cast<double>(largest)));
}

}  // namespace tellumo
