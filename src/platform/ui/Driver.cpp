#include "platform/ui/Driver.h"

#include <algorithm>

#include "platform/runtime/Thread.h"
#include "platform/ui/Autorotation.h"
#include "platform/ui/Button.h"
#include "platform/ui/Describe.h"
#include "platform/ui/Device.h"
#include "platform/ui/Label.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Transitions.h"
#include "platform/ui/Window.h"

namespace platform::ui {
namespace {

constexpr double kWaitStep = 0.05;

bool isShown(const View& view)
{
    return !view.isHidden() && view.alpha() >= 0.01;
}

void collectShown(const ViewPtr& view, std::vector<ViewPtr>& out)
{
    if (!view || !isShown(*view)) return;
    out.push_back(view);
    for (const auto& sub : view->subviews()) collectShown(sub, out);
}

bool showsText(const View& view, const std::string& text)
{
    if (auto label = dynamic_cast<const Label*>(&view)) return label->text() == text;
    if (auto button = dynamic_cast<const Button*>(&view)) return button->currentTitle() == text;
    return false;
}

// A cell's own labels, without making them.
bool cellShowsText(TableViewCell& cell, const std::string& text)
{
    for (const auto& sub : cell.contentView()->subviews())
        if (isShown(*sub))
            if (auto label = std::dynamic_pointer_cast<Label>(sub); label && label->text() == text) return true;
    return false;
}

int buttonIndexByTitle(const AlertPanel& panel, const std::string& title)
{
    for (int i = 0; i < panel.numberOfButtons(); ++i)
        if (panel.buttonTitleAtIndex(i) == title) return i;
    return -1;
}

// Visible navigation controllers whose bar is shown, most recently made last.
std::vector<std::shared_ptr<NavigationController>> shownNavigationControllers()
{
    std::vector<std::shared_ptr<NavigationController>> navs;
    for (const auto& vc : ViewController::visibleControllers())
        if (auto nav = std::dynamic_pointer_cast<NavigationController>(vc); nav && !nav->isNavigationBarHidden())
            navs.push_back(nav);
    return navs;
}

// The container `vc` is shown in; nil for a window's root and for a modal,
// which starts a tree of its own.
ViewControllerPtr containerOf(const ViewControllerPtr& vc)
{
    ViewControllerPtr parent = vc->parentViewController();
    return parent && parent != vc->presentingViewController() ? parent : nullptr;
}

// One line per controller of `shown` whose container is `parent`, each
// followed by its own children one step further in. Controllers are made
// in any order (a page before the navigation controller that holds it), so
// the tree, not the order of making, decides the order of the lines.
void describeControllers(const std::vector<ViewControllerPtr>& shown, const ViewControllerPtr& parent, int depth,
                         std::string& out)
{
    for (const auto& vc : shown) {
        const ViewControllerPtr container = containerOf(vc);
        const bool containerShown = std::find(shown.begin(), shown.end(), container) != shown.end();
        if (parent ? container != parent : containerShown) continue;
        out.append(static_cast<size_t>(2 + 2 * depth), ' ');
        out += vc->kindName();
        if (!vc->title().empty()) out += " \"" + vc->title() + "\"";
        if (vc->presentingViewController()) out += " modal";
        out += '\n';
        describeControllers(shown, vc, depth + 1, out);
    }
}

}  // namespace

// --- time -------------------------------------------------------------------------

void Driver::pump()
{
    Thread::mainThread()->runLoop()->runUntilIdle();
}

void Driver::settle(ManualClock* clock)
{
    auto loop = Thread::mainThread()->runLoop();
    // Bounded, so transitions that keep starting new ones cannot hang a test.
    for (int round = 0; round < 100; ++round) {
        loop->runUntilIdle();
        auto end = Transitions::latestEndTime();
        if (!end || !clock) return;
        if (*end > clock->now()) clock->set(*end);
    }
}

ManualClock* Driver::manualClock(std::shared_ptr<Clock>& holder) const
{
    if (clock_) return clock_;
    holder = Clock::current();
    return dynamic_cast<ManualClock*>(holder.get());
}

void Driver::settle()
{
    std::shared_ptr<Clock> holder;
    settle(manualClock(holder));
}

void Driver::wait(double seconds)
{
    auto loop = Thread::mainThread()->runLoop();
    std::shared_ptr<Clock> holder;
    ManualClock* clock = manualClock(holder);
    if (clock && seconds > 0) {
        // Steps end on exact clock times, so the last one lands on the target.
        const double target = clock->now() + seconds;
        while (clock->now() < target) {
            clock->set(std::min(clock->now() + kWaitStep, target));
            loop->runOnce();
        }
    }
    loop->runUntilIdle();
}

// --- taps ---------------------------------------------------------------------------

bool Driver::tap(const std::shared_ptr<Control>& control)
{
    bool tapped = control && control->tap();
    pump();
    return tapped;
}

bool Driver::tap(const BarButtonItemPtr& item)
{
    bool tapped = item && item->tap();
    pump();
    return tapped;
}

bool Driver::tapButton(const std::string& title)
{
    for (const auto& button : findAll<Button>()) {
        if (button->currentTitle() == title && button->acceptsTouches()) return tap(button);
    }
    return false;
}

bool Driver::tapBarButton(const std::string& title)
{
    auto navs = shownNavigationControllers();
    for (auto it = navs.rbegin(); it != navs.rend(); ++it) {
        auto item = (*it)->navigationBar()->topItem();
        if (!item) continue;
        for (const auto& button : {item->rightBarButtonItem(), item->leftBarButtonItem()})
            if (button && button->displayTitle() == title) return tap(button);
    }
    return false;
}

bool Driver::tapBack()
{
    auto navs = shownNavigationControllers();
    return !navs.empty() && tapBack(navs.back());
}

bool Driver::tapBack(const std::shared_ptr<NavigationController>& navigationController)
{
    bool tapped = navigationController && navigationController->navigationBar()->tapBackButton();
    pump();
    return tapped;
}

bool Driver::tapTab(const std::shared_ptr<TabBarController>& tabBarController, int index)
{
    bool tapped = tabBarController && tabBarController->tapTab(index);
    pump();
    return tapped;
}

bool Driver::tapTab(const std::string& title)
{
    for (const auto& vc : ViewController::visibleControllers()) {
        auto tabs = std::dynamic_pointer_cast<TabBarController>(vc);
        if (!tabs) continue;
        const auto& items = tabs->tabBar()->items();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i]->title() == title) return tapTab(tabs, static_cast<int>(i));
    }
    return false;
}

