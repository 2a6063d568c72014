#pragma once

// Presses OK on the next application-modal message box once it is up, and
// keeps what it saw: the window the box belongs to and its text.

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace velt::test {

class MessageBoxCloser : public QObject
{
public:
    QPointer<QWidget> owner;
    QString text;
    bool seen = false;

    // Call before the action that shows the box: it waits for it.
    void arm() { QTimer::singleShot(0, this, &MessageBoxCloser::poll); }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, this, &MessageBoxCloser::poll);
            return;
        }
        seen = true;
        owner = box->parentWidget();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    }
};

} // namespace velt::test
