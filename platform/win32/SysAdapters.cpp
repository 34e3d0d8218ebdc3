// The network adapters from GetAdaptersAddresses (GetAdaptersInfo for what
// NT 5.2 does not report there): every adapter but the loopback, with its
// first IPv4 address and the servers it was given.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "platform/win32/OldWays.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32SystemQueries.h"

namespace cc {

namespace {

std::string Ipv4Text(const SOCKET_ADDRESS& address) {
    if (address.lpSockaddr == nullptr || address.lpSockaddr->sa_family != AF_INET ||
        address.iSockaddrLength < static_cast<INT>(sizeof(sockaddr_in)))
        return {};
    const auto* in = reinterpret_cast<const sockaddr_in*>(address.lpSockaddr);
    const auto* b = reinterpret_cast<const unsigned char*>(&in->sin_addr);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
    return text;
}

std::string MaskText(unsigned prefixLength) {
    if (prefixLength > 32) return {};
    const std::uint32_t mask = prefixLength == 0 ? 0 : 0xFFFFFFFFu << (32 - prefixLength);
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", mask >> 24, (mask >> 16) & 0xFF, (mask >> 8) & 0xFF, mask & 0xFF);
    return text;
}

std::string MacText(const IP_ADAPTER_ADDRESSES_LH& a) {
    std::string text;
    for (ULONG i = 0; i < a.PhysicalAddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i) {
        char part[4];
        std::snprintf(part, sizeof part, i == 0 ? "%02X" : "-%02X", a.PhysicalAddress[i]);
        text += part;
    }
    return text;
}

template <typename Node>
std::string FirstIpv4(const Node* node) {
    for (; node != nullptr; node = node->Next)
        if (std::string text = Ipv4Text(node->Address); !text.empty()) return text;
    return {};
}

// What GetAdaptersInfo, which every NT 5.x has, tells of one adapter: the
// facts that the NT 5.2 records of GetAdaptersAddresses do not hold.
struct OlderFacts {
    std::map<std::string, std::string> masks;   // by address
    std::string gateway, dhcpServer, winsServer;
};

std::string AddressText(const IP_ADDR_STRING& a) {
    std::string text(a.IpAddress.String, strnlen(a.IpAddress.String, sizeof a.IpAddress.String));
    return text == "0.0.0.0" ? std::string() : text;
}

std::map<std::string, OlderFacts> ReadOlderFacts() {
    std::map<std::string, OlderFacts> facts;
    ULONG size = 16 * 1024;
    std::vector<std::uint8_t> buffer;
    static const auto getAdaptersInfo = SystemFunction<decltype(GetAdaptersInfo)>(L"iphlpapi.dll", "GetAdaptersInfo");
    ULONG result = getAdaptersInfo ? ERROR_BUFFER_OVERFLOW : ERROR_NOT_SUPPORTED;
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.assign(size, 0);
        result = getAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) return facts;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); a != nullptr; a = a->Next) {
        OlderFacts& f = facts[std::string(a->AdapterName, strnlen(a->AdapterName, sizeof a->AdapterName))];
        for (const IP_ADDR_STRING* ip = &a->IpAddressList; ip != nullptr; ip = ip->Next)
            f.masks.emplace(AddressText(*ip), std::string(ip->IpMask.String, strnlen(ip->IpMask.String, 16)));
        f.gateway = AddressText(a->GatewayList);
        if (a->DhcpEnabled) f.dhcpServer = AddressText(a->DhcpServer);
        if (a->HaveWins) f.winsServer = AddressText(a->PrimaryWinsServer);
    }
    return facts;
}

// Reads only the fields that the record's length covers: NT 5.2 fills the
// shorter XP records, without prefix lengths, gateways, WINS or DHCP servers,
// and those come from GetAdaptersInfo instead.
class AdapterReader {
public:
    explicit AdapterReader(bool olderRecords) : older_(olderRecords) {}

