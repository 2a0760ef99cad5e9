// Pictures by resource number and animation files, each loaded once.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/mbm.h"

namespace vesk {

class Resources {
public:
    // `resourceDir` holds <N>.png; animation files are looked for in each of
    // `animationDirs` in turn (all folders with a trailing '/'). Pictures
    // drawn per variant lie in <resourceDir>/<programName>/ and win there.
    Resources(std::string resourceDir, std::vector<std::string> animationDirs, std::string programName = {});

    // The panel's folders: home/res when it exists, else exeFolder/res;
    // animations in home, then exeFolder.
    static Resources forProgram(const std::string& home, const std::string& exeFolder,
                                const std::string& programName = {});

    // Opaque picture; empty (0 x 0) when there is none.
    const Bitmap& bitmap(int id);
    // Keyed on the colour of the top-left pixel.
    const Bitmap& keyed(int id);
    // Keyed on a given colour.
    const Bitmap& keyedOn(int id, Color key);

    // Decoded animation file; no frames when it is missing or unreadable.
    std::shared_ptr<const MbmAnimation> animation(const std::string& fileName);

    const std::string& resourceDir() const { return resourceDir_; }

private:
    std::string resourceDir_;
    std::string variantDir_;  // "" or resourceDir_ + programName + '/'
    std::vector<std::string> animationDirs_;
    std::map<int, Bitmap> opaque_;
    std::map<std::pair<int, int64_t>, Bitmap> keyed_;  // key -1: top-left pixel
    std::map<std::string, std::shared_ptr<const MbmAnimation>> animations_;
};

}  // namespace vesk
