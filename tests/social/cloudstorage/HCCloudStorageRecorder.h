#pragma once
// A cloud storage delegate that writes down each call it gets, in order,
// as one line ("didFailUpload 406"), and on which thread.
#include <string>
#include <vector>

#include "platform/runtime/Thread.h"
#include "social/cloudstorage/HCCloudStorageDelegate.h"

class HCCloudStorageRecorder : public HCCloudStorageDelegate {
public:
    void didUpload() override { note("didUpload"); }
    void didFailUpload(int32_t statusCode) override { note("didFailUpload " + std::to_string(statusCode)); }
    void didDownloadData(const std::shared_ptr<platform::Data>& data) override
    {
        note("didDownloadData " + (data ? data->toString() : std::string("nil")));
    }
    void didFailDownloadData(int32_t statusCode) override { note("didFailDownloadData " + std::to_string(statusCode)); }
    void didDownloadKeysForCurrentUser(const std::vector<std::string>& keys) override
    {
        std::string line = "didDownloadKeysForCurrentUser";
        for (const auto& key : keys) line += " " + key;
        note(line);
    }
    void didFailDownloadKeysForCurrentUser() override { note("didFailDownloadKeysForCurrentUser"); }

    std::vector<std::string> calls;
    bool onMainThread = true;

private:
    void note(std::string line)
    {
        calls.push_back(std::move(line));
        onMainThread = onMainThread && platform::Thread::isMainThread();
    }
};