// --- touches ---------------------------------------------------------------------------

ViewPtr Driver::tapAt(Point point)
{
    for (const auto& window : shownWindows()) {
        const Rect frame = window->frame();
        if (!frame.contains(point)) continue;
        const Point inWindow(point.x - frame.minX() + window->bounds().minX(),
                             point.y - frame.minY() + window->bounds().minY());
        window->layoutIfNeeded();
        auto hit = deliverTouch(window, {inWindow});
        pump();
        return hit;
    }
    return nullptr;
}

bool Driver::tapView(const ViewPtr& view)
{
    auto window = view ? view->window() : nullptr;
    if (!window || window->isHidden()) return false;
    window->layoutIfNeeded();
    const Rect b = view->bounds();
    auto hit = deliverTouch(window, {view->convertPointTo(b.center(), window)});
    pump();
    return hit && hit->isDescendantOf(view);
}

bool Driver::dragScrollView(const std::shared_ptr<ScrollView>& scrollView, double dx, double dy)
{
    bool dragged = scrollView && scrollView->window() && scrollView->dragBy(dx, dy);
    pump();
    return dragged;
}

// --- maps ----------------------------------------------------------------------------------

bool Driver::tapAnnotation(const std::shared_ptr<MapView>& map, const MapAnnotationPtr& annotation)
{
    bool tapped = map && map->tapAnnotation(annotation);
    pump();
    return tapped;
}

