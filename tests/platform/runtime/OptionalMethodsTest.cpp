#include <gtest/gtest.h>

#include "platform/runtime/OptionalMethods.h"

namespace {

class ScoreDelegate : public platform::OptionalMethods {
public:
    virtual ~ScoreDelegate() = default;
    virtual void didSubmit(int) { notImplemented(); }
    virtual bool shouldShowBanner() { notImplemented(); return false; }
};

class Listener : public ScoreDelegate {
public:
    void didSubmit(int score) override
    {
        last = score;
        // A nested question to a delegate that lacks the method must not
        // change the answer about this one.
        ScoreDelegate other;
        nestedAnswer = platform::callOptional([&] { other.didSubmit(1); });
    }
    int last = 0;
    bool nestedAnswer = true;
};

}  // namespace

TEST(OptionalMethods, AnswersWhetherTheDelegateImplementsTheMethodAndFallsBackWhenNot)
{
    ScoreDelegate bare;
    Listener listener;
    EXPECT_FALSE(platform::callOptional([&] { bare.didSubmit(5); }));
    EXPECT_TRUE(platform::callOptional([&] { listener.didSubmit(5); }));
    EXPECT_EQ(listener.last, 5);
    EXPECT_FALSE(listener.nestedAnswer);
    EXPECT_TRUE(platform::callOptionalOr(true, [&] { return bare.shouldShowBanner(); }));
}
