// Bad bytes given to the spacing-template reader, and bad text pasted into
// the data grid. A template variant either reads as the points it still
// holds or raises; a faulty template file brings the message and the
// template dialog. A paste never writes outside the grid's data cells below
// the selected one, never leaves a cell holding something that is not a
// number, and reports what it left out.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/data_tab.h"
#include "mainwindow/field_data.h"
#include "mainwindow/grid_editing.h"
#include "mainwindow/program_state.h"
#include "mainwindow/templates.h"
#include "mainwindow/ui_hooks.h"
#include "modelling/modelling_state.h"
#include "platform/common_dialog.h"
#include "sounding/sounding_record.h"
#include "support/file_variants.h"
#include "support/fixtures.h"

namespace tellumo {
namespace {

using test::Body;
using test::Join;
using test::Lines;
using test::SplitLines;
using test::WithField;
using test::WithLineEnds;

// ---------------------------------------------------------------------------
// Spacing templates.

struct TemplateFixture {
  const char* file;
  bool wenner;
};

void PrintTo(const TemplateFixture& t, std::ostream* os) { *os << t.file; }

// What a template reading leaves in the first 52 rows of FieldData.
using Table = std::vector<vb::Cell>;
Table FieldTable() {
  Table t;
  for (int r = 0; r < kFieldRows; ++r)
    for (int c = 0; c < kFieldCols; ++c) t.push_back(FieldData[r][c]);
  return t;
}

void ExpectSameTable(const Table& a, const Table& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i)
    EXPECT_TRUE(a[i].identical(b[i])) << "FieldData " << i / kFieldCols << "," << i % kFieldCols;
}

class TemplateBadInput : public test::StateTest, public ::testing::WithParamInterface<TemplateFixture> {};

TEST_P(TemplateBadInput, ReadsThePointsItHoldsOrRaises) {
  const TemplateFixture& t = GetParam();
  const QByteArray good = test::Fixture(QString::fromLatin1(t.file));
  const Lines lines = SplitLines(good);
  const int n = static_cast<int>(lines.size());
  const int goodPoints = ReadTemplateBytes(good, t.wenner);
  ASSERT_EQ(goodPoints, n);
  const Table fromGood = FieldTable();

  // What a variant gives: the points of the good file's first `points`
  // lines; -1: a VbError.
  struct Variant {
    std::string name;
    QByteArray bytes;
    int points;
    std::function<void()> check = {};
  };
  std::vector<Variant> variants;
  auto num = [](int i) { return std::to_string(i); };
  const int refused = -1;

  variants.push_back({"empty", {}, 0});
  for (int i = 1; i < n; ++i) variants.push_back({"ends after line " + num(i), Join(lines, 0, i), i});
  if (!t.wenner) {
    // A point without its second item.
    for (int i = 1; i <= n; ++i) {
      const QByteArray body = Body(lines[i - 1]);
      variants.push_back({"line " + num(i) + " has one item", Join(lines, 0, i - 1) + body.left(body.indexOf(',')) + "\r\n",
                          refused});
    }
  }
  for (int line = 1; line <= n; ++line) {
    const QList<QByteArray> fields = Body(lines[line - 1]).split(',');
    for (int k = 0; k < fields.size(); ++k) {
      const std::string where = "line " + num(line) + " item " + num(k + 1);
      for (const char* bad : {"abc", "12a", "1.2.3", "inf", "nan", "0x10", "1E+400", "-1E+400"})
        variants.push_back({where + " '" + bad + "'", WithField(lines, line, k, bad), refused});
      variants.push_back({where + " NUL", WithField(lines, line, k, fields[k] + QByteArray(1, '\0') + "1"), refused});
      // A number however large: the computation, not the template, judges it.
      const int column = t.wenner || k == 1 ? kSpacing2 : kSpacing1;
      variants.push_back({where + " 1E+300", WithField(lines, line, k, "1E+300"), n, [line, column] {
                            EXPECT_EQ(FieldData[line][column].value(), 1e300);
                          }});
    }
  }
  // More points than the grid's 50 rows.
  for (int many : {50, 51, 1000}) {
    Lines more;
    for (int i = 0; i < many; ++i) more.push_back(lines[std::min(i, n - 1)]);
    variants.push_back({num(many) + " points", Join(more), many <= kGridDataRows ? many : refused});
  }
  variants.push_back({"only NUL bytes", QByteArray(good.size(), '\0'), refused});
  variants.push_back({"NUL bytes after the last line", good + QByteArray(3, '\0'), refused});
  variants.push_back({"a number of 1 MB", WithField(lines, 1, 0, QByteArray(1 << 20, '1')), refused});
  variants.push_back({"1 MB of blanks before a number",
                      WithField(lines, 1, 0, QByteArray(1 << 20, ' ') + Body(lines[0]).split(',')[0]), n});
  variants.push_back({"a blank line of 1 MB at the end", good + QByteArray(1 << 20, ' ') + "\r\n", n});
  variants.push_back({"a line of 1 MB at the end", good + QByteArray(1 << 20, 'x') + "\r\n", refused});
  variants.push_back({"LF line ends", WithLineEnds(lines, "\n"), n});
  variants.push_back({"CR line ends", WithLineEnds(lines, "\r"), n});
  variants.push_back({"LF, CR and CR LF mixed", WithLineEnds(lines, nullptr), n});
  variants.push_back({"no last line end", Join(lines, 0, n - 1) + Body(lines.back()), n});
  variants.push_back({"trailing blank lines", good + "\r\n\r\n\n\r  \r\n\t\r\n", n});
  variants.push_back({"old end-of-file mark", good + "\x1a", n});

  for (const Variant& c : variants) {
    SCOPED_TRACE(std::string(t.file) + ": " + c.name);
    EmptyFieldData();
    FieldData[1][kRhoApparent] = 5.0f;  // erased by every reading
    PointCount = 3;
    LayerModel[1][kLayerRho] = 42.0f;
    if (c.points == refused) {
      EXPECT_THROW(ReadTemplateBytes(c.bytes, t.wenner), vb::VbError);
    } else {
      int16_t points = -1;
      EXPECT_NO_THROW(points = ReadTemplateBytes(c.bytes, t.wenner));
      EXPECT_EQ(points, c.points);
      if (c.points <= n && !c.check) {
        // The good file's first points, nothing else.
        const Table got = FieldTable();
        Table want(got.size());
        for (int r = 1; r <= c.points; ++r)
          for (int col = 0; col < kFieldCols; ++col) want[r * kFieldCols + col] = fromGood[r * kFieldCols + col];
        ExpectSameTable(got, want);
      }
      if (c.check) c.check();
    }
    // Never a row beyond the grid's; nothing but FieldData is touched.
    for (int col = 0; col < kFieldCols; ++col) EXPECT_TRUE(FieldData[51][col].empty()) << col;
    EXPECT_EQ(PointCount, 3);
    EXPECT_FLOAT_EQ(LayerModel[1][kLayerRho], 42.0f);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(GoodTemplates, TemplateBadInput,
                         ::testing::Values(TemplateFixture{"templates_DATAVES.TXT", false},
                                           TemplateFixture{"templates_DATAWEN.TXT", true}),
                         [](const auto& info) { return std::string(info.param.wenner ? "Wenner" : "TwoItems"); });

// A faulty template met when a new sounding's grid is filled: the message,
// then the template dialog; cancelled, the grid keeps its cells and nothing
// half-read stays in FieldData.
class TemplateFileBadInput : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    CmDialog1() = CommonDialog{};
    Option1 = kTrue;
    ArrayCode = QStringLiteral("0");
    dialogScope = std::make_unique<ScopedDialogService>(&dialogs);
    LayOutDataGrid();
  }
  void TearDown() override {
    dialogScope.reset();
    EXPECT_EQ(dialogs.unexpected, 0);
    StateTest::TearDown();
  }

  ScriptedDialogService dialogs;
  std::unique_ptr<ScopedDialogService> dialogScope;
  QTemporaryDir dir;
};

TEST_F(TemplateFileBadInput, BringsTheMessageAndTheDialog) {
  const QByteArray good = test::Fixture(QStringLiteral("templates_DATAVES.TXT"));
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"NUL bytes among the points", good.left(8) + QByteArray(4, '\0') + good.mid(8)},
      {"a number beyond any double", "1E+400,1.5\r\n" + good},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QStringLiteral("BAD.TXT"));
    {
      QFile f(path);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(c.bytes);
    }
    for (int r = 1; r <= kGridDataRows; ++r)
      for (int col = 1; col < kGridCols; ++col) BuildGrid().setTextMatrix(r, col, col == 2 ? QString() : "x");
    MarkGridInStep();
    EmptyFieldData();
    FileTitle = QStringLiteral("NEW");
    DataTemplateFile = path;
    boxes.boxes.clear();
    dialogs.requests.clear();
    boxes.answer(MsgAnswer::OK);
    dialogs.cancel();

    LoadFieldDataTemplate();

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "File " + path + " is wrong or not found.  Find it and verify...");
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(ModeWord, "FIELD");
    for (int r = 1; r < kFieldRows; ++r)
      for (int col = 1; col < kFieldCols; ++col) EXPECT_TRUE(FieldData[r][col].empty()) << r << "," << col;
    EXPECT_EQ(BuildGrid().TextMatrix(1, 1), "x");
    EXPECT_EQ(BuildGrid().TextMatrix(1, 2), "");
    EXPECT_EQ(DataTemplateFile, path);
  }
  // Reading a template writes nothing beside it.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"BAD.TXT"});
}

