#pragma once
// The friend picker: the players the local player follows, a page at a
// time in the player rows, shown over the dashboard with a prompt and a
// Cancel button. A tap on a friend, or Cancel, closes the picker first and
// then tells the delegate once; the delegate is not kept alive by the
// picker.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "socialpages/inbox/HCFriendPickerDelegate.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCFriendPickerController : public HCTableSequenceControllerHelper {
public:
    static constexpr const char* kCancelTitle = "Cancel";

    // Presents the picker over the dashboard's active page; nil when there is none.
    static std::shared_ptr<HCFriendPickerController> launchPickerWithDelegate(
        const std::shared_ptr<HCFriendPickerDelegate>& delegate, const std::string& promptText);

    const std::string& promptText() const { return promptText_; }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "You are not following anyone yet."; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;

    void _cancel();
    std::string kindName() const override { return "HCFriendPickerController"; }

private:
    // Closes the picker, then tells the delegate (once).
    void finish(const HCUserPtr& user);

    std::weak_ptr<HCFriendPickerDelegate> delegate_;
    std::string promptText_;
    std::weak_ptr<platform::ui::ViewController> presenter_;
    bool shown_ = false;
};
