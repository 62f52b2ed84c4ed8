#pragma once

#include <QString>
#include <array>

namespace plenoria::test {

// Names in a folder that are not what they seem: whatever reads one as a file must refuse it
// without a stall, a crash or running out of memory.
enum class HostileEntry {
    fifo, // a named pipe no one writes to
    deviceLink, // a link to /dev/zero, which never ends
    sparseHuge, // a regular file of 6 GB that takes no room on disk
    linkLoop, // a link that leads to itself
};
inline constexpr std::array<HostileEntry, 4> hostileEntries{
    HostileEntry::fifo, HostileEntry::deviceLink, HostileEntry::sparseHuge, HostileEntry::linkLoop};

// Makes `entry` at `path`; false when the system refuses.
[[nodiscard]] bool makeHostileEntry(const QString& path, HostileEntry entry);

} // namespace plenoria::test
