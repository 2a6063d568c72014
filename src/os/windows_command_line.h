#pragma once

#include <QString>
#include <QStringView>

namespace velt {

// The command line that starts the program at `path` with no arguments on
// Windows: the path in double quotes, so CreateProcess never splits it at a
// space (unquoted, "C:\Program Files\x.exe" would first try to run
// "C:\Program.exe"). A path stored with one surrounding pair of quotes has
// them removed first. Empty when no path remains.
QString windowsCommandLine(QStringView path);

} // namespace velt
