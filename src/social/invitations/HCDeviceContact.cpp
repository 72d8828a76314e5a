#include "social/invitations/HCDeviceContact.h"

#include "kernel/resources/HCResourceDataMap.h"

const HCResourceDataMap& HCDeviceContact::getDataMap() const
{
    static const HCResourceDataMap empty;
    return empty;
}
