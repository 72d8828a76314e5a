#pragma once
// Driver: works the headless UI the way a person does (taps, rows, typing,
// answering alerts and sheets, the keyboard, turning the device, leaving the
// application and coming back), then runs what became due on the main run
// loop. It advances no clock by itself: animated transitions end when the
// clock passes their end, and settle() moves a ManualClock there.
//
// Finders search what a person can see: the key window, the other shown
// windows (front-most first), then the content of shown popovers; hidden
// views (and views too faint to see) are skipped with their subtrees.
//
// Used by tests and by the example host. Thread: main thread only.
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Clock.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Control.h"
#include "platform/ui/Accelerometer.h"
#include "platform/ui/ImagePickerController.h"
#include "platform/ui/IndexPath.h"
#include "platform/ui/MapView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PeoplePickerNavigationController.h"
#include "platform/ui/PopoverController.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

namespace platform::ui {

class Driver {
public:
    // Without a clock the driver uses the installed clock when that is a
    // ManualClock (and moves no clock when it is not).
    explicit Driver(ManualClock* clock = nullptr) : clock_(clock) {}

    // Runs what is due on the main run loop; with a manual clock, moves it to
    // the end of the last pending transition and runs again, until no
    // transition is pending. (Layer animations of View and Layer are not
    // transitions: wait() lets them run.)
    void settle();
    // The same with this clock; nullptr only runs the loop.
    static void settle(ManualClock* clock);
    // A person waiting: moves the manual clock on in steps of at most 0.05 s,
    // running the main run loop after each step.
    void wait(double seconds);

    // --- taps ---------------------------------------------------------------
    bool tap(const std::shared_ptr<Control>& control);
    bool tap(const BarButtonItemPtr& item);
    // The first button on screen showing this title that takes touches.
    bool tapButton(const std::string& title);
    // A left or right item of a shown navigation bar whose words match.
    bool tapBarButton(const std::string& title);
    // The back button of the most recently shown navigation bar on screen.
    bool tapBack();
    bool tapBack(const std::shared_ptr<NavigationController>& navigationController);
    bool tapTab(const std::shared_ptr<TabBarController>& tabBarController, int index);
    // The tab with this title in any tab bar controller on screen.
    bool tapTab(const std::string& title);

    // --- touches on plain views ---------------------------------------------
    // A finger tapping the screen at `point` (screen coordinates): hit testing
    // in the front-most shown window under the point (the key window is in
    // front, then the others, the one made last first) finds the view that
    // gets the touch (see Touch.h). Answers that view, or nullptr.
    ViewPtr tapAt(Point point);
    // A tap on the middle of the view as a person would make it: true when
    // the touch reached the view (or one of its subviews), false when
    // something else under the finger took it (the view is hidden, covered,
    // off the window or takes no touches).
    bool tapView(const ViewPtr& view);
    // A finger drags the content of a scroll view (or table) so that its
    // offset moves by (dx, dy); rows that come into sight are asked for.
    bool dragScrollView(const std::shared_ptr<ScrollView>& scrollView, double dx, double dy);

    // --- maps -----------------------------------------------------------------
    bool tapAnnotation(const std::shared_ptr<MapView>& map, const MapAnnotationPtr& annotation);
    bool tapCalloutAccessory(const std::shared_ptr<MapView>& map, const MapAnnotationPtr& annotation,
                             bool right = true);

    // --- pickers and sensors ----------------------------------------------------
    // On the image picker on screen (the one shown last).
    bool pickImage(const ImagePtr& image);
    bool cancelImagePicker();
    // On the people picker on screen: a person, then one of their values.
    bool pickPerson(int recordId);
    bool pickPersonValue(PersonProperty property, int identifier);
    bool cancelPeoplePicker();
    // Lines the samples up on the shared accelerometer and waits (with a
    // manual clock) one update interval per sample, so each is delivered.
    void feedAcceleration(const std::vector<Acceleration>& samples);

    // --- tables ---------------------------------------------------------------
    bool selectRow(const TableViewPtr& table, const IndexPath& indexPath);
    // The row whose cell shows this text (its text or detail label).
    bool selectRowWithText(const std::string& text);
    bool tapAccessory(const TableViewPtr& table, const IndexPath& indexPath);
    bool deleteRow(const TableViewPtr& table, const IndexPath& indexPath);
    bool insertRow(const TableViewPtr& table, const IndexPath& indexPath);

