// The renderer's --state option, run as the command it is: it loads the built bundle and must
// apply a preset file, a plug-in state or a host's saved state, and refuse anything else.
#include "support/host/HostBattery.h"

#include <gtest/gtest.h>

using namespace hosttest;

namespace
{
struct RenderRun
{
    int exitCode = -1;
    juce::String output;
    juce::AudioBuffer<float> audio;
};

class Render : public testing::Test
{
protected:
    void SetUp() override { folder.createDirectory(); }
    void TearDown() override { folder.deleteRecursively(); }

    RenderRun render (const juce::StringArray& extraArguments)
    {
        const auto wav = folder.getNonexistentChildFile ("render", ".wav");
        juce::StringArray arguments{RIROREZO3_RENDER_PATH, "--seconds", "0.5", "-o", wav.getFullPathName()};
        arguments.addArray (extraArguments);

        RenderRun run;
        juce::ChildProcess process;
        if (!process.start (arguments, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
            return run;
        run.output = process.readAllProcessOutput();
        if (!process.waitForProcessToFinish (120000))
            return run;
        run.exitCode = (int)process.getExitCode();

        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        if (std::unique_ptr<juce::AudioFormatReader> reader{formats.createReaderFor (wav)})
        {
            run.audio.setSize ((int)reader->numChannels, (int)reader->lengthInSamples);
            reader->read (&run.audio, 0, run.audio.getNumSamples(), 0, true, true);
        }
        return run;
    }

    juce::String place (const char* name, const juce::MemoryBlock& bytes) const
    {
        const auto file = folder.getChildFile (name);
        // Writing no bytes would delete the file instead of leaving it empty.
        if (bytes.isEmpty())
            file.create();
        else
            file.replaceWithData (bytes.getData(), bytes.getSize());
        return file.getFullPathName();
    }

    static bool sameAudio (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
    {
        if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
            return false;
        for (int channel = 0; channel < a.getNumChannels(); ++channel)
            for (int i = 0; i < a.getNumSamples(); ++i)
                if (a.getSample (channel, i) != b.getSample (channel, i))
                    return false;
        return true;
    }

    const juce::File folder{juce::File::getSpecialLocation (juce::File::tempDirectory)
                                .getNonexistentChildFile ("rirorezo3-render-test", "", false)};
};
} // namespace

// A fully dry mix (the input comes out as it went in) is easy to tell from the defaults.
TEST_F (Render, AppliesAPresetFileAPluginStateOrAHostState)
{
    HostedSession session (48000.0, 512, 2);
    ASSERT_TRUE (session.loaded()) << session.error;
    ASSERT_TRUE (hostkit::setPlainValue (*session.plugin, "dryWetMix", 0.0f));
    juce::MemoryBlock hostState;
    session.plugin->getStateInformation (hostState);
    const auto component = hostkit::componentState (hostState);
    const auto blob = hostkit::stateBlobIn (component);
    ASSERT_TRUE (hostkit::isStateBlob (blob));

    const auto defaults = render ({});
    const auto dry = render ({"--set", "dryWetMix=0"});
    ASSERT_EQ (defaults.exitCode, 0) << defaults.output;
    ASSERT_EQ (dry.exitCode, 0) << dry.output;
    ASSERT_GT (dry.audio.getNumSamples(), 0);
    ASSERT_FALSE (sameAudio (defaults.audio, dry.audio));

    const std::pair<const char*, juce::MemoryBlock> files[] = {
        {"Dry.dod", blob},
        {"component.state", component},
        {"host.state", hostState},
    };
    for (const auto& [name, bytes] : files)
    {
        SCOPED_TRACE (name);
        const auto run = render ({"--state", place (name, bytes)});
        EXPECT_EQ (run.exitCode, 0) << run.output;
        EXPECT_TRUE (sameAudio (run.audio, dry.audio));
    }
}

TEST_F (Render, RefusesAFileThatHoldsNoStateOfThisPlugIn)
{
    juce::MemoryOutputStream wrongMagic;
    wrongMagic.writeInt (0x12345678);
    wrongMagic.writeInt (20);
    wrongMagic << "<a><b x=\"1\"/></a>";
    wrongMagic.writeByte (0);

    const std::pair<const char*, juce::MemoryBlock> files[] = {
        {"empty.dod", {}},
        {"text.dod", juce::MemoryBlock ("not a preset at all", 19)},
        {"other.state", wrongMagic.getMemoryBlock()},
        {"other-host.state", hostkit::hostStateWithComponent (wrongMagic.getMemoryBlock())},
    };
    for (const auto& [name, bytes] : files)
    {
        SCOPED_TRACE (name);
        const auto run = render ({"--state", place (name, bytes)});
        EXPECT_NE (run.exitCode, 0);
        EXPECT_TRUE (run.output.contains ("is not a preset file")) << run.output;
    }
    const auto missing = render ({"--state", folder.getChildFile ("missing.dod").getFullPathName()});
    EXPECT_NE (missing.exitCode, 0);
    EXPECT_TRUE (missing.output.contains ("no such state file")) << missing.output;
}

// An input of more channels than the plug-in takes is rendered from its first two, and says so.
TEST_F (Render, RendersTheFirstTwoChannelsOfAWiderInputAndSaysSo)
{
    const auto writeInput = [this] (const char* name, int channels)
    {
        juce::AudioBuffer<float> audio (channels, 4800);
        for (int channel = 0; channel < channels; ++channel)
            for (int i = 0; i < audio.getNumSamples(); ++i)
                audio.setSample (channel, i, 0.2f * std::sin (0.01f * (float)((channel + 1) * i)));
        const auto file = folder.getChildFile (name);
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (
            wav.createWriterFor (file.createOutputStream().release(), 48000.0, (unsigned)channels, 24, {}, 0));
        writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
        return file.getFullPathName();
    };

    const auto stereo = render ({writeInput ("stereo.wav", 2), "--set", "dryWetMix=0"});
    const auto wider = render ({writeInput ("three.wav", 3), "--set", "dryWetMix=0"});
    ASSERT_EQ (stereo.exitCode, 0) << stereo.output;
    ASSERT_EQ (wider.exitCode, 0) << wider.output;
    EXPECT_FALSE (stereo.output.contains ("channels"));
    EXPECT_TRUE (wider.output.contains ("the input has 3 channels: rendering channels 1 and 2")) << wider.output;
    EXPECT_EQ (wider.audio.getNumChannels(), 2);
    EXPECT_TRUE (sameAudio (wider.audio, stereo.audio));
}

// The drift and the noise draw from the instance's own generator, which nothing in the host
// process seeds: the same settings render the same file every time.
TEST_F (Render, RendersTheDemoSettingsIdenticallyEveryTime)
{
    const juce::StringArray demo{"--set", "meltFlowLevel=70", "--set", "echoFeedback=55", "--set", "noiseLevel=10"};
    const auto first = render (demo);
    const auto second = render (demo);
    ASSERT_EQ (first.exitCode, 0) << first.output;
    ASSERT_EQ (second.exitCode, 0) << second.output;
    ASSERT_GT (first.audio.getNumSamples(), 0);
    EXPECT_TRUE (sameAudio (first.audio, second.audio));
}
