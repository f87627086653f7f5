#include "ui/editor/PluginEditor.h"

#include "engine/PluginProcessor.h"
#include "presets/PresetManager.h"
#include "ui/panels/ProportionalLayout.h"
#include "ui/style/UiConstants.h"

#include <BinaryData.h>

namespace
{
constexpr int maximumWidth = 1554;
constexpr int maximumHeight = 810;

const juce::Colour stripeColour{0xFF3D474A};
const juce::Colour aboutButtonColour{0xFFBFBEB9};

// Three stripes 1, 2 and 3 units high at y, y + 5 and y + 11, in six groups.
struct StripeGroup
{
    float x, width, y;
};
constexpr StripeGroup stripeGroups[] = {
    {465.0f, 240.0f, 15.0f}, {246.0f, 26.0f, 350.0f}, {325.0f, 32.0f, 350.0f},
    {426.0f, 32.0f, 350.0f}, {512.0f, 32.0f, 350.0f}, {596.0f, 26.0f, 350.0f},
};
struct Stripe
{
    float offset, height;
};
constexpr Stripe stripesOfAGroup[] = {{0.0f, 1.0f}, {5.0f, 2.0f}, {11.0f, 3.0f}};

juce::Image embeddedImage (const char* data, int size)
{
    return juce::ImageCache::getFromMemory (data, size);
}
} // namespace

Rirorezo3AudioProcessorEditor::Rirorezo3AudioProcessorEditor (Rirorezo3AudioProcessor& owner)
    : juce::AudioProcessorEditor (owner), audioProcessor (owner), patchPanel (&owner), tonePanel (&owner),
      meltPanel (&owner), echoPanel (&owner), masterPanel (&owner)
{
    setResizable (true, true);
    setResizeLimits (designWidth, designHeight, maximumWidth, maximumHeight);
    getConstrainer()->setFixedAspectRatio (static_cast<double> (designWidth) / designHeight);

    // The size this editor opens at is the one the last editor or the last state left, applied as
    // it stands: only later resizing by the host or the corner goes through the limits.
    auto& presets = *audioProcessor.presetManager;
    presets.editorSizePending = -1;
    const int savedWidth = presets.savedEditorWidth;
    const int savedHeight = presets.savedEditorHeight;
    const bool hasSavedSize = savedWidth > 0 && savedHeight > 0;
    presets.editorWidth = hasSavedSize ? savedWidth : designWidth;
    presets.editorHeight = hasSavedSize ? savedHeight : designHeight;
    setSize (presets.editorWidth, presets.editorHeight);

    logoImage = embeddedImage (BinaryData::logo_png, BinaryData::logo_pngSize);
    titleImage = embeddedImage (BinaryData::title_png, BinaryData::title_pngSize);

    for (auto* panel :
         std::initializer_list<juce::Component*>{&patchPanel, &tonePanel, &meltPanel, &echoPanel, &masterPanel})
        addAndMakeVisible (panel);

    aboutButton.setButtonText (juce::translate ("ABOUT"));
    aboutButton.addListener (this);
    aboutButton.setLookAndFeel (&buttonLookAndFeel.get());
    aboutButton.setColour (juce::TextButton::buttonColourId, aboutButtonColour);
    aboutButton.setClickingTogglesState (false);
    addAndMakeVisible (aboutButton);

    // Shown, the overlay lies above every panel and the ABOUT button itself.
    addChildComponent (aboutPanel);
    aboutPanel.toFront (false);
}

Rirorezo3AudioProcessorEditor::~Rirorezo3AudioProcessorEditor()
{
    auto& presets = *audioProcessor.presetManager;
    presets.savedEditorWidth = presets.editorWidth.load();
    presets.savedEditorHeight = presets.editorHeight.load();
    aboutButton.setLookAndFeel (nullptr);
}

void Rirorezo3AudioProcessorEditor::paint (juce::Graphics& g)
{
    const ProportionalLayout layout (*this, designWidth, designHeight);

    g.fillAll (backgroundColour);
    g.drawImage (titleImage, layout.area (20.0f, 339.0f, 221.0f, 34.0f));
    g.drawImage (logoImage, layout.area (628.0f, 341.0f, 130.0f, 46.0f));

    g.setColour (stripeColour);
    for (const auto& group : stripeGroups)
        for (const auto& stripe : stripesOfAGroup)
            g.fillRect (layout.area (group.x, group.y + stripe.offset, group.width, stripe.height));

    // The size a painted editor shows is the one that is kept.
    auto& presets = *audioProcessor.presetManager;
    presets.editorSizePending = 0;
    presets.editorWidth = getWidth();
    presets.editorHeight = getHeight();
}

void Rirorezo3AudioProcessorEditor::resized()
{
    const ProportionalLayout layout (*this, designWidth, designHeight);

    const std::pair<juce::Component*, juce::Rectangle<float>> children[] = {
        {&patchPanel, {16.0f, 1.0f, 691.0f, 34.0f}},     {&tonePanel, {17.0f, 43.0f, 437.0f, 108.0f}},
        {&meltPanel, {17.0f, 161.0f, 437.0f, 159.0f}},   {&echoPanel, {466.0f, 43.0f, 295.0f, 277.0f}},
        {&masterPanel, {243.0f, 328.0f, 382.0f, 70.0f}}, {&aboutButton, {713.0f, 13.0f, 47.0f, 19.0f}},
    };
    for (const auto& [child, design] : children)
        child->setBounds (layout.bounds (design));

    // The editor's own area, whatever its position in its parent: the overlay dims all of it.
    aboutPanel.setBounds (getLocalBounds());
}

void Rirorezo3AudioProcessorEditor::buttonClicked (juce::Button* button)
{
    if (button == &aboutButton)
        aboutPanel.setVisible (true);
}
