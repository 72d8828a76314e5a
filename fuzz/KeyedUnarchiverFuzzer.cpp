// The keyed unarchiver on arbitrary bytes: archives come back from disk,
// where a crash or another program may have damaged them. Round trip: what
// it rebuilds is archived, unarchived again and must come out the same.
// Fuzz links: hc_platform
#include <string>

#include "FuzzValues.h"
#include "platform/foundation/Coding.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

// A coded class with one key of each kind, so the fuzzer reaches the
// coded-object path (the class name "P" is easy to find).
class Point final : public platform::Object, public platform::Coding {
public:
    std::string classNameForCoding() const override { return "P"; }
    void encodeWithCoder(platform::KeyedArchiver& coder) const override
    {
        coder.encodeInteger("x", x_);
        coder.encodeDouble("y", y_);
        coder.encodeBool("b", b_);
        coder.encodeObject("o", o_);
    }
    void initWithCoder(const platform::KeyedUnarchiver& coder) override
    {
        x_ = coder.decodeIntegerForKey("x");
        y_ = coder.decodeDoubleForKey("y");
        b_ = coder.decodeBoolForKey("b");
        o_ = coder.decodeObjectForKey("o");
    }
    std::string description() const override
    {
        return std::to_string(x_) + "," + std::to_string(y_) + "," + (b_ ? "T" : "F") + "," +
               (o_ ? o_->description() : "nil");
    }

private:
    long long x_ = 0;
    double y_ = 0;
    bool b_ = false;
    platform::ObjectPtr o_;
};

const bool registered = (platform::registerClass<Point>("P"), true);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    (void)registered;
    const auto value = platform::KeyedUnarchiver::unarchiveObjectWithBytes(data, size);
    if (!value) return 0;
    const auto archived = platform::KeyedArchiver::archivedDataWithRootObject(value);
    fuzz::check(archived != nullptr, "an unarchived graph cannot be archived again");
    const auto again = platform::KeyedUnarchiver::unarchiveObjectWithData(archived);
    fuzz::check(fuzz::sameValue(value, again), "archive unarchived, archived and unarchived again differs");
    return 0;
}
