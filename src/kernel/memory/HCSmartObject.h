#pragma once
// The kernel's reference-counted objects and the pointers that hold them.
//
// These are thin names over the platform's object model: an HCSmartObject is a
// platform::Object, and both HCPointer<T> and HCRetainedPtr<T> are
// std::shared_ptr<T>. There is no second counting scheme, so a kernel object
// can be handed to any code that takes a platform::ObjectPtr and back.
//
// Thread: as platform::Object; each subclass documents where its methods run.
#include <memory>

#include "platform/runtime/Object.h"

using HCSmartObject = platform::Object;

// Holds one reference to a kernel object.
template <class T>
using HCPointer = std::shared_ptr<T>;

// Holds one retained reference to a platform object; released on reassignment
// and destruction.
template <class T>
using HCRetainedPtr = std::shared_ptr<T>;
