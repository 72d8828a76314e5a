#include "scores/challenges/HCChallengeDefinition.h"

#include <functional>
#include <vector>

#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "core/replies/HCPaginatedSeries.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"
#include "scores/challenges/HCChallengeDefinitionDelegate.h"
#include "scores/challenges/HCChallengeDefinitionService.h"

namespace {

HCClassDelegate<HCChallengeDefinitionDelegate> sChallengeDefinitionDelegate(HCChallengeDefinition::kModule);

using Definitions = std::vector<std::shared_ptr<HCChallengeDefinition>>;

Definitions definitionsOf(const platform::ObjectPtr& reply)
{
    Definitions out;
    if (auto page = platform::as<HCPaginatedSeries>(reply)) {
        for (const auto& object : page->objects()) {
            if (auto definition = platform::as<HCChallengeDefinition>(object)) out.push_back(definition);
        }
    }
    return out;
}

// The callbacks of a download; a reply without definitions takes the
// failure path.
HCOperationCallbacks downloadCallbacks(void (HCChallengeDefinitionDelegate::*didFail)(),
                                       std::function<void(HCChallengeDefinitionDelegate&, const Definitions&)> found)
{
    auto failed = [didFail](auto started) {
        sChallengeDefinitionDelegate.notify(started, [didFail](HCChallengeDefinitionDelegate& d) { (d.*didFail)(); });
    };
    return sChallengeDefinitionDelegate.callbacks(
        nullptr,
        [failed, found](auto started, const platform::ObjectPtr& reply) {
            auto definitions = definitionsOf(reply);
            if (definitions.empty()) return failed(started);
            sChallengeDefinitionDelegate.notify(started, [&](HCChallengeDefinitionDelegate& d) { found(d, definitions); });
        },
        failed);
}

}  // namespace

void HCChallengeDefinition::setDelegate(HCChallengeDefinitionDelegate* delegate)
{
    sChallengeDefinitionDelegate.set(delegate);
}

HCChallengeDefinitionDelegate* HCChallengeDefinition::delegate()
{
    return sChallengeDefinitionDelegate.get();
}

HCRequestHandlePtr HCChallengeDefinition::downloadAllChallengeDefinitions()
{
    auto callbacks = downloadCallbacks(&HCChallengeDefinitionDelegate::didFailDownloadChallengeDefinitions,
                                       [](HCChallengeDefinitionDelegate& d, const Definitions& definitions) {
                                           d.didDownloadAllChallengeDefinitions(definitions);
                                       });
    auto service = HCChallengeDefinitionService::sharedInstance();
    if (!service) return nullptr;
    return sChallengeDefinitionDelegate.track(service->getIndexOnSuccess(callbacks.success, callbacks.failure));
}

HCRequestHandlePtr HCChallengeDefinition::downloadChallengeDefinitionWithId(const Text& definitionId)
{
    auto callbacks = downloadCallbacks(&HCChallengeDefinitionDelegate::didFailDownloadChallengeDefinition,
                                       [](HCChallengeDefinitionDelegate& d, const Definitions& definitions) {
                                           d.didDownloadChallengeDefinition(definitions.front());
                                       });
    return sChallengeDefinitionDelegate.track(
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
        sChallengeDefinitionDelegate, self, slots, iconUrl_,
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
