#include "routermapping.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace quorin {

// The jobs for the router, and what the thread that runs them keeps between them. The
// thread runs while jobs wait and then ends; the next job starts another.
struct RouterMapping::Worker {
    std::mutex mutex;
    std::condition_variable idle;
    std::deque<std::function<void(Worker&)>> jobs;
    bool running = false;
    RouterMapping* owner = nullptr; // until it goes; answers are posted to it
    MakeRouter makeRouter;
    int port = 0;
    int leaseSeconds = 0;
    std::unique_ptr<RouterClient> router;
    std::unique_ptr<PortMapper> mapper;

    // The mapper, made at the first job: the router is not looked for before.
    PortMapper& Mapper() {
        if (!mapper) {
            router = makeRouter();
            mapper = std::make_unique<PortMapper>(*router, port, leaseSeconds);
        }
        return *mapper;
    }

    void Run() {
        std::unique_lock lock(mutex);
        while (!jobs.empty()) {
            const std::function<void(Worker&)> job = std::move(jobs.front());
            jobs.pop_front();
            lock.unlock();
            job(*this);
            lock.lock();
        }
        running = false;
        idle.notify_all();
    }
};

RouterMapping::RouterMapping(MakeRouter makeRouter, int port, int leaseSeconds, QObject* parent)
    : QObject(parent), makeRouter_(std::move(makeRouter)), port_(port),
      leaseSeconds_(leaseSeconds) {
    connect(&renew_, &QTimer::timeout, this,
            [this] { Ask([](Worker& worker) { worker.Mapper().Renew(); }); });
}

RouterMapping::~RouterMapping() {
    if (!worker_)
        return;
    const std::lock_guard lock(worker_->mutex);
    worker_->owner = nullptr;
}

void RouterMapping::Ask(std::function<void(Worker&)> job) {
    if (!worker_) {
        worker_ = std::make_shared<Worker>();
        worker_->owner = this;
        worker_->makeRouter = makeRouter_;
        worker_->port = port_;
        worker_->leaseSeconds = leaseSeconds_;
    }
    const std::lock_guard lock(worker_->mutex);
    worker_->jobs.push_back(std::move(job));
    if (worker_->running)
        return;
    worker_->running = true;
    // Nothing waits for this thread to end: a router that never answers holds nothing up.
    std::thread([worker = worker_] { worker->Run(); }).detach();
}

void RouterMapping::SetWanted(bool wanted, const QString& globalIPv6) {
    if (wanted == wanted_)
        return;
    wanted_ = wanted;
    const int generation = ++generation_;
    if (!wanted) {
        open_ = false;
        externalAddress_.clear();
        externalPort_ = 0;
        renew_.stop();
        Ask([](Worker& worker) { worker.Mapper().Close(); });
        return;
    }
    Ask([generation, v6 = globalIPv6.toStdString()](Worker& worker) {
        PortMapper& mapper = worker.Mapper();
        const PortMapper::Opened result = mapper.Open(v6);
        const std::lock_guard lock(worker.mutex);
        if (RouterMapping* owner = worker.owner)
            QMetaObject::invokeMethod(
                owner,
                [owner, generation, result, lease = mapper.lease()] {
                    owner->OnOpened(generation, result, lease);
                },
                Qt::QueuedConnection);
    });
}

void RouterMapping::OnOpened(int generation, const PortMapper::Opened& result, int lease) {
    if (generation != generation_)
        return; // no longer wanted: the removal is already on its way
    switch (result.outcome) {
    case PortMapper::Opened::Outcome::Open:
        open_ = true;
        externalAddress_ = QString::fromStdString(result.externalAddress);
        externalPort_ = result.externalPort;
        if (lease > 0)
            renew_.start(lease * 1000 / 2);
        emit opened(externalAddress_, externalPort_);
        break;
    case PortMapper::Opened::Outcome::NoRouter:
        emit noRouter();
        break;
    case PortMapper::Opened::Outcome::Refused:
        emit refused(QString::fromStdString(result.error));
        break;
    }
}

void RouterMapping::Finish(int waitMs) {
    SetWanted(false);
    if (!worker_)
        return;
    std::unique_lock lock(worker_->mutex);
    worker_->owner = nullptr;
    worker_->idle.wait_for(lock, std::chrono::milliseconds(waitMs),
                           [this] { return !worker_->running; });
}

} // namespace quorin
