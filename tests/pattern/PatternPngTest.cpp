// braxel-pattern as a script uses it: the NaCl pattern written as a picture; the plot and its
// window; reading the pattern file and the arithmetic of the plot's axes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

#include "pattern/PatternFile.h"
#include "pattern/PlotAxes.h"
#include "pattern/qt/PatternPlot.h"
#include "pattern/qt/PatternWindow.h"
#include "support/TestFiles.h"
#include "support/TextCases.h"

namespace braxel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

int RunIn(const TempDir& dir, const std::string& command) {
  const int status = std::system(
      ("cd '" + dir.Path().string() + "' && " + command + " > out.txt 2> err.txt").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsDark(QRgb pixel) { return qGray(pixel) < 110; }
bool IsRed(QRgb pixel) { return qRed(pixel) > 140 && qGreen(pixel) < 110 && qBlue(pixel) < 110; }

// Whether some pixel of the column band x-2..x+2 between the two rows passes the test.
template <class Test>
bool AnyInColumn(const QImage& image, double x, int top, int bottom, Test test) {
  for (int column = static_cast<int>(x) - 2; column <= static_cast<int>(x) + 2; ++column) {
    for (int row = top; row <= bottom; ++row) {
      if (test(image.pixel(column, row))) return true;
    }
  }
  return false;
}

class PatternPngTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RunIn(dir, "'" BRAXEL_CALC "' '" BRAXEL_EXAMPLES_DIR "/NaCl.inp'"), 0);
    std::string message;
    ASSERT_TRUE(ReadPatternFile(dir.File("Braxel.prf"), pattern, message)) << message;
  }

  TempDir dir;
  Pattern pattern;
};

TEST_F(PatternPngTest, TheNaClPatternShowsItsPeaksAndMarkers) {
  ASSERT_EQ(RunIn(dir, "'" BRAXEL_PATTERN "' -x Braxel.prf --png 'Na Cl.png'"), 0)
      << ReadFile(dir.File("err.txt"));
  QImage image;
  ASSERT_TRUE(image.load(dir.File("Na Cl.png").c_str()));
  ASSERT_EQ(image.size(), QSize(1200, 700));

  // The same layout as the program's, from the same fonts.
  QImage probe(image.size(), QImage::Format_RGB32);
  QPainter painter(&probe);
  const qt::PlotLayout layout = qt::MakePlotLayout(probe.rect(), painter.fontMetrics());
  const AxisRange range = FullTwoThetaRange(pattern);
  const QRect& box = layout.profile;
  const int upperQuarter = box.top() + box.height() / 4;

  // 200 at 31.70 degrees (Cu Ka1, d = 2.8201) is the strongest peak and reaches the top; 111 at
  // 27.37 is weak (about 9 %). Between 10 and 26 degrees there is nothing but the background.
  const double strongest = layout.XOf(31.70, range);
  EXPECT_TRUE(AnyInColumn(image, strongest, box.top() + 2, upperQuarter, IsDark));
  EXPECT_TRUE(AnyInColumn(image, layout.XOf(27.37, range), box.bottom() - box.height() / 6,
                          box.bottom() - 4, IsDark));
  EXPECT_FALSE(AnyInColumn(image, layout.XOf(27.37, range), box.top() + 2, upperQuarter, IsDark));
  EXPECT_FALSE(
      AnyInColumn(image, layout.XOf(18.0, range), box.top() + 2, box.bottom() - 6, IsDark));

  // Reflection markers in their strip at the reflections, none where there is none.
  const QRect& strip = layout.markers;
  EXPECT_TRUE(AnyInColumn(image, strongest, strip.top() + 1, strip.bottom() - 1, IsRed));
  EXPECT_FALSE(
      AnyInColumn(image, layout.XOf(18.0, range), strip.top() + 1, strip.bottom() - 1, IsRed));

  // 100,000 points on as many pixels as above: a single point of a column still reaches its height.
  Pattern many;
  many.firstTwoTheta = 10.0;
  many.step = 0.001;
  many.intensities.assign(100000, 1);
  many.intensities[43210] = 1000;  // 53.21 degrees
  const AxisRange manyRange = FullTwoThetaRange(many);
  const QImage dense = qt::RenderPattern(many, manyRange, "", image.size());
  EXPECT_TRUE(
      AnyInColumn(dense, layout.XOf(53.21, manyRange), box.top() + 2, upperQuarter, IsDark));
  EXPECT_FALSE(
      AnyInColumn(dense, layout.XOf(80.0, manyRange), box.top() + 2, upperQuarter, IsDark));
}

