#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "app/CrystalData.h"
#include "support/RecordingUserInterface.h"

namespace braxel {
namespace {

// A form whose controls hold fixed texts.
class FakeForm : public CrystalFormFields {
 public:
  FakeForm() {
    boxes = {{FormBox::kSgNumber, "225"}, {FormBox::kSetting, "1"}, {FormBox::kA, "5.6402"},
             {FormBox::kB, "5.6402"},     {FormBox::kC, "5.6402"},  {FormBox::kAlpha, "90"},
             {FormBox::kBeta, "90"},      {FormBox::kGamma, "90"}};
    rows = {{"Na1/Na", "1", "0", "0", "0", "0.5"}, {"Cl", "1", "0.5", "0.5", "0.5", "0.7"}};
  }
  std::string BoxText(FormBox box) const override { return boxes.at(box); }
  int SelectedTargetPosition() const override { return target; }
  int AtomRowCount() const override { return static_cast<int>(rows.size()); }
  std::string AtomText(int row, int column) const override { return rows[row][column - 1]; }

  std::map<FormBox, std::string> boxes;
  std::vector<std::array<std::string, 6>> rows;
  int target = 3;
};

// What a gather reads, and what a refused one must leave alone.
auto Fields(const CrystalData& d) {
  return std::tuple(d.sgNumber, d.settingNumber, d.a, d.b, d.c, d.alpha, d.beta, d.gamma,
                    d.atomCount, d.atomLabels[0], d.x[0], d.B[1], d.targetIndex);
}

TEST(GatherCrystalDataTest, ReadsTheWholeForm) {
  FakeForm form;
  CrystalData data;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_TRUE(ui.messages.empty());
  // Target 4 is "Cu", fourth of the seven.
  EXPECT_EQ(Fields(data), std::tuple(225, 1, 5.6402, 5.6402, 5.6402, 90.0, 90.0, 90.0, 2,
                                     std::string("Na1/Na"), 0.0, 0.7, 4));
  EXPECT_DOUBLE_EQ(data.x[1], 0.5);

  const RunInput input = MakeRunInput(data, {"r", "p", "t", "f"}, ProfileParameters{});
  // The species is the text after the first slash, the whole label without one.
  EXPECT_EQ(input.species[0], "Na");
  EXPECT_EQ(input.species[1], "Cl");
  EXPECT_EQ(SpeciesOf("A/B/C"), "B/C");
  EXPECT_EQ(input.files.tabsgPath, "t");
  EXPECT_EQ(input.sgNumber, 225);
  EXPECT_EQ(input.cell.c, 5.6402);
  EXPECT_EQ(input.g[1], 1.0);
}

TEST(GatherCrystalDataTest, UnusableValuesAreRefusedByNameAndTheRecordStaysAsItWas) {
  struct Case {
    std::function<void(FakeForm&)> change;
    std::string message;
  };
  const auto box = [](FormBox b, std::string text) {
    return [b, text](FakeForm& f) { f.boxes[b] = text; };
  };
  const auto cell = [](int row, int column, std::string text) {
    return [row, column, text](FakeForm& f) { f.rows[row][column - 1] = text; };
  };
  const auto angles = [](std::string alpha, std::string beta, std::string gamma) {
    return [=](FakeForm& f) {
      f.boxes[FormBox::kAlpha] = alpha;
      f.boxes[FormBox::kBeta] = beta;
      f.boxes[FormBox::kGamma] = gamma;
    };
  };
  const Case cases[] = {
      {box(FormBox::kSgNumber, ""), "No SG number !!!"},
      {box(FormBox::kSgNumber, "  0"), "No SG number !!!"},
      {box(FormBox::kSetting, ""), "No Setting number !!!"},
      {box(FormBox::kA, ""), "No a !!!"},
      {box(FormBox::kB, ""), "No b !!!"},
      {box(FormBox::kC, ""), "No c !!!"},
      {box(FormBox::kAlpha, ""), "No alpha !!!"},
      {box(FormBox::kBeta, ""), "No beta !!!"},
      {box(FormBox::kGamma, ""), "No gamma !!!"},
      {box(FormBox::kA, "5.15x"), "a is not a number : 5.15x !!!"},
      {box(FormBox::kAlpha, "abc"), "alpha is not a number : abc !!!"},
      {box(FormBox::kC, "1,5"), "c is not a number : 1,5 !!!"},
      {box(FormBox::kB, "inf"), "b is not a number : inf !!!"},
      {box(FormBox::kA, "1\x01\n"), "a is not a number : 1?? !!!"},
      {box(FormBox::kA, std::string(30, '9') + "z"),
       "a is not a number : " + std::string(24, '9') + "... !!!"},
      {box(FormBox::kSgNumber, "225.5"), "SG number is not a whole number : 225.5 !!!"},
      {box(FormBox::kSetting, "2x"), "Setting number is not a whole number : 2x !!!"},
      {box(FormBox::kB, "-5.6402"), "b must be greater than 0 !!!"},
      {box(FormBox::kC, "0"), "c must be greater than 0 !!!"},
      {box(FormBox::kBeta, "180"), "beta must lie between 0 and 180 !!!"},
      {box(FormBox::kGamma, "-90"), "gamma must lie between 0 and 180 !!!"},
      // cos 120 = -1/2: 1 - 3/4 + 2 (-1/8) = 0, a flat cell.
      {angles("120", "120", "120"), "alpha, beta and gamma make no cell !!!"},
      // An angle larger than the other two together closes no corner.
      {angles("30", "40", "80"), "alpha, beta and gamma make no cell !!!"},
      {cell(0, 3, "0.5.5"), "x of atom row 1 is not a number : 0.5.5 !!!"},
      {cell(1, 6, ""), "No B in atom row 2 !!!"},
      {cell(1, 1, ""), "No label in atom row 2 !!!"},
      {[](FakeForm& f) {
         f.rows.insert(f.rows.begin() + 1, {"", "", "", "", "", ""});
       },
       "Atom row 2 is empty but atoms follow it !!!"},
  };
  for (const Case& c : cases) {
    FakeForm form;
    c.change(form);
    CrystalData data;
    data.atomLabels[0] = "Old";
    data.a = 3.0;
    data.x[0] = 0.125;
    const auto before = Fields(data);
    testing::RecordingUserInterface ui;
    EXPECT_FALSE(GatherCrystalData(form, data, ui)) << c.message;
    EXPECT_EQ(ui.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(Fields(data), before) << c.message;
  }
}

TEST(GatherCrystalDataTest, NumbersMayCarryBlanksSignsAndExponentsAndAtomsEndAtAnEmptyRow) {
  FakeForm form;
  form.boxes[FormBox::kSgNumber] = " 62";
  form.boxes[FormBox::kA] = "  +5.6402 ";
  form.boxes[FormBox::kGamma] = "1.2e2";
  form.rows[0][2] = "-.25";
  form.rows.push_back({"", "", "", "", "", ""});
  CrystalData data;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui)) << ui.messages.front();
  EXPECT_EQ(data.sgNumber, 62);
  EXPECT_DOUBLE_EQ(data.a, 5.6402);
  EXPECT_DOUBLE_EQ(data.gamma, 120.0);
  EXPECT_DOUBLE_EQ(data.x[0], -0.25);
  EXPECT_EQ(data.atomCount, 2);

  form.rows.assign(81, {"Fe", "1", "0.1", "0.2", "0.3", "0.4"});
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(data.atomCount, 80);

  form.rows.assign(1, {"", "", "", "", "", ""});
  EXPECT_FALSE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(ui.messages.back(), "No data input !!!");
}

}  // namespace
}  // namespace braxel
