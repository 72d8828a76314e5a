#include "kernel/reachability/HCReachability.h"

#include "kernel/reachability/HCReachabilityObserver.h"
#include "kernel/reachability/HostProbe.h"
#include "platform/foundation/Values.h"

namespace {

std::mutex& instanceMutex()
{
    static std::mutex m;
    return m;
}
std::shared_ptr<HCReachability>& instanceSlot()
{
    static std::shared_ptr<HCReachability> monitor;
    return monitor;
}

struct ObserverList {
    std::mutex mutex;
    std::vector<HCReachabilityObserver*> observers;
};

ObserverList& observerList()
{
    static ObserverList list;
    return list;
}

}  // namespace

void HCReachability::Initialize(const std::string& serverUrl)
{
    std::shared_ptr<HCReachability> monitor(new HCReachability(parseServerAddress(serverUrl)));
    // Started before it is published: other threads reach it through
    // Instance(), and its thread and timer are never written after that.
    monitor->start();
    std::shared_ptr<HCReachability> previous;
    {
        std::lock_guard lock(instanceMutex());
        previous = std::move(instanceSlot());
        instanceSlot() = monitor;
    }
    if (previous) previous->stop();
}

std::shared_ptr<HCReachability> HCReachability::Instance()
{
    std::lock_guard lock(instanceMutex());
    return instanceSlot();
}

void HCReachability::Shutdown()
{
    std::shared_ptr<HCReachability> previous;
    {
        std::lock_guard lock(instanceMutex());
        previous = std::move(instanceSlot());
    }
    if (previous) previous->stop();
}

HCReachability::~HCReachability()
{
    stop();
}

void HCReachability::start()
{
    thread_ = platform::Thread::start("reachability");
    std::weak_ptr<HCReachability> weak = platform::self(this);
    timer_ = thread_->runLoop()->scheduleTimer(kRefreshInterval, true, [weak](platform::Timer&) {
        if (auto monitor = weak.lock()) monitor->check();
    });
    refresh();
}

void HCReachability::stop()
{
    if (timer_) timer_->invalidate();
    if (thread_) thread_->cancel();
}

void HCReachability::refresh()
{
    if (!thread_) return;
    std::weak_ptr<HCReachability> weak = platform::self(this);
    thread_->runLoop()->post([weak] {
        if (auto monitor = weak.lock()) monitor->check();
    });
}

void HCReachability::check()
{
    bool reachable = address_ && probeHost(address_->host, address_->port, kConnectTimeoutSeconds);
    setMeasured(reachable ? ReachableViaWiFi : NotReachable);
}

int HCReachability::status() const
{
    std::lock_guard lock(mutex_);
    return status_;
}

void HCReachability::setMeasured(int status)
{
    std::lock_guard lock(mutex_);
    measured_ = status;
    updateLocked();
}

void HCReachability::setOverride(int status)
{
    std::lock_guard lock(mutex_);
    override_ = status;
    updateLocked();
}

void HCReachability::clearOverride()
{
    std::lock_guard lock(mutex_);
    override_.reset();
    updateLocked();
}

void HCReachability::updateLocked()
{
    int status = override_.value_or(measured_);
    if (status == status_ && told_) return;
    status_ = status;
    told_ = true;
    // Posted while still locked so that the main thread hears the changes in
    // the order in which they happened.
    std::weak_ptr<HCReachability> weak = platform::self(this);
    // A monitor that was replaced meanwhile stays silent.
    platform::performOnMain([weak, status] {
        if (weak.lock()) notifyObservers(status);
    });
}

void HCReachability::notifyObservers(int status)
{
    auto& list = observerList();
    std::lock_guard lock(list.mutex);
    for (HCReachabilityObserver* observer : list.observers)
        observer->delegate_.invoke(platform::Number::makeInt(status));
}

void HCReachability::addObserver(HCReachabilityObserver* observer)
{
    auto& list = observerList();
    std::lock_guard lock(list.mutex);
    list.observers.push_back(observer);
}

void HCReachability::removeObserver(HCReachabilityObserver* observer)
{
    auto& list = observerList();
    std::lock_guard lock(list.mutex);
    std::erase(list.observers, observer);
}
