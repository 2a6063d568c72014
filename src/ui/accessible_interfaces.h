#pragma once

namespace velt {

// What screen readers see of the widgets of ours that Qt's own interfaces
// do not describe: the sentence label's text, the spoken notice's role.
// Called once, before the first window.
void installAccessibleInterfaces();

} // namespace velt
