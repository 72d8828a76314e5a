#include "core/images/HCImageLoader.h"

#include <filesystem>

#include "core/images/HCImageCache.h"
#include "core/images/HCResourceBundle.h"
#include "platform/foundation/Sandbox.h"

platform::ui::ImagePtr HCImageLoader::loadImage(const std::string& fileName)
{
    if (fileName.empty() || !platform::Sandbox::isConfigured()) return nullptr;
    const std::string key = "bundle:" + fileName;
    auto cache = HCImageCache::sharedInstance();
    if (cache) {
        if (auto cached = cache->fetch(key)) return cached;
    }
    // The resource bundle is a folder inside the main bundle; the main
    // bundle's own lookup keeps names from leaving it.
    platform::ui::ImagePtr image;
    const auto resources = HCResourceBundle::getResourceBundle();
    const auto main = platform::Bundle::mainBundle();
    if (resources->bundlePath() != main->bundlePath()) {
        const auto folder = std::filesystem::path(resources->bundlePath()).filename();
        image = platform::ui::Image::imageNamed((folder / fileName).string());
    }
    if (!image) image = platform::ui::Image::imageNamed(fileName);
    if (image && cache) cache->store(image, key);
    return image;
}
