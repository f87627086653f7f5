#include "ParameterAccess.h"
#include "engine/PluginProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace
{
// One entry per listened parameter: its identifier and a reading of its mirror value as a double.
struct MirrorEntry
{
    juce::String identifier;
    std::function<double (const PluginParameters&)> read;
};

std::vector<MirrorEntry> mirrorEntries()
{
    std::vector<MirrorEntry> entries;
#define PARAM_ANY(stem, ...)                                                                                           \
    entries.push_back (                                                                                                \
        {PluginParameters::stem##ID, [] (const PluginParameters& p) { return (double)loadValue (p.stem##Value); }});
#include "parameters/ForEachParameter.h"
    return entries;
}
} // namespace

TEST (Mirror, FreshMirrorHoldsTheConvertedDefaults)
{
    Rirorezo3AudioProcessor processor;
    const auto& p = processor.pluginParameters;
    EXPECT_EQ (loadValue (p.outputVolumeValue), 1.0f);
    EXPECT_EQ (loadValue (p.toneDriveValue), 1.0f);
    EXPECT_EQ (loadValue (p.echoTimeValue), 500.0f);
    EXPECT_EQ (loadValue (p.meltFlowMixValue), 0.29999998f);
    EXPECT_EQ (loadValue (p.echoFeedbackValue), 0.39999998f);
    EXPECT_EQ (loadValue (p.echoMixValue), 0.34999999f);
    EXPECT_EQ (loadValue (p.meltDropoutLevelValue), 0.25f);
    EXPECT_EQ (loadValue (p.dryWetMixValue), 1.0f);
    EXPECT_EQ (loadValue (p.echoSyncValue), 1);
    EXPECT_EQ (loadValue (p.meltWowRateValue), 5);
    EXPECT_TRUE (loadValue (p.echoFilterValue));
    EXPECT_FALSE (loadValue (p.toneLowCutValue));
}

TEST (Mirror, EveryInitialValueEqualsWhatItsAdaptorStoresForTheDefault)
{
    Rirorezo3AudioProcessor processor;
    for (const auto& entry : mirrorEntries())
    {
        const auto before = entry.read (processor.pluginParameters);
        auto* parameter = processor.apvts.getParameter (entry.identifier);
        // The first notification reaches the adaptor whatever the value; the default comes back
        // through the normalised range, snapped to its interval, so allow for float rounding.
        parameter->setValueNotifyingHost (parameter->getDefaultValue());
        EXPECT_NEAR (entry.read (processor.pluginParameters), before, 1.0e-6 * std::abs (before)) << entry.identifier;
    }
}

TEST (Mirror, EveryListenedParameterReachesItsOwnValue)
{
    Rirorezo3AudioProcessor processor;
    auto entries = mirrorEntries();
    ASSERT_EQ (entries.size(), 81u);
    for (const auto& entry : entries)
    {
        std::vector<double> before;
        for (const auto& other : entries)
            before.push_back (other.read (processor.pluginParameters));

        auto* parameter = processor.apvts.getParameter (entry.identifier);
        parameter->setValueNotifyingHost (parameter->getDefaultValue() > 0.5f ? 0.0f : 1.0f);

        for (size_t i = 0; i < entries.size(); ++i)
        {
            const bool changed = entries[i].read (processor.pluginParameters) != before[i];
            EXPECT_EQ (changed, entries[i].identifier == entry.identifier)
                << entry.identifier << " -> " << entries[i].identifier;
        }
    }
}

TEST (Mirror, AdaptorsConvertToEngineUnits)
{
    Rirorezo3AudioProcessor processor;
    const auto& p = processor.pluginParameters;

    testsupport::setPlainValue (processor, "outputVolume", -100.0f);
    EXPECT_EQ (loadValue (p.outputVolumeValue), 0.0f);
    testsupport::setPlainValue (processor, "outputVolume", -6.0f);
    EXPECT_NEAR (loadValue (p.outputVolumeValue), 0.501187205f, 1e-7f);
    testsupport::setPlainValue (processor, "outputVolume", 0.0f);
    EXPECT_EQ (loadValue (p.outputVolumeValue), 1.0f);
    testsupport::setPlainValue (processor, "toneDrive", 12.0f);
    EXPECT_NEAR (loadValue (p.toneDriveValue), 3.98107f, 1e-5f);
    testsupport::setPlainValue (processor, "echoInput", -99.99f);
    EXPECT_NEAR (loadValue (p.echoInputValue), 1.001e-5f, 1e-8f);

    testsupport::setPlainValue (processor, "echoFeedback", 120.0f);
    EXPECT_EQ (loadValue (p.echoFeedbackValue), 120.0f * 0.01f);
    testsupport::setPlainValue (processor, "dryWetMix", 30.0f);
    EXPECT_EQ (loadValue (p.dryWetMixValue), 0.29999998f);
    testsupport::setPlainValue (processor, "toneShape", 30.0f);
    EXPECT_EQ (loadValue (p.toneShapeValue), 30.0f);

    testsupport::setPlainValue (processor, "echoMin", 4.0f);
    EXPECT_EQ (loadValue (p.echoMinValue), 4);
    processor.apvts.getParameter ("meltWowRate")->setValueNotifyingHost (0.999f);
    EXPECT_EQ (loadValue (p.meltWowRateValue), 12);

    testsupport::setPlainValue (processor, "echoLoop", 1.0f);
    EXPECT_TRUE (loadValue (p.echoLoopValue));
    processor.apvts.getParameter ("echoLoop")->setValueNotifyingHost (0.49f);
    EXPECT_FALSE (loadValue (p.echoLoopValue));
}

TEST (Mirror, PlaceholderParametersReachNoValue)
{
    Rirorezo3AudioProcessor processor;
    const auto entries = mirrorEntries();
    std::vector<double> before;
    for (const auto& entry : entries)
        before.push_back (entry.read (processor.pluginParameters));

    for (int i = 1; i <= 9; ++i)
        processor.apvts.getParameter ("param" + juce::String (i))->setValueNotifyingHost (0.7f);

    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ (entries[i].read (processor.pluginParameters), before[i]) << entries[i].identifier;
}

TEST (ListenerAdaptors, NonFiniteValuesNeverReachTheEngine)
{
    std::atomic<float> floatValue{0.25f};
    FloatListener scaled (&floatValue, 0.01f);
    scaled.parameterChanged ({}, std::numeric_limits<float>::quiet_NaN());
    scaled.parameterChanged ({}, std::numeric_limits<float>::infinity());
    EXPECT_EQ (floatValue.load(), 0.25f);

    FloatDecibelListener decibels (&floatValue, -100.0f);
    decibels.parameterChanged ({}, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (floatValue.load(), 0.25f);
    decibels.parameterChanged ({}, -100.0f);
    EXPECT_EQ (floatValue.load(), 0.0f);

    std::atomic<std::int32_t> intValue{5};
    IntegerListener index (&intValue, 0, 1);
    index.parameterChanged ({}, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (intValue.load(), 0);
    index.parameterChanged ({}, 2.99f);
    EXPECT_EQ (intValue.load(), 2);
    index.parameterChanged ({}, -0.5f);
    EXPECT_EQ (intValue.load(), 0);
    index.parameterChanged ({}, 1.0e30f);
    EXPECT_GT (intValue.load(), 0);

    std::atomic<bool> boolValue{true};
    BoolListener toggle (&boolValue);
    toggle.parameterChanged ({}, 0.49999997f);
    EXPECT_FALSE (boolValue.load());
    toggle.parameterChanged ({}, 0.5f);
    EXPECT_TRUE (boolValue.load());
    toggle.parameterChanged ({}, std::numeric_limits<float>::quiet_NaN());
    EXPECT_FALSE (boolValue.load());
}
