#include "ui/controls/BasicComboBox.h"

#include "ui/style/UiConstants.h"

void BasicComboBox::paint (juce::Graphics& g)
{
    const auto height = getHeight();
    g.fillAll (comboBoxColour);
    g.setColour (borderColour);
    g.drawRect (getLocalBounds(), height / 9);

    g.setColour (labelTextColour);
    g.setFont (comboFont);
    g.setFont ((float)(height / 1.5));
    g.drawText (getText(), getLocalBounds(), juce::Justification::centred, true);
}

// The internal label keeps no bounds: the face above is the only text shown.
void BasicComboBox::resized() {}
