#include "ui/message_box_reporter.h"

#include "ui/app_title.h"

#include <QMessageBox>
#include <QPointer>

namespace velt {

void MessageBoxReporter::report(const QString &text, QWidget *origin)
{
    const QPointer<QWidget> window = origin ? origin->window() : nullptr;
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(kAppTitle), text, QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // Some window managers hand the focus to the main window when a box
    // closes, even when a tool window such as the About window asked for
    // it; Esc would then no longer reach that window.
    if (window && window->isVisible()) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace velt
