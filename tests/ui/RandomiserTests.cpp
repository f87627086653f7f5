#include "GeneratorRestart.h"
#include "ParameterWatch.h"
#include "ProcessorHarness.h"
#include "engine/RandomGenerator.h"
#include "ui/panels/SectionRandomiser.h"

#include <gtest/gtest.h>

#include <map>

namespace
{

std::map<juce::String, float> normalisedValues (Rirorezo3AudioProcessor& processor)
{
    std::map<juce::String, float> values;
    for (auto* parameter : processor.getParameters())
        if (auto* withID = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
            values[withID->paramID] = parameter->getValue();
    return values;
}

} // namespace

TEST (SectionRandomiser, FirstToneClickOfAFreshProcessDrawsItsKnownValues)
{
    testsupport::ProcessorHarness harness;
    testsupport::restartGenerator (SeedX, XorU);

    randomiseSubPresetGroup (*harness.processor, 0);

    auto& tree = harness.processor->apvts;
    EXPECT_NEAR (tree.getParameter ("toneLowCut")->getValue(), 0.158847f, 1.0e-6f);
    EXPECT_FALSE (harness.processor->pluginParameters.toneLowCutValue.load()) << "a draw below 0.5 keeps it off";
    auto* lowFrequency = tree.getParameter ("toneLowFreq");
    EXPECT_NEAR (harness.getPlain ("toneLowFreq"), lowFrequency->convertFrom0to1 (0.246130f), 0.01f);
    EXPECT_EQ (tree.getParameter ("toneDrive")->getValue(), tree.getParameter ("toneDrive")->getDefaultValue());
}

// Each group changes exactly its randomised parameters, one host edit each and no gesture.
TEST (SectionRandomiser, EachGroupChangesExactlyItsRandomisedParameters)
{
    const std::map<int, std::vector<juce::String>> groups = {
        {0,
         {"toneLowCut", "toneLowFreq", "toneLowQ", "toneLowGain", "toneMidFreq", "toneMidQ", "toneMidGain",
          "toneHiFreq", "toneHiQ", "toneHiGain", "toneShape", "toneSaturation", "toneDamper", "toneSatGain"}},
        {1,
         {"meltFlowType", "meltFlowSync", "meltWowRate", "meltWowFreq", "meltFlowMix", "meltFlutterRate",
          "meltFlutterFreq", "meltFlowRnd"}},
        {2,
         {"meltDropoutType", "meltDropoutSync", "meltDropoutRate", "meltDropoutFreq", "meltDropoutPhase",
          "meltDropoutRnd"}},
        {3, {"meltJumpRate", "meltJumpStart", "meltJumpSnag", "meltJumpRelease", "meltJumpCurve", "meltJumpRnd"}},
        {4, {"echoSync",       "echoRateLeft", "echoRateRight", "echoMin",        "echoMax",
             "echoTime",       "echoOffset",   "echoOffsetMs",  "echoLength",     "echoFeedback",
             "echoHpFreq",     "echoLpFreq",   "echoLink",      "echoPingPong",   "echoLoop",
             "echoFactorRate", "echoGlide",    "echoMixMode",   "echoFactorMode", "echoFilter"}},
    };

    for (const auto& [group, randomised] : groups)
    {
        testsupport::ProcessorHarness harness;
        testsupport::ParameterWatch watch (*harness.processor);
        const auto before = normalisedValues (*harness.processor);
        const auto seedBefore = SeedX.load();
        const auto xorBefore = XorU.load();

        randomiseSubPresetGroup (*harness.processor, group);

        // One draw per randomised parameter: replaying that many draws lands on the same words.
        const auto seedAfter = SeedX.load();
        SeedX = seedBefore;
        XorU = xorBefore;
        // What each parameter holds once given its draw, in a processor of its own.
        testsupport::ProcessorHarness reference;
        for (const auto& identifier : randomised)
            reference.processor->apvts.getParameter (identifier)
                ->setValue (static_cast<float> (drawRandom (SeedX, XorU)));
        const auto expected = normalisedValues (*reference.processor);
        EXPECT_EQ (SeedX.load(), seedAfter) << "group " << group;

        const auto after = normalisedValues (*harness.processor);
        for (const auto& [identifier, value] : after)
            EXPECT_FLOAT_EQ (value, expected.at (identifier)) << "group " << group << ": " << identifier;
        EXPECT_EQ (watch.totalGestures(), 0);
        for (const auto& identifier : randomised)
            EXPECT_EQ (watch.changes (identifier), 1) << "group " << group << ": " << identifier;
    }
}

TEST (SectionRandomiser, GroupsOutsideTheTableChangeNothing)
{
    testsupport::ProcessorHarness harness;
    const auto before = normalisedValues (*harness.processor);
    const auto seedBefore = SeedX.load();
    for (int group : {-1, 5, 19, 20, 1000})
        randomiseSubPresetGroup (*harness.processor, group);
    EXPECT_EQ (normalisedValues (*harness.processor), before);
    EXPECT_EQ (SeedX.load(), seedBefore);
}
