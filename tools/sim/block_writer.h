// Writes blocks in HWiNFO's shared-memory layout: what sensorfeed publishes,
// and what the tests hand to the snapshot copy. Texts are given as UTF-8 and
// written in Windows-1252, the code page HWiNFO's texts arrive in here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TSF_Sensor {
  uint32_t dwSensorID = 0;
  uint32_t dwSensorInst = 0;
  std::string szSensorNameOrig;
  std::string szSensorNameUser;  // empty: same as the original name
};

struct TSF_Reading {
  uint32_t tReading = 0;
  uint32_t dwSensorIndex = 0;
  uint32_t dwReadingID = 0;
  std::string szLabelOrig;
  std::string szLabelUser;  // empty: same as the original label
  std::string szUnit;
  double Value = 0;
  double ValueMin = 0;
  double ValueMax = 0;
  double ValueAvg = 0;
};

struct TSF_Block {
  char Signature[4] = {'H', 'W', 'i', 'S'};
  uint32_t Version = 2;
  uint32_t Revision = 0;
  int64_t PollTime = 0;  // Unix seconds
  uint32_t SensorElementSize = 264;
  uint32_t ReadingElementSize = 316;
  std::vector<TSF_Sensor> Sensors;
  std::vector<TSF_Reading> Readings;
};

// Header, then the sensor section, then the reading section, densely packed.
std::vector<uint8_t> WriteBlock(const TSF_Block& ABlock);

// Rewrites only the values and the poll time of a block written by
// WriteBlock from the same sensors and readings (a publisher's hot path).
void UpdateBlockValues(const TSF_Block& ABlock, uint8_t* ADest, size_t ALength);

// UTF-8 to Windows-1252; characters it lacks become '?'.
std::string Utf8ToWindows1252(const std::string& AText);
