#include "profiles/profile_reader.h"

#include <cmath>

#include "mainwindow/program_state.h"
#include "platform/text_file.h"
#include "platform/vb_error.h"

namespace tellumo {

namespace {

// Lines of the file, the last one counted also without its line end.
qsizetype LineCount(const QByteArray& bytes) {
  qsizetype lines = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') ++lines;
    else if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) ++lines;
  }
  if (!bytes.isEmpty() && bytes.back() != '\n' && bytes.back() != '\r') ++lines;
  return lines;
}

void ReadBody(const QByteArray& bytes, ProfileSounding& s) {
  FieldReader in(bytes);
  // The integer part of the first number is the point count; its fraction
  // names the version, which the profile does not need.
  const float first = in.readSingle();
  if (first < 0.0f) vb::Raise(vb::kErrInvalidCall, "negative point count");
  const double count = std::trunc(static_cast<double>(first));
  // Every point takes a line of its own: a count the file cannot hold is not
  // a count, and must not be looped over.
  if (count > static_cast<double>(LineCount(bytes))) vb::Raise(vb::kErrPastEnd, "point count beyond the file");
  s.pointCount = static_cast<int>(count);
  for (int i = 1; i <= s.pointCount; ++i) {
    const float f = in.readSingle();
    for (int k = 2; k <= 6; ++k) in.readSingle();
    s.lastSpacingField = f;
  }
  for (auto& layer : s.layers)
    for (double& field : layer) field = in.readSingle();
  // The texts: a file may end after its layers, as the program's reader
  // allows; what it lacks stays empty.
  for (QString* t : {&s.comment, &s.instrument, &s.title, &s.x, &s.y, &s.z, &s.azimuth}) {
    if (in.atEnd()) break;
    *t = in.readText();
  }
}

}  // namespace

bool ParseProfileSounding(const QByteArray& bytes, ProfileSounding& out) {
  ProfileSounding s;
  try {
    ReadBody(bytes, s);
  } catch (const vb::VbError&) {
    out = ProfileSounding{};
    return false;
  }
  out = std::move(s);
  return true;
}

bool ReadProfileSounding(const QString& path, ProfileSounding& out) {
  QByteArray bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const vb::VbError&) {
    out = ProfileSounding{};
    return false;
  }
  return ParseProfileSounding(bytes, out);
}

float InvestigationDepth(const ProfileSounding& s) {
  const float f = static_cast<float>(s.lastSpacingField);
  if (Option3) return f * 3.0f / 30.0f;
  return 2.0f * f / 30.0f;
}

}  // namespace tellumo
