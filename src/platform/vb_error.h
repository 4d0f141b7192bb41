#pragma once
// Run-time errors with the numbers the program's messages are keyed on, and the
// "continue past errors" way most handlers run their steps.
#include <stdexcept>
#include <string>

namespace tellumo::vb {

// Error numbers as the classic runtime gives them; messages and file-error
// mapping depend on them.
enum ErrorNumber : int {
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrSubscript = 9,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrFileNotFound = 53,
  kErrPastEnd = 62,
  kErrDeviceUnavailable = 68,
  kErrPermissionDenied = 70,
  kErrPathAccess = 75,
  kErrPathNotFound = 76,
};

class VbError : public std::runtime_error {
 public:
  explicit VbError(int number, const std::string& what = {});
  int number() const { return number_; }

 private:
  int number_;
};

[[noreturn]] void Raise(int number, const std::string& what = {});

// Runs one step; a VbError it raises is swallowed and reported as false, so
// the next step of the handler runs. Other exceptions pass through.
template <class F>
bool Step(F&& f) {
  try {
    f();
    return true;
  } catch (const VbError&) {
    return false;
  }
}

// Explicit checks where C++ raises nothing but the program's failure paths
// expect an error.
double Divide(double a, double b);     // b == 0 -> error 11
double Ln(double x);                   // x <= 0 -> error 5
double CheckFinite(double x);          // inf or NaN -> error 6
int Index(int i, int lo, int hi);      // outside lo..hi -> error 9

}  // namespace tellumo::vb
