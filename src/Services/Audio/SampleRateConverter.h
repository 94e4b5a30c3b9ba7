#pragma once

#include "Services/Audio/SampleDecoder.h"

// Converts decoded samples to the output's rate once, when a pack loads, so playing a key
// never resamples more than the small pitch variation needs.
namespace SampleRateConverter {
enum Code : int { conversionFailed = 11 };

Result<DecodedSample> convert(DecodedSample sample, int targetRate);
}
