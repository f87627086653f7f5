#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>

// The mirror's values cross threads without locks: relaxed atomics of the stored width.
static_assert (std::atomic<float>::is_always_lock_free);
static_assert (std::atomic<std::int32_t>::is_always_lock_free);
static_assert (std::atomic<bool>::is_always_lock_free);

// Reads one mirror value; the audio thread loads each value it needs once per block.
template <typename T> inline T loadValue (const std::atomic<T>& value) noexcept
{
    return value.load (std::memory_order_relaxed);
}

// Each adaptor serves exactly one parameter: it converts the parameter tree's plain value
// to engine units and stores it into one mirror field.
class FloatListener : public juce::AudioProcessorValueTreeState::Listener
{
public:
    FloatListener (std::atomic<float>* targetValue, float scaleFactor) noexcept
        : target (targetValue), scale (scaleFactor)
    {
    }

    static float convert (float newValue, float scale) noexcept { return newValue * scale; }

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    std::atomic<float>* const target;
    const float scale;
};

class FloatDecibelListener : public juce::AudioProcessorValueTreeState::Listener
{
public:
    FloatDecibelListener (std::atomic<float>* targetValue, float floorDecibels) noexcept
        : target (targetValue), floorDb (floorDecibels)
    {
    }

    static float convert (float newValue, float floorDb) noexcept;

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    std::atomic<float>* const target;
    const float floorDb;
};

class IntegerListener : public juce::AudioProcessorValueTreeState::Listener
{
public:
    IntegerListener (std::atomic<std::int32_t>* targetValue, std::int32_t offsetValue,
                     std::int32_t multiplierValue) noexcept
        : target (targetValue), offset (offsetValue), multiplier (multiplierValue)
    {
    }

    static std::int32_t convert (float newValue, std::int32_t offset, std::int32_t multiplier) noexcept;

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    std::atomic<std::int32_t>* const target;
    const std::int32_t offset;
    const std::int32_t multiplier;
};

class BoolListener : public juce::AudioProcessorValueTreeState::Listener
{
public:
    explicit BoolListener (std::atomic<bool>* targetValue) noexcept : target (targetValue) {}

    static bool convert (float newValue) noexcept { return newValue >= 0.5f; }

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    std::atomic<bool>* const target;
};