    // --- text and keyboard ------------------------------------------------------
    size_t typeText(const std::shared_ptr<TextField>& field, const std::string& text);
    size_t typeText(const std::shared_ptr<TextView>& view, const std::string& text);
    size_t typeText(const std::shared_ptr<SearchBar>& bar, const std::string& text);
    bool pressReturn(const std::shared_ptr<TextField>& field);
    // Focuses the input (the keyboard shows); false when it would not take the focus.
    bool showKeyboard(const std::shared_ptr<TextField>& field);
    bool showKeyboard(const std::shared_ptr<TextView>& view);
    // Takes the focus away (the keyboard hides); false when the holder refused.
    bool hideKeyboard();

    // --- alerts, sheets, popovers -------------------------------------------------
    // The alert on top.
    bool answerAlert(int buttonIndex);
    bool answerAlert(const std::string& buttonTitle);
    bool answerAlert(const AlertViewPtr& alert, int buttonIndex);
    // The sheet on top.
    bool answerSheet(int buttonIndex);
    bool answerSheet(const std::string& buttonTitle);
    bool answerSheet(const ActionSheetPtr& sheet, int buttonIndex);
    // A tap outside the popover on top.
    bool tapOutsidePopover();

    // --- the device and the application -------------------------------------------
    // Turns the device and, when the controllers allow it, the interface.
    // Answers whether the interface turned.
    bool rotate(InterfaceOrientation orientation);
    void enterBackground();
    void enterForeground();
    void memoryWarning();

    // --- web pages -----------------------------------------------------------------
    bool navigateWeb(const WebViewPtr& webView, const std::string& url,
                     WebNavigationType type = WebNavigationType::LinkClicked);

    // --- finders ---------------------------------------------------------------------
    // The key window, the other shown windows front-most first, then the
    // content views of shown popovers, each laid out.
    static std::vector<ViewPtr> screenRoots();
    // Shown windows, the key window first, then front-most first.
    static std::vector<std::shared_ptr<Window>> shownWindows();
    static ViewPtr findByTag(const ViewPtr& root, int tag);
    // A label with the text, a button with the title, or a cell whose text or
    // detail label reads it (the cell, not its label); the first in tree order.
    static ViewPtr findByText(const ViewPtr& root, const std::string& text);
    // On every screen root.
    static ViewPtr findByText(const std::string& text);
    template <class T>
    static std::vector<std::shared_ptr<T>> findAll(const ViewPtr& root);
    template <class T>
    static std::vector<std::shared_ptr<T>> findAll();
    template <class T>
    static std::shared_ptr<T> findFirst(const ViewPtr& root);

    // --- reading what a person reads ------------------------------------------------
    // The words of the shown labels below `root` in tree order, empty ones
    // left out, joined by " | ".
    static std::string labelsText(const ViewPtr& root);
    // A table as a person reads it by scrolling through it: "[header]" for a
    // section whose header shows words, then one line per row (the words of
    // its cell, as labelsText), then "(footer)" when the footer shows words.
    // Each row is read from the cell shown for it; the table is scrolled back
    // to where it was.
    static std::vector<std::string> readTable(const TableViewPtr& table);
    // A map's pins in the map's order: "title / subtitle", then " (words)"
    // when the pin's view in sight shows words (a badge on it).
    static std::vector<std::string> readMapPins(const std::shared_ptr<MapView>& map);

    // The key window's dump (see Describe.h), then the controllers on screen
    // with their titles as a tree (each container before what it holds, one
    // step further in), the shown alerts, sheets and popovers.
    static std::string describeScreen();

    // Every shown view below `root`, the root first, depth-first in subview order.
    static std::vector<ViewPtr> shownViews(const ViewPtr& root);

private:
    void pump();
    // Runs `act` on the controller of type T shown last, then pumps; false
    // when none is on screen.
    template <class T, class Act>
    bool onTopVisible(Act act);
    // The driver's clock, else the installed one when it is manual (kept
    // alive by `holder`), else nullptr.
    ManualClock* manualClock(std::shared_ptr<Clock>& holder) const;

    ManualClock* clock_;
};

template <class T>
std::vector<std::shared_ptr<T>> Driver::findAll(const ViewPtr& root)
{
    std::vector<std::shared_ptr<T>> found;
    for (const auto& view : shownViews(root))
        if (auto typed = std::dynamic_pointer_cast<T>(view)) found.push_back(typed);
    return found;
}

template <class T>
std::vector<std::shared_ptr<T>> Driver::findAll()
{
    std::vector<std::shared_ptr<T>> found;
    for (const auto& root : screenRoots()) {
        auto more = findAll<T>(root);
        found.insert(found.end(), more.begin(), more.end());
    }
    return found;
}

template <class T>
std::shared_ptr<T> Driver::findFirst(const ViewPtr& root)
{
    for (const auto& view : shownViews(root))
        if (auto typed = std::dynamic_pointer_cast<T>(view)) return typed;
    return nullptr;
}

}  // namespace platform::ui
