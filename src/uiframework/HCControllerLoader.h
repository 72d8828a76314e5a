#pragma once
// Makes controllers, views and cells from their short names, so that a page
// is found by name and a game can replace any of them with its own.
//
// Naming rules (process-wide; start-up sets the suffix "Hc" and the prefix
// "HC", which are also the defaults, and the game's two overrides):
// - a nib for the short name N is N + variant + suffix. Variants are tried
//   large screen ("IPad", only on a large screen) first, then landscape
//   ("Landscape", only while the status bar, which follows the dashboard's
//   orientation, is in landscape), then none; within each variant the
//   override suffix comes before the default one;
// - a controller class is prefix + N + "Controller", a cell class prefix + N
//   + "Cell", the override prefix first;
// - a cell's nib is found by the same rules for N + "Cell".
//
// load() makes the controller class when one is registered and gives it the
// nib found for its view; without a class, the first controller among the
// nib's top-level objects. loadView() answers the first view of the nib,
// loadCell() the first cell of the cell's nib, else an instance of the cell
// class; a cell that is an HCTableCellHelper learns its owner.
//
// Thread: main thread (controllers and views are made there).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/TableViewCell.h"
#include "platform/ui/ViewController.h"

class HCControllerLoader {
public:
    static constexpr const char* kLargeScreenVariant = "IPad";
    static constexpr const char* kLandscapeVariant = "Landscape";

    static void setAssetFileSuffix(std::string suffix);
    static void setClassNamePrefix(std::string prefix);
    // nullopt clears the override.
    static void setOverrideAssetFileSuffix(std::optional<std::string> suffix);
    static void setOverrideClassNamePrefix(std::optional<std::string> prefix);
    // Back to "Hc" and "HC" without overrides.
    static void resetNamingRules();

    // The nib names tried for a short name, in order.
    static std::vector<std::string> nibNameCandidates(const std::string& name);
    // The first candidate that is registered; nullopt when none is.
    static std::optional<std::string> findNibName(const std::string& name);
    // The class names tried for a controller, in order.
    static std::vector<std::string> controllerClassNames(const std::string& name);

    // Whether load() has a class or a nib to try for the short name, without
    // making anything.
    static bool hasController(const std::string& name);
    // A new controller for the short name; nil (and an error in the log) when
    // neither a class nor a nib makes one. `owner` owns a nib that holds the
    // controller itself.
    static platform::ui::ViewControllerPtr load(const std::string& name, const platform::ObjectPtr& owner = nullptr);
    // A new view from the nib of the short name; nil when none loads.
    static platform::ui::ViewPtr loadView(const std::string& name, const platform::ObjectPtr& owner = nullptr);
    // A new cell for the short name; nil when neither nib nor class makes one.
    static platform::ui::TableViewCellPtr loadCell(const std::string& name, const platform::ObjectPtr& owner);

    // The typed forms: nil when the object made is of another class.
    template <class T>
    static std::shared_ptr<T> load(const std::string& name, const platform::ObjectPtr& owner = nullptr)
    {
        return std::dynamic_pointer_cast<T>(load(name, owner));
    }
};
