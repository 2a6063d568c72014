#include "platform/gui/message_box_reporter.h"

#include "app_version.h"

#include <QMessageBox>

namespace velt {

void MessageBoxReporter::report(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(APP_TITLE), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace velt
