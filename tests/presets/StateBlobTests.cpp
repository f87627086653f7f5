#include "OpenedEditor.h"
#include "ParameterAccess.h"
#include "ProcessorHarness.h"
#include "StateBlobs.h"
#include "presets/PresetManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace testsupport;

namespace
{
juce::String text (const juce::MemoryBlock& blob)
{
    return juce::String::fromUTF8 (static_cast<const char*> (blob.getData()) + 8,
                                   static_cast<int> (blob.getSize()) - 9);
}

std::unique_ptr<Rirorezo3AudioProcessor> freshProcessor()
{
    return std::make_unique<Rirorezo3AudioProcessor>();
}

// The current layout's leading entries, as a test builds a hand-made state.
Attributes currentLayoutHead (const juce::String& presetPath)
{
    Attributes attributes{{"PresetPathName:", presetPath}};
    for (int k = 1; k <= 20; ++k)
        attributes.push_back ({"SubPreset:" + juce::String (k), "/sub/" + juce::String (k)});
    for (int k = 1; k <= 20; ++k)
        attributes.push_back ({"TxEnt:" + juce::String (k), "entry " + juce::String (k)});
    attributes.push_back ({"GUI_W:", "1000.0"});
    attributes.push_back ({"GUI_H:", "521.0"});
    return attributes;
}

} // namespace

TEST (StateBlob, FreshStateIsOneLineOfXmlFramedByMagicLengthAndZero)
{
    auto processor = freshProcessor();
    const auto blob = stateOf (*processor);
    const auto* bytes = static_cast<const juce::uint8*> (blob.getData());

    ASSERT_EQ (blob.getSize(), 2576u);
    EXPECT_EQ (std::vector<int> (bytes, bytes + 4), (std::vector<int>{0x56, 0x43, 0x32, 0x21}));
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), blob.getSize() - 9);
    EXPECT_EQ (bytes[blob.getSize() - 1], 0);

    const auto xml = text (blob);
    EXPECT_TRUE (
        xml.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <DOD_StateInfo><DOD_Preset PresetPathName:=\"\" "));
    EXPECT_TRUE (xml.endsWith ("/></DOD_StateInfo>"));
    EXPECT_FALSE (xml.containsAnyOf ("\r\n"));
}

TEST (StateBlob, FreshStateListsPathsEntriesSizesThenEveryParameterInCreationOrder)
{
    auto processor = freshProcessor();
    const auto preset = presetElementOf (stateOf (*processor));
    ASSERT_NE (preset, nullptr);
    ASSERT_EQ (preset->getNumAttributes(), 133);

    EXPECT_EQ (preset->getAttributeName (0), "PresetPathName:");
    for (int k = 1; k <= 20; ++k)
    {
        EXPECT_EQ (preset->getAttributeName (k), "SubPreset:" + juce::String (k));
        EXPECT_EQ (preset->getAttributeName (20 + k), "TxEnt:" + juce::String (k));
    }
    EXPECT_EQ (preset->getAttributeName (41), "GUI_W:");
    EXPECT_EQ (preset->getAttributeValue (41), "0.0");
    EXPECT_EQ (preset->getAttributeName (42), "GUI_H:");
    EXPECT_EQ (preset->getAttributeValue (42), "0.0");

    const auto& parameters = processor->getParameters();
    ASSERT_EQ (parameters.size(), 90);
    for (int i = 0; i < parameters.size(); ++i)
    {
        EXPECT_EQ (preset->getAttributeName (43 + i), parameterIdentifier (*parameters[i]));
        EXPECT_EQ (static_cast<float> (preset->getAttributeValue (43 + i).getDoubleValue()), parameters[i]->getValue());
    }
    EXPECT_EQ (preset->getAttributeName (43), "toneDrive");
    EXPECT_EQ (preset->getAttributeName (132), "param9");
    EXPECT_FALSE (preset->hasAttribute ("Bypass"));
}

