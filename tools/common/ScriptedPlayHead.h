#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <optional>

// A play head whose fields the caller sets between blocks, as a host's transport would report
// them; fields left empty are not reported. Shared by the hosting kit, the in-process test
// harness and the benchmark.
class ScriptedPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        if (tempo)
            info.setBpm (*tempo);
        if (ppq && reportsPosition)
            info.setPpqPosition (*ppq);
        info.setIsPlaying (playing);
        return info;
    }

    // Moves the position on by a block while playing (at 120 when no tempo is reported).
    void advance (int numSamples, double sampleRate)
    {
        if (playing && ppq)
            *ppq += numSamples * (tempo.value_or (120.0) / 60.0) / sampleRate;
    }

    std::optional<double> tempo;
    std::optional<double> ppq;
    bool playing = false;
    bool reportsPosition = true;
};
