#include "platform/ui/Transitions.h"

#include <map>
#include <memory>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"

namespace platform::ui {
namespace {

struct Pending {
    double endTime;
    std::function<void()> completion;
    // Its address keys the delayed task on the run loop so it can be cancelled.
    std::shared_ptr<char> key;
};

std::map<Transitions::Id, Pending>& pending()
{
    static std::map<Transitions::Id, Pending> map;
    return map;
}

Transitions::Id nextId = 1;

}  // namespace

Transitions::Id Transitions::schedule(double duration, std::function<void()> completion)
{
    Id id = nextId++;
    auto key = std::make_shared<char>();
    double end = Clock::currentTime() + duration;
    pending().emplace(id, Pending{end, std::move(completion), key});
    Thread::mainThread()->runLoop()->postAfter(duration, [id] { finishNow(id); }, key.get());
    return id;
}

bool Transitions::finishNow(Id id)
{
    auto it = pending().find(id);
    if (it == pending().end()) return false;
    Pending entry = std::move(it->second);
    pending().erase(it);
    Thread::mainThread()->runLoop()->cancelDelayed(entry.key.get());
    if (entry.completion) entry.completion();
    return true;
}

void Transitions::finishAll()
{
    // Bounded: a completion that keeps starting transitions cannot spin forever.
    for (int guard = 0; guard < 1000 && !pending().empty(); ++guard) finishNow(pending().begin()->first);
}

size_t Transitions::pendingCount()
{
    return pending().size();
}

std::optional<double> Transitions::latestEndTime()
{
    std::optional<double> latest;
    for (const auto& [id, entry] : pending())
        if (!latest || entry.endTime > *latest) latest = entry.endTime;
    return latest;
}

}  // namespace platform::ui
