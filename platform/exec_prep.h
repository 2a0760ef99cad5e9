// What a process does just before exec so that the new program starts
// clean. Only async-signal-safe calls: usable between fork and exec.
#pragma once

namespace vesk {

// Marks every descriptor from 3 up close-on-exec, so that an open serial
// port (held exclusively) does not stay open in the started program.
void markDescriptorsCloseOnExec();

}  // namespace vesk