TEST_F(PatternPngTest, TheSizeCanBeChosenAndABadFileOrCommandLineFailsWithoutAPicture) {
  ASSERT_EQ(RunIn(dir, "'" BRAXEL_PATTERN "' -x Braxel.prf --png small.png --size 640x400"), 0);
  EXPECT_EQ(QImage(dir.File("small.png").c_str()).size(), QSize(640, 400));
  testing::WriteFile(dir.File("bad.prf"), "3 10 0.5\n1 2\n");
  EXPECT_EQ(RunIn(dir, "'" BRAXEL_PATTERN "' -x bad.prf --png bad.png"), 1);
  EXPECT_NE(ReadFile(dir.File("err.txt")).find("bad.prf: intensity 3 of 3 missing !!!"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("bad.png")));

  EXPECT_EQ(RunIn(dir, "'" BRAXEL_PATTERN "' --png x.png"), 1);
  EXPECT_NE(ReadFile(dir.File("err.txt")).find("usage: braxel-pattern"), std::string::npos);
  EXPECT_EQ(RunIn(dir, "'" BRAXEL_PATTERN "' -x Braxel.prf --png x.png --size 10x10"), 1);
  EXPECT_EQ(RunIn(dir, "'" BRAXEL_PATTERN "' -x Braxel.prf --png no/such/folder/x.png"), 1);
  EXPECT_NE(ReadFile(dir.File("err.txt")).find("no/such/folder/x.png file not create !!!"),
            std::string::npos);
}

// A disk that fills up during the write leaves the old picture whole, not a truncated one.
TEST_F(PatternPngTest, AFullDiskKeepsTheOldPicture) {
  testing::WriteFile(dir.File("old.png"), "the old picture");
  EXPECT_EQ(
      RunIn(dir, "trap '' XFSZ; ulimit -f 4; '" BRAXEL_PATTERN "' -x Braxel.prf --png old.png"), 1);
  EXPECT_EQ(ReadFile(dir.File("old.png")), "the old picture");
  EXPECT_NE(ReadFile(dir.File("err.txt")).find("old.png file not create !!!"), std::string::npos);
}