    AdapterInfo describe(const IP_ADAPTER_ADDRESSES_LH& a) {
        AdapterInfo info;
        info.name = a.Description && *a.Description ? Narrow(a.Description) : a.FriendlyName ? Narrow(a.FriendlyName) : "";
        info.index = static_cast<std::int32_t>(a.IfIndex);
        info.macAddress = MacText(a);
        const OlderFacts* facts = nullptr;
        auto older = [&] {
            if (!facts) {
                if (!olderFacts_) olderFacts_ = ReadOlderFacts();
                auto it = olderFacts_->find(a.AdapterName ? a.AdapterName : "");
                static const OlderFacts none;
                facts = it == olderFacts_->end() ? &none : &it->second;
            }
            return facts;
        };
        for (auto* u = a.FirstUnicastAddress; u != nullptr; u = u->Next) {
            info.ipAddress = Ipv4Text(u->Address);
            if (info.ipAddress.empty()) continue;
            if (covers(u->Length, offsetof(IP_ADAPTER_UNICAST_ADDRESS_LH, OnLinkPrefixLength) + 1, 0)) {
                info.subnetMask = MaskText(u->OnLinkPrefixLength);
            } else if (auto mask = older()->masks.find(info.ipAddress); mask != older()->masks.end()) {
                info.subnetMask = mask->second;
            }
            break;
        }
        constexpr std::size_t kXpRecord = sizeof(IP_ADAPTER_ADDRESSES_XP);
        if (covers(a.Length, offsetof(IP_ADAPTER_ADDRESSES_LH, FirstGatewayAddress) + sizeof(void*), kXpRecord))
            info.defaultGateway = FirstIpv4(a.FirstGatewayAddress);
        else
            info.defaultGateway = older()->gateway;
        if (covers(a.Length, offsetof(IP_ADAPTER_ADDRESSES_LH, FirstWinsServerAddress) + sizeof(void*), kXpRecord))
            info.winsServer = FirstIpv4(a.FirstWinsServerAddress);
        else
            info.winsServer = older()->winsServer;
        if (covers(a.Length, offsetof(IP_ADAPTER_ADDRESSES_LH, Dhcpv4Server) + sizeof a.Dhcpv4Server, kXpRecord))
            info.dhcpServer = a.Dhcpv4Enabled ? Ipv4Text(a.Dhcpv4Server) : "";
        else
            info.dhcpServer = older()->dhcpServer;
        return info;
    }

private:
    // Whether a record of `length` bytes reaches `end`; forced to the older
    // records, it is taken as `olderLength` long (0: no field of it is there).
    bool covers(ULONG length, std::size_t end, std::size_t olderLength) const {
        return (older_ ? olderLength : length) >= end;
    }

    bool older_;
    std::optional<std::map<std::string, OlderFacts>> olderFacts_;
};

}  // namespace

std::vector<AdapterInfo> Win32SystemQueries::QueryAdapters() {
    // Gateways and WINS servers are asked for from Windows Vista on; NT 5.2
    // may refuse those flags, and then it is asked without them.
    constexpr ULONG kXpFlags = GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_DNS_SERVER;
    constexpr ULONG kFlags = kXpFlags | GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_INCLUDE_WINS_INFO;
    const bool olderRecords = OldWayForced(OldWay::AdapterRecords);
    std::vector<AdapterInfo> adapters;
    static const auto getAdaptersAddresses =
        SystemFunction<decltype(GetAdaptersAddresses)>(L"iphlpapi.dll", "GetAdaptersAddresses");
    if (!getAdaptersAddresses) return adapters;
    std::vector<std::uint8_t> buffer;
    ULONG result = ERROR_INVALID_PARAMETER;
    for (ULONG flags : {olderRecords ? kXpFlags : kFlags, kXpFlags}) {
        ULONG size = 16 * 1024;
        result = ERROR_BUFFER_OVERFLOW;
        for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
            buffer.assign(size, 0);
            result = getAdaptersAddresses(AF_UNSPEC, flags, nullptr,
                                          reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        }
        if (result != ERROR_INVALID_PARAMETER) break;
    }
    if (result != NO_ERROR) return adapters;
    AdapterReader reader(olderRecords);
    for (auto* a = reinterpret_cast<const IP_ADAPTER_ADDRESSES_LH*>(buffer.data()); a != nullptr; a = a->Next)
        if (a->IfType != IF_TYPE_SOFTWARE_LOOPBACK) adapters.push_back(reader.describe(*a));
    return adapters;
}

}  // namespace cc
