// The settings reader: the profile-file parser, then every key of the
// settings file read from it.
#include "fuzz_support.h"
#include "platform/profile_file.h"
#include "sounding/settings_file.h"
#include "sounding/sounding_record.h"

using namespace tellumo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputScope scope;
  const ProfileText profile(fuzz::Bytes(data, size));

  // The text a profile writes is read as the same profile: writing a key
  // into a file must not change what the rest of it says.
  const QByteArray written = profile.bytes();
  if (ProfileText(written).bytes() != written) fuzz::Fail(QStringLiteral("a written profile reads back otherwise"));

  ReadSettings(profile);
  fuzz::CheckSoundingShape();
  // The plot frame draws nine lines a decade: a decade read beyond what any
  // sounding spans would stall the start-up.
  for (const int32_t decade : {int32_t{AB2MinDecade}, int32_t{AB2MaxDecade}, int32_t{RhoMinDecade}, RhoMaxDecade})
    if (decade < -9 || decade > 9) fuzz::Fail(QStringLiteral("an axis decade of %1 was read").arg(decade));
  return 0;
}
