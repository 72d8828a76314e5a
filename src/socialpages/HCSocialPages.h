#pragma once
// Makes the social pages and their cells known to the controller loader by
// class name ("HC" + name + "Controller" / "Cell"). The client's hook
// installation calls it, so a static build keeps the pages.
//
// Thread: main thread (before a page is loaded by name).
class HCSocialPages {
public:
    static void registerClasses();
};
