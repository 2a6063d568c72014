#pragma once

#include "ui/message_reporter.h"

#include <QStringList>

namespace velt::test {

// Collects messages instead of showing them.
class CountingReporter : public MessageReporter
{
public:
    void report(const QString &text, QWidget *) override { messages << text; }
    QStringList messages;
};

} // namespace velt::test
