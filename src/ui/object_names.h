#pragma once

// The object names of the windows and their controls: how tests,
// accessibility tools and the benchmarks find them. They are the names the
// windows were designed with, kept as identity; the C++ names of the
// controls say what each is for.

namespace velt::names {

// The main window.
inline constexpr char kMainWindow[] = "Form1";
inline constexpr char kSentenceBox[] = "veltbox";
inline constexpr char kShowButton[] = "Command1";
inline constexpr char kCountLabel[] = "Label1";
inline constexpr char kCountBox[] = "Text2";
inline constexpr char kCountSpinner[] = "VScroll1";
inline constexpr char kRouletteLabel[] = "Label2";
inline constexpr char kSpinButton[] = "Command2";
inline constexpr char kNextButton[] = "Command3";
inline constexpr char kStopButton[] = "Command4";
inline constexpr char kPlaceholderTimer[] = "Timer1";
inline constexpr char kBatchTimer[] = "Timer2";
inline constexpr char kRouletteTimer[] = "Timer3";

// Its menu bar.
inline constexpr char kFileMenu[] = "file";
inline constexpr char kSaveAction[] = "velts";
inline constexpr char kQuitAction[] = "end";
inline constexpr char kModeMenu[] = "modex";
inline constexpr char kMultiLineModeAction[] = "mode1";
inline constexpr char kRouletteModeAction[] = "mode2";
inline constexpr char kCharacterEditAction[] = "edit";
inline constexpr char kAboutAction[] = "info";

// The About window.
inline constexpr char kAboutWindow[] = "frmAbout";
inline constexpr char kOkButton[] = "cmdOK";
inline constexpr char kSystemInformationButton[] = "cmdSysInfo";
inline constexpr char kTitleLabel[] = "lblTitle";
inline constexpr char kVersionLabel[] = "lblVersion";
inline constexpr char kDescriptionLabel[] = "lblDescription";
inline constexpr char kDisclaimerLabel[] = "lblDisclaimer";
inline constexpr char kIconPicture[] = "picIcon";
inline constexpr char kSeparatorWhite[] = "Line1_0"; // drawn first, two pixels wide
inline constexpr char kSeparatorGrey[] = "Line1_1";  // one pixel, over the white one's top row

} // namespace velt::names
