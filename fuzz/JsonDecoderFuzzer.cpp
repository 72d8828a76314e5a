// The JSON decoder on arbitrary text: the session layer's replies go through
// it. Round trip: a decoded value is encoded by the coder, decoded again and
// must come out the same (unless it holds what JSON cannot write: infinities,
// or nesting past the encoder's depth).
// Fuzz links: hc_kernel
#include <string_view>

#include "FuzzValues.h"
#include "kernel/json/HCJsonCoder.h"

namespace {

class Box final : public HCJsonCoding {
public:
    explicit Box(platform::ObjectPtr value) : value_(std::move(value)) {}
    void encodeWithJsonCoder(HCJsonCoder& coder) const override { coder.encodeObject(value_, "v"); }
    std::string jsonCodingName() const override { return "fuzz_box"; }

private:
    platform::ObjectPtr value_;
};

// Whether the value survives encoding: finite numbers, and nesting within
// what the encoder writes.
bool encodable(const platform::ObjectPtr& value, int depth)
{
    using namespace platform;
    if (depth >= HCJsonCoder::kMaxEncodeDepth - 2) return false;
    if (auto n = std::dynamic_pointer_cast<Number>(value)) return !n->isFloatingPoint() || std::isfinite(n->doubleValue());
    if (auto a = std::dynamic_pointer_cast<Array>(value)) {
        for (const auto& item : a->items()) {
            if (!encodable(item, depth + 1)) return false;
        }
    }
    if (auto d = std::dynamic_pointer_cast<Dictionary>(value)) {
        for (const auto& [key, item] : d->entries()) {
            if (!encodable(item, depth + 1)) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = HCJsonCoder::decodeJson(text);
    if (!value || !encodable(value, 0)) return 0;
    const std::string encoded = HCJsonCoder::encodeObject(Box(value));
    const auto again = std::dynamic_pointer_cast<platform::Dictionary>(HCJsonCoder::decodeJson(encoded));
    fuzz::check(again != nullptr, "the coder wrote JSON its decoder refuses");
    const auto box = again->get<platform::Dictionary>("fuzz_box");
    fuzz::check(box && fuzz::sameValue(box->objectForKey("v"), value), "JSON decoded, encoded and decoded again differs");
    return 0;
}
