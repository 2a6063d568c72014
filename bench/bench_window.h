#pragma once

#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QCoreApplication>
#include <QPlainTextEdit>

namespace velt::bench {

// Runs the event loop until the start-up placeholder is in the box: only
// then is the window done starting.
inline void waitForPlaceholder(const MainWindow &window)
{
    const auto *box = window.findChild<QPlainTextEdit *>(QLatin1StringView(names::kSentenceBox));
    while (box->toPlainText().isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
}

} // namespace velt::bench
