// Renders audio through the built VST3 bundle, loaded by JUCE's VST3 hosting.
#include "BlockLoop.h"
#include "CommandLine.h"
#include "HostKit.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <map>

namespace
{
struct Options
{
    juce::File input, output{juce::File::getCurrentWorkingDirectory().getChildFile ("rirorezo3-render.wav")};
    juce::File bundle{hostkit::builtBundle()};
    juce::File state;
    double sampleRate = 48000.0;
    int blockSize = 512;
    double tempo = 120.0;
    double startPosition = 0.0;
    bool playing = true;
    double demoSeconds = 8.0;
    std::vector<std::pair<juce::String, juce::String>> parameters;
};

const char* const usage =
    "usage: render [options] [input.wav] [-o output.wav]\n"
    "  input.wav        mono or stereo (of more channels, the first two are rendered)\n"
    "  -o FILE          output WAV file (default rirorezo3-render.wav)\n"
    "  --bundle PATH    the .vst3 bundle to load (default: the one this build made)\n"
    "  --rate HZ        sample rate (default 48000; an input file sets its own)\n"
    "  --block N        block size in samples (default 512)\n"
    "  --tempo BPM      host tempo (default 120)\n"
    "  --position PPQ   host position at the start, in quarter notes (default 0)\n"
    "  --stopped        the host transport is stopped\n"
    "  --seconds S      length of the built-in demo signal (default 8)\n"
    "  --state FILE     a preset file (.dod), a plug-in state or a host's saved state to load first\n"
    "  --set ID=VALUE   set a parameter by identifier to a plain value or its text (repeatable)\n";

[[noreturn]] void fail (const juce::String& message)
{
    CommandLine::fail ("render", message);
}

double parseNumber (const juce::String& text, const juce::String& what, double low, double high)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty() || !trimmed.containsOnly ("0123456789.-+eE"))
        fail ("bad value for " + what + ": \"" + text + "\"");
    const auto value = trimmed.getDoubleValue();
    if (!std::isfinite (value) || value < low || value > high)
        fail ("value out of range for " + what + ": " + text);
    return value;
}

Options parseArguments (CommandLine& arguments)
{
    Options options;
    while (arguments.next())
    {
        const auto& arg = arguments.current();
        if (arg == "-o")
            options.output = arguments.fileValue();
        else if (arg == "--bundle")
            options.bundle = arguments.fileValue();
        else if (arg == "--rate")
            options.sampleRate = parseNumber (arguments.value(), "--rate", 8000.0, 768000.0);
        else if (arg == "--block")
            options.blockSize = (int)parseNumber (arguments.value(), "--block", 1.0, 65536.0);
        else if (arg == "--tempo")
            options.tempo = parseNumber (arguments.value(), "--tempo", 1.0, 999.0);
        else if (arg == "--position")
            options.startPosition = parseNumber (arguments.value(), "--position", -1.0e6, 1.0e6);
        else if (arg == "--stopped")
            options.playing = false;
        else if (arg == "--seconds")
            options.demoSeconds = parseNumber (arguments.value(), "--seconds", 0.01, 3600.0);
        else if (arg == "--state")
            options.state = arguments.fileValue();
        else if (arg == "--set")
        {
            const auto assignment = arguments.value();
            if (!assignment.contains ("="))
                fail ("--set needs ID=VALUE, got \"" + assignment + "\"");
            options.parameters.emplace_back (assignment.upToFirstOccurrenceOf ("=", false, false).trim(),
                                             assignment.fromFirstOccurrenceOf ("=", false, false).trim());
        }
        else if (arg.startsWith ("-"))
            arguments.failUnknown();
        else
            options.input = CommandLine::file (arg);
    }
    return options;
}

// A few seconds of plucked chords and a click track, enough to hear the melt and the echo.
juce::AudioBuffer<float> demoSignal (double sampleRate, double seconds)
{
    const auto length = (int)(seconds * sampleRate);
    juce::AudioBuffer<float> buffer (2, length);
    buffer.clear();
    const double notes[] = {220.0, 277.18, 329.63, 440.0};
    const auto noteLength = (int)(0.5 * sampleRate);
    for (int start = 0, n = 0; start < length; start += noteLength, ++n)
    {
        const auto frequency = notes[n % 4];
        for (int i = 0; i < noteLength && start + i < length; ++i)
        {
            const auto t = i / sampleRate;
            const auto envelope = std::exp (-6.0 * t);
            const auto value = (float)(0.4 * envelope *
                                       (std::sin (juce::MathConstants<double>::twoPi * frequency * t) +
                                        0.3 * std::sin (juce::MathConstants<double>::twoPi * 2.0 * frequency * t)));
            buffer.addSample (0, start + i, value);
            buffer.addSample (1, start + i, value * 0.9f);
        }
    }
    return buffer;
}

