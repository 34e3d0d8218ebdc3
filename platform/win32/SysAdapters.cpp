// The network adapters from GetAdaptersAddresses: every adapter but the
// loopback, with its first IPv4 address and the servers it was given.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstddef>
#include <cstdio>
#include <string>

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

std::string MacText(const IP_ADAPTER_ADDRESSES& a) {
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

AdapterInfo Describe(const IP_ADAPTER_ADDRESSES& a) {
    AdapterInfo info;
    info.name = a.Description && *a.Description ? Narrow(a.Description) : a.FriendlyName ? Narrow(a.FriendlyName) : "";
    info.index = static_cast<std::int32_t>(a.IfIndex);
    info.macAddress = MacText(a);
    for (auto* u = a.FirstUnicastAddress; u != nullptr; u = u->Next) {
        info.ipAddress = Ipv4Text(u->Address);
        if (!info.ipAddress.empty()) {
            info.subnetMask = MaskText(u->OnLinkPrefixLength);
            break;
        }
    }
    // Older systems fill a shorter record: read the later fields only when it has them.
    auto has = [&a](std::size_t end) { return a.Length >= end; };
    if (has(offsetof(IP_ADAPTER_ADDRESSES, FirstGatewayAddress) + sizeof a.FirstGatewayAddress))
        info.defaultGateway = FirstIpv4(a.FirstGatewayAddress);
    if (has(offsetof(IP_ADAPTER_ADDRESSES, FirstWinsServerAddress) + sizeof a.FirstWinsServerAddress))
        info.winsServer = FirstIpv4(a.FirstWinsServerAddress);
    if (has(offsetof(IP_ADAPTER_ADDRESSES, Dhcpv4Server) + sizeof a.Dhcpv4Server) && a.Dhcpv4Enabled)
        info.dhcpServer = Ipv4Text(a.Dhcpv4Server);
    return info;
}

}  // namespace

std::vector<AdapterInfo> Win32SystemQueries::QueryAdapters() {
    constexpr ULONG kFlags = GAA_FLAG_INCLUDE_GATEWAYS | GAA_FLAG_INCLUDE_WINS_INFO | GAA_FLAG_SKIP_MULTICAST |
                             GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_DNS_SERVER;
    std::vector<AdapterInfo> adapters;
    ULONG size = 16 * 1024;
    std::vector<std::uint8_t> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.assign(size, 0);
        result = GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr,
                                      reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (result != NO_ERROR) return adapters;
    for (auto* a = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); a != nullptr; a = a->Next)
        if (a->IfType != IF_TYPE_SOFTWARE_LOOPBACK) adapters.push_back(Describe(*a));
    return adapters;
}

}  // namespace cc
