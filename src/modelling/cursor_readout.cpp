#include "modelling/cursor_readout.h"

#include "mainwindow/ui_hooks.h"

#include <cmath>

#include "mainwindow/program_state.h"
#include "modelling/bilog_frame.h"
#include "platform/vb.h"

namespace tellumo {

QString Text1;

namespace {

void ShowReadout(float x, float y) {
  Bilog().MousePointer().set(Pointer::Cross);
  vb::Step([&] {
    Text1 = CursorReadoutText(x, y);
    CallHook(Ui().statusTextChanged);
  });
}

double ValueAt(float decades) { return ReadoutValue(std::pow(10.0, static_cast<double>(decades)), decades <= 1.0f); }

}  // namespace

double ReadoutValue(double v, bool oneDecimal) {
  if (oneDecimal) return std::floor(v * 10.0) / 10.0;
  return vb::CLng(v);
}

QString CursorReadoutText(float x, float y) {
  const double a = ValueAt(x);
  const double r = ValueAt(y);
  const QString label = Option1 ? QStringLiteral("AB/2=") : Option2 ? QStringLiteral("AM=") : QStringLiteral("A=");
  return label + vb::Str(a).left(6) + QStringLiteral("  R=") + vb::Str(r).left(7);
}

void Bilog_MouseDown(int16_t /*button*/, int16_t /*shift*/, float x, float y) { ShowReadout(x, y); }
void Bilog_MouseMove(int16_t /*button*/, int16_t /*shift*/, float x, float y) { ShowReadout(x, y); }

void ResetCursorReadout() { Text1.clear(); }

}  // namespace tellumo
