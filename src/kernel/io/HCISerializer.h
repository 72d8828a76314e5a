#pragma once
// The keyed writer interface of the kernel's serializers.
//
// A value is written under a name with io(); Scope opens a named scope (a plain
// group or a series of elements) for its lifetime, so every value written
// meanwhile lands inside it; serialize() writes a list of objects as a series.
// How names, scopes and values are spelt is each writer's business.
//
// A nil text (an empty std::optional) writes nothing at all: optional fields
// are simply left out, as the service expects of an absent value.
//
// A writer that overrides io() adds `using HCISerializer::io;` so that the
// conveniences below stay visible on it.
//
// Thread: a serializer belongs to the thread that fills it.
#include <optional>
#include <string>
#include <vector>

#include "kernel/memory/HCSmartObject.h"

class HCISerializer : public HCSmartObject {
public:
    class Scope {
    public:
        // A null serializer makes a scope that does nothing.
        Scope(HCISerializer* serializer, const char* name, bool isSeries = false);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        HCISerializer* serializer_;
    };

    virtual void io(const char* name, const std::string& value) = 0;
    virtual void io(const char* name, long long value) = 0;
    virtual void io(const char* name, bool value) = 0;
    virtual void io(const char* name, unsigned value) = 0;
    virtual void io(const char* name, int value) = 0;
    virtual void io(const char* name, double value) = 0;
    // Without this a string literal would pick the bool overload.
    void io(const char* name, const char* value);
    void io(const char* name, const std::optional<std::string>& value);
    // int64_t is long here; without this it would match no overload better than another.
    void io(const char* name, long value) { io(name, static_cast<long long>(value)); }

    // Writes the count of non-null elements, then each of them inside a scope
    // named `elementName` through its serialize(HCISerializer*), all inside a
    // series scope named `seriesName`. Null elements are skipped.
    template <class T>
    void serialize(const char* seriesName, const char* elementName, const std::vector<HCPointer<T>>& elements)
    {
        Scope series(this, seriesName, true);
        unsigned count = 0;
        for (const HCPointer<T>& element : elements) {
            count += element != nullptr ? 1 : 0;
        }
        serializeNumElementsInScopeSeries(count);
        for (const HCPointer<T>& element : elements) {
            if (element != nullptr) {
                Scope scope(this, elementName);
                element->serialize(this);
            }
        }
    }

protected:
    struct ScopeEntry {
        std::string name;
        bool isSeries;
    };

    // Called with the count of a series before its elements are written.
    virtual void serializeNumElementsInScopeSeries(unsigned count) = 0;
    // The open scopes, outermost first.
    const std::vector<ScopeEntry>& scopes() const { return scopes_; }

private:
    std::vector<ScopeEntry> scopes_;
};
