// The readings placeholder; see readings.h.
#include "collector/readings.h"

const TQD_ReadingsListItem& ReadingsPlaceholder() {
  static const TQD_ReadingsListItem placeholder = [] {
    TQD_ReadingsListItem p;
    p.szSensorNameOrig = p.szSensorNameUser = "-";
    p.szLabelOrig = p.szLabelUser = p.szUnit = "-";
    return p;
  }();
  return placeholder;
}

void ClearReadingsItem(TQD_ReadingsListItem& AItem) {
  AItem.dwSensorID = AItem.dwSensorInst = 0;
  AItem.szSensorNameOrig.clear();
  AItem.szSensorNameUser.clear();
  AItem.tReading = AItem.dwSensorIndex = AItem.dwReadingID = 0;
  AItem.szLabelOrig.clear();
  AItem.szLabelUser.clear();
  AItem.szUnit.clear();
  AItem.Value = AItem.ValueMin = AItem.ValueMax = AItem.ValueAvg = 0;
}
