#include "engine/PluginProcessor.h"

#include "engine/EchoSection.h"
#include "engine/MasterSection.h"
#include "engine/MeltSection.h"
#include "engine/ToneSection.h"
#include "presets/PresetManager.h"
#include "ui/editor/PluginEditor.h"

#include <limits>

// The audio thread stores the tempo for the tail once per block, which must not take a lock.
static_assert (std::atomic<double>::is_always_lock_free);

Rirorezo3AudioProcessor::Rirorezo3AudioProcessor()
    : juce::AudioProcessor (BusesProperties()
                                .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                                .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      apvts (*this, nullptr, "Rirorezo3", PluginParameters::createParameterLayout()), pluginParameters (apvts)
{
    toneSection = std::make_unique<ToneSection>();
    meltSection = std::make_unique<MeltSection>();
    echoSection = std::make_unique<EchoSection>();
    masterSection = std::make_unique<MasterSection>();
    presetManager = std::make_unique<PresetManager> (this);
    loadDefaultPreset();
}

Rirorezo3AudioProcessor::~Rirorezo3AudioProcessor()
{
    presetManager.reset();
    masterSection.reset();
    echoSection.reset();
    meltSection.reset();
    toneSection.reset();
}

const juce::String Rirorezo3AudioProcessor::getName() const
{
    return "Rirorezo3";
}

void Rirorezo3AudioProcessor::prepareToPlay (double, int maximumExpectedSamplesPerBlock)
{
    engineSampleRate = getSampleRate();

    const auto channels = juce::jmax (2, getTotalNumInputChannels(), getTotalNumOutputChannels());
    dryBuffer.setSize (channels, juce::jmax (minimumDryCapacity, maximumExpectedSamplesPerBlock), false, true, true);

    prepareToneStage();
    prepareMeltStage();
    prepareEchoStage();
    prepareMasterStage();

    isPlaying = 0;
    ppqPosition = 0.0;
    bpm = 120.0;
    tailTempo.store (bpm, std::memory_order_relaxed);
}

void Rirorezo3AudioProcessor::releaseResources()
{
    clearMeltDelay();
    clearEchoDelay();
}

double Rirorezo3AudioProcessor::getTailLengthSeconds() const
{
    // The VST3 client hands the tail to the host as a 32-bit count of samples; a longer one than
    // fits at any rate up to 768 kHz is as good as endless.
    constexpr double longestFiniteTail = 2700.0;
    const auto tail = echoTailSeconds() + meltTailSeconds();
    return tail <= longestFiniteTail ? tail : std::numeric_limits<double>::infinity();
}
bool Rirorezo3AudioProcessor::acceptsMidi() const
{
    return false;
}
bool Rirorezo3AudioProcessor::producesMidi() const
{
    return false;
}
bool Rirorezo3AudioProcessor::isMidiEffect() const
{
    return false;
}

juce::AudioProcessorEditor* Rirorezo3AudioProcessor::createEditor()
{
    return new Rirorezo3AudioProcessorEditor (*this);
}

bool Rirorezo3AudioProcessor::hasEditor() const
{
    return true;
}
int Rirorezo3AudioProcessor::getNumPrograms()
{
    return 1;
}
int Rirorezo3AudioProcessor::getCurrentProgram()
{
    return 0;
}
void Rirorezo3AudioProcessor::setCurrentProgram (int) {}
const juce::String Rirorezo3AudioProcessor::getProgramName (int)
{
    return {};
}
void Rirorezo3AudioProcessor::changeProgramName (int, const juce::String&) {}

bool Rirorezo3AudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.getMainOutputChannelSet();
    if (output != juce::AudioChannelSet::mono() && output != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == output;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Rirorezo3AudioProcessor();
}
