#include "dashboard/HCWebViewManifestService.h"

#include <openssl/sha.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/http/HCHttpService.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Sandbox.h"
#include "platform/net/URLTransfer.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

constexpr double kTimeOutSeconds = 60;
using PageDigests = std::map<std::string, std::string>;

std::string sha1Hex(const std::vector<uint8_t>& bytes)
{
    unsigned char digest[SHA_DIGEST_LENGTH];
    SHA1(bytes.data(), bytes.size(), digest);
    static const char* const hex = "0123456789abcdef";
    std::string out;
    for (unsigned char byte : digest) {
        out += hex[byte >> 4];
        out += hex[byte & 0xf];
    }
    return out;
}

bool isDigest(const std::string& text)
{
    if (text.size() != 2 * SHA_DIGEST_LENGTH) {
        return false;
    }
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

std::string writeManifest(const PageDigests& pages)
{
    std::string out;
    for (const auto& [path, digest] : pages) {
        out += digest + " " + path + "\n";
    }
    return out;
}

PageDigests readMirrorManifest()
{
    auto bytes = platform::FileFacts::readFile(HCWebViewManifestService::mirrorManifestPath());
    if (!bytes) {
        return {};
    }
    auto pages = HCWebViewManifestService::parseManifest(std::string(bytes->begin(), bytes->end()));
    return pages.value_or(PageDigests());
}

std::string pageFile(const std::string& page)
{
    return HCWebViewManifestService::mirrorPath() + "/" + page;
}

// One update, living on the service's thread from the manifest's request to
// the mirror's new manifest.
class Update : public std::enable_shared_from_this<Update> {
public:
    Update(std::string root, std::shared_ptr<platform::RunLoop> loop, std::function<void(bool)> done)
        : root_(std::move(root)), loop_(std::move(loop)), done_(std::move(done))
    {
    }

    void start() { fetch(HCWebViewManifestService::kManifestPath, [self = shared_from_this()](auto& r) {
        self->manifestArrived(r);
    }); }

    // Any thread: no further step starts, and the transfer in flight is dropped.
    void cancel()
    {
        platform::URLTransferPtr transfer;
        {
            std::lock_guard lock(mutex_);
            cancelled_ = true;
            transfer = std::move(transfer_);
        }
        if (transfer) {
            transfer->cancel();
        }
    }

private:
    using Step = std::function<void(const platform::URLResult&)>;

    void fetch(const std::string& path, Step step)
    {
        platform::URLRequest request;
        request.url = HCHttpService::urlForPath(root_, path);
        request.timeoutSeconds = kTimeOutSeconds;
        request.useCookies = false;
        std::lock_guard lock(mutex_);
        if (cancelled_) {
            return;
        }
        auto self = shared_from_this();
        transfer_ = platform::URLTransfer::start(std::move(request), loop_, [self, step](const platform::URLResult& r) {
            {
                std::lock_guard lock(self->mutex_);
                self->transfer_ = nullptr;
                if (self->cancelled_) {
                    return;
                }
            }
            step(r);
        });
    }

    // No reply at all means the server cannot be reached, which the game
    // hears from the reachability and the log-in: a warning here would be the
    // first word of every such failure and point away from its cause. A
    // reply that is not a manifest is worth a warning, with its status.
    static void logUnreadManifest(const platform::URLResult& result)
    {
        if (!result.isReply()) {
            platform::log(platform::LogLevel::Debug, "The web pages' manifest did not come: no reply; the mirror stays.");
        } else if (result.response.statusCode != 200) {
            platform::log(platform::LogLevel::Warning, "The web pages' manifest could not be read: the server answered " +
                                                           std::to_string(result.response.statusCode) +
                                                           "; the mirror stays.");
        } else {
            platform::log(platform::LogLevel::Warning, "The web pages' manifest could not be read; the mirror stays.");
        }
    }

    static std::optional<std::string> body(const platform::URLResult& result)
    {
        if (!result.isReply() || result.response.statusCode != 200) {
            return std::nullopt;
        }
        return std::string(result.response.body.begin(), result.response.body.end());
    }

    void manifestArrived(const platform::URLResult& result)
    {
        auto text = body(result);
        auto listed = text ? HCWebViewManifestService::parseManifest(*text) : std::nullopt;
        if (!listed) {
            logUnreadManifest(result);
            finish(false);
            return;
        }
        listed_ = std::move(*listed);
        mirrored_ = readMirrorManifest();
        for (const auto& [path, digest] : listed_) {
            auto had = mirrored_.find(path);
            if (had == mirrored_.end() || had->second != digest || !platform::FileFacts::exists(pageFile(path))) {
                pending_.push_back(path);
            } else {
                kept_[path] = digest;
            }
        }
        fetchNextPage();
    }

    void fetchNextPage()
    {
        if (next_ == pending_.size()) {
            complete();
            return;
        }
        const std::string path = pending_[next_++];
        fetch(HCWebViewManifestService::kPagesPath + path,
              [self = shared_from_this(), path](const platform::URLResult& r) { self->pageArrived(path, r); });
    }

    void pageArrived(const std::string& path, const platform::URLResult& result)
    {
        const std::string& digest = listed_[path];
        const bool fetched = result.isReply() && result.response.statusCode == 200;
        if (fetched && sha1Hex(result.response.body) == digest &&
            platform::FileFacts::writeFileAtomically(pageFile(path), result.response.body)) {
            kept_[path] = digest;
        } else {
            allMirrored_ = false;
            // The earlier copy, if any, stays under its earlier digest.
            if (auto had = mirrored_.find(path); had != mirrored_.end()) {
                kept_[path] = had->second;
            }
            platform::log(platform::LogLevel::Warning, "The web page \"" + path + "\" was not mirrored.");
        }
        fetchNextPage();
    }

    void complete()
    {
        for (const auto& [path, digest] : mirrored_) {
            if (!listed_.count(path)) {
                platform::FileFacts::removeFile(pageFile(path));
            }
        }
        if (!platform::FileFacts::writeFileAtomically(HCWebViewManifestService::mirrorManifestPath(),
                                                      writeManifest(kept_))) {
            allMirrored_ = false;
        }
        finish(allMirrored_);
    }

    void finish(bool succeeded);

    const std::string root_;
    const std::shared_ptr<platform::RunLoop> loop_;
    std::function<void(bool)> done_;
    std::mutex mutex_;
    bool cancelled_ = false;
    platform::URLTransferPtr transfer_;
    PageDigests listed_;
    PageDigests mirrored_;
    PageDigests kept_;
    std::vector<std::string> pending_;
    size_t next_ = 0;
    bool allMirrored_ = true;
};

struct ServiceState {
    std::mutex mutex;
    platform::ThreadPtr thread;
    std::shared_ptr<Update> running;
};

ServiceState& state()
{
    static ServiceState s;
    return s;
}

void Update::finish(bool succeeded)
{
    {
        std::lock_guard lock(state().mutex);
        if (state().running.get() == this) {
            state().running = nullptr;
        }
    }
    if (done_) {
        platform::performOnMain([done = std::move(done_), succeeded] { done(succeeded); });
    }
}

}  // namespace

