// How long a discovery banner stays on screen, from whatever text the
// service sends: a value no finite number of seconds could hold must not
// keep a banner up for good.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "social/discovery/HCGameDiscoveryImageHyperlink.h"

namespace {

TEST(DiscoveryBannerTime, SecondsThatOverflowOrAreNoFiniteNumberReadAsZero)
{
    const std::vector<std::pair<std::optional<std::string>, float>> cases = {
        {"2.5", 2.5f}, {"12 seconds", 12.0f}, {"1e39", 0.0f}, {"-1e39", 0.0f},
        {"inf", 0.0f}, {"nan", 0.0f},         {"soon", 0.0f}, {std::nullopt, 0.0f}};
    for (const auto& [text, seconds] : cases) {
        auto banner = std::make_shared<HCGameDiscoveryImageHyperlink>();
        banner->setSecondsToDisplayFromString(text);
        EXPECT_EQ(banner->secondsToDisplay(), seconds) << text.value_or("(nil)");
    }
}

}  // namespace
