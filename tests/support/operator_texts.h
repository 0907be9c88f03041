#pragma once

// The operator's texts the tests compare messages with, written out once here
// rather than taken from the code under test, so a changed text is caught.
namespace qv70::test {

inline constexpr const char* kNoInstrument = "No instrument have been detected!";
inline constexpr const char* kEquipmentUnusual = "The equipment is unusual,Please restart the equipment(QV70).";
inline constexpr const char* kNothingSelected = "You havent't selected data!";
inline constexpr const char* kAllDataReceived = "All data have been received,please check the data!";
inline constexpr const char* kNeedParameter = "You need select parameter";
inline constexpr const char* kAllDataSent = "All data have been sent";
inline constexpr const char* kTestTimeRange = "The value of t1 and t2 shoule be the integer from 1 to 30";
inline constexpr const char* kTestTimeOrder = "The value of t1 should be less than t2";
inline constexpr const char* kSaveQuestion = "Do you want to save data?";

}  // namespace qv70::test
