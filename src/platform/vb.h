#pragma once
// Number and text semantics of the classic Basic runtime that the program's
// files, grids and messages depend on. No C locale function is used: the
// application object sets the process locale from the user's environment.
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/vb_error.h"

namespace tellumo::vb {

// Str(): leading blank when not negative, no zero before the decimal point,
// 7 significant digits for a single, 15 for a double, exponent form for large
// and very small magnitudes (" 1.234568E+07", " 1E-05").
QString Str(double v);
QString StrSingle(float v);

// The form Write # and Print # give a number in a file: Str() without the
// leading blank ("1.234568E+07", ".5", "-3").
QString FileNumber(float v);
QString FileNumberDouble(double v);
// The file form with up to `digits` significant digits (7 is FileNumber), the
// exponent form still from 1E+07: where 7 digits cannot give a single back
// exactly, 9 always can.
QString FileNumberDigits(float v, int digits);

// Val(): blanks, tabs and line feeds are ignored anywhere, the number at the
// start of the text is read ("1 000,5" -> 1000), 0 when there is none.
double Val(std::string_view s);
double Val(const QString& s);

// Conversions to 16- and 32-bit integers: nearest, halves to even; error 6
// outside the range.
int16_t CInt(double v);
int32_t CLng(double v);
double RoundHalfEven(double v);
// Int() rounds down, Fix() toward zero.
double Int(double v);
double Fix(double v);

// A numeric cell of a table: empty, a single or a double. An empty cell counts
// as 0 in arithmetic; the kind decides how the value prints.
class Cell {
 public:
  enum class Kind : uint8_t { Empty, Single, Double };

  Cell() = default;
  Cell(float v) : kind_(Kind::Single), value_(v) {}   // NOLINT: a cell takes numbers as Basic does
  Cell(double v) : kind_(Kind::Double), value_(v) {}  // NOLINT
  Cell(int v) : kind_(Kind::Double), value_(v) {}     // NOLINT

  Cell& operator=(float v) { kind_ = Kind::Single; value_ = v; return *this; }
  Cell& operator=(double v) { kind_ = Kind::Double; value_ = v; return *this; }
  Cell& operator=(int v) { kind_ = Kind::Double; value_ = v; return *this; }

  Kind kind() const { return kind_; }
  bool empty() const { return kind_ == Kind::Empty; }
  double value() const { return value_; }
  operator double() const { return value_; }  // NOLINT: empty is 0 in arithmetic
  void clear() { kind_ = Kind::Empty; value_ = 0.0; }

  // Print form: "" when empty, else the number as Str() gives it for its kind.
  QString printText() const;
  // Str() of the cell: " 0" when empty.
  QString str() const;

  // Same kind and value; == compares the numbers (an empty cell equals 0).
  bool identical(const Cell& o) const { return kind_ == o.kind_ && value_ == o.value_; }

 private:
  Kind kind_ = Kind::Empty;
  double value_ = 0.0;
};

}  // namespace tellumo::vb
