#pragma once

#include <QString>

class QWidget;

namespace velt {

// Tells the user something and waits until it is acknowledged: an
// application-modal box with an OK button only, titled with the application
// title, over `origin`, the window that has something to say, which gets
// the focus back afterwards. Event handlers report through this so tests
// and the soak program can count messages instead of showing them.
class MessageReporter
{
public:
    virtual ~MessageReporter() = default;
    virtual void report(const QString &text, QWidget *origin) = 0;
};

} // namespace velt
