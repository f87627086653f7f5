#include "HostKit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
enum class Kind
{
    continuous,
    integer,
    toggle
};

struct Row
{
    const char* identifier;
    const char* hostName;
    const char* unit;
    Kind kind;
    int values; // the count of whole values of an integer parameter
    float defaultNormalised;
};

// The host's list, in creation order, as a host sees it through the bundle.
const Row catalogue[] = {
    {"toneDrive", "Tone Drive", "dB", Kind::continuous, 0, 0.0f},
    {"toneLowCut", "Low Cut", "", Kind::toggle, 0, 0.0f},
    {"toneLowFreq", "Tone Low Frequency", "Hz", Kind::continuous, 0, 0.5f},
    {"toneLowQ", "Tone Low Q", "", Kind::continuous, 0, 0.0f},
    {"toneLowGain", "Tone Low Gain", "dB", Kind::continuous, 0, 0.5f},
    {"toneMidFreq", "Tone Mid Frequency", "hz", Kind::continuous, 0, 0.5f},
    {"toneMidQ", "Tone Mid Q", "", Kind::continuous, 0, 0.0f},
    {"toneMidGain", "Tone Mid Gain", "dB", Kind::continuous, 0, 0.5f},
    {"toneHiFreq", "Tone High Frequency", "Hz", Kind::continuous, 0, 0.5f},
    {"toneHiQ", "Tone Hi Q", "", Kind::continuous, 0, 0.0f},
    {"toneHiGain", "Tone High Gain", "dB", Kind::continuous, 0, 0.5f},
    {"toneShape", "Tone Shape", "%", Kind::continuous, 0, 0.0f},
    {"toneSaturation", "Tone Saturation", "%", Kind::continuous, 0, 0.0f},
    {"toneDamper", "Tone Damper", "Hz", Kind::continuous, 0, 1.0f},
    {"toneRnd", "Tone Randomizer", "", Kind::toggle, 0, 0.0f},
    {"tonePower", "Tone On/Off", "", Kind::toggle, 0, 1.0f},
    {"meltFlowType", "Melt Flow Type", "", Kind::integer, 4, 0.0f},
    {"meltFlowSync", "Melt Flow Sync", "", Kind::integer, 2, 0.0f},
    {"meltWowRate", "Melt Wow Rate", "", Kind::integer, 13, 5.0f / 12.0f},
    {"meltWowFreq", "Melt Wow Freq", "Hz", Kind::continuous, 0, 0.95f / 3.75f},
    {"meltFlowMix", "Melt Flow Mix", "%", Kind::continuous, 0, 0.3f},
    {"meltFlutterRate", "Melt Flutter Rate", "", Kind::integer, 13, 0.25f},
    {"meltFlutterFreq", "Melt Flutter Freq", "Hz", Kind::continuous, 0, 0.3f},
    {"meltFlowRnd", "Melt Flow Random", "%", Kind::continuous, 0, 0.5f},
    {"meltFlowLevel", "Melt Flow Level (Pitch)", "%", Kind::continuous, 0, 0.5f},
    {"meltFlowPanelSwitch", "FLOW", "", Kind::toggle, 0, 1.0f},
    {"meltFlowPower", "Melt On/Off", "", Kind::toggle, 0, 1.0f},
    {"meltDropoutType", "Melt Dropout Type", "", Kind::integer, 4, 2.0f / 3.0f},
    {"meltDropoutSync", "Melt Dropout Sync", "", Kind::integer, 2, 0.0f},
    {"meltDropoutRate", "Melt Dropout Rate", "", Kind::integer, 13, 0.25f},
    {"meltDropoutFreq", "Melt Dropout Freq", "Hz", Kind::continuous, 0, 7.5f / 14.5f},
    {"meltDropoutPhase", "Melt Dropout Phase", "%", Kind::continuous, 0, 0.0f},
    {"meltDropoutRnd", "Melt Dropout Random", "%", Kind::continuous, 0, 0.5f},
    {"meltDropoutLevel", "Melt Dropout Level (Pitch)", "%", Kind::continuous, 0, 0.25f},
    {"meltDropoutPanelSwitch", "DROPOUT", "", Kind::toggle, 0, 0.0f},
    {"meltDropoutPower", "Melt Dropout On/Off", "", Kind::toggle, 0, 1.0f},
    {"meltJumpRate", "Melt Jump Rate", "", Kind::integer, 13, 0.5f},
    {"meltJumpSnag", "Melt Jump Snag", "%", Kind::continuous, 0, 0.4f},
    {"meltJumpRelease", "Melt Jump Release", "%", Kind::continuous, 0, 0.4f},
    {"meltJumpCurve", "Melt Jump Curve", "%", Kind::continuous, 0, 0.5f},
    {"meltJumpStart", "Melt Jump Start", "%", Kind::continuous, 0, 0.0f},
    {"meltJumpRnd", "Melt Jump Random", "Ms", Kind::continuous, 0, 0.0f},
    {"meltJumpLevel", "Melt Jump Level", "%", Kind::continuous, 0, 0.0f},
    {"meltJumpPanelSwitch", "JUMP", "", Kind::toggle, 0, 0.0f},
    {"meltJumpPower", "Melt Jump On/Off", "", Kind::toggle, 0, 1.0f},
    {"meltChorus", "Melt Flow Chorus", "%", Kind::continuous, 0, 0.0f},
    {"meltEchoSend", "Melt Echo Send", "%", Kind::continuous, 0, 0.0f},
    {"meltDepth", "Melt Depth", "%", Kind::continuous, 0, 1.0f},
    {"meltFlowPanelRnd", "Melt Flow Panel Randomizer", "", Kind::toggle, 0, 0.0f},
    {"meltDropoutPanelRnd", "Melt Dropout Panel Randomizer", "", Kind::toggle, 0, 0.0f},
    {"meltJumpPanelRnd", "Melt Jump Panel Randomizer", "", Kind::toggle, 0, 0.0f},
    {"meltPower", "Melt On/Off", "", Kind::toggle, 0, 1.0f},
    {"echoSync", "Echo Sync Mode", "", Kind::integer, 2, 1.0f},
    {"echoRateLeft", "Echo Rate Left", "", Kind::integer, 13, 7.0f / 12.0f},
    {"echoRateRight", "Echo Rate Right", "", Kind::integer, 13, 7.0f / 12.0f},
    {"echoMin", "Echo Min Time", "", Kind::integer, 5, 0.75f},
    {"echoMax", "Echo Max Time", "", Kind::integer, 4, 1.0f / 3.0f},
    {"echoTime", "Echo Time (Manual)", "ms", Kind::continuous, 0, 499.5f / 999.5f},
    {"echoOffset", "Echo Rate Offset", "", Kind::continuous, 0, 0.0f},
    {"echoOffsetMs", "Echo Rate Offset (MS)", "ms", Kind::continuous, 0, 0.0f},
    {"echoLength", "Echo Length", "", Kind::continuous, 0, 1.0f},
    {"echoInput", "Echo Input Level", "dB", Kind::continuous, 0, 1.0f},
    {"echoFeedback", "Echo Feedback", "%", Kind::continuous, 0, 40.0f / 120.0f},
    {"echoHpFreq", "Echo HighPass Frequency", "Hz", Kind::continuous, 0, 0.0f},
    {"echoLpFreq", "Echo LowPass Frequency", "Hz", Kind::continuous, 0, 1.0f},
    {"echoMix", "Echo Dry/Wet Mix", "%", Kind::continuous, 0, 0.35f},
    {"echoLink", "Echo Stereo Link", "", Kind::toggle, 0, 0.0f},
    {"echoPingPong", "Echo PingPong Mode", "", Kind::toggle, 0, 0.0f},
    {"echoLoop", "Echo Loop Mode", "", Kind::toggle, 0, 0.0f},
    {"echoRnd", "Echo Randomizer", "", Kind::toggle, 0, 0.0f},
    {"echoPower", "Echo On/Off", "", Kind::toggle, 0, 1.0f},
    {"ruvuvMelt", "Ruvuv Melt", "%", Kind::continuous, 0, 0.0f},
    {"outputVolume", "Output Volume", "dB", Kind::continuous, 0, 0.5f},
    {"dryWetMix", "Dry/Wet Mix", "%", Kind::continuous, 0, 1.0f},
    {"noiseLevel", "Noise Level", "%", Kind::continuous, 0, 0.0f},
    {"toneSatGain", "Tone Sat Gain", "%", Kind::continuous, 0, 0.0f},
    {"echoMixMode", "Echo Mix Mode", "", Kind::integer, 2, 0.0f},
    {"echoFilter", "Echo Filter Mode", "", Kind::toggle, 0, 1.0f},
    {"echoFactorMode", "Echo Factor Mode", "", Kind::integer, 2, 0.0f},
    {"echoFactorRate", "Echo Factor Rate", "", Kind::integer, 13, 2.0f / 12.0f},
    {"echoGlide", "Echo Glide", "%", Kind::continuous, 0, 0.5f},
    {"param1", "param 1", "%", Kind::continuous, 0, 0.0f},
    {"param2", "param 2", "%", Kind::continuous, 0, 0.0f},
    {"param3", "param 3", "%", Kind::continuous, 0, 0.0f},
    {"param4", "param 4", "%", Kind::continuous, 0, 0.0f},
    {"param5", "param 5", "%", Kind::continuous, 0, 0.0f},
    {"param6", "param 6", "%", Kind::continuous, 0, 0.0f},
    {"param7", "param 7", "%", Kind::continuous, 0, 0.0f},
    {"param8", "param 8", "%", Kind::continuous, 0, 0.0f},
    {"param9", "param 9", "%", Kind::continuous, 0, 0.0f},
};

