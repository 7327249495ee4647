#include "pictureCache.h"

#include <map>
#include <mutex>
#include <utility>

namespace resources {

namespace {

struct Cache {
    std::mutex lock;
    std::map<int, std::shared_ptr<const Artwork>> sources;
    std::map<std::pair<int, double>, std::shared_ptr<ScaledPicture>> pictures;
};

// Freed when the plug-in is unloaded; editors still drawing then hold their
// pictures (and those their sources) by shared pointer.
Cache& cache()
{
    static Cache kept;
    return kept;
}

} // namespace

std::shared_ptr<ScaledPicture> sharedPicture(int id, double scale, ArtworkSource source)
{
    if (!source || !(scale > 0.0))
        return nullptr;
    Cache& c = cache();
    // Held while the artwork is unpacked, so that two editors opening at once
    // unpack it once; resampling happens later, under each picture's own lock.
    std::lock_guard<std::mutex> hold(c.lock);
    auto found = c.pictures.find({id, scale});
    if (found != c.pictures.end())
        return found->second;
    auto known = c.sources.find(id);
    if (known == c.sources.end()) {
        auto artwork = std::make_shared<Artwork>();
        if (!source(id, *artwork) || artwork->pixels.width <= 0 || artwork->pixels.height <= 0
            || !artwork->pixels.top || !(artwork->drawnAt > 0.0))
            return nullptr;
        known = c.sources.emplace(id, std::move(artwork)).first;
    }
    auto made = std::make_shared<ScaledPicture>(known->second, scale);
    c.pictures.emplace(std::pair{id, scale}, made);
    return made;
}

PictureCacheContents pictureCacheContents()
{
    Cache& c = cache();
    std::lock_guard<std::mutex> hold(c.lock);
    PictureCacheContents contents;
    contents.sources = static_cast<int>(c.sources.size());
    contents.pictures = static_cast<int>(c.pictures.size());
    for (const auto& [id, artwork] : c.sources)
        contents.bytes += artwork->bytes.size();
    for (const auto& [key, picture] : c.pictures) {
        contents.rowsMade += picture->rowsMade();
        contents.rowsResampled += picture->rowsResampled();
        contents.bytes += picture->bytesHeld();
    }
    return contents;
}

} // namespace resources
