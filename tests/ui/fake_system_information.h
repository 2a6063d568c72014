#pragma once

// A stand-in for the system-information program, recording what the code
// under test asked for.

#include "os/system_information.h"
#include "runtime/runtime_error.h"

#include <QSet>
#include <QStringList>

namespace velt::test {

class FakeSystemInformation : public SystemInformation
{
public:
    std::optional<QString> program; // what locate() finds
    QSet<QString> startable;
    bool raise = false;             // locate() raises a run-time error
    QStringList started;

    std::optional<QString> locate() override
    {
        if (raise)
            throw RuntimeError(err::kDeviceIo, {});
        return program;
    }

    bool start(const QString &path) override
    {
        if (!startable.contains(path))
            return false;
        started << path;
        return true;
    }
};

} // namespace velt::test