bool Driver::tapCalloutAccessory(const std::shared_ptr<MapView>& map, const MapAnnotationPtr& annotation, bool right)
{
    bool tapped = map && map->tapCalloutAccessory(annotation, right);
    pump();
    return tapped;
}

// --- pickers and sensors ------------------------------------------------------------------

template <class T, class Act>
bool Driver::onTopVisible(Act act)
{
    std::shared_ptr<T> found;
    auto controllers = ViewController::visibleControllers();
    for (auto it = controllers.rbegin(); it != controllers.rend() && !found; ++it)
        found = std::dynamic_pointer_cast<T>(*it);
    bool done = found && act(*found);
    pump();
    return done;
}

bool Driver::pickImage(const ImagePtr& image)
{
    return onTopVisible<ImagePickerController>([&](auto& picker) { return picker.pickImage(image); });
}

bool Driver::cancelImagePicker()
{
    return onTopVisible<ImagePickerController>([](auto& picker) { return picker.cancel(); });
}

bool Driver::pickPerson(int recordId)
{
    return onTopVisible<PeoplePickerNavigationController>([&](auto& picker) { return picker.pickPerson(recordId); });
}

bool Driver::pickPersonValue(PersonProperty property, int identifier)
{
    return onTopVisible<PeoplePickerNavigationController>(
        [&](auto& picker) { return picker.pickValue(property, identifier); });
}

bool Driver::cancelPeoplePicker()
{
    return onTopVisible<PeoplePickerNavigationController>([](auto& picker) { return picker.cancel(); });
}

void Driver::feedAcceleration(const std::vector<Acceleration>& samples)
{
    auto accelerometer = Accelerometer::sharedAccelerometer();
    for (const auto& sample : samples) accelerometer->feed(sample.x, sample.y, sample.z);
    wait(accelerometer->updateInterval() * static_cast<double>(samples.size()));
}

// --- tables ----------------------------------------------------------------------------

bool Driver::selectRow(const TableViewPtr& table, const IndexPath& indexPath)
{
    bool selected = table && table->tapRow(indexPath);
    pump();
    return selected;
}

bool Driver::selectRowWithText(const std::string& text)
{
    for (const auto& cell : findAll<TableViewCell>()) {
        if (!cellShowsText(*cell, text)) continue;
        auto table = std::dynamic_pointer_cast<TableView>(cell->superview());
        if (!table) continue;
        if (auto ip = table->indexPathForCell(cell)) return selectRow(table, *ip);
    }
    return false;
}

bool Driver::tapAccessory(const TableViewPtr& table, const IndexPath& indexPath)
{
    bool tapped = table && table->tapAccessory(indexPath);
    pump();
    return tapped;
}

bool Driver::deleteRow(const TableViewPtr& table, const IndexPath& indexPath)
{
    bool deleted = table && table->tapDelete(indexPath);
    pump();
    return deleted;
}

bool Driver::insertRow(const TableViewPtr& table, const IndexPath& indexPath)
{
    bool inserted = table && table->tapInsert(indexPath);
    pump();
    return inserted;
}

// --- text and keyboard --------------------------------------------------------------------

size_t Driver::typeText(const std::shared_ptr<TextField>& field, const std::string& text)
{
    size_t typed = field ? field->typeText(text) : 0;
    pump();
    return typed;
}

size_t Driver::typeText(const std::shared_ptr<TextView>& view, const std::string& text)
{
    size_t typed = view ? view->typeText(text) : 0;
    pump();
    return typed;
}

size_t Driver::typeText(const std::shared_ptr<SearchBar>& bar, const std::string& text)
{
    size_t typed = bar ? bar->typeText(text) : 0;
    pump();
    return typed;
}

