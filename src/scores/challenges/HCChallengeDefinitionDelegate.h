#pragma once
// What the game implements to hear how its challenge-definition calls
// ended. Every method is optional: HCChallengeDefinition calls one only when
// the delegate implements it.
//
// Thread: called on the main thread.
#include <memory>
#include <vector>

#include "platform/runtime/OptionalMethods.h"
#include "platform/ui/Image.h"

class HCChallengeDefinition;

class HCChallengeDefinitionDelegate : public platform::OptionalMethods {
public:
    using DefinitionPtr = std::shared_ptr<HCChallengeDefinition>;
    virtual ~HCChallengeDefinitionDelegate() = default;

    // At least one definition; an empty list is a failure.
    virtual void didDownloadAllChallengeDefinitions(const std::vector<DefinitionPtr>& definitions)
    {
        (void)definitions;
        notImplemented();
    }
    virtual void didFailDownloadChallengeDefinitions() { notImplemented(); }
    virtual void didDownloadChallengeDefinition(const DefinitionPtr& definition)
    {
        (void)definition;
        notImplemented();
    }
    virtual void didFailDownloadChallengeDefinition() { notImplemented(); }
    virtual void didGetIcon(const platform::ui::ImagePtr& image, const DefinitionPtr& definition)
    {
        (void)image;
        (void)definition;
        notImplemented();
    }
    virtual void getFailGetIconHCChallengeDefinition(const DefinitionPtr& definition)
    {
        (void)definition;
        notImplemented();
    }
};
