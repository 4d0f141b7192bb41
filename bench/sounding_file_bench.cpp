// Reading and writing a full sounding file (51 points, 20 layers) in memory.
#include <benchmark/benchmark.h>

#include "modelling/superposition_store.h"
#include "platform/message_service.h"
#include "sounding/sounding_file.h"
#include "sounding/sounding_record.h"

namespace {

using namespace tellumo;

void FillSounding() {
  ResetSoundingRecord();
  PointCount = 51;
  for (int i = 1; i <= 51; ++i) {
    FieldData[i][kSpacing1] = 1.0f + static_cast<float>(i);
    FieldData[i][kRhoApparent] = 100.0f + static_cast<float>(i) * 1.25f;
    FieldData[i][kSpacing2] = 0.5f;
    FieldData[i][kDeltaV] = 12.34f;
    FieldData[i][kKFactor] = 6.28f;
    FieldData[i][kCurrent] = 10.0f;
  }
  for (int j = 1; j <= 20; ++j) {
    LayerModel[j][kLayerRho] = 10.0f * static_cast<float>(j);
    LayerModel[j][kLayerThickness] = j < 20 ? 2.5f : 0.0f;
  }
  SoundingComment = QStringLiteral("bench");
}

void BM_WriteSoundingFile(benchmark::State& state) {
  FillSounding();
  for (auto _ : state) benchmark::DoNotOptimize(SoundingFileV5Bytes());
}
BENCHMARK(BM_WriteSoundingFile);

void BM_ReadSoundingFile(benchmark::State& state) {
  FillSounding();
  QByteArray bytes = SoundingFileV5Bytes();
  for (auto _ : state) {
    ResetSuperpositionStore();
    FileVersion = 3;
    ReadSoundingBytes(bytes);
    benchmark::DoNotOptimize(PointCount);
  }
}
BENCHMARK(BM_ReadSoundingFile);

}  // namespace

BENCHMARK_MAIN();
