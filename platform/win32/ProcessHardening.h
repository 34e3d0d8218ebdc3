#pragma once
// What the elevated process asks of the system for itself at start-up.

namespace cc {

// From Windows 10 22H2 on, the system can be told to follow only the
// junctions and mount points that an administrator made, so that a link a
// standard user planted in a folder of theirs cannot steer this process's
// file calls. Looked up at run time: older systems lack it, and then nothing
// changes. Whether it is on.
bool TrustOnlyAdministratorsLinks();

}  // namespace cc
