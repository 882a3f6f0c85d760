#include "announcer.h"

#include <QAccessibleWidget>

namespace quorin {
namespace {

class AccessibleAnnouncer : public QAccessibleWidget {
public:
    explicit AccessibleAnnouncer(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<Announcer*>(widget())->text() : QString();
    }
};

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // One pixel just outside its parent, painting nothing: on no picture of the board.
    setGeometry(-1, -1, 1, 1);
    hide();
}

void Announcer::Announce(const QString& text) {
    if (text.isEmpty())
        return;
    hide();
    text_ = text;
    show();
}

QAccessibleInterface* Announcer::Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("quorin::Announcer") && object && object->isWidgetType())
        return new AccessibleAnnouncer(static_cast<Announcer*>(object));
    return nullptr;
}

} // namespace quorin
