#pragma once
// A game's challenge delegate for page tests: it implements what `answers`
// names and writes one line per call it gets.
#include <set>
#include <string>
#include <vector>

#include "core/publicclass/HCChallengeDelegate.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeToUser.h"

namespace testsupport {

class ChallengeGame final : public HCChallengeDelegate {
public:
    using Method = HCChallengeDelegate::Method;

    bool respondsTo(Method method) const override { return answers.count(method) != 0; }
    void userLaunchedChallenge(const std::shared_ptr<HCChallengeToUser>& record,
                               const std::shared_ptr<platform::Data>& data) override
    {
        auto challenge = record ? record->challenge() : nullptr;
        lines.push_back("launched " + (challenge ? challenge->challengeDescription().value_or("?") : "?") + " with " +
                        (data ? std::string(data->bytes().begin(), data->bytes().end()) : "no data"));
    }
    void userRestartedChallenge() override { lines.push_back("restarted"); }
    void completedChallengeScreenClosed() override { lines.push_back("result closed"); }
    void sendChallengeScreenClosed() override { lines.push_back("send closed"); }
    void userSentChallenges() override { lines.push_back("sent"); }
    void createStrongerChallenge() override { lines.push_back("create stronger"); }
    void userRestartedCreateChallenge() override { lines.push_back("restarted create"); }

    std::set<Method> answers{Method::userLaunchedChallenge,          Method::userRestartedChallenge,
                             Method::completedChallengeScreenClosed, Method::sendChallengeScreenClosed,
                             Method::userSentChallenges,             Method::createStrongerChallenge};
    std::vector<std::string> lines;
};

}  // namespace testsupport
