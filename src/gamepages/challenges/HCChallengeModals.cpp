#include "gamepages/challenges/HCChallengeModals.h"

#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/challenges/HCCompletedChallengeHeaderController.h"
#include "gamepages/challenges/HCSendChallengeController.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/challenges/HCChallenge.h"
#include "scores/challenges/HCChallengeDefinition.h"
#include "scores/challenges/HCChallengeToUser.h"
#include "uiframework/HCControllerLoader.h"

namespace {

template <class T>
void present(const std::shared_ptr<T>& controller)
{
    HCNavigationController::addCloseButtonToViewController(controller, controller, &T::cancel);
    HalcyonDashboard::presentRootControllerWithModal(HCFramedNavigationController::withRootViewController(controller));
}

void showSend(const std::optional<std::string>& definitionId, const std::optional<std::string>& text,
              const std::shared_ptr<platform::Data>& data)
{
    HC_CHECK_MAIN_THREAD();
    auto page = HCControllerLoader::load<HCSendChallengeController>("SendChallenge");
    if (!page) return;
    page->setChallengeDefinitionId(definitionId);
    page->setChallengeText(text);
    page->setChallengeData(data);
    page->setTitle("Challenge Friends");
    page->setIsCompleted(false);
    present(page);
}

void showResult(const std::shared_ptr<HCChallengeToUser>& record, const std::shared_ptr<platform::Data>& resultData,
                const std::optional<std::string>& reChallengeDescription)
{
    HC_CHECK_MAIN_THREAD();
    auto definition = record->challenge()->challengeDefinition();
    if (definition && definition->multiAttempt() && record->result() == HCChallengeToUser::kWin) {
        auto page = HCControllerLoader::load<HCSendChallengeController>("SendChallenge");
        if (!page) return;
        page->setChallengeDefinitionId(definition->resourceId());
        page->setChallengeText(reChallengeDescription);
        page->setResultData(resultData);
        page->setUserChallenge(record);
        page->setIsCompleted(record->isCompleted());
        page->setTitle("Challenge Result");
        present(page);
        return;
    }
    auto header = HCControllerLoader::load<HCCompletedChallengeHeaderController>("CompletedChallengeHeader");
    if (!header) return;
    header->setTablePage(nullptr);
    header->setChallenge(record);
    present(header);
}

}  // namespace

HCChallengeScreens HCChallengeModals::screens()
{
    return {&showSend, &showResult};
}
