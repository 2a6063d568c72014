#pragma once

#include <QString>

#include <optional>

namespace velt {

// The operating system's system-information program, as the About window
// needs it: where it is (or that there is none), and starting it. On
// Windows it is found in the registry (msinfo_lookup.h); elsewhere it is the
// first of the desktop's system-information programs on the search path.
// Tests hand the About window a fake instead.
class SystemInformation
{
public:
    virtual ~SystemInformation() = default;

    // The program, or nothing when this system offers none. A program that
    // was found may still fail to start.
    virtual std::optional<QString> locate() = 0;

    // Starts `program` on its own, with no arguments and a normal window,
    // without waiting for it. The path names one program: it is never split
    // at its spaces nor handed to a shell. False when it did not start.
    virtual bool start(const QString &program) = 0;

    // This system's.
    static SystemInformation &native();
};

} // namespace velt
