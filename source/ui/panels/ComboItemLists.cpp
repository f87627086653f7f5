#include "ui/panels/ComboItemLists.h"

void Populations::populateSyncModeComboBox (juce::ComboBox& box)
{
    populate (box, comboItems::syncModes);
}

void Populations::populateSyncRateComboBox (juce::ComboBox& box)
{
    populate (box, comboItems::noteValues);
}

void Populations::populateSyncRateFastComboBox (juce::ComboBox& box)
{
    populate (box, comboItems::fastNoteValues);
}

void Populations::populate (juce::ComboBox& box, const juce::StringArray& items)
{
    box.clear (juce::dontSendNotification);
    for (int index = 0; index < items.size(); ++index)
        box.addItem (items[index], index + 1);
}
