#pragma once

#include "net/routerclient.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <mutex>

namespace quorin::test {

// What a stand-in router answers and what it was asked, from whichever thread asks.
struct RouterLog {
    std::mutex mutex;
    QStringList calls;
    RouterClient::Found found; // no router unless a test sets one
    std::map<int, int> codes;  // external port -> the code a mapping of it answers
    bool permanentOnly = false;
    QStringList Calls() {
        const std::lock_guard lock(mutex);
        return calls;
    }
};

// A router that answers from its log and notes every call there.
class FakeRouter : public RouterClient {
public:
    explicit FakeRouter(std::shared_ptr<RouterLog> log = std::make_shared<RouterLog>())
        : log_(std::move(log)) {}
    Found Find() override {
        const std::lock_guard lock(log_->mutex);
        log_->calls << "find";
        return log_->found;
    }
    Answer AddMapping(int external, int internal, int lease) override {
        Note(QStringLiteral("map %1>%2 %3").arg(external).arg(internal).arg(lease));
        const std::lock_guard lock(log_->mutex);
        const int code = log_->permanentOnly && lease != 0 ? 725
                         : log_->codes.contains(external)  ? log_->codes.at(external)
                                                           : 0;
        return {code, code ? "refused " + std::to_string(code) : "", external, {}};
    }
    void DeleteMapping(int external, int) override {
        Note(QStringLiteral("unmap %1").arg(external));
    }
    Answer AddPinhole(const std::string& to, int port, int lease) override {
        Note(QStringLiteral("pinhole %1 %2 %3").arg(to.c_str()).arg(port).arg(lease));
        return {0, {}, port, "7"};
    }
    void UpdatePinhole(const std::string& id, int lease) override {
        Note(QStringLiteral("renew pinhole %1 %2").arg(id.c_str()).arg(lease));
    }
    void DeletePinhole(const std::string& id) override {
        Note(QString("close pinhole ") + id.c_str());
    }

private:
    void Note(const QString& call) {
        const std::lock_guard lock(log_->mutex);
        log_->calls << call;
    }
    std::shared_ptr<RouterLog> log_;
};

} // namespace quorin::test
