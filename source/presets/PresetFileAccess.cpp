#include "presets/PresetFileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Closes the descriptor on every way out.
struct Descriptor
{
    explicit Descriptor (int d) : value (d) {}
    ~Descriptor()
    {
        if (value >= 0)
            ::close (value);
    }
    int value;
};
} // namespace

bool readPresetFile (const juce::File& file, juce::MemoryBlock& contents)
{
    if (file.getFullPathName().isEmpty())
        return false;

    // Non-blocking so that opening a FIFO cannot wait for a writer; the type is checked on the
    // opened descriptor so the file cannot be swapped between the check and the read.
    const Descriptor descriptor (::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (descriptor.value < 0)
        return false;

    struct stat status;
    if (::fstat (descriptor.value, &status) != 0 || !S_ISREG (status.st_mode) ||
        status.st_size > maximumPresetFileBytes)
        return false;

    // Read to the end rather than trusting the size, in case the file grew after the check.
    juce::MemoryBlock buffer;
    {
        juce::MemoryOutputStream out (buffer, false);
        char chunk[8192];
        for (;;)
        {
            const auto got = ::read (descriptor.value, chunk, sizeof (chunk));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 || static_cast<juce::int64> (out.getDataSize()) + got > maximumPresetFileBytes)
                return false;
            if (got == 0)
                break;
            out.write (chunk, static_cast<size_t> (got));
        }
    }

    contents.swapWith (buffer);
    return true;
}
