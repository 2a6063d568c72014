#pragma once

// Opening a list and replacing a saved file, each system's own way
// (regular_file_posix.cpp, regular_file_win.cpp): neither may ever wait on
// what it finds, and what the user is told depends on exactly what the
// system answered.

#include "runtime/system_error.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

class QFile;

namespace velt {

// The working folder, as a message names it: with native separators, and
// even once it was deleted under the program (where the system still says
// where it was).
QString workingFolderName();

enum class FileKind { Regular, Folder, Pipe, Socket, Device };

struct OpenResult
{
    std::optional<SystemError> error; // set when nothing could be opened
    FileKind kind = FileKind::Regular;
};

// Opens `fileName` for reading without waiting, whatever it is (a named
// pipe with no writer, a device), and decides on the opened handle, not on
// the name: `file` is left open only when it is a regular file, or a link
// to one.
OpenResult openRegularFile(QFile &file, const QString &fileName);

struct ReplaceResult
{
    enum Step { CreatingNew, Writing, Replacing };
    std::optional<SystemError> error; // set when the file was not replaced
    Step step = CreatingNew;          // where it failed
    QString folder;                   // where the new file was to be made
};

// Writes `bytes` into a new file beside `fileName` (beside the file a link
// leads to), then puts it in the old one's place in one step, with the old
// one's permissions. The old file is never written: on any failure it is as
// it was, and the new file is gone.
ReplaceResult replaceFile(const QString &fileName, QByteArrayView bytes);

} // namespace velt
