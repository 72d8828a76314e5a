#include "scores/challenges/HCChallengeDefinition.h"

#include <vector>

#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/challenges/HCChallengeDefinitionDelegate.h"
#include "scores/challenges/HCChallengeDefinitionService.h"

namespace {

HCClassDelegate<HCChallengeDefinitionDelegate> sDelegate(HCChallengeDefinition::kModule);

std::vector<std::shared_ptr<HCChallengeDefinition>> definitionsOf(const platform::ObjectPtr& reply)
{
    std::vector<std::shared_ptr<HCChallengeDefinition>> out;
    if (auto page = platform::as<HCPaginatedSeries>(reply)) {
        for (const auto& object : page->objects()) {
            if (auto definition = platform::as<HCChallengeDefinition>(object)) out.push_back(definition);
        }
    }
    return out;
}

}  // namespace

void HCChallengeDefinition::setDelegate(HCChallengeDefinitionDelegate* delegate)
{
    sDelegate.set(delegate);
}

HCChallengeDefinitionDelegate* HCChallengeDefinition::delegate()
{
    return sDelegate.get();
}

HCRequestHandlePtr HCChallengeDefinition::downloadAllChallengeDefinitions()
{
    auto failed = [](auto started) {
        sDelegate.notify(started, [](HCChallengeDefinitionDelegate& d) { d.didFailDownloadChallengeDefinitions(); });
    };
    auto callbacks = sDelegate.callbacks(
        nullptr,
        [failed](auto started, const platform::ObjectPtr& reply) {
            auto definitions = definitionsOf(reply);
            if (definitions.empty()) return failed(started);
            sDelegate.notify(started, [&](HCChallengeDefinitionDelegate& d) {
                d.didDownloadAllChallengeDefinitions(definitions);
            });
        },
        failed);
    auto service = HCChallengeDefinitionService::sharedInstance();
    if (!service) return nullptr;
    return sDelegate.track(service->getIndexOnSuccess(callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCChallengeDefinition::downloadChallengeDefinitionWithId(const Text& definitionId)
{
    auto failed = [](auto started) {
        sDelegate.notify(started, [](HCChallengeDefinitionDelegate& d) { d.didFailDownloadChallengeDefinition(); });
    };
    auto callbacks = sDelegate.callbacks(
        nullptr,
        [failed](auto started, const platform::ObjectPtr& reply) {
            auto definitions = definitionsOf(reply);
            if (definitions.empty()) return failed(started);
            sDelegate.notify(started, [&](HCChallengeDefinitionDelegate& d) {
                d.didDownloadChallengeDefinition(definitions.front());
            });
        },
        failed);
    return sDelegate.track(
        HCChallengeDefinitionService::getChallengeDefinitionWithId(definitionId, callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCChallengeDefinition::getIcon()
{
    auto self = platform::self(this);
    std::weak_ptr<HCChallengeDefinition> weak = self;
    // A transfer whose observer is gone has ended.
    iconDownloads_.remove_if([](const HCImageDownloadSlots& slots) { return !slots.mHttpServiceObserver; });
    auto& slots = iconDownloads_.emplace_back();
    return HCPublicImageStep<HCChallengeDefinitionDelegate>(
        sDelegate, self, slots, iconUrl_,
        [weak](HCChallengeDefinitionDelegate& d, const platform::ui::ImagePtr& image) {
            if (auto definition = weak.lock()) d.didGetIcon(image, definition);
        },
        [weak](HCChallengeDefinitionDelegate& d) {
            if (auto definition = weak.lock()) d.getFailGetIconHCChallengeDefinition(definition);
        });
}

std::shared_ptr<HCService> HCChallengeDefinition::getService() const
{
    return HCChallengeDefinitionService::sharedInstance();
}

const HCResourceDataMap& HCChallengeDefinition::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCChallengeDefinition::setTitle, &HCChallengeDefinition::title);
        m->addField("client_application_id", &HCChallengeDefinition::setClientApplicationId,
                    &HCChallengeDefinition::clientApplicationId);
        m->addField("image_url", &HCChallengeDefinition::setIconUrl, &HCChallengeDefinition::iconUrl);
        m->addField("multi_attempt", &HCChallengeDefinition::setMultiAttempt,
                    &HCChallengeDefinition::getMultiAttemptAsString);
        return m;
    }();
    return *map;
}

void HCChallengeDefinition::setMultiAttempt(const std::string& text)
{
    multiAttempt_ = platform::boolValue(text);
}