TEST (StateBlob, RoundTripRestoresParametersPathsEntriesAndEditorSize)
{
    auto source = freshProcessor();
    scatterParameters (*source);
    auto& from = *source->presetManager;
    from.presetPath = "/presets/Warm & <Dry> \"one\".dod";
    for (int k = 0; k < 20; ++k)
    {
        from.subPresetPaths[k] =
            "/sub/" + juce::String (k) + juce::String (juce::CharPointer_UTF8 ("/\xc3\xa9t\xc3\xa9.Tsp"));
        from.textEntries[k] = "text 'entry' " + juce::String (k);
    }
    from.editorWidth = 1000;
    from.editorHeight = 521;
    const auto blob = stateOf (*source);

    auto target = freshProcessor();
    applyState (*target, blob);
    const auto& to = *target->presetManager;

    EXPECT_EQ (parameterValues (*target), parameterValues (*source));
    EXPECT_EQ (to.presetPath, from.presetPath);
    EXPECT_EQ (to.presetName, "Warm & <Dry> \"one\"");
    for (int k = 0; k < 20; ++k)
    {
        EXPECT_EQ (to.subPresetPaths[k], from.subPresetPaths[k]);
        EXPECT_EQ (to.textEntries[k], from.textEntries[k]);
    }
    EXPECT_EQ (std::vector<int> ({to.editorWidth, to.editorHeight, to.savedEditorWidth, to.savedEditorHeight}),
               std::vector<int> ({1000, 521, 1000, 521}));
    EXPECT_EQ (stateOf (*target), blob);
}

TEST (StateBlob, WritingTheStateTwiceGivesTheSameBytesAndRecordsTheSavedSize)
{
    auto processor = freshProcessor();
    scatterParameters (*processor);
    auto& presets = *processor->presetManager;
    presets.editorWidth = 900;
    presets.editorHeight = 469;

    juce::MemoryBlock reused (12345, true);
    processor->getStateInformation (reused);
    EXPECT_EQ (reused, stateOf (*processor));
    EXPECT_EQ (presets.savedEditorWidth, 900);
    EXPECT_EQ (presets.savedEditorHeight, 469);
}

TEST (StateBlob, MirrorFollowsALoadedStateAtOnce)
{
    auto source = freshProcessor();
    source->apvts.getParameter ("echoFeedback")->setValueNotifyingHost (1.0f);
    auto target = freshProcessor();
    applyState (*target, stateOf (*source));
    EXPECT_FLOAT_EQ (target->pluginParameters.echoFeedbackValue.load(), 1.2f);
}

namespace
{
juce::MemoryBlock withLength (juce::MemoryBlock blob, juce::uint32 length)
{
    const auto littleEndian = juce::ByteOrder::swapIfBigEndian (length);
    std::memcpy (static_cast<char*> (blob.getData()) + 4, &littleEndian, 4);
    return blob;
}

juce::MemoryBlock nested (int depth)
{
    juce::String xml ("<?xml version=\"1.0\"?>");
    juce::String open, close;
    for (int i = 0; i < depth; ++i)
    {
        open << "<a>";
        close << "</a>";
    }
    return blobOfText (xml + open + close);
}

// The same state with every parameter's value replaced by the given text.
juce::MemoryBlock withEveryParameterValue (const juce::MemoryBlock& valid, const juce::String& value)
{
    auto root = juce::AudioProcessor::getXmlFromBinary (valid.getData(), static_cast<int> (valid.getSize()));
    auto* preset = root->getFirstChildElement();
    for (int i = 43; i < preset->getNumAttributes(); ++i)
        preset->setAttribute (preset->getAttributeName (i), value);
    juce::MemoryBlock blob;
    juce::AudioProcessor::copyXmlToBinary (*root, blob);
    return blob;
}

struct BadState
{
    const char* what;
    juce::MemoryBlock bytes;
};

std::vector<BadState> badStates (const juce::MemoryBlock& valid)
{
    Attributes thousands{{"PresetPathName:", "/other/Other.dod"}};
    for (int i = 0; i < 2000; ++i)
        thousands.push_back ({"echoTime", "0.9"});

    auto wrongMagic = valid;
    static_cast<char*> (wrongMagic.getData())[0] = 'X';
    auto zeroFirstByte = valid;
    static_cast<char*> (zeroFirstByte.getData())[8] = 0;

    return {
        {"empty", {}},
        {"shorter than the header", juce::MemoryBlock (valid.getData(), 8)},
        {"wrong magic", wrongMagic},
        {"length 0", withLength (valid, 0)},
        {"length 0xFFFFFFFF", withLength (valid, 0xFFFFFFFFu)},
        {"zero first text byte", zeroFirstByte},
        {"cut inside the element", juce::MemoryBlock (valid.getData(), valid.getSize() / 2)},
        {"root without a child", blobOfText ("<DOD_StateInfo/>")},
        {"root holding only text", blobOfText ("<DOD_StateInfo>toneDrive</DOD_StateInfo>")},
        {"not XML", blobOfText ("toneDrive=\"1.0\"")},
        {"100,000 nested elements", nested (100000)},
        {"recursive entity",
         blobOfText ("<!DOCTYPE r [<!ENTITY a \"&a;&a;\">]><r><p PresetPathName:=\"&a;\" toneDrive=\"1\"/></r>")},
        {"thousands of attributes", blobOfChildren ({thousands})},
        {"every value nan", withEveryParameterValue (valid, "nan")},
        {"every value inf", withEveryParameterValue (valid, "inf")},
        {"every value -inf", withEveryParameterValue (valid, "-inf")},
        {"every value 1e300", withEveryParameterValue (valid, "1e300")},
    };
}
} // namespace

