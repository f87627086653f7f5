#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace testsupport
{
// The processor's editor, opened and closed as a host does it: created through the processor, and
// the processor told before the editor is deleted.
class OpenedEditor
{
public:
    explicit OpenedEditor (juce::AudioProcessor& processorIn)
        : processor (processorIn), editor (processorIn.createEditorIfNeeded())
    {
    }

    ~OpenedEditor() { close(); }

    OpenedEditor (const OpenedEditor&) = delete;
    OpenedEditor& operator= (const OpenedEditor&) = delete;

    void close()
    {
        if (editor == nullptr)
            return;
        processor.editorBeingDeleted (editor.get());
        editor.reset();
    }

    juce::AudioProcessorEditor& operator*() const { return *editor; }
    juce::AudioProcessorEditor* operator->() const { return editor.get(); }
    juce::AudioProcessorEditor* get() const { return editor.get(); }

private:
    juce::AudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

// The children of a component of one type, in stacking order (back to front).
template <typename ChildType> std::vector<ChildType*> childrenOfType (juce::Component& parent)
{
    std::vector<ChildType*> found;
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<ChildType*> (child))
            found.push_back (typed);
    return found;
}

// The one child of a type, such as a panel of the editor.
template <typename ChildType> ChildType& onlyChild (juce::Component& parent)
{
    const auto found = childrenOfType<ChildType> (parent);
    if (found.size() != 1)
        throw std::runtime_error ("expected exactly one child of the type");
    return *found.front();
}
} // namespace testsupport
