#include "engine/PluginProcessor.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace
{
// Stand-in controls for the editor's panels: one per listened parameter, attached into its slot.
struct Controls
{
    std::vector<std::unique_ptr<juce::Component>> owned;

    explicit Controls (PluginParameters& p)
    {
        auto& tree = *p.apvts;
        using Tree = juce::AudioProcessorValueTreeState;
#define ATTACH(stem, Control, AttachmentType)                                                                          \
    {                                                                                                                  \
        auto control = std::make_unique<Control>();                                                                    \
        p.stem##Attachment = std::make_unique<Tree::AttachmentType> (tree, PluginParameters::stem##ID, *control);      \
        owned.push_back (std::move (control));                                                                         \
    }
#define PARAM_FLOAT(stem, ...) ATTACH (stem, juce::Slider, SliderAttachment)
#define PARAM_DECIBEL(stem, ...) ATTACH (stem, juce::Slider, SliderAttachment)
#define PARAM_INT(stem, ...) ATTACH (stem, juce::ComboBox, ComboBoxAttachment)
#define PARAM_BOOL(stem, ...) ATTACH (stem, juce::ToggleButton, ButtonAttachment)
#define PARAM_PAGE(stem, ...) ATTACH (stem, juce::ToggleButton, ButtonAttachment)
        RIROREZO3_PARAMETER_TABLE
#undef PARAM_FLOAT
#undef PARAM_DECIBEL
#undef PARAM_INT
#undef PARAM_BOOL
#undef PARAM_PAGE
#undef ATTACH
    }
};

std::map<juce::String, bool> occupiedSlots (const PluginParameters& p)
{
    std::map<juce::String, bool> slots;
#define PARAM_ANY(stem, ...) slots[PluginParameters::stem##ID] = p.stem##Attachment != nullptr;
#include "parameters/ForEachParameter.h"
    return slots;
}

struct Group
{
    void (PluginParameters::*detach)();
    std::vector<const char*> stems;
};

// The eight control groups, each emptied by its own detach function.
const std::vector<Group> groups = {
    {&PluginParameters::detachToneHiddenControls,
     {"toneLowFreq", "toneLowQ", "toneMidFreq", "toneMidQ", "toneHiFreq", "toneHiQ"}},
    {&PluginParameters::detachToneControls,
     {"toneDrive", "toneLowCut", "toneLowGain", "toneMidGain", "toneHiGain", "toneShape", "toneSaturation",
      "toneSatGain", "toneDamper", "toneRnd", "tonePower"}},
    {&PluginParameters::detachMeltFlowControls,
     {"meltFlowType", "meltFlowSync", "meltWowRate", "meltWowFreq", "meltFlowMix", "meltFlutterRate", "meltFlutterFreq",
      "meltFlowRnd", "meltFlowLevel"}},
    {&PluginParameters::detachMeltDropoutControls,
     {"meltDropoutType", "meltDropoutSync", "meltDropoutRate", "meltDropoutFreq", "meltDropoutPhase", "meltDropoutRnd",
      "meltDropoutLevel"}},
    {&PluginParameters::detachMeltJumpControls,
     {"meltJumpRate", "meltJumpSnag", "meltJumpRelease", "meltJumpCurve", "meltJumpStart", "meltJumpRnd",
      "meltJumpLevel"}},
    {&PluginParameters::detachMeltMainControls,
     {"meltFlowPanelSwitch", "meltFlowPower", "meltDropoutPanelSwitch", "meltDropoutPower", "meltJumpPanelSwitch",
      "meltJumpPower", "meltChorus", "meltEchoSend", "meltDepth", "meltFlowPanelRnd", "meltDropoutPanelRnd",
      "meltJumpPanelRnd", "meltPower"}},
    {&PluginParameters::detachEchoControls,
     {"echoSync",     "echoRateLeft", "echoRateRight", "echoMin",    "echoMax",     "echoFactorRate",
      "echoTime",     "echoOffset",   "echoOffsetMs",  "echoLength", "echoGlide",   "echoInput",
      "echoFeedback", "echoHpFreq",   "echoLpFreq",    "echoMix",    "echoMixMode", "echoFactorMode",
      "echoLink",     "echoPingPong", "echoLoop",      "echoFilter", "echoRnd",     "echoPower"}},
    {&PluginParameters::detachMasterControls, {"ruvuvMelt", "outputVolume", "dryWetMix", "noiseLevel"}},
};
} // namespace

TEST (AttachmentSlots, EachDetachFunctionEmptiesExactlyItsGroup)
{
    Rirorezo3AudioProcessor processor;
    auto& p = processor.pluginParameters;
    Controls controls (p);

    std::map<juce::String, bool> expected = occupiedSlots (p);
    for (const auto& [id, occupied] : expected)
        ASSERT_TRUE (occupied) << id;

    size_t covered = 0;
    for (const auto& group : groups)
    {
        (p.*group.detach)();
        (p.*group.detach)(); // a second call finds the slots empty and does nothing
        for (const auto* stem : group.stems)
            expected[stem] = false;
        covered += group.stems.size();
        EXPECT_EQ (occupiedSlots (p), expected);
    }
    EXPECT_EQ (covered, 81u);
}

TEST (AttachmentSlots, AttachedControlsFollowTheirParametersUntilDetached)
{
    Rirorezo3AudioProcessor processor;
    auto& p = processor.pluginParameters;
    juce::Slider knob;
    p.echoTimeAttachment =
        std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (processor.apvts, "echoTime", knob);
    EXPECT_NEAR (knob.getValue(), 500.0, 1e-3);

    auto* parameter = processor.apvts.getParameter ("echoTime");
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (250.0f));
    EXPECT_NEAR (knob.getValue(), 250.0, 1e-3);

    p.detachEchoControls();
    parameter->setValueNotifyingHost (parameter->convertTo0to1 (750.0f));
    EXPECT_NEAR (knob.getValue(), 250.0, 1e-3);
    EXPECT_NEAR (loadValue (p.echoTimeValue), 750.0f, 1e-3f);
}

TEST (AttachmentSlots, ProcessorTearsDownWithAndWithoutAttachments)
{
    {
        Rirorezo3AudioProcessor processor;
    }
    // Controls outlive the processor here, as the editor's panels always do not; the
    // destructor must release every attachment while its control still exists.
    auto processor = std::make_unique<Rirorezo3AudioProcessor>();
    {
        Controls controls (processor->pluginParameters);
        processor->pluginParameters.detachMasterControls();
        processor.reset();
    }
    SUCCEED();
}
