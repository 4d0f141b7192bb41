#include "fuzz_support.h"

#include <QList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "importers/import_frame.h"
#include "mainwindow/state_reset.h"
#include "platform/vb_error.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace tellumo::fuzz {

InputScope::InputScope() : messageScope_(&boxes), dialogScope_(&dialogs) {
  boxes.expectAny();
  ResetAllState();
}

InputScope::~InputScope() = default;

QByteArray Bytes(const uint8_t* data, size_t size) {
  // A deep copy: a reader may keep parts of what it was given.
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

void Fail(const QString& what) {
  std::fprintf(stderr, "\n*** invariant broken: %s\n\n", what.toLocal8Bit().constData());
  std::fflush(stderr);
  std::abort();
}

void CheckSoundingShape() {
  if (PointCount < 0 || PointCount > kMaxFilePoints) Fail(QStringLiteral("PointCount %1").arg(PointCount));
  if (LayerCount < 0 || LayerCount > kMaxLayers) Fail(QStringLiteral("LayerCount %1").arg(LayerCount));
  for (int r = 0; r < kFieldRows; ++r)
    for (int c = 0; c < kFieldCols; ++c)
      if (!std::isfinite(FieldData[r][c].value()))
        Fail(QStringLiteral("FieldData(%1, %2) = %3").arg(r).arg(c).arg(FieldData[r][c].value()));
  for (int r = 0; r < kLayerRows; ++r)
    for (int c = 0; c < kLayerCols; ++c)
      if (!std::isfinite(LayerModel[r][c].value()))
        Fail(QStringLiteral("LayerModel(%1, %2) = %3").arg(r).arg(c).arg(LayerModel[r][c].value()));
}

namespace {

// The largest magnitude among the points' fields and among the layers', to
// say which value a refused save stumbled on.
QString LargestValues() {
  auto largest = [](auto cell, int rows, int cols) {
    double best = 0.0;
    QString where = QStringLiteral("none");
    for (int r = 1; r <= rows; ++r)
      for (int c = 1; c < cols; ++c)
        if (std::abs(cell(r, c)) > std::abs(best)) {
          best = cell(r, c);
          where = QStringLiteral("(%1, %2)").arg(r).arg(c);
        }
    return QStringLiteral("%1 at %2").arg(best, 0, 'g', 9).arg(where);
  };
  return QStringLiteral("largest point field %1, largest layer field %2")
      .arg(largest([](int r, int c) { return FieldData[r][c].value(); }, std::clamp<int>(PointCount, 0, kMaxFilePoints),
                   kRhoUnshifted),  // fields 1 to 6 are saved
           largest([](int r, int c) { return LayerModel[r][c].value(); }, kMaxLayers, kLayerCols));
}

QByteArray SaveOrFail(const char* when) {
  try {
    return SoundingFileV5Bytes();
  } catch (const vb::VbError& e) {
    Fail(QStringLiteral("%1: the sounding cannot be saved (error %2 %3; %4)")
             .arg(QLatin1String(when))
             .arg(e.number())
             .arg(QString::fromStdString(e.what()), LargestValues()));
  }
}

// The first line where two files differ, both versions, for the report.
QString FirstDifference(const QByteArray& a, const QByteArray& b) {
  const QList<QByteArray> la = a.split('\n');
  const QList<QByteArray> lb = b.split('\n');
  for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
    const QByteArray x = i < la.size() ? la[i].trimmed() : QByteArray("(none)");
    const QByteArray y = i < lb.size() ? lb[i].trimmed() : QByteArray("(none)");
    if (x != y)
      return QStringLiteral("line %1: \"%2\" then \"%3\"")
          .arg(i + 1)
          .arg(QString::fromLatin1(x), QString::fromLatin1(y));
  }
  return QStringLiteral("no line differs");
}

}  // namespace

void CheckSavedSoundingReadsBack() {
  const QByteArray saved = SaveOrFail("after the reading");

  // Opened again from nothing, as after a restart: only the file speaks.
  InputScope again;
  FileTitle = QStringLiteral("saved.TM3");
  FileVersion = 3;
  if (!ReadSoundingBytes(saved)) Fail(QStringLiteral("a saved sounding is refused when read back"));
  if (!again.boxes.boxes.empty())
    Fail(QStringLiteral("a saved sounding reads back with a message: ") + again.boxes.boxes.front().text);
  CheckSoundingShape();

  const QByteArray resaved = SaveOrFail("after reading the saved file");
  if (resaved != saved)
    Fail(QStringLiteral("saving what was saved changes the file: ") + FirstDifference(saved, resaved));
}

void CheckOneSoundingImport(const ImportResult& r, int maxDecade) {
  if (r.outcome == ImportResult::Outcome::Refused) {
    if (!r.sounding.points.empty() || r.messages.isEmpty())
      Fail(QStringLiteral("a refusal that took points or said nothing"));
    return;
  }
  if (r.sounding.maxSpacing < 0 || r.sounding.maxSpacing > maxDecade)
    Fail(QStringLiteral("decade %1").arg(r.sounding.maxSpacing));
  for (const auto& p : r.sounding.points)
    for (const vb::Cell& c : p)
      if (!std::isfinite(c.value())) Fail(QStringLiteral("a point value not finite"));
  for (const auto& l : r.sounding.layers)
    for (const vb::Cell& c : l)
      if (!std::isfinite(c.value())) Fail(QStringLiteral("a layer value not finite"));
  InputScope scope;
  PutImportedSounding(r.sounding);
  CheckSoundingShape();
}

}  // namespace tellumo::fuzz
