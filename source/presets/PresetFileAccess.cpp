#include "presets/PresetFileAccess.h"

#include <cerrno>
#include <climits>
#include <cstring>
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

// 0 once every byte is written, else the error that stopped it.
int writeAll (int descriptor, const char* data, size_t size)
{
    while (size > 0)
    {
        const auto written = ::write (descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        // A write that takes nothing and reports nothing has run out of room.
        if (written == 0)
            return ENOSPC;
        data += written;
        size -= static_cast<size_t> (written);
    }
    return 0;
}

// Makes the folder and its missing parents, adding each one made to made; 0, or the error that
// stopped it. A file in the way reports ENOTDIR, which says more than the EEXIST that creating
// over it would give.
int makeFolders (const juce::File& folder, juce::Array<juce::File>& made)
{
    struct stat status;
    if (::stat (folder.getFullPathName().toRawUTF8(), &status) == 0)
        return S_ISDIR (status.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT)
        return errno;

    const auto parent = folder.getParentDirectory();
    if (parent != folder)
        if (const auto error = makeFolders (parent, made); error != 0)
            return error;
    if (::mkdir (folder.getFullPathName().toRawUTF8(), 0777) == 0)
    {
        made.add (folder);
        return 0;
    }
    return errno == EEXIST ? 0 : errno;
}

// What stopped a save of the target, as the user is told it.
juce::Result saveFailure (int error, const juce::File& target)
{
    switch (error)
    {
    case ENAMETOOLONG:
        return juce::Result::fail (target.getFileName().getNumBytesAsUTF8() > NAME_MAX
                                       ? "The name is too long for the file system."
                                       : "Its path is too long for the file system.");
    case EACCES:
    case EPERM:
        return juce::Result::fail ("The folder cannot be written.");
    case EROFS:
        return juce::Result::fail ("The disk is read-only.");
    case ENOSPC:
    case EDQUOT:
        return juce::Result::fail ("The disk is full.");
    case ENOTDIR:
        return juce::Result::fail ("A part of its folder's path is a file, not a folder.");
    default:
        return juce::Result::fail (juce::String (std::strerror (error)) + ".");
    }
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

juce::Result replaceFileSafely (const juce::String& targetPath, const juce::MemoryBlock& contents)
{
    if (!juce::File::isAbsolutePath (targetPath))
        return juce::Result::fail ("It has no full path.");
    const juce::File target (targetPath);

    // A save that fails takes back the folders it made, so it leaves nothing behind.
    juce::Array<juce::File> made;
    const auto fail = [&made, &target] (int error)
    {
        for (int i = made.size(); --i >= 0;)
            ::rmdir (made.getReference (i).getFullPathName().toRawUTF8());
        return saveFailure (error, target);
    };
    if (const auto error = makeFolders (target.getParentDirectory(), made); error != 0)
        return fail (error);

    juce::String temporaryPath;
    int error = 0;
    {
        const Descriptor descriptor (createTemporaryFile (target.getParentDirectory(), temporaryPath));
        if (descriptor.value < 0)
            return fail (errno);
        error = writeAll (descriptor.value, static_cast<const char*> (contents.getData()), contents.getSize());
        if (error == 0 && ::fsync (descriptor.value) != 0)
            error = errno;
    }

    // The move fails onto a folder, so a folder is never replaced.
    if (error == 0)
    {
        if (::rename (temporaryPath.toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0)
            return juce::Result::ok();
        error = errno;
    }

    ::unlink (temporaryPath.toRawUTF8());
    return fail (error);
}
