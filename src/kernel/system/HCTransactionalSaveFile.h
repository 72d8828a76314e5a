#pragma once
// Where the client keeps its files: the application's Documents folder.
//
// Thread: any thread.
#include <string>

class HCTransactionalSaveFile {
public:
    // The full path of that file name in the Documents folder (created when
    // missing).
    static std::string getSavePathForFile(const std::string& name);
};
