#pragma once

namespace velt {

// What holds for every window of the program, set once after the
// application object exists: its name and version, and the window icon.
void setUpApplication();

} // namespace velt
