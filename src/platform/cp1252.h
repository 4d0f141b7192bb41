#pragma once
// Windows-1252, the code page of every text file the program reads or writes.
// Qt 6 has no converter for it, so the table lives here.
#include <QByteArray>
#include <QString>

namespace tellumo::cp1252 {

QString Decode(const QByteArray& bytes);
// Characters outside the code page become '?'.
QByteArray Encode(const QString& text);
// Whether every character of text has a byte in the code page, so that
// Encode gives it back unchanged through Decode (no '?' put in its place).
bool CanEncode(const QString& text);

}  // namespace tellumo::cp1252
