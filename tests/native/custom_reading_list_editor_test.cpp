// The custom reading list editor's table: rows from a list, the initial
// state, the link to the viewer, picks written into the current row, the
// buttons' rules and ApplySelection.
#include <gtest/gtest.h>

#include <memory>

#include "logger_rig.h"
#include "readings/custom_reading_list_editor.h"

namespace {

constexpr uint32_t kSensor = 0xF0001000;

TQD_URID R(uint32_t AID) { return TQD_URID::CreateNew(kSensor, 0, AID); }

class TFakeViewer : public TQD_URIDSelector {
 public:
  void SelectURID(const TQD_URID& AURID) override { Selected.push_back(AURID); }
  TQD_URIDReceiver* CustomReadingListEditor() const override { return Editor; }
  void SetCustomReadingListEditor(TQD_URIDReceiver* AEditor) override { Editor = AEditor; }
  std::vector<TQD_URID> Selected;
  TQD_URIDReceiver* Editor = nullptr;
};

// A logger whose readings 1 to 25 are labelled "R1" … "R25", an editor on a
// list, and Open/Close actions that create and destroy a fake viewer.
struct TEditorRig {
  TLoggerRig Logger;
  TQD_CustomReadingsList List{"\\CPUMonitorCustomReadings"};
  std::unique_ptr<TFakeViewer> Viewer;
  int Opened = 0;
  TQD_Action Open{"EnableSharedMemoryViewer", "", [this] {
                    ++Opened;
                    if (!Viewer) Viewer = std::make_unique<TFakeViewer>();
                  }};
  TQD_Action Close{"DisableSharedMemoryViewer", "", [this] { Viewer.reset(); }};
  std::unique_ptr<TQD_CustomReadingListEditorModel> Editor = std::make_unique<TQD_CustomReadingListEditorModel>();

  TEditorRig() {
    const uint32_t s = Logger.Sensor(kSensor, 0, "Board");
    for (uint32_t id = 1; id <= 25; ++id) Logger.Reading(s, SENSOR_TYPE_OTHER, id, "R" + std::to_string(id));
    Editor->DataLogger = &Logger.Poll();
    Editor->CustomReadingsList = &List;
    Editor->OpenURIDSelectorAction = &Open;
    Editor->CloseURIDSelectorAction = &Close;
    Editor->URIDSelector = [this]() -> TQD_URIDSelector* { return Viewer.get(); };
  }
  // "R<id>" a reading, "|" a divider, "" nothing; the editor is initialised
  // on the list and its table focused.
  TQD_CustomReadingListEditorModel& With(std::initializer_list<const char*> AEntries, int ARow = 0) {
    List.Clear();
    for (const char* e : AEntries) {
      if (std::string(e) == "|") List.CreateDivider();
      else List.Add(R(static_cast<uint32_t>(std::stoul(e + 1))), std::string("C=") + (e + 1));
    }
    Editor->Init();
    Editor->FocusEntered();
    Editor->SelectRow(ARow);
    return *Editor;
  }
  // The "Description" column: what a user tells the rows by.
  std::vector<std::string> Descriptions() const {
    std::vector<std::string> d;
    for (const TQD_EditorRow& row : Editor->Rows()) d.push_back(row[ecDescription]);
    return d;
  }
};

}  // namespace

TEST(CustomReadingListEditor, RowsFromTheList) {
  TEditorRig rig;
  rig.List.Add(R(16), "T=90;V=MAX");
  rig.List.CreateDivider();
  rig.List.Add(TQD_URID::CreateNew(0xE0002000, 0x1A, 0x2), "");  // not in the snapshot
  rig.Editor->Init();
  const std::vector<TQD_EditorRow> rows = {{"0xF0001000", "0x0", "0x0000010", "R16", "T=90;V=MAX"},
                                           {"-", "-", "-", "Divider", ""},
                                           {"0xE0002000", "0x1A", "0x0000002", "-", ""}};
  EXPECT_EQ(rig.Editor->Rows(), rows);

  rig.List.Clear();
  rig.Editor->Init();
  EXPECT_EQ(rig.Editor->Rows(), std::vector<TQD_EditorRow>(1));  // one empty row
}

TEST(CustomReadingListEditor, NoSelectionAndNoViewerUntilTheTableIsFocused) {
  TEditorRig rig;
  rig.List.Add(R(1), "");
  rig.List.Add(R(2), "");
  rig.Editor->Init();
  EXPECT_FALSE(rig.Editor->SelectRow(1));
  EXPECT_FALSE(rig.Editor->Add());  // no current row
  EXPECT_EQ(rig.Opened, 0);
  EXPECT_EQ(rig.Editor->Row(), -1);

  rig.Editor->FocusEntered();
  ASSERT_TRUE(rig.Editor->SelectRow(1));
  ASSERT_TRUE(rig.Viewer);
  EXPECT_EQ(rig.Viewer->Editor, rig.Editor.get());
  EXPECT_EQ(rig.Viewer->Selected, std::vector<TQD_URID>{R(2)});

  // The open viewer is reused; a closed one is opened and linked again.
  rig.Editor->SelectRow(0);
  EXPECT_EQ(rig.Opened, 1);
  rig.Close.Execute();
  rig.Editor->SelectRow(0);
  EXPECT_EQ(rig.Opened, 2);
  EXPECT_EQ(rig.Viewer->Selected, std::vector<TQD_URID>{R(1)});

  // An editor that goes leaves no dangling link behind.
  rig.Editor.reset();
  EXPECT_EQ(rig.Viewer->Editor, nullptr);
}

