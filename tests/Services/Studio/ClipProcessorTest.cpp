#include "Services/Studio/ClipProcessor.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace {
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();

std::vector<float> ramp(int count, float value = 0.5f)
{
    return std::vector<float>(std::size_t(count), value);
}
}

TEST(ClipProcessor, JudgesEveryRuleAtItsBoundary)
{
    const std::vector<float> ten = ramp(10);
    struct Case {
        const char *name;
        AudioClipEdit edit;
        bool accepted;
    };
    const Case cases[] = {
        {"whole clip", {0, 10, 1.0f, 0, 0}, true},
        {"negative start", {-1, 10, 1.0f, 0, 0}, false},
        {"empty selection", {4, 4, 1.0f, 0, 0}, false},
        {"reversed selection", {5, 4, 1.0f, 0, 0}, false},
        {"end at the sample count", {9, 10, 1.0f, 0, 0}, true},
        {"end past the sample count", {0, 11, 1.0f, 0, 0}, false},
        {"gain 4", {0, 10, 4.0f, 0, 0}, true},
        {"gain just above 4", {0, 10, std::nextafter(4.0f, 5.0f), 0, 0}, false},
        {"gain zero", {0, 10, 0.0f, 0, 0}, true},
        {"gain negative zero", {0, 10, -0.0f, 0, 0}, true},
        {"gain negative", {0, 10, -std::numeric_limits<float>::denorm_min(), 0, 0}, false},
        {"gain NaN", {0, 10, notANumber, 0, 0}, false},
        {"gain infinite", {0, 10, infinity, 0, 0}, false},
        {"fade-in the whole selection", {2, 6, 1.0f, 4, 0}, true},
        {"fade-in one past the selection", {2, 6, 1.0f, 5, 0}, false},
        {"fade-in negative", {2, 6, 1.0f, -1, 0}, false},
        {"fade-out the whole selection", {2, 6, 1.0f, 0, 4}, true},
        {"fade-out one past the selection", {2, 6, 1.0f, 0, 5}, false},
        {"fade-out negative", {2, 6, 1.0f, 0, -1}, false},
        {"overlapping fades", {0, 10, 1.0f, 10, 10}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto rendered = ClipProcessor::process(ten, c.edit);
        EXPECT_EQ(bool(rendered), c.accepted);
        EXPECT_EQ(bool(ClipProcessor::validate(ten, c.edit)), c.accepted);
        if (rendered) {
            EXPECT_EQ(qint64(rendered->size()), c.edit.length());
        } else {
            EXPECT_EQ(rendered.error().domain, CocoaError::domain);
            EXPECT_EQ(rendered.error().code, CocoaError::validationMissingMandatoryProperty);
            EXPECT_FALSE(rendered.error().message.isEmpty());
        }
    }
}

#if defined(__SSE__)
TEST(ClipProcessor, RefusesATinyNegativeGainWhereDenormalsAreFlushed)
{
    // Audio threads flush denormals to zero; a negative gain must not pass as zero there.
    const unsigned int previous = _mm_getcsr();
    _mm_setcsr(previous | 0x8040);
    const bool accepted = ClipProcessor::isAcceptedGain(-std::numeric_limits<float>::denorm_min());
    const bool zeroAccepted = ClipProcessor::isAcceptedGain(-0.0f);
    _mm_setcsr(previous);
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(zeroAccepted);
}
#endif

TEST(ClipProcessor, RefusesDamagedSamplesOutsideTheSelectionToo)
{
    for (const float damage : {notANumber, infinity, -infinity}) {
        for (const std::size_t where : {std::size_t(0), std::size_t(5), std::size_t(9)}) {
            std::vector<float> samples = ramp(10);
            samples[where] = damage;
            const auto rendered = ClipProcessor::process(samples, {3, 4, 1.0f, 0, 0});
            ASSERT_FALSE(rendered);
            EXPECT_EQ(rendered.error().code, CocoaError::validationMissingMandatoryProperty);
        }
    }
}

TEST(ClipProcessor, RendersFadesAndGain)
{
    struct Case {
        const char *name;
        std::vector<float> input;
        AudioClipEdit edit;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {"crop", {0.1f, 0.2f, 0.3f, 0.4f}, {1, 3, 1.0f, 0, 0}, {0.2f, 0.3f}},
        {"gain zero silences", {0.5f, -0.5f}, {0, 2, 0.0f, 0, 0}, {0.0f, 0.0f}},
        {"fade-in ramps to exactly one", {1, 1, 1, 1, 1}, {0, 5, 1.0f, 4, 0}, {0.0f, 1.0f / 3, 2.0f / 3, 1.0f, 1.0f}},
        {"fade-out ramps from exactly one", {1, 1, 1, 1, 1}, {0, 5, 1.0f, 0, 4}, {1.0f, 1.0f, 2.0f / 3, 1.0f / 3, 0.0f}},
        {"one-frame fade-in silences the first sample", {1, 1, 1}, {0, 3, 1.0f, 1, 0}, {0.0f, 1.0f, 1.0f}},
        {"one-frame fade-out silences the last sample", {1, 1, 1}, {0, 3, 1.0f, 0, 1}, {1.0f, 1.0f, 0.0f}},
        {"overlapping fades multiply", {1, 1, 1}, {0, 3, 1.0f, 3, 3}, {0.0f, 0.25f, 0.0f}},
        {"single frame with both fades", {0.7f}, {0, 1, 1.0f, 1, 1}, {0.0f}},
        {"loud input at gain 4 is clamped", {0.9f, -0.9f, 0.1f}, {0, 3, 4.0f, 0, 0}, {1.0f, -1.0f, 0.4f}},
        {"gain applies to the faded sample", {0.5f, 0.5f, 0.5f}, {0, 3, 2.0f, 3, 0}, {0.0f, 0.5f, 1.0f}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto rendered = ClipProcessor::process(c.input, c.edit);
        ASSERT_TRUE(rendered);
        ASSERT_EQ(rendered->size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_FLOAT_EQ((*rendered)[i], c.expected[i]) << "sample " << i;
    }
}

TEST(ClipProcessor, StaysWithinFullScaleForAnyFiniteInput)
{
    std::vector<float> loud;
    for (const float value : {1e30f, -1e30f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::denorm_min(), 1.5f, -3.0f})
        loud.push_back(value);
    const auto rendered = ClipProcessor::process(loud, {0, qint64(loud.size()), 4.0f, 0, 0});
    ASSERT_TRUE(rendered);
    for (const float sample : *rendered) {
        EXPECT_GE(sample, -1.0f);
        EXPECT_LE(sample, 1.0f);
    }
}

TEST(AudioClipEdit, JsonKeepsKeyOrderAndRoundTrips)
{
    const AudioClipEdit edit{12, 480000, 0.1f, 7, 9000000000};
    const auto json = edit.toJson();
    ASSERT_TRUE(json);
    EXPECT_EQ(*json, R"({"startFrame":12,"endFrame":480000,"gain":0.1,"fadeInFrames":7,"fadeOutFrames":9000000000})");
    const auto decoded = AudioClipEdit::fromJson(*json);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, edit);

    for (const float gain : {0.0f, 1.0f, 4.0f, 1.0f / 3.0f, std::nextafter(1.0f, 2.0f), -2.5f}) {
        const AudioClipEdit other{0, 1, gain, 0, 0};
        const auto back = AudioClipEdit::fromJson(*other.toJson());
        ASSERT_TRUE(back);
        EXPECT_EQ(std::bit_cast<quint32>(back->gain), std::bit_cast<quint32>(gain));
    }
    EXPECT_FALSE((AudioClipEdit{0, 1, notANumber, 0, 0}.toJson()));
}

TEST(AudioClipEdit, DecodingNeedsEveryKeyAndWholeFrames)
{
    struct Case {
        const char *json;
        bool accepted;
    };
    const Case cases[] = {
        {R"({"startFrame":1,"endFrame":0,"gain":-9,"fadeInFrames":-4,"fadeOutFrames":99,"extra":"x"})", true},
        {R"({"endFrame":0,"gain":1,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"gain":1,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"endFrame":0,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"endFrame":0,"gain":1,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"endFrame":0,"gain":1,"fadeInFrames":0})", false},
        {R"({"startFrame":1.5,"endFrame":0,"gain":1,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":"1","endFrame":0,"gain":1,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"endFrame":0,"gain":"1","fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"endFrame":0,"gain":1e300,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"({"startFrame":0,"endFrame":0,"gain":null,"fadeInFrames":0,"fadeOutFrames":0})", false},
        {R"([0,0,1,0,0])", false},
        {R"({"startFrame":0)", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.json);
        const auto decoded = AudioClipEdit::fromJson(c.json);
        EXPECT_EQ(bool(decoded), c.accepted);
        if (!decoded) {
            EXPECT_EQ(decoded.error().domain, CocoaError::domain);
        }
    }
}