TEST (StateBlob, RejectedBytesChangeNoParameterNoFieldAndLeaveAudioFinite)
{
    ProcessorHarness harness;
    auto& processor = *harness.processor;
    scatterParameters (processor);
    processor.presetManager->presetPath = "/kept/Kept.dod";
    processor.presetManager->presetName = "Kept";
    const auto before = stateOf (processor);
    const auto values = parameterValues (processor);

    for (const auto& bad : badStates (before))
    {
        SCOPED_TRACE (bad.what);
        processor.setStateInformation (bad.bytes.getSize() == 0 ? nullptr : bad.bytes.getData(),
                                       static_cast<int> (bad.bytes.getSize()));
        EXPECT_EQ (parameterValues (processor), values);
        EXPECT_EQ (processor.presetManager->presetName, "Kept");
        EXPECT_EQ (stateOf (processor), before);

        auto audio = harness.sine (2048, 440.0);
        harness.process (audio);
        EXPECT_TRUE (allFiniteAndNormal (audio));
    }
}

TEST (StateBlob, LengthBeyondTheDataReadsUpToItsEnd)
{
    auto source = freshProcessor();
    scatterParameters (*source);
    const auto blob = stateOf (*source);

    auto target = freshProcessor();
    applyState (*target, withLength (blob, static_cast<juce::uint32> (blob.getSize() * 4)));
    EXPECT_EQ (parameterValues (*target), parameterValues (*source));
}

TEST (StateBlob, FuzzedBytesAreRejectedOrKeepEveryValueInRangeAndAudioFinite)
{
    ProcessorHarness harness;
    auto& processor = *harness.processor;
    scatterParameters (processor);
    const auto valid = stateOf (processor);
    const auto values = parameterValues (processor);
    std::mt19937 random (20240611u);

    for (int round = 0; round < 300; ++round)
    {
        SCOPED_TRACE (round);
        juce::MemoryBlock bytes;
        bool mustBeRejected = true;
        switch (round % 3)
        {
        case 0: // a cut anywhere before the element closes
            bytes = juce::MemoryBlock (valid.getData(),
                                       std::uniform_int_distribution<size_t> (0, valid.getSize() - 22) (random));
            break;
        case 1: // random bytes, half of them behind a valid header
        {
            bytes.setSize (std::uniform_int_distribution<size_t> (0, 4096) (random));
            for (size_t i = 0; i < bytes.getSize(); ++i)
                bytes[i] = static_cast<char> (random());
            if (bytes.getSize() >= 8 && (round & 1) != 0)
                bytes.copyFrom (valid.getData(), 0, 8);
            break;
        }
        default: // a few bytes of a valid state changed: may still parse, must stay safe
            bytes = valid;
            for (int flips = 0; flips < 4; ++flips)
                bytes[std::uniform_int_distribution<size_t> (0, bytes.getSize() - 1) (random)] =
                    static_cast<char> (random());
            mustBeRejected = false;
            break;
        }

        processor.setStateInformation (bytes.getData(), static_cast<int> (bytes.getSize()));

        if (mustBeRejected)
        {
            EXPECT_EQ (parameterValues (processor), values);
            EXPECT_EQ (stateOf (processor), valid);
        }
        for (auto value : parameterValues (processor))
            EXPECT_TRUE (value >= 0.0f && value <= 1.0f) << value;

        auto audio = harness.sine (512, 220.0);
        harness.process (audio);
        EXPECT_TRUE (allFiniteAndNormal (audio));
        applyState (processor, valid);
    }
}

