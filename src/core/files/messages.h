#pragma once

#include <string>

// Every text the data-file commands show the operator, spelled once for the
// code and its tests. The spelling is the program's own: keep it byte for
// byte, spaces and typos included.
namespace qv70 {

// Captions of the boxes that show a reader's or the writer's message.
inline constexpr const char* kOpenCaption = "File Open";
inline constexpr const char* kSaveCaption = "File save";

namespace save_message {

inline constexpr const char* kReplaceQuestion = "Do you want to replace file?";
inline constexpr const char* kReplaceCaption = "File Replace";
// Before an open, and when the main window closes, with unsaved data.
inline constexpr const char* kSaveDataQuestion = "Do you want to save data?";
inline constexpr const char* kSaveDataCaption = "Data save";

// Second lines of the failure message, where the cause is known and is not
// what the first line already says.
inline constexpr const char* kDiskFull = "The disk is full.";
inline constexpr const char* kQuotaFull = "The disk quota is used up.";
inline constexpr const char* kForeignLink = "The file is a link that belongs to another user.";

// "<path> .The File is opened or read only!Can not be saved!", then the
// reason on a line of its own when there is one.
inline std::string Failed(const std::string& path, const std::string& reason = {}) {
  std::string text = path + " .The File is opened or read only!Can not be saved!";
  if (!reason.empty()) text += "\n" + reason;
  return text;
}

}  // namespace save_message

// The reader's refusals (shown with caption kOpenCaption).
namespace open_message {

inline std::string FileNotFound(const std::string& path) {
  return "The file \"" + path + "\" is not found.Please verify the correct file name was given.";
}
inline std::string FileNotReadable(const std::string& path) {
  return "The file \"" + path + "\" cannot be read.";
}

inline constexpr const char* kNotEnglishVersion = "The file isn't the English version of ZAVELQV70";
inline constexpr const char* kLackDatanum = "Lack \"0 datanum\".";
inline constexpr const char* kLackLogging = "Lack \"1 logging\".";
inline constexpr const char* kLackHeader = "Lack header.";
inline constexpr const char* kInconsistentSet = "Inconsistent record number";
inline constexpr const char* kInconsistentSetOlder = "Inconsistent record number.";
inline constexpr const char* kLackManual = "Lack \"2 manual\".";
inline constexpr const char* kLackManualHeader = "Lack header";
inline constexpr const char* kInconsistentGroupOlder = "Inconsistent record number ";
inline constexpr const char* kLackTime = "Lack \"3 Time\".";
inline constexpr const char* kLackIdn = "Lack \"4 IDN\".";
inline constexpr const char* kLackVersion = "Lack \"ZAVEL QV70 Ver\".";
inline constexpr const char* kLackVersionOlder = "Lack d\"ZAVEL QV70 Ver\".";
inline constexpr const char* kLackSerial = "Lack \"5 Serial Number\".";
inline constexpr const char* kLackPi = "Lack \"6 PI\".";
inline constexpr const char* kLackPiTitle = "Lack \"t1[min],t2[min]\".";
inline constexpr const char* kLackStep = "Lack \"7 one step interval\".";

// A count beyond the tables: "Count out of range: group A has 11 records (0 to 10)."
// and "Count out of range: set L9 has 361 samples (0 to 360).".
std::string GroupCountOutOfRange(char group, int count, int limit);
std::string SetCountOutOfRange(int set, int count, int limit);

}  // namespace open_message

}  // namespace qv70
