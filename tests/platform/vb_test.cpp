#include "platform/vb.h"

#include <gtest/gtest.h>

#include <cmath>

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
