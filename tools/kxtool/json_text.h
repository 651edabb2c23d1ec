// JSON text of an 8-bit string, for kxtool's reports: quotes, backslashes and the usual
// control characters are escaped; other bytes below 32 and bytes from 127 up (8-bit text in
// the system code page) are written by their code.
#pragma once

#include <cstdio>
#include <string>

namespace kxtool {

inline std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

}  // namespace kxtool
