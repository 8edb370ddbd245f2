// UTF-8 encoding of one code point, shared by the readers of HWiNFO's
// single-byte texts and the text engines.
#pragma once

#include <string>

// Appends AC as UTF-8 (one to four bytes); AC must be a valid code point.
inline void AppendUtf8(char32_t AC, std::string& AOut) {
  if (AC < 0x80) {
    AOut.push_back(static_cast<char>(AC));
  } else if (AC < 0x800) {
    AOut.push_back(static_cast<char>(0xC0 | (AC >> 6)));
    AOut.push_back(static_cast<char>(0x80 | (AC & 0x3F)));
  } else if (AC < 0x10000) {
    AOut.push_back(static_cast<char>(0xE0 | (AC >> 12)));
    AOut.push_back(static_cast<char>(0x80 | ((AC >> 6) & 0x3F)));
    AOut.push_back(static_cast<char>(0x80 | (AC & 0x3F)));
  } else {
    AOut.push_back(static_cast<char>(0xF0 | (AC >> 18)));
    AOut.push_back(static_cast<char>(0x80 | ((AC >> 12) & 0x3F)));
    AOut.push_back(static_cast<char>(0x80 | ((AC >> 6) & 0x3F)));
    AOut.push_back(static_cast<char>(0x80 | (AC & 0x3F)));
  }
}
