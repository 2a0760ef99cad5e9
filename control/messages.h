// Texts of the information panel: the fault and warning lists, the
// information text and the text size that fits a long text into the panel.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/variant.h"

namespace vesk {

struct ControllerState;

inline constexpr std::string_view kFaultHeading = "НЕИСПРАВНОСТЬ!\n";
inline constexpr std::string_view kWarningHeading = "ВНИМАНИЕ!\n";

// The message of every set fault bit in display order (without the heading).
std::vector<std::string_view> faultMessages(uint32_t faults);
// The message of every set warning bit in the variant's order (without the
// heading); the valve 2 sensor's only while EMSTART_ENABLE is 0.
std::vector<std::string_view> warningMessages(Variant v, uint32_t warnings, int emstartEnable);
// The messages as one text, each starting on a line of its own.
std::string joinMessages(const std::vector<std::string_view>& messages);
std::string faultListText(uint32_t faults);
std::string warningListText(Variant v, uint32_t warnings, int emstartEnable);

// Model, software and board versions, boiler number, then the maker's
// contact lines (the panel's configuration; empty ones are left out).
std::string infoText(Variant v, int32_t boilerType, uint16_t boardVersion, int linkOk, int32_t serial,
                     const std::vector<std::string>& contactLines);
// The same from the state; the caller holds stateLock.
std::string infoText(const ControllerState& s, const std::vector<std::string>& contactLines);

// Lines the panel counts: every line break and every 30 characters (code
// points) since the last one start a new line.
int countTextLines(std::string_view utf8);
// Font pixel height for a text of the panel: 14, smaller from 8 lines on.
int infoTextSize(std::string_view utf8);

// What the panel shows: faults over warnings over the information text;
// the fifth tap (counter 4) always shows the information text.
enum class InfoPanelView { Faults, Warnings, Info };
InfoPanelView infoPanelView(uint32_t faults, uint32_t warnings, int tapCounter);
// The tap counter after one more tap: 0..4, wrapping.
int nextInfoTap(int tapCounter);

}  // namespace vesk
