#pragma once
// Readers of the two older sounding formats: the DOS program's files (SEV)
// and version 1.0 of our own format (TLQ).
#include <QByteArray>
#include <QString>

namespace tellumo {

// Each returns true when the sounding was taken over. A file that cannot be
// read to its end is refused whole: the reading error names the file and the
// line, and the sounding and everything the reading touches stay as they
// were. More than 51 points: the first 51 are taken, with the message. The
// byte forms take the path only to name it in the message.
bool ReadDosSevFile(const QString& path);
bool ReadDosSevBytes(const QByteArray& bytes, const QString& path = {});

bool ReadSoundingFileV1(const QString& path);
bool ReadSoundingV1Bytes(const QByteArray& bytes, const QString& path = {});

}  // namespace tellumo
