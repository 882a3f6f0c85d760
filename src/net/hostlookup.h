#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace quorin {

// Looks up the addresses of a host name on a thread of its own that nothing ever waits
// for: a name whose resolver does not answer holds neither the window nor the end of the
// program. A lookup given up (a new one, Abandon, or the end of this object) is left to
// finish on its own, and its answer goes nowhere.
class HostLookup : public QObject {
    Q_OBJECT

public:
    explicit HostLookup(QObject* parent = nullptr) : QObject(parent) {}
    ~HostLookup() override;

    // Starts looking up `name`; the answer arrives as `found`.
    void Start(const QString& name);
    void Abandon();
    bool Looking() const { return pending_ != nullptr; }

signals:
    // The addresses of the name, in the resolver's order; none when it is not known.
    void found(const QList<QHostAddress>& addresses);

private:
    struct Pending;
    std::shared_ptr<Pending> pending_;
};

} // namespace quorin
