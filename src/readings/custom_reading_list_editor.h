// The custom reading list editor's table, apart from its window: one row of
// five texts per entry of a custom readings list ("Sensor ID", "Instance ID",
// "Reading ID", "Description", "Parameters"), the current row, the buttons'
// rules, the link to the shared memory viewer, and ApplySelection, which is
// the only place the list itself changes. The Win32 editor mirrors the rows
// into a list view and forwards clicks and keys here.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/action.h"
#include "collector/data_logger.h"
#include "readings/custom_readings_list.h"
#include "readings/urid_link.h"

enum TQD_EditorColumn : uint8_t { ecSensorID, ecInstanceID, ecReadingID, ecDescription, ecParameters, ecColumnCount };
using TQD_EditorRow = std::array<std::string, ecColumnCount>;

extern const char* const CustomReadingListEditorHeaders[ecColumnCount];

class TQD_CustomReadingListEditorModel : public TQD_URIDReceiver {
 public:
  // Data rows, header not counted: the list's own limit.
  static constexpr int MaxRows = TQD_CustomReadingsList::MaxCount;

  TQD_CustomReadingListEditorModel();
  // Unlinks the viewer if it still writes into this editor.
  ~TQD_CustomReadingListEditorModel() override;

  TQD_DataLogger* DataLogger = nullptr;                 // reading names
  TQD_CustomReadingsList* CustomReadingsList = nullptr;  // the list edited
  TQD_Action* OpenURIDSelectorAction = nullptr;
  TQD_Action* CloseURIDSelectorAction = nullptr;
  // The viewer that exists now, or nullptr: whoever owns it answers.
  std::function<TQD_URIDSelector*()> URIDSelector;
  // After every change of the rows or of the current row.
  std::function<void()> OnChanged;

  void OpenURIDSelector();
  void CloseURIDSelector();

  // Fills the rows from the list; an empty list shows one empty row.
  void Init();

  // The table got the input focus: from now on rows can be selected.
  void FocusEntered() { FInitState = false; }
  bool InitState() const { return FInitState; }
  // The row selection step: refused (false) while in the initial state;
  // otherwise the row becomes current, the viewer is opened and linked to
  // this editor if none exists, and shows the row's reading.
  bool SelectRow(int ARow);

  // A pick in the viewer: the identifier and its user label go into the
  // current row; the parameters stay.
  void SelectURID(const TQD_URID& AURID) override;
  // The parameter edit box was left.
  void SetParameters(int ARow, std::string AText);

  // The buttons; each returns whether it changed anything, and does nothing
  // without a current row.
  bool Add();
  bool AddDivider();
  bool Remove();
  bool Up();
  bool Down();

  // Rewrites the list from the rows: empty identifiers are skipped, "-"
  // identifiers become dividers.
  void ApplySelection();

  const std::vector<TQD_EditorRow>& Rows() const { return FRows; }
  int RowCount() const { return static_cast<int>(FRows.size()); }
  // The current data row (0 = first), -1 until one is selected.
  int Row() const { return FRow; }
  TQD_URID RowURID(int ARow) const;

 private:
  bool OnlyOneEmptyRow() const;
  void Changed();

  std::vector<TQD_EditorRow> FRows;
  int FRow = -1;
  bool FInitState = true;
};

// Cell texts of a list entry.
TQD_EditorRow EditorRowOf(const TQD_CustomReadingsListItem& AItem, const TQD_DataLogger* ALogger);