void Mouse(QWidget& widget, QEvent::Type type, Qt::MouseButton button, double x, double y) {
  QMouseEvent event(type, QPointF(x, y), widget.mapToGlobal(QPointF(x, y)), button,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

TEST_F(PatternPngTest, DraggingZoomsAClickTellsItsAngleAndADoubleOrRightClickShowsAll) {
  qt::PatternPlot plot;
  std::vector<std::pair<double, double>> clicks;
  QObject::connect(
      &plot, &qt::PatternPlot::TwoThetaClicked,
      [&clicks](double angle, double tolerance) { clicks.emplace_back(angle, tolerance); });
  plot.resize(900, 560);
  plot.SetPattern(pattern, "Braxel.prf");
  const qt::PlotLayout layout = qt::MakePlotLayout(plot.rect(), plot.fontMetrics());
  const AxisRange whole = plot.Range();
  const double y = layout.profile.center().y();
  const auto drag = [&](double from, double to) {
    Mouse(plot, QEvent::MouseButtonPress, Qt::LeftButton, layout.XOf(from, plot.Range()), y);
    Mouse(plot, QEvent::MouseMove, Qt::NoButton, layout.XOf(to, plot.Range()), y);
    Mouse(plot, QEvent::MouseButtonRelease, Qt::LeftButton, layout.XOf(to, plot.Range()), y);
  };

  drag(50, 30);  // leftwards works as well
  EXPECT_NEAR(plot.Range().low, 30, 0.2);
  EXPECT_NEAR(plot.Range().high, 50, 0.2);
  drag(31, 31);  // a click keeps the range
  EXPECT_NEAR(plot.Range().low, 30, 0.2);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_NEAR(clicks[0].first, 31, 0.05);
  // A few pixels either side: the 20 degrees shown span the profile's width.
  EXPECT_NEAR(clicks[0].second, 6 * 20.0 / layout.profile.width(), 0.01);
  Mouse(plot, QEvent::MouseButtonDblClick, Qt::LeftButton, layout.profile.center().x(), y);
  EXPECT_DOUBLE_EQ(plot.Range().low, whole.low);
  EXPECT_DOUBLE_EQ(plot.Range().high, whole.high);
  drag(40, 60);
  Mouse(plot, QEvent::MouseButtonPress, Qt::RightButton, layout.profile.center().x(), y);
  EXPECT_DOUBLE_EQ(plot.Range().high, whole.high);
}

TEST(PatternWindowTest, TheFileIsReadAgainWhenReplacedAndAnEmptyPlotFollowsItsRemoval) {
  TempDir dir;
  const std::string path = dir.File("Braxel.prf");
  testing::WriteFile(path, "3 10 0.5\n1 2 3\n1 10.5\n");
  qt::PatternWindow window;
  ASSERT_TRUE(window.OpenFile(QString::fromStdString(path)));
  const qt::PatternPlot& plot = window.Plot();
  EXPECT_EQ(plot.CurrentPattern().intensities.size(), 3u);
  // A new run writes a new file in its place.
  testing::WriteFile(dir.File("new.prf"), "5 10 0.5\n1 2 3 4 5\n0\n");
  std::filesystem::rename(dir.File("new.prf"), path);
  EXPECT_TRUE(QTest::qWaitFor([&] { return plot.CurrentPattern().intensities.size() == 5; }, 5000));
  std::filesystem::remove(path);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !plot.HasPattern(); }, 5000));
  testing::WriteFile(path, "2 10 0.5\n7 8\n0\n");
  EXPECT_TRUE(QTest::qWaitFor([&] { return plot.CurrentPattern().intensities.size() == 2; }, 5000));
}

class PatternReaderTest : public ::testing::Test {
 protected:
  // Reads text as a pattern file into a pattern that already holds one.
  bool Read(const std::string& text) {
    WriteFile(dir.File("p.prf"), text);
    pattern.intensities = {7};
    pattern.markers = {42.0};
    return ReadPatternFile(dir.File("p.prf"), pattern, message);
  }

  TempDir dir;
  Pattern pattern;
  std::string message;
};

TEST_F(PatternReaderTest, ReadsTheGridTheIntensitiesAndTheMarkers) {
  // Three points from 10 degrees in steps of 0.5, and two markers, as the run lays them out.
  ASSERT_TRUE(Read(ReadFile(BRAXEL_TEST_DATA_DIR "/pattern/small.prf")));
  EXPECT_DOUBLE_EQ(pattern.firstTwoTheta, 10.0);
  EXPECT_DOUBLE_EQ(pattern.step, 0.5);
  EXPECT_EQ(pattern.intensities, (std::vector<int>{1, 1000, 12}));
  EXPECT_EQ(pattern.markers, (std::vector<double>{10.2, 10.7}));
  EXPECT_DOUBLE_EQ(pattern.LastTwoTheta(), 11.0);
  // A single point may carry any step, any intensity an int holds, and no markers.
  ASSERT_TRUE(Read("1 30.00 0.0000\n2147483647\n\n0\n\n"));
  EXPECT_EQ(pattern.intensities, std::vector<int>{2147483647});
  EXPECT_TRUE(pattern.markers.empty());
}

// A missing file and the damaged files of tests/data/pattern/damaged.txt are refused; the pattern
// shown stays as it was.
TEST_F(PatternReaderTest, MissingOrDamagedFilesAreRefusedByWhatIsWrong) {
  for (const testing::TextCase& c : testing::ReadCases(BRAXEL_TEST_DATA_DIR "/pattern/damaged.txt",
                                                       {{"file", dir.File("p.prf")}})) {
    EXPECT_FALSE(Read(c.input.empty() ? "" : c.input[0])) << c.name;
    EXPECT_EQ(std::vector<std::string>{message}, c.expected);
    EXPECT_EQ(pattern.intensities, std::vector<int>{7});
    EXPECT_EQ(pattern.markers, std::vector<double>{42.0});
  }
  EXPECT_FALSE(ReadPatternFile(dir.File("none.prf"), pattern, message));
  EXPECT_EQ(message, dir.File("none.prf") + " file not found !!!");
  EXPECT_EQ(pattern.intensities, std::vector<int>{7});
}

