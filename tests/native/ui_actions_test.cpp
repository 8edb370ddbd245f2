// Actions and popup-menu models: when an action runs, and which items a
// context menu shows as actions are hidden and shown.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/action.h"
#include "base/dpi.h"

namespace {

// The menu as the user reads it: captions, "-" for separators.
std::string Render(const TQD_PopupMenuModel& AModel) {
  std::string text;
  for (const TQD_PopupMenuItem& item : AModel.VisibleItems()) {
    if (!text.empty()) text += "|";
    text += item.IsSeparator() ? "-" : item.Action->Caption;
  }
  return text;
}

}  // namespace

TEST(Action, ExecuteRunsOnlyWhenEnabledAndVisible) {
  int runs = 0;
  TQD_Action action("ExitApp", "Exit", [&] { ++runs; });
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(runs, 1);

  action.Enabled = false;
  EXPECT_FALSE(action.Execute());
  action.Enabled = true;
  action.Visible = false;
  EXPECT_FALSE(action.Execute());
  EXPECT_EQ(runs, 1);

  // Checked is a display state only.
  action.Visible = true;
  action.Checked = true;
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(runs, 2);

  TQD_Action noHandler("About", "About");
  EXPECT_FALSE(noHandler.Execute());
}

TEST(Action, ExceptionsFromTheHandlerReachTheCaller) {
  TQD_Action action("Boom", "Boom", [] { throw std::runtime_error("boom"); });
  EXPECT_THROW(action.Execute(), std::runtime_error);
}

TEST(ActionList, FindsByNameKeepsPointersAndRefusesDuplicates) {
  TQD_ActionList list;
  TQD_Action& first = list.Add("ShowControlPanel", "Show control panel");
  // Enough additions to move a vector of values: the pointer must not move.
  for (int i = 0; i < 100; ++i) list.Add("Action" + std::to_string(i), "Caption");
  EXPECT_EQ(list.Find("ShowControlPanel"), &first);
  EXPECT_EQ(list.Find("Action57")->Name, "Action57");
  EXPECT_EQ(list.Find("showcontrolpanel"), nullptr);  // names are exact
  EXPECT_EQ(list.Find(""), nullptr);
  EXPECT_EQ(list.Count(), 101u);
  EXPECT_EQ(&list[0], &first);

  EXPECT_THROW(list.Add("Action3", "Again"), std::invalid_argument);
  EXPECT_EQ(list.Count(), 101u);
}

class PopupMenuModel : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"DisableClock", "ShowControlPanel", "HideControlPanel", "OpenGeneralSettings",
                             "OpenColorSettings", "OpenAboutScreen", "ExitApp"})
      Actions.Add(name, name);
  }
  void Hide(std::initializer_list<const char*> ANames) {
    for (const char* name : ANames) Actions.Find(name)->Visible = false;
  }
  TQD_ActionList Actions;
};

TEST_F(PopupMenuModel, BuiltFromNamesInOrder) {
  TQD_PopupMenuModel clock(Actions, {"DisableClock", "-", "ShowControlPanel", "HideControlPanel", "-",
                                     "OpenGeneralSettings", "OpenColorSettings", "-", "OpenAboutScreen", "-",
                                     "ExitApp"});
  ASSERT_EQ(clock.Items().size(), 11u);
  EXPECT_EQ(clock.Items()[0].Action, Actions.Find("DisableClock"));
  EXPECT_TRUE(clock.Items()[1].IsSeparator());
  EXPECT_EQ(Render(clock),
            "DisableClock|-|ShowControlPanel|HideControlPanel|-|OpenGeneralSettings|OpenColorSettings|-|"
            "OpenAboutScreen|-|ExitApp");

  // A caption changed after the model was built shows at the next build.
  Actions.Find("ExitApp")->Caption = "Quit";
  EXPECT_EQ(clock.VisibleItems().back().Action->Caption, "Quit");

  EXPECT_THROW(TQD_PopupMenuModel(Actions, {"ExitApp", "-", "NoSuchAction"}), std::invalid_argument);
}

