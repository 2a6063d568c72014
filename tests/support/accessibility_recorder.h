#pragma once

// Records what screen readers are told while it lives: accessible names
// that change (QAccessible's NameChanged) and notifications that appear
// (ObjectShow of an object whose role is Notification). Qt hands events to an update handler
// only while the platform's accessibility is active, which it never is
// offscreen; it is switched on here the way Qt's own tests do.

#include <QAccessible>
#include <QList>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace velt::test {

class AccessibilityRecorder
{
public:
    struct Announcement
    {
        QObject *object;
        QString name;   // set for a NameChanged
        QString notice; // set for a notification that appears
        bool operator==(const Announcement &) const = default;
    };

    AccessibilityRecorder()
    {
        heard().clear();
        platform()->setActive(true);
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::NameChanged)
                heard() << Announcement{event->object(), event->accessibleInterface()->text(QAccessible::Name), {}};
            else if (event->type() == QAccessible::ObjectShow
                     && event->accessibleInterface()->role() == QAccessible::Notification)
                heard() << Announcement{event->object(), {}, event->accessibleInterface()->text(QAccessible::Name)};
        });
    }
    ~AccessibilityRecorder()
    {
        QAccessible::installUpdateHandler(nullptr);
        platform()->setActive(false);
    }
    AccessibilityRecorder(const AccessibilityRecorder &) = delete;
    AccessibilityRecorder &operator=(const AccessibilityRecorder &) = delete;

    // What was announced since the last call.
    QList<Announcement> take() { return std::exchange(heard(), {}); }

private:
    static QList<Announcement> &heard()
    {
        static QList<Announcement> announcements;
        return announcements;
    }
    static QPlatformAccessibility *platform()
    {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }
};

} // namespace velt::test
