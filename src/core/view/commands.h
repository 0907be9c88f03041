#pragma once

#include <array>

namespace qv70 {

// Command ids of the menu and toolbar, as the shortcut table and the enabling
// rules name them.
enum CommandId : int {
  kCmdOpen = 57601,
  kCmdSave = 32774,
  kCmdExit = 57665,
  kCmdCopyGraph = 57634,
  kCmdObtainData = 32771,
  kCmdQv70Setting = 32772,
  kCmdSetReport = 32773,
  kCmdSaveAsRtf = 32779,
  kCmdCustomize = 32778,
  kCmdDisplayToolBar = 59392,
  kCmdHelp = 32775,
  kCmdAbout = 57664,
  kCmdPrint = 57607,
  kCmdPrintDirect = 57608,
  kCmdPrintPreview = 57609,
  kCmdSaveReportPicture = 32777,
};

// The program's fixed texts.
inline constexpr const char* kMainTitle = "Data Analysis Software for QV70 HIGH VOLTAGE INSULATION OHMRIDER";
inline constexpr const char* kAlreadyOpenText =
    "Data Analysis Software for QV70 HIGH VOLTAGE INSULATION OHMRIDR has been opened already! ";
inline constexpr const char* kAlreadyOpenCaption = "Error";
inline constexpr const char* kInstanceLockName = "QV70Software";
inline constexpr const char* kVersionText = "V2.01";
inline constexpr const char* kPreviewTitle = "Set Report";
inline constexpr const char* kHelpFile = "Help/QV70Help.chm";

// What a command shows: its status prompt and tool tip (null: none).
struct CommandTexts {
  int id;
  const char* caption;  // menu caption, null for toolbar-only use
  const char* prompt;
  const char* toolTip;
};

inline constexpr std::array<CommandTexts, 12> kCommandTexts = {{
    {kCmdOpen, "&Open...\tCtrl+O", "Open a file", "Open"},
    {kCmdSave, "&Save...\tCtrl+S", "Save File", "Save"},
    {kCmdExit, "E&xit", "Exit", nullptr},
    {kCmdCopyGraph, "&Copy Graph", "Copy Graph", "Copy Graph"},
    {kCmdObtainData, "&Obtain Data...", "Obtain Data ", "Obtain Data"},
    {kCmdQv70Setting, "QV70 Se&tting...", "QV70 Setting ", "QV70  Setting"},
    {kCmdSetReport, "Set &Report...", "Set Report ", "Set Report"},
    {kCmdSaveAsRtf, "Save as RTF", "Save as RTF ", "Save as RTF"},
    {kCmdCustomize, "Customize", "Customize ", " Customize"},
    {kCmdDisplayToolBar, "&Display Tool bar", "ToolBar", nullptr},
    {kCmdHelp, "&Help\tF1", "Help ", "Help"},
    {kCmdAbout, "&About", "", "About"},
}};

const CommandTexts* FindCommandTexts(int id);

// The toolbar from left to right; 0 is a separator.
inline constexpr std::array<int, 13> kToolbarLayout = {
    kCmdOpen, kCmdSave, 0, kCmdCopyGraph, 0, kCmdObtainData, 0, kCmdQv70Setting, 0,
    kCmdSetReport, kCmdHelp, 0, kCmdAbout};

}  // namespace qv70
