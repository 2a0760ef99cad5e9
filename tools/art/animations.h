// The six animation files: what each frame shows and how the file is stored.
#pragma once
#include <string>
#include <vector>

#include "tools/art/mbm_writer.h"

namespace vesk::art {

struct AnimationSpec {
    std::string name;
    bool keyed;  // drawn keyed over the previous frame (mode 1) or opaque
    MbmFile file;
};

std::vector<AnimationSpec> animations();

}  // namespace vesk::art
