// The custom reading list editor's table; see custom_reading_list_editor.h.
#include "readings/custom_reading_list_editor.h"

#include <utility>

#include "readings/urid_selector_model.h"

const char* const CustomReadingListEditorHeaders[ecColumnCount] = {"Sensor ID", "Instance ID", "Reading ID",
                                                                   "Description", "Parameters"};

namespace {

TQD_EditorRow DividerRow() { return {"-", "-", "-", "Divider", ""}; }

std::string UserLabel(const TQD_DataLogger* ALogger, const TQD_URID& AURID) {
  return ALogger ? ALogger->GetUserLabel(AURID) : std::string("-");
}

void SetIdentifier(TQD_EditorRow& ARow, const TQD_URID& AURID, const TQD_DataLogger* ALogger) {
  ARow[ecSensorID] = SensorIDText(AURID.dwSensorID);
  ARow[ecInstanceID] = SensorInstText(AURID.dwSensorInst);
  ARow[ecReadingID] = ReadingIDText(AURID.dwReadingID);
  ARow[ecDescription] = UserLabel(ALogger, AURID);
}

}  // namespace

TQD_EditorRow EditorRowOf(const TQD_CustomReadingsListItem& AItem, const TQD_DataLogger* ALogger) {
  if (URIDIsDivider(AItem.URID)) return DividerRow();
  TQD_EditorRow row;
  SetIdentifier(row, AItem.URID, ALogger);
  row[ecParameters] = AItem.Parameters;
  return row;
}

// An empty table still shows one row to click into.
TQD_CustomReadingListEditorModel::TQD_CustomReadingListEditorModel() : FRows(1) {}

TQD_CustomReadingListEditorModel::~TQD_CustomReadingListEditorModel() {
  if (!URIDSelector) return;
  if (TQD_URIDSelector* viewer = URIDSelector(); viewer && viewer->CustomReadingListEditor() == this)
    viewer->SetCustomReadingListEditor(nullptr);
}

void TQD_CustomReadingListEditorModel::OpenURIDSelector() {
  if (OpenURIDSelectorAction) OpenURIDSelectorAction->Execute();
}

void TQD_CustomReadingListEditorModel::CloseURIDSelector() {
  if (CloseURIDSelectorAction) CloseURIDSelectorAction->Execute();
}

void TQD_CustomReadingListEditorModel::Changed() {
  if (OnChanged) OnChanged();
}

void TQD_CustomReadingListEditorModel::Init() {
  FRows.clear();
  if (CustomReadingsList)
    for (const TQD_CustomReadingsListItem& item : CustomReadingsList->Items())
      FRows.push_back(EditorRowOf(item, DataLogger));
  if (FRows.empty()) FRows.resize(1);
  if (FRow >= RowCount()) FRow = RowCount() - 1;
  Changed();
}

TQD_URID TQD_CustomReadingListEditorModel::RowURID(int ARow) const {
  if (ARow < 0 || ARow >= RowCount()) return TQD_URID::CreateEmpty();
  const TQD_EditorRow& row = FRows[static_cast<size_t>(ARow)];
  return TextToURID(row[ecSensorID], row[ecInstanceID], row[ecReadingID]);
}

bool TQD_CustomReadingListEditorModel::SelectRow(int ARow) {
  if (FInitState || ARow < 0 || ARow >= RowCount()) return false;
  FRow = ARow;
  const TQD_URID urid = RowURID(ARow);
  TQD_URIDSelector* viewer = URIDSelector ? URIDSelector() : nullptr;
  if (!viewer) {
    OpenURIDSelector();
    viewer = URIDSelector ? URIDSelector() : nullptr;
    if (viewer) viewer->SetCustomReadingListEditor(this);
  }
  if (viewer) viewer->SelectURID(urid);
  Changed();
  return true;
}

void TQD_CustomReadingListEditorModel::SelectURID(const TQD_URID& AURID) {
  if (FRow < 0) return;
  SetIdentifier(FRows[static_cast<size_t>(FRow)], AURID, DataLogger);
  Changed();
}

void TQD_CustomReadingListEditorModel::SetParameters(int ARow, std::string AText) {
  if (ARow < 0 || ARow >= RowCount()) return;
  FRows[static_cast<size_t>(ARow)][ecParameters] = std::move(AText);
  Changed();
}

bool TQD_CustomReadingListEditorModel::OnlyOneEmptyRow() const {
  const TQD_EditorRow& row = FRows[0];
  return RowCount() == 1 && row[ecSensorID].empty() && row[ecInstanceID].empty() && row[ecReadingID].empty();
}

bool TQD_CustomReadingListEditorModel::Add() {
  if (FRow < 0 || RowCount() >= MaxRows) return false;
  if (OnlyOneEmptyRow()) {
    // The row the empty list shows becomes a reading to be picked.
    FRows[0] = TQD_EditorRow{};
    SetIdentifier(FRows[0], TQD_URID::CreateEmpty(), nullptr);
  } else {
    // A copy below; the current row stays current, so the next pick in the
    // viewer replaces its reading and the copy keeps the old one.
    FRows.insert(FRows.begin() + FRow + 1, FRows[static_cast<size_t>(FRow)]);
  }
  Changed();
  return true;
}

bool TQD_CustomReadingListEditorModel::AddDivider() {
  if (FRow < 0 || RowCount() >= MaxRows) return false;
  if (!OnlyOneEmptyRow()) FRows.insert(FRows.begin() + FRow, TQD_EditorRow{});
  FRows[static_cast<size_t>(FRow)] = DividerRow();
  Changed();
  return true;
}

bool TQD_CustomReadingListEditorModel::Remove() {
  if (FRow < 0) return false;
  if (RowCount() == 1) {
    FRows[0] = TQD_EditorRow{};
  } else {
    FRows.erase(FRows.begin() + FRow);
    if (FRow >= RowCount()) FRow = RowCount() - 1;
  }
  Changed();
  return true;
}

bool TQD_CustomReadingListEditorModel::Up() {
  if (FRow <= 0) return false;
  std::swap(FRows[static_cast<size_t>(FRow)], FRows[static_cast<size_t>(FRow - 1)]);
  --FRow;
  Changed();
  return true;
}

bool TQD_CustomReadingListEditorModel::Down() {
  if (FRow < 0 || FRow >= RowCount() - 1) return false;
  std::swap(FRows[static_cast<size_t>(FRow)], FRows[static_cast<size_t>(FRow + 1)]);
  ++FRow;
  Changed();
  return true;
}

void TQD_CustomReadingListEditorModel::ApplySelection() {
  if (!CustomReadingsList) return;
  CustomReadingsList->Clear();
  for (int i = 0; i < RowCount(); ++i) {
    const TQD_URID urid = RowURID(i);
    if (URIDIsEmpty(urid)) continue;
    if (URIDIsDivider(urid)) CustomReadingsList->CreateDivider();
    else CustomReadingsList->Add(urid, FRows[static_cast<size_t>(i)][ecParameters]);
  }
}
