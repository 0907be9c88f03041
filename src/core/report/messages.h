#pragma once

#include <string>

#include "core/files/messages.h"

// Every text the report settings show the operator, spelled once for the code
// and its tests, byte for byte as the program has always shown them.
namespace qv70::report_message {

inline constexpr const char* kCaption = "Message";
inline constexpr const char* kChooseData = "Please Choose Data To Print!";
inline constexpr const char* kCommentTooLong = "Please enter no more than 250 characters";

inline constexpr const char* kOpenFileCaption = "Open File";
inline std::string CannotOpenFile(const std::string& path) { return "Cannot open file \"" + path + "\"."; }

// Config.ini keeps values of at most 254 bytes; a longer picture path would
// come back cut, so it is refused when chosen.
inline constexpr const char* kPicturePathTooLong =
    "The path of this picture is too long to be kept in Config.ini (254 bytes at most).\n"
    "Please choose a picture with a shorter path.";

// Printing and the preview.
inline constexpr const char* kCommandFailed = "Command failed.";
inline constexpr const char* kPrintCaption = "Print";
inline constexpr const char* kNothingToPrint =
    "The report has no pages to print.\nChoose its data with \"Set Report\" first.";
inline constexpr const char* kPrintFailed = "The report could not be printed: the printer or file could not be written.";

// Save as RTF: the save dialog's file type, and the failure to write the file,
// whenever it happens (the open test, a full disk while the pages are written).
inline constexpr const char* kSaveRtfCaption = "Save as RTF";
inline constexpr const char* kRtfFilterDescription = "QV70 File (*.rtf)";
inline constexpr const char* kRtfFilterPattern = "*.rtf";
inline constexpr const char* kRtfExtension = "rtf";
// The save dialog's question before it replaces a file.
inline constexpr const char* kReplaceRtfCaption = "Confirm Save As";
inline std::string ReplaceRtfQuestion(const std::string& name) {
  return name + " already exists.\nDo you want to replace it?";
}
// "%s .The File is opened or read only!Can not be saved!" with the path; a
// known cause (a full disk) on a second line, as the data-file save gives it.
inline std::string RtfNotSaved(const std::string& path, const std::string& reason = {}) {
  return save_message::Failed(path, reason);
}

}  // namespace qv70::report_message
