#include <gtest/gtest.h>

#include <map>
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

TEST(SpeciesTest, TextAfterTheFirstSlash) {
  EXPECT_EQ(SpeciesOf("O1/O2-"), "O2-");
  EXPECT_EQ(SpeciesOf("Fe"), "Fe");
  EXPECT_EQ(SpeciesOf("A/B/C"), "B/C");
  EXPECT_EQ(SpeciesOf("Si1/Si"), "Si");
}

TEST(GatherCrystalDataTest, ReadsTheWholeForm) {
  FakeForm form;
  CrystalData data;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(data.sgNumber, 225);
  EXPECT_EQ(data.settingNumber, 1);
  EXPECT_DOUBLE_EQ(data.a, 5.6402);
  EXPECT_DOUBLE_EQ(data.gamma, 90.0);
  EXPECT_EQ(data.targetIndex, 4);  // "Cu", fourth of the seven targets
  EXPECT_EQ(data.atomCount, 2);
  EXPECT_EQ(data.atomLabels[0], "Na1/Na");
  EXPECT_DOUBLE_EQ(data.x[1], 0.5);
  EXPECT_DOUBLE_EQ(data.B[1], 0.7);

  const RunInput input = MakeRunInput(data, {"r", "p", "t", "f"}, ProfileParameters{});
  EXPECT_EQ(input.species[0], "Na");
  EXPECT_EQ(input.species[1], "Cl");
  EXPECT_EQ(input.files.tabsgPath, "t");
  EXPECT_EQ(input.sgNumber, 225);
  EXPECT_DOUBLE_EQ(input.cell.c, 5.6402);
  EXPECT_DOUBLE_EQ(input.g[1], 1.0);
}

TEST(GatherCrystalDataTest, FirstMissingValueIsReported) {
  const std::pair<FormBox, std::string> cases[] = {{FormBox::kSgNumber, "No SG number !!!"},
                                                   {FormBox::kSetting, "No Setting number !!!"},
                                                   {FormBox::kA, "No a !!!"},
                                                   {FormBox::kB, "No b !!!"},
                                                   {FormBox::kC, "No c !!!"},
                                                   {FormBox::kAlpha, "No alpha !!!"},
                                                   {FormBox::kBeta, "No beta !!!"},
                                                   {FormBox::kGamma, "No gamma !!!"}};
  for (const auto& [box, text] : cases) {
    FakeForm form;
    form.boxes[box] = "";
    CrystalData data;
    testing::RecordingUserInterface ui;
    EXPECT_FALSE(GatherCrystalData(form, data, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], text);
  }
  FakeForm form;
  form.boxes[FormBox::kSgNumber] = "0";
  CrystalData data;
  testing::RecordingUserInterface ui;
  EXPECT_FALSE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(ui.messages.at(0), "No SG number !!!");
}

TEST(GatherCrystalDataTest, AtomRowsEndAtTheFirstEmptyLabel) {
  FakeForm form;
  form.rows.insert(form.rows.begin() + 1, {"", "1", "2", "3", "4", "5"});
  CrystalData data;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(data.atomCount, 1);

  form.rows.assign(81, {"Fe", "1", "0.1", "0.2", "0.3", "0.4"});
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(data.atomCount, 80);

  form.rows.assign(1, {"", "", "", "", "", ""});
  EXPECT_FALSE(GatherCrystalData(form, data, ui));
  EXPECT_EQ(ui.messages.back(), "No data input !!!");
}

TEST(GatherCrystalDataTest, UnreadableNumbersLeaveTheFieldAsItWas) {
  FakeForm form;
  form.rows[0][2] = "abc";
  form.boxes[FormBox::kSetting] = "2x";
  CrystalData data;
  data.x[0] = 0.125;
  testing::RecordingUserInterface ui;
  ASSERT_TRUE(GatherCrystalData(form, data, ui));
  EXPECT_DOUBLE_EQ(data.x[0], 0.125);
  EXPECT_EQ(data.settingNumber, 2);
}

}  // namespace
}  // namespace braxel