bool HCWebViewManifestService::isValidPagePath(const std::string& path)
{
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        const std::string segment = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (segment.empty() || segment == "." || segment == "..") {
            return false;
        }
        for (char c : segment) {
            const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                            c == '_' || c == '.';
            if (!ok) {
                return false;
            }
        }
        if (slash == std::string::npos) {
            return true;
        }
        start = slash + 1;
    }
}

std::optional<std::map<std::string, std::string>> HCWebViewManifestService::parseManifest(const std::string& text)
{
    PageDigests pages;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        const size_t space = line.find(' ');
        if (space == std::string::npos) {
            return std::nullopt;
        }
        std::string digest = line.substr(0, space);
        std::string path = line.substr(space + 1);
        if (!isDigest(digest) || !isValidPagePath(path) || pages.count(path) || pages.size() == kMaxPages) {
            return std::nullopt;
        }
        pages.emplace(std::move(path), std::move(digest));
    }
    return pages;
}

std::string HCWebViewManifestService::mirrorPath()
{
    return platform::Sandbox::documentsPath() + "/webui";
}

std::string HCWebViewManifestService::mirrorManifestPath()
{
    return platform::Sandbox::documentsPath() + "/webui.manifest";
}

std::optional<std::string> HCWebViewManifestService::mirroredPagePath(const std::string& page)
{
    if (!isValidPagePath(page) || !readMirrorManifest().count(page)) {
        return std::nullopt;
    }
    const std::string file = pageFile(page);
    return platform::FileFacts::exists(file) ? std::optional<std::string>(file) : std::nullopt;
}

void HCWebViewManifestService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
}

void HCWebViewManifestService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    platform::ThreadPtr thread;
    std::shared_ptr<Update> running;
    {
        std::lock_guard lock(state().mutex);
        thread = std::move(state().thread);
        running = std::move(state().running);
    }
    if (running) {
        running->cancel();
    }
    if (thread) {
        thread->cancel();
    }
}

bool HCWebViewManifestService::isUpdating()
{
    std::lock_guard lock(state().mutex);
    return state().running != nullptr;
}

void HCWebViewManifestService::updateToManifest()
{
    updateToManifest(nullptr);
}

void HCWebViewManifestService::updateToManifest(std::function<void(bool succeeded)> done)
{
    HC_CHECK_MAIN_THREAD();
    auto settings = HCSettings::Instance();
    auto root = settings ? settings->objectForKey("server-url") : std::nullopt;
    std::shared_ptr<Update> update;
    {
        std::lock_guard lock(state().mutex);
        if (root && !state().running) {
            if (!state().thread) {
                state().thread = platform::Thread::start("HCWebViewManifestService");
            }
            update = std::make_shared<Update>(*root, state().thread->runLoop(), std::move(done));
            state().running = update;
        }
    }
    if (!update) {
        if (done) {
            done(false);
        }
        return;
    }
    update->start();
}
