#pragma once

#include <QString>
#include <QWidget>

class QAccessibleInterface;

namespace quorin {

// What the player should hear, for screen readers: an object of the notification role,
// invisible, that is shown anew with each text, as screen readers expect a notification.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void Announce(const QString& text);
    const QString& text() const { return text_; }

    // Makes the notification's interface; Qt asks each factory installed.
    static QAccessibleInterface* Factory(const QString& className, QObject* object);

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    QString text_;
};

} // namespace quorin
