#include "ui/message_box_reporter.h"

#include "ui/app_title.h"

#include <QMessageBox>

namespace velt {

void MessageBoxReporter::report(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(kAppTitle), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace velt
