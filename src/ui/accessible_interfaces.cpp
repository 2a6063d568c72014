#include "ui/accessible_interfaces.h"

#include "ui/sentence_label.h"
#include "ui/spoken_notice.h"

#include <QAccessibleWidget>

namespace velt {
namespace {

// The sentence: a read-only plain text, the label's own, with its
// selection.
class AccessibleSentence : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit AccessibleSentence(SentenceLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }

    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && label()->hasSelectedText()) {
            *start = label()->selectionStart();
            *end = *start + int(label()->selectedText().size());
        }
    }
    int selectionCount() const override { return label()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { label()->setSelection(0, 0); }
    void setSelection(int, int start, int end) override { label()->setSelection(start, end - start); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return label()->text().mid(start, end - start); }
    int characterCount() const override { return int(label()->text().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    // One plain run: no attributes anywhere, over the whole text (a run of
    // no length makes Orca read a line a character at a time).
    QString attributes(int, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }
};

// The notice: a notification named by what it says.
class AccessibleNotice : public QAccessibleWidget
{
public:
    explicit AccessibleNotice(SpokenNotice *notice)
        : QAccessibleWidget(notice, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<SpokenNotice *>(widget())->text() : QString();
    }
};

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("velt::SentenceLabel"))
        return new AccessibleSentence(static_cast<SentenceLabel *>(object));
    if (className == QLatin1String("velt::SpokenNotice"))
        return new AccessibleNotice(static_cast<SpokenNotice *>(object));
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(interfaceFor);
}

} // namespace velt
