// The generated files read back from disk, ready to be composed the way the
// panel draws them (keyed pictures with their key made transparent).
#pragma once
#include <cairo.h>

#include <map>
#include <string>
#include <vector>

#include "tools/art/raster.h"

namespace vesk::art {

class Gallery {
public:
    explicit Gallery(std::string dir) : dir_(std::move(dir)) {}
    // Reads every catalogue picture and animation file; false with a message
    // on stderr when one is missing or unreadable.
    bool load();

    // Pictures are named by number, or "VARIANT/number" for per-variant ones.
    void blit(cairo_t* cr, const std::string& id, double x, double y) const;
    void blit(cairo_t* cr, int number, double x, double y) const { blit(cr, std::to_string(number), x, y); }
    // One frame of an animation file.
    void frame(cairo_t* cr, const std::string& file, int index, double x, double y) const;
    // The power bar: the first `cols` columns from one picture, the rest from the other.
    void split(cairo_t* cr, int left, int right, int cols, double x, double y) const;

    const std::map<std::string, Surface>& loadedPictures() const { return pics_; }
    const std::map<std::string, std::vector<Surface>>& loadedAnimations() const { return anims_; }

private:
    bool loadPicture(const std::string& id, const std::string& rel, bool keyed, bool fixedKey);

    std::string dir_;
    std::map<std::string, Surface> pics_;
    std::map<std::string, std::vector<Surface>> anims_;
};

}  // namespace vesk::art
