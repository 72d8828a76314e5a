#pragma once
// What a service's populateKnownResources does for each of its classes.
//
// Thread: any thread; registration is idempotent and the registry locks.
#include <memory>
#include <string>

#include "kernel/resources/HCResourceClassName.h"
#include "kernel/resources/HCResourceNameMap.h"

// Adds the pair (the class's resource name, the class) to the map, the class
// registered first.
template <class T>
void HCAddKnownResource(HCResourceNameMap& map)
{
    std::string className = HCRegisterResourceClass<T>();
    map.addResource(std::make_shared<T>()->getResourceName(), className);
}
