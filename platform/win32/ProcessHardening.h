#pragma once
// What the elevated process asks of the system for itself at start-up.

namespace cc {

// First thing at start-up, before anything loads a library: from then on the
// process looks for a library named without a path in the system folder only
// (where the system offers it: Windows 8, and 7 with its update), and never
// in the current folder (everywhere). Whether the system folder alone is searched.
bool SearchSystemFolderOnly();

// From Windows 10 22H2 on, the system can be told to follow only the
// junctions and mount points that an administrator made, so that a link a
// standard user planted in a folder of theirs cannot steer this process's
// file calls. Looked up at run time: older systems lack it, and then nothing
// changes. Whether it is on.
bool TrustOnlyAdministratorsLinks();

}  // namespace cc
