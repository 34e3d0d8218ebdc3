#include "formats/CpuidDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace cc {

namespace {

constexpr std::uint32_t kExtended = 0x80000000;

void AppendRegister(std::string& text, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) text.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Keep printable ASCII, collapse nothing but the padding at both ends.
std::string Printable(const std::string& raw) {
    std::string text;
    for (char c : raw) {
        if (c == '\0') break;
        if (c >= 0x20 && c < 0x7F) text.push_back(c);
    }
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::uint32_t Bits(std::uint32_t value, int low, int count) { return (value >> low) & ((1u << count) - 1); }

struct Signature {
    std::uint32_t family = 0, model = 0, stepping = 0;
};

Signature DecodeSignature(std::uint32_t eax) {
    Signature s;
    const std::uint32_t baseFamily = Bits(eax, 8, 4);
    const std::uint32_t baseModel = Bits(eax, 4, 4);
    s.family = baseFamily == 0xF ? baseFamily + Bits(eax, 20, 8) : baseFamily;
    s.model = (baseFamily == 0x6 || baseFamily == 0xF) ? baseModel + (Bits(eax, 16, 4) << 4) : baseModel;
    s.stepping = Bits(eax, 0, 4);
    return s;
}

bool HasLongMode(const CpuidAnswers& answers) {
    const CpuidRegisters* r = answers.find(kExtended + 1);
    return r && Bits(r->edx, 29, 1);
}

}  // namespace

const CpuidRegisters* CpuidAnswers::find(std::uint32_t leaf, std::uint32_t subleaf) const {
    auto found = leaves.find({leaf, subleaf});
    return found == leaves.end() ? nullptr : &found->second;
}

bool WantLeaf(std::uint32_t leaf, std::uint32_t maxBasic, std::uint32_t maxExtended) {
    if (leaf < kExtended) return leaf <= maxBasic;
    return maxExtended >= kExtended && leaf <= maxExtended;
}

std::string DecodeVendor(const CpuidAnswers& answers) {
    const CpuidRegisters* r = answers.find(0);
    if (!r) return {};
    std::string text;
    AppendRegister(text, r->ebx);
    AppendRegister(text, r->edx);
    AppendRegister(text, r->ecx);
    return Printable(text);
}

std::string DecodeBrand(const CpuidAnswers& answers) {
    std::string text;
    for (std::uint32_t leaf = kExtended + 2; leaf <= kExtended + 4; ++leaf) {
        const CpuidRegisters* r = answers.find(leaf);
        if (!r) return Printable(text);
        AppendRegister(text, r->eax);
        AppendRegister(text, r->ebx);
        AppendRegister(text, r->ecx);
        AppendRegister(text, r->edx);
    }
    return Printable(text);
}

std::string DecodeIdentifier(const CpuidAnswers& answers) {
    const CpuidRegisters* r = answers.find(1);
    if (!r) return {};
    const Signature s = DecodeSignature(r->eax);
    const std::string vendor = DecodeVendor(answers);
    std::string prefix = "x86";
    if (HasLongMode(answers)) prefix = vendor == "GenuineIntel" ? "Intel64" : vendor == "AuthenticAMD" ? "AMD64" : "x64";
    return prefix + " Family " + std::to_string(s.family) + " Model " + std::to_string(s.model) + " Stepping " +
           std::to_string(s.stepping);
}

namespace {

// a * b, or the largest value where that does not fit.
std::uint64_t SaturatingProduct(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > UINT64_MAX / b ? UINT64_MAX : a * b;
}

// Leaf 4 lists the caches one subleaf each, until a subleaf of type 0. A
// hypervisor may answer sizes no processor has (up to 2^64 bytes a cache):
// the sum saturates, and so does the size in KB.
std::int32_t DeterministicCacheKb(const CpuidAnswers& answers, std::uint32_t level) {
    std::uint64_t bytes = 0;
    for (std::uint32_t sub = 0; sub < 16; ++sub) {
        const CpuidRegisters* r = answers.find(4, sub);
        if (!r || Bits(r->eax, 0, 5) == 0) break;
        if (Bits(r->eax, 5, 3) != level) continue;
        const std::uint64_t ways = Bits(r->ebx, 22, 10) + 1;
        const std::uint64_t partitions = Bits(r->ebx, 12, 10) + 1;
        const std::uint64_t lineSize = Bits(r->ebx, 0, 12) + 1;
        const std::uint64_t sets = static_cast<std::uint64_t>(r->ecx) + 1;
        const std::uint64_t size = SaturatingProduct(ways * partitions * lineSize, sets);
        bytes = size > UINT64_MAX - bytes ? UINT64_MAX : bytes + size;
    }
    return static_cast<std::int32_t>(std::min<std::uint64_t>(bytes / 1024, INT32_MAX));
}

}  // namespace

std::int32_t DecodeLevel1CacheKb(const CpuidAnswers& answers) {
    if (std::int32_t kb = DeterministicCacheKb(answers, 1)) return kb;
    // AMD: leaf 0x80000005, data in ECX and instruction in EDX, top byte in KB.
    if (const CpuidRegisters* r = answers.find(kExtended + 5))
        return static_cast<std::int32_t>(Bits(r->ecx, 24, 8) + Bits(r->edx, 24, 8));
    return 0;
}

std::int32_t DecodeLevel2CacheKb(const CpuidAnswers& answers) {
    if (const CpuidRegisters* r = answers.find(kExtended + 6)) {
        if (std::uint32_t kb = Bits(r->ecx, 16, 16)) return static_cast<std::int32_t>(kb);
    }
    return DeterministicCacheKb(answers, 2);
}

std::string DecodeSerialNumber(const CpuidAnswers& answers) {
    const CpuidRegisters* signature = answers.find(1);
    const CpuidRegisters* serial = answers.find(3);
    if (!signature || !serial || !Bits(signature->edx, 18, 1)) return {};
    char text[40];
    std::snprintf(text, sizeof text, "%04X-%04X-%04X-%04X-%04X-%04X", signature->eax >> 16,
                  signature->eax & 0xFFFF, serial->edx >> 16, serial->edx & 0xFFFF, serial->ecx >> 16,
                  serial->ecx & 0xFFFF);
    return text;
}

std::int32_t DecodeDataWidth(const CpuidAnswers& answers) {
    if (!answers.find(0)) return 0;
    return HasLongMode(answers) ? 64 : 32;
}

CpuInfo DecodeCpu(const CpuidAnswers& answers) {
    CpuInfo info;
    info.vendor = DecodeVendor(answers);
    info.name = DecodeBrand(answers);
    info.description = DecodeIdentifier(answers);
    info.level1Cache = DecodeLevel1CacheKb(answers);
    info.level2Cache = DecodeLevel2CacheKb(answers);
    info.serialNumber = DecodeSerialNumber(answers);
    info.dataWidth = DecodeDataWidth(answers);
    return info;
}

}  // namespace cc
