#include "Services/Studio/AudioClipDraft.h"
#include "Services/Studio/WaveformEnvelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
ClipSamples shared(std::vector<float> samples)
{
    return std::make_shared<const std::vector<float>>(std::move(samples));
}

AudioClipDraft draftOf(std::vector<float> samples)
{
    auto draft = AudioClipDraft::wholeClip(shared(std::move(samples)));
    EXPECT_TRUE(draft);
    return *draft;
}

void expectUnchanged(const AudioClipDraft &before, const AudioClipDraft &after)
{
    EXPECT_EQ(after.edit(), before.edit());
    EXPECT_EQ(after.past(), before.past());
    EXPECT_EQ(after.future(), before.future());
}
}

TEST(AudioClipDraft, StartsAsTheWholeClipAndSharesTheSamples)
{
    const ClipSamples samples = shared({0.1f, 0.2f, 0.3f});
    const auto draft = AudioClipDraft::wholeClip(samples);
    ASSERT_TRUE(draft);
    EXPECT_EQ(draft->edit(), (AudioClipEdit{0, 3, 1.0f, 0, 0}));
    EXPECT_TRUE(draft->past().empty());
    EXPECT_TRUE(draft->future().empty());
    EXPECT_EQ(draft->original().get(), samples.get());

    for (const auto &broken : {std::vector<float>{}, std::vector<float>{0.0f, std::numeric_limits<float>::infinity()}}) {
        const auto refused = AudioClipDraft::wholeClip(shared(broken));
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.error().code, CocoaError::validationMissingMandatoryProperty);
    }
}

TEST(AudioClipDraft, HistoryKeepsTheFiftyLatestEdits)
{
    AudioClipDraft draft = draftOf(std::vector<float>(100, 0.5f));
    for (int i = 1; i <= 51; ++i)
        ASSERT_TRUE(draft.apply({i, 100, 1.0f, 0, 0}));
    ASSERT_EQ(draft.past().size(), AudioClipDraft::historyLimit);
    EXPECT_EQ(draft.past().front().startFrame, 1) << "the whole-clip edit is the one dropped";
    EXPECT_EQ(draft.past().back().startFrame, 50);

    int undone = 0;
    while (draft.undo())
        ++undone;
    EXPECT_EQ(undone, 50);
    EXPECT_EQ(draft.edit().startFrame, 1);
    EXPECT_EQ(draft.future().size(), 50u);
    EXPECT_EQ(draft.future().back().startFrame, 2) << "the next redo comes last";
    while (draft.redo())
        ;
    EXPECT_EQ(draft.edit().startFrame, 51);
    EXPECT_EQ(draft.past().size(), 50u);
}

TEST(AudioClipDraft, ApplyingTheCurrentEditKeepsRedoAndADifferentOneClearsIt)
{
    AudioClipDraft draft = draftOf(std::vector<float>(10, 0.5f));
    const AudioClipEdit whole = draft.edit();
    const AudioClipEdit cropped{2, 8, 1.0f, 0, 0};
    ASSERT_TRUE(draft.apply(cropped));
    ASSERT_TRUE(draft.undo());

    ASSERT_TRUE(draft.apply(whole));
    EXPECT_EQ(draft.future(), std::vector<AudioClipEdit>{cropped});
    EXPECT_TRUE(draft.past().empty());

    ASSERT_TRUE(draft.apply({3, 8, 1.0f, 0, 0}));
    EXPECT_TRUE(draft.future().empty());
    EXPECT_EQ(draft.past(), std::vector<AudioClipEdit>{whole});

    AudioClipDraft fresh = draftOf({0.1f});
    EXPECT_FALSE(fresh.undo());
    EXPECT_FALSE(fresh.redo());
}

TEST(AudioClipDraft, RefusedOperationsLeaveTheDraftAsItWas)
{
    AudioClipDraft draft = draftOf(std::vector<float>(10, 0.5f));
    ASSERT_TRUE(draft.apply({1, 9, 1.0f, 0, 0}));
    ASSERT_TRUE(draft.apply({2, 9, 1.0f, 0, 0}));
    ASSERT_TRUE(draft.undo());
    const AudioClipDraft before = draft;

    EXPECT_FALSE(draft.apply({5, 5, 1.0f, 0, 0}));
    EXPECT_FALSE(draft.normalize({0, 10, 1.0f, 11, 0}));
    EXPECT_FALSE(draft.trimSilence({0, 10, 1.0f, 0, 0}, std::nextafter(1.0f, 2.0f), 0));
    EXPECT_FALSE(draft.trimSilence({0, 10, 1.0f, 0, 0}, -std::numeric_limits<float>::denorm_min(), 0));
    EXPECT_FALSE(draft.trimSilence({0, 10, 1.0f, 0, 0}, std::numeric_limits<float>::quiet_NaN(), 0));
    EXPECT_FALSE(draft.trimSilence({0, 10, 1.0f, 0, 0}, 0.1f, -1));
    EXPECT_FALSE(draft.trimSilence({0, 11, 1.0f, 0, 0}, 0.1f, 0));
    EXPECT_FALSE(draft.trimSilence({0, 10, 4.5f, 0, 0}, 0.1f, 0));
    expectUnchanged(before, draft);
}