TEST(CustomReadingListEditor, PicksGoIntoTheCurrentRow) {
  TEditorRig rig;
  auto& editor = rig.With({"R1", "|", "R3"}, 1);
  // Through the link, as the viewer writes: the divider row becomes a reading.
  rig.Viewer->Editor->SelectURID(R(7));
  EXPECT_EQ(editor.Rows()[1], (TQD_EditorRow{"0xF0001000", "0x0", "0x0000007", "R7", ""}));
  // A sensor node passes the empty identifier; the parameters stay.
  editor.SelectRow(2);
  editor.SelectURID(TQD_URID::CreateEmpty());
  EXPECT_EQ(editor.Rows()[2], (TQD_EditorRow{"0x00000000", "0x0", "0x0000000", "-", "C=3"}));
}

TEST(CustomReadingListEditor, ButtonRules) {
  const struct {
    const char* Name;
    std::initializer_list<const char*> List;
    int Row;
    bool (TQD_CustomReadingListEditorModel::*Button)();
    bool Changed;
    std::vector<std::string> Descriptions;  // afterwards
    int RowAfter;
  } cases[] = {
      {"add on the empty row: a zero identifier", {}, 0, &TQD_CustomReadingListEditorModel::Add, true, {"-"}, 0},
      {"add copies below, current stays", {"R1", "R2", "R3"}, 1, &TQD_CustomReadingListEditorModel::Add, true,
       {"R1", "R2", "R2", "R3"}, 1},
      {"divider on the empty row", {}, 0, &TQD_CustomReadingListEditorModel::AddDivider, true, {"Divider"}, 0},
      {"divider inserted at the current row", {"R1", "R2"}, 1, &TQD_CustomReadingListEditorModel::AddDivider, true,
       {"R1", "Divider", "R2"}, 1},
      {"remove the only row: cleared", {"R1"}, 0, &TQD_CustomReadingListEditorModel::Remove, true, {""}, 0},
      {"remove in the middle", {"R1", "R2", "R3"}, 1, &TQD_CustomReadingListEditorModel::Remove, true,
       {"R1", "R3"}, 1},
      {"remove the last row", {"R1", "R2", "R3"}, 2, &TQD_CustomReadingListEditorModel::Remove, true,
       {"R1", "R2"}, 1},
      {"up", {"R1", "R2", "R3"}, 2, &TQD_CustomReadingListEditorModel::Up, true, {"R1", "R3", "R2"}, 1},
      {"up on the first row", {"R1", "R2"}, 0, &TQD_CustomReadingListEditorModel::Up, false, {"R1", "R2"}, 0},
      {"down", {"R1", "R2", "R3"}, 0, &TQD_CustomReadingListEditorModel::Down, true, {"R2", "R1", "R3"}, 1},
      {"down on the last row", {"R1", "R2"}, 1, &TQD_CustomReadingListEditorModel::Down, false, {"R1", "R2"}, 1},
  };
  for (const auto& c : cases) {
    TEditorRig rig;
    auto& editor = rig.With(c.List, c.Row);
    EXPECT_EQ((editor.*c.Button)(), c.Changed) << c.Name;
    EXPECT_EQ(rig.Descriptions(), c.Descriptions) << c.Name;
    EXPECT_EQ(editor.Row(), c.RowAfter) << c.Name;
  }
}

TEST(CustomReadingListEditor, TwentyRowsAtMost) {
  TEditorRig rig;
  for (int i = 1; i <= 19; ++i) rig.List.Add(R(static_cast<uint32_t>(i)), "");
  rig.Editor->Init();
  rig.Editor->FocusEntered();
  rig.Editor->SelectRow(0);
  EXPECT_TRUE(rig.Editor->Add());  // the 20th
  EXPECT_EQ(rig.Editor->RowCount(), 20);
  EXPECT_FALSE(rig.Editor->Add());
  EXPECT_FALSE(rig.Editor->AddDivider());
  EXPECT_EQ(rig.Editor->RowCount(), 20);
}

TEST(CustomReadingListEditor, ApplySelectionRewritesTheList) {
  TEditorRig rig;
  auto& editor = rig.With({"R1", "|", "R3", "R4"}, 3);
  editor.SelectURID(R(9));
  editor.SetParameters(3, "O=L");
  // A sensor picked into a copy of the first row: its zero identifier is skipped.
  editor.SelectRow(0);
  editor.Add();
  editor.SelectURID(TQD_URID::CreateNew(0, 0, 0));
  editor.SetParameters(2, "C=3");
  editor.ApplySelection();
  ASSERT_EQ(rig.List.Count(), 4);
  EXPECT_EQ(rig.List.Items()[0].URID, R(1));
  EXPECT_EQ(rig.List.Items()[0].Parameters, "C=1");
  EXPECT_TRUE(URIDIsDivider(rig.List.Items()[1].URID));
  EXPECT_EQ(rig.List.Items()[1].Parameters, "");
  EXPECT_EQ(rig.List.Items()[2].URID, R(3));
  EXPECT_EQ(rig.List.Items()[3].URID, R(9));
  EXPECT_EQ(rig.List.Items()[3].Parameters, "O=L");

  // The empty list's "+ Add" row is a zero identifier: applying leaves the list empty.
  auto& empty = rig.With({}, 0);
  empty.Add();
  empty.ApplySelection();
  EXPECT_EQ(rig.List.Count(), 0);
}