class BundleCatalogue : public testing::Test
{
protected:
    void SetUp() override
    {
        juce::String error;
        plugin = hostkit::loadPlugin (hostkit::builtBundle(), 48000.0, 512, 2, error);
        ASSERT_NE (plugin, nullptr) << error;
    }

    juce::AudioProcessorParameter& parameter (const char* identifier)
    {
        auto* found = hostkit::findParameter (*plugin, identifier);
        EXPECT_NE (found, nullptr) << identifier;
        return found != nullptr ? *found : *plugin->getParameters().getLast();
    }

    std::unique_ptr<juce::AudioPluginInstance> plugin;
};
} // namespace

TEST_F (BundleCatalogue, HostSeesTheNinetyParametersInOrderThenBypass)
{
    const auto& parameters = plugin->getParameters();
    ASSERT_EQ (parameters.size(), 91);
    for (int i = 0; i < 90; ++i)
    {
        const auto& row = catalogue[i];
        auto& p = *parameters[i];
        SCOPED_TRACE (row.identifier);
        EXPECT_EQ (hostkit::parameterIdentifier (p), hostkit::vst3ParameterId (row.identifier));
        EXPECT_EQ (p.getName (128), row.hostName);
        EXPECT_EQ (p.getLabel(), row.unit);
        EXPECT_NEAR (p.getDefaultValue(), row.defaultNormalised, 1.0e-5f);
        EXPECT_NEAR (p.getValue(), row.defaultNormalised, 1.0e-5f);
        EXPECT_TRUE (p.isAutomatable());
        // Switches are published with two steps; integers, like floats, as continuous values
        // that the plug-in snaps and names itself.
        EXPECT_EQ (p.isDiscrete(), row.kind == Kind::toggle);
        if (row.kind == Kind::toggle)
            EXPECT_EQ (p.getNumSteps(), 2);
        if (row.kind == Kind::integer)
        {
            EXPECT_EQ (p.getText (1.0f, 128), juce::String (row.values - 1));
            EXPECT_EQ (p.getText (0.0f, 128), "0");
        }
    }
    EXPECT_EQ (parameters[90]->getName (128), "Bypass");
}

