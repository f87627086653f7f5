#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <set>

// A component laid over others that tells its listeners before it is shown or hidden.
class Overlay : public juce::Component
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void overlayShown (Overlay* overlay) = 0;
        virtual void overlayHidden (Overlay* overlay) = 0;
    };

    ~Overlay() override = default;

    void addListener (Listener* listener) { listeners.insert (listener); }
    void removeListener (Listener* listener) { listeners.erase (listener); }

    void setVisible (bool shouldBeVisible) override;

private:
    std::set<Listener*> listeners;
};

// The plug-in's name, version and notices in a dark box over the dimmed editor, with a link to
// the maker's web site. A click outside the box closes it.
class AboutPanel : public Overlay
{
public:
    AboutPanel();
    ~AboutPanel() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseUp (const juce::MouseEvent& event) override;
    void setVisible (bool shouldBeVisible) override;

    static const juce::String webSite;

private:
    juce::Rectangle<int> box() const;

    std::unique_ptr<juce::HyperlinkButton> link;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutPanel)
};
