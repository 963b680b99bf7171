// New anonymous distinct ids: a GUID as 36 upper-case hexadecimal characters
// with dashes, or, when no GUID can be made, a text from a shared Mersenne
// Twister (default seed) in the same 8-4-4-4-12 shape.
#pragma once
#include <string>

#include "platform/guid.h"

namespace pelko {
namespace analytics {

std::string GenerateDistinctId();
std::string FormatDistinctId(const Platform::Guid& guid);
std::string FallbackDistinctId();

}  // namespace analytics
}  // namespace pelko