TEST (StateBlob, ValuesThatAreNotFiniteAreSkippedAndOthersClampedToTheUnitRange)
{
    struct Case
    {
        const char* stored;
        float expected; // negative: the parameter keeps its value
    };
    const Case cases[] = {{"nan", -1.0f}, {"inf", -1.0f}, {"-inf", -1.0f}, {"1e300", -1.0f},
                          {"1.5", 1.0f},  {"-2.0", 0.0f}, {"0.25", 0.25f}, {"words", 0.0f}};

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.stored);
        auto processor = freshProcessor();
        processor->apvts.getParameter ("echoMix")->setValueNotifyingHost (0.6f);
        auto attributes = currentLayoutHead ("");
        attributes.push_back ({"echoMix", c.stored});
        applyState (*processor, blobOfChildren ({attributes}));

        EXPECT_FLOAT_EQ (testsupport::normalisedValueOf (*processor, "echoMix"), c.expected < 0.0f ? 0.6f : c.expected);
        EXPECT_TRUE (std::isfinite (processor->pluginParameters.echoMixValue.load()));
    }
}

TEST (StateBlob, EditorSidesThatNoScreenHasCountAsNone)
{
    const std::pair<const char*, int> cases[] = {{"1000.9", 1000}, {"16384.0", 16384}, {"16385.0", 0}, {"-5.0", 0},
                                                 {"nan", 0},       {"1e300", 0},       {"wide", 0}};
    for (const auto& [stored, expected] : cases)
    {
        SCOPED_TRACE (stored);
        auto processor = freshProcessor();
        auto attributes = currentLayoutHead ("");
        attributes[41].second = stored;
        attributes[42].second = stored;
        applyState (*processor, blobOfChildren ({attributes}));

        const auto& presets = *processor->presetManager;
        EXPECT_EQ (std::vector<int> ({presets.editorWidth, presets.savedEditorWidth, presets.editorHeight}),
                   std::vector<int> ({expected, expected, expected}));
    }
}

TEST (StateBlob, EachLayoutReadsParametersFromItsOwnFirstPosition)
{
    // A parameter identifier placed before the first parameter position is never applied.
    struct Layout
    {
        const char* what;
        Attributes attributes;
        juce::String name;
        bool takesTextEntries;
        juce::String firstSubPreset;
    };

    Attributes middle{{"PresetPathName:", "/p/Middle.dod"}};
    for (int k = 1; k <= 20; ++k)
        middle.push_back ({"SubPreset:" + juce::String (k), "/m/" + juce::String (k)});
    middle.push_back ({"toneShape", "0.9"});
    middle.push_back ({"GUI_W:", "800.0"});

    const Layout layouts[] = {
        {"current", currentLayoutHead ("/p/Current.dod"), "Current", true, "/sub/1"},
        {"middle, no text entries", middle, "Middle", false, "/m/1"},
        {"older", {{"My_Old_Preset", ""}, {"toneShape", "0.9"}, {"GUI_H:", "700.0"}}, "My Old Preset", false, "/kept"},
    };

    for (const auto& layout : layouts)
    {
        SCOPED_TRACE (layout.what);
        auto processor = freshProcessor();
        auto& presets = *processor->presetManager;
        presets.textEntries[0] = "kept";
        presets.subPresetPaths[0] = "/kept";
        auto attributes = layout.attributes;
        attributes.push_back ({"toneShape", "0.5"});
        attributes.push_back ({"echoTime", "0.75"});
        attributes.push_back ({"toneShape", "0.1"});
        applyState (*processor, blobOfChildren ({attributes}));

        EXPECT_EQ (presets.presetName, layout.name);
        EXPECT_FLOAT_EQ (testsupport::normalisedValueOf (*processor, "echoTime"), 0.75f);
        // A repeated identifier takes the first attribute of that name, which for the middle and
        // older layouts lies before the first position.
        EXPECT_FLOAT_EQ (testsupport::normalisedValueOf (*processor, "toneShape"),
                         layout.takesTextEntries ? 0.5f : 0.9f);
        EXPECT_EQ (presets.textEntries[0], layout.takesTextEntries ? "entry 1" : "kept");
        EXPECT_EQ (presets.subPresetPaths[0], layout.firstSubPreset);
    }
}

