#include "os/system_information.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// Systems without a registry: the desktop's own system-information program,
// the first of those below that is on the search path.

namespace velt {
namespace {

class SearchPathSystemInformation final : public SystemInformation
{
public:
    std::optional<QString> locate() override
    {
        // Searched afresh on every click, so a program installed while VELT
        // runs is found.
        for (const char *name : {"kinfocenter", "hardinfo2", "hardinfo"}) {
            const QString path = QStandardPaths::findExecutable(QLatin1StringView(name));
            if (!path.isEmpty())
                return path;
        }
        return std::nullopt;
    }

    bool start(const QString &program) override
    {
        return !program.isEmpty() && QProcess::startDetached(program, {});
    }
};

} // namespace

SystemInformation &SystemInformation::native()
{
    static SearchPathSystemInformation instance;
    return instance;
}

} // namespace velt
