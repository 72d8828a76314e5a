#include "core/publicclass/HCDelegatesContainer.h"

#include "platform/runtime/ThreadChecker.h"

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

HalcyonDelegate* HCDelegatesContainer::halcyonDelegate() const
{
    HC_CHECK_MAIN_THREAD();
    return halcyonDelegate_;
}

void HCDelegatesContainer::setHalcyonDelegate(HalcyonDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    halcyonDelegate_ = delegate;
}

HCChallengeDelegate* HCDelegatesContainer::challengeDelegate() const
{
    HC_CHECK_MAIN_THREAD();
    return challengeDelegate_;
}

void HCDelegatesContainer::setChallengeDelegate(HCChallengeDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    challengeDelegate_ = delegate;
}

HCNotificationDelegate* HCDelegatesContainer::notificationDelegate() const
{
    HC_CHECK_MAIN_THREAD();
    return notificationDelegate_;
}

void HCDelegatesContainer::setNotificationDelegate(HCNotificationDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    notificationDelegate_ = delegate;
}

HCBragDelegate* HCDelegatesContainer::bragDelegate() const
{
    HC_CHECK_MAIN_THREAD();
    return bragDelegate_;
}

void HCDelegatesContainer::setBragDelegate(HCBragDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    bragDelegate_ = delegate;
}