TEST (StateBlob, OlderLayoutKeepsPathsAndTakesNoParameterFromTheFirstThreePositions)
{
    auto processor = freshProcessor();
    auto& presets = *processor->presetManager;
    presets.presetPath = "/kept/Path.dod";
    const auto toneShapeBefore = testsupport::normalisedValueOf (*processor, "toneShape");
    applyState (*processor, blobOfChildren ({{{"Old", ""}, {"GUI_W:", "0.0"}, {"toneShape", "0.9"}}}));

    EXPECT_EQ (presets.presetPath, "/kept/Path.dod");
    EXPECT_EQ (presets.presetName, "Old");
    EXPECT_FLOAT_EQ (testsupport::normalisedValueOf (*processor, "toneShape"), toneShapeBefore);
}

TEST (StateBlob, MissingSubPresetEntriesClearThosePaths)
{
    auto processor = freshProcessor();
    auto& presets = *processor->presetManager;
    for (auto& path : presets.subPresetPaths)
        path = "/old";

    auto attributes = currentLayoutHead ("");
    attributes.erase (attributes.begin() + 3, attributes.begin() + 6); // SubPreset:3 to SubPreset:5
    applyState (*processor, blobOfChildren ({attributes}));

    for (int k = 0; k < 20; ++k)
        EXPECT_EQ (presets.subPresetPaths[k], k >= 2 && k <= 4 ? juce::String() : "/sub/" + juce::String (k + 1)) << k;
}

TEST (StateBlob, PresetPathFollowsTheStateUnlessAPresetFileIsLoading)
{
    struct Case
    {
        int loadingFlag;
        const char* stored;
        const char* expectedPath;
        const char* expectedName;
    };
    const Case cases[] = {
        {0, "/stored/Inside.dod", "/stored/Inside.dod", "Inside"},
        {0, "", "", ""},
        {-1, "/stored/Inside.dod", "/chosen/Outside.dod", "Outside"},
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.stored);
        auto processor = freshProcessor();
        auto& presets = *processor->presetManager;
        presets.presetPath = "/chosen/Outside.dod";
        presets.loadingPresetFile = c.loadingFlag;
        applyState (*processor, blobOfChildren ({currentLayoutHead (c.stored)}));
        EXPECT_EQ (presets.presetPath, c.expectedPath);
        EXPECT_EQ (presets.presetName, c.expectedName);
    }
}

TEST (StateBlob, EveryChildIsAppliedInOrder)
{
    auto processor = freshProcessor();
    auto first = currentLayoutHead ("/p/First.dod");
    first.push_back ({"echoTime", "0.2"});
    first.push_back ({"toneShape", "0.3"});
    auto second = currentLayoutHead ("/p/Second.dod");
    second.push_back ({"echoTime", "0.8"});
    applyState (*processor, blobOfChildren ({first, second}));

    EXPECT_FLOAT_EQ (testsupport::normalisedValueOf (*processor, "echoTime"), 0.8f);
    EXPECT_FLOAT_EQ (testsupport::normalisedValueOf (*processor, "toneShape"), 0.3f);
    EXPECT_EQ (processor->presetManager->presetName, "Second");
    EXPECT_EQ (processor->presetManager->presetElement, nullptr);
}

TEST (StateBlob, StateResizesAnOpenEditorOnlyBeforeItsFirstPaint)
{
    auto processor = freshProcessor();
    auto& presets = *processor->presetManager;
    testsupport::OpenedEditor editor (*processor);
    ASSERT_NE (editor.get(), nullptr);
    presets.editorSizePending = -1;
    const auto openSize = editor->getBounds().getBottomRight();

    auto noSize = currentLayoutHead ("");
    noSize[41].second = "0.0";
    noSize[42].second = "0.0";
    applyState (*processor, blobOfChildren ({noSize}));
    EXPECT_EQ (editor->getBounds().getBottomRight(), openSize);
    EXPECT_EQ (presets.editorSizePending, 0);

    presets.editorSizePending = -1;
    applyState (*processor, blobOfChildren ({currentLayoutHead ("")}));
    EXPECT_EQ (editor->getWidth(), 1000);
    EXPECT_EQ (editor->getHeight(), 521);

    auto smaller = currentLayoutHead ("");
    smaller[41].second = "800.0";
    smaller[42].second = "417.0";
    applyState (*processor, blobOfChildren ({smaller}));
    EXPECT_EQ (editor->getWidth(), 1000);
    EXPECT_EQ (presets.savedEditorWidth, 800);
}
