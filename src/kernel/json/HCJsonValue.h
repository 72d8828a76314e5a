#pragma once
// Value types of a decoding map: for one JSON key of a registered class, how
// the decoded value reaches the new instance.
//
//   HCJsonObjectValue::valueWithSelector(setter)               the value as decoded
//   HCJsonObjectValue::valueWithKnownClass(className, setter)  an untagged map read
//                                                              as an instance of className
//   HCJsonBoolValue::valueWithSelector(setter)                 the value as a boolean
//
// Setters are callables on the target object, or member functions of the
// target's class; a typed member setter is skipped when the decoded value is
// of another kind (JSON null reaches it as nullptr).
//
// Thread: immutable once made; used by any decoding thread.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

class HCJsonValue : public platform::Object {
public:
    // Set when an untagged JSON map under this key is to be read as an
    // instance of the named class (its platform::ClassRegistry name).
    virtual const std::optional<std::string>& knownClassName() const;
    virtual void apply(platform::Object& target, const platform::ObjectPtr& value) const = 0;
};

using HCJsonValueMap = std::map<std::string, std::shared_ptr<const HCJsonValue>>;

class HCJsonObjectValue final : public HCJsonValue {
public:
    using Setter = std::function<void(platform::Object& target, const platform::ObjectPtr& value)>;

    HCJsonObjectValue(std::optional<std::string> knownClass, Setter setter)
        : knownClass_(std::move(knownClass)), setter_(std::move(setter))
    {
    }
    // No known class. Its own constructor rather than a nullopt class: gcc's
    // optimiser takes a moved empty optional string for an uninitialised read.
    explicit HCJsonObjectValue(Setter setter) : setter_(std::move(setter)) {}

    static std::shared_ptr<HCJsonObjectValue> valueWithSelector(Setter setter);
    static std::shared_ptr<HCJsonObjectValue> valueWithKnownClass(const std::string& className, Setter setter);

    template <class T, class V>
    static std::shared_ptr<HCJsonObjectValue> valueWithSelector(void (T::*setter)(std::shared_ptr<V>))
    {
        return valueWithSelector(typedSetter<T, V>(setter));
    }
    template <class T, class V>
    static std::shared_ptr<HCJsonObjectValue> valueWithSelector(void (T::*setter)(const std::shared_ptr<V>&))
    {
        return valueWithSelector(typedSetter<T, V>(setter));
    }
    template <class T, class V>
    static std::shared_ptr<HCJsonObjectValue> valueWithKnownClass(const std::string& className,
                                                                  void (T::*setter)(std::shared_ptr<V>))
    {
        return valueWithKnownClass(className, typedSetter<T, V>(setter));
    }
    template <class T, class V>
    static std::shared_ptr<HCJsonObjectValue> valueWithKnownClass(const std::string& className,
                                                                  void (T::*setter)(const std::shared_ptr<V>&))
    {
        return valueWithKnownClass(className, typedSetter<T, V>(setter));
    }

    const std::optional<std::string>& knownClassName() const override { return knownClass_; }
    void apply(platform::Object& target, const platform::ObjectPtr& value) const override;

private:
    template <class T, class V, class M>
    static Setter typedSetter(M setter)
    {
        return [setter](platform::Object& target, const platform::ObjectPtr& value) {
            auto* object = dynamic_cast<T*>(&target);
            auto typed = std::dynamic_pointer_cast<V>(value);
            if (object && (typed || !value)) (object->*setter)(typed);
        };
    }

    std::optional<std::string> knownClass_;
    Setter setter_;
};

class HCJsonBoolValue final : public HCJsonValue {
public:
    using Setter = std::function<void(platform::Object& target, bool value)>;

    explicit HCJsonBoolValue(Setter setter) : setter_(std::move(setter)) {}

    static std::shared_ptr<HCJsonBoolValue> valueWithSelector(Setter setter);

    template <class T>
    static std::shared_ptr<HCJsonBoolValue> valueWithSelector(void (T::*setter)(bool))
    {
        return valueWithSelector([setter](platform::Object& target, bool value) {
            if (auto* object = dynamic_cast<T*>(&target)) (object->*setter)(value);
        });
    }

    // A number gives its truth; the texts "true" and "1" give true and any
    // other text false; null, lists and maps leave the field untouched.
    void apply(platform::Object& target, const platform::ObjectPtr& value) const override;

private:
    Setter setter_;
};
