#pragma once

// Keeps a stereo mix within full scale: the gain drops at once to what the loudest frame
// needs and recovers smoothly, so loud chords of keys stay clean instead of clipping.
class PeakLimiter {
public:
    static constexpr float ceiling = 0.98f;
    static constexpr double defaultReleaseSeconds = 0.08;

    explicit PeakLimiter(double releaseSeconds = defaultReleaseSeconds) : m_releaseSeconds(releaseSeconds) {}

    void prepare(int sampleRate);
    void reset() { m_gain = 1.0f; }
    // The gain the next frame recovers from, to go back to a moment already processed.
    float gain() const { return m_gain; }
    void restoreGain(float gain) { m_gain = gain; }
    // In place; every sample written is finite and within ±ceiling.
    void process(float *interleaved, int frames) noexcept;

private:
    double m_releaseSeconds;
    float m_gain = 1.0f;
    float m_releaseCoefficient = 0.0f;
};
