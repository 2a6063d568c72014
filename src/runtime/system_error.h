#pragma once

#include <QString>

namespace velt {

// What a failing file operation ran into, sorted by what the user can do
// about it, and the system's own words for it.
struct SystemError
{
    enum Kind {
        NotFound,      // the file, or the folder on its way
        NoPermission,  // the user may not read, write or create there
        ReadOnlyMedia, // a read-only disk or mount
        DiskFull,
        Quota,         // the user's share of the disk is used up
        InUse,         // another program holds the file
        DeviceError,   // the disk or the network failed
        TooLarge,      // a size limit of the system or the file system
        BrokenPipe,    // the reader of a pipe went away
        Other,
    };

    Kind kind = Other;
    QString systemText;

    // A C library errno value, on every system.
    static SystemError fromErrno(int code);
    // The error of this thread's last system call: errno on POSIX systems,
    // GetLastError() on Windows (system_error_posix.cpp, _win.cpp).
    static SystemError last();
};

// One Japanese sentence or two for the causes whose remedy is the same
// whatever was being done (a full disk, a quota, a failing disk, a file in
// use, a size limit); for any other cause, a sentence that carries the
// system's own words. Callers word the causes whose remedy depends on what
// they were doing (a missing file, a permission) themselves.
QString describeSystemError(const SystemError &error);

} // namespace velt
