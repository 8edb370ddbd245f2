// A data logger on fake ports fed with a hand-made HWiNFO block: tests add
// sensors and readings, then poll and look at what the logger derived.
#pragma once

#include <memory>
#include <string>

#include "sim/block_writer.h"
#include "collector/data_logger.h"
#include "sim/fake_ports.h"

struct TLoggerRig {
  TFakeCollector Fakes;
  TSF_Block Block;
  std::unique_ptr<TQD_DataLogger> Logger;

  explicit TLoggerRig(uint32_t APhysicalCores = 8) { Fakes.SystemInfo.CPU.NumPhysicalCores = APhysicalCores; }

  // Adds a sensor and returns its index for the readings.
  uint32_t Sensor(uint32_t AID, uint32_t AInst, const std::string& AName = "Sensor",
                  const std::string& AUserName = "") {
    Block.Sensors.push_back(TSF_Sensor{AID, AInst, AName, AUserName});
    return static_cast<uint32_t>(Block.Sensors.size() - 1);
  }

  // Adds a reading; its URID is returned for the assertions.
  TQD_URID Reading(uint32_t ASensor, uint32_t AType, uint32_t AID, const std::string& ALabel,
                   const std::string& AUnit = "", double AValue = 0) {
    TSF_Reading r;
    r.tReading = AType;
    r.dwSensorIndex = ASensor;
    r.dwReadingID = AID;
    r.szLabelOrig = ALabel;
    r.szUnit = AUnit;
    r.Value = r.ValueMin = r.ValueMax = r.ValueAvg = AValue;
    Block.Readings.push_back(r);
    const TSF_Sensor& s = Block.Sensors.at(ASensor);
    return TQD_URID::CreateNew(s.dwSensorID, s.dwSensorInst, AID);
  }

  // Creates the logger on first use (it reads the CPU counts when created).
  TQD_DataLogger& Get() {
    if (!Logger) Logger = std::make_unique<TQD_DataLogger>(Fakes.Ports(), false, 180, 2000);
    return *Logger;
  }

  // Publishes the current block and runs one HWiNFO poll.
  TQD_DataLogger& Poll() {
    TQD_DataLogger& logger = Get();
    Fakes.SharedMemory.Block = WriteBlock(Block);
    logger.HWiPolling();
    return logger;
  }

  // Runs one HWiNFO poll with no shared memory.
  TQD_DataLogger& PollWithoutHWiNFO() {
    TQD_DataLogger& logger = Get();
    Fakes.SharedMemory.Block.reset();
    logger.HWiPolling();
    return logger;
  }
};

// HWiNFO sensor identifiers the model knows.
inline constexpr uint32_t kCPUSensor = 0xF0000300;
inline constexpr uint32_t kCPUPowerSensor = 0xF0000501;
inline constexpr uint32_t kCPUPackage2Sensor = 0xF0002A00;
inline constexpr uint32_t kCoreTempSensor = 0xF0000400;
inline constexpr uint32_t kGPUSensor1 = 0xE0002000;
inline constexpr uint32_t kGPUSensor2 = 0xE0001800;
inline constexpr uint32_t kDriveSensor = 0xF0000101;
inline constexpr uint32_t kDriveTempSensor = 0xF0000100;
inline constexpr uint32_t kBoardSensor = 0xF0001000;  // recognised by nothing
