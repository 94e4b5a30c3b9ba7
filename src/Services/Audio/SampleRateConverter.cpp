#include "Services/Audio/SampleRateConverter.h"

#include <samplerate.h>

#include <cmath>

Result<DecodedSample> SampleRateConverter::convert(DecodedSample sample, int targetRate)
{
    if (sample.sampleRate == targetRate || sample.frames() == 0)
        return sample;
    if (targetRate <= 0 || sample.sampleRate <= 0)
        return failure(SampleDecoder::domain, conversionFailed,
                       QStringLiteral("The sound couldn’t be converted for playback."));

    const double ratio = double(targetRate) / double(sample.sampleRate);
    const qint64 inputFrames = sample.frames();
    // One frame of slack for rounding; the converter reports what it actually produced.
    const qint64 outputCapacity = qint64(std::ceil(double(inputFrames) * ratio)) + 1;
    DecodedSample converted;
    converted.channels = sample.channels;
    converted.sampleRate = targetRate;
    converted.samples.resize(std::size_t(outputCapacity) * std::size_t(sample.channels));

    SRC_DATA data{};
    data.data_in = sample.samples.data();
    data.input_frames = long(inputFrames);
    data.data_out = converted.samples.data();
    data.output_frames = long(outputCapacity);
    data.src_ratio = ratio;
    data.end_of_input = 1;
    if (const int status = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, sample.channels); status != 0) {
        return failure(SampleDecoder::domain, conversionFailed,
                       QStringLiteral("The sound couldn’t be converted for playback (%1).")
                           .arg(QString::fromUtf8(src_strerror(status))));
    }
    converted.samples.resize(std::size_t(data.output_frames_gen) * std::size_t(sample.channels));
    converted.samples.shrink_to_fit();
    return converted;
}
