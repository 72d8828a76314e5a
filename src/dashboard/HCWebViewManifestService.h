#pragma once
// Keeps the local mirror of the dashboard's web pages in step with the
// manifest the service publishes ("webui/manifest" below the service root:
// one line per page, "<SHA-1 in lower-case hex> <path>"). An update fetches
// only the pages whose digest differs from the mirrored copy's (or whose
// copy is missing), checks each page's bytes against its digest, writes it
// atomically, removes pages the manifest no longer lists, and writes the
// mirror's own manifest last, listing only pages that are in place. A
// manifest that does not read whole (a bad line, a path that would leave the
// mirror, a path twice, too many pages) changes nothing; a page that fails
// keeps its earlier copy and its earlier digest, so the next update tries it
// again.
//
// Thread: the class methods run on the main thread, and the done callback
// is called there. The fetches and the writes run on the service's own
// thread, one update at a time; shutdownService() stops it and waits for it.
#include <functional>
#include <map>
#include <optional>
#include <string>

class HCWebViewManifestService {
public:
    static constexpr const char* kManifestPath = "webui/manifest";
    static constexpr const char* kPagesPath = "webui/";
    static constexpr size_t kMaxPages = 4096;

    static void initializeService();
    static void shutdownService();

    // Starts an update unless one is running (then `done`, if any, hears NO
    // at once). `done` hears whether every listed page is now mirrored.
    static void updateToManifest();
    static void updateToManifest(std::function<void(bool succeeded)> done);
    static bool isUpdating();

    // Documents/webui, and the mirror's manifest beside it.
    static std::string mirrorPath();
    static std::string mirrorManifestPath();
    // The mirrored file of a page the mirror's manifest lists, else nil.
    static std::optional<std::string> mirroredPagePath(const std::string& page);

    // "/"-separated segments of letters, digits, "-", "_" and "." that are
    // neither "." nor "..".
    static bool isValidPagePath(const std::string& path);
    // Page path to digest; nil when the text is not a whole manifest.
    static std::optional<std::map<std::string, std::string>> parseManifest(const std::string& text);
};