// ---------------------------------------------------------------------------
// Pasting into the grid.

class PasteBadInput : public test::StateTest {
 protected:
  void SetUp() override {
    StateTest::SetUp();
    Option1 = kTrue;
    FileTitle = QStringLiteral("typed.TM3");
    LayOutDataGrid();
    DataTabUi().clearClipboard = [this] { ++clipboardClears; };
  }
  void TearDown() override {
    DataTabUi() = DataTabHooks();
    StateTest::TearDown();
  }

  static std::vector<std::vector<QString>> Cells() {
    std::vector<std::vector<QString>> cells(BuildGrid().Rows());
    for (int r = 0; r < BuildGrid().Rows(); ++r)
      for (int c = 0; c < BuildGrid().Cols(); ++c) cells[r].push_back(BuildGrid().TextMatrix(r, c));
    return cells;
  }

  int clipboardClears = 0;
};

// A cell's text that the computation reads as the number it shows.
bool ReadsAsANumber(const QString& text) {
  static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eEdD][+-]?[0-9]+)?$"));
  if (!number.match(text).hasMatch()) return false;
  try {
    return std::isfinite(vb::Val(text));
  } catch (const vb::VbError&) {
    return false;
  }
}

TEST_F(PasteBadInput, NeverWritesOutsideTheDataCellsNorANonNumber) {
  const QString mb(1 << 20, QChar('1'));
  const QString nul(QChar(0));
  struct Case {
    const char* name;
    QString text;
    bool reported;
    // Rows from the selected one down: the text written, or nothing (kept).
    std::vector<std::optional<QString>> rows;
    // Values that fall beyond the grid when the paste starts at row 50.
    int leftOutFromRow50;
  };
  const std::nullopt_t kept = std::nullopt;
  const Case cases[] = {
      {"a NUL alone", nul + "\r\n", true, {kept}, 0},
      {"a NUL inside a number", "1" + nul + "2\r\n3\r\n", true, {kept, "3"}, 1},
      {"a thousand NULs", QString(1000, QChar(0)) + "\r\n4\r\n", true, {kept, "4"}, 1},
      {"a number of 1 MB", mb + "\r\n5\r\n", true, {kept, "5"}, 1},
      // Blanks before a value are no part of it, however many.
      {"1 MB of blanks before a number", QString(1 << 20, QChar(' ')) + "5\r\n6\r\n", false, {"5", "6"}, 1},
      // A last value needs no line end: this one is no number.
      {"a line of 1 MB without its end", QString(1 << 20, QChar('x')), true, {kept}, 0},
      // Only the first column of a spreadsheet's row is taken, however long the others.
      {"a row whose second column has 1 MB", "5\t" + QString(1 << 20, QChar('c')) + "\r\n6\r\n", false, {"5", "6"},
       1},
      {"LF, CR and CR LF mixed", "1\n2\r3\r\n4\n", false, {"1", "2", "3", "4", kept}, 3},
      {"not numbers",
       QString::fromUtf8("abc\r\n1.2.3\r\ninf\r\nnan\r\n--1\r\n1e\r\n0x10\r\n+\r\n.\r\ne5\r\n1 2\r\n"
                         "\u0661\u0662\r\n\uFF11\uFF12\r\n7\r\n"),
       true,
       {kept, kept, kept, kept, kept, kept, kept, kept, kept, kept, kept, kept, kept, "7"},
       13},
      {"numbers near the double's ends", "1E+300\r\n-1E+300\r\n1E-300\r\n", false, {"1E+300", "-1E+300", "1E-300"},
       2},
      {"numbers beyond any double", "1E+400\r\n1D+400\r\n8\r\n", true, {kept, kept, "8"}, 2},
      {"trailing blank lines", "5\r\n\r\n\r\n", false, {"5", "", ""}, 0},
  };
  struct Start {
    int row, col;
  } starts[] = {{1, 2}, {25, 3}, {50, 6}, {0, 2}, {7, 0}};

  for (const Case& c : cases) {
    for (const Start& s : starts) {
      SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(s.row) + "," + std::to_string(s.col));
      for (int r = 1; r <= kGridDataRows; ++r)
        for (int col = 1; col < kGridCols; ++col) BuildGrid().setTextMatrix(r, col, QStringLiteral("x"));
      for (int col = 0; col < kFieldCols; ++col) FieldData[51][col] = vb::Cell();
      BuildGrid().setRow(s.row);
      BuildGrid().setCol(s.col);
      const auto before = Cells();
      const bool dataCell = s.row >= 1 && s.col >= 1;
      boxes.boxes.clear();
      boxes.answers.clear();
      const bool notANumber = c.reported && dataCell;
      const int leftOut = dataCell && s.row == kGridDataRows ? c.leftOutFromRow50 : 0;
      if (notANumber) boxes.answer(MsgAnswer::OK);
      if (leftOut > 0) boxes.answer(MsgAnswer::OK);

      PasteIntoGrid(c.text);

      const auto after = Cells();
      ASSERT_EQ(after.size(), before.size());
      EXPECT_EQ(BuildGrid().Rows(), kGridRows);
      EXPECT_EQ(BuildGrid().Cols(), kGridCols);
      for (int r = 0; r < kGridRows; ++r) {
        for (int col = 0; col < kGridCols; ++col) {
          const bool mayChange = dataCell && col == s.col && r >= s.row;
          if (!mayChange) {
            EXPECT_EQ(after[r][col].toStdString(), before[r][col].toStdString()) << "cell " << r << "," << col;
            continue;
          }
          if (after[r][col] != before[r][col])
            EXPECT_TRUE(after[r][col].isEmpty() || ReadsAsANumber(after[r][col]))
                << "cell " << r << "," << col << " holds " << after[r][col].left(40).toStdString();
          const size_t k = static_cast<size_t>(r - s.row);
          if (k < c.rows.size())
            EXPECT_EQ(after[r][col].toStdString(), c.rows[k].value_or(before[r][col]).toStdString()) << "row " << r;
        }
      }
      for (int col = 0; col < kFieldCols; ++col) EXPECT_TRUE(FieldData[51][col].empty()) << col;
      EXPECT_EQ(BuildGrid().Row(), s.row);
      EXPECT_EQ(BuildGrid().Col(), s.col);
      EXPECT_EQ(boxes.boxes.size(), (notANumber ? 1u : 0u) + (leftOut > 0 ? 1u : 0u));
      if (notANumber && !boxes.boxes.empty())
        EXPECT_TRUE(boxes.boxes[0].text.startsWith(QStringLiteral("What is not a number was not pasted: ")))
            << boxes.boxes[0].text.left(80).toStdString();
      if (leftOut > 0 && !boxes.boxes.empty())
        EXPECT_TRUE(boxes.boxes.back().text.startsWith(QStringLiteral("The grid has 50 rows: ") +
                                                       QString::number(leftOut) + QStringLiteral(" value")))
            << boxes.boxes.back().text.toStdString();
    }
  }
}

}  // namespace
}  // namespace tellumo
