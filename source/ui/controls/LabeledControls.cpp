#include "ui/controls/LabeledControls.h"

#include "ui/style/UiConstants.h"

namespace
{
constexpr int captionTimeoutMs = 3000;

// The caption sits under the control, its height a fraction of the wrapper's, ending a little
// above the wrapper's bottom edge (so it may overlap the control by a pixel or two).
template <typename Real>
void layOutCaption (juce::Component& control, juce::Label& label, int width, int height, Real heightDivisor,
                    Real bottomDivisor)
{
    const int labelHeight = juce::jmin (height, (int)((Real)height / heightDivisor));
    label.setBounds (0, (int)((Real)height / bottomDivisor) - labelHeight, width, labelHeight);
    control.setBounds (0, 0, width, height - labelHeight);
}
} // namespace

LabeledKnob::LabeledKnob (const juce::String& name, BasicKnob& knobToWrap) : knob (&knobToWrap), caption (name)
{
    mouseListener.owner = this;
    addAndMakeVisible (*knob);

    label.setText (caption, juce::dontSendNotification);
    label.setColour (juce::Label::backgroundWhenEditingColourId, panelHeaderColour);
    label.setColour (juce::Label::textWhenEditingColourId, headerTextColour);
    label.setColour (juce::Label::outlineWhenEditingColourId, panelHeaderColour);
    label.setEditable (false, true, true);
    addAndMakeVisible (label);
    addMouseListener (&mouseListener, true);

    // A value that changes under an edit (automation) must not close the editor and lose the
    // typing: setText would discard it.
    knob->onValueChange = [this]
    {
        if ((knobHovered || labelHovered) && !label.isBeingEdited())
        {
            showValueText();
            startTimer (captionTimeoutMs);
        }
    };
    // The typed text then gives way to what the knob holds, which is its old value when the text
    // was ignored.
    label.onTextChange = [this]
    {
        knob->setValue (knob->getValueFromText (label.getText()), juce::sendNotificationAsync);
        if (knobHovered || labelHovered)
        {
            showValueText();
            startTimer (captionTimeoutMs);
        }
        else
            timerCallback();
    };
}

LabeledKnob::~LabeledKnob()
{
    removeMouseListener (&mouseListener);
    // The panel's knob may outlive the wrapper; a knob destroyed first has left the children.
    if (getIndexOfChildComponent (knob) >= 0)
        knob->onValueChange = nullptr;
}

void LabeledKnob::resized()
{
    layOutCaption (*knob, label, getWidth(), getHeight(), 3.5f, 1.02f);
}

void LabeledKnob::updateLabel (const juce::MouseEvent& e)
{
    const auto position = e.getEventRelativeTo (this).getPosition();

    // The knob counts as hovered only inside a square 10 pixels smaller than its short side.
    const auto side = juce::jmin (knob->getWidth(), knob->getHeight()) - 10;
    const juce::Rectangle<int> hoverSquare (knob->getX() + (knob->getWidth() - side) / 2,
                                            knob->getY() + (knob->getHeight() - side) / 2, side, side);
    knobHovered = hoverSquare.contains (position);
    labelHovered = label.getBounds().contains (position);

    if (label.isBeingEdited())
        return;

    if (!knobHovered && !labelHovered)
    {
        startTimer (captionTimeoutMs);
        return;
    }

    showValueText();
}

void LabeledKnob::showValueText()
{
    label.setText (knob->getTextFromValue (knob->getValue()), juce::dontSendNotification);
}

void LabeledKnob::timerCallback()
{
    if (knobHovered || labelHovered || label.isBeingEdited())
        return;

    stopTimer();
    label.setText (caption, juce::dontSendNotification);
}

void LabeledKnob::LKMouseListener::mouseMove (const juce::MouseEvent& e)
{
    owner->updateLabel (e);
}

void LabeledKnob::LKMouseListener::mouseEnter (const juce::MouseEvent& e)
{
    owner->updateLabel (e);
}

// Leaving the wrapper, or passing from one of its children to another, restores the caption at
// once; an entry that follows shows the value again.
void LabeledKnob::LKMouseListener::mouseExit (const juce::MouseEvent&)
{
    owner->knobHovered = false;
    owner->labelHovered = false;
    owner->timerCallback();
}

LabeledComboBox::LabeledComboBox (const juce::String& name, BasicComboBox& box) : comboBox (&box), caption (name)
{
    addAndMakeVisible (*comboBox);
    label.setText (caption, juce::dontSendNotification);
    label.setLookAndFeel (&labelLookAndFeel.get());
    addAndMakeVisible (label);
}

LabeledComboBox::~LabeledComboBox()
{
    label.setLookAndFeel (nullptr);
}

void LabeledComboBox::resized()
{
    layOutCaption (*comboBox, label, getWidth(), getHeight(), 2.5, 1.04);
}

LabeledSlider::LabeledSlider (const juce::String& name, BasicSlider& sliderToWrap)
    : slider (&sliderToWrap), caption (name)
{
    addAndMakeVisible (*slider);
    label.setText (caption, juce::dontSendNotification);
    label.setLookAndFeel (&labelLookAndFeel.get());
    addAndMakeVisible (label);
}

LabeledSlider::~LabeledSlider()
{
    label.setLookAndFeel (nullptr);
}

void LabeledSlider::resized()
{
    layOutCaption (*slider, label, getWidth(), getHeight(), 2.5, 1.04);
}
