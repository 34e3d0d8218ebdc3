#pragma once
// The ways of NT 5.2 (Windows XP x64, Server 2003 SP1) beside the newer ones.
// Each newer call is tried first and the old way taken where the system
// refuses or lacks it; tests force the old ways here on any system.

namespace cc {

enum class OldWay : unsigned {
    FolderListing = 1u << 0,    // folder listings without file numbers
    Pictures = 1u << 1,         // OLE's picture loader, not the imaging component
    AdapterRecords = 1u << 2,   // the shorter adapter records, the rest from GetAdaptersInfo
};

bool OldWayForced(OldWay way);

// While one lives, the given old ways are taken whatever the system offers.
class ForceOldWays {
public:
    explicit ForceOldWays(unsigned ways);
    ~ForceOldWays();
    // How often, while this lives, a forced way was asked for: that it was taken.
    unsigned answered() const;
    ForceOldWays(const ForceOldWays&) = delete;
    ForceOldWays& operator=(const ForceOldWays&) = delete;

private:
    unsigned saved_, answeredBefore_;
};

}  // namespace cc
