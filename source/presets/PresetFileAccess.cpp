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
    Descriptor (const Descriptor&) = delete;
    Descriptor& operator= (const Descriptor&) = delete;
    ~Descriptor()
    {
        if (value >= 0)
            ::close (value);
    }
    int value;
};

bool writeAll (int descriptor, const char* data, size_t size)
{
    while (size > 0)
    {
        const auto written = ::write (descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t> (written);
    }
    return true;
}

// Creates a new hidden file in the folder and opens it for writing; its name ends in no preset
// extension, so a leftover never shows in a menu.
int createTemporaryFile (const juce::File& folder, juce::String& path)
{
    for (int attempt = 0; attempt < 16; ++attempt)
    {
        path =
            folder.getChildFile (".saving-" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64()))
                .getFullPathName();
        const auto descriptor = ::open (path.toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}
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

bool replaceFileSafely (const juce::File& target, const juce::MemoryBlock& contents)
{
    if (target.getFullPathName().isEmpty() || target.getParentDirectory().createDirectory().failed())
        return false;

    juce::String temporaryPath;
    bool written = false;
    {
        const Descriptor descriptor (createTemporaryFile (target.getParentDirectory(), temporaryPath));
        if (descriptor.value < 0)
            return false;
        written = writeAll (descriptor.value, static_cast<const char*> (contents.getData()), contents.getSize()) &&
                  ::fsync (descriptor.value) == 0;
    }

    // The move fails onto a folder, so a folder is never replaced.
    if (written && ::rename (temporaryPath.toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0)
        return true;

    ::unlink (temporaryPath.toRawUTF8());
    return false;
}
