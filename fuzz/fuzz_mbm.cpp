// An .mbm animation file as the panel reads it from its folder.
#include "ui/toolkit/mbm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vesk::decodeMbm(data, size);
    return 0;
}
