#include "platform/cp1252.h"

#include <array>

namespace tellumo::cp1252 {
namespace {

// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined, which
// decode to the C1 control of the same number.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of one UTF-16 unit, or false when the code page has none.
bool EncodeUnit(char16_t u, char* byte) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
    *byte = static_cast<char>(u);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i)) {
      *byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

QString Decode(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b <= 0x9F) {
      char16_t u = kHigh[b - 0x80];
      out += QChar(u ? u : b);
    } else {
      out += QChar(b);
    }
  }
  return out;
}

QByteArray Encode(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar qc : text) {
    char b = '?';
    EncodeUnit(qc.unicode(), &b);
    out += b;
  }
  return out;
}

bool CanEncode(const QString& text) {
  char b;
  for (QChar qc : text)
    if (!EncodeUnit(qc.unicode(), &b)) return false;
  return true;
}

}  // namespace tellumo::cp1252