bool Driver::pressReturn(const std::shared_ptr<TextField>& field)
{
    bool pressed = field && field->pressReturn();
    pump();
    return pressed;
}

bool Driver::showKeyboard(const std::shared_ptr<TextField>& field)
{
    bool focused = field && field->becomeFirstResponder();
    pump();
    return focused;
}

bool Driver::showKeyboard(const std::shared_ptr<TextView>& view)
{
    bool focused = view && view->becomeFirstResponder();
    pump();
    return focused;
}

bool Driver::hideKeyboard()
{
    bool hidden = FirstResponder::resignCurrent();
    pump();
    return hidden;
}

// --- alerts, sheets, popovers ----------------------------------------------------------------

bool Driver::answerAlert(int buttonIndex)
{
    auto alerts = AlertView::visibleAlerts();
    return !alerts.empty() && answerAlert(alerts.back(), buttonIndex);
}

bool Driver::answerAlert(const std::string& buttonTitle)
{
    auto alerts = AlertView::visibleAlerts();
    return !alerts.empty() && answerAlert(alerts.back(), buttonIndexByTitle(*alerts.back(), buttonTitle));
}

bool Driver::answerAlert(const AlertViewPtr& alert, int buttonIndex)
{
    bool clicked = alert && alert->clickButton(buttonIndex);
    pump();
    return clicked;
}

bool Driver::answerSheet(int buttonIndex)
{
    auto sheets = ActionSheet::visibleSheets();
    return !sheets.empty() && answerSheet(sheets.back(), buttonIndex);
}

bool Driver::answerSheet(const std::string& buttonTitle)
{
    auto sheets = ActionSheet::visibleSheets();
    return !sheets.empty() && answerSheet(sheets.back(), buttonIndexByTitle(*sheets.back(), buttonTitle));
}

bool Driver::answerSheet(const ActionSheetPtr& sheet, int buttonIndex)
{
    bool clicked = sheet && sheet->clickButton(buttonIndex);
    pump();
    return clicked;
}

bool Driver::tapOutsidePopover()
{
    auto popovers = PopoverController::visiblePopovers();
    bool dismissed = !popovers.empty() && popovers.back()->tapOutside();
    pump();
    return dismissed;
}

// --- the device and the application -------------------------------------------------------------

bool Driver::rotate(InterfaceOrientation orientation)
{
    // Device and interface orientations share their numbers.
    Device::current()->setOrientation(static_cast<DeviceOrientation>(static_cast<int>(orientation)));
    bool turned = Autorotation::rotateInterface(orientation);
    pump();
    return turned;
}

void Driver::enterBackground()
{
    auto app = Application::shared();
    app->resignActive();
    app->enterBackground();
    pump();
}

void Driver::enterForeground()
{
    auto app = Application::shared();
    app->enterForeground();
    app->becomeActive();
    pump();
}

void Driver::memoryWarning()
{
    ViewController::broadcastMemoryWarning();
    pump();
}

bool Driver::navigateWeb(const WebViewPtr& webView, const std::string& url, WebNavigationType type)
{
    bool loaded = webView && webView->navigate(url, type);
    pump();
    return loaded;
}

// --- finders ----------------------------------------------------------------------------------------

std::vector<std::shared_ptr<Window>> Driver::shownWindows()
{
    std::vector<std::shared_ptr<Window>> shown;
    auto key = Application::shared()->keyWindow();
    if (key && !key->isHidden()) shown.push_back(key);
    auto windows = Application::shared()->windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (*it != key && !(*it)->isHidden()) shown.push_back(*it);
    return shown;
}

std::vector<ViewPtr> Driver::screenRoots()
{
    std::vector<ViewPtr> roots;
    for (const auto& window : shownWindows()) roots.push_back(window);
    for (const auto& popover : PopoverController::visiblePopovers())
        if (const auto& content = popover->contentViewController(); content && content->viewIfLoaded())
            roots.push_back(content->viewIfLoaded());
    // A person sees the screen as laid out.
    for (const auto& root : roots) root->layoutIfNeeded();
    return roots;
}

