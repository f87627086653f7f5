#include "ui/panels/AboutPanel.h"

#include "ui/panels/ProportionalLayout.h"
#include "ui/style/UiConstants.h"

#include <BinaryData.h>

namespace
{
// The overlay covers the editor and lays out in the editor's design units.
constexpr float designWidth = 777.0f;
constexpr float designHeight = 405.0f;

const juce::Colour boxColour{0xFF292E2F};

// Font heights are whole pixels: the overlay's height divided by a whole number.
struct TextLine
{
    float y;
    const char* text;
    const juce::Font& font;
    int heightDivisor;
    const juce::Colour& colour;
};
const TextLine textLines[] = {
    {16.0f, "Rirorezo3", headerFont, 12, headerTextColour},
    {40.0f, "v3.2", labelFont, 30, altTextColour},
    {70.0f, "Designed and built by Dirazidadad", labelFont, 28, altTextColour},
    {98.0f, "For info and updates visit", labelFont, 28, altTextColour},
    {192.0f, "Copyright Dirazidadad. All rights reserved.", labelFont, 32, altTextColour},
    {218.0f, "VST Plugin Technology by Steinberg", labelFont, 32, altTextColour},
};
} // namespace

void Overlay::setVisible (bool shouldBeVisible)
{
    for (auto* listener : listeners)
    {
        if (shouldBeVisible)
            listener->overlayShown (this);
        else
            listener->overlayHidden (this);
    }
    juce::Component::setVisible (shouldBeVisible);
}

const juce::String AboutPanel::webSite ("https://example.org/rirorezo3");

AboutPanel::AboutPanel()
    : link (std::make_unique<juce::HyperlinkButton> (webSite.fromFirstOccurrenceOf ("://", false, false),
                                                     juce::URL (webSite)))
{
    link->setFont (popupFont, true, juce::Justification::left);
    link->setColour (juce::HyperlinkButton::textColourId, popupTextColour);
    addAndMakeVisible (*link);
}

AboutPanel::~AboutPanel() = default;

juce::Rectangle<int> AboutPanel::box() const
{
    return ProportionalLayout (*this, designWidth, designHeight).bounds (156.0f, 92.0f, 470.0f, 250.0f);
}

void AboutPanel::paint (juce::Graphics& g)
{
    static const juce::DropShadow shadow (juce::Colours::black, 5, {0, 0});

    const ProportionalLayout layout (*this, designWidth, designHeight);
    const auto boxArea = box();

    g.fillAll (overlayScreen);
    shadow.drawForRectangle (g, boxArea);
    g.setColour (boxColour);
    g.fillRect (boxArea);

    // From here on positions are relative to the box, still in the overlay's design units.
    g.setOrigin (boxArea.getPosition());
    g.drawImage (juce::ImageCache::getFromMemory (BinaryData::monogram_png, BinaryData::monogram_pngSize),
                 layout.area (151.0f, 147.0f, 167.0f, 45.0f));

    for (const auto& line : textLines)
    {
        g.setFont (line.font.withHeight (static_cast<float> (getHeight() / line.heightDivisor)));
        g.setColour (line.colour);
        g.drawText (juce::translate (line.text), layout.area (134.0f, line.y, 200.0f, 31.0f),
                    juce::Justification::centred, true);
    }
}

void AboutPanel::resized()
{
    link->setBounds (ProportionalLayout (*this, designWidth, designHeight).bounds (288.0f, 212.0f, 218.0f, 23.0f));
}

void AboutPanel::mouseUp (const juce::MouseEvent& event)
{
    if (!box().contains (event.getPosition()))
        setVisible (false);
}

void AboutPanel::setVisible (bool shouldBeVisible)
{
    // The editor may have been resized while the overlay was hidden.
    if (shouldBeVisible)
        resized();
    Overlay::setVisible (shouldBeVisible);
}
