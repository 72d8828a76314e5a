#pragma once
// printf-style formatting with %@ for objects, always in the C locale.
//
//   platform::format("%04i.%02i.%02i", major, minor, patch)
//   platform::format("%@ is online", user->name())
//
// Conversions: %@ (an object's description, a text, "(null)" for nil), d i u
// x X o c (integers), f F e E g G (reals), s (text), p (address), %%, with
// flags, width and precision; length modifiers (hh h l ll q L z j t) are
// accepted and ignored because every argument carries its own type.
// An argument of another kind than its conversion asks for is converted when
// both are numbers and otherwise printed as its own text; a missing argument
// counts as nil (0 for numeric conversions); extra arguments are ignored.
//
// Thread: any thread.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/Object.h"

namespace platform {

class FormatArg {
public:
    enum class Kind : unsigned char { Null, Signed, Unsigned, Real, Text, Object, Pointer };

    FormatArg(bool v) : kind_(Kind::Signed), signed_(v ? 1 : 0) {}
    FormatArg(char v) : kind_(Kind::Signed), signed_(static_cast<unsigned char>(v)) {}
    FormatArg(int v) : kind_(Kind::Signed), signed_(v) {}
    FormatArg(long v) : kind_(Kind::Signed), signed_(v) {}
    FormatArg(long long v) : kind_(Kind::Signed), signed_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Unsigned), unsigned_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::Unsigned), unsigned_(v) {}
    FormatArg(unsigned long long v) : kind_(Kind::Unsigned), unsigned_(v) {}
    FormatArg(double v) : kind_(Kind::Real), real_(v) {}
    FormatArg(const char* v) : kind_(v ? Kind::Text : Kind::Null), text_(v ? std::string_view(v) : std::string_view()) {}
    FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}
    FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
    FormatArg(const std::optional<std::string>& v) : kind_(v ? Kind::Text : Kind::Null), text_(v ? std::string_view(*v) : std::string_view()) {}
    FormatArg(std::nullptr_t) : kind_(Kind::Null) {}
    FormatArg(const void* v) : kind_(Kind::Pointer), pointer_(v) {}
    template <class T>
    FormatArg(const std::shared_ptr<T>& v)
        : kind_(v ? Kind::Object : Kind::Null), object_(static_cast<const platform::Object*>(v.get()))
    {
    }

    Kind kind() const { return kind_; }
    long long signedValue() const { return signed_; }
    unsigned long long unsignedValue() const { return unsigned_; }
    double realValue() const { return real_; }
    std::string_view textValue() const { return text_; }
    const platform::Object* objectValue() const { return object_; }
    const void* pointerValue() const { return pointer_; }

private:
    Kind kind_;
    long long signed_ = 0;
    unsigned long long unsigned_ = 0;
    double real_ = 0;
    std::string_view text_;
    const platform::Object* object_ = nullptr;
    const void* pointer_ = nullptr;
};

std::string formatArgs(std::string_view pattern, const FormatArg* args, size_t count);

template <class... Args>
std::string format(std::string_view pattern, const Args&... args)
{
    if constexpr (sizeof...(Args) == 0) {
        return formatArgs(pattern, nullptr, 0);
    } else {
        const FormatArg list[] = {FormatArg(args)...};
        return formatArgs(pattern, list, sizeof...(Args));
    }
}

}  // namespace platform
