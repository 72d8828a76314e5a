#include "core/images/HCImageLoader.h"

#include "core/images/HCImageCache.h"
#include "core/images/HCResourceBundle.h"

platform::ui::ImagePtr HCImageLoader::loadImage(const std::string& fileName)
{
    if (fileName.empty()) return nullptr;
    const std::string key = "bundle:" + fileName;
    auto cache = HCImageCache::sharedInstance();
    if (cache) {
        if (auto cached = cache->fetch(key)) return cached;
    }
    auto resources = HCResourceBundle::getResourceBundle();
    auto path = resources->pathForResource(fileName, "");
    if (!path) {
        auto main = platform::Bundle::mainBundle();
        if (main->bundlePath() != resources->bundlePath()) path = main->pathForResource(fileName, "");
    }
    if (!path) return nullptr;
    auto image = platform::ui::Image::imageWithContentsOfFile(*path);
    if (image && cache) cache->store(image, key);
    return image;
}
