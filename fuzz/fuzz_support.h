#pragma once
// What every fuzz target shares: a fresh program state for each input, boxes
// and dialogs that never wait for anybody, and the invariants a reader must
// keep whatever the bytes. A broken invariant prints what broke and aborts,
// so that libFuzzer keeps the input and the replay test fails on it.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "importers/imported_sounding.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"

namespace tellumo::fuzz {

// One input's run: every module back to start-up, message boxes answered with
// their first button and recorded, every dialog cancelled. The previous
// services come back when the scope ends.
class InputScope {
 public:
  InputScope();
  ~InputScope();
  InputScope(const InputScope&) = delete;
  InputScope& operator=(const InputScope&) = delete;

  ScriptedMessageService boxes;
  ScriptedDialogService dialogs;

 private:
  ScopedMessageService messageScope_;
  ScopedDialogService dialogScope_;
};

QByteArray Bytes(const uint8_t* data, size_t size);

// Prints the broken invariant and aborts.
[[noreturn]] void Fail(const QString& what);

// PointCount 0 to 51, LayerCount 0 to 20, every cell of FieldData and
// LayerModel finite.
void CheckSoundingShape();

// For a sounding a reader took over: it can be saved, and what is saved
// reads back without a message and saves again to the same bytes.
void CheckSavedSoundingReadsBack();

// A reader of one sounding whose refusal takes no point and says why: the
// decade within 0 to `maxDecade`, every point and layer finite; then the
// frame's record step takes the sounding and its shape holds.
void CheckOneSoundingImport(const ImportResult& r, int maxDecade);

}  // namespace tellumo::fuzz