std::vector<ViewPtr> Driver::shownViews(const ViewPtr& root)
{
    std::vector<ViewPtr> views;
    collectShown(root, views);
    return views;
}

ViewPtr Driver::findByTag(const ViewPtr& root, int tag)
{
    for (const auto& view : shownViews(root))
        if (view->tag() == tag) return view;
    return nullptr;
}

ViewPtr Driver::findByText(const ViewPtr& root, const std::string& text)
{
    for (const auto& view : shownViews(root)) {
        if (auto cell = std::dynamic_pointer_cast<TableViewCell>(view); cell && cellShowsText(*cell, text)) return cell;
        if (showsText(*view, text)) return view;
    }
    return nullptr;
}

ViewPtr Driver::findByText(const std::string& text)
{
    for (const auto& root : screenRoots())
        if (auto found = findByText(root, text)) return found;
    return nullptr;
}

std::string Driver::describeScreen()
{
    std::string out;
    auto window = Application::shared()->keyWindow();
    out += window ? describe(window) : std::string("(no key window)\n");
    auto controllers = ViewController::visibleControllers();
    if (!controllers.empty()) {
        out += "Controllers:\n";
        describeControllers(controllers, nullptr, 0, out);
    }
    for (const auto& panel : AlertPanel::shownPanels()) out += panel->kindName() + " " + panel->describe() + "\n";
    for (const auto& popover : PopoverController::visiblePopovers()) {
        out += "Popover " + toString(popover->popoverContentSize()) + "\n";
        if (const auto& content = popover->contentViewController(); content && content->viewIfLoaded())
            out += describe(content->viewIfLoaded());
    }
    return out;
}

std::string Driver::labelsText(const ViewPtr& root)
{
    std::string text;
    for (const auto& label : findAll<Label>(root)) {
        if (label->text().empty()) continue;
        text += (text.empty() ? "" : " | ") + label->text();
    }
    return text;
}

std::vector<std::string> Driver::readTable(const TableViewPtr& table)
{
    std::vector<std::string> lines;
    if (!table) return lines;
    const Point offset = table->contentOffset();
    auto source = table->dataSource();
    auto delegate = table->delegate();
    for (int section = 0; section < table->numberOfSections(); ++section) {
        std::optional<std::string> header = source ? source->titleForHeaderInSection(*table, section) : std::nullopt;
        if (!header && delegate) {
            if (auto view = delegate->viewForHeaderInSection(*table, section)) header = labelsText(view);
        }
        if (header && !header->empty()) lines.push_back("[" + *header + "]");
        for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
            const IndexPath path{section, row};
            table->scrollToRowAtIndexPath(path, TableViewScrollPosition::None, false);
            table->layoutIfNeeded();
            auto cell = table->cellForRowAtIndexPath(path);
            lines.push_back(cell ? labelsText(cell) : std::string());
        }
    }
    if (const auto& footer = table->tableFooterView()) {
        const std::string words = labelsText(footer);
        if (!words.empty()) lines.push_back("(" + words + ")");
    }
    table->setContentOffset(offset, false);
    table->layoutIfNeeded();
    return lines;
}

std::vector<std::string> Driver::readMapPins(const std::shared_ptr<MapView>& map)
{
    std::vector<std::string> pins;
    if (!map) return pins;
    for (const auto& annotation : map->annotations()) {
        std::string pin = annotation->title().value_or("") + " / " + annotation->subtitle().value_or("");
        if (auto view = map->viewForAnnotation(annotation)) {
            const std::string words = labelsText(view);
            if (!words.empty()) pin += " (" + words + ")";
        }
        pins.push_back(pin);
    }
    return pins;
}

}  // namespace platform::ui
