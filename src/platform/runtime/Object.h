#pragma once
// The root of every reference type in the library.
//
// Objects live in std::shared_ptr: a retained reference is a shared_ptr, a
// non-retained one a weak_ptr, and "nil" is nullptr. Being polymorphic lets
// callbacks and dictionaries carry "any object" and test its kind with
// dynamic_pointer_cast.
//
// Thread: an Object has no thread of its own; each subclass documents where
// its methods may run.
#include <memory>
#include <string>

namespace platform {

class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // A human-readable text for logs and %@ formatting.
    virtual std::string description() const;
};

using ObjectPtr = std::shared_ptr<Object>;

// dynamic_pointer_cast that accepts nullptr.
template <class T, class U>
std::shared_ptr<T> as(const std::shared_ptr<U>& p)
{
    return std::dynamic_pointer_cast<T>(p);
}

// shared_from_this() typed to the caller's class.
template <class T>
std::shared_ptr<T> self(T* obj)
{
    return std::static_pointer_cast<T>(obj->shared_from_this());
}

}  // namespace platform
