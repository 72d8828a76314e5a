#pragma once
// The four application delegates the game hands to the client when it
// initialises it. The container does not keep them alive: the game keeps its
// delegates for as long as the client runs.
//
// Thread: main.
#include <memory>

#include "platform/runtime/Object.h"

class HalcyonDelegate;
class HCChallengeDelegate;
class HCNotificationDelegate;
class HCBragDelegate;

class HCDelegatesContainer final : public platform::Object {
public:
    static std::shared_ptr<HCDelegatesContainer> containerWithHalcyonDelegate(HalcyonDelegate* halcyonDelegate);
    // The brag delegate is set only through its setter.
    static std::shared_ptr<HCDelegatesContainer> containerWithHalcyonDelegate(
        HalcyonDelegate* halcyonDelegate, HCChallengeDelegate* challengeDelegate,
        HCNotificationDelegate* notificationDelegate);

    HalcyonDelegate* halcyonDelegate() const;
    HCChallengeDelegate* challengeDelegate() const;
    HCNotificationDelegate* notificationDelegate() const;
    HCBragDelegate* bragDelegate() const;
    void setHalcyonDelegate(HalcyonDelegate* delegate);
    void setChallengeDelegate(HCChallengeDelegate* delegate);
    void setNotificationDelegate(HCNotificationDelegate* delegate);
    void setBragDelegate(HCBragDelegate* delegate);

private:
    HalcyonDelegate* halcyonDelegate_ = nullptr;
    HCChallengeDelegate* challengeDelegate_ = nullptr;
    HCNotificationDelegate* notificationDelegate_ = nullptr;
    HCBragDelegate* bragDelegate_ = nullptr;
};

using HCDelegatesContainerPtr = std::shared_ptr<HCDelegatesContainer>;
