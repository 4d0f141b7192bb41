#pragma once
// Readers of the two older sounding formats: the DOS program's files (SEV)
// and version 1.0 of our own format (TLQ).
#include <QByteArray>
#include <QString>

namespace tellumo {

void ReadDosSevFile(const QString& path);
void ReadDosSevBytes(const QByteArray& bytes);

void ReadSoundingFileV1(const QString& path);
void ReadSoundingV1Bytes(const QByteArray& bytes);

}  // namespace tellumo
