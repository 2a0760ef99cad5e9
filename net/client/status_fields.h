// The status record field by field, for both variants: names (settings
// keys where the field is one), widths and offsets, and the decoded values.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/variant.h"

namespace vesk::client {

struct FieldValue {
    std::string name;
    int64_t value;
};

// Which variant a record of this length belongs to.
std::optional<Variant> variantOfRecord(size_t length);

// Every field of the record in record order; empty for a record of an
// unknown length.
std::vector<FieldValue> decodeStatus(const std::vector<uint8_t>& record);
std::map<std::string, int64_t> statusMap(const std::vector<uint8_t>& record);

// burnerState as text.
std::string burnerStateName(int64_t state);

}  // namespace vesk::client
