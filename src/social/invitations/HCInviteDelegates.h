#pragma once
// What the game implements to hear the outcomes of HCInviteDefinition and
// HCInvite. Every method is optional: a class calls one only when its
// delegate implements it.
//
// Thread: called on the main thread.
#include <memory>

#include "platform/runtime/OptionalMethods.h"
#include "platform/ui/Image.h"

class HCInvite;
class HCInviteDefinition;

class HCInviteDefinitionDelegate : public platform::OptionalMethods {
public:
    virtual ~HCInviteDefinitionDelegate() = default;

    virtual void didGetInviteDefinition(const std::shared_ptr<HCInviteDefinition>&) { notImplemented(); }
    virtual void didFailGetInviteDefinition() { notImplemented(); }
    virtual void didGetPrimaryInviteDefinition(const std::shared_ptr<HCInviteDefinition>&) { notImplemented(); }
    virtual void didFailGetPrimaryInviteDefinition() { notImplemented(); }
    virtual void didGetInviteIcon(const platform::ui::ImagePtr&, const std::shared_ptr<HCInviteDefinition>&)
    {
        notImplemented();
    }
    virtual void didFailGetInviteIconHCInviteDefinition(const std::shared_ptr<HCInviteDefinition>&)
    {
        notImplemented();
    }
};

class HCInviteDelegate : public platform::OptionalMethods {
public:
    virtual ~HCInviteDelegate() = default;

    virtual void didGetInviteIcon(const platform::ui::ImagePtr&, const std::shared_ptr<HCInvite>&) { notImplemented(); }
    virtual void didFailGetInviteIconHCInvite(const std::shared_ptr<HCInvite>&) { notImplemented(); }
    virtual void didSendInvite(const std::shared_ptr<HCInvite>&) { notImplemented(); }
    virtual void didFailSendInvite(const std::shared_ptr<HCInvite>&) { notImplemented(); }
};
