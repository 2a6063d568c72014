#pragma once

#include "ui/message_reporter.h"

namespace velt {

// The real reporter: a QMessageBox, application-modal, OK only, no icon,
// plain text (a file name or an entry must never be read as markup),
// centred over the window that reports.
class MessageBoxReporter : public MessageReporter
{
public:
    void report(const QString &text, QWidget *origin) override;
};

} // namespace velt
