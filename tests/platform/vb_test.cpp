#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tellumo::vb {
namespace {

TEST(Str, TextFormsOfSinglesAndDoubles) {
  struct Case {
    double v;
    bool single;
    const char* text;
  } cases[] = {
      {0.5, false, " .5"},
      {-0.5, false, "-.5"},
      {4, false, " 4"},
      {0, false, " 0"},
      {1.3f, false, " 1.29999995231628"},  // a single seen as a double keeps 15 digits
      {1.3f, true, " 1.3"},
      {123.45, false, " 123.45"},
      {12345678, true, " 1.234568E+07"},
      {10000000, true, " 1E+07"},
      {9999999, true, " 9999999"},
      {1e15, false, " 1E+15"},
      {123456789012345.0, false, " 123456789012345"},
      {0.0001, false, " .0001"},
      {0.00001, false, " 1E-05"},
      {-2.5e-7, true, "-2.5E-07"},
      {0.2999992f, true, " .2999992"},
      {1e100, false, " 1E+100"},
  };
  for (const auto& c : cases) {
    QString got = c.single ? StrSingle(static_cast<float>(c.v)) : Str(c.v);
    EXPECT_EQ(got.toStdString(), c.text) << c.v;
  }
}

TEST(Str, FileNumbersHaveNoLeadingBlank) {
  EXPECT_EQ(FileNumber(25.5f), "25.5");
  EXPECT_EQ(FileNumber(0.5f), ".5");
  EXPECT_EQ(FileNumber(-3.0f), "-3");
  EXPECT_EQ(FileNumber(12345678.0f), "1.234568E+07");
  EXPECT_EQ(FileNumber(12345.0f), "12345");
}

// Every text Str gives must be a number Val takes back, and near the value:
// the largest doubles would otherwise round up past the largest double and
// fail with an overflow when a file or a grid holding them is read.
TEST(Str, ValReadsBackTheExtremes) {
  constexpr double kDoubleMax = std::numeric_limits<double>::max();
  constexpr float kSingleMax = std::numeric_limits<float>::max();
  struct Case {
    const char* name;
    double v;
    bool single;
    const char* text;  // nullptr: any text Val takes back
  } cases[] = {
      {"largest double", kDoubleMax, false, " 1.79769313486231E+308"},
      {"most negative double", -kDoubleMax, false, "-1.79769313486231E+308"},
      {"a double that rounds up to the same digits", 1.797693134862315e308, false, " 1.79769313486231E+308"},
      {"the double below the largest", std::nextafter(kDoubleMax, 0.0), false, nullptr},
      {"a double that rounds up to a power of ten", std::nextafter(1e308, 0.0), false, " 1E+308"},
      {"smallest normal double", std::numeric_limits<double>::min(), false, nullptr},
      {"smallest denormal double", std::numeric_limits<double>::denorm_min(), false, " 4.94065645841247E-324"},
      {"negative denormal double", -std::numeric_limits<double>::denorm_min(), false, "-4.94065645841247E-324"},
      {"a denormal double", 1e-320, false, nullptr},
      {"largest single", kSingleMax, true, " 3.402823E+38"},
      {"most negative single", -kSingleMax, true, "-3.402823E+38"},
      {"smallest normal single", std::numeric_limits<float>::min(), true, " 1.175494E-38"},
      {"smallest denormal single", std::numeric_limits<float>::denorm_min(), true, " 1.401298E-45"},
      {"negative denormal single", -std::numeric_limits<float>::denorm_min(), true, "-1.401298E-45"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString text = c.single ? StrSingle(static_cast<float>(c.v)) : Str(c.v);
    if (c.text) EXPECT_EQ(text.toStdString(), c.text);
    double back = 0.0;
    ASSERT_NO_THROW(back = Val(text)) << text.toStdString();
    // 15 digits for a double, 7 for a single, the last one possibly cut.
    const double tolerance = c.single ? 1e-6 : 1e-14;
    EXPECT_LE(std::abs(back - c.v), tolerance * std::abs(c.v)) << text.toStdString();
    EXPECT_EQ(std::signbit(back), std::signbit(c.v));
    // The file form is the same digits without the blank.
    const QString file = c.single ? FileNumber(static_cast<float>(c.v)) : FileNumberDouble(c.v);
    EXPECT_EQ(file, text.trimmed());
  }
}

TEST(Val, ReadsTheNumberAtTheStart) {
  struct Case {
    const char* text;
    double v;
  } cases[] = {
      {" 1 000,5", 1000},  {"12.5abc", 12.5}, {"", 0},       {"abc", 0},     {"-.5", -0.5},
      {" .5", 0.5},        {"1E3", 1000},     {"1e-2", 0.01}, {"2D2", 200},   {"1e", 1},
      {"&H10", 16},        {"&HFFFF", -1},    {"&O17", 15},   {"+7", 7},      {"3.4.5", 3.4},
      {"\t-12", -12},      {"-", 0},          {"1,5", 1},     {"12,345", 12}, {"1e-400", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(std::string_view(c.text)), c.v) << c.text;
  EXPECT_THROW(Val(std::string_view("1e400")), VbError);
}

TEST(Conversions, HalvesToEvenAndRanges) {
  struct Case {
    double v;
    int cint;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {2.4999, 2},
               {-0.6, -1}, {32767.4, 32767}, {-32768.4, -32768}};
  for (const auto& c : cases) EXPECT_EQ(CInt(c.v), c.cint) << c.v;
  EXPECT_THROW(CInt(40000), VbError);
  EXPECT_THROW(CInt(32767.5), VbError);
  EXPECT_THROW(CInt(NAN), VbError);
  EXPECT_EQ(CLng(40000.5), 40000);
  EXPECT_EQ(CLng(-2147483648.0), INT32_MIN);
  EXPECT_THROW(CLng(2147483648.0), VbError);
  try {
    CInt(1e6);
  } catch (const VbError& e) {
    EXPECT_EQ(e.number(), kErrOverflow);
  }
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Int(2.7), 2);
  EXPECT_EQ(Fix(-2.7), -2);
}

TEST(Cell, EmptySingleDouble) {
  Cell e;
  EXPECT_TRUE(e.empty());
  EXPECT_EQ(e + 1.0, 1.0);
  EXPECT_EQ(e.printText(), "");
  EXPECT_EQ(e.str(), " 0");
  Cell s = 1.3f;
  EXPECT_EQ(s.kind(), Cell::Kind::Single);
  EXPECT_EQ(s.printText(), " 1.3");
  Cell d = static_cast<double>(1.3f);
  EXPECT_EQ(d.printText(), " 1.29999995231628");
  s.clear();
  EXPECT_TRUE(s.empty());
}

TEST(Errors, StepsContinuePastErrors) {
  int ran = 0;
  EXPECT_FALSE(Step([&] { Raise(kErrOverflow); }));
  EXPECT_TRUE(Step([&] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_THROW(Step([] { throw std::logic_error("not a runtime error"); }), std::logic_error);
}

TEST(Errors, ExplicitChecksWhereCxxRaisesNothing) {
  auto number = [](auto f) {
    try {
      f();
    } catch (const VbError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number([] { Divide(1, 0); }), kErrDivisionByZero);
  EXPECT_EQ(number([] { Ln(0); }), kErrInvalidCall);
  EXPECT_EQ(number([] { Ln(-1); }), kErrInvalidCall);
  EXPECT_EQ(number([] { CheckFinite(INFINITY); }), kErrOverflow);
  EXPECT_EQ(number([] { CheckFinite(NAN); }), kErrOverflow);
  EXPECT_EQ(number([] { Index(22, 0, 21); }), kErrSubscript);
  EXPECT_EQ(Divide(1, 4), 0.25);
  EXPECT_DOUBLE_EQ(Ln(std::exp(2.0)), 2.0);
}

}  // namespace
}  // namespace tellumo::vb