void applyParameter (juce::AudioPluginInstance& plugin, const juce::String& identifier, const juce::String& text)
{
    auto* parameter = hostkit::findParameter (plugin, identifier);
    if (parameter == nullptr)
        fail ("unknown parameter \"" + identifier + "\"");

    const auto trimmed = text.trim();
    const bool isNumber = trimmed.isNotEmpty() && trimmed.containsOnly ("0123456789.-+eE");
    const bool isSwitch = trimmed.equalsIgnoreCase ("on") || trimmed.equalsIgnoreCase ("off");
    if (!isNumber && !isSwitch)
        fail ("bad value \"" + text + "\" for " + identifier);

    const auto normalised =
        isSwitch ? (trimmed.equalsIgnoreCase ("on") ? 1.0f : 0.0f) : parameter->getValueForText (trimmed);
    if (!std::isfinite (normalised))
        fail ("bad value \"" + text + "\" for " + identifier);

    parameter->setValueNotifyingHost (juce::jlimit (0.0f, 1.0f, normalised));
}

void showProgress (juce::int64 done, juce::int64 total)
{
    const int width = 40;
    const auto filled = (int)(width * done / juce::jmax<juce::int64> (1, total));
    std::fprintf (stderr, "\r[%s%s] %3d%%", std::string ((size_t)filled, '#').c_str(),
                  std::string ((size_t)(width - filled), ' ').c_str(),
                  (int)(100 * done / juce::jmax<juce::int64> (1, total)));
    std::fflush (stderr);
}
} // namespace

int main (int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juce;
    CommandLine arguments ("render", usage, argc, argv);
    auto options = parseArguments (arguments);

    juce::AudioBuffer<float> audio;
    if (options.input != juce::File())
    {
        if (!options.input.existsAsFile())
            fail ("no such input file: " + options.input.getFullPathName());
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (options.input));
        if (reader == nullptr || reader->lengthInSamples <= 0 || reader->lengthInSamples > (1 << 30))
            fail ("cannot read audio from " + options.input.getFullPathName());
        options.sampleRate = reader->sampleRate;
        if (reader->numChannels > 2)
            arguments.note ("the input has " + juce::String (reader->numChannels) +
                            " channels: rendering channels 1 and 2, leaving out the rest");
        audio.setSize ((int)juce::jlimit (1u, 2u, reader->numChannels), (int)reader->lengthInSamples);
        reader->read (&audio, 0, audio.getNumSamples(), 0, true, audio.getNumChannels() > 1);
    }
    else
    {
        audio = demoSignal (options.sampleRate, options.demoSeconds);
    }

    juce::String error;
    auto plugin =
        hostkit::loadPlugin (options.bundle, options.sampleRate, options.blockSize, audio.getNumChannels(), error);
    if (plugin == nullptr)
        fail ("cannot load the plug-in: " + error);

    if (options.state != juce::File())
    {
        const auto hostState = hostkit::readHostStateFile (options.state, error);
        if (hostState.isEmpty())
            fail (error);
        plugin->setStateInformation (hostState.getData(), (int)hostState.getSize());
    }

    for (const auto& [identifier, value] : options.parameters)
        applyParameter (*plugin, identifier, value);

    ScriptedPlayHead playHead;
    playHead.tempo = options.tempo;
    playHead.ppq = options.startPosition;
    playHead.playing = options.playing;
    plugin->setPlayHead (&playHead);

    juce::MidiBuffer midi;
    const auto total = (juce::int64)audio.getNumSamples();
    const bool longRender = total > (juce::int64) (20 * options.sampleRate);
    processInBlocks (audio, options.blockSize,
                     [&] (juce::AudioBuffer<float>& block, int start)
                     {
                         plugin->processBlock (block, midi);
                         playHead.advance (block.getNumSamples(), options.sampleRate);
                         if (longRender && (start / options.blockSize) % 200 == 0)
                             showProgress (start, total);
                     });
    if (longRender)
    {
        showProgress (total, total);
        std::fprintf (stderr, "\n");
    }
    plugin->releaseResources();

    options.output.deleteFile();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::OutputStream> stream (options.output.createOutputStream());
    if (stream == nullptr)
        fail ("cannot write " + options.output.getFullPathName());
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (stream.get(), options.sampleRate, (unsigned)audio.getNumChannels(), 24, {}, 0));
    if (writer == nullptr)
        fail ("cannot write " + options.output.getFullPathName());
    stream.release();
    writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
    writer.reset();

    std::cout << "wrote " << options.output.getFullPathName() << "\n";
    return 0;
}
