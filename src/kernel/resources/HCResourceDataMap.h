#pragma once
// The ordered field table of a resource class: which XML element fills which
// property, and how the property is read back for writing XML.
//
// Each entry holds the element name, a setter, a getter (empty for a read-only
// field), the registered class name of a nested resource (empty unless the
// field holds one) and whether the field holds an array of nested resources.
// The setter receives the resource object and the value: a platform::String
// (or nullptr for an element without text) for a plain field, the nested
// resource for a nested field, a platform::Array of resources for an array
// field. The getter answers the same kinds of object.
//
// Resource classes usually use the typed forms below, which take member
// functions: plain fields with a setter taking `const std::string&` (nil
// arrives as the empty text) or `const std::optional<std::string>&`, and a
// getter returning std::string, const std::string& or
// std::optional<std::string>; nested fields with a setter taking
// std::shared_ptr<R> and a getter returning it (R is registered by its
// class name when the field is added); array fields with a setter
// taking std::shared_ptr<platform::Array> and a getter returning it. A setter
// or getter called on an object of another class does nothing.
//
// Thread: build a map once (a function-static map of its class), then read it
// from any thread; it has no lock.
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "kernel/memory/HCSmartObject.h"
#include "kernel/resources/HCResourceClassName.h"
#include "platform/foundation/Values.h"

struct HCResourceFieldDescription {
    using Setter = std::function<void(platform::Object& target, const platform::ObjectPtr& value)>;
    using Getter = std::function<platform::ObjectPtr(const platform::Object& target)>;

    std::string dataFieldName;
    Setter setter;
    Getter getter;
    std::string resourceClassName;
    bool isResourceArray = false;
};

namespace hcresource_detail {

platform::ObjectPtr boxText(const std::string& text);
platform::ObjectPtr boxText(const std::optional<std::string>& text);

template <class T, class Arg>
HCResourceFieldDescription::Setter textSetter(void (T::*setter)(Arg))
{
    return [setter](platform::Object& target, const platform::ObjectPtr& value) {
        T* object = dynamic_cast<T*>(&target);
        if (object == nullptr) {
            return;
        }
        if constexpr (std::is_same_v<std::remove_cvref_t<Arg>, std::optional<std::string>>) {
            (object->*setter)(platform::textOf(value));
        } else {
            (object->*setter)(platform::textOf(value).value_or(std::string()));
        }
    };
}

template <class T, class Ret>
HCResourceFieldDescription::Getter textGetter(Ret (T::*getter)() const)
{
    return [getter](const platform::Object& target) -> platform::ObjectPtr {
        const T* object = dynamic_cast<const T*>(&target);
        return object != nullptr ? boxText((object->*getter)()) : nullptr;
    };
}

// For nested resources (V = the resource class) and arrays (V = platform::Array).
template <class T, class V, class Arg>
HCResourceFieldDescription::Setter objectSetter(void (T::*setter)(Arg))
{
    return [setter](platform::Object& target, const platform::ObjectPtr& value) {
        if (T* object = dynamic_cast<T*>(&target)) {
            (object->*setter)(std::dynamic_pointer_cast<V>(value));
        }
    };
}

template <class T, class Ret>
HCResourceFieldDescription::Getter objectGetter(Ret (T::*getter)() const)
{
    return [getter](const platform::Object& target) -> platform::ObjectPtr {
        const T* object = dynamic_cast<const T*>(&target);
        return object != nullptr ? platform::ObjectPtr((object->*getter)()) : nullptr;
    };
}

}  // namespace hcresource_detail

class HCResourceDataMap final : public HCSmartObject {
public:
    using Setter = HCResourceFieldDescription::Setter;
    using Getter = HCResourceFieldDescription::Getter;

    HCResourceDataMap() = default;

    // Replaces this map's fields with a copy of another's: a subclass's map
    // starts as its parent's.
    void copyFieldsFrom(const HCResourceDataMap& other) { fields_ = other.fields_; }

    void addField(const std::string& name, Setter setter, Getter getter = {});
    void addNestedResourceField(const std::string& name, Setter setter, Getter getter,
                                const std::string& resourceClassName);
    void addNestedResourceArrayField(const std::string& name, Setter setter, Getter getter = {});

    // The first field with that element name; nullptr when there is none.
    const HCResourceFieldDescription* getFieldDescription(const std::string& name) const;
    // Every field in the order added.
    const std::vector<HCResourceFieldDescription>& fields() const { return fields_; }

    template <class T, class Arg>
    void addField(const std::string& name, void (T::*setter)(Arg))
    {
        addField(name, hcresource_detail::textSetter(setter));
    }
    template <class T, class Arg, class Ret>
    void addField(const std::string& name, void (T::*setter)(Arg), Ret (T::*getter)() const)
    {
        addField(name, hcresource_detail::textSetter(setter), hcresource_detail::textGetter(getter));
    }

    // The nested class is the one the setter takes (std::shared_ptr<R>); it is
    // registered and named here, so a reply can create it.
    template <class T, class Arg>
    void addNestedResourceField(const std::string& name, void (T::*setter)(Arg))
    {
        using R = typename std::remove_cvref_t<Arg>::element_type;
        addNestedResourceField(name, hcresource_detail::objectSetter<T, R>(setter), Getter(),
                               HCRegisterResourceClass<R>());
    }
    template <class T, class Arg, class Ret>
    void addNestedResourceField(const std::string& name, void (T::*setter)(Arg), Ret (T::*getter)() const)
    {
        using R = typename std::remove_cvref_t<Arg>::element_type;
        addNestedResourceField(name, hcresource_detail::objectSetter<T, R>(setter),
                               hcresource_detail::objectGetter(getter), HCRegisterResourceClass<R>());
    }

    template <class T, class Arg>
    void addNestedResourceArrayField(const std::string& name, void (T::*setter)(Arg))
    {
        addNestedResourceArrayField(name, hcresource_detail::objectSetter<T, platform::Array>(setter));
    }
    template <class T, class Arg, class Ret>
    void addNestedResourceArrayField(const std::string& name, void (T::*setter)(Arg), Ret (T::*getter)() const)
    {
        addNestedResourceArrayField(name, hcresource_detail::objectSetter<T, platform::Array>(setter),
                                    hcresource_detail::objectGetter(getter));
    }

private:
    std::vector<HCResourceFieldDescription> fields_;
};
