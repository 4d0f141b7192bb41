#include "platform/vb.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tellumo::vb {
namespace {

// One unit less in the last digit of a mantissa in scientific form
// ("-1.79769313486232e+308" -> "-1.79769313486231e+308"), borrowing from the
// digits before it. Used only on a mantissa that rounded up, so its digits
// are never all zero.
void StepLastDigitTowardZero(std::string& s) {
  size_t k = s.find('e');
  while (k-- > 0) {
    if (s[k] == '.') continue;
    if (s[k] < '0' || s[k] > '9') break;
    if (s[k] > '0') {
      --s[k];
      return;
    }
    s[k] = '9';
  }
}

// Shortest text of v with at most `digits` significant digits, without any
// leading blank: "1.3", ".5", "-.5", "12345", "1.234568E+07", "1E-05". The
// exponent form starts at 10^exponentFrom (10^digits when 0).
std::string FormatDigits(double v, int digits, int exponentFrom = 0) {
  if (exponentFrom == 0) exponentFrom = digits;
  if (v == 0.0 || std::isnan(v)) return "0";
  if (std::isinf(v)) return v < 0 ? "-1.#INF" : "1.#INF";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
  std::string s(buf, res.ptr);
  double back = 0.0;
  if (std::from_chars(s.data(), s.data() + s.size(), back).ec == std::errc::result_out_of_range &&
      std::abs(v) > 1.0) {
    // The largest doubles round up past the largest double ("1.79769313486232E+308"),
    // a text no reader takes back. Such a value is cut toward zero at its last digit instead.
    StepLastDigitTowardZero(s);
  }
  std::string out;
  size_t i = 0;
  if (s[0] == '-') {
    out = "-";
    i = 1;
  }
  size_t epos = s.find('e');
  std::string mant;
  for (size_t k = i; k < epos; ++k)
    if (s[k] != '.') mant += s[k];
  int exp = std::stoi(s.substr(epos + 1));
  while (mant.size() > 1 && mant.back() == '0') mant.pop_back();

  if (exp >= exponentFrom || exp < -4) {
    out += mant[0];
    if (mant.size() > 1) {
      out += '.';
      out.append(mant, 1);
    }
    out += exp < 0 ? "E-" : "E+";
    int a = exp < 0 ? -exp : exp;
    if (a < 10) out += '0';
    out += std::to_string(a);
    return out;
  }
  if (exp >= 0) {
    std::string intPart = mant.substr(0, std::min<size_t>(mant.size(), exp + 1));
    while (static_cast<int>(intPart.size()) < exp + 1) intPart += '0';
    out += intPart;
    if (mant.size() > static_cast<size_t>(exp + 1)) {
      out += '.';
      out.append(mant, static_cast<size_t>(exp + 1));
    }
    return out;
  }
  out += ".";
  out += std::string(static_cast<size_t>(-exp - 1), '0');
  out += mant;
  return out;
}

QString WithSignBlank(const std::string& s) {
  if (!s.empty() && s[0] == '-') return QString::fromLatin1(s.c_str());
  return QString::fromLatin1((" " + s).c_str());
}

}  // namespace

QString Str(double v) { return WithSignBlank(FormatDigits(v, 15)); }
QString StrSingle(float v) { return WithSignBlank(FormatDigits(v, 7)); }
QString FileNumber(float v) { return QString::fromLatin1(FormatDigits(v, 7).c_str()); }
QString FileNumberDigits(float v, int digits) { return QString::fromLatin1(FormatDigits(v, digits, 7).c_str()); }
QString FileNumberDouble(double v) { return QString::fromLatin1(FormatDigits(v, 15).c_str()); }

double Val(std::string_view s) {
  // Gather the characters of the leading number, dropping the blanks Val()
  // ignores anywhere in the text.
  std::string clean;
  size_t i = 0;
  auto skip = [&] {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r')) ++i;
  };
  skip();
  if (i + 1 < s.size() && s[i] == '&') {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1])));
    int base = c == 'H' ? 16 : c == 'O' ? 8 : 0;
    if (base) {
      i += 2;
      long long n = 0;
      for (; i < s.size(); ++i) {
        if (s[i] == ' ' || s[i] == '\t' || s[i] == '\n') continue;
        int d = std::isdigit(static_cast<unsigned char>(s[i])) ? s[i] - '0'
                : base == 16 && std::isxdigit(static_cast<unsigned char>(s[i]))
                    ? std::toupper(static_cast<unsigned char>(s[i])) - 'A' + 10
                    : -1;
        if (d < 0 || d >= base) break;
        n = n * base + d;
        if (n > 0xFFFFFFFFLL) Raise(kErrOverflow);
      }
      // 16- and 32-bit literals are signed.
      if (n <= 0xFFFF && n > 0x7FFF) n -= 0x10000;
      else if (n > 0xFFFF && n > 0x7FFFFFFF) n -= 0x100000000LL;
      return static_cast<double>(n);
    }
  }
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    if (s[i] == '-') clean += '-';
    ++i;
  }
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    if (c >= '0' && c <= '9') {
      clean += c;
      digits = true;
    } else if (c == '.' && !point) {
      clean += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::string ex = "e";
    size_t j = i + 1;
    while (j < s.size() && (s[j] == ' ' || s[j] == '\t' || s[j] == '\n')) ++j;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ex += s[j++];
    bool expDigits = false;
    for (; j < s.size(); ++j) {
      if (s[j] == ' ' || s[j] == '\t' || s[j] == '\n') continue;
      if (s[j] < '0' || s[j] > '9') break;
      ex += s[j];
      expDigits = true;
    }
    if (expDigits) clean += ex;
  }
  if (clean == "-" || clean == "." || clean == "-.") return 0.0;
  double v = 0.0;
  auto res = std::from_chars(clean.data(), clean.data() + clean.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    if (std::abs(v) > 1.0 || v == 0.0) {
      // from_chars leaves v unchanged on overflow; tell overflow from underflow
      // by the exponent's sign.
      size_t e = clean.find('e');
      if (e != std::string::npos && clean[e + 1] == '-') return 0.0;
      Raise(kErrOverflow);
    }
  }
  return v;
}

double Val(const QString& s) { return Val(std::string_view(s.toLatin1().constData())); }

double RoundHalfEven(double v) {
  double r = std::floor(v);
  double d = v - r;
  if (d > 0.5) return r + 1.0;
  if (d < 0.5) return r;
  return std::fmod(r, 2.0) == 0.0 ? r : r + 1.0;
}

int16_t CInt(double v) {
  if (std::isnan(v)) Raise(kErrOverflow);
  double r = RoundHalfEven(v);
  if (r < -32768.0 || r > 32767.0) Raise(kErrOverflow);
  return static_cast<int16_t>(r);
}

int32_t CLng(double v) {
  if (std::isnan(v)) Raise(kErrOverflow);
  double r = RoundHalfEven(v);
  if (r < -2147483648.0 || r > 2147483647.0) Raise(kErrOverflow);
  return static_cast<int32_t>(r);
}

double Int(double v) { return std::floor(v); }
double Fix(double v) { return std::trunc(v); }

QString Cell::printText() const {
  switch (kind_) {
    case Kind::Empty: return {};
    case Kind::Single: return StrSingle(static_cast<float>(value_));
    case Kind::Double: return Str(value_);
  }
  return {};
}

QString Cell::str() const { return kind_ == Kind::Empty ? Str(0.0) : printText(); }

}  // namespace tellumo::vb
