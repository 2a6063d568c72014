#pragma once

// Records the accessible names that windows announce (QAccessible's
// NameChanged events) while it lives. Qt hands events to an update handler
// only while the platform's accessibility is active, which it never is
// offscreen; it is switched on here the way Qt's own tests do.

#include <QAccessible>
#include <QList>
#include <QPair>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace velt::test {

class AccessibilityRecorder
{
public:
    using Announcement = QPair<QObject *, QString>; // who, and the name it now has

    AccessibilityRecorder()
    {
        heard().clear();
        platform()->setActive(true);
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::NameChanged)
                heard() << Announcement{event->object(), event->accessibleInterface()->text(QAccessible::Name)};
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
