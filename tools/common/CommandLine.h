#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>
#include <iostream>

// The command-line frame the tools share: a failure ends the program with the tool's name and a
// message; arguments are read one at a time, an option's value being the argument after it, and
// "-h" or "--help" prints the usage text and ends the program.
class CommandLine
{
public:
    CommandLine (const char* toolNameIn, const char* usageIn, int argc, char** argv)
        : toolName (toolNameIn), usage (usageIn)
    {
        for (int i = 1; i < argc; ++i)
            arguments.add (juce::String::fromUTF8 (argv[i]));
    }

    [[noreturn]] static void fail (const char* tool, const juce::String& message)
    {
        std::cerr << tool << ": " << message << "\n";
        std::exit (1);
    }

    [[noreturn]] void fail (const juce::String& message) const { fail (toolName, message); }

    // A message on stderr that does not end the program.
    void note (const juce::String& message) const { std::cerr << toolName << ": " << message << "\n"; }

    // Moves to the next argument; false when there is none.
    bool next()
    {
        if (++position >= arguments.size())
            return false;
        if (current() == "-h" || current() == "--help")
        {
            std::cout << usage;
            std::exit (0);
        }
        return true;
    }

    const juce::String& current() const { return arguments.getReference (position); }

    juce::String value()
    {
        if (position + 1 >= arguments.size())
            fail ("missing value after " + current());
        return arguments[++position];
    }

    // A path, relative to the working directory unless absolute.
    static juce::File file (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    juce::File fileValue() { return file (value()); }

    [[noreturn]] void failUnknown() const { fail ("unknown option " + current() + " (see --help)"); }

private:
    const char* toolName;
    const char* usage;
    juce::StringArray arguments;
    int position = -1;
};