TEST(PlotAxesTest, TicksAreOneTwoOrFiveTimesAPowerOfTen) {
  AxisTicks ticks = MakeTicks({10, 120}, 12);  // 110 / 12 = 9.2: steps of 10
  EXPECT_DOUBLE_EQ(ticks.step, 10);
  ASSERT_EQ(ticks.values.size(), 12u);
  EXPECT_DOUBLE_EQ(ticks.values.front(), 10);
  EXPECT_DOUBLE_EQ(ticks.values.back(), 120);
  EXPECT_EQ(ticks.decimals, 0);

  ticks = MakeTicks({10, 120}, 8);  // 10 would give 12 ticks: 20 gives 20, 40, ..., 120
  EXPECT_DOUBLE_EQ(ticks.step, 20);
  EXPECT_EQ(ticks.values, (std::vector<double>{20, 40, 60, 80, 100, 120}));

  ticks = MakeTicks({-0.03, 0.05}, 6);  // 0.02: -0.02, 0, 0.02, 0.04
  EXPECT_DOUBLE_EQ(ticks.step, 0.02);
  ASSERT_EQ(ticks.values.size(), 4u);
  EXPECT_EQ(ticks.values[1], 0.0);
  EXPECT_EQ(ticks.decimals, 2);

  EXPECT_TRUE(MakeTicks({5, 5}, 6).values.empty());
  // Ranges whose ticks could never be counted give none instead of a plot that never ends.
  for (const AxisRange range : {AxisRange{1e20, 1e20 + 1e5}, AxisRange{0, 5e-324},
                                AxisRange{0, std::numeric_limits<double>::infinity()}}) {
    EXPECT_TRUE(MakeTicks(range, 10).values.empty()) << range.low << " " << range.high;
  }
}

TEST(PlotAxesTest, TheIntensityAxisFollowsTheHighestPointShown) {
  Pattern pattern;
  pattern.firstTwoTheta = 10;
  pattern.step = 1;
  pattern.intensities = {1, 1000, 40, 200, 1};  // 10 to 14 degrees
  EXPECT_DOUBLE_EQ(IntensityRange(pattern, FullTwoThetaRange(pattern)).high, 1050);
  const AxisRange zoomed = IntensityRange(pattern, {12, 14});
  EXPECT_DOUBLE_EQ(zoomed.low, 0);
  EXPECT_DOUBLE_EQ(zoomed.high, 210);
  pattern.intensities[2] = -100;
  EXPECT_DOUBLE_EQ(IntensityRange(pattern, {12, 12.5}).low, -100);

  const AxisRange whole = FullTwoThetaRange(pattern);
  EXPECT_DOUBLE_EQ(whole.low, 10);
  EXPECT_DOUBLE_EQ(whole.high, 14);
  pattern.intensities = {5};
  EXPECT_DOUBLE_EQ(FullTwoThetaRange(pattern).low, 9);
  EXPECT_DOUBLE_EQ(FullTwoThetaRange(pattern).high, 11);
}

TEST(PlotAxesTest, ADragZoomsInsideTheWholeRangeAndAClickDoesNot) {
  const AxisRange whole{10, 120};
  std::optional<AxisRange> range = DraggedRange(45, 30, whole, 0.1);
  ASSERT_TRUE(range);
  EXPECT_DOUBLE_EQ(range->low, 30);
  EXPECT_DOUBLE_EQ(range->high, 45);
  range = DraggedRange(5, 20, whole, 0.1);
  ASSERT_TRUE(range);
  EXPECT_DOUBLE_EQ(range->low, 10);
  EXPECT_FALSE(DraggedRange(30, 30.05, whole, 0.1));
  EXPECT_FALSE(DraggedRange(0, 5, whole, 0.1));
}

}  // namespace
}  // namespace braxel