TEST_F(PopupMenuModel, HiddenActionsAreLeftOutWithTheSeparatorsTheyWouldStrand) {
  // The notification-area menu: exactly one of Show/Hide is visible.
  TQD_PopupMenuModel tray(Actions, {"ShowControlPanel", "HideControlPanel", "-", "OpenGeneralSettings",
                                    "OpenColorSettings", "-", "OpenAboutScreen", "-", "ExitApp"});
  Hide({"HideControlPanel"});
  EXPECT_EQ(Render(tray), "ShowControlPanel|-|OpenGeneralSettings|OpenColorSettings|-|OpenAboutScreen|-|ExitApp");
  Actions.Find("HideControlPanel")->Visible = true;
  Hide({"ShowControlPanel"});
  EXPECT_EQ(Render(tray), "HideControlPanel|-|OpenGeneralSettings|OpenColorSettings|-|OpenAboutScreen|-|ExitApp");

  // Leading: the first group vanishes, its separator with it.
  Hide({"HideControlPanel"});
  EXPECT_EQ(Render(tray), "OpenGeneralSettings|OpenColorSettings|-|OpenAboutScreen|-|ExitApp");
  // Doubled: a middle group vanishes; one separator stays between its neighbours.
  Hide({"OpenAboutScreen"});
  EXPECT_EQ(Render(tray), "OpenGeneralSettings|OpenColorSettings|-|ExitApp");
  // Trailing: the last group vanishes.
  Hide({"ExitApp"});
  EXPECT_EQ(Render(tray), "OpenGeneralSettings|OpenColorSettings");
  // Nothing visible: an empty menu, no lone separators.
  Hide({"OpenGeneralSettings", "OpenColorSettings"});
  EXPECT_TRUE(tray.VisibleItems().empty());
}

TEST_F(PopupMenuModel, SeparatorsWrittenTogetherOrAtTheEndsCollapse) {
  TQD_PopupMenuModel model;
  model.AddSeparator();
  model.AddAction(*Actions.Find("ExitApp"));
  model.AddSeparator();
  model.AddSeparator();
  model.AddAction(*Actions.Find("OpenAboutScreen"));
  model.AddSeparator();
  EXPECT_EQ(Render(model), "ExitApp|-|OpenAboutScreen");
  EXPECT_TRUE(TQD_PopupMenuModel().VisibleItems().empty());

  // Disabled and checked actions still show; only Visible removes an item.
  Actions.Find("ExitApp")->Enabled = false;
  Actions.Find("OpenAboutScreen")->Checked = true;
  EXPECT_EQ(Render(model), "ExitApp|-|OpenAboutScreen");

  // The buffer-filling form clears what it is given.
  std::vector<TQD_PopupMenuItem> buffer(5);
  model.VisibleItems(buffer);
  EXPECT_EQ(buffer.size(), 3u);
}

TEST(DPI, MulDivRoundsHalfAwayFromZeroAndFlagsBadInput) {
  EXPECT_EQ(QD_MulDiv(540, 144, 96), 810);
  EXPECT_EQ(QD_MulDiv(810, 96, 144), 540);
  EXPECT_EQ(QD_MulDiv(1, 1, 2), 1);     // 0.5 -> 1
  EXPECT_EQ(QD_MulDiv(-1, 1, 2), -1);   // -0.5 -> -1
  EXPECT_EQ(QD_MulDiv(1, -1, 2), -1);
  EXPECT_EQ(QD_MulDiv(1, 1, -2), -1);
  EXPECT_EQ(QD_MulDiv(-1, -1, 2), 1);
  EXPECT_EQ(QD_MulDiv(5, 1, 3), 2);     // 1.67
  EXPECT_EQ(QD_MulDiv(4, 1, 3), 1);     // 1.33
  EXPECT_EQ(QD_MulDiv(7, 1, 4), 2);     // 1.75
  EXPECT_EQ(QD_MulDiv(5, 1, 4), 1);     // 1.25
  // The 64-bit intermediate keeps products beyond 32 bits exact.
  EXPECT_EQ(QD_MulDiv(2000000000, 3, 4), 1500000000);
  EXPECT_EQ(QD_MulDiv(7, 0, 3), 0);
  EXPECT_EQ(QD_MulDiv(7, 3, 0), -1);
  EXPECT_EQ(QD_MulDiv(2000000000, 2, 1), -1);  // overflow
  EXPECT_EQ(QD_MulDiv(-2000000000, 2, 1), -1);

  // Stored 96-DPI geometry scaled up and back at common DPIs.
  for (int dpi : {96, 120, 144, 168, 192, 240, 288})
    for (int v : {66, 120, 540, 700})
      EXPECT_EQ(ScaleFromDPI(ScaleToDPI(v, dpi), dpi), v) << v << " at " << dpi;
  EXPECT_EQ(ScaleToDPI(121, 120), 151);  // 151.25
  EXPECT_EQ(ScaleToDPI(122, 120), 153);  // 152.5 rounds up
}
