// The latest HWiNFO snapshot as the rest of Quendal sees it: the sensor list
// and the readings list. Index 0 of the readings list is always a placeholder
// whose texts are "-", so a failed lookup can return 0 and still show
// something sensible without a special case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "collector/urid.h"

// Which value or name of a reading a text shows. The ordinals are stored in
// the registry by other parts of the program, so their order is fixed.
enum TQD_DynamicCaptionSource : uint8_t {
  dcsValue = 0,
  dcsValueMin = 1,
  dcsValueMax = 2,
  dcsValueAvg = 3,
  dcsLabelOrig = 4,
  dcsLabelUser = 5,
  dcsSensorNameOrig = 6,
  dcsSensorNameUser = 7,
};

struct TQD_SensorListItem {
  uint32_t dwSensorID = 0;
  uint32_t dwSensorInst = 0;
  std::string szSensorNameOrig;
  std::string szSensorNameUser;
};
using TQD_SensorList = std::vector<TQD_SensorListItem>;

// HWiNFO's reading type codes.
enum TQD_ReadingType : uint32_t {
  SENSOR_TYPE_NONE = 0,
  SENSOR_TYPE_TEMP = 1,
  SENSOR_TYPE_VOLT = 2,
  SENSOR_TYPE_FAN = 3,
  SENSOR_TYPE_CURRENT = 4,
  SENSOR_TYPE_POWER = 5,
  SENSOR_TYPE_CLOCK = 6,
  SENSOR_TYPE_USAGE = 7,
  SENSOR_TYPE_OTHER = 8,
};

struct TQD_ReadingsListItem {
  uint32_t dwSensorID = 0;
  uint32_t dwSensorInst = 0;
  std::string szSensorNameOrig;
  std::string szSensorNameUser;
  uint32_t tReading = 0;
  uint32_t dwSensorIndex = 0;
  uint32_t dwReadingID = 0;
  std::string szLabelOrig;
  std::string szLabelUser;
  std::string szUnit;
  double Value = 0;
  double ValueMin = 0;
  double ValueMax = 0;
  double ValueAvg = 0;

  TQD_URID URID() const { return TQD_URID::CreateNew(dwSensorID, dwSensorInst, dwReadingID); }
};
using TQD_ReadingsList = std::vector<TQD_ReadingsListItem>;

// The item at index 0 of every readings list.
const TQD_ReadingsListItem& ReadingsPlaceholder();

// Resets an item to all numbers 0 and all texts empty, keeping string capacity.
void ClearReadingsItem(TQD_ReadingsListItem& AItem);
