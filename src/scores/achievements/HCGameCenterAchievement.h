#pragma once
// One achievement submission with its two parts, the service's and Game
// Center's, which end in any order. The caller's success or failure callback
// is called once, when both parts that started have reported: failure when
// either failed (with the service's failure object, or nil), success with the
// service's reply page otherwise.
//
// The service part posts the ids and percentages for `userId`, and the reply
// is written to the offline store for that user: the one the request was
// for, whoever is logged in when it arrives; only its entries for the ids
// sent are written. The Game Center part reports each achievement that maps
// to Game Center and is above 0 %.
//
// When neither part starts (no ids, or no user and no Game Center) neither
// callback is called and the answer is nil.
//
// A service request that the provider takes and then drops or cancels ends
// the service part with failure (nil) once its unused callbacks are let go,
// so a submission that started always reports, once.
//
// Thread: main. The callbacks of its parts hold it until they have run. Once
// it has reported it holds neither the reply nor the caller's callbacks.
#include <memory>
#include <string>
#include <vector>

#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/runtime/Object.h"
#include "transport/handles/HCRequestHandle.h"

class HCGameCenterAchievement final : public platform::Object, public HCCallbackable {
public:
    enum Status { kNotStarted = 0, kPending = 1, kSucceeded = 2, kFailed = 3 };

    HCGameCenterAchievement(std::string userId, std::vector<std::string> achievementIds,
                            std::vector<double> percentsComplete, bool batch, bool sync);

    // The service part's handle, nil when it did not start.
    HCRequestHandlePtr submitOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure);

    bool canReceiveCallbacksNow() const override { return true; }

private:
    // The service part's end: its reply page, or the failure object.
    void onHalcyonPart(const platform::ObjectPtr& result, Status outcome);
    void onGameCenterReport(bool ok);
    void testCompletion();

    std::string userId_;
    std::vector<std::string> achievementIds_;
    std::vector<double> percentsComplete_;
    bool batch_;
    bool sync_;
    HCDelegate successDelegate_;
    HCDelegate failureDelegate_;
    platform::ObjectPtr halcyonPage_;
    Status halcyonStatus_ = kNotStarted;
    Status gameCenterStatus_ = kNotStarted;
    unsigned gameCenterCount_ = 0;
    bool completed_ = false;
};

// Reports achievements to Game Center alone, for a player who has not taken
// up the online features. Lists of different lengths report nothing and call
// nothing. An id without a Game Center counterpart is an error: the failure
// callback is called at once (once in all). After the last report: failure
// (unless already sent) when any report failed, else success; both with nil.
//
// Thread: main.
class HCSubmitAchievementToGameCenterOnly final : public platform::Object {
public:
    void submitToGameCenterOnlyWithIds(const std::vector<std::string>& achievementIds,
                                       const std::vector<double>& percentsComplete, const HCDelegate& onSuccess,
                                       const HCDelegate& onFailure);

private:
    void onReport(bool ok);

    unsigned achievementStillToRecieveCallbackCount_ = 0;
    bool encounteredAnError_ = false;
    bool sentFailure_ = false;
    HCDelegate onSuccess_;
    HCDelegate onFailure_;
};
