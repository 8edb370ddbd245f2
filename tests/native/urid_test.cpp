// URID text forms and the hex parser behind stored custom readings.
#include <gtest/gtest.h>

#include "collector/urid.h"

TEST(URID, TextFormPadsEachFieldToItsWidth) {
  EXPECT_EQ(URIDToText(TQD_URID::CreateNew(0xF0000300, 0, 0x7000000)),
            "Sensor: 0xF0000300 | Instance: 0x0 | Reading: 0x7000000");
  EXPECT_EQ(URIDToText(TQD_URID::CreateDivider()),
            "Sensor: 0xFFFFFFFF | Instance: 0xFFFFFFFF | Reading: 0xFFFFFFFF");
  EXPECT_EQ(URIDToText(TQD_URID::CreateNew(0x12, 0xAB, 0x3)),
            "Sensor: 0x00000012 | Instance: 0xAB | Reading: 0x0000003");
}

TEST(URID, HexTextToUIntAcceptsOnlyHexDigits) {
  EXPECT_EQ(HexTextToUInt(""), 0u);
  EXPECT_EQ(HexTextToUInt("0x"), 0u);  // prefix kept on 2-char texts; X is no digit
  EXPECT_EQ(HexTextToUInt("12G"), 0u);
  EXPECT_EQ(HexTextToUInt("f0000300"), 0xF0000300u);
  EXPECT_EQ(HexTextToUInt("0XABC"), 0xABCu);
  EXPECT_EQ(HexTextToUInt("0x0"), 0u);
  EXPECT_EQ(HexTextToUInt("1FFFFFFFF"), 0x1FFFFFFFFull);  // 64-bit accumulator
  EXPECT_EQ(HexTextToUInt(" 1"), 0u);
}

TEST(URID, TextToURIDGivesDividerForAnyDash) {
  EXPECT_TRUE(URIDIsDivider(TextToURID("-", "0", "0")));
  EXPECT_TRUE(URIDIsDivider(TextToURID("1", "2", "-")));
  EXPECT_EQ(TextToURID("F0000300", "0x0", "7000000"), TQD_URID::CreateNew(0xF0000300, 0, 0x7000000));
  // Only the low 32 bits of an oversized field are kept.
  EXPECT_EQ(TextToURID("1FFFFFFFF", "0", "0").dwSensorID, 0xFFFFFFFFu);
}

TEST(URID, EmptyAndDividerPredicates) {
  EXPECT_TRUE(URIDIsEmpty(TQD_URID::CreateEmpty()));
  EXPECT_FALSE(URIDIsEmpty(TQD_URID::CreateNew(0, 0, 1)));
  EXPECT_FALSE(URIDIsDivider(TQD_URID::CreateNew(0xFFFFFFFF, 0xFFFFFFFF, 0)));
  EXPECT_TRUE(URIDEquals(TQD_URID::CreateNew(1, 2, 3), TQD_URID::CreateNew(1, 2, 3)));
  EXPECT_FALSE(URIDEquals(TQD_URID::CreateNew(1, 2, 3), TQD_URID::CreateNew(1, 3, 2)));
}
