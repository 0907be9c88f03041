#pragma once

// Every text the instrument jobs show the operator, spelled once for the code
// and its tests. The spelling is the instrument program's own: keep it byte
// for byte, typos included.
namespace qv70::instrument_message {

// The link (UsbLink), with caption kWarningCaption.
inline constexpr const char* kNoInstrument = "No instrument have been detected!";
inline constexpr const char* kEquipmentUnusual =
    "The equipment is unusual,Please restart the equipment(QV70).";
inline constexpr const char* kWarningCaption = "Warning";

// Obtain Data (DownloadJob).
inline constexpr const char* kObtainDataCaption = "Obtain Data";
inline constexpr const char* kNothingSelected = "You havent't selected data!";
inline constexpr const char* kAllReceived = "All data have been received,please check the data!";
inline constexpr const char* kDataReceiveCaption = "Data Receive";
// The status line: eight blanks, then the count.
inline constexpr const char* kSelectNumberText = "Obtain Data        Select Number:";
inline constexpr const char* kDataTotalText = "Obtain Data        Data Total:";

// QV70 Setting (SettingsJob), with caption kSettingCaption unless noted.
inline constexpr const char* kSettingCaption = "QV70 Setting";
inline constexpr const char* kNeedSelect = "You need select parameter";
inline constexpr const char* kPiRange = "The value of t1 and t2 shoule be the integer from 1 to 30";
inline constexpr const char* kPiOrder = "The value of t1 should be less than t2";
inline constexpr const char* kAllSent = "All data have been sent";
inline constexpr const char* kSendingSuccessCaption = "sending success";

}  // namespace qv70::instrument_message
