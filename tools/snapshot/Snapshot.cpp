// Writes a PNG of the plug-in's editor as the built bundle draws it. The bundle is loaded by JUCE's
// VST3 hosting and its view opened in a real window, so this needs an X display (Xvfb will do)
// with a screen larger than the editor.
#include "CommandLine.h"
#include "HostKit.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cmath>
#include <iostream>
#include <memory>

namespace
{
struct Options
{
    juce::File output{juce::File::getCurrentWorkingDirectory().getChildFile ("rirorezo3-editor.png")};
    juce::File bundle{hostkit::builtBundle()};
    juce::File state;
    int width = 0, height = 0;
};

const char* const usage = "usage: snapshot [options]\n"
                          "  -o FILE          output PNG file (default rirorezo3-editor.png)\n"
                          "  --size WxH       resize the editor as a host would; it keeps its aspect ratio and\n"
                          "                   its limits, so the picture may differ a little from WxH\n"
                          "  --state FILE     a preset file or saved state to load before opening the editor\n"
                          "                   (its stored editor size is the size the editor opens at)\n"
                          "  --bundle PATH    the .vst3 bundle to load (default: the one this build made)\n"
                          "Needs an X display (DISPLAY), for example: Xvfb :5 -screen 0 1920x1200x24 &\n";

[[noreturn]] void fail (const juce::String& message)
{
    CommandLine::fail ("snapshot", message);
}

Options parseArguments (CommandLine& arguments)
{
    Options options;
    while (arguments.next())
    {
        const auto& arg = arguments.current();
        if (arg == "-o")
            options.output = arguments.fileValue();
        else if (arg == "--bundle")
            options.bundle = arguments.fileValue();
        else if (arg == "--state")
            options.state = arguments.fileValue();
        else if (arg == "--size")
        {
            const auto size = arguments.value();
            const auto width = size.upToFirstOccurrenceOf ("x", false, true);
            const auto height = size.fromFirstOccurrenceOf ("x", false, true);
            if (!width.containsOnly ("0123456789") || !height.containsOnly ("0123456789") || width.isEmpty() ||
                height.isEmpty() || width.length() > 5 || height.length() > 5)
                fail ("--size needs WIDTHxHEIGHT, got \"" + size + "\"");
            options.width = width.getIntValue();
            options.height = height.getIntValue();
            if (options.width < 1 || options.height < 1)
                fail ("--size needs a positive width and height");
        }
        else
            arguments.failUnknown();
    }
    return options;
}

void pumpMessages (int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
}

// The editor size the plug-in last painted at, as its saved state records it.
juce::Point<int> paintedSize (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock hosted;
    plugin.getStateInformation (hosted);
    const auto component = hostkit::componentState (hosted);
    if (auto root = juce::AudioProcessor::getXmlFromBinary (component.getData(), (int)component.getSize()))
        if (auto* preset = root->getFirstChildElement())
            return {preset->getIntAttribute ("GUI_W:"), preset->getIntAttribute ("GUI_H:")};
    return {};
}

// Waits until the plug-in has painted at the window's size, then a little longer for its pixels
// to reach the display.
void waitForPaint (juce::AudioPluginInstance& plugin, const juce::Component& window)
{
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        pumpMessages (100);
        if (paintedSize (plugin) == juce::Point<int> (window.getWidth(), window.getHeight()))
            break;
    }
    pumpMessages (300);
}

// The window's pixels as the display shows them, the plug-in's embedded view included.
juce::Image capture (juce::Component& window)
{
    auto* peer = window.getPeer();
    if (peer == nullptr)
        fail ("the editor has no window");

    std::unique_ptr<Display, int (*) (Display*)> display (XOpenDisplay (nullptr), XCloseDisplay);
    if (display == nullptr)
        fail ("cannot open the display");
    const auto screen = DefaultScreen (display.get());
    if (window.getWidth() > DisplayWidth (display.get(), screen) ||
        window.getHeight() > DisplayHeight (display.get(), screen))
        fail ("the editor (" + juce::String (window.getWidth()) + "x" + juce::String (window.getHeight()) +
              ") does not fit on the screen; start the display with a larger screen");

    XSync (display.get(), False);
    const auto handle = (::Window) (juce::pointer_sized_uint)peer->getNativeHandle();
    const auto destroy = [] (XImage* image) { XDestroyImage (image); };
    std::unique_ptr<XImage, decltype (destroy)> pixels (XGetImage (display.get(), handle, 0, 0,
                                                                   (unsigned)window.getWidth(),
                                                                   (unsigned)window.getHeight(), AllPlanes, ZPixmap),
                                                        destroy);
    if (pixels == nullptr)
        fail ("cannot read the window's pixels");

    const auto channel = [] (unsigned long value, unsigned long mask)
    {
        if (mask == 0)
            return (juce::uint8)0;
        int shift = 0;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        const auto maximum = mask >> shift;
        return (juce::uint8) (((value & mask) >> shift) * 255 / maximum);
    };

    juce::Image image (juce::Image::RGB, window.getWidth(), window.getHeight(), false);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto value = XGetPixel (pixels.get(), x, y);
            image.setPixelAt (x, y,
                              juce::Colour (channel (value, pixels->red_mask), channel (value, pixels->green_mask),
                                            channel (value, pixels->blue_mask)));
        }
    return image;
}
} // namespace

int main (int argc, char** argv)
{
    CommandLine arguments ("snapshot", usage, argc, argv);
    const auto options = parseArguments (arguments);

    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        fail ("needs an X display: set DISPLAY (see --help)");

    // Only a process that counts as an application gets JUCE's X error handlers.
    juce::JUCEApplicationBase::createInstance = []() -> juce::JUCEApplicationBase* { return nullptr; };
    juce::ScopedJuceInitialiser_GUI juce;

    juce::String error;
    auto plugin = hostkit::loadPlugin (options.bundle, 48000.0, 512, 2, error);
    if (plugin == nullptr)
        fail ("cannot load the plug-in: " + error);

    if (options.state != juce::File())
    {
        const auto hostState = hostkit::readHostStateFile (options.state, error);
        if (hostState.isEmpty())
            fail (error);
        plugin->setStateInformation (hostState.getData(), (int)hostState.getSize());
    }

    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (plugin->createEditorIfNeeded());
        if (editor == nullptr)
            fail ("the plug-in opened no editor");

        editor->setTopLeftPosition (0, 0);
        editor->addToDesktop (juce::ComponentPeer::windowIsTemporary);
        editor->setVisible (true);
        waitForPaint (*plugin, *editor);

        if (options.width > 0)
        {
            editor->setSize (options.width, options.height);
            waitForPaint (*plugin, *editor);
        }

        const auto image = capture (*editor);
        editor->removeFromDesktop();

        options.output.deleteFile();
        juce::FileOutputStream stream (options.output);
        if (!stream.openedOk() || !juce::PNGImageFormat().writeImageToStream (image, stream))
            fail ("cannot write " + options.output.getFullPathName());
        std::cout << "wrote " << options.output.getFullPathName() << " (" << image.getWidth() << "x"
                  << image.getHeight() << ")\n";
    }

    plugin->releaseResources();
    return 0;
}
