#pragma once

#include <QString>

namespace velt {

// Tells the user something and waits until it is acknowledged: an
// application-modal box with an OK button only, titled with the application
// title. Event handlers report through this so tests and the soak program
// can count messages instead of showing them.
class MessageReporter
{
public:
    virtual ~MessageReporter() = default;
    virtual void report(const QString &text) = 0;
};

} // namespace velt
