#pragma once
// What the game implements to hear how its achievement calls ended. Every
// method is optional: HCAchievement calls one only when the delegate
// implements it.
//
// Thread: called on the main thread.
#include <memory>

#include "platform/runtime/OptionalMethods.h"
#include "platform/ui/Image.h"

class HCAchievement;

class HCAchievementDelegate : public platform::OptionalMethods {
public:
    virtual ~HCAchievementDelegate() = default;

    // The progress was stored on the device (the server's answer is not waited for).
    virtual void didUpdateProgressionCompleteHCAchievement(const std::shared_ptr<HCAchievement>& achievement)
    {
        (void)achievement;
        notImplemented();
    }
    // The progress did not raise the stored one, the achievement is unknown,
    // or it could not be stored.
    virtual void didFailUpdateProgressionCompleteHCAchievement(const std::shared_ptr<HCAchievement>& achievement)
    {
        (void)achievement;
        notImplemented();
    }
    virtual void didGetIcon(const platform::ui::ImagePtr& image, const std::shared_ptr<HCAchievement>& achievement)
    {
        (void)image;
        (void)achievement;
        notImplemented();
    }
    virtual void didFailGetIconHCAchievement(const std::shared_ptr<HCAchievement>& achievement)
    {
        (void)achievement;
        notImplemented();
    }
    virtual void didSubmitDeferredAchievements() { notImplemented(); }
    virtual void didFailSubmittingDeferredAchievements() { notImplemented(); }
    virtual void didForceSyncGameCenterAchievements() { notImplemented(); }
    virtual void didFailForceSyncGameCenterAchievements() { notImplemented(); }
};