TEST_F (BundleCatalogue, ValueTextsFollowTheSkewedRanges)
{
    const struct
    {
        const char* identifier;
        float normalised;
        const char* text;
    } cases[] = {
        {"toneMidFreq", 0.25f, "1100"}, {"toneMidFreq", 0.5f, "1800"},      {"toneLowGain", 0.75f, "6.42"},
        {"toneLowGain", 0.5f, "0"},     {"toneLowFreq", 0.5f, "120"},       {"echoTime", 0.5f, "500.25"},
        {"toneDamper", 0.5f, "5000"},   {"toneDamper", 1.0f, "20000"},      {"echoLpFreq", 0.5f, "2000"},
        {"outputVolume", 0.5f, "0"},    {"echoInput", 1.0f, "0"},           {"meltWowFreq", 0.95f / 3.75f, "1.2"},
        {"echoGlide", 0.5f, "95"},      {"meltWowRate", 5.0f / 12.0f, "5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ (parameter (c.identifier).getText (c.normalised, 128), c.text)
            << c.identifier << " at " << c.normalised;
}

TEST_F (BundleCatalogue, TypedTextsBecomeValuesWithinTheRange)
{
    const struct
    {
        const char* identifier;
        const char* text;
        float normalised;
    } cases[] = {
        {"echoTime", "  500.25 ms", 0.5f}, {"toneLowFreq", "abc", 0.0f},     {"toneLowFreq", "nan", 0.0f},
        {"toneMidFreq", "1800", 0.5f},     {"outputVolume", "-6 dB", -1.0f}, {"echoFeedback", "500", 1.0f},
    };
    for (const auto& c : cases)
    {
        auto& p = parameter (c.identifier);
        const auto value = p.getValueForText (c.text);
        EXPECT_TRUE (std::isfinite (value)) << c.identifier << " " << c.text;
        if (c.normalised >= 0.0f)
            EXPECT_NEAR (value, c.normalised, 1.0e-5f) << c.identifier << " " << c.text;
        else
            EXPECT_EQ (p.getText (value, 128), "-6") << c.identifier;
    }
}

TEST_F (BundleCatalogue, BypassPassesAudioThroughBitForBit)
{
    auto* bypass = plugin->getParameters().getLast();
    bypass->setValueNotifyingHost (1.0f);

    juce::AudioBuffer<float> buffer (2, 512), original;
    for (int block = 0; block < 8; ++block)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
                buffer.setSample (c, i, 0.5f * std::sin (0.01f * (float)(block * 512 + i) + (float)c));
        original.makeCopyOf (buffer);
        juce::MidiBuffer midi;
        plugin->processBlock (buffer, midi);
        if (block > 0) // the bypass change reaches the plug-in with the first block
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < 512; ++i)
                    ASSERT_EQ (buffer.getSample (c, i), original.getSample (c, i));
    }
}
