#pragma once
// Favourite-and-review of the game in context ("FavoriteThisGame"): the
// star makes the game a favourite or takes it back, and a favourite may
// carry a review, sent with "Submit". Each appearance reads the player's
// review again (a failed read says so on the page); a failed change leaves
// the star and the review as they were; a review refused, or let go
// unanswered after the player left, is told wherever he is (once he left,
// quoting its head; a banner over the game once the dashboard closed: see
// HCFormControllerHelper::tellSubmissionFailure). One change at a time: while
// one is on its way the star and "Submit" do nothing, and "Submit", which
// the loading screen does not cover, is disabled.
//
// The form's own submission (onSubmitForm) sends the same change as the
// favourite call: the review, when there is one, and the star as it stands,
// in the "client_application_user" scope of the game's review address; it
// ends with its own alert. It counts as a change too: it sends nothing while
// a favourite call is on its way, and the star and "Submit" wait for it.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "uiframework/widgets/HCMultilineTextField.h"

class HCFavoriteThisGameController final : public HCFormControllerHelper {
public:
    static constexpr const char* kSubmittedMessage = "Your comment has been submitted.";
    static constexpr const char* kFormSubmittedMessage = "Your comment has been submitted successfully.";
    static constexpr const char* kEmptyReviewMessage = "You must enter a comment before submitting.";
    static constexpr const char* kReadFailedMessage = "Your Favorites could not be loaded. Please try again later.";

    void onFavoritePressed();
    void onSubmitReviewPressed();

    bool isFavorite() const { return isFavorite_; }
    const std::shared_ptr<platform::ui::Button>& favoriteButton() const { return favoriteButton_; }
    const std::shared_ptr<HCMultilineTextField>& reviewTextField() const { return reviewTextField_; }
    const std::shared_ptr<platform::ui::View>& reviewArea() const { return reviewArea_; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    bool canReceiveCallbacksNow() const override { return true; }
    std::string singularResourceName() override { return {}; }
    // None while a favourite call is on its way.
    std::string getFormSubmissionUrl() override;
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    // The review, quoted by its head.
    std::string failureMessageWithoutReply() override;
    void registerActionsNow() override {}
    platform::ui::BarButtonItemPtr submitBarButtonItem() override;
    std::string kindName() const override { return "HCFavoriteThisGameController"; }

private:
    std::optional<std::string> getClientApplicationId() const;
    std::string getClientApplicationName() const;
    void onReviewLoaded(std::shared_ptr<HCPaginatedSeries> reviews);
    void onReviewReadFailed(std::shared_ptr<platform::Object>);
    void onGameIsFavorite(const std::string& review);
    void onGameIsNotFavorite();
    void onIsFavoriteChanged(std::shared_ptr<platform::Object>);
    void onRequestSucceeded();
    void onReviewSubmitted(std::shared_ptr<platform::Object>);
    void onRequestFailed(std::shared_ptr<platform::Object>);
    void endChange();
    void updateState(bool sendReview, bool makeFavorite, void (HCFavoriteThisGameController::*onSuccess)(
                                                            std::shared_ptr<platform::Object>));
    void setReviewAreaAvailable(bool available, bool animate);
    void showStar(bool filled);

    std::shared_ptr<platform::ui::Button> favoriteButton_;
    std::shared_ptr<platform::ui::Label> descriptionLabel_;
    std::shared_ptr<HCMultilineTextField> reviewTextField_;
    std::shared_ptr<platform::ui::View> reviewArea_;
    bool isFavorite_ = false;
    bool changing_ = false;
};
