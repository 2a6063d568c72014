#pragma once

namespace velt {

// The application title: every window's caption and message box title.
inline constexpr char16_t kAppTitle[] = u"VELT for Windows";

} // namespace velt
