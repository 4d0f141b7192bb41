#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/cp1252.h"
#include "platform/vb.h"

namespace tellumo {
namespace {

TEST(Cp1252, RoundTripsEveryDefinedByte) {
  QByteArray all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1252::Encode(cp1252::Decode(all)), all);
  EXPECT_EQ(cp1252::Decode("\x80\x9c\xe8\xe9"), QString::fromUtf8("€œèé"));
  EXPECT_EQ(cp1252::Encode(QString::fromUtf8("Modèle €")), QByteArray("Mod\xe8le \x80"));
  EXPECT_EQ(cp1252::Encode(QString::fromUtf8("Ω")), QByteArray("?"));
}

TEST(TextWriter, EndsEveryLineWithCrLf) {
  TextWriter w;
  w.writeLine("a");
  w.writeLine(QString::fromUtf8("é"));
  w.writeLine("");
  EXPECT_EQ(w.bytes(), QByteArray("a\r\n\xe9\r\n\r\n"));
}

TEST(FieldReader, FieldsEndAtCommasAndLineEnds) {
  // CR LF, LF and CR line ends mixed; blanks before a field skipped.
  FieldReader in("1, 2.5,-3\r\n  4\n5e2\r\"a, b\",plain text ,\"q\"tail,\r\n,7");
  EXPECT_EQ(in.readNumber(), 1.0);
  EXPECT_EQ(in.readNumber(), 2.5);
  EXPECT_EQ(in.readNumber(), -3.0);
  EXPECT_EQ(in.readNumber(), 4.0);
  EXPECT_EQ(in.readNumber(), 500.0);
  EXPECT_EQ(in.readText(), "a, b");
  EXPECT_EQ(in.readText(), "plain text");
  EXPECT_EQ(in.readText(), "q");       // what follows the closing quote is dropped
  EXPECT_EQ(in.readText(), "");        // the empty field before the line end
  EXPECT_EQ(in.readNumber(), 0.0);     // an empty number field reads as 0
  EXPECT_EQ(in.readNumber(), 7.0);
  EXPECT_TRUE(in.atEnd());
  try {
    in.readNumber();
    FAIL() << "reading past the end must fail";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), vb::kErrPastEnd);
  }
}

TEST(FieldReader, NumbersThatAreNotNumbers) {
  for (const char* bad : {"abc", "1x", "nan", "inf", "--1", "1.2.3"}) {
    FieldReader in(bad);
    try {
      in.readNumber();
      ADD_FAILURE() << bad << " read as a number";
    } catch (const vb::VbError& e) {
      EXPECT_EQ(e.number(), vb::kErrTypeMismatch) << bad;
    }
  }
  FieldReader big("1e999");
  EXPECT_THROW(big.readNumber(), vb::VbError);
  // A double that no single holds overflows instead of reading as infinity.
  FieldReader single("1e41,3.4e38");
  EXPECT_THROW(single.readSingle(), vb::VbError);
  EXPECT_EQ(single.readSingle(), 3.4e38f);
  FieldReader ok("+4,.5,1.234568E+07,1D2");
  EXPECT_EQ(ok.readNumber(), 4.0);
  EXPECT_EQ(ok.readNumber(), 0.5);
  EXPECT_EQ(ok.readSingle(), 12345680.0f);
  EXPECT_EQ(ok.readNumber(), 100.0);
}

TEST(FieldReader, LinesWholeAndSkipped) {
  FieldReader in("Title, with comma\r\nskip me\r\n3\n");
  EXPECT_EQ(in.readLine(), "Title, with comma");
  in.skipLine();
  EXPECT_EQ(in.readInteger(), 3);
  EXPECT_TRUE(in.atEnd());
  EXPECT_THROW(in.readLine(), vb::VbError);
  FieldReader overflow("40000");
  EXPECT_THROW(overflow.readInteger(), vb::VbError);
}

TEST(Files, MissingFilesAndFoldersGiveTheirErrorNumbers) {
  QTemporaryDir dir;
  auto number = [](auto f) {
    try {
      f();
    } catch (const vb::VbError& e) {
      return e.number();
    }
    return 0;
  };
  EXPECT_EQ(number([&] { ReadFileBytes(dir.filePath("none")); }), vb::kErrFileNotFound);
  EXPECT_EQ(number([&] { ReadFileBytes(dir.path()); }), vb::kErrFileNotFound);
  EXPECT_EQ(number([&] { WriteFileBytes(dir.filePath("no/x"), "x"); }), vb::kErrPathNotFound);
  WriteFileBytes(dir.filePath("x"), "abc\r\n");
  EXPECT_EQ(ReadFileBytes(dir.filePath("x")), QByteArray("abc\r\n"));
  if (geteuid() != 0) {  // root writes anywhere
    QString ro = dir.filePath("ro");
    QDir().mkdir(ro);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(number([&] { WriteFileBytes(ro + "/x", "x"); }), vb::kErrPermissionDenied);
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
}

}  // namespace
}  // namespace tellumo
