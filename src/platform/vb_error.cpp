#include "platform/vb_error.h"

#include <cmath>

namespace tellumo::vb {

VbError::VbError(int number, const std::string& what)
    : std::runtime_error(what.empty() ? "error " + std::to_string(number) : what), number_(number) {}

void Raise(int number, const std::string& what) { throw VbError(number, what); }

double Divide(double a, double b) {
  if (b == 0.0) Raise(kErrDivisionByZero, "division by zero");
  return CheckFinite(a / b);
}

double Ln(double x) {
  if (!(x > 0.0) || !std::isfinite(x)) Raise(kErrInvalidCall, "logarithm of a value <= 0");
  return std::log(x);
}

double CheckFinite(double x) {
  if (!std::isfinite(x)) Raise(kErrOverflow, "overflow");
  return x;
}

int Index(int i, int lo, int hi) {
  if (i < lo || i > hi) Raise(kErrSubscript, "subscript out of range");
  return i;
}

}  // namespace tellumo::vb