TEST(AudioClipDraft, NormalizeBringsTheFadedPeakToEightTenths)
{
    struct Case {
        const char *name;
        std::vector<float> samples;
        AudioClipEdit base;
        float expectedGain;
    };
    const Case cases[] = {
        {"peak 0.4", {0.1f, -0.4f, 0.2f}, {0, 3, 1.0f, 0, 0}, 2.0f},
        {"peak 0.1 is capped at 4", {0.1f, -0.05f}, {0, 2, 1.0f, 0, 0}, 4.0f},
        {"base gain plays no part", {0.1f, -0.4f, 0.2f}, {0, 3, 3.0f, 0, 0}, 2.0f},
        {"silence keeps the base gain", {0.0f, 0.0000005f}, {0, 2, 3.0f, 0, 0}, 3.0f},
        {"a faded-out peak does not count", {0.2f, 0.2f, 0.8f}, {0, 3, 1.0f, 0, 1}, 4.0f},
        {"samples outside the selection do not count", {0.9f, 0.4f, 0.9f}, {1, 2, 1.0f, 0, 0}, 2.0f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AudioClipDraft draft = draftOf(c.samples);
        ASSERT_TRUE(draft.normalize(c.base));
        AudioClipEdit expected = c.base;
        expected.gain = c.expectedGain;
        EXPECT_EQ(draft.edit(), expected);
    }

    AudioClipDraft draft = draftOf({0.1f, -0.4f});
    ASSERT_TRUE(draft.apply({0, 2, 2.0f, 0, 0}));
    ASSERT_TRUE(draft.normalize({0, 2, 1.0f, 0, 0}));
    EXPECT_EQ(draft.past().size(), 1u) << "a result equal to the current edit records nothing";
}

TEST(AudioClipDraft, TrimSilenceNarrowsToTheLoudPart)
{
    const std::vector<float> clip = {0.0f, 0.01f, -0.2f, 0.0f, 0.3f, 0.01f, 0.0f, 0.0f, 0.0f, 0.0f};
    struct Case {
        const char *name;
        AudioClipEdit base;
        float threshold;
        qint64 padding;
        bool trimmed;
        AudioClipEdit expected;
    };
    const Case cases[] = {
        {"no padding", {0, 10, 1.0f, 0, 0}, 0.01f, 0, true, {2, 5, 1.0f, 0, 0}},
        {"padding on both sides", {0, 10, 1.0f, 0, 0}, 0.01f, 2, true, {0, 7, 1.0f, 0, 0}},
        {"padding larger than an edge keeps it", {1, 10, 1.0f, 0, 0}, 0.01f, 3, true, {1, 8, 1.0f, 0, 0}},
        {"fades are cut to the new length", {0, 10, 2.0f, 8, 5}, 0.01f, 0, true, {2, 5, 2.0f, 3, 3}},
        {"threshold equal to a sample counts as quiet", {0, 10, 1.0f, 0, 0}, 0.2f, 0, true, {4, 5, 1.0f, 0, 0}},
        {"everything quiet", {0, 10, 1.0f, 0, 0}, 0.3f, 0, false, {0, 10, 1.0f, 0, 0}},
        {"threshold 1 is accepted", {0, 10, 1.0f, 0, 0}, 1.0f, 0, false, {0, 10, 1.0f, 0, 0}},
        {"threshold -0 is accepted", {0, 10, 1.0f, 0, 0}, -0.0f, 0, true, {1, 6, 1.0f, 0, 0}},
        {"already tight", {2, 5, 1.0f, 0, 0}, 0.01f, 0, false, {0, 10, 1.0f, 0, 0}},
        {"gain plays no part", {0, 10, 0.0f, 0, 0}, 0.01f, 0, true, {2, 5, 0.0f, 0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        AudioClipDraft draft = draftOf(clip);
        const auto trimmed = draft.trimSilence(c.base, c.threshold, c.padding);
        ASSERT_TRUE(trimmed);
        EXPECT_EQ(*trimmed, c.trimmed);
        EXPECT_EQ(draft.edit(), c.expected);
        EXPECT_EQ(draft.past().size(), c.trimmed ? 1u : 0u);
    }
}

TEST(WaveformEnvelope, BinsTileTheSamples)
{
    const std::vector<float> ten = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const auto four = WaveformEnvelope::make(ten, 4);
    ASSERT_TRUE(four);
    EXPECT_EQ(*four, (std::vector<WaveformBin>{{0, 1}, {2, 4}, {5, 6}, {7, 9}}));

    const auto three = WaveformEnvelope::make(std::vector<float>{0.5f, -0.25f, 1.0f}, 512);
    ASSERT_TRUE(three);
    EXPECT_EQ(*three, (std::vector<WaveformBin>{{0.5f, 0.5f}, {-0.25f, -0.25f}, {1.0f, 1.0f}}));

    const auto none = WaveformEnvelope::make({}, 512);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());

    // Large enough that bin index × sample count overflows 32 bits.
    std::vector<float> long_(5'760'001);
    for (std::size_t i = 0; i < long_.size(); ++i)
        long_[i] = float(i % 1000) / 1000.0f;
    long_[4'000'000] = -0.75f;
    const auto bins = WaveformEnvelope::make(long_, 2048);
    ASSERT_TRUE(bins);
    ASSERT_EQ(bins->size(), 2048u);
    float lowest = 0;
    for (const WaveformBin &bin : *bins)
        lowest = std::min(lowest, bin.minimum);
    EXPECT_EQ(lowest, -0.75f);
    EXPECT_EQ((*bins)[1422].minimum, -0.75f) << "sample 4,000,000 lies in bin 4000000 × 2048 ÷ 5760001";
}

TEST(WaveformEnvelope, RefusesBadBinCountsAndDamagedSamples)
{
    const std::vector<float> samples(100, 0.25f);
    for (const int bins : {0, -1, 2049})
        EXPECT_FALSE(WaveformEnvelope::make(samples, bins)) << bins;
    for (const int bins : {1, 2048})
        EXPECT_TRUE(WaveformEnvelope::make(samples, bins)) << bins;
    std::vector<float> damaged = samples;
    damaged[99] = -std::numeric_limits<float>::infinity();
    const auto refused = WaveformEnvelope::make(damaged, 7);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, CocoaError::validationMissingMandatoryProperty);
}
