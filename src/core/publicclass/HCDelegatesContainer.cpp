#include "core/publicclass/HCDelegatesContainer.h"

std::shared_ptr<HCDelegatesContainer> HCDelegatesContainer::containerWithHalcyonDelegate(HalcyonDelegate* halcyonDelegate)
{
    auto container = std::make_shared<HCDelegatesContainer>();
    container->halcyonDelegate_ = halcyonDelegate;
    return container;
}

std::shared_ptr<HCDelegatesContainer> HCDelegatesContainer::containerWithHalcyonDelegate(
    HalcyonDelegate* halcyonDelegate, HCChallengeDelegate* challengeDelegate,
    HCNotificationDelegate* notificationDelegate)
{
    auto container = containerWithHalcyonDelegate(halcyonDelegate);
    container->challengeDelegate_ = challengeDelegate;
    container->notificationDelegate_ = notificationDelegate;
    return container;
}
