#pragma once

#include "engine/AdditiveFeedbackRandom.h"
#include "parameters/PluginParameters.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <cstdint>
#include <memory>

struct ToneSection;
struct MeltSection;
struct EchoSection;
struct MasterSection;
class PresetManager;

// The block as the four stages see it: channel pointers of the processed buffer and of the
// untouched dry copy. In mono the right pointers are the left ones.
struct StageBlock
{
    float* left = nullptr;
    float* right = nullptr;
    const float* dryLeft = nullptr;
    const float* dryRight = nullptr;
    int numSamples = 0;
    bool stereo = false;
};

class Rirorezo3AudioProcessor : public juce::AudioProcessor
{
public:
    Rirorezo3AudioProcessor();
    ~Rirorezo3AudioProcessor() override;

    const juce::String getName() const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;
    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;
    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    juce::AudioProcessorValueTreeState apvts;
    PluginParameters pluginParameters;

    float blockDropoutPhase = 0.0f;
    float blockJumpStart = 0.0f;
    // The sync choices read once as the block begins; the melt stage of the block uses them.
    std::int32_t blockFlowSync = 0;
    std::int32_t blockDropoutSync = 0;
    std::int32_t isPlaying = 0;
    double engineSampleRate = 0.0;
    double ppqPosition = 0.0;
    double bpm = 120.0;
    // The tempo of the latest block, for the tail length that other threads ask for.
    std::atomic<double> tailTempo{120.0};

    // The oscillators' drift and the master noise draw from it, on the audio thread only: within a
    // block all the melt's draws come before the master's.
    AdditiveFeedbackRandom instanceRandom{AdditiveFeedbackRandom::seedForNewInstance()};

    std::unique_ptr<ToneSection> toneSection;
    std::unique_ptr<MeltSection> meltSection;
    std::unique_ptr<EchoSection> echoSection;
    std::unique_ptr<MasterSection> masterSection;
    std::unique_ptr<PresetManager> presetManager;

    // The stages, each in its own source file beside its section's record.
    void prepareToneStage();
    void runToneStage (const StageBlock& block);
    void prepareMeltStage();
    void clearMeltDelay();
    void runMeltStage (const StageBlock& block);
    void resetJumpState();
    void prepareEchoStage();
    void clearEchoDelay();
    void runEchoStage (const StageBlock& block);
    void prepareMasterStage();
    void runMasterStage (const StageBlock& block);

    // What each stage adds to the tail, from the current settings: the melt's longest delay and
    // the echo's repeats until they fall below -100 dB (infinite while they never do).
    double meltTailSeconds() const;
    double echoTailSeconds() const;

    // Reads the preset "Default" at construction, when it can be read.
    void loadDefaultPreset();

private:
    static constexpr int minimumDryCapacity = 8192;

    // The dry copy, the channel pointers and the four stages over samples start .. start + count - 1.
    void runStagesOver (juce::AudioBuffer<float>& buffer, int start, int count);

    // The input before any stage ran, sized in prepareToPlay so blocks do not allocate.
    juce::AudioBuffer<float> dryBuffer;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Rirorezo3AudioProcessor)
};
